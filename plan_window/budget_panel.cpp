// SPDX-License-Identifier: Apache-2.0
#include "budget_panel.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "current_cell_keeper.h"
#include "plan_table.h"

namespace valdris {
namespace {

// The columns are those of the plan's table, written the same way.
// The final N beside the N: the cost counts the samples taken.
constexpr PlanColumn kColumns[] = {PlanColumn::LBGR,        PlanColumn::DoverS, PlanColumn::N, PlanColumn::NReference,
                                   PlanColumn::FinalN,      PlanColumn::PowerAtLBGR, PlanColumn::Cost};
constexpr int kColumnCount = sizeof kColumns / sizeof kColumns[0];

QTableWidgetItem* Cell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

}  // namespace

BudgetPanel::BudgetPanel(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    heading_ = new QLabel(this);
    heading_->setWordWrap(true);
    table_ = new QTableWidget(0, kColumnCount, this);
    table_->setObjectName(QStringLiteral("budgetTable"));
    table_->setAccessibleName(tr("What the budget buys"));
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    // Tab goes on to the next control; the arrows walk the rows.
    table_->setTabKeyNavigation(false);
    new CurrentCellKeeper(table_);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    QStringList titles;
    for (const PlanColumn column : kColumns) titles << QString::fromStdString(ColumnTitle(column));
    table_->setHorizontalHeaderLabels(titles);
    heading_->setBuddy(table_);
    use_ = new QPushButton(tr("Use &This LBGR"), this);
    layout->addWidget(heading_);
    layout->addWidget(table_, 1);
    layout->addWidget(use_, 0, Qt::AlignRight);
    connect(table_, &QTableWidget::itemActivated, this, [this] { Choose(); });
    connect(table_, &QTableWidget::itemSelectionChanged, this, [this] { UpdateButton(); });
    connect(use_, &QPushButton::clicked, this, [this] { Choose(); });
    ShowUnit(std::nullopt);
}

void BudgetPanel::ShowUnit(const std::optional<PlanUnit>& unit) {
    rows_ = unit ? BudgetTable(*unit) : std::vector<BudgetRow>{};
    heading_->setText(unit ? tr("What the &budget buys for %1:").arg(QString::fromStdString(unit->name))
                           : tr("What the &budget buys: select one unit."));
    table_->setRowCount(static_cast<int>(rows_.size()));
    for (int r = 0; r < static_cast<int>(rows_.size()); ++r) {
        const BudgetRow& row = rows_[static_cast<std::size_t>(r)];
        const PlanUnit at_lbgr = UnitAtLBGR(*unit, row.lbgr);
        for (int c = 0; c < kColumnCount; ++c) {
            QString text;
            if (row.figures) {
                text = QString::fromStdString(CellText(PlanEntry{at_lbgr, *row.figures, std::nullopt, {}},
                                                       kColumns[c]));
            } else if (kColumns[c] == PlanColumn::LBGR) {
                text = QString::fromStdString(CellText(PlanEntry{at_lbgr, DesignFigures{}, std::nullopt, {}},
                                                       kColumns[c]));
            }
            QTableWidgetItem* item = Cell(text);
            if (!row.figures) item->setToolTip(QString::fromStdString(row.figures.message()));
            QFont font = item->font();
            font.setBold(row.current);
            item->setFont(font);
            table_->setItem(r, c, item);
        }
    }
    UpdateButton();
}

// The selected row, not the current cell, which is let go while the
// keyboard is elsewhere (on the button, say).
int BudgetPanel::SelectedRow() const {
    const QModelIndexList rows = table_->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.front().row();
}

void BudgetPanel::UpdateButton() {
    const int r = SelectedRow();
    const bool usable = r >= 0 && r < static_cast<int>(rows_.size()) && rows_[static_cast<std::size_t>(r)].figures &&
                        !rows_[static_cast<std::size_t>(r)].current;
    use_->setEnabled(usable);
}

void BudgetPanel::Choose() {
    const int r = SelectedRow();
    if (r < 0 || r >= static_cast<int>(rows_.size())) return;
    const BudgetRow& row = rows_[static_cast<std::size_t>(r)];
    if (!row.figures || row.current || !chosen_) return;
    chosen_(row.lbgr);
}

}  // namespace valdris
