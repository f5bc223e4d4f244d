// SPDX-License-Identifier: Apache-2.0
#include "read_progress_dialog.h"

#include <QObject>

namespace valdris {
namespace {

constexpr int kSteps = 1000;

// About forty-five characters: the program's name with the window's
// buttons beside it, where the text alone would leave it cut short.
constexpr int kDialogWidthChars = 45;

}  // namespace

void SetUpProgressDialog(QProgressDialog& dialog) {
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setMinimumDuration(kProgressDelayMs);
    dialog.setMinimumWidth(dialog.fontMetrics().averageCharWidth() * kDialogWidthChars);
}

ReadProgressDialog::ReadProgressDialog(QWidget* parent, const QString& text)
    : dialog_(text, QObject::tr("Cancel"), 0, kSteps, parent) {
    SetUpProgressDialog(dialog_);
    dialog_.setAutoClose(false);
    dialog_.setAutoReset(false);
    // The first value starts the clock that decides whether it shows.
    dialog_.setValue(0);
    progress_ = [this](double done) {
        dialog_.setValue(static_cast<int>(done * kSteps));
        return !dialog_.wasCanceled();
    };
}

ReadProgressDialog::~ReadProgressDialog() { dialog_.reset(); }

PlanReading ReadPlanShowingProgress(QWidget* parent, std::string_view bytes) {
    ReadProgressDialog progress(parent, QObject::tr("Reading the plan\u2026"));
    return ReadPlan(bytes, progress.Progress());
}

}  // namespace valdris
