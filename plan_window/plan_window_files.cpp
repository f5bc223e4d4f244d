// SPDX-License-Identifier: Apache-2.0
// The plan window's files: the plan itself, recent plans, the CSV export and
// the autosave that a crash leaves behind.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QTimer>

#include "message_boxes.h"
#include "plan_dialogs.h"
#include "plan_file.h"
#include "plan_table.h"
#include "plan_table_model.h"
#include "plan_window.h"
#include "report_file.h"
#include "safe_file.h"
#include "whole_file.h"

namespace valdris {
namespace {

constexpr int kRecentPlans = 8;
const QString kRecentKey = QStringLiteral("plan/recent");
// The program's own settings file, ~/.config/valdris-power/valdris-power.conf.
QSettings Settings() { return QSettings(QStringLiteral("valdris-power"), QStringLiteral("valdris-power")); }

const QString kPlanFilter = QStringLiteral("Survey plans (*.vplan)");

// The user's state folder, for the autosave of a plan that has no file yet.
QString StateFolder() {
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.local/state");
    return base + QStringLiteral("/valdris-power");
}

QString WithSuffix(QString path, const QString& suffix) {
    if (!path.endsWith(suffix, Qt::CaseInsensitive)) path += suffix;
    return path;
}

FileBytes ReadPlanFile(const QString& path) {
    return ReadWholeFile(path, QObject::tr("it is too large to be a plan"));
}

}  // namespace

void PlanWindow::BuildFileMenu() {
    QMenu* menu = menuBar()->addMenu(tr("&File"));
    actNew = AddAction(menu, tr("&New Plan"), "actNew", nullptr);
    connect(actNew, &QAction::triggered, this, [this] { NewPlan(); });
    actOpen = AddAction(menu, tr("&Open Plan..."), "actOpen", nullptr);
    connect(actOpen, &QAction::triggered, this, [this] { OpenPlan(); });
    mnuRecent = menu->addMenu(tr("Recent &Plans"));
    mnuRecent->setObjectName(QStringLiteral("mnuRecent"));
    menu->addSeparator();
    actSave = AddAction(menu, tr("&Save Plan"), "actSave", nullptr);
    actSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(actSave, &QAction::triggered, this, [this] { SavePlan(); });
    actSaveAs = AddAction(menu, tr("Save Plan &As..."), "actSaveAs", nullptr);
    connect(actSaveAs, &QAction::triggered, this, [this] { SavePlanAs(); });
    actExportCsv = AddAction(menu, tr("&Export CSV..."), "actExportCsv", nullptr);
    connect(actExportCsv, &QAction::triggered, this, [this] { ExportCsv(); });
    actSaveReport = AddAction(menu, tr("Save Plan &Report..."), "actSaveReport", nullptr);
    connect(actSaveReport, &QAction::triggered, this, [this] { SaveReport(); });
    menu->addSeparator();
    actClose = AddAction(menu, tr("&Close"), "actClose", nullptr);
    connect(actClose, &QAction::triggered, this, [this] { close(); });
    FillRecentMenu();
}

QString PlanWindow::DisplayName() const {
    return path_.isEmpty() ? tr("Untitled") : QFileInfo(path_).fileName();
}

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
    if (linked_row_) SetLinkedRow(std::nullopt);
    path_ = path;
    recovered_ = recovered;
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
    const QString path = dialogs_.OpenFileName(path_.isEmpty() ? QString() : QFileInfo(path_).absolutePath());
    if (path.isEmpty()) return false;
    return OpenPlanFile(path);
}

bool PlanWindow::OpenPlanFile(const QString& path) {
    const FileBytes file = ReadPlanFile(path);
    if (!file.bytes) {
        messages_.Show(tr("The plan could not be read from %1: %2.").arg(path, file.reason), MessageIcon::Exclamation);
        return false;
    }
    PlanReading reading = ReadPlan(*file.bytes);
    if (!reading) {
        messages_.Show(tr("The plan %1 was not opened:\n%2").arg(path, QString::fromStdString(reading.message())),
                       MessageIcon::Exclamation);
        return false;
    }
    const QString absolute = QFileInfo(path).absoluteFilePath();
    TakePlan(std::move(*reading), absolute, false);
    // An autosave beside the file holds changes made after it was saved.
    const QString autosave = AutosavePath();
    if (QFileInfo::exists(autosave) && !OfferAutosaveOf(autosave)) QFile::remove(autosave);
    return true;
}

