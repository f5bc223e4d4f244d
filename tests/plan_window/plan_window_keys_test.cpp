// SPDX-License-Identifier: Apache-2.0
// The plan window by keys alone: access keys that never repeat on a page,
// the pages reached from anywhere, Tab leaving the tables, the Delete key and
// Ctrl+C on the table, costs for several units, and F1's topic per page.

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <functional>

#include "context_ids.h"
#include "key_texts.h"
#include "plan_table.h"
#include "plan_window_fixture.h"

namespace valdris::testing {
namespace {

std::vector<std::string> Texts(const QStringList& texts) {
    std::vector<std::string> out;
    for (const QString& text : texts) out.push_back(text.toStdString());
    return out;
}

// The texts with access keys that a page shows: its labels, buttons and
// group boxes.
QStringList KeyTexts(const QWidget* page) {
    QStringList texts;
    for (const QLabel* label : page->findChildren<QLabel*>()) {
        if (label->buddy()) texts << label->text();
    }
    for (const QAbstractButton* button : page->findChildren<QAbstractButton*>()) texts << button->text();
    for (const QGroupBox* group : page->findChildren<QGroupBox*>()) texts << group->title();
    return texts;
}

class PlanKeysTest : public PlanWindowTest {
protected:
    void Show() {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    QTabWidget* Pages() const { return Child<QTabWidget>("unitPanels"); }
    QModelIndex AlphaCell() const { return Table()->model()->index(0, int(PlanColumn::Alpha)); }
    // The first unit's alpha being edited, its editor holding `text`.
    QLineEdit* EditAlpha(const QString& text) {
        Table()->setFocus();
        Table()->setCurrentIndex(AlphaCell());
        Table()->edit(AlphaCell());
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        if (editor) editor->setText(text);
        messages.Clear();
        return editor;
    }
};

// Alt+letter on a page reaches one control: the page's own keys, the
// window's menus and the page tabs never share a letter. Every button and
// every label of a control has one, and each menu's items differ too.
TEST_F(PlanKeysTest, AccessKeysNeverRepeatOnAPage) {
    AddUnit("A", 0.5, TestKind::WRS);  // the reference area's column shown
    SelectRow(0);
    QStringList window_keys;
    for (QAction* menu : window->menuBar()->actions()) window_keys << menu->text();
    for (int page = 0; page < Pages()->count(); ++page) window_keys << Pages()->tabText(page);
    EXPECT_EQ(RepeatedAccessKeys(Texts(window_keys)), std::vector<std::string>{});
    for (int page = 0; page < Pages()->count(); ++page) {
        const QStringList texts = KeyTexts(Pages()->widget(page));
        SCOPED_TRACE(Pages()->tabText(page).toStdString());
        EXPECT_EQ(RepeatedAccessKeys(Texts(window_keys + texts)), std::vector<std::string>{});
        for (const QAbstractButton* button : Pages()->widget(page)->findChildren<QAbstractButton*>()) {
            if (button->text().isEmpty()) continue;  // a table's corner, a scroll arrow
            EXPECT_NE(AccessKeyOf(button->text().toStdString()), '\0') << button->text().toStdString();
        }
    }
    for (QAction* menu : window->menuBar()->actions()) {
        QStringList items;
        for (QAction* item : menu->menu()->actions()) {
            if (!item->isSeparator()) items << item->text();
            EXPECT_FALSE(item->text().contains(QStringLiteral("..."))) << "one ellipsis: " << item->text().toStdString();
        }
        EXPECT_EQ(RepeatedAccessKeys(Texts(items)), std::vector<std::string>{}) << menu->text().toStdString();
    }
}

// From the table, the page keys show a page and put the keyboard on a
// control of it with a name; F1 there opens that page's topic.
TEST_F(PlanKeysTest, PageKeysWorkFromTheTableAndLandOnANamedControl) {
    AddUnit("A");
    SelectRow(0);
    Show();
    struct Case {
        QKeyCombination key;
        int page;
        int topic;
    };
    const Case cases[] = {
        {Qt::CTRL | Qt::Key_Tab, 1, kHelpContextFieldPage},
        {Qt::CTRL | Qt::Key_PageDown, 2, kHelpContextMeasurementsPage},
        {Qt::CTRL | Qt::Key_Tab, 0, kHelpContextBudgetPage},
        {Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, 2, kHelpContextMeasurementsPage},
        {Qt::CTRL | Qt::Key_PageUp, 1, kHelpContextFieldPage},
        {Qt::ALT | Qt::Key_D, 0, kHelpContextBudgetPage},
        {Qt::ALT | Qt::Key_M, 2, kHelpContextMeasurementsPage},
    };
    for (const Case& c : cases) {
        Table()->setFocus();
        QTest::keyClick(QApplication::focusWidget(), c.key.key(), c.key.keyboardModifiers());
        SCOPED_TRACE(QKeySequence(c.key).toString().toStdString());
        EXPECT_EQ(Pages()->currentIndex(), c.page);
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        if (c.key.keyboardModifiers() & Qt::ControlModifier) {
            EXPECT_TRUE(Pages()->currentWidget()->isAncestorOf(focus)) << focus->metaObject()->className();
            EXPECT_EQ(HelpContextID(focus), c.topic);
        }
    }
    EXPECT_EQ(HelpContextID(Table()), kHelpContextPlanWindow);
    for (int page = 0; page < 3; ++page) {
        Table()->setFocus();
        Act(QStringLiteral("actPage%1").arg(page).toLatin1().constData())->trigger();
        EXPECT_EQ(Pages()->currentIndex(), page);
    }
}

// Ctrl+Tab or a page tab's Alt key in a cell's editor leaves the cell as any
// way out of it would: a taken text goes to the plan and the page follows; a
// refused one says why and keeps the keyboard on its cell with the page
// unchanged. Ctrl+Tab takes the keyboard into the page, a tab's key does not.
TEST_F(PlanKeysTest, PageKeysInACellEditorTakeItsTextFirst) {
    AddUnit("A");
    SelectRow(0);
    Show();
    struct Case {
        const char* typed;
        Qt::Key key;
        Qt::KeyboardModifier modifier;
        int page;
        float alpha;
        bool refused;
        bool table_keeps_keyboard;
    };
    const Case cases[] = {{"0.7", Qt::Key_Tab, Qt::ControlModifier, 0, 0.05f, true, true},
                          {"0.1", Qt::Key_Tab, Qt::ControlModifier, 1, 0.1f, false, false},
                          {"0.7", Qt::Key_L, Qt::AltModifier, 0, 0.1f, true, true},
                          {"0.2", Qt::Key_M, Qt::AltModifier, 2, 0.2f, false, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.typed) + (c.modifier == Qt::AltModifier ? " Alt" : " Ctrl"));
        Pages()->setCurrentIndex(0);
        const QModelIndex alpha = AlphaCell();
        QLineEdit* editor = EditAlpha(QString::fromLatin1(c.typed));
        ASSERT_NE(editor, nullptr);
        QTest::keyClick(editor, c.key, c.modifier);
        QCoreApplication::processEvents();
        EXPECT_EQ(Pages()->currentIndex(), c.page);
        EXPECT_FLOAT_EQ(Model()->Plan().entry(0).unit.alpha, c.alpha);
        EXPECT_EQ(messages.shown.empty(), !c.refused);
        EXPECT_EQ(Table()->indexWidget(alpha), nullptr) << "the editor closed";
        EXPECT_EQ(QApplication::focusWidget() == Table(), c.table_keeps_keyboard);
        if (c.refused) {
            EXPECT_EQ(Table()->currentIndex(), alpha);
        }
    }
}

// A command's key in a cell's editor takes the cell's text first: a refused
// text is told and the command asks nothing (New would ask about the
// unsaved plan, Rename for a name), so two boxes never stand at once.
TEST_F(PlanKeysTest, CommandKeysInACellEditorTakeItsTextFirst) {
    AddUnit("A");
    SelectRow(0);
    Show();
    dialogs.text = QStringLiteral("Renamed");
    for (const QKeySequence& key : {QKeySequence(Qt::Key_F2), QKeySequence(QKeySequence::New)}) {
        SCOPED_TRACE(key.toString().toStdString());
        SelectRow(0);  // Rename asks for one selected unit
        const QModelIndex alpha = AlphaCell();
        QLineEdit* editor = EditAlpha(QStringLiteral("0.7"));
        ASSERT_NE(editor, nullptr);
        QTest::keySequence(editor, key);
        QCoreApplication::processEvents();
        EXPECT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(dialogs.unsaved_asked, 0);
        EXPECT_EQ(Model()->Plan().entry(0).unit.name, "A");
        EXPECT_EQ(Table()->indexWidget(alpha), nullptr) << "the editor closed";
    }
}

// A box of the Field page left by a menu's key takes its text as the menu
// opens; a refusal then waits until the menu has closed (a box over it
// closed the menu under the menu bar's feet), and is told once.
TEST_F(PlanKeysTest, ARefusalWaitsUntilTheMenuOpenedOverItCloses) {
    AddUnit("A");
    SelectRow(0);
    Show();
    Pages()->setCurrentIndex(1);
    auto* area = Child<QLineEdit>("areaBox");
    area->setFocus();
    QTest::keyClicks(area, QStringLiteral("abc"));
    messages.Clear();
    QTest::keyClick(window.get(), Qt::Key_U, Qt::AltModifier);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QTest::qWait(300);
    EXPECT_TRUE(messages.shown.empty());
    QTest::keyClick(menu, Qt::Key_Escape);
    for (int waited = 0; waited < 2000 && messages.shown.empty(); waited += 10) QTest::qWait(10);
    QTest::qWait(300);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.startsWith("The area")) << messages.shown[0].text.toStdString();
}

// Tab from the page tabs enters the page shown, never the unnamed pane that
// scrolls it.
TEST_F(PlanKeysTest, TabFromThePageTabsEntersThePage) {
    AddUnit("A");
    SelectRow(0);
    Show();
    for (int page = 0; page < Pages()->count(); ++page) {
        SCOPED_TRACE(Pages()->tabText(page).toStdString());
        Pages()->setCurrentIndex(page);
        Pages()->tabBar()->setFocus();
        QTest::keyClick(Pages()->tabBar(), Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        EXPECT_NE(focus, Pages()->currentWidget());
        EXPECT_TRUE(Pages()->currentWidget()->isAncestorOf(focus)) << focus->metaObject()->className();
    }
}

// Tab and Shift+Tab leave every table of the window; the arrows walk the
// cells.
TEST_F(PlanKeysTest, TabLeavesEveryTable) {
    AddUnit("A");
    AddUnit("B");
    ASSERT_TRUE(Model()->Plan().SetData(0, UnitData::Survey, "1\n2\n3\n"));
    SelectRow(0);
    Show();
    for (const char* name : {"planTable", "budgetTable", "surveyData", "assessmentFigures"}) {
        auto* table = Child<QAbstractItemView>(name);
        for (int page = 0; page < Pages()->count(); ++page) {
            if (Pages()->widget(page)->isAncestorOf(table)) Pages()->setCurrentIndex(page);
        }
        for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab}) {
            table->setFocus();
            ASSERT_EQ(QApplication::focusWidget(), table) << name;
            QTest::keyClick(table, key);
            EXPECT_NE(QApplication::focusWidget(), table) << name << (key == Qt::Key_Tab ? " Tab" : " Shift+Tab");
        }
    }
}

