// SPDX-License-Identifier: Apache-2.0
#include "report_printing.h"

#include <QAction>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPaintEngine>
#include <QPainter>
#include <QPointer>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>

#include "file_names.h"
#include "message_boxes.h"
#include "report_file.h"
#include "safe_file.h"

namespace valdris {
namespace {

// The printer would open the file itself and leave a truncated one on a full
// disk; the safe writer puts the page in place whole, on the printer's paper.
void PrintToFile(const ReportPage& page, const QPrinter& printer, MessageBoxes& messages) {
    const QString path = printer.outputFileName();
    ReadOnlyFile read_only = ReadOnlyFile::Refuse;
    if (!MayWriteFile(messages, path, read_only)) return;
    const QPageLayout layout = printer.pageLayout();
    const Outcome<Done> written = WriteDesignReport(page, path.toStdString(), read_only, &layout);
    if (!written) {
        messages.Show(QString::fromStdString(written.message()), MessageIcon::Exclamation);
    }
}

// The system's print dialog opens the file named for printing to a file
// before it closes, to see that it can be written: a FIFO there would hang
// the program inside the dialog. The name is held to the rules every file of
// the program is held to first.
class FileCheckingPrintDialog : public QPrintDialog {
public:
    FileCheckingPrintDialog(QPrinter* printer, QWidget* parent, MessageBoxes& messages)
        : QPrintDialog(printer, parent), messages_(messages) {}

    void accept() override {
        const auto* name = findChild<QLineEdit*>(QStringLiteral("filename"));
        if (name != nullptr && name->isEnabled() && !name->text().isEmpty()) {
            if (const QString refusal = RefusalOfName(name->text()); !refusal.isEmpty()) {
                messages_.Show(QString::fromStdString(FileFailureMessage("The report", name->text(), refusal)),
                               MessageIcon::Exclamation);
                return;
            }
        }
        QPrintDialog::accept();
    }

private:
    MessageBoxes& messages_;
};

// The preview's Print button opens the dialog above instead of its own.
void PrintThroughCheckingDialog(QPrintPreviewDialog* preview, QPrinter& printer, MessageBoxes& messages) {
    const QString print = QCoreApplication::translate("QPrintPreviewDialog", "Print");
    for (QAction* action : preview->findChildren<QAction*>()) {
        if (action->text() != print) continue;
        action->disconnect(preview);
        QObject::connect(action, &QAction::triggered, preview, [preview, &printer, &messages] {
            FileCheckingPrintDialog dialog(&printer, preview, messages);
            if (dialog.exec() != QDialog::Accepted) return;
            if (auto* pages = preview->findChild<QPrintPreviewWidget*>()) pages->print();
            preview->accept();
        });
    }
}

}  // namespace

bool MayWriteFile(MessageBoxes& messages, const QString& path, ReadOnlyFile& read_only) {
    read_only = ReadOnlyFile::Refuse;
    if (!IsReadOnlyFile(path)) return true;
    if (!messages.AskYesNo(QObject::tr("%1 is read-only.\r\nDo you want to replace it?").arg(path))) return false;
    read_only = ReadOnlyFile::Replace;
    return true;
}

void PrintReportWithPreview(const ReportPage& page, MessageBoxes& messages, QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    // Without a printer there is no paper to follow; the locale's is the best guess.
    if (QPrinterInfo::defaultPrinter().isNull()) printer.setPageSize(LocalePageSize());
    // The print dialog suggests a file name from it.
    printer.setDocName(QString::fromStdString(FileNameStem("Survey design " + page.report.radionuclide, "Survey design")));

    QPointer<QPrintPreviewDialog> preview = new QPrintPreviewDialog(&printer, parent);
    preview->setWindowTitle(QObject::tr("Print Report"));
    QObject::connect(preview, &QPrintPreviewDialog::paintRequested, preview, [&](QPrinter* target) {
        // Printing to a PDF file opens the file in the printer: the name is
        // held to the rules every file of the program is (the preview itself
        // paints on a picture).
        const bool to_file = target->outputFormat() == QPrinter::PdfFormat &&
                             target->paintEngine()->type() != QPaintEngine::Picture;
        if (to_file) {
            PrintToFile(page, *target, messages);
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
    PrintThroughCheckingDialog(preview, printer, messages);
    preview->exec();
    delete preview;
}

}  // namespace valdris
