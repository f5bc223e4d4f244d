// SPDX-License-Identifier: Apache-2.0
// What the field panel adds to the unit's field edits: its boxes and tables
// as the source of the edits, the worked examples as the panel shows them,
// the values shown again after a refusal, and the locations written out.

#include <QFile>
#include <algorithm>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "drawing_view.h"
#include "field_panel.h"
#include "plan_table_model.h"
#include "plan_window_fixture.h"

namespace valdris::testing {
namespace {

void Type(QLineEdit* box, const QString& text) {
    box->setText(text);
    emit box->editingFinished();
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
    dialogs.file_name = PathIn("points");
    Child<QPushButton>("exportLocations")->click();
    QFile file(PathIn("points.csv"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    EXPECT_EQ(lines.front(), "id,x,y");
    EXPECT_TRUE(lines.at(1).startsWith("1,"));
}

}  // namespace
}  // namespace valdris::testing
