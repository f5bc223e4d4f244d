// SPDX-License-Identifier: Apache-2.0
#include "window_design_link.h"

#include "design_form.h"
#include "design_link.h"

namespace valdris {

void WindowDesignLink::Attach(frmSampleSizeandPower* window) {
    window_ = window;
    title_ = window->windowTitle();
    QObject::connect(window, &frmSampleSizeandPower::recalculated, window, [this] {
        if (taken_) taken_();
    });
}

std::optional<PlanUnit> WindowDesignLink::TakeDesign(const PlanUnit& into) {
    if (!window_ || !window_->ShownReport()) return std::nullopt;
    const DesignForm& form = window_->Form();
    return WithDesignInputs(into, form.Text(FormControl::Radionuclide), form.SelectedTest(), form.State());
}

// The unit's inputs go in whole, through the form's own check.
std::optional<Refusal> WindowDesignLink::ShowUnit(const PlanUnit& unit) {
    frmSampleSizeandPower* window = window_ ? window_.data() : open_();
    if (!window) return std::nullopt;
    if (std::optional<Refusal> refusal = window->Form().LoadDesign(DesignEntriesOf(unit))) return refusal;
    if (window->isMinimized()) window->showNormal();
    window->show();
    window->raise();
    window->activateWindow();
    return std::nullopt;
}

void WindowDesignLink::SetEditedUnit(const std::string& name) {
    if (!window_) return;
    window_->setWindowTitle(name.empty() ? title_ : title_ + QStringLiteral(" - ") + QString::fromStdString(name));
}

}  // namespace valdris
