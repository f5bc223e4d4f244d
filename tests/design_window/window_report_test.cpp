// SPDX-License-Identifier: Apache-2.0
// The File and Edit menu items that hand the shown design on: their access
// keys and topics, their disabled state, and that what they hand on is what
// the window shows.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDate>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <map>
#include <tuple>

#include "chart_file.h"
#include "chart_geometry.h"
#include "context_ids.h"
#include "report_file.h"
#include "frm_sample_size_and_power.h"
#include "number_text.h"
#include "symbol_label.h"
#include "window_driver.h"
#include "window_steps_fixture.h"

namespace valdris::testing {
namespace {

using Steps = std::vector<std::string>;

QChar AccessKey(const QString& caption) {
    const int amp = caption.indexOf(QLatin1Char('&'));
    return amp < 0 ? QChar() : caption.at(amp + 1).toLower();
}

class WindowReportTest : public WindowStepsFixture {
protected:
    std::vector<QAction*> ReportItems() const {
        return {window->mnuSaveReport, window->mnuPrint, window->mnuSaveChart, window->mnuCopyResults};
    }

    // The tab-separated text the copy must give: every figure as a control
    // of the window shows it.
    QString ExpectedCopy(const char* test) const {
        const frmSampleSizeandPower& w = *window;
        QString text = QStringLiteral("Radionuclide\t%1\nStatistical Test\t%2\n").arg(w.txtRadionuclide->text(), test);
        // Each input as every report writes it: the value shown, in plain digits.
        const auto single = [](const QString& text) {
            return QString::fromStdString(PlainNumber(ToSingle(LeadingNumber(text.toStdString()))));
        };
        const auto plain = [](const QString& text) {
            return QString::fromStdString(PlainNumber(LeadingNumber(text.toStdString())));
        };
        const std::pair<const char*, QString> inputs[] = {
            {"Alpha", single(w.Cboalpha->currentText())}, {"Beta", single(w.CboBeta->currentText())},
            {"Sigma", single(w.txtSigma->text())},        {"DCGL", plain(w.txtDCGL->text())},
            {"LBGR", plain(w.txtLBGR->text())},          {"D/s", w.lblShift->caption().section(QLatin1Char(' '), 2)},
            {"Survey Unit Sample Size", w.txtN->text()},
        };
        for (const auto& [label, value] : inputs) text += QLatin1String(label) + QLatin1Char('\t') + value + '\n';
        if (!w.TxtM->isHidden()) text += QStringLiteral("Reference Area Sample Size\t") + w.TxtM->text() + '\n';
        return text + QStringLiteral("Critical Value\t") + SecondLine(w.LblCV).trimmed() + '\n';
    }

