// SPDX-License-Identifier: Apache-2.0
// The DCGL and the LBGR: their boxes, the LBGR scroll bar and the rule that
// keeps the relative shift at 0.1 or more.
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

#include "figure_fit.h"
#include "frm_sample_size_and_power.h"
#include "frm_sample_size_and_power_run.h"
#include "design_inputs.h"
#include "input_rules.h"
#include "lbgr_bar.h"
#include "number_text.h"

namespace valdris {

namespace {


std::string TextOf(const QLineEdit* box) { return box->text().toStdString(); }

void SetTextOf(QLineEdit* box, const std::string& text) { box->setText(QString::fromStdString(text)); }

}  // namespace

// The bar's range is the LBGR from 0 to the DCGL in thousandths; a value
// outside it (a text not yet checked, an unusable quotient) goes to the
// nearer end rather than reaching the 16-bit position.
void frmSampleSizeandPower::SetScrollValue(double thousandths) {
    int value = kLBGRBarBottom;
    if (thousandths >= kLBGRBarTop) {
        value = kLBGRBarTop;
    } else if (thousandths > kLBGRBarBottom) {
        value = static_cast<int>(thousandths);
    }
    ScrLBGR->setValue(value);
}

// The DCGL as its text reads, or the accepted DCGL when the text holds no
// usable number (the box may be half-typed while the bar or the spin control
// is used, and nothing may divide by zero or store a non-number).
double frmSampleSizeandPower::DCGLOfText(bool strict) const {
    const std::string text = txtDCGL->text().toStdString();
    if (strict) {
        const std::optional<double> number = StrictNumber(text);
        return number && rules::DCGLUsable(*number) ? *number : state_.DCGL;
    }
    const double number = LeadingNumber(text);
    return rules::DCGLUsable(number) ? number : state_.DCGL;
}

void frmSampleSizeandPower::txtDCGL_LostFocus() {
    HandlerRun run(*this);
    if (!run) return;

    // The design divides by the DCGL and scales the curve by it: a DCGL that
    // is no usable number is refused before anything else happens.
    if (const std::optional<Refusal> refusal = rules::DCGLRefusal(LeadingNumber(TextOf(txtDCGL)))) {
        Show(*refusal);
        txtDCGL->setText(accepted_dcgl_text_);
        txtDCGL->setFocus();
        return;
    }

    const double dcgl = LeadingNumber(TextOf(txtDCGL));
    if (dcgl < LeadingNumber(TextOf(txtLBGR))) {
        state_.LBGR = dcgl / 2;
        SetTextOf(txtLBGR, WriteNumber(state_.LBGR));
        messages_.Show(QString::fromStdString(rules::kLBGRResetToHalf), MessageIcon::Information);
    }

    state_.DCGL = LeadingNumber(TextOf(txtDCGL));
    accepted_dcgl_text_ = txtDCGL->text();
    lblLBGRMax->setText(txtDCGL->text());
    FitFigure(lblLBGRMax);

    // Moving the bar stores LBGR through its change handler, nested here.
    SetScrollValue(RoundHalfEven(LeadingNumber(TextOf(txtLBGR)) / LeadingNumber(TextOf(txtDCGL)) * kLBGRBarTop));

    // The text follows the new DCGL even when the bar stayed; the stored LBGR
    // does not.
    const double dcgl_of_text = DCGLOfText(/*strict=*/true);
    SetTextOf(txtLBGR, WriteNumber(dcgl_of_text * kLBGRBarFraction * ScrLBGR->value()));

    UpdateShift(state_);
    ShowShift(2);
    Recalculate();
}

void frmSampleSizeandPower::txtLBGR_LostFocus() {
    HandlerRun run(*this);
    if (!run) return;
    const double dcgl = LeadingNumber(TextOf(txtDCGL));
    const double lbgr = LeadingNumber(TextOf(txtLBGR));

    const std::optional<Refusal> refusal = rules::LBGRRefusal(lbgr, dcgl);
    if (refusal && refusal->text == rules::kLBGRAboveDCGL) {
        Show(*refusal);
        SetTextOf(txtLBGR, WriteNumber(state_.LBGR));
        txtLBGR->setFocus();
        return;
    }
    if (refusal) {
        // A negative LBGR gets its previous text back before the message,
        // and the design is recalculated all the same.
        SetTextOf(txtLBGR, WriteNumber(state_.LBGR));
        Show(*refusal);
        txtLBGR->setFocus();
    } else {
        // A typed LBGR goes onto the thousandths scale when it moves the bar.
        SetScrollValue(RoundHalfEven(lbgr / DCGLOfText(/*strict=*/false) * kLBGRBarTop));
        UpdateShift(state_);
        ShowShift(2);
    }
    Recalculate();
}

void frmSampleSizeandPower::ScrLBGR_Change() {
    HandlerRun run(*this);
    if (!run) return;
    if (ScrLBGR->value() == kLBGRBarTop) ScrLBGR->setValue(kLBGRBarBelowTop);  // runs this handler nested

    const double dcgl_of_text = DCGLOfText(/*strict=*/true);
    SetTextOf(txtLBGR, WriteNumber(dcgl_of_text * kLBGRBarFraction * ScrLBGR->value()));
    state_.LBGR = LeadingNumber(TextOf(txtLBGR));
    UpdateShift(state_);
    ApplyMinimumShift(rules::kMinimumShiftScrollLine);
    ShowShift(2);
    Recalculate();
}

// Values of D/s below 0.1 ask for unrealistically many samples: LBGR is
// lowered to DCGL - 0.1 sigma (not below 0) and the bar follows, rounded
// down, which derives LBGR once more from the bar through its handler.
// The bar is taken no higher than kLBGRBarBelowTop: an LBGR this rule leaves is below the
// DCGL, and sending the bar to 1000, which its handler turns back to 999,
// would let the two chase each other for ever while the DCGL box holds a
// larger number not yet taken.
void frmSampleSizeandPower::ApplyMinimumShift(const std::string& second_line) {
    if (!(state_.DoverS < rules::kMinimumRelativeShift)) return;
    messages_.Show(QString::fromStdString(rules::kMinimumShiftFirstLine + "\r\n" + second_line), MessageIcon::None);
    state_.LBGR = state_.DCGL - rules::kMinimumRelativeShift * static_cast<double>(state_.Sigma);
    if (state_.LBGR < 0) state_.LBGR = 0;
    UpdateShift(state_);
    SetTextOf(txtLBGR, WriteNumber(state_.LBGR));
    SetScrollValue(std::min<double>(std::floor(kLBGRBarTop * state_.LBGR / state_.DCGL), kLBGRBarBelowTop));
}

// After a sigma step.
void frmSampleSizeandPower::UpdateRelativeShift() {
    UpdateShift(state_);
    ApplyMinimumShift(rules::kMinimumShiftSigmaLine);
    ShowShift(2);
    Recalculate();
}

}  // namespace valdris
