// SPDX-License-Identifier: Apache-2.0
// The plan window's files: saving and opening, the question about unsaved
// changes, a damaged file refused whole, the CSV export, recent plans and
// the autosave a crash leaves behind.

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QProcess>
#include <QRegularExpression>

#include "plan_document.h"
#include "plan_file.h"
#include "plan_table.h"
#include "plan_table_model.h"
#include "plan_window_fixture.h"

namespace valdris::testing {
namespace {

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The plan the Recent Plans menu names first.
QString FirstRecent(const PlanWindow& window) {
    const QList<QAction*> recent = window.findChild<QMenu*>("mnuRecent")->actions();
    return recent.isEmpty() ? QString() : recent.first()->text();
}

TEST_F(PlanWindowTest, ASavedPlanOpensWithEveryCellAsItWas) {
    AddUnit("North", 0.55, TestKind::WRS);
    AddUnit("South", 0.3);
    Model()->Plan().Edit(1, PlanField::GivenN, "20");
    ASSERT_TRUE(SaveAs(PathIn("site")));  // the suffix is added
    EXPECT_TRUE(FirstRecent(*window).endsWith(QFileInfo(PathIn("site.vplan")).absoluteFilePath()));
    EXPECT_EQ(window->windowTitle(), "Survey Plan - site.vplan[*]");
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_EQ(Contents(PathIn("site.vplan")).toStdString(), WritePlan(Model()->Plan()));

    std::vector<QStringList> rows;
    for (int r = 0; r < 2; ++r) {
        QStringList cells;
        for (int c = 0; c < kPlanColumnCount; ++c) cells << Cell(r, c);
        rows.push_back(cells);
    }
    Trigger("actNew");
    EXPECT_EQ(Model()->rowCount(), 0);
    EXPECT_EQ(window->windowTitle(), "Survey Plan - Untitled[*]");
    ASSERT_TRUE(window->OpenPlanFile(PathIn("site.vplan")));
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < kPlanColumnCount; ++c) EXPECT_EQ(Cell(r, c), rows[r][c]) << r << "," << c;
    }
    // The plan is remembered among the recent ones.
    EXPECT_TRUE(FirstRecent(*window).endsWith(PathIn("site.vplan")));
}

TEST_F(PlanWindowTest, UnsavedChangesAreAskedAboutBeforeTheyAreDropped) {
    struct Case {
        Answer answer;
        bool done;
        int rows_after;
    };
    const Case cases[] = {
        {Answer::Cancel, false, 1},
        {Answer::Discard, true, 0},
        {Answer::Save, true, 0},
    };
    for (const Case& c : cases) {
        Model()->SetPlan(SurveyPlan());
        AddUnit("A");
        dialogs.unsaved = c.answer;
        dialogs.unsaved_asked = 0;
        dialogs.file_name = PathIn("asked.vplan");
        Trigger("actNew");
        EXPECT_EQ(dialogs.unsaved_asked, 1);
        EXPECT_EQ(Model()->rowCount(), c.rows_after);
        EXPECT_EQ(QFileInfo::exists(PathIn("asked.vplan")), c.answer == Answer::Save);
        EXPECT_EQ(window->isWindowModified(), !c.done);
    }
    // Saved, and nothing changed since: nothing to ask.
    dialogs.unsaved_asked = 0;
    AddUnit("A");
    Model()->Plan().Undo();
    Trigger("actNew");
    EXPECT_EQ(dialogs.unsaved_asked, 0);
    // Closing asks too, and Cancel keeps the window open.
    AddUnit("B");
    window->show();
    dialogs.unsaved = Answer::Cancel;
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(dialogs.unsaved_asked, 1);
}

TEST_F(PlanWindowTest, ADamagedFileIsRefusedWholeAndThePlanStays) {
    AddUnit("Kept");
    const QByteArray good = QByteArray::fromStdString(WritePlan(Model()->Plan()));
    struct Case {
        const char* what;
        QByteArray bytes;
    };
    QByteArray bad_alpha = good;
    bad_alpha.replace("\"alpha\": 0.05", "\"alpha\": 0.7");
    ASSERT_NE(bad_alpha, good);
    const Case cases[] = {
        {"not JSON", "{\"valdris_power_plan\": 1, \"units\": ["},
        {"a newer version", "{\"valdris_power_plan\": 99, \"units\": []}"},
        {"an alpha the rules refuse", bad_alpha},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Write(PathIn("bad.vplan"), c.bytes);
        messages.Clear();
        EXPECT_FALSE(window->OpenPlanFile(PathIn("bad.vplan")));
        const PlanReading reading = ReadPlan(c.bytes.toStdString());
        ASSERT_FALSE(reading);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_TRUE(messages.shown[0].text.contains(QString::fromStdString(reading.message())));
        EXPECT_EQ(Model()->rowCount(), 1);
        EXPECT_EQ(Cell(0, 0), "Kept");
        EXPECT_EQ(window->windowTitle(), "Survey Plan - Untitled[*]");
    }
    // Not a regular file: refused before anything is read.
    messages.Clear();
    EXPECT_FALSE(window->OpenPlanFile(dir.path()));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.contains("not a regular file"));
}

