// SPDX-License-Identifier: Apache-2.0
// The plan window's files: saving and opening, the question about unsaved
// changes, a damaged file refused whole, the CSV export, recent plans and
// the autosave a crash leaves behind.

#include <QAction>
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
        UnsavedAnswer answer;
        bool done;
        int rows_after;
    };
    const Case cases[] = {
        {UnsavedAnswer::Cancel, false, 1},
        {UnsavedAnswer::Discard, true, 0},
        {UnsavedAnswer::Save, true, 0},
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
        EXPECT_EQ(QFileInfo::exists(PathIn("asked.vplan")), c.answer == UnsavedAnswer::Save);
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
    dialogs.unsaved = UnsavedAnswer::Cancel;
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

    // The next start (here: another window) offers it; taken, it is unsaved.
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

    // A plan never saved: its autosave is in the state folder, offered once.
    dialogs.unsaved = UnsavedAnswer::Discard;
    Trigger("actNew");
    ASSERT_EQ(Model()->rowCount(), 0);
    AddUnit("Fresh");
    const QString unsaved = QString::fromStdString(UnsavedPlanAutosavePath());
    EXPECT_TRUE(unsaved.startsWith(PathIn("state"))) << "the state folder of the environment";
    WriteAutosaveNow();
    EXPECT_TRUE(QFileInfo::exists(unsaved));
    auto third = std::make_unique<PlanWindow>(messages, &design_window, &dialogs);
    dialogs.recover = false;
    third->OfferUnsavedAutosave();
    EXPECT_EQ(dialogs.recover_asked, 2);
    EXPECT_EQ(Model(*third)->rowCount(), 0);
    EXPECT_FALSE(QFileInfo::exists(unsaved)) << "declined: not offered again";
}

}  // namespace
}  // namespace valdris::testing