// Delete empties the current column of the selected rows where empty has a
// meaning, as one step; elsewhere it says so and keeps the unit.
TEST_F(PlanKeysTest, DeleteClearsACellAndNeverTheUnit) {
    AddUnit("A");
    AddUnit("B");
    Model()->Plan().Edit(0, PlanField::GivenN, "30");
    Model()->Plan().Edit(1, PlanField::GivenN, "40");
    Show();
    struct Case {
        PlanColumn column;
        bool cleared;
    };
    for (const Case c : {Case{PlanColumn::DCGL, false}, Case{PlanColumn::N, true}}) {
        Table()->selectAll();
        Table()->selectionModel()->setCurrentIndex(Table()->model()->index(0, int(c.column)),
                                                   QItemSelectionModel::NoUpdate);
        Table()->setFocus();
        messages.Clear();
        QTest::keyClick(Table(), Qt::Key_Delete);
        SCOPED_TRACE(ColumnTitle(c.column));
        EXPECT_EQ(Model()->Plan().size(), 2u);
        EXPECT_EQ(!Model()->Plan().entry(0).unit.given_n && !Model()->Plan().entry(1).unit.given_n, c.cleared);
        EXPECT_EQ(messages.shown.empty(), c.cleared);
    }
    EXPECT_EQ(Act("actUndo")->text(), "&Undo Clear Given N");
}

