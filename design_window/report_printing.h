// SPDX-License-Identifier: Apache-2.0
#pragma once
// Printing the design report: a preview of the page, from which the system's
// print dialog prints it.

#include "report_page.h"
#include "safe_file.h"

class QWidget;

namespace valdris {

class MessageBoxes;

// Shows the page in a print preview (modal) whose Print button asks for a
// printer; a printer that cannot be started is reported.
// Printing to a PDF file writes it as every file of the program is written
// (whole or not at all, see WriteFileSafely), on the printer's paper.
void PrintReportWithPreview(const ReportPage& page, MessageBoxes& messages, QWidget* parent);

// Whether a file may be written: a read-only one only when the user agrees,
// and then read_only says to replace it.
bool MayWriteFile(MessageBoxes& messages, const QString& path, ReadOnlyFile& read_only);

}  // namespace valdris
