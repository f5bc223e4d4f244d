// SPDX-License-Identifier: Apache-2.0
#include "plan_table_model.h"

#include <QElapsedTimer>
#include <QHeaderView>
#include <QTableView>
#include <QTimer>
#include <algorithm>

#include <QLocale>

#include "plan_table.h"

namespace valdris {
namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

// Rows measured to fit the columns: more than a tall window shows.
constexpr int kFittedRows = 100;
// Checks run from the event loop for about this long at a time: one WRS
// check of a large design takes a good part of it, a Sign check next to
// nothing, so the window keeps answering while a screenful is checked.
constexpr int kCheckSliceMs = 40;

bool IsText(PlanColumn column) {
    return column == PlanColumn::Name || column == PlanColumn::Radionuclide || column == PlanColumn::Test;
}

// What an editor opens with: the N column edits the given size, which is
// empty while the unit's size is the designed one.
QString EditText(const PlanEntry& entry, PlanColumn column) {
    if (column == PlanColumn::N) {
        return entry.unit.given_n ? QString::number(*entry.unit.given_n) : QString();
    }
    return Text(CellText(entry, column));
}

}  // namespace

bool LocaleWritesDecimalComma() { return QLocale().decimalPoint() == QLatin1Char(','); }

std::optional<PlanColumn> PlanColumnAt(int column) {
    if (column < 0 || column >= kPlanColumnCount) return std::nullopt;
    return static_cast<PlanColumn>(column);
}

PlanTableModel::PlanTableModel(QObject* parent) : QAbstractTableModel(parent) {
    check_timer_ = new QTimer(this);
    check_timer_->setSingleShot(true);
    check_timer_->setInterval(0);
    connect(check_timer_, &QTimer::timeout, this, &PlanTableModel::CheckSome);
    plan_.SetDecimalComma(LocaleWritesDecimalComma());
    plan_.SetChangeListener([this](const PlanChange& change) { Follow(change); });
}

void PlanTableModel::SetPlan(SurveyPlan plan) {
    beginResetModel();
    plan_ = std::move(plan);
    checks_ = CheckColumnCache(checks_.seed());
    plan_.SetDecimalComma(LocaleWritesDecimalComma());
    plan_.SetChangeListener([this](const PlanChange& change) { Follow(change); });
    endResetModel();
    if (observe_) observe_({PlanChangeKind::DefaultsChanged, 0, 0});
}

// The plan tells after the fact; each kind of change is announced as the
// views expect it (a move swaps two rows, which is their data changing).
void PlanTableModel::Follow(const PlanChange& change) {
    const int row = static_cast<int>(change.row);
    switch (change.kind) {
        case PlanChangeKind::Inserted:
            beginInsertRows({}, row, row);
            endInsertRows();
            break;
        case PlanChangeKind::Removed:
            beginRemoveRows({}, row, row);
            endRemoveRows();
            break;
        case PlanChangeKind::Moved: {
            const int to = static_cast<int>(change.to_row);
            emit dataChanged(index(std::min(row, to), 0), index(std::max(row, to), columnCount() - 1));
            break;
        }
        case PlanChangeKind::Changed:
            emit dataChanged(index(row, 0), index(row, columnCount() - 1));
            break;
        case PlanChangeKind::DefaultsChanged: break;
    }
    if (observe_) observe_(change);
}

int PlanTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(plan_.size());
}

int PlanTableModel::columnCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return kPlanColumnCount + (check_shown_ ? kCheckColumnCount : 0);
}

void PlanTableModel::SetCheckColumnsShown(bool shown) {
    if (shown == check_shown_) return;
    if (shown) {
        beginInsertColumns({}, kPlanColumnCount, kPlanColumnCount + kCheckColumnCount - 1);
        check_shown_ = true;
        endInsertColumns();
    } else {
        beginRemoveColumns({}, kPlanColumnCount, kPlanColumnCount + kCheckColumnCount - 1);
        check_shown_ = false;
        endRemoveColumns();
        checks_.ForgetWanted();
        check_timer_->stop();
    }
}

void PlanTableModel::CheckSome() {
    QElapsedTimer slice;
    slice.start();
    while (slice.elapsed() < kCheckSliceMs) {
        const std::optional<UnitId> id = checks_.CheckNext(plan_);
        if (!id) break;
        ShowChecked(*id);
    }
    if (checks_.HasWanted()) check_timer_->start();
}

void PlanTableModel::FinishChecks() {
    check_timer_->stop();
    while (const std::optional<UnitId> id = checks_.CheckNext(plan_)) ShowChecked(*id);
}

void PlanTableModel::ShowChecked(UnitId id) {
    const std::optional<std::size_t> row = plan_.RowOf(id);
    if (!row || !check_shown_) return;
    const int r = static_cast<int>(*row);
    emit dataChanged(index(r, kPlanColumnCount), index(r, kPlanColumnCount + kCheckColumnCount - 1));
}

