// SPDX-License-Identifier: Apache-2.0
// Sigma: the typed standard deviation and the spin control beside it.
#include <QApplication>
#include <QLineEdit>
#include <cmath>
#include <cstdlib>

#include "frm_sample_size_and_power.h"
#include "frm_sample_size_and_power_run.h"
#include "input_rules.h"
#include "number_text.h"
#include "symbol_label.h"

namespace valdris {

namespace {

// A sigma as the box shows it: the single-precision number in plain digits.
// The box keeps only digits and a point, so an exponent would be cut off and
// the next spin step would start from the wrong number.
std::string PlainSigmaText(float sigma) {
    const std::string written = WriteNumber(sigma);
    const std::size_t e = written.find('E');
    if (e == std::string::npos) return written;

    std::string digits;
    int point = 0;  // digits of the mantissa before its point
    bool seen_point = false;
    for (std::size_t i = 0; i < e; ++i) {
        if (written[i] == '.') {
            seen_point = true;
        } else if (written[i] >= '0' && written[i] <= '9') {
            digits += written[i];
            if (!seen_point) ++point;
        }
    }
    point += std::atoi(written.c_str() + e + 1);
    if (point <= 0) return "0." + std::string(static_cast<std::size_t>(-point), '0') + digits;
    if (point >= static_cast<int>(digits.size())) {
        return digits + std::string(static_cast<std::size_t>(point) - digits.size(), '0');
    }
    return digits.substr(0, static_cast<std::size_t>(point)) + "." + digits.substr(static_cast<std::size_t>(point));
}

}  // namespace

void frmSampleSizeandPower::txtSigma_LostFocus() {
    HandlerRun run(*this);
    if (!run) return;
    const float typed = ToSingle(LeadingNumber(txtSigma->text().toStdString()));

    // A refused sigma leaves Sigma as it was and the box empty.
    if (const std::optional<Refusal> refusal = rules::SigmaRefusal(typed, state_.DCGL)) {
        Show(*refusal);
        txtSigma->clear();
        txtSigma->setFocus();
        return;
    }

    state_.Sigma = typed;
    // Delta is not recomputed here, and a typed sigma is not held to the
    // minimum shift; the caption shows three decimals.
    if (state_.Delta > 0.0f) {
        state_.DoverS = static_cast<double>(state_.Delta) / static_cast<double>(state_.Sigma);
        ShowShift(3);
    }
    Recalculate();
}

void frmSampleSizeandPower::UpDSigma_UpClick() { StepSigma(+1.0); }

void frmSampleSizeandPower::UpDSigma_DownClick() { StepSigma(-1.0); }

// One step is a hundredth of the DCGL on a grid of 0.01, added to the number
// in the box (not to the stored Sigma).
void frmSampleSizeandPower::StepSigma(double direction) {
    HandlerRun run(*this);
    if (!run) return;
    const double step = RoundHalfEven(state_.DCGL * 0.01, 2);
    const double typed = LeadingNumber(txtSigma->text().toStdString());
    const float sigma = ToSingle(direction > 0 ? typed + step : typed - step);

    // A relative shift needs a positive, finite sigma: a step that would
    // leave none changes nothing.
    if (!std::isfinite(sigma) || sigma <= 0.0f) {
        QApplication::beep();
        return;
    }
    state_.Sigma = sigma;
    txtSigma->setText(QString::fromStdString(PlainSigmaText(sigma)));
    UpdateRelativeShift();
}

}  // namespace valdris
