// SPDX-License-Identifier: Apache-2.0
#pragma once
// "What the budget buys": the selected unit at other LBGRs, one row each,
// with its sizes, power and cost. Choosing a row asks for that LBGR.

#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

#include "plan_unit.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace valdris {

class BudgetPanel : public QWidget {
    Q_OBJECT
public:
    explicit BudgetPanel(QWidget* parent = nullptr);

    // The unit to show, or nothing (no single unit selected).
    void ShowUnit(const std::optional<PlanUnit>& unit);
    // Called with the LBGR of the row chosen (double-click, Return, the button).
    void SetLBGRChosen(std::function<void(double)> chosen) { chosen_ = std::move(chosen); }

private:
    void Choose();
    void UpdateButton();
    int SelectedRow() const;  // -1 for none

    QLabel* heading_;
    QTableWidget* table_;
    QPushButton* use_;
    std::vector<BudgetRow> rows_;
    std::function<void(double)> chosen_;
};

}  // namespace valdris
