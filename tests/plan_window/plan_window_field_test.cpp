// SPDX-License-Identifier: Apache-2.0
// What the field panel adds to the unit's field edits: its boxes and tables
// as the source of the edits, the worked examples as the panel shows them,
// the values shown again after a refusal, and the locations written out.

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QTabWidget>
#include <QTest>
#include <algorithm>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "drawing_view.h"
#include "field_panel.h"
#include "geometry_loader.h"
#include "plan_table_model.h"
#include "plan_window_fixture.h"

namespace valdris::testing {
namespace {

// A refusal is told once the event loop has run.
void Type(QLineEdit* box, const QString& text) {
    box->setText(text);
    emit box->editingFinished();
    QCoreApplication::processEvents();
}

// Typed into the table's rows, more of them added as a user would.
void FillRows(QTableWidget* table, const std::vector<QStringList>& rows) {
    table->setRowCount(std::max(table->rowCount(), static_cast<int>(rows.size())));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        for (int c = 0; c < rows[static_cast<std::size_t>(r)].size(); ++c) {
            table->setItem(r, c, new QTableWidgetItem(rows[static_cast<std::size_t>(r)][c]));
        }
    }
}

class FieldPanelTest : public PlanWindowTest {
protected:
    void SetUp() override {
        PlanWindowTest::SetUp();
        PlanUnit unit;
        unit.name = "F";
        unit.given_n = 20;
        ASSERT_TRUE(Model()->Plan().Add(unit));
        SelectRow(0);
    }
    const PlanUnit& Unit() const { return Model()->Plan().entry(0).unit; }
    QLineEdit* Box(PlanField field) const { return Child<QLineEdit>(FieldBoxName(field)); }
};

TEST_F(FieldPanelTest, TheWorkedExamplesShowInThePanel) {
    Type(Box(PlanField::Area), "2000");
    EXPECT_TRUE(Child<QLabel>("locationFigures")->text().contains("Spacing: 10.75")) << Child<QLabel>("locationFigures")->text().toStdString();
    FillRows(Child<QTableWidget>("areaFactorTable"), {{"1", "10"}, {"10", "3"}, {"100", "1.5"}, {"1000", "1.1"}});
    Child<QPushButton>("applyFactors")->click();
    Type(Box(PlanField::ScanMDC), "2.5");
    const QString elevated = Child<QLabel>("elevatedAreaFigures")->text();
    for (const char* line : {"Area between samples: 100", "Area factor: 1.5", "DCGL_EMC: 1.5", "Scan MDC adequate: No",
                             "Samples for elevated areas: 110", "Final sample size: 110"}) {
        EXPECT_TRUE(elevated.contains(line)) << line << " in " << elevated.toStdString();
    }
    Type(Box(PlanField::Seed), "7");
    EXPECT_TRUE(Child<DrawingView>("sampleMap")->HasDrawing());
    EXPECT_TRUE(Child<QLabel>("locationFigures")->text().contains("of 110")) << Child<QLabel>("locationFigures")->text().toStdString();

    FillRows(Child<QTableWidget>("nuclideTable"), {{"Co-60", "5", "0.5", "1"}, {"Cs-137", "10", "2", "3"}});
    Child<QPushButton>("applyNuclides")->click();
    const QString sum = Child<QLabel>("sumOfFractionsFigures")->text();
    for (const char* line : {"Sigma (sum of fractions): 0.2236068", "LBGR (sum of fractions): 0.5",
                             "Gross-activity DCGL: 8"}) {
        EXPECT_TRUE(sum.contains(line)) << line << " in " << sum.toStdString();
    }
    EXPECT_TRUE(messages.shown.empty()) << messages.shown[0].text.toStdString();
}

// A box the panel writes its value back into, the same text again, still
// shows that value from its first digit.
TEST_F(FieldPanelTest, BoxesWithoutTheFocusShowTheirStart) {
    const std::pair<PlanField, const char*> typed[] = {
        {PlanField::Area, "2000.00000000001"}, {PlanField::Seed, "2714928691855687"}, {PlanField::ScanMDC, "2.50000000000001"}};
    for (const auto& [field, text] : typed) {
        Type(Box(field), text);
        EXPECT_EQ(Box(field)->text(), text);
        EXPECT_EQ(Box(field)->cursorPosition(), 0) << text;
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(FieldPanelTest, ARefusedInputNamesTheFieldAndTheUnitKeepsItsValues) {
    Type(Box(PlanField::Area), "2000");
    const struct {
        PlanField field;
        const char* text;
        const char* message_start;
    } cases[] = {
        {PlanField::Area, "-5", "The area"},
        {PlanField::Seed, "1.5", "The seed"},
        {PlanField::ScanMDC, "abc", "The scan MDC"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        messages.Clear();
        Type(Box(c.field), c.text);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_TRUE(messages.shown[0].text.startsWith(c.message_start)) << messages.shown[0].text.toStdString();
        EXPECT_EQ(Box(PlanField::Area)->text(), "2000");
        EXPECT_EQ(Box(c.field)->text(), c.field == PlanField::Area ? "2000" : "");
    }
    // A width alone waits for the height; both make the rectangle.
    messages.Clear();
    Type(Box(PlanField::Width), "50");
    EXPECT_FALSE(Unit().field.size->width);
    Type(Box(PlanField::Height), "40");
    ASSERT_TRUE(Unit().field.size->width);
    EXPECT_EQ(Unit().field.size->area, 2000);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(FieldPanelTest, ExportLocationsWritesTheCsv) {
    Type(Box(PlanField::Area), "2000");
    EXPECT_FALSE(Child<QPushButton>("exportLocations")->isEnabled());
    Child<QPushButton>("newSeed")->click();
    ASSERT_TRUE(Unit().field.seed);
    ASSERT_TRUE(Child<QPushButton>("exportLocations")->isEnabled());
    // A seed whose layout holds every sample.
    for (int seed = 1; seed < 100 && Model()->Plan().entry(0).field.layout->MoreLocationsNeeded(); ++seed) {
        Type(Box(PlanField::Seed), QString::number(seed));
    }
    ASSERT_FALSE(Model()->Plan().entry(0).field.layout->MoreLocationsNeeded());
    dialogs.file_name = PathIn("points");
    Child<QPushButton>("exportLocations")->click();
    QFile file(PathIn("points.csv"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    EXPECT_EQ(lines.front(), "id,x,y");
    EXPECT_TRUE(lines.at(1).startsWith("1,"));
    EXPECT_EQ(lines.at(1).size() - lines.at(1).lastIndexOf('.'), 4) << "millimetres: " << lines.at(1).toStdString();
    EXPECT_EQ(dialogs.save_suggested, "plan - F - locations.csv");
    EXPECT_EQ(dialogs.save_title, "Export Locations");
    // The same name typed again: the file is replaced only when the user says so.
    file.close();
    messages.Clear();
    messages.answer_yes = false;
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.close();
    Child<QPushButton>("exportLocations")->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.startsWith(PathIn("points.csv") + " already exists."));
    EXPECT_EQ(QFileInfo(PathIn("points.csv")).size(), 0);

    // A strip too narrow for the grid: the dialog says what the file lacks,
    // and a saved plan's folder and name lead the suggestion.
    ASSERT_TRUE(SaveAs(PathIn("site.vplan")));
    Type(Box(PlanField::Width), "0.01");
    Type(Box(PlanField::Height), "200000");
    // A fixed seed: a random start lands a grid column inside the strip about
    // once in four hundred draws.
    Type(Box(PlanField::Seed), "1");
    ASSERT_TRUE(Model()->Plan().entry(0).field.layout->MoreLocationsNeeded());
    Child<QPushButton>("exportLocations")->click();
    EXPECT_TRUE(dialogs.save_title.contains("samples fall inside the unit")) << dialogs.save_title.toStdString();
    EXPECT_EQ(dialogs.save_suggested, PathIn("site - F - locations.csv"));
}

// Two polygons in longitude/latitude: the planner picks one from the list;
// the unit then lies in UTM metres, its grid turned and its locations
// exported for a handheld GPS.
TEST_F(FieldPanelTest, ImportedBoundaryIsLaidOutAndExported) {
    UseGeometryModuleAt(VALDRIS_GEOMETRY_MODULE_PATH);
    QFile drawing(PathIn("site.geojson"));
    ASSERT_TRUE(drawing.open(QIODevice::WriteOnly));
    drawing.write(R"({"type": "FeatureCollection", "features": [
        {"type": "Feature", "properties": {"name": "North"}, "geometry": {"type": "Polygon",
         "coordinates": [[[15.0, 45.0], [15.002, 45.0], [15.002, 45.001], [15.0, 45.001], [15.0, 45.0]]]}},
        {"type": "Feature", "properties": {"name": "South"}, "geometry": {"type": "Polygon",
         "coordinates": [[[15.0, 44.99], [15.001, 44.99], [15.001, 44.991], [15.0, 44.991], [15.0, 44.99]]]}}]})");
    drawing.close();
    EXPECT_FALSE(Box(PlanField::GridAngle)->isEnabled());
    dialogs.file_name = PathIn("site.geojson");
    dialogs.choice = QStringLiteral("name=South");
    Child<QPushButton>("importBoundary")->click();
    EXPECT_EQ(dialogs.choices, QStringList({"name=North", "name=South", "Make a unit of each"}));
    ASSERT_TRUE(Unit().field.site);
    EXPECT_EQ(Unit().field.site->boundary.crs, "EPSG:32633");
    EXPECT_TRUE(Child<QLabel>("boundaryFigures")->text().startsWith("EPSG:32633, "));
    ASSERT_TRUE(Box(PlanField::GridAngle)->isEnabled());
    Type(Box(PlanField::GridAngle), "30");
    EXPECT_EQ(Unit().field.site->angle, 30);
    Child<QPushButton>("newSeed")->click();
    dialogs.file_name = PathIn("south.gpx");
    Child<QPushButton>("exportLocations")->click();
    QFile file(PathIn("south.gpx"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("<name>1</name>"));

    // A unit of each: copies of this unit's inputs, added and undone as one step.
    dialogs.file_name = PathIn("site.geojson");
    dialogs.choice = QStringLiteral("Make a unit of each");
    Child<QPushButton>("importBoundary")->click();
    SurveyPlan& plan = Model()->Plan();
    ASSERT_EQ(plan.size(), 3u);
    for (const std::size_t row : {1u, 2u}) {
        EXPECT_EQ(plan.entry(row).unit.name, row == 1 ? "name=North" : "name=South");
        EXPECT_EQ(plan.entry(row).unit.given_n, 20);
        ASSERT_TRUE(plan.entry(row).unit.field.site);
        EXPECT_EQ(plan.entry(row).unit.field.site->angle, 30);
    }
    EXPECT_GT(plan.entry(1).unit.field.size->area, plan.entry(2).unit.field.size->area);
    EXPECT_EQ(SelectedRows(), std::vector<std::size_t>{1});
    EXPECT_EQ(plan.UndoName(), "Add Units");
    plan.Undo();
    EXPECT_EQ(plan.size(), 1u);
}

// The tables of the page always wait with an empty last row; a block from a
// spreadsheet fills rows from the current one; a block wider than the table
// is refused by its line and leaves the table as it was.
TEST_F(FieldPanelTest, EntryTablesTakeTypedAndPastedRows) {
    auto* factors = Child<QTableWidget>("areaFactorTable");
    const auto row_texts = [](const QTableWidget* table) {
        std::vector<QStringList> rows;
        for (int r = 0; r < table->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < table->columnCount(); ++c) cells << (table->item(r, c) ? table->item(r, c)->text() : QString());
            rows.push_back(cells);
        }
        return rows;
    };
    EXPECT_EQ(row_texts(factors), (std::vector<QStringList>{{"", ""}}));
    factors->setItem(0, 0, new QTableWidgetItem("1"));
    EXPECT_EQ(factors->rowCount(), 2) << "typing in the last row opens another";
    factors->setCurrentCell(0, 0);
    QApplication::clipboard()->setText("1\t10\n10\t3\n\n100\t1.5\n");
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->findChild<QTabWidget*>("unitPanels")->setCurrentIndex(1);
    factors->setFocus();
    QTest::keyClick(factors, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(row_texts(factors), (std::vector<QStringList>{{"1", "10"}, {"10", "3"}, {"100", "1.5"}, {"", ""}}));
    QApplication::clipboard()->setText("1;2;3");
    QTest::keyClick(factors, Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Line 1 of the pasted text has 3 cells; the table has 2 columns. Nothing was pasted.");
    EXPECT_EQ(factors->rowCount(), 4);
    Child<QPushButton>("applyFactors")->click();
    EXPECT_EQ(Unit().field.area_factors.size(), 3u);
}

// Tab walks the cells and leaves at the last one rather than wrapping onto
// the first entry.
TEST_F(FieldPanelTest, TabLeavesAnEntryTableAtItsEnd) {
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->findChild<QTabWidget*>("unitPanels")->setCurrentIndex(1);
    auto* factors = Child<QTableWidget>("areaFactorTable");
    factors->setFocus();
    factors->setCurrentCell(0, 0);
    QTest::keyClick(factors, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), factors);
    EXPECT_EQ(factors->currentColumn(), 1);
    QTest::keyClick(factors, Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), factors);
    QTest::qWait(0);
    EXPECT_FALSE(factors->currentIndex().isValid()) << "no cell says it has the focus";
}

// The map says which unit it shows, and what, after every change of unit.
TEST_F(FieldPanelTest, TheMapNamesItsUnit) {
    Type(Box(PlanField::Area), "2000");
    Child<QPushButton>("newSeed")->click();
    PlanUnit other;
    other.name = "G";
    ASSERT_TRUE(Model()->Plan().Add(other));
    auto* map = Child<DrawingView>("sampleMap");
    EXPECT_EQ(map->accessibleName(), "Sample map of F");
    EXPECT_TRUE(map->accessibleDescription().contains("locations on a triangular grid, spacing 10.75"))
        << map->accessibleDescription().toStdString();
    SelectRow(1);
    EXPECT_EQ(map->accessibleName(), "Sample map of G");
    EXPECT_EQ(map->accessibleDescription(), "");
}

}  // namespace
}  // namespace valdris::testing
