// SPDX-License-Identifier: Apache-2.0
// The plan window's files: the plan itself, recent plans, the CSV export and
// the autosave that a crash leaves behind. The document's rules (names,
// unsaved work, what is offered) are PlanDocument's; this asks and shows.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QTimer>

#include "context_ids.h"
#include "file_bytes.h"
#include "file_names.h"
#include "message_boxes.h"
#include "plan_dialogs.h"
#include "plan_file.h"
#include "plan_summary.h"
#include "plan_table.h"
#include "plan_table_model.h"
#include "plan_window.h"
#include "report_file.h"
#include "safe_file.h"

namespace valdris {
namespace {

const QString kRecentKey = QStringLiteral("plan/recent");
// The program's own settings file, ~/.config/valdris-power/valdris-power.conf.
QSettings Settings() { return QSettings(QStringLiteral("valdris-power"), QStringLiteral("valdris-power")); }

const QString kPlanFilter = QStringLiteral("Survey plans (*.vplan)");

QString WithSuffix(const QString& path, const QString& suffix) {
    return QString::fromStdString(WithFileSuffix(path.toStdString(), suffix.toStdString()));
}

QString Absolute(const QString& path) { return QFileInfo(path).absoluteFilePath(); }

}  // namespace

void PlanWindow::BuildFileMenu() {
    QMenu* menu = menuBar()->addMenu(tr("&File"));
    SetHelpContextID(menu, kHelpContextPlanFiles);
    actNew = AddAction(menu, tr("&New Plan"), "actNew", nullptr);
    actNew->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    connect(actNew, &QAction::triggered, this, [this] { NewPlan(); });
    actOpen = AddAction(menu, tr("&Open Plan\u2026"), "actOpen", nullptr);
    actOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    connect(actOpen, &QAction::triggered, this, [this] { OpenPlan(); });
    mnuRecent = menu->addMenu(tr("Recent &Plans"));
    mnuRecent->setObjectName(QStringLiteral("mnuRecent"));
    menu->addSeparator();
    actSave = AddAction(menu, tr("&Save Plan"), "actSave", nullptr);
    actSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(actSave, &QAction::triggered, this, [this] { SavePlan(); });
    actSaveAs = AddAction(menu, tr("Save Plan &As\u2026"), "actSaveAs", nullptr);
    connect(actSaveAs, &QAction::triggered, this, [this] { SavePlanAs(); });
    actExportCsv = AddAction(menu, tr("&Export CSV\u2026"), "actExportCsv", nullptr);
    connect(actExportCsv, &QAction::triggered, this, [this] { ExportCsv(); });
    actSaveReport = AddAction(menu, tr("Save Plan &Report\u2026"), "actSaveReport", nullptr);
    connect(actSaveReport, &QAction::triggered, this, [this] { SaveReport(); });
    menu->addSeparator();
    actClose = AddAction(menu, tr("&Close"), "actClose", nullptr);
    connect(actClose, &QAction::triggered, this, [this] { close(); });
    FillRecentMenu();
}

QString PlanWindow::DisplayName() const { return QString::fromStdString(document_.DisplayName()); }

QString PlanWindow::PlanFolder() const { return QString::fromStdString(document_.Folder()); }

bool PlanWindow::HasUnsavedChanges() const { return document_.HasUnsavedChanges(model_->Plan()); }

bool PlanWindow::MaySetPlanAside() {
    if (!HasUnsavedChanges()) return true;
    switch (dialogs_.AskUnsaved(DisplayName())) {
        case UnsavedAnswer::Save: return SavePlan();
        case UnsavedAnswer::Discard: return true;
        case UnsavedAnswer::Cancel: return false;
    }
    return false;
}

void PlanWindow::TakePlan(SurveyPlan plan, const QString& path, bool recovered) {
    RemoveAutosave();
    if (linked_unit_) SetLinkedUnit(std::nullopt);
    document_.Take(path.toStdString(), recovered);
    model_->SetPlan(std::move(plan));
    if (!path.isEmpty()) RememberRecent(path);
    if (recovered) WriteAutosave();
}

bool PlanWindow::NewPlan() {
    if (!MaySetPlanAside()) return false;
    TakePlan(SurveyPlan(), QString(), false);
    return true;
}

bool PlanWindow::OpenPlan() {
    if (!MaySetPlanAside()) return false;
    const QString path = dialogs_.OpenFileName(PlanFolder());
    if (path.isEmpty()) return false;
    return OpenPlanFile(path);
}

bool PlanWindow::OpenPlanFile(const QString& path) {
    const Outcome<std::string> file = ReadFileBytes(path);
    if (!file) {
        messages_.Show(UnreadFileMessage("The plan", path, file.message()), MessageIcon::Exclamation);
        return false;
    }
    PlanReading reading = ReadPlan(*file);
    if (!reading) {
        messages_.Show(tr("The plan %1 was not opened:\n%2").arg(path, QString::fromStdString(reading.message())),
                       MessageIcon::Exclamation);
        return false;
    }
    TakePlan(std::move(*reading), Absolute(path), false);
    // An autosave beside the file holds changes made after it was saved.
    if (document_.OffersAutosaveOnOpening()) OfferAutosave();
    return true;
}

// Takes the autosave as the current plan, unsaved, when the user wants it;
// an autosave declined or unreadable is removed, so it is offered once.
void PlanWindow::OfferAutosave() {
    const QString autosave = QString::fromStdString(document_.AutosavePath());
    if (!TakeAutosave(autosave)) QFile::remove(autosave);
}

bool PlanWindow::TakeAutosave(const QString& autosave) {
    if (!dialogs_.AskRecover(autosave)) return false;
    const Outcome<std::string> file = ReadFileBytes(autosave);
    PlanReading reading = file ? ReadPlan(*file) : PlanReading(file.refusal());
    if (!reading) {
        messages_.Show(tr("The plan %1 was not opened:\n%2").arg(autosave, QString::fromStdString(reading.message())),
                       MessageIcon::Exclamation);
        return false;
    }
    const QString path = QString::fromStdString(document_.Path());
    TakePlan(std::move(*reading), path, true);
    return true;
}

void PlanWindow::OfferUnsavedAutosave() {
    if (document_.OffersUnsavedAutosave(model_->Plan())) OfferAutosave();
}

bool PlanWindow::SavePlan() {
    if (document_.Path().empty()) return SavePlanAs();
    return SavePlanTo(QString::fromStdString(document_.Path()));
}

bool PlanWindow::SavePlanAs() {
    const QString suggested = document_.Path().empty() ? tr("plan.vplan") : QString::fromStdString(document_.Path());
    const QString path = dialogs_.SaveFileName(tr("Save Plan As"), suggested, kPlanFilter);
    if (path.isEmpty()) return false;
    return SavePlanTo(WithSuffix(path, QStringLiteral(".vplan")));
}

bool PlanWindow::SavePlanTo(const QString& path) {
    const QString reason = WriteBytes(path, WritePlan(model_->Plan()));
    if (!reason.isEmpty()) {
        messages_.Show(QString::fromStdString(FileFailureMessage("The plan", path, reason)), MessageIcon::Exclamation);
        return false;
    }
    RemoveAutosave();
    document_.Saved(Absolute(path).toStdString());
    model_->Plan().MarkSaved();
    RememberRecent(QString::fromStdString(document_.Path()));
    UpdateState();
    return true;
}

// A file named after the plan, with the suffix added when it was left out;
// empty when the user cancelled.
QString PlanWindow::AskExportName(const QString& title, const QString& suffix, const QString& filter) {
    const QString base = QString::fromStdString(document_.BaseName());
    const QString path = dialogs_.SaveFileName(title, base + suffix, filter);
    return path.isEmpty() ? path : WithSuffix(path, suffix);
}

bool PlanWindow::ExportCsv() {
    const QString target = AskExportName(tr("Export CSV"), QStringLiteral(".csv"), tr("CSV files (*.csv)"));
    if (target.isEmpty()) return false;
    const QString reason = WriteBytes(target, PlanAsCsv(model_->Plan()));
    if (reason.isEmpty()) return true;
    messages_.Show(QString::fromStdString(FileFailureMessage("The table", target, reason)), MessageIcon::Exclamation);
    return false;
}

bool PlanWindow::SaveReport() {
    if (model_->Plan().size() == 0) {
        messages_.Show(QString::fromStdString(kNothingToReport), MessageIcon::Information);
        return false;
    }
    const QString target = AskExportName(tr("Save Plan Report"), QStringLiteral(".pdf"), tr("PDF files (*.pdf)"));
    if (target.isEmpty()) return false;
    const QString title = tr("Survey Plan: %1").arg(DisplayName());
    const Outcome<Done> written = WritePlanReport(model_->Plan(), title, target.toStdString());
    if (written) return true;
    messages_.Show(QString::fromStdString(written.message()), MessageIcon::Exclamation);
    return false;
}

// --- Autosave ----------------------------------------------------------------

// Best effort: an autosave that cannot be written is tried again at the
// next change, and is no reason to interrupt the user.
void PlanWindow::WriteAutosave() {
    if (!HasUnsavedChanges()) return;
    const QString path = QString::fromStdString(document_.AutosavePath());
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (WriteBytes(path, WritePlan(model_->Plan())).isEmpty()) document_.AutosaveWritten(path.toStdString());
}

void PlanWindow::RemoveAutosave() {
    autosave_timer_->stop();
    const std::string written = document_.TakeWrittenAutosave();
    if (!written.empty()) QFile::remove(QString::fromStdString(written));
}

// --- Recent plans --------------------------------------------------------------

void PlanWindow::RememberRecent(const QString& path) {
    QSettings settings = Settings();
    std::vector<std::string> recent;
    for (const QString& known : settings.value(kRecentKey).toStringList()) recent.push_back(known.toStdString());
    QStringList kept;
    for (const std::string& plan : WithRecentPlan(std::move(recent), path.toStdString())) {
        kept << QString::fromStdString(plan);
    }
    settings.setValue(kRecentKey, kept);
    FillRecentMenu();
}

void PlanWindow::FillRecentMenu() {
    mnuRecent->clear();
    const QStringList recent = Settings().value(kRecentKey).toStringList();
    for (int i = 0; i < recent.size(); ++i) {
        const QString path = recent.at(i);
        QAction* action = mnuRecent->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(path));
        connect(action, &QAction::triggered, this, [this, path] {
            if (MaySetPlanAside()) OpenPlanFile(path);
        });
    }
    mnuRecent->setEnabled(!recent.isEmpty());
}

}  // namespace valdris
