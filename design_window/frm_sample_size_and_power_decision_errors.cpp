// SPDX-License-Identifier: Apache-2.0
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
    if (TakeDecisionError(Cboalpha, state_.Alpha, rules::DecisionError::Alpha)) Recalculate();
}

void frmSampleSizeandPower::Cboalpha_LostFocus() { Cboalpha_Click(); }

void frmSampleSizeandPower::CboBeta_Click() {
    HandlerRun run(*this);
    if (!run) return;
    if (TakeDecisionError(CboBeta, state_.Beta, rules::DecisionError::Beta)) Recalculate();
}

void frmSampleSizeandPower::CboBeta_LostFocus() { CboBeta_Click(); }

// Stores the box's number in `value` if the pair and the range allow it.
// A refusal puts the previous value back before the message and the text
// after it, and gives the focus back to the box. Comparisons are made in
// single precision, so 0.50000001 counts as 0.5; a number too large to read
// is infinite and fails the range.
bool frmSampleSizeandPower::TakeDecisionError(QComboBox* box, float& value, rules::DecisionError which) {
    const float previous = value;
    value = ToSingle(LeadingNumber(box->currentText().toStdString()));

    const std::optional<Refusal> refusal = rules::DecisionErrorRefusal(state_.Alpha, state_.Beta, which);
    if (!refusal) return true;

    value = previous;
    Show(*refusal);
    box->setEditText(QString::fromStdString(WriteNumber(previous)));
    box->setFocus();
    return false;
}

}  // namespace valdris