// Takes the autosave as the current plan, unsaved, when the user wants it.
bool PlanWindow::OfferAutosaveOf(const QString& autosave) {
    if (!dialogs_.AskRecover(autosave)) return false;
    const FileBytes file = ReadPlanFile(autosave);
    PlanReading reading = file.bytes ? ReadPlan(*file.bytes)
                                     : PlanReading::Failure(RefusalKind::FileUnreadable, file.reason.toStdString());
    if (!reading) {
        messages_.Show(tr("The plan %1 was not opened:\n%2").arg(autosave, QString::fromStdString(reading.message())),
                       MessageIcon::Exclamation);
        return false;
    }
    const QString path = path_;
    TakePlan(std::move(*reading), path, true);
    return true;
}

void PlanWindow::OfferUnsavedAutosave() {
    if (!path_.isEmpty() || HasUnsavedChanges()) return;
    const QString autosave = AutosavePath();
    if (QFileInfo::exists(autosave) && !OfferAutosaveOf(autosave)) QFile::remove(autosave);
}

bool PlanWindow::SavePlan() {
    if (path_.isEmpty()) return SavePlanAs();
    return SavePlanTo(path_);
}

bool PlanWindow::SavePlanAs() {
    const QString suggested = path_.isEmpty() ? tr("plan.vplan") : path_;
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
    path_ = QFileInfo(path).absoluteFilePath();
    recovered_ = false;
    model_->Plan().MarkSaved();
    RememberRecent(path_);
    UpdateState();
    return true;
}

// A file named after the plan, with the suffix added when it was left out;
// empty when the user cancelled.
QString PlanWindow::AskExportName(const QString& title, const QString& suffix, const QString& filter) {
    const QString base = path_.isEmpty() ? tr("plan") : QFileInfo(path_).completeBaseName();
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
    const QString target = AskExportName(tr("Save Plan Report"), QStringLiteral(".pdf"), tr("PDF files (*.pdf)"));
    if (target.isEmpty()) return false;
    const QString title = tr("Survey Plan: %1").arg(DisplayName());
    const Outcome<Done> written = WritePlanReport(model_->Plan(), title, target.toStdString());
    if (written) return true;
    messages_.Show(QString::fromStdString(written.message()), MessageIcon::Exclamation);
    return false;
}

// --- Autosave ----------------------------------------------------------------

QString UnsavedPlanAutosavePath() { return StateFolder() + QStringLiteral("/unsaved-plan.vplan.autosave"); }

QString PlanWindow::AutosavePath() const {
    if (path_.isEmpty()) return UnsavedPlanAutosavePath();
    const QFileInfo plan(path_);
    return plan.absolutePath() + QStringLiteral("/.") + plan.fileName() + QStringLiteral(".autosave");
}

// Best effort: an autosave that cannot be written is tried again at the
// next change, and is no reason to interrupt the user.
void PlanWindow::WriteAutosave() {
    if (!HasUnsavedChanges()) return;
    const QString path = AutosavePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (WriteBytes(path, WritePlan(model_->Plan())).isEmpty()) written_autosave_ = path;
}

void PlanWindow::RemoveAutosave() {
    autosave_timer_->stop();
    if (!written_autosave_.isEmpty()) QFile::remove(written_autosave_);
    written_autosave_.clear();
}

// --- Recent plans --------------------------------------------------------------

void PlanWindow::RememberRecent(const QString& path) {
    QSettings settings(QStringLiteral("valdris-power"), QStringLiteral("valdris-power"));
    QStringList recent = settings.value(kRecentKey).toStringList();
    recent.removeAll(path);
    recent.prepend(path);
    while (recent.size() > kRecentPlans) recent.removeLast();
    settings.setValue(kRecentKey, recent);
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
