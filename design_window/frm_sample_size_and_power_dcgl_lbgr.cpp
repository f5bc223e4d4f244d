// The DCGL and the LBGR: their boxes, the LBGR scroll bar and the rule that
// keeps the relative shift at 0.1 or more.
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

#include "frm_sample_size_and_power.h"
#include "frm_sample_size_and_power_run.h"
#include "input_rules.h"
#include "number_text.h"

namespace valdris {

namespace {

constexpr double kMinimumRelativeShift = 0.1;
// The bar's top position stands for LBGR = DCGL, which is never kept.
constexpr int kScrollTop = 1000;
constexpr int kScrollBelowTop = 999;

std::string TextOf(const QLineEdit* box) { return box->text().toStdString(); }

void SetTextOf(QLineEdit* box, const std::string& text) { box->setText(QString::fromStdString(text)); }

}  // namespace

void frmSampleSizeandPower::txtDCGL_LostFocus() {
    HandlerRun run(*this);
    if (!run) return;

    // The design divides by the DCGL and scales the curve by it: a DCGL that
    // is no usable number is refused before anything else happens.
    if (!rules::DCGLUsable(LeadingNumber(TextOf(txtDCGL)))) {
        messages_.Show(QString::fromStdString(rules::kDCGLUnusable), MessageIcon::Exclamation);
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

    // Moving the bar stores LBGR through its change handler, nested here.
    SetScrollValue(RoundHalfEven(LeadingNumber(TextOf(txtLBGR)) / LeadingNumber(TextOf(txtDCGL)) * 1000));

    // The text follows the new DCGL even when the bar stayed; the stored LBGR
    // does not.
    const double dcgl_of_text = DCGLOfText(/*strict=*/true);
    SetTextOf(txtLBGR, WriteNumber(dcgl_of_text * 0.001 * ScrLBGR->value()));

    UpdateShift();
    ShowShift(2);
    Recalculate();
}

void frmSampleSizeandPower::txtLBGR_LostFocus() {
    HandlerRun run(*this);
    if (!run) return;
    const double dcgl = LeadingNumber(TextOf(txtDCGL));
    const double lbgr = LeadingNumber(TextOf(txtLBGR));

    if (dcgl < lbgr) {
        messages_.Show(QString::fromStdString(rules::kLBGRAboveDCGL), MessageIcon::Exclamation);
        SetTextOf(txtLBGR, WriteNumber(state_.LBGR));
        txtLBGR->setFocus();
        return;
    }
    if (lbgr < 0) {
        SetTextOf(txtLBGR, WriteNumber(state_.LBGR));
        messages_.Show(QString::fromStdString(rules::kLBGRNegative), MessageIcon::None);
        txtLBGR->setFocus();
    } else {
        // A typed LBGR goes onto the thousandths scale when it moves the bar.
        SetScrollValue(RoundHalfEven(lbgr / DCGLOfText(/*strict=*/false) * 1000));
        UpdateShift();
        ShowShift(2);
    }
    Recalculate();
}

void frmSampleSizeandPower::ScrLBGR_Change() {
    HandlerRun run(*this);
    if (!run) return;
    if (ScrLBGR->value() == kScrollTop) ScrLBGR->setValue(kScrollBelowTop);  // runs this handler nested

    const double dcgl_of_text = DCGLOfText(/*strict=*/true);
    SetTextOf(txtLBGR, WriteNumber(dcgl_of_text * 0.001 * ScrLBGR->value()));
    state_.LBGR = LeadingNumber(TextOf(txtLBGR));
    UpdateShift();
    ApplyMinimumShift(rules::kMinimumShiftScrollLine);
    ShowShift(2);
    Recalculate();
}

// Values of D/s below 0.1 ask for unrealistically many samples: LBGR is
// lowered to DCGL - 0.1 sigma (not below 0) and the bar follows, rounded
// down, which derives LBGR once more from the bar through its handler.
// The bar is taken no higher than 999: an LBGR this rule leaves is below the
// DCGL, and sending the bar to 1000, which its handler turns back to 999,
// would let the two chase each other for ever while the DCGL box holds a
// larger number not yet taken.
void frmSampleSizeandPower::ApplyMinimumShift(const std::string& second_line) {
    if (!(state_.DoverS < kMinimumRelativeShift)) return;
    messages_.Show(QString::fromStdString(rules::kMinimumShiftFirstLine + "\r\n" + second_line), MessageIcon::None);
    state_.LBGR = state_.DCGL - 0.1 * static_cast<double>(state_.Sigma);
    if (state_.LBGR < 0) state_.LBGR = 0;
    UpdateShift();
    SetTextOf(txtLBGR, WriteNumber(state_.LBGR));
    SetScrollValue(std::min<double>(std::floor(1000 * state_.LBGR / state_.DCGL), kScrollBelowTop));
}

// After a sigma step.
void frmSampleSizeandPower::UpdateRelativeShift() {
    UpdateShift();
    ApplyMinimumShift(rules::kMinimumShiftSigmaLine);
    ShowShift(2);
    Recalculate();
}

}  // namespace valdris
