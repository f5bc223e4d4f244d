// SPDX-License-Identifier: Apache-2.0
#pragma once
// The progress of a long task in the plan window: a dialog shown only once
// the task has run longer than a moment, with a Cancel. While it shows,
// every window waits, so that nothing changes under the task.

#include <QProgressDialog>
#include <string_view>

#include "plan_file.h"
#include "read_progress.h"

class QWidget;

namespace valdris {

// How long a long task runs before its progress is shown.
constexpr int kProgressDelayMs = 500;

// Every long task's dialog: every window waits, it shows after a moment,
// and it is wide enough that its caption reads whole.
void SetUpProgressDialog(QProgressDialog& dialog);

// A reading's progress (read_progress.h) shown in a dialog over `parent`;
// the reading stops once Cancel is pressed. Hidden when this goes.
class ReadProgressDialog {
public:
    ReadProgressDialog(QWidget* parent, const QString& text);
    ~ReadProgressDialog();
    ReadProgressDialog(const ReadProgressDialog&) = delete;
    ReadProgressDialog& operator=(const ReadProgressDialog&) = delete;

    const ReadProgress& Progress() const { return progress_; }

private:
    QProgressDialog dialog_;
    ReadProgress progress_;
};

// A plan's bytes read with its progress shown over `parent`; a reading
// cancelled is refused as ReadCancelled, which is shown as nothing.
PlanReading ReadPlanShowingProgress(QWidget* parent, std::string_view bytes);

}  // namespace valdris
