// SPDX-License-Identifier: Apache-2.0
#pragma once
// The plan as a Qt table: it owns the survey plan, shows each cell as the
// plan's table writes it and sends every edit through the plan's rules. A
// refused edit changes nothing; its message goes to the window to show.

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>
#include <functional>
#include <optional>
#include <vector>

class QTableView;
class QTimer;

#include "check_columns.h"
#include "plan_table.h"
#include "plan.h"

namespace valdris {

// Whether the user's locale writes a decimal comma; the plan's number boxes
// then take a comma as the point.
bool LocaleWritesDecimalComma();

// The plan's own column at a column of the model; nothing for a column of
// the design check.
std::optional<PlanColumn> PlanColumnAt(int column);

class PlanTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Numbers sort as numbers, texts as texts, empty cells first.
    static constexpr int kSortRole = Qt::UserRole + 1;

    explicit PlanTableModel(QObject* parent = nullptr);

    const SurveyPlan& Plan() const { return plan_; }
    // Commands go straight to the plan; the rows follow through its listener.
    SurveyPlan& Plan() { return plan_; }
    // Takes a whole plan (New, Open, a recovered autosave).
    void SetPlan(SurveyPlan plan);

    // Hears every refusal or notice of a cell edit.
    void SetMessageHandler(std::function<void(const Refusal&)> handler) { show_ = std::move(handler); }
    // Hears every change of the plan, after the rows have followed it.
    void SetChangeObserver(std::function<void(const PlanChange&)> observer) { observe_ = std::move(observer); }

    // The design check's columns after the plan's own, off by default. Only
    // units whose check cells are asked for (painted) are checked, a few at
    // a time from the event loop; hidden, nothing is checked.
    void SetCheckColumnsShown(bool shown);
    bool CheckColumnsShown() const { return check_shown_; }
    // Checks at once every unit whose cells are waiting.
    void FinishChecks();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    // Whether the last cell edit was refused (its message already shown):
    // a view does not say, and leaving the cell then should not go on.
    bool LastEditRefused() const { return last_edit_refused_; }

private:
    void Follow(const PlanChange& change);
    QVariant CheckData(const PlanEntry& entry, CheckColumn column, int role) const;
    // Checks waiting units for a short while, then lets the window breathe.
    void CheckSome();
    void ShowChecked(UnitId id);

    SurveyPlan plan_;
    std::function<void(const Refusal&)> show_;
    std::function<void(const PlanChange&)> observe_;
    bool check_shown_ = false;
    bool last_edit_refused_ = false;
    // Asked for from data(), which is const: a cell's check is wanted there.
    mutable CheckColumnCache checks_;
    QTimer* check_timer_ = nullptr;
};

// Sorts the plan's rows: two numbers are compared as the plan holds them,
// not through their cells' texts or a variant; a text or an empty cell goes
// by the model's sort role. A whole sort first gathers the column's numbers
// side by side: read from the units themselves, each comparison would wait
// on memory for two entries far apart.
class PlanSortModel : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit PlanSortModel(QObject* parent = nullptr);
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

protected:
    bool lessThan(const QModelIndex& source_left, const QModelIndex& source_right) const override;

private:
    std::optional<double> Number(const QModelIndex& source) const;

    int gathered_column_ = -1;
    std::vector<std::optional<double>> gathered_;  // by source row, during a sort
};

// Columns the user may widen, fitted to the rows in view (and a few about
// them) when a plan is set and when units come to an empty one, never on an
// edit: a header fitting its contents measures a thousand rows at every
// change.
void FitPlanColumnsOnce(QTableView* table);

}  // namespace valdris
