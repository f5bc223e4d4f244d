// SPDX-License-Identifier: Apache-2.0
#include "window_design_link.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include "number_text.h"

namespace valdris {
namespace {

void Enter(QLineEdit* box, const std::string& text) { box->setText(QString::fromStdString(text)); }

void Choose(QComboBox* box, float value) { box->setEditText(QString::fromStdString(WriteNumber(value))); }

}  // namespace

void WindowDesignLink::Attach(frmSampleSizeandPower* window) {
    window_ = window;
    title_ = window->windowTitle();
    QObject::connect(window, &frmSampleSizeandPower::recalculated, window, [this] {
        if (taken_) taken_();
    });
}

std::optional<PlanUnit> WindowDesignLink::TakeDesign(const PlanUnit& into) {
    if (!window_ || !window_->ShownReport()) return std::nullopt;
    const TestKind test = window_->OptWRSTest->isChecked() ? TestKind::WRS : TestKind::Sign;
    return WithDesignInputs(into, window_->txtRadionuclide->text().toStdString(), test, window_->State());
}

// The LBGR goes to 0 first so that no DCGL is below it, the DCGL before the
// sigma that is held to ten DCGLs, and the decision error that is not 0.5 or
// more first, so that the pair rule never sees both large.
void WindowDesignLink::ShowUnit(const PlanUnit& unit) {
    frmSampleSizeandPower* window = window_ ? window_.data() : open_();
    if (!window) return;
    Enter(window->txtRadionuclide, unit.radionuclide);
    Enter(window->txtLBGR, "0");
    Enter(window->txtDCGL, WriteNumber(unit.dcgl));
    window->txtDCGL_LostFocus();
    Enter(window->txtSigma, WriteNumber(unit.sigma));
    window->txtSigma_LostFocus();
    const bool beta_first = window->State().Beta >= 0.5f;
    for (int i = 0; i < 2; ++i) {
        if ((i == 0) != beta_first) {
            Choose(window->Cboalpha, unit.alpha);
            window->Cboalpha_Click();
        } else {
            Choose(window->CboBeta, unit.beta);
            window->CboBeta_Click();
        }
    }
    (unit.test == TestKind::WRS ? window->OptWRSTest : window->OptSignTest)->setChecked(true);
    Enter(window->txtLBGR, WriteNumber(unit.lbgr));
    window->txtLBGR_LostFocus();
    if (window->isMinimized()) window->showNormal();
    window->show();
    window->raise();
    window->activateWindow();
}

void WindowDesignLink::SetEditedUnit(const std::string& name) {
    if (!window_) return;
    window_->setWindowTitle(name.empty() ? title_ : title_ + QStringLiteral(" - ") + QString::fromStdString(name));
}

}  // namespace valdris
