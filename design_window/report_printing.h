// SPDX-License-Identifier: Apache-2.0
#pragma once
// Printing the design report: a preview of the page, from which the system's
// print dialog prints it.

#include "report_page.h"

class QWidget;

namespace valdris {

class MessageBoxes;

// Shows the page in a print preview (modal) whose Print button asks for a
// printer; a printer that cannot be started is reported.
void PrintReportWithPreview(const ReportPage& page, MessageBoxes& messages, QWidget* parent);

}  // namespace valdris
