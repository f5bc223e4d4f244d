// SPDX-License-Identifier: Apache-2.0
#pragma once
// The design window as the design form's view: applies the form's effects to
// the widgets. Writes the form makes are not reported back as user edits.

#include "design_form.h"

class QWidget;

namespace valdris {

class frmSampleSizeandPower;
class MessageBoxes;
class RepeatGuard;

class WindowFormView : public DesignFormView {
public:
    WindowFormView(frmSampleSizeandPower& window, MessageBoxes& messages, const RepeatGuard& guard)
        : window_(window), messages_(messages), guard_(guard) {}

    void SetText(FormControl control, const std::string& text) override;
    void SetBar(int position) override;
    void ShowMessage(const Refusal& message) override;
    void Focus(FormControl control) override;
    void ShowResults(const FormResults& results, const DesignState& state) override;
    void ShowSelectedTest(TestKind test) override;
    void Beep() override;
    void ShowNotice(FormControl control, const std::string& text) override;
    void ShowResultsNote(const std::string& note, const std::string& tip) override;
    bool Busy() const override;

    // True while the form's own write is being applied.
    bool Applying() const { return applying_; }
    void StopHandlers() { closing_ = true; }
    bool Closing() const { return closing_; }

private:
    void ShowCriticalValue(const std::string& value);
    QWidget* ControlWidget(FormControl control) const;

    frmSampleSizeandPower& window_;
    MessageBoxes& messages_;
    const RepeatGuard& guard_;
    bool applying_ = false;
    bool closing_ = false;
};

}  // namespace valdris