// A cell not yet checked says so and asks for its unit's check; only the
// shown text asks, so sorting or reading the table for another purpose
// never starts a check.
QVariant PlanTableModel::CheckData(const PlanEntry& entry, CheckColumn column, int role) const {
    const CheckedDesign* checked = checks_.Find(entry);
    switch (role) {
        case Qt::DisplayRole:
        case Qt::AccessibleTextRole:
            if (checked) return Text(CheckCellText(*checked, column));
            if (role == Qt::DisplayRole && checks_.Want(entry)) check_timer_->start();
            return tr("checking\u2026");
        case Qt::TextAlignmentRole: return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        case kSortRole: {
            const std::optional<double> number = checked ? CheckCellNumber(*checked, column) : std::nullopt;
            return number ? QVariant(*number) : QVariant();
        }
        default: return {};
    }
}

QVariant PlanTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const PlanEntry& entry = plan_.entry(static_cast<std::size_t>(index.row()));
    if (index.column() >= kPlanColumnCount) {
        return CheckData(entry, static_cast<CheckColumn>(index.column() - kPlanColumnCount), role);
    }
    const auto column = static_cast<PlanColumn>(index.column());
    switch (role) {
        case Qt::DisplayRole:
        case Qt::AccessibleTextRole: return Text(CellText(entry, column));
        case Qt::EditRole: return EditText(entry, column);
        case Qt::ToolTipRole:
            if (column == PlanColumn::N && entry.unit.given_n) return tr("Given sample size");
            return {};
        case Qt::TextAlignmentRole:
            return IsText(column) ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                  : QVariant(Qt::AlignRight | Qt::AlignVCenter);
        case kSortRole: {
            if (IsText(column)) return Text(CellText(entry, column)).toLower();
            const std::optional<double> number = CellNumber(entry, column);
            return number ? QVariant(*number) : QVariant();
        }
        default: return {};
    }
}

QVariant PlanTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    if (section < 0 || section >= columnCount()) return {};
    if (section >= kPlanColumnCount) return Text(CheckColumnTitle(static_cast<CheckColumn>(section - kPlanColumnCount)));
    return Text(ColumnTitle(static_cast<PlanColumn>(section)));
}

Qt::ItemFlags PlanTableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    const std::optional<PlanColumn> column = PlanColumnAt(index.column());
    if (index.isValid() && column && EditedField(*column)) flags |= Qt::ItemIsEditable;
    return flags;
}

// An editor left with its text unchanged makes no step of the history.
bool PlanTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    last_edit_refused_ = false;
    if (role != Qt::EditRole || !index.isValid() || index.row() >= rowCount()) return false;
    if (!PlanColumnAt(index.column())) return false;
    const auto column = static_cast<PlanColumn>(index.column());
    const std::optional<PlanField> field = EditedField(column);
    if (!field) return false;
    const auto row = static_cast<std::size_t>(index.row());
    const QString text = value.toString();
    if (text == EditText(plan_.entry(row), column)) return true;
    const PlanEditResult result = plan_.Edit(row, *field, text.toStdString());
    last_edit_refused_ = !result;
    if (const std::optional<Refusal> message = MessageOf(result); message && show_) show_(*message);
    return static_cast<bool>(result);
}

PlanSortModel::PlanSortModel(QObject* parent) : QSortFilterProxyModel(parent) {
    setSortRole(PlanTableModel::kSortRole);
}

void PlanSortModel::sort(int column, Qt::SortOrder order) {
    const auto* model = qobject_cast<const PlanTableModel*>(sourceModel());
    if (model != nullptr && column >= 0 && column < kPlanColumnCount && !IsText(static_cast<PlanColumn>(column))) {
        gathered_.reserve(model->Plan().size());
        for (const PlanEntry& entry : model->Plan().entries()) {
            gathered_.push_back(CellNumber(entry, static_cast<PlanColumn>(column)));
        }
        gathered_column_ = column;
    }
    QSortFilterProxyModel::sort(column, order);
    gathered_column_ = -1;
    gathered_ = {};
}

std::optional<double> PlanSortModel::Number(const QModelIndex& source) const {
    const auto row = static_cast<std::size_t>(source.row());
    if (source.column() == gathered_column_ && row < gathered_.size()) return gathered_[row];
    const auto* model = qobject_cast<const PlanTableModel*>(sourceModel());
    const std::optional<PlanColumn> column = PlanColumnAt(source.column());
    if (model == nullptr || !column || IsText(*column)) return std::nullopt;
    return CellNumber(model->Plan().entry(row), *column);
}

bool PlanSortModel::lessThan(const QModelIndex& source_left, const QModelIndex& source_right) const {
    const std::optional<double> left = Number(source_left);
    const std::optional<double> right = left ? Number(source_right) : std::nullopt;
    if (left && right) return *left < *right;
    return QSortFilterProxyModel::lessThan(source_left, source_right);
}

// The check's columns are not measured: that would check every unit measured.
void FitPlanColumnsOnce(QTableView* table) {
    QHeaderView* header = table->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setResizeContentsPrecision(kFittedRows);
    const QAbstractItemModel* model = table->model();
    auto fit = [table] {
        for (int c = 0; c < kPlanColumnCount; ++c) table->resizeColumnToContents(c);
    };
    QObject::connect(model, &QAbstractItemModel::modelReset, table, fit);
    QObject::connect(model, &QAbstractItemModel::rowsInserted, table,
                     [fit, model](const QModelIndex&, int first, int last) {
                         if (model->rowCount() == last - first + 1) fit();
                     });
    fit();
}

}  // namespace valdris