// A unit that carries measurements or field work goes only when the user
// says so; a design alone goes at once. Several units go in one step.
TEST_F(PlanKeysTest, DeletingUnitsAsksWhenWorkWouldBeLost) {
    struct Case {
        bool measured;
        bool answer;
        std::size_t left;
        bool asked;
    };
    for (const Case c : {Case{false, false, 1, false}, Case{true, false, 3, true}, Case{true, true, 1, true}}) {
        window = std::make_unique<PlanWindow>(messages, &design_window, &dialogs);
        AddUnit("A");
        AddUnit("B");
        AddUnit("C");
        if (c.measured) {
            ASSERT_TRUE(Model()->Plan().SetData(2, UnitData::Survey, "1\n2\n3\n"));
        }
        dialogs.delete_asked.clear();
        dialogs.delete_units = c.answer;
        Table()->selectAll();
        Table()->selectionModel()->select(Table()->model()->index(0, 0),
                                          QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
        Trigger("actDelete");
        EXPECT_EQ(Model()->Plan().size(), c.left);
        EXPECT_EQ(dialogs.delete_asked, c.asked ? QStringLiteral("C") : QString());
        if (c.left == 1) {
            Trigger("actUndo");
            EXPECT_EQ(Model()->Plan().size(), 3u) << "one step";
        }
    }
    EXPECT_EQ(Act("actDelete")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Delete));
}

