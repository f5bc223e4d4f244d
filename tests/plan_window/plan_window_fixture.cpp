// SPDX-License-Identifier: Apache-2.0
#include "plan_window_fixture.h"

#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <algorithm>

#include "plan_table_model.h"

namespace valdris::testing {

void PlanWindowTest::SetUp() {
    ASSERT_TRUE(dir.isValid());
    // Recent plans and the state folder stay in the scratch folder.
    qputenv("XDG_STATE_HOME", dir.filePath(QStringLiteral("state")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toLocal8Bit());
    window = std::make_unique<PlanWindow>(messages, &design_window, &dialogs);
}

PlanTableModel* PlanWindowTest::Model(const PlanWindow& of) {
    auto* model = of.findChild<PlanTableModel*>(QStringLiteral("planModel"));
    EXPECT_NE(model, nullptr);
    return model;
}

QTableView* PlanWindowTest::Table() const {
    auto* table = window->findChild<QTableView*>(QStringLiteral("planTable"));
    EXPECT_NE(table, nullptr);
    return table;
}

QAction* PlanWindowTest::Act(const PlanWindow& of, const char* name) {
    auto* action = of.findChild<QAction*>(QString::fromLatin1(name));
    EXPECT_NE(action, nullptr) << name;
    return action;
}

void PlanWindowTest::Trigger(const PlanWindow& of, const char* name) {
    QAction* action = Act(of, name);
    ASSERT_TRUE(action->isEnabled()) << name;
    action->trigger();
}

void PlanWindowTest::SelectRow(std::size_t row) const {
    QTableView* table = Table();
    auto* proxy = qobject_cast<QSortFilterProxyModel*>(table->model());
    const QModelIndex index = proxy->mapFromSource(Model()->index(static_cast<int>(row), 0));
    table->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

std::vector<std::size_t> PlanWindowTest::SelectedRows() const {
    QTableView* table = Table();
    auto* proxy = qobject_cast<QSortFilterProxyModel*>(table->model());
    std::vector<std::size_t> rows;
    for (const QModelIndex& index : table->selectionModel()->selectedRows()) {
        rows.push_back(static_cast<std::size_t>(proxy->mapToSource(index).row()));
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

bool PlanWindowTest::SaveAs(const QString& path) {
    dialogs.file_name = path;
    const std::size_t shown = messages.shown.size();
    Trigger("actSaveAs");
    return messages.shown.size() == shown;
}

void PlanWindowTest::WriteAutosaveNow() const {
    auto* timer = window->findChild<QTimer*>(QStringLiteral("autosaveTimer"));
    ASSERT_NE(timer, nullptr);
    ASSERT_TRUE(timer->isActive()) << "an unsaved change starts the autosave's delay";
    const int delay = timer->interval();
    timer->start(0);
    for (int waited = 0; waited < 5000 && timer->isActive(); waited += 10) QTest::qWait(10);
    EXPECT_FALSE(timer->isActive());
    timer->setInterval(delay);
}

void PlanWindowTest::AddUnit(const std::string& name, double lbgr, TestKind test) {
    PlanUnit unit;
    unit.name = name;
    unit.lbgr = lbgr;
    unit.test = test;
    ASSERT_TRUE(Model()->Plan().Add(unit)) << name;
}

QString PlanWindowTest::Cell(int row, int column) const {
    return Model()->index(row, column).data().toString();
}

}  // namespace valdris::testing
