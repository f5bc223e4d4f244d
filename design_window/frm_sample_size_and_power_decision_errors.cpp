// Alpha and beta: the two decision error boxes.
#include <QComboBox>

#include "frm_sample_size_and_power.h"
#include "frm_sample_size_and_power_run.h"
#include "input_rules.h"
#include "number_text.h"

namespace valdris {

void frmSampleSizeandPower::Cboalpha_Click() {
    HandlerRun run(*this);
    if (!run) return;
    if (TakeDecisionError(Cboalpha, state_.Alpha, rules::AlphaInRange, rules::kAlphaRange)) Recalculate();
}

void frmSampleSizeandPower::Cboalpha_LostFocus() { Cboalpha_Click(); }

void frmSampleSizeandPower::CboBeta_Click() {
    HandlerRun run(*this);
    if (!run) return;
    if (TakeDecisionError(CboBeta, state_.Beta, rules::BetaInRange, rules::kBetaRange)) Recalculate();
}

void frmSampleSizeandPower::CboBeta_LostFocus() { CboBeta_Click(); }

// Stores the box's number in `value` if the pair and the range allow it.
// A refusal puts the previous value back before the message and the text
// after it, and gives the focus back to the box. Comparisons are made in
// single precision, so 0.50000001 counts as 0.5; a number too large to read
// is infinite and fails the range.
bool frmSampleSizeandPower::TakeDecisionError(QComboBox* box, float& value, bool (*in_range)(float),
                                              const std::string& range_message) {
    const float previous = value;
    value = ToSingle(LeadingNumber(box->currentText().toStdString()));

    const std::string* refusal = nullptr;
    if (rules::BothAtLeastHalf(state_.Alpha, state_.Beta)) {
        refusal = &rules::kAlphaBetaBothLarge;
    } else if (!in_range(value)) {
        refusal = &range_message;
    }
    if (!refusal) return true;

    value = previous;
    messages_.Show(QString::fromStdString(*refusal), MessageIcon::Exclamation);
    box->setEditText(QString::fromStdString(WriteNumber(previous)));
    box->setFocus();
    return false;
}

}  // namespace valdris