TEST_F(PlanKeysTest, CopyPutsTheSelectedRowsOnTheClipboard) {
    AddUnit("A");
    AddUnit("B");
    AddUnit("C");
    Show();
    Table()->selectionModel()->select(Table()->model()->index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    Table()->selectionModel()->select(Table()->model()->index(2, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    Table()->setFocus();
    QTest::keyClick(Table(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), PlanRowsAsText(Model()->Plan(), {0, 2}));
}

// Screen readers hear of one focused object: the control with the focus
// (and its current cell), not also a cell of a table elsewhere.
TEST_F(PlanKeysTest, OneObjectSaysItHasTheFocus) {
    AddUnit("A");
    AddUnit("B");
    ASSERT_TRUE(Model()->Plan().SetData(0, UnitData::Survey, "1\n2\n3\n"));
    SelectRow(0);
    Show();
    std::function<void(QAccessibleInterface*, QStringList&, int)> focused = [&](QAccessibleInterface* at,
                                                                               QStringList& found, int depth) {
        if (!at || depth > 12) return;
        // A cell or a page tab belongs to its view or bar, which must hold
        // the focus.
        const QObject* owner = at->object() ? at->object() : at->parent() ? at->parent()->object() : nullptr;
        if (at->state().focused && !at->state().invisible && owner != QApplication::focusWidget()) {
            found << QStringLiteral("%1 \"%2\"").arg(QString::number(at->role()), at->text(QAccessible::Name));
        }
        for (int k = 0; k < at->childCount() && k < 200; ++k) focused(at->child(k), found, depth + 1);
    };
    const struct {
        const char* where;
        std::function<QWidget*()> focus;
    } cases[] = {
        {"the plan table", [&] { return static_cast<QWidget*>(Table()); }},
        {"the area factors", [&] {
             Pages()->setCurrentIndex(1);
             return static_cast<QWidget*>(Child<QTableWidget>("areaFactorTable"));
         }},
        {"the plan table again", [&] { return static_cast<QWidget*>(Table()); }},
        {"the budget's table", [&] {
             Pages()->setCurrentIndex(0);
             return static_cast<QWidget*>(Child<QTableWidget>("budgetTable"));
         }},
        {"the plan table after the budget's", [&] { return static_cast<QWidget*>(Table()); }},
        {"the measurements", [&] {
             Pages()->setCurrentIndex(2);
             return static_cast<QWidget*>(Child<QAbstractItemView>("surveyData"));
         }},
        {"the plan table after the measurements", [&] { return static_cast<QWidget*>(Table()); }},
        {"the assessment's figures", [&] { return static_cast<QWidget*>(Child<QAbstractItemView>("assessmentFigures")); }},
        {"the plan table after the figures", [&] { return static_cast<QWidget*>(Table()); }},
        {"the page tabs", [&] { return static_cast<QWidget*>(Pages()->tabBar()); }},
    };
    for (const auto& c : cases) {
        QWidget* widget = c.focus();
        widget->setFocus(Qt::TabFocusReason);
        QTest::qWait(10);
        QStringList found;
        focused(QAccessible::queryAccessibleInterface(window.get()), found, 0);
        EXPECT_TRUE(found.isEmpty()) << c.where << ": " << found.join(QStringLiteral(", ")).toStdString();
    }
}

}  // namespace
}  // namespace valdris::testing
