// SPDX-License-Identifier: Apache-2.0
// The plan window's commands as the user reaches them: the menus' actions
// and their keys, the selection they work on, what the budget table buys,
// the comparison and the link to the design window.

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

#include "budget_panel.h"
#include "comparison_view.h"
#include "painter_surface.h"
#include "plan_table.h"
#include "plan_table_model.h"
#include "plan_window_fixture.h"
#include "text_start.h"

namespace valdris::testing {
namespace {

QStringList Names(const PlanTableModel* model) {
    QStringList names;
    for (const PlanEntry& entry : model->Plan().entries()) names << QString::fromStdString(entry.unit.name);
    return names;
}

// A box that shows its start, deleted while it has the focus (a dialog
// closed with Escape from a costs box): the focus leaves it in the box's
// last destructor, which must find the box left alone (the sanitizer
// build reports a call into its line edit part, already gone).
TEST(TextStart, ABoxDeletedWithTheFocusIsLeftAlone) {
    for (const bool in_combo : {false, true}) {
        QWidget window;
        QWidget* owner = nullptr;
        if (in_combo) {
            auto* combo = new QComboBox(&window);
            combo->setEditable(true);
            ShowStartWithoutFocus(combo->lineEdit(), combo);
            owner = combo;
        } else {
            auto* box = new QLineEdit(QStringLiteral("300000000"), &window);
            ShowStartWithoutFocus(box);
            owner = box;
        }
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        owner->setFocus();
        ASSERT_TRUE(owner->hasFocus()) << in_combo;
        delete owner;
        EXPECT_EQ(window.focusWidget(), nullptr) << in_combo;
    }
}

TEST_F(PlanWindowTest, UndoAndRedoKeysStepThroughEveryCommand) {
    EXPECT_EQ(Act("actUndo")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(Act("actRedo")->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    EXPECT_EQ(Act("actSave")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    AddUnit("A");
    AddUnit("B");
    AddUnit("C");
    struct Step {
        std::function<void()> command;
        QStringList after;
        const char* undo_text;
    };
    const std::vector<Step> steps = {
        {[&] { SelectRow(2); Trigger("actMoveUp"); }, {"A", "C", "B"}, "&Undo Move Up"},
        {[&] { SelectRow(0); Trigger("actDuplicate"); }, {"A", "A (copy)", "C", "B"}, "&Undo Duplicate Unit"},
        {[&] { dialogs.text = "D"; SelectRow(3); Trigger("actRename"); }, {"A", "A (copy)", "C", "D"},
         "&Undo Rename"},
        {[&] { SelectRow(1); Trigger("actDelete"); }, {"A", "C", "D"}, "&Undo Delete Unit"},
    };
    std::vector<QStringList> states = {Names(Model())};
    for (const Step& step : steps) {
        step.command();
        EXPECT_EQ(Names(Model()), step.after);
        EXPECT_EQ(Act("actUndo")->text(), step.undo_text);
        states.push_back(Names(Model()));
    }
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    for (std::size_t i = states.size() - 1; i > 0; --i) {
        QTest::keyClick(Table(), Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(Names(Model()), states[i - 1]) << "undo to state " << i - 1;
    }
    for (std::size_t i = 1; i < states.size(); ++i) {
        QTest::keyClick(Table(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(Names(Model()), states[i]) << "redo to state " << i;
    }
    EXPECT_FALSE(Act("actRedo")->isEnabled());
}

TEST_F(PlanWindowTest, CommandsAreOfferedForTheSelectionTheyNeed) {
    AddUnit("A");
    AddUnit("B");
    AddUnit("C");
    struct Case {
        std::vector<std::size_t> rows;
        bool single, up, down, compare, remove;
    };
    const Case cases[] = {
        {{}, false, false, false, false, false},
        {{0}, true, false, true, false, true},
        {{2}, true, true, false, false, true},
        {{0, 2}, false, false, false, true, true},
        {{0, 1, 2}, false, false, false, true, true},
    };
    for (const Case& c : cases) {
        Table()->clearSelection();
        for (const std::size_t row : c.rows) {
            Table()->selectionModel()->select(Table()->model()->index(int(row), 0),
                                                     QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
        SCOPED_TRACE(c.rows.size());
        EXPECT_EQ(SelectedRows(), c.rows);
        EXPECT_EQ(Act("actRename")->isEnabled(), c.single);
        EXPECT_EQ(Act("actOpenInDesign")->isEnabled(), c.single);
        EXPECT_EQ(Act("actMoveUp")->isEnabled(), c.up);
        EXPECT_EQ(Act("actMoveDown")->isEnabled(), c.down);
        EXPECT_EQ(Act("actCompare")->isEnabled(), c.compare);
        EXPECT_EQ(Act("actDelete")->isEnabled(), c.remove);
        EXPECT_EQ(Child<QTableWidget>("budgetTable")->rowCount() > 0, c.single);
    }
}

// The check's columns come on request, are filled from the event loop (the
// cell waits meanwhile), and go again leaving the table and its CSV as they
// were.
TEST_F(PlanWindowTest, DesignCheckColumnsShowOnRequest) {
    AddUnit("A");
    AddUnit("B", 0.5, TestKind::WRS);
    const std::string csv = PlanAsCsv(Model()->Plan());
    QAction* toggle = Act("actCheckColumns");
    ASSERT_TRUE(toggle->isCheckable());
    EXPECT_FALSE(toggle->isChecked());
    EXPECT_EQ(Table()->model()->columnCount(), kPlanColumnCount);

    toggle->trigger();
    ASSERT_EQ(Table()->model()->columnCount(), kPlanColumnCount + kCheckColumnCount);
    EXPECT_EQ(Table()->model()->headerData(kPlanColumnCount, Qt::Horizontal).toString(), "True Type I Error");
    EXPECT_EQ(Cell(0, kPlanColumnCount), QString::fromUtf8("checking\u2026"));
    QTRY_COMPARE(Cell(0, kPlanColumnCount), QStringLiteral("0.0307"));
    EXPECT_EQ(Cell(0, kPlanColumnCount + 1), QStringLiteral("0.989"));
    QTRY_VERIFY(Cell(1, kPlanColumnCount + 1).contains(QStringLiteral(" +- ")));
    EXPECT_EQ(PlanAsCsv(Model()->Plan()), csv);

    toggle->trigger();
    EXPECT_EQ(Table()->model()->columnCount(), kPlanColumnCount);
    EXPECT_EQ(PlanAsCsv(Model()->Plan()), csv);
    toggle->trigger();  // shown again: what was checked is not checked again
    EXPECT_EQ(Cell(0, kPlanColumnCount), QStringLiteral("0.0307"));
}

TEST_F(PlanWindowTest, ABudgetRowSetsTheLBGRAsOneStep) {
    AddUnit("A", 0.55);
    SelectRow(0);
    QTableWidget* budget = Child<QTableWidget>("budgetTable");
    // A tenth to nine tenths of the DCGL, and the unit's own LBGR.
    ASSERT_EQ(budget->rowCount(), 10);
    EXPECT_TRUE(budget->item(5, 0)->font().bold());
    EXPECT_EQ(budget->item(5, 0)->text(), "0.55");
    // Each row as the plan's table writes a unit at that LBGR.
    PlanUnit at_three_tenths = Model()->Plan().entry(0).unit;
    at_three_tenths.lbgr = 0.3;
    const PlanEntry expected{at_three_tenths, *ComputeUnit(at_three_tenths), std::nullopt, {}};
    EXPECT_EQ(budget->item(2, 1)->text().toStdString(), CellText(expected, PlanColumn::DoverS));
    EXPECT_EQ(budget->item(2, 2)->text().toStdString(), CellText(expected, PlanColumn::N));
    EXPECT_EQ(budget->item(2, 5)->text().toStdString(), CellText(expected, PlanColumn::PowerAtLBGR));

    budget->setCurrentCell(5, 0);
    EXPECT_FALSE(Page<BudgetPanel>()->findChild<QPushButton*>()->isEnabled()) << "the unit's own LBGR";
    budget->setCurrentCell(2, 0);
    ASSERT_TRUE(Page<BudgetPanel>()->findChild<QPushButton*>()->isEnabled());
    Page<BudgetPanel>()->findChild<QPushButton*>()->click();
    EXPECT_EQ(Cell(0, int(PlanColumn::LBGR)), "0.3");
    EXPECT_EQ(Cell(0, int(PlanColumn::N)).toStdString(), CellText(expected, PlanColumn::N));
    EXPECT_EQ(Act("actUndo")->text(), "&Undo Set LBGR");
    Act("actUndo")->trigger();
    EXPECT_EQ(Cell(0, int(PlanColumn::LBGR)), "0.55");
}

TEST_F(PlanWindowTest, CompareCurvesShowsEverySelectedUnitWithItsSizes) {
    AddUnit("A", 0.5, TestKind::Sign);
    AddUnit("B", 0.6, TestKind::WRS);
    AddUnit("C", 0.7);
    for (const int row : {0, 1}) {
        Table()->selectionModel()->select(Table()->model()->index(row, 0),
                                                 QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    Trigger("actCompare");
    auto* view = window->findChild<ComparisonView*>();
    ASSERT_NE(view, nullptr);
    const auto& plan = Model()->Plan();
    const std::string a = "A (N = " + std::to_string(plan.entry(0).figures.n) + ")";
    const std::string b = "B (N = " + std::to_string(plan.entry(1).figures.n) + " + " +
                          std::to_string(plan.entry(1).figures.n_reference) + ")";
    EXPECT_EQ(view->accessibleDescription().toStdString(), a + "; " + b);
    // The view draws exactly the two units' curves under those labels.
    const std::vector<ComparedCurve> expected = {{a, DesignCurve(plan.entry(0).figures)}, {b, DesignCurve(plan.entry(1).figures)}};
    QImage drawn(view->size(), QImage::Format_ARGB32_Premultiplied);
    drawn.fill(Qt::white);
    {
        QPainter painter(&drawn);
        PainterSurface surface(painter, QSizeF(view->size()));
        DrawCurveComparison(expected, surface);
    }
    EXPECT_EQ(view->grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied), drawn);
    view->window()->close();
}

TEST_F(PlanWindowTest, TheDesignWindowEditsTheUnitItShows) {
    design_window.shows_design = false;
    window->AddDesign();
    ASSERT_EQ(messages.shown.size(), 1u) << "nothing to add";
    design_window.shows_design = true;
    AddUnit("A");
    AddUnit("B");
    SelectRow(1);
    Trigger("actOpenInDesign");
    EXPECT_EQ(design_window.shown, 1);
    EXPECT_EQ(design_window.edited, "B");
    EXPECT_EQ(Model()->Plan().UndoName(), "Add Unit") << "showing the unit is no edit of it";

    // The unit follows its row through a move above it.
    SelectRow(0);
    Trigger("actMoveDown");
    PlanUnit changed = design_window.design;
    changed.lbgr = 0.25;
    design_window.TakeInput(changed);
    EXPECT_EQ(Model()->Plan().entry(0).unit.lbgr, 0.25);
    EXPECT_EQ(Model()->Plan().entry(0).unit.name, "B");
    EXPECT_EQ(Model()->Plan().entry(1).unit.lbgr, 0.5);

    Model()->Plan().Rename(0, "B2");
    EXPECT_EQ(design_window.edited, "B2");
    SelectRow(0);
    Trigger("actDelete");
    EXPECT_EQ(design_window.edited, "") << "the title forgets a deleted unit";
    design_window.TakeInput(changed);
    EXPECT_EQ(Model()->Plan().entry(0).unit.lbgr, 0.5) << "no unit is edited any more";
}

TEST_F(PlanWindowTest, CostsAreCheckedAsTheFileChecksThem) {
    AddUnit("A");
    SelectRow(0);
    dialogs.costs = CostTexts{"1000", "200"};
    Trigger("actUnitCosts");
    EXPECT_EQ(Cell(0, int(PlanColumn::Cost)), "6800");
    dialogs.costs = CostTexts{"abc", ""};
    Trigger("actDefaultCosts");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text.toStdString(), kCostRange);
    dialogs.costs = CostTexts{"50", "10"};
    Trigger("actDefaultCosts");
    EXPECT_EQ(Model()->Plan().default_costs().per_sample, 10.0);
    AddUnit("B");
    EXPECT_EQ(Cell(1, int(PlanColumn::Cost)), "340");
}

}  // namespace
}  // namespace valdris::testing
