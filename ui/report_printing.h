// SPDX-License-Identifier: Apache-2.0
#pragma once
// Printing a document (the design report, a unit's map): a preview of its
// pages, from which the system's print dialog prints them.

#include <QSizeF>
#include <QString>
#include <functional>
#include <string>

#include "report_page.h"
#include "safe_file.h"

class QPageLayout;
class QPainter;
class QWidget;

namespace valdris {

class MessageBoxes;

// What is printed: its pages painted into a printable area (in points), and
// the same pages written to a PDF file on the printer's paper.
struct PrintedDocument {
    QString doc_name;      // the file name the print dialog suggests
    QString window_title;  // the preview's
    std::string what;      // "The report": names it in messages
    std::function<void(QPainter&, QSizeF)> paint;
    std::function<Outcome<Done>(const std::string& path, ReadOnlyFile, const QPageLayout&)> write;
};

// Shows the document in a print preview (modal) whose Print button asks for
// a printer; a printer that cannot be started is reported.
// Printing to a PDF file writes it as every file of the program is written
// (whole or not at all, see WriteFileSafely), on the printer's paper.
void PrintWithPreview(const PrintedDocument& document, MessageBoxes& messages, QWidget* parent);

// The design report's page, printed so.
void PrintReportWithPreview(const ReportPage& page, MessageBoxes& messages, QWidget* parent);

// Whether a file may be written: a read-only one only when the user agrees,
// and then read_only says to replace it.
bool MayWriteFile(MessageBoxes& messages, const QString& path, ReadOnlyFile& read_only);

}  // namespace valdris