    QString CopiedText() const { return QApplication::clipboard()->mimeData()->text(); }
};

// The existing menus keep their items; the new ones have unique access keys
// in their menu and on the bar, and topics of their own for F1.
TEST_F(WindowReportTest, MenusHaveUniqueAccessKeysAndTheirOwnTopics) {
    QString bar;
    for (QAction* menu : window->menuBar()->actions()) bar += menu->text() + ' ';
    EXPECT_EQ(bar, "&File &Edit &View &Help ");
    for (QAction* menu_item : window->menuBar()->actions()) {
        std::map<QChar, QString> keys{{AccessKey(menu_item->text()), "the bar"}};
        for (QAction* item : menu_item->menu()->actions()) {
            if (item->isSeparator()) continue;
            const QChar key = AccessKey(item->text());
            if (key.isNull()) continue;  // "Getting Started" has none
            EXPECT_TRUE(keys.emplace(key, item->text()).second) << item->text().toStdString();
        }
    }
    EXPECT_EQ(window->mnuFile->actions().back(), window->MnuExit);
    EXPECT_EQ(window->MnuExit->text(), "E&xit");
    const std::pair<QObject*, int> topics[] = {
        {window->mnuSaveReport, kHelpContextSaveReport}, {window->mnuPrint, kHelpContextPrint},
        {window->mnuSaveChart, kHelpContextSaveChart},   {window->mnuEdit, kHelpContextEditMenu},
        {window->mnuCopyResults, kHelpContextCopyResults}, {window->MnuExit, kHelpContextFileMenu},
        {window->mnuUpdateChart, kHelpContextViewMenu},
    };
    for (const auto& [item, topic] : topics) EXPECT_EQ(HelpContextID(item), topic) << item->objectName().toStdString();
}

TEST_F(WindowReportTest, ItemsAreDisabledWhileTheResultsAreEmpty) {
    for (QAction* item : ReportItems()) EXPECT_TRUE(item->isEnabled());
    Run(Steps{"alpha 0.01", "beta 0.01", "sigma 0.01", "bar 999", "sigma 10"});
    ASSERT_EQ(window->txtN->text(), "");
    for (QAction* item : ReportItems()) EXPECT_FALSE(item->isEnabled()) << item->objectName().toStdString();
    EXPECT_FALSE(window->ShownReport().has_value());
    Run("sigma 1");
    for (QAction* item : ReportItems()) EXPECT_TRUE(item->isEnabled());
}

// The copy is of the selected test's design: choosing the other test and
// copying recalculates first, as a click on the chart would.
TEST_F(WindowReportTest, CopyResultsGivesTheShownTextsAndTheChart) {
    Run(Steps{"alpha 0.10", "sigma 0.3", "lbgr 0.75"});
    window->txtRadionuclide->setText("Sr-90 north");
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{}, "Sign Test"},
        {{"wrs"}, "WRS Test"},
        {{"chart"}, "WRS Test"},
    };
    for (const auto& [steps, test] : cases) {
        Run(steps);
        window->mnuCopyResults->trigger();
        const QString copied = CopiedText();
        EXPECT_TRUE(window->lblResultsNote->isHidden());
        EXPECT_TRUE(copied.startsWith(ExpectedCopy(test))) << copied.toStdString() << "\n---\n"
                                                           << ExpectedCopy(test).toStdString();
        EXPECT_EQ(copied.count(QStringLiteral("\nPower at ")), 9);
    }
    const QImage chart = qvariant_cast<QImage>(QApplication::clipboard()->mimeData()->imageData());
    // As sharp as the screen shows it.
    EXPECT_EQ(chart.size(), ChartPixelSize(window->devicePixelRatioF()));
}

// A value typed but not yet taken is taken first, as leaving its box would;
// the focus stays in the box. A refused one is reported and nothing copied.
TEST_F(WindowReportTest, AValueStillBeingTypedIsTakenFirst) {
    ASSERT_TRUE(ShowAndActivate(window.get()));
    TypeInto(window->txtSigma, "1");
    window->mnuCopyResults->trigger();
    EXPECT_TRUE(CopiedText().contains("Sigma\t1\n"));
    EXPECT_TRUE(CopiedText().contains("Survey Unit Sample Size\t89\n")) << CopiedText().toStdString();
    EXPECT_EQ(FocusedWidget(), window->txtSigma);

    TypeInto(window->txtSigma, "0");
    window->mnuCopyResults->trigger();
    EXPECT_EQ(Shown(), Steps{"sigma<=0"});
    EXPECT_TRUE(CopiedText().contains("Sigma\t1\n"));
    EXPECT_EQ(FocusedWidget(), window->txtSigma);
}

// The save dialog suggests the radionuclide and the date; a name that cannot
// be written is reported and nothing is written; a name without .pdf gets it;
// a read-only file is replaced only when the user says so (here: No).
TEST_F(WindowReportTest, SaveReportWritesThePdfChosenInTheDialog) {
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::link(dir.filePath("elsewhere.pdf"), dir.filePath("link.pdf")));
    QFile kept(dir.filePath("kept.pdf"));
    ASSERT_TRUE(kept.open(QIODevice::WriteOnly) && kept.write("keep") == 4 && kept.setPermissions(QFile::ReadOwner));
    kept.close();
    ASSERT_TRUE(ShowAndActivate(window.get()));
    window->txtRadionuclide->setText("Cs-137/unit 4");
    for (const char* name : {"plan.pdf", "link.pdf", "notes.txt", "kept.pdf"}) {
        QString suggested;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            suggested = dialog->selectedFiles().value(0);
            dialog->setOption(QFileDialog::DontConfirmOverwrite);  // its own question is Qt's
            dialog->selectFile(dir.filePath(name));
            QMetaObject::invokeMethod(dialog, "accept");
        });
        window->mnuSaveReport->trigger();
        EXPECT_TRUE(suggested.endsWith("/Cs-137 unit 4 " + QDate::currentDate().toString(Qt::ISODate) +
                                       " design report.pdf"))
            << suggested.toStdString();
    }
    QFile pdf(dir.filePath("plan.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5) == "%PDF-");
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_TRUE(messages.shown[0].text.startsWith("The report could not be written to " + dir.filePath("link.pdf")))
        << messages.shown[0].text.toStdString();
    EXPECT_TRUE(messages.shown[1].text.endsWith("Do you want to replace it?"));
    EXPECT_FALSE(QFile::exists(dir.filePath("elsewhere.pdf")));
    EXPECT_TRUE(QFile::exists(dir.filePath("notes.txt.pdf")) && !QFile::exists(dir.filePath("notes.txt")));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "keep");
}


