// SPDX-License-Identifier: Apache-2.0
// The design leaves the window: the File menu's report, print and chart
// items and the Edit menu's copy. Each first recalculates with the selected
// test, as a click on the chart does, so what leaves is what is selected;
// each is disabled while the results are empty. View > Update Chart is that
// click from the keyboard.

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QStandardPaths>
#include <algorithm>

#include "chart_file.h"
#include "design_check_dialog.h"
#include "context_ids.h"
#include "file_names.h"
#include "frm_sample_size_and_power.h"
#include "power_chart_view.h"
#include "report_file.h"
#include "report_printing.h"
#include "save_name.h"
#include "safe_file.h"
#include "symbol_label.h"

namespace valdris {
namespace {

QAction* MenuItem(QMenu* menu, const char* name, const QString& caption, int help_context) {
    auto* item = new QAction(caption, menu);  // the menu is its parent, for F1
    item->setObjectName(QString::fromLatin1(name));
    SetHelpContextID(item, help_context);
    return item;
}

// The radionuclide as the start of a suggested file name.
QString SuggestedStem(const QString& radionuclide) {
    return QString::fromStdString(FileNameStem(radionuclide.toStdString(), "Survey design"));
}

}  // namespace

void frmSampleSizeandPower::AddReportMenus() {
    mnuSaveReport = MenuItem(mnuFile, "mnuSaveReport", tr("Save &Report\u2026"), kHelpContextSaveReport);
    mnuSaveReport->setShortcut(QKeySequence::Save);
    mnuPrint = MenuItem(mnuFile, "mnuPrint", tr("&Print\u2026"), kHelpContextPrint);
    mnuPrint->setShortcut(QKeySequence::Print);
    mnuSaveChart = MenuItem(mnuFile, "mnuSaveChart", tr("Save &Chart As\u2026"), kHelpContextSaveChart);
    mnuFile->insertActions(MnuExit, {mnuSaveReport, mnuPrint, mnuSaveChart});
    mnuFile->insertSeparator(MnuExit);

    mnuEdit = new QMenu(tr("&Edit"), this);
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    SetHelpContextID(mnuEdit, kHelpContextEditMenu);
    menuBar()->insertMenu(mnuHelp->menuAction(), mnuEdit);
    mnuCopyResults = MenuItem(mnuEdit, "mnuCopyResults", tr("&Copy Results"), kHelpContextCopyResults);
    mnuEdit->addAction(mnuCopyResults);

    mnuView = new QMenu(tr("&View"), this);
    mnuView->setObjectName(QStringLiteral("mnuView"));
    SetHelpContextID(mnuView, kHelpContextViewMenu);
    menuBar()->insertMenu(mnuHelp->menuAction(), mnuView);
    mnuUpdateChart = MenuItem(mnuView, "mnuUpdateChart", tr("&Update Chart"), kHelpContextViewMenu);
    mnuUpdateChart->setShortcut(QKeySequence(Qt::Key_F5));
    mnuView->addAction(mnuUpdateChart);
    mnuDesignCheck = MenuItem(mnuView, "mnuDesignCheck", tr("Design &Check\u2026"), kHelpContextViewMenu);
    mnuView->addAction(mnuDesignCheck);

    connections_.push_back(connect(mnuSaveReport, &QAction::triggered, this, [this] { mnuSaveReport_Click(); }));
    connections_.push_back(connect(mnuPrint, &QAction::triggered, this, [this] { mnuPrint_Click(); }));
    connections_.push_back(connect(mnuSaveChart, &QAction::triggered, this, [this] { mnuSaveChart_Click(); }));
    connections_.push_back(connect(mnuCopyResults, &QAction::triggered, this, [this] { mnuCopyResults_Click(); }));
    connections_.push_back(connect(mnuUpdateChart, &QAction::triggered, this, [this] { mnuUpdateChart_Click(); }));
    connections_.push_back(connect(mnuDesignCheck, &QAction::triggered, this, [this] { mnuDesignCheck_Click(); }));
    connections_.push_back(connect(this, &frmSampleSizeandPower::recalculated, this, [this] {
        const bool shown = !txtN->text().isEmpty();
        for (QAction* item : {mnuSaveReport, mnuPrint, mnuSaveChart, mnuCopyResults, mnuDesignCheck}) {
            item->setEnabled(shown);
        }
    }));
}

// --- The design the window shows ---------------------------------------------

// A value typed but not yet taken would be reported beside results computed
// without it: it is taken first, as leaving its box for the chart would. A
// refused value (its handler has put the focus back) stops the report, so
// that a box the refusal emptied is never reported.
bool frmSampleSizeandPower::TakePendingEntry() {
    QWidget* box = focusWidget();
    const bool input = box == txtDCGL || box == txtSigma || box == txtLBGR || box == Cboalpha || box == CboBeta;
    if (!input) return true;
    PicChart->setFocus(Qt::OtherFocusReason);
    if (view_.Closing() || !PicChart->hasFocus()) return false;
    box->setFocus(Qt::OtherFocusReason);  // the user goes on where they were
    return true;
}

std::optional<DesignReport> frmSampleSizeandPower::ShownReport() const {
    const std::optional<FormResults>& shown = form_.Results();
    if (!shown || shown->sample_size.empty()) return std::nullopt;
    const ReportEntries entries = InputEntries(form_.Entries().radionuclide, form_.State(),
                                               form_.ShownShift());
    return MakeDesignReport(shown->test, form_.State(), entries);
}

// A click on the chart: the box being left is checked first (a refusal
// stops here), then the design is recalculated with the selected test.
bool frmSampleSizeandPower::UpdateChart() {
    if (!TakePendingEntry()) return false;
    PicChart_Click();
    return !view_.Closing();
}

std::optional<ReportPage> frmSampleSizeandPower::ShownReportPage() {
    if (!UpdateChart()) return std::nullopt;
    std::optional<DesignReport> report = ShownReport();
    if (!report || view_.Closing()) return std::nullopt;
    return ReportPage{std::move(*report), form_.State(), ReportTime()};
}

// --- Files ---------------------------------------------------------------------

// A save dialog that suggests "<radionuclide> <date> <what>.<suffix>" in the
// folder last used this session; empty when the user cancels.
QString frmSampleSizeandPower::AskFileName(const QString& title, const QString& what, const QStringList& filters,
                                           const QStringList& suffixes, int* chosen_filter) {
    if (save_directory_.isEmpty()) {
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        save_directory_ = QFileInfo(documents).isDir() ? documents : QDir::homePath();
    }
    const QString name = SuggestedStem(txtRadionuclide->text()) + QLatin1Char(' ') +
                         QDate::currentDate().toString(Qt::ISODate) + QLatin1Char(' ') + what +
                         QLatin1Char('.') + suffixes.front();

    QPointer<QFileDialog> dialog = new QFileDialog(this, title, QDir(save_directory_).filePath(name));
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setNameFilters(filters);
    GiveSaveSuffix(*dialog, suffixes.front());
    connect(dialog, &QFileDialog::filterSelected, dialog, [dialog, filters, suffixes](const QString& filter) {
        GiveSaveSuffix(*dialog, suffixes.value(filters.indexOf(filter), suffixes.front()));
    });
    const bool chosen = dialog->exec() == QDialog::Accepted;
    if (!dialog) return {};
    const QStringList files = dialog->selectedFiles();
    const int filter = std::max(0, static_cast<int>(filters.indexOf(dialog->selectedNameFilter())));
    if (chosen_filter) *chosen_filter = filter;
    delete dialog;
    if (!chosen || files.isEmpty() || view_.Closing()) return {};
    // A name that already ends in one of the offered suffixes keeps it: a
    // chart's type follows the name typed.
    QString suffix = suffixes.value(filter);
    for (const QString& offered : suffixes) {
        if (files.front().endsWith(QLatin1Char('.') + offered, Qt::CaseInsensitive)) suffix = offered;
    }
    const QString path = ConfirmedSaveName(messages_, files.front(), QLatin1Char('.') + suffix);
    if (path.isEmpty()) return {};
    save_directory_ = QFileInfo(path).absolutePath();
    return path;
}

void frmSampleSizeandPower::ShowFileFailure(const std::string& error) {
    messages_.Show(QString::fromStdString(error), MessageIcon::Exclamation);
}

// --- Menu items ----------------------------------------------------------------

void frmSampleSizeandPower::mnuSaveReport_Click() {
    if (view_.Busy()) return;
    const std::optional<ReportPage> page = ShownReportPage();
    if (!page) return;
    const QString path = AskFileName(tr("Save Report"), tr("design report"), {tr("PDF document (*.pdf)")},
                                     {QStringLiteral("pdf")});
    if (path.isEmpty()) return;
    ReadOnlyFile read_only = ReadOnlyFile::Refuse;
    if (!MayWriteFile(messages_, path, read_only)) return;
    const Outcome<Done> written = WriteDesignReport(*page, path.toStdString(), read_only);
    if (!written) ShowFileFailure(written.message());
}

void frmSampleSizeandPower::mnuPrint_Click() {
    if (view_.Busy()) return;
    const std::optional<ReportPage> page = ShownReportPage();
    if (page) PrintReportWithPreview(*page, messages_, this);
}

void frmSampleSizeandPower::mnuSaveChart_Click() {
    if (view_.Busy()) return;
    const std::optional<ReportPage> page = ShownReportPage();
    if (!page) return;
    // The size is chosen with the file type: one PNG filter for each size.
    const QString png = QStringLiteral("png");
    const QStringList filters = {tr("PNG image, as on the screen (*.png)"), tr("PNG image, twice the size (*.png)"),
                                 tr("PNG image, 300 dpi across the printed report (*.png)"),
                                 tr("SVG drawing (*.svg)")};
    constexpr ChartImageSize kSizes[] = {ChartImageSize::Screen, ChartImageSize::Double,
                                         ChartImageSize::Report300Dpi, ChartImageSize::Screen};
    int chosen = 0;
    const QString path = AskFileName(tr("Save Chart As"), tr("power chart"), filters,
                                     {png, png, png, QStringLiteral("svg")}, &chosen);
    if (path.isEmpty()) return;
    ReadOnlyFile read_only = ReadOnlyFile::Refuse;
    if (!MayWriteFile(messages_, path, read_only)) return;
    const ChartResolution resolution = ResolutionOf(kSizes[chosen], LocalePageSize());
    const Outcome<Done> written = WriteChartFile(page->state, path.toStdString(), read_only, resolution);
    if (!written) ShowFileFailure(written.message());
}

void frmSampleSizeandPower::mnuUpdateChart_Click() {
    if (!view_.Busy()) UpdateChart();
}

// The check of what the results show, after the recalculation every item
// that hands the design on makes first.
void frmSampleSizeandPower::mnuDesignCheck_Click() {
    if (view_.Busy() || !UpdateChart()) return;
    const std::optional<FormResults>& shown = form_.Results();
    if (!shown || !shown->made) return;
    DesignCheckDialog dialog(shown->test, form_.State(), this);
    dialog.exec();
}

void frmSampleSizeandPower::mnuCopyResults_Click() {
    if (view_.Busy()) return;
    const std::optional<ReportPage> page = ShownReportPage();
    if (!page) return;
    auto* data = new QMimeData;
    data->setText(QString::fromStdString(ReportAsTabSeparated(page->report)));
    // As sharp as the screen shows the chart.
    data->setImageData(ChartImage(page->state, ScreenResolution(devicePixelRatioF())));
    QGuiApplication::clipboard()->setMimeData(data);
}

}  // namespace valdris