TEST_F(PlanWindowTest, WritesNeverGoThroughALinkAndFailuresSaySo) {
    AddUnit("A");
    Write(PathIn("elsewhere.vplan"), "untouched");
    ASSERT_TRUE(QFile::link(PathIn("elsewhere.vplan"), PathIn("link.vplan")));
    EXPECT_FALSE(SaveAs(PathIn("link.vplan")));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.startsWith("The plan could not be written to"));
    EXPECT_EQ(Contents(PathIn("elsewhere.vplan")), "untouched");
    EXPECT_TRUE(window->isWindowModified());

    dialogs.file_name = PathIn("table");
    messages.Clear();
    Trigger("actExportCsv");
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(Contents(PathIn("table.csv")).toStdString(), PlanAsCsv(Model()->Plan()));

    // The report: the table's page, then one page a unit.
    AddUnit("B");
    dialogs.file_name = PathIn("report");
    Trigger("actSaveReport");
    EXPECT_TRUE(messages.shown.empty());
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {PathIn("report.pdf")});
    ASSERT_TRUE(info.waitForFinished());
    EXPECT_TRUE(QString::fromUtf8(info.readAllStandardOutput()).contains(QRegularExpression("Pages:\\s+3\\n")));
}

TEST_F(PlanWindowTest, AnAutosaveKeepsUnsavedChangesUntilTheyAreSaved) {
    // A plan with a file: the autosave lies beside it.
    AddUnit("A");
    ASSERT_TRUE(SaveAs(PathIn("site.vplan")));
    AddUnit("B");
    const QString autosave = PathIn(".site.vplan.autosave");
    WriteAutosaveNow();
    ASSERT_TRUE(QFileInfo::exists(autosave));

    // The window gone without a word (as in a crash), the next start (here:
    // another window) offers it; taken, it is unsaved.
    window.reset();
    auto next = std::make_unique<PlanWindow>(messages, &design_window, &dialogs);
    dialogs.recover = true;
    ASSERT_TRUE(next->OpenPlanFile(PathIn("site.vplan")));
    EXPECT_EQ(dialogs.recover_asked, 1);
    EXPECT_EQ(Model(*next)->rowCount(), 2);
    EXPECT_TRUE(next->isWindowModified());
    messages.Clear();
    Trigger(*next, "actSave");
    ASSERT_TRUE(messages.shown.empty());
    EXPECT_FALSE(QFileInfo::exists(autosave)) << "saved: the autosave has done its work";
    EXPECT_EQ(Contents(PathIn("site.vplan")).toStdString(), WritePlan(Model(*next)->Plan()));

    // A plan never saved: its autosave is in the state folder, its own.
    window = std::move(next);
    Trigger("actNew");
    ASSERT_EQ(Model()->rowCount(), 0);
    AddUnit("Fresh");
    WriteAutosaveNow();
    const std::vector<std::string> before = LeftoverAutosaves();
    EXPECT_TRUE(before.empty()) << "a live window's autosave is not a leftover";
    // Its window gone without a word (as in a crash): the next start offers it.
    window.reset();
    const std::vector<std::string> left = LeftoverAutosaves();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(QString::fromStdString(left.front()).startsWith(PathIn("state")), true);
    auto third = std::make_unique<PlanWindow>(messages, &design_window, &dialogs);
    dialogs.recover = false;
    third->OfferLeftoverAutosaves();
    EXPECT_EQ(dialogs.recover_asked, 2);
    EXPECT_EQ(Model(*third)->rowCount(), 0);
    EXPECT_TRUE(LeftoverAutosaves().empty()) << "declined: not offered again";
}

// The autosave is written at most its delay after the first unsaved
// change: steady work, a change each moment, must not put it off.
TEST_F(PlanWindowTest, SteadyWorkDoesNotPutTheAutosaveOff) {
    auto* timer = window->findChild<QTimer*>(QStringLiteral("autosaveTimer"));
    ASSERT_NE(timer, nullptr);
    AddUnit("A");
    ASSERT_TRUE(timer->isActive());
    const int first = timer->remainingTime();
    QTest::qWait(60);
    AddUnit("B");
    EXPECT_LE(timer->remainingTime(), first - 40);
}

// Every save dialog's answer typed without its suffix: the file under the
// suffixed name is replaced only when the user says so.
TEST_F(PlanWindowTest, ANameTypedWithoutItsSuffixAsksBeforeReplacingAFile) {
    AddUnit("A");
    const struct {
        const char* action;
        const char* typed;
        const char* file;
    } cases[] = {
        {"actSaveAs", "site", "site.vplan"},
        {"actExportCsv", "table", "table.csv"},
        {"actSaveReport", "report", "report.pdf"},
    };
    for (const auto& c : cases) {
        for (const bool yes : {false, true}) {
            Write(PathIn(c.file), "kept");
            messages.Clear();
            messages.answer_yes = yes;
            dialogs.file_name = PathIn(c.typed);
            Trigger(c.action);
            ASSERT_EQ(messages.shown.size(), 1u) << c.action;
            EXPECT_TRUE(messages.shown[0].text.startsWith(PathIn(c.file) + " already exists.")) << c.action;
            EXPECT_EQ(Contents(PathIn(c.file)) == "kept", !yes) << c.action << (yes ? " replaced" : " kept");
        }
    }
}

