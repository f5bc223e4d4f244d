// SPDX-License-Identifier: Apache-2.0
#include "report_printing.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "message_boxes.h"
#include "report_file.h"
#include "safe_file.h"

namespace valdris {

void PrintReportWithPreview(const ReportPage& page, MessageBoxes& messages, QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    // Without a printer there is no paper to follow; the locale's is the best guess.
    if (QPrinterInfo::defaultPrinter().isNull()) printer.setPageSize(LocalePageSize());
    printer.setDocName(QStringLiteral("Survey design ") + QString::fromStdString(page.report.radionuclide));

    QPointer<QPrintPreviewDialog> preview = new QPrintPreviewDialog(&printer, parent);
    preview->setWindowTitle(QObject::tr("Print Report"));
    QObject::connect(preview, &QPrintPreviewDialog::paintRequested, preview, [&](QPrinter* target) {
        // Printing to a PDF file opens the file in the printer: the name is
        // held to the rules every file of the program is (the preview itself
        // paints on a picture).
        const bool to_file = target->outputFormat() == QPrinter::PdfFormat &&
                             target->paintEngine()->type() != QPaintEngine::Picture;
        const QString refusal = to_file ? RefusalOfName(target->outputFileName()) : QString();
        if (!refusal.isEmpty()) {
            messages.Show(QString::fromStdString(FileFailureMessage("The report", target->outputFileName(), refusal)),
                          MessageIcon::Exclamation);
            return;
        }
        QPainter painter;
        if (!painter.begin(target)) {
            messages.Show(QObject::tr("The report could not be printed: the printer could not be started."),
                          MessageIcon::Exclamation);
            return;
        }
        PaintReportPage(painter, target->pageLayout().paintRect(QPageLayout::Point).size(), page);
    });
    preview->exec();
    delete preview;
}

}  // namespace valdris
