// SPDX-License-Identifier: Apache-2.0
#pragma once
// The plan window's link to the design window, through the window's design
// form: a unit is loaded into the form whole, and each recalculation counts
// as an input taken.

#include <QPointer>
#include <QString>
#include <functional>

#include "design_window_link.h"
#include "frm_sample_size_and_power.h"

namespace valdris {

class WindowDesignLink : public DesignWindowLink {
public:
    // Opens (loads and shows) a design window when none is open.
    using Opener = std::function<frmSampleSizeandPower*()>;
    explicit WindowDesignLink(Opener open) : open_(std::move(open)) {}

    // A newly loaded design window: its recalculations are heard from now on.
    void Attach(frmSampleSizeandPower* window);

    std::optional<PlanUnit> TakeDesign(const PlanUnit& into) override;
    std::optional<Refusal> ShowUnit(const PlanUnit& unit) override;
    void SetEditedUnit(const std::string& name) override;
    void SetInputTaken(std::function<void()> callback) override { taken_ = std::move(callback); }

private:
    Opener open_;
    QPointer<frmSampleSizeandPower> window_;
    QString title_;  // the window's own title
    std::function<void()> taken_;
};

}  // namespace valdris
