// SPDX-License-Identifier: Apache-2.0
// The plan window's files: the plan itself, recent plans, the CSV export and
// the autosave that a crash leaves behind. The document's rules (names,
// unsaved work, what is offered) are PlanDocument's, and the order of the
// questions is FileErrand's; this shows the boxes and does the deeds.
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressDialog>
#include <QSettings>
#include <QTimer>

#include "context_ids.h"
#include "file_bytes.h"
#include "file_errand.h"
#include "file_names.h"
#include "message_boxes.h"
#include "plan_dialogs.h"
#include "plan_file.h"
#include "plan_summary.h"
#include "plan_table.h"
#include "plan_table_model.h"
#include "plan_window.h"
#include "read_progress_dialog.h"
#include "report_file.h"
#include "safe_file.h"
#include "save_name.h"

namespace valdris {
namespace {

const QString kRecentKey = QStringLiteral("plan/recent");
// The program's own settings file, ~/.config/valdris-power/valdris-power.conf.
QSettings Settings() { return QSettings(QStringLiteral("valdris-power"), QStringLiteral("valdris-power")); }

const QString kPlanFilter = QStringLiteral("Survey plans (*.vplan)");

QString Absolute(const QString& path) { return QFileInfo(path).absoluteFilePath(); }

QString Decoded(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

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

bool PlanWindow::MaySetPlanAside() { return Carry(FileErrand::SetAside(document_, model_->Plan())); }

// Does what each step of the errand says until it is done or stopped.
bool PlanWindow::Carry(FileErrand errand) {
    for (FileStep step = errand.Start();;) {
        switch (step.kind) {
            case FileStep::Kind::Ask: step = errand.Answered(dialogs_.Ask(step.question)); break;
            case FileStep::Kind::AskName: step = errand.Named(AskPlanName(Decoded(step.path))); break;
            case FileStep::Kind::Write: step = errand.Did(WritePlanFile(Decoded(step.path))); break;
            case FileStep::Kind::Recover:
                step = errand.Did(TakeAutosave(Decoded(step.path), Decoded(step.plan)));
                break;
            case FileStep::Kind::Remove:
                RemoveLeftoverAutosave(step.path);
                step = errand.Did(true);
                break;
            case FileStep::Kind::Done: return true;
            case FileStep::Kind::Stopped: return false;
        }
    }
}

void PlanWindow::TakePlan(SurveyPlan plan, const QString& path, const FileStamp& read, const QString& autosave) {
    RemoveAutosave();
    if (linked_unit_) SetLinkedUnit(std::nullopt);
    const bool recovered = !autosave.isEmpty();
    document_.Take(QFile::encodeName(path).toStdString(), recovered, read);
    model_->SetPlan(std::move(plan));
    if (!path.isEmpty()) RememberRecent(path);
    if (!recovered) return;
    // The leftover is this plan's now, removed once its work is kept anew.
    document_.AdoptAutosave(QFile::encodeName(autosave).toStdString());
    WriteAutosave();
}

bool PlanWindow::NewPlan() {
    if (!MaySetPlanAside()) return false;
    TakePlan(SurveyPlan(), QString(), {}, QString());
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
    PlanReading reading = ReadPlanShowingProgress(this, *file);
    if (!reading) {
        if (reading.refusal().kind == RefusalKind::ReadCancelled) return false;
        messages_.Show(tr("The plan %1 was not opened:\n%2").arg(path, QString::fromStdString(reading.message())),
                       MessageIcon::Exclamation);
        return false;
    }
    const QString absolute = Absolute(path);
    TakePlan(std::move(*reading), absolute, StampOfBytes(QFile::encodeName(absolute).toStdString(), *file), QString());
    // An autosave left beside the file or for it holds changes made after
    // it was saved.
    if (const auto autosave = document_.AutosaveOfferedOnOpening()) {
        Carry(FileErrand::Recover(document_, *autosave, QFile::encodeName(absolute).toStdString()));
    }
    return true;
}

// The autosave taken as the unsaved plan of the file at path (empty: never
// saved); false when it could not be read, which is said.
bool PlanWindow::TakeAutosave(const QString& autosave, const QString& path) {
    const Outcome<std::string> file = ReadFileBytes(autosave);
    PlanReading reading = file ? ReadPlan(*file) : PlanReading(file.refusal());
    if (!reading) {
        messages_.Show(tr("The plan %1 was not opened:\n%2").arg(autosave, QString::fromStdString(reading.message())),
                       MessageIcon::Exclamation);
        return false;
    }
    // What the plan's file holds now is what a save would replace.
    const FileStamp read = path.isEmpty() ? FileStamp() : StampOfFile(QFile::encodeName(path).toStdString());
    TakePlan(std::move(*reading), path, read, autosave);
    return true;
}

// Each autosave an earlier run left in the state folder, the newest first,
// until one is taken; those after it stay for the next start.
void PlanWindow::OfferLeftoverAutosaves() {
    for (const auto& [leftover, plan] : LeftoversToOffer(document_, model_->Plan())) {
        if (Carry(FileErrand::Recover(document_, leftover, plan))) return;
    }
}

bool PlanWindow::SavePlan() { return Carry(FileErrand::Save(document_)); }

bool PlanWindow::SavePlanAs() { return Carry(FileErrand::SaveAs(document_)); }

// The absolute name in the system's encoding, its suffix added and its
// replacing agreed to; empty when the user cancelled.
std::string PlanWindow::AskPlanName(const QString& suggested) {
    const QString chosen = dialogs_.SaveFileName(tr("Save Plan As"), suggested, kPlanFilter);
    const QString path = ConfirmedSaveName(messages_, chosen, QStringLiteral(".vplan"));
    return path.isEmpty() ? std::string() : QFile::encodeName(Absolute(path)).toStdString();
}

// The plan written whole to path and taken as its file; a failure is said.
bool PlanWindow::WritePlanFile(const QString& path) {
    const std::string bytes = WritePlan(model_->Plan());
    const QString reason = WriteBytes(path, bytes);
    if (!reason.isEmpty()) {
        messages_.Show(QString::fromStdString(FileFailureMessage("The plan", path, reason)), MessageIcon::Exclamation);
        return false;
    }
    RemoveAutosave();
    const std::string absolute = QFile::encodeName(path).toStdString();
    document_.Saved(absolute, StampOfBytes(absolute, bytes));
    model_->Plan().MarkSaved();
    RememberRecent(QString::fromStdString(document_.Path()));
    UpdateState();
    return true;
}

// A file named after the plan, with the suffix added when it was left out;
// empty when the user cancelled or would not replace a file.
QString PlanWindow::AskExportName(const QString& title, const QString& suffix, const QString& filter) {
    const QString base = QString::fromStdString(document_.BaseName());
    return ConfirmedSaveName(messages_, dialogs_.SaveFileName(title, base + suffix, filter), suffix);
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
    // A plan of thousands of units takes a while: shown after a moment, with
    // a Cancel that leaves every file as it was. Every window waits, so that
    // no plan changes under the report.
    QProgressDialog progress(tr("Writing the plan report\u2026"), tr("Cancel"), 0, 0, this);
    SetUpProgressDialog(progress);
    const Outcome<Done> written = WritePlanReport(model_->Plan(), title, target.toStdString(),
                                                  [&progress](std::size_t done, std::size_t total) {
                                                      progress.setMaximum(static_cast<int>(total));
                                                      progress.setValue(static_cast<int>(done));
                                                      return !progress.wasCanceled();
                                                  });
    progress.reset();
    if (written || written.refusal().kind == RefusalKind::ReportCancelled) return static_cast<bool>(written);
    messages_.Show(QString::fromStdString(written.message()), MessageIcon::Exclamation);
    return false;
}

// --- Autosave ----------------------------------------------------------------

// An autosave that cannot be written is tried again at the next change; the
// user is told once, without a box in the way of the work, that changes are
// not being kept, and the notice goes once one is written.
void PlanWindow::WriteAutosave() {
    if (!HasUnsavedChanges()) return;
    const Outcome<Done> written = document_.WriteAutosave(WritePlan(model_->Plan()));
    if (!written && document_.JustStoppedKeeping()) {
        autosave_notice_->setText(tr("Changes are not being kept: the autosave could not be written (%1). "
                                     "Save the plan to keep them.")
                                      .arg(QString::fromStdString(written.message())));
    }
    autosave_notice_->setVisible(!written);
}

void PlanWindow::RemoveAutosave() {
    autosave_timer_->stop();
    document_.RemoveAutosave();
    autosave_notice_->hide();
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

// Opening a recent plan refills this menu from inside one of its items:
// the old items are let go once their signals have returned, and the plan is
// opened after the menu (and a shortcut being dispatched) is done with them.
void PlanWindow::FillRecentMenu() {
    for (QAction* old : mnuRecent->actions()) {
        mnuRecent->removeAction(old);
        old->deleteLater();
    }
    const QStringList recent = Settings().value(kRecentKey).toStringList();
    for (int i = 0; i < recent.size(); ++i) {
        const QString path = recent.at(i);
        QAction* action = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(path), mnuRecent);
        action->setObjectName(QStringLiteral("actRecent%1").arg(i + 1));
        mnuRecent->addAction(action);
        connect(action, &QAction::triggered, this, [this, path] {
            QTimer::singleShot(0, this, [this, path] {
                if (MaySetPlanAside()) OpenPlanFile(path);
            });
        });
    }
    mnuRecent->setEnabled(!recent.isEmpty());
}

}  // namespace valdris
