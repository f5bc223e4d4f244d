// SPDX-License-Identifier: Apache-2.0
// The plan as a Qt table: what a view, a screen reader and an editor get of
// each cell, edits through the plan's rules, and sorting by number.

#include <QCoreApplication>
#include <QHeaderView>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <functional>

#include "input_rules.h"
#include "plan_table.h"
#include "plan_table_model.h"
#include "plan_window_fixture.h"

namespace valdris::testing {
namespace {

constexpr int kColumns = kPlanColumnCount;

TEST_F(PlanWindowTest, EveryCellReadsAsItShowsAndOnlyInputsAreEditable) {
    AddUnit("Sign unit", 0.5, TestKind::Sign);
    AddUnit("WRS unit", 0.6, TestKind::WRS);
    ASSERT_TRUE(Model()->Plan().Edit(1, PlanField::GivenN, "20"));
    const PlanTableModel& model = *Model();
    ASSERT_EQ(model.columnCount(), kColumns);
    for (int row = 0; row < 2; ++row) {
        const PlanEntry& entry = model.Plan().entry(static_cast<std::size_t>(row));
        for (int c = 0; c < kColumns; ++c) {
            const auto column = static_cast<PlanColumn>(c);
            const QModelIndex index = model.index(row, c);
            const QString shown = QString::fromStdString(CellText(entry, column));
            EXPECT_EQ(index.data(Qt::DisplayRole).toString(), shown) << row << "," << c;
            EXPECT_EQ(index.data(Qt::AccessibleTextRole).toString(), shown) << row << "," << c;
            EXPECT_EQ(bool(index.flags() & Qt::ItemIsEditable), EditedField(column).has_value()) << c;
        }
        EXPECT_FALSE(model.index(row, int(PlanColumn::CriticalValue)).data().toString().isEmpty());
    }
    for (int c = 0; c < kColumns; ++c) {
        EXPECT_EQ(model.headerData(c, Qt::Horizontal).toString(),
                  QString::fromStdString(ColumnTitle(static_cast<PlanColumn>(c))));
    }
    // The N column edits the given size: empty while the size is designed.
    EXPECT_EQ(model.index(0, int(PlanColumn::N)).data(Qt::EditRole).toString(), "");
    EXPECT_EQ(model.index(1, int(PlanColumn::N)).data(Qt::EditRole).toString(), "20");
    // Shown as given, with the designed size beside it.
    EXPECT_TRUE(model.index(1, int(PlanColumn::N)).data().toString().startsWith("20 (given; designed "));
}

struct CellEdit {
    PlanColumn column;
    const char* text;
    bool taken;
    std::string message;  // empty: none
    PlanColumn watched;   // a cell to read afterwards
    const char* watched_text;
};

TEST_F(PlanWindowTest, EditsGoThroughTheDesignRulesAndARefusalKeepsTheOldValue) {
    const CellEdit edits[] = {
        {PlanColumn::Alpha, "0.7", false, rules::kAlphaRange, PlanColumn::Alpha, "0.05"},
        {PlanColumn::Alpha, "0.5", true, "", PlanColumn::Alpha, "0.5"},
        {PlanColumn::Beta, "0", false, rules::kBetaRange, PlanColumn::Beta, "0.05"},
        {PlanColumn::Sigma, "0", false, rules::kSigmaNotPositive, PlanColumn::Sigma, "0.5"},
        {PlanColumn::LBGR, "2", false, rules::kLBGRAboveDCGL, PlanColumn::LBGR, "0.5"},
        {PlanColumn::DCGL, "0.3", true, rules::kLBGRResetToHalf, PlanColumn::LBGR, "0.15"},
        {PlanColumn::N, "20", true, "", PlanColumn::CriticalValue, "14"},
        {PlanColumn::N, "0", false, kGivenSizeRange, PlanColumn::N, "29"},
        {PlanColumn::Test, "wrs", true, "", PlanColumn::Test, "WRS"},
        {PlanColumn::Name, "North yard", true, "", PlanColumn::Name, "North yard"},
        {PlanColumn::DoverS, "3", false, "", PlanColumn::DoverS, "1"},
    };
    for (const CellEdit& edit : edits) {
        SCOPED_TRACE(std::string(edit.text) + " in " + ColumnTitle(edit.column));
        Model()->SetPlan(SurveyPlan());
        AddUnit("Unit", 0.5);
        messages.Clear();
        const bool taken = Model()->setData(Model()->index(0, int(edit.column)), edit.text);
        QCoreApplication::processEvents();  // a refusal waits for the editor's focus move
        EXPECT_EQ(taken, edit.taken);
        if (edit.message.empty()) {
            EXPECT_TRUE(messages.shown.empty());
        } else {
            ASSERT_EQ(messages.shown.size(), 1u);
            EXPECT_EQ(messages.shown[0].text.toStdString(), edit.message);
        }
        EXPECT_EQ(Cell(0, int(edit.watched)), edit.watched_text);
        EXPECT_EQ(Model()->Plan().UndoName() != "Add Unit", edit.taken) << "a step only for a taken edit";
    }
}

TEST_F(PlanWindowTest, AnEditorLeftUnchangedMakesNoStep) {
    AddUnit("Unit");
    SurveyPlan& plan = Model()->Plan();
    const std::string undo_name = plan.UndoName();
    for (int c = 0; c < kColumns; ++c) {
        const QModelIndex index = Model()->index(0, c);
        if (!(index.flags() & Qt::ItemIsEditable)) continue;
        Model()->setData(index, index.data(Qt::EditRole));
        EXPECT_EQ(plan.UndoName(), undo_name) << c;
    }
}

TEST_F(PlanWindowTest, ColumnsSortByNumberNotByText) {
    // Sizes 9, 14 and 100 sort as numbers; as texts 100 would come first.
    const char* given[] = {"100", "9", "14"};
    for (const char* n : given) {
        AddUnit(std::string("Unit ") + n);
        Model()->Plan().Edit(Model()->Plan().size() - 1, PlanField::GivenN, n);
    }
    auto* proxy = qobject_cast<QSortFilterProxyModel*>(Table()->model());
    ASSERT_NE(proxy, nullptr);
    Table()->sortByColumn(int(PlanColumn::N), Qt::AscendingOrder);
    QStringList order;
    for (int row = 0; row < proxy->rowCount(); ++row) {
        order << proxy->index(row, int(PlanColumn::N)).data().toString().section(QLatin1Char(' '), 0, 0);
    }
    EXPECT_EQ(order, QStringList({"9", "14", "100"}));
    Table()->sortByColumn(int(PlanColumn::Name), Qt::DescendingOrder);
    EXPECT_EQ(proxy->index(0, 0).data().toString(), "Unit 9");
}

// Columns are fitted when a plan arrives or units come to an empty one, and
// not on an edit or an undo (which would measure rows at every change); the
// user may widen them.
TEST_F(PlanWindowTest, ColumnsAreFittedWhenAPlanArrivesNotOnEveryEdit) {
    QTableView* table = Table();
    QHeaderView* header = table->horizontalHeader();
    const int name = int(PlanColumn::Name);
    const std::string long_name(60, 'W');
    SurveyPlan& plan = Model()->Plan();
    AddUnit("U");
    const int fitted = header->sectionSize(name);
    const struct {
        const char* step;
        std::function<void()> act;
        bool widened;
    } steps[] = {
        {"a cell edited", [&] { ASSERT_TRUE(plan.Rename(0, long_name)); }, false},
        {"undone and redone", [&] { plan.Undo(); plan.Redo(); }, false},
        {"a unit added below", [&] { AddUnit(long_name + "X"); }, false},
        {"the plan set anew", [&] { Model()->SetPlan(SurveyPlan(plan)); }, true},
    };
    for (const auto& step : steps) {
        step.act();
        QCoreApplication::processEvents();
        EXPECT_EQ(header->sectionSize(name) > fitted, step.widened) << step.step;
    }
    EXPECT_GE(header->sectionSize(name), table->fontMetrics().horizontalAdvance(QString::fromStdString(long_name)));
    EXPECT_EQ(header->sectionResizeMode(name), QHeaderView::Interactive);
}

}  // namespace
}  // namespace valdris::testing
