// SPDX-License-Identifier: Apache-2.0
#include "plan_window_fixture.h"

#include "plan_table_model.h"

namespace valdris::testing {

void PlanWindowTest::SetUp() {
    ASSERT_TRUE(dir.isValid());
    // Recent plans and the state folder stay in the scratch folder.
    qputenv("XDG_STATE_HOME", dir.filePath(QStringLiteral("state")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toLocal8Bit());
    window = std::make_unique<PlanWindow>(messages, &design_window, &dialogs);
}

void PlanWindowTest::AddUnit(const std::string& name, double lbgr, TestKind test) {
    PlanUnit unit;
    unit.name = name;
    unit.lbgr = lbgr;
    unit.test = test;
    ASSERT_TRUE(window->Model()->Plan().Add(unit).accepted) << name;
}

QString PlanWindowTest::Cell(int row, int column) const {
    return window->Model()->index(row, column).data().toString();
}

}  // namespace valdris::testing