// Opening a recent plan refills the Recent Plans menu; the item chosen
// must outlive its own signal (a shortcut or the menu may still use it).
TEST_F(PlanWindowTest, ARecentPlanOpensAfterItsMenuItemIsDoneWith) {
    AddUnit("A");
    ASSERT_TRUE(SaveAs(PathIn("site.vplan")));
    const QPointer<QAction> item = window->findChild<QMenu*>("mnuRecent")->actions().value(0);
    ASSERT_FALSE(item.isNull());
    item->trigger();
    EXPECT_FALSE(item.isNull()) << "not deleted inside its own signal";
    for (int waited = 0; waited < 1000 && !item.isNull(); waited += 10) QTest::qWait(10);
    EXPECT_TRUE(item.isNull()) << "let go once done";
    EXPECT_TRUE(FirstRecent(*window).endsWith(PathIn("site.vplan")));
    EXPECT_TRUE(messages.shown.empty());
}

// Two programs on one plan: neither's saved work is replaced unasked, and
// neither offers or removes the other's live autosave.
TEST_F(PlanWindowTest, TwoWindowsOnOnePlanLoseNoWork) {
    AddUnit("A");
    ASSERT_TRUE(SaveAs(PathIn("site.vplan")));
    auto other = std::make_unique<PlanWindow>(messages, &design_window, &dialogs);
    ASSERT_TRUE(other->OpenPlanFile(PathIn("site.vplan")));
    AddUnit("From the first");
    WriteAutosaveNow();
    ASSERT_TRUE(QFileInfo::exists(PathIn(".site.vplan.autosave")));
    auto third = std::make_unique<PlanWindow>(messages, &design_window, &dialogs);
    ASSERT_TRUE(third->OpenPlanFile(PathIn("site.vplan")));
    EXPECT_EQ(dialogs.recover_asked, 0) << "a live writer's autosave is not offered";
    third.reset();
    EXPECT_TRUE(QFileInfo::exists(PathIn(".site.vplan.autosave"))) << "nor removed";
    Trigger("actSave");
    EXPECT_FALSE(QFileInfo::exists(PathIn(".site.vplan.autosave")));

    // Another program saves the plan after this window read it.
    const QByteArray read = Contents(PathIn("site.vplan"));
    const QByteArray theirs = read + "\n";
    const struct {
        Answer answer;
        bool mine_in_place;
        bool elsewhere;
    } cases[] = {
        {Answer::Cancel, false, false},
        {Answer::SaveAs, false, true},
        {Answer::Overwrite, true, false},
    };
    dialogs.unsaved = Answer::Discard;
    for (const auto& c : cases) {
        QFile::remove(PathIn("elsewhere.vplan"));
        Write(PathIn("site.vplan"), read);
        ASSERT_TRUE(window->OpenPlanFile(PathIn("site.vplan")));
        Write(PathIn("site.vplan"), theirs);
        AddUnit("Mine");
        dialogs.changed = c.answer;
        dialogs.changed_asked = 0;
        dialogs.file_name = PathIn("elsewhere.vplan");
        Trigger("actSave");
        EXPECT_EQ(dialogs.changed_asked, 1);
        const QByteArray mine = QByteArray::fromStdString(WritePlan(Model()->Plan()));
        EXPECT_EQ(Contents(PathIn("site.vplan")), c.mine_in_place ? mine : theirs);
        EXPECT_EQ(Contents(PathIn("elsewhere.vplan")), c.elsewhere ? mine : QByteArray());
    }
}

// An autosave that no place takes: the window says so once, in its status
// line, with no box in the way, and takes it back once one is written.
TEST_F(PlanWindowTest, ChangesNotBeingKeptAreToldOnceWithoutABox) {
    AddUnit("A");
    ASSERT_TRUE(SaveAs(PathIn("site.vplan")));
    ASSERT_TRUE(QDir().mkpath(PathIn(".site.vplan.autosave")));
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(StateAutosavePathOf(PathIn("site.vplan").toStdString()))));
    auto* notice = Child<QLabel>("autosaveNotice");
    AddUnit("B");
    WriteAutosaveNow();
    EXPECT_TRUE(notice->isVisibleTo(window.get()));
    EXPECT_TRUE(notice->text().startsWith("Changes are not being kept"));
    EXPECT_TRUE(messages.shown.empty()) << "no box";
    Trigger("actSave");
    EXPECT_FALSE(notice->isVisibleTo(window.get()));
}

}  // namespace
}  // namespace valdris::testing
