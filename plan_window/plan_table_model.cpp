// SPDX-License-Identifier: Apache-2.0
#include "plan_table_model.h"

#include <QHeaderView>
#include <QTableView>
#include <algorithm>

#include <QLocale>

#include "plan_table.h"

namespace valdris {
namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

// Rows measured to fit the columns: more than a tall window shows.
constexpr int kFittedRows = 100;

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

PlanTableModel::PlanTableModel(QObject* parent) : QAbstractTableModel(parent) {
    plan_.SetDecimalComma(LocaleWritesDecimalComma());
    plan_.SetChangeListener([this](const PlanChange& change) { Follow(change); });
}

void PlanTableModel::SetPlan(SurveyPlan plan) {
    beginResetModel();
    plan_ = std::move(plan);
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
            emit dataChanged(index(std::min(row, to), 0), index(std::max(row, to), kPlanColumnCount - 1));
            break;
        }
        case PlanChangeKind::Changed:
            emit dataChanged(index(row, 0), index(row, kPlanColumnCount - 1));
            break;
        case PlanChangeKind::DefaultsChanged: break;
    }
    if (observe_) observe_(change);
}

int PlanTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(plan_.size());
}

int PlanTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kPlanColumnCount; }

QVariant PlanTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const PlanEntry& entry = plan_.entry(static_cast<std::size_t>(index.row()));
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
    if (section < 0 || section >= kPlanColumnCount) return {};
    return Text(ColumnTitle(static_cast<PlanColumn>(section)));
}

Qt::ItemFlags PlanTableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && EditedField(static_cast<PlanColumn>(index.column()))) flags |= Qt::ItemIsEditable;
    return flags;
}

// An editor left with its text unchanged makes no step of the history.
bool PlanTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || index.row() >= rowCount()) return false;
    const auto column = static_cast<PlanColumn>(index.column());
    const std::optional<PlanField> field = EditedField(column);
    if (!field) return false;
    const auto row = static_cast<std::size_t>(index.row());
    const QString text = value.toString();
    if (text == EditText(plan_.entry(row), column)) return true;
    const PlanEditResult result = plan_.Edit(row, *field, text.toStdString());
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
    const auto column = static_cast<PlanColumn>(source.column());
    if (model == nullptr || IsText(column)) return std::nullopt;
    return CellNumber(model->Plan().entry(row), column);
}

bool PlanSortModel::lessThan(const QModelIndex& source_left, const QModelIndex& source_right) const {
    const std::optional<double> left = Number(source_left);
    const std::optional<double> right = left ? Number(source_right) : std::nullopt;
    if (left && right) return *left < *right;
    return QSortFilterProxyModel::lessThan(source_left, source_right);
}

void FitPlanColumnsOnce(QTableView* table) {
    QHeaderView* header = table->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setResizeContentsPrecision(kFittedRows);
    const QAbstractItemModel* model = table->model();
    QObject::connect(model, &QAbstractItemModel::modelReset, table, [table] { table->resizeColumnsToContents(); });
    QObject::connect(model, &QAbstractItemModel::rowsInserted, table,
                     [table, model](const QModelIndex&, int first, int last) {
                         if (model->rowCount() == last - first + 1) table->resizeColumnsToContents();
                     });
    table->resizeColumnsToContents();
}

}  // namespace valdris
