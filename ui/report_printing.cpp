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
void PrintToFile(const PrintedDocument& document, const QPrinter& printer, MessageBoxes& messages) {
    const QString path = printer.outputFileName();
    ReadOnlyFile read_only = ReadOnlyFile::Refuse;
    if (!MayWriteFile(messages, path, read_only)) return;
    const Outcome<Done> written = document.write(path.toStdString(), read_only, printer.pageLayout());
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
    FileCheckingPrintDialog(QPrinter* printer, QWidget* parent, MessageBoxes& messages, std::string what)
        : QPrintDialog(printer, parent), messages_(messages), what_(std::move(what)) {}

    void accept() override {
        const auto* name = findChild<QLineEdit*>(QStringLiteral("filename"));
        if (name != nullptr && name->isEnabled() && !name->text().isEmpty()) {
            if (const QString refusal = RefusalOfName(name->text()); !refusal.isEmpty()) {
                messages_.Show(QString::fromStdString(FileFailureMessage(what_, name->text(), refusal)),
                               MessageIcon::Exclamation);
                return;
            }
        }
        QPrintDialog::accept();
    }

private:
    MessageBoxes& messages_;
    std::string what_;
};

// The preview's Print button opens the dialog above instead of its own.
void PrintThroughCheckingDialog(QPrintPreviewDialog* preview, QPrinter& printer, MessageBoxes& messages,
                                const std::string& what) {
    const QString print = QCoreApplication::translate("QPrintPreviewDialog", "Print");
    for (QAction* action : preview->findChildren<QAction*>()) {
        if (action->text() != print) continue;
        action->disconnect(preview);
        QObject::connect(action, &QAction::triggered, preview, [preview, &printer, &messages, what] {
            FileCheckingPrintDialog dialog(&printer, preview, messages, what);
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

void PrintWithPreview(const PrintedDocument& document, MessageBoxes& messages, QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    // Without a printer there is no paper to follow; the locale's is the best guess.
    if (QPrinterInfo::defaultPrinter().isNull()) printer.setPageSize(LocalePageSize());
    printer.setDocName(document.doc_name);

    QPointer<QPrintPreviewDialog> preview = new QPrintPreviewDialog(&printer, parent);
    preview->setWindowTitle(document.window_title);
    QObject::connect(preview, &QPrintPreviewDialog::paintRequested, preview, [&](QPrinter* target) {
        // Printing to a PDF file opens the file in the printer: the name is
        // held to the rules every file of the program is (the preview itself
        // paints on a picture).
        const bool to_file = target->outputFormat() == QPrinter::PdfFormat &&
                             target->paintEngine()->type() != QPaintEngine::Picture;
        if (to_file) {
            PrintToFile(document, *target, messages);
            return;
        }
        QPainter painter;
        if (!painter.begin(target)) {
            messages.Show(QString::fromStdString(document.what) +
                              QObject::tr(" could not be printed: the printer could not be started."),
                          MessageIcon::Exclamation);
            return;
        }
        document.paint(painter, target->pageLayout().paintRect(QPageLayout::Point).size());
    });
    PrintThroughCheckingDialog(preview, printer, messages, document.what);
    preview->exec();
    delete preview;
}

void PrintReportWithPreview(const ReportPage& page, MessageBoxes& messages, QWidget* parent) {
    PrintWithPreview(
        {QString::fromStdString(FileNameStem("Survey design " + page.report.radionuclide, "Survey design")),
         QObject::tr("Print Report"), "The report",
         [&page](QPainter& painter, QSizeF area) { PaintReportPage(painter, area, page); },
         [&page](const std::string& path, ReadOnlyFile read_only, const QPageLayout& layout) {
             return WriteDesignReport(page, path, read_only, &layout);
         }},
        messages, parent);
}

}  // namespace valdris
