// SPDX-License-Identifier: Apache-2.0
#pragma once
// The design form: the design window's state and input rules without any
// widget. It holds the entry texts, the LBGR bar position, the selected test
// and the test whose results are shown, and the design state. Each user event
// is one method; what the window must then do (write a text, move the bar,
// show a message, give the focus back, show results, beep) goes to a
// DesignFormView, in the order the window does it.
//
// Writing a DCGL or sigma text, or moving the bar to a new position, runs the
// form's own change rule for that control at once, nested inside the write,
// as a toolkit runs a change event inside the assignment. The view applies
// the form's writes without reporting them back as user edits.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "design_inputs.h"
#include "design_state.h"
#include "input_rules.h"
#include "lbgr_bar.h"

namespace valdris {

// The controls whose text the form keeps.
enum class FormControl { Alpha, Beta, Sigma, DCGL, LBGR, LBGRMax, Shift, Radionuclide };

// The items of both decision error lists, smallest first.
inline const std::vector<std::string> kDecisionErrorItems = {"0.01", "0.025", "0.05", "0.10", "0.25", "0.50"};

// What the result fields show after one design routine ran.
struct FormResults {
    TestKind test = TestKind::Sign;
    bool made = false;               // false: the fields are empty, the chart blank
    std::string sample_size;         // survey unit (and, for WRS, reference area)
    std::string critical_value;      // with its sign position: " 19"
};

// A whole design as the window shows it: the entry texts and the test.
struct DesignEntries {
    std::string alpha, beta, sigma, dcgl, lbgr, radionuclide;
    TestKind test = TestKind::Sign;
};

// What the window does for the form.
class DesignFormView {
public:
    virtual ~DesignFormView() = default;
    virtual void SetText(FormControl control, const std::string& text) = 0;
    virtual void SetBar(int position) = 0;
    // Modal: returns once the user has closed it.
    virtual void ShowMessage(const Refusal& message) = 0;
    virtual void Focus(FormControl control) = 0;
    // The design the results come from, for the chart when results.made.
    virtual void ShowResults(const FormResults& results, const DesignState& state) = 0;
    virtual void ShowSelectedTest(TestKind test) = 0;
    virtual void Beep() = 0;
    // Not modal: a short note at a box (a refused keystroke), gone by itself.
    virtual void ShowNotice(FormControl control, const std::string& text) = 0;
    // Where the results belong to the test not selected, what says so (a
    // short note and a whole sentence for a tooltip); empty texts when they
    // are the selected test's.
    virtual void ShowResultsNote(const std::string& note, const std::string& tip) = 0;
    // True while the window is closing or shows a message of its own: then,
    // as during the form's own messages, no rule runs.
    virtual bool Busy() const { return false; }
};

class DesignForm {
public:
    explicit DesignForm(DesignFormView& view) : view_(view) {}

    // Where the user's locale writes decimals with a comma, a comma typed
    // into the DCGL or sigma box is taken as the decimal point.
    void SetDecimalComma(bool comma) { decimal_comma_ = comma; }
    DesignForm(const DesignForm&) = delete;
    DesignForm& operator=(const DesignForm&) = delete;

    // The load step: default texts, default design state, first design.
    void Load();

    // --- User events. An event that arrives while a message is open (see
    //     DesignFormView::Busy) runs no rule; a text edit is still kept.
    // The user changed a control's text (typing, pasting, a list choice);
    // the DCGL and sigma texts then pass the character filter.
    void EditText(FormControl control, const std::string& text);
    void LeaveAlpha();
    void LeaveBeta();
    void ChooseAlpha() { LeaveAlpha(); }  // a list item: the same rule
    void ChooseBeta() { LeaveBeta(); }
    void LeaveSigma();
    void LeaveDCGL();
    void LeaveLBGR();
    void SigmaUp();
    void SigmaDown();
    // What one sigma arrow adds: a hundredth of the DCGL on a grid of 0.01,
    // so 0 for a DCGL of 0.5 or less.
    double SigmaStep() const;
    void MoveBar(int position);
    // A test option chosen: stored only, shown at the next recalculation
    // (the results note says meanwhile whose results stand).
    void SelectTest(TestKind test);
    // A click on the chart: the recalculation rule.
    void ClickChart() { Recalculate(); }
    void Recalculate();

    // --- For other windows.
    // Loads a whole design as if typed: the texts, the bar, the stored values,
    // the test, then one recalculation. The DCGL and sigma texts must be plain
    // digits with at most one point; the values must pass every input rule
    // (an LBGR equal to the DCGL is refused). A refused design changes
    // nothing and its message is returned, not shown.
    std::optional<Refusal> LoadDesign(const DesignEntries& entries);
    // Called after every recalculation (the load step, an accepted input, a
    // chart click), whether or not a design could be made, with the texts
    // and the values the design used.
    using DesignAccepted = std::function<void(const DesignEntries&, const DesignInputs&)>;
    void OnDesignAccepted(DesignAccepted observer) { observers_.push_back(std::move(observer)); }

    const DesignState& State() const { return state_; }
    const std::string& Text(FormControl control) const { return texts_[Index(control)]; }
    int Bar() const { return bar_; }
    // The LBGR text the bar's rule writes for a position, with the DCGL text
    // as it stands: what a thumb let go there gives, before the minimum-shift
    // rule.
    std::string LBGRTextAtBar(int position) const;
    TestKind SelectedTest() const { return selected_; }
    DesignEntries Entries() const;
    DesignInputs Inputs() const;
    // The results last shown; nothing before the first recalculation.
    const std::optional<FormResults>& Results() const { return results_; }
    // The relative shift as its label shows it, without the label ("0.98").
    const std::string& ShownShift() const { return shown_shift_; }

private:
    class Run;
    static constexpr int kControls = 8;
    static int Index(FormControl control) { return static_cast<int>(control); }

    void SetText(FormControl control, const std::string& text);
    void SetBar(int position);
    void SetScrollValue(double thousandths);
    void Show(RefusalKind kind) { Show(rules::Message(kind)); }
    void Show(const Refusal& message);

    void BarChanged();
    void ApplyCharacterFilter(FormControl control);
    void TakeDecisionError(FormControl box, float& value, rules::DecisionError which);
    void StepSigma(double direction);
    void ApplyMinimumShift(RefusalKind message);
    void ShowShift(int decimals);
    double DCGLOfText(bool strict) const;
    double NumberIn(FormControl control) const;
    void RunTest(TestKind test);
    void ShowResultsNote();

    DesignFormView& view_;
    std::string texts_[kControls];
    int bar_ = kLBGRBarStart;
    TestKind selected_ = TestKind::Sign;
    DesignState state_;
    std::optional<FormResults> results_;
    std::string accepted_dcgl_text_;  // the DCGL text a refusal brings back
    std::string shown_shift_;         // the number the shift's label shows
    std::vector<DesignAccepted> observers_;
    bool message_open_ = false;
    int depth_ = 0;                   // nesting of rules within one user action
    bool design_refusal_shown_ = false;
    bool decimal_comma_ = false;
};

}  // namespace valdris