// Printing to a file named as a pipe or a dangling link: refused with a
// message before the print dialog's own check opens the name (a pipe would
// hang the window there, a link would be written through), and the dialog
// stays for another name.
TEST_F(WindowReportTest, PrintToAFileThatIsNoPlainFileIsRefused) {
    QTemporaryDir dir;
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("pipe.pdf")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(dir.filePath("target.pdf"), dir.filePath("dangling.pdf")));
    ASSERT_TRUE(ShowAndActivate(window.get()));
    for (const char* name : {"pipe.pdf", "dangling.pdf"}) {
        messages.Clear();
        bool stayed = false;
        QTimer::singleShot(0, [&] {
            auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(preview, nullptr);
            QTimer::singleShot(0, [&, preview] {
                auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
                if (dialog == nullptr) return preview->reject();
                // The printer that prints to a file, whatever else is there.
                if (auto* printers = dialog->findChild<QComboBox*>(QStringLiteral("printers"))) {
                    for (int i = 0; i < printers->count(); ++i) {
                        if (printers->itemText(i).contains(QStringLiteral("PDF"))) printers->setCurrentIndex(i);
                    }
                }
                auto* file = dialog->findChild<QLineEdit*>(QStringLiteral("filename"));
                if (file != nullptr && file->isEnabled()) {
                    file->setText(dir.filePath(name));
                    QMetaObject::invokeMethod(dialog, "accept");
                    stayed = dialog->isVisible();
                }
                dialog->reject();
            });
            const QString print = QCoreApplication::translate("QPrintPreviewDialog", "Print");
            for (QAction* action : preview->findChildren<QAction*>()) {
                if (action->text() == print) {
                    action->trigger();
                    break;
                }
            }
            preview->reject();
        });
        window->mnuPrint->trigger();
        EXPECT_TRUE(stayed) << name;
        ASSERT_EQ(messages.shown.size(), 1u) << name;
        EXPECT_TRUE(messages.shown[0].text.startsWith("The report could not be written to " + dir.filePath(name)))
            << messages.shown[0].text.toStdString();
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("target.pdf")));
    EXPECT_TRUE(QFileInfo(dir.filePath("dangling.pdf")).isSymLink());
}

// The size of a PNG chart is chosen with its type in the save dialog; an SVG
// has no pixels.
TEST_F(WindowReportTest, SaveChartAsWritesTheSizeChosenInTheDialog) {
    QTemporaryDir dir;
    ASSERT_TRUE(ShowAndActivate(window.get()));
    const QSize report = ChartPixelSize(ResolutionOf(ChartImageSize::Report300Dpi, LocalePageSize()).ratio);
    const std::tuple<int, const char*, QSize> cases[] = {
        {0, "screen.png", {517, 309}}, {1, "double.png", {1034, 618}}, {2, "report.png", report}, {3, "chart.svg", {}}};
    for (const auto& [filter, name, pixels] : cases) {
        QTimer::singleShot(0, [&, filter = filter, name = name] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            dialog->selectNameFilter(dialog->nameFilters().value(filter));
            dialog->selectFile(dir.filePath(name));
            QMetaObject::invokeMethod(dialog, "accept");
        });
        window->mnuSaveChart->trigger();
        EXPECT_TRUE(QFile::exists(dir.filePath(name))) << name;
        if (!pixels.isEmpty()) {
            EXPECT_EQ(QImage(dir.filePath(name), "png").size(), pixels) << name;
        }
    }
    EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace valdris::testing
