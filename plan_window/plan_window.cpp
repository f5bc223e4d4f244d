// SPDX-License-Identifier: Apache-2.0
#include "plan_window.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMenuBar>
#include <QSortFilterProxyModel>
#include <QScrollArea>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <algorithm>

#include "budget_panel.h"
#include "comparison_view.h"
#include "data_panel.h"
#include "design_link.h"
#include "design_window_link.h"
#include "field_panel.h"
#include "message_boxes.h"
#include "number_text.h"
#include "plan_dialogs.h"
#include "plan_table.h"
#include "plan_table_model.h"
#include "window_placement.h"

namespace valdris {
namespace {

// Long enough that typing a row of edits writes once, short enough that a
// crash loses little.
constexpr int kAutosaveDelayMs = 2000;

// A page that scrolls when the window is smaller than the page can be, as
// on a small screen or at a large scale, rather than cutting controls off.
QScrollArea* Scrolling(QWidget* page) {
    auto* area = new QScrollArea;
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(page);
    return area;
}

QString CostText(const std::optional<double>& cost) {
    return cost ? QString::fromStdString(WriteNumber(*cost)) : QString();
}

}  // namespace

PlanWindow::PlanWindow(MessageBoxes& messages, DesignWindowLink* link, PlanDialogs* dialogs, QWidget* parent)
    : QMainWindow(parent),
      messages_(messages),
      own_dialogs_(dialogs ? nullptr : std::make_unique<QtPlanDialogs>(this)),
      dialogs_(dialogs ? *dialogs : *own_dialogs_),
      link_(link) {
    setObjectName(QStringLiteral("planWindow"));
    model_ = new PlanTableModel(this);
    model_->setObjectName(QStringLiteral("planModel"));
    model_->SetMessageHandler([this](const Refusal& refusal) {
        messages_.Show(QString::fromStdString(refusal.text), refusal.icon);
    });
    model_->SetChangeObserver([this](const PlanChange& change) { Follow(change); });
    proxy_ = new PlanSortModel(this);
    proxy_->setSourceModel(model_);

    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("planTable"));
    table_->setAccessibleName(tr("Survey units"));
    table_->setModel(proxy_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(-1, Qt::AscendingOrder);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    FitPlanColumnsOnce(table_);
    table_->horizontalHeader()->setStretchLastSection(true);
    // A double-click on a result column, which cannot be edited, opens the
    // unit in the design window.
    connect(table_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (!(index.flags() & Qt::ItemIsEditable)) OpenInDesignWindow();
    });

    // The selected unit's panels, one page each.
    panels_ = new QTabWidget(this);
    panels_->setObjectName(QStringLiteral("unitPanels"));
    budget_ = new BudgetPanel(panels_);
    budget_->SetLBGRChosen([this](double lbgr) { SetLBGRFromBudget(lbgr); });
    panels_->addTab(Scrolling(budget_), tr("Budget"));
    field_ = new FieldPanel(panels_);
    ConnectFieldPanel();
    panels_->addTab(Scrolling(field_), tr("Field"));
    data_ = new DataPanel(panels_);
    data_->SetRequested([this](DataPanel::Request request, UnitData which) {
        switch (request) {
            case DataPanel::Request::Paste: PasteData(which); break;
            case DataPanel::Request::Import: ImportData(which); break;
            case DataPanel::Request::Clear: ClearData(which); break;
        }
    });
    panels_->addTab(Scrolling(data_), tr("Measurements"));

    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(table_);
    splitter->addWidget(panels_);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 1);
    setCentralWidget(splitter);

    autosave_timer_ = new QTimer(this);
    autosave_timer_->setObjectName(QStringLiteral("autosaveTimer"));
    autosave_timer_->setSingleShot(true);
    autosave_timer_->setInterval(kAutosaveDelayMs);
    connect(autosave_timer_, &QTimer::timeout, this, [this] { WriteAutosave(); });

    BuildMenus();
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { UpdateState(); });
    if (link_) link_->SetInputTaken([this] { DesignInputTaken(); });
    // Wide enough for every column at the usual font and tall enough for the
    // unit's panels; a smaller screen gets a smaller window, which scrolls.
    CentreOnScreenOnceFramed(this, [] { return QSize(1240, 720); });
    UpdateState();
}

PlanWindow::~PlanWindow() {
    if (link_) {
        link_->SetInputTaken(nullptr);
        if (linked_unit_) link_->SetEditedUnit({});
    }
}

QAction* PlanWindow::AddAction(QMenu* menu, const QString& text, const char* name, void (PlanWindow::*slot)()) {
    QAction* action = menu->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    if (slot) connect(action, &QAction::triggered, this, [this, slot] { (this->*slot)(); });
    return action;
}

void PlanWindow::BuildMenus() {
    BuildFileMenu();
    BuildEditMenu();
    BuildUnitMenu();
}

void PlanWindow::BuildEditMenu() {
    QMenu* menu = menuBar()->addMenu(tr("&Edit"));
    actUndo = menu->addAction(tr("&Undo"));
    actUndo->setObjectName(QStringLiteral("actUndo"));
    actUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    connect(actUndo, &QAction::triggered, this, [this] { model_->Plan().Undo(); });
    actRedo = menu->addAction(tr("&Redo"));
    actRedo->setObjectName(QStringLiteral("actRedo"));
    actRedo->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    connect(actRedo, &QAction::triggered, this, [this] { model_->Plan().Redo(); });
    menu->addSeparator();
    actDefaultCosts = AddAction(menu, tr("Default &Costs..."), "actDefaultCosts", &PlanWindow::EditDefaultCosts);
    actPlanOrder = menu->addAction(tr("Show in &Plan Order"));
    actPlanOrder->setObjectName(QStringLiteral("actPlanOrder"));
    connect(actPlanOrder, &QAction::triggered, this, [this] { table_->sortByColumn(-1, Qt::AscendingOrder); });
}

void PlanWindow::BuildUnitMenu() {
    QMenu* menu = menuBar()->addMenu(tr("&Unit"));
    actAddDesign = AddAction(menu, tr("&Add Design from Design Window"), "actAddDesign", &PlanWindow::AddDesign);
    actAddDesign->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    actDuplicate = AddAction(menu, tr("D&uplicate"), "actDuplicate", &PlanWindow::DuplicateUnit);
    actDelete = AddAction(menu, tr("&Delete"), "actDelete", &PlanWindow::DeleteUnits);
    actDelete->setShortcut(QKeySequence::Delete);
    actMoveUp = menu->addAction(tr("Move &Up"));
    actMoveUp->setObjectName(QStringLiteral("actMoveUp"));
    actMoveUp->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Up));
    connect(actMoveUp, &QAction::triggered, this, [this] { MoveUnit(-1); });
    actMoveDown = menu->addAction(tr("Move Do&wn"));
    actMoveDown->setObjectName(QStringLiteral("actMoveDown"));
    actMoveDown->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Down));
    connect(actMoveDown, &QAction::triggered, this, [this] { MoveUnit(+1); });
    actRename = AddAction(menu, tr("&Rename..."), "actRename", &PlanWindow::RenameUnit);
    actRename->setShortcut(QKeySequence(Qt::Key_F2));
    actUnitCosts = AddAction(menu, tr("Unit &Costs..."), "actUnitCosts", &PlanWindow::EditUnitCosts);
    menu->addSeparator();
    actOpenInDesign =
        AddAction(menu, tr("&Open in Design Window"), "actOpenInDesign", &PlanWindow::OpenInDesignWindow);
    actCompare = AddAction(menu, tr("Com&pare Curves"), "actCompare", &PlanWindow::CompareCurves);
    menu->addSeparator();
    actAssess = AddAction(menu, tr("A&ssess Data..."), "actAssess", &PlanWindow::AssessData);
}

std::vector<std::size_t> PlanWindow::SelectedRows() const {
    std::vector<std::size_t> rows;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows()) {
        rows.push_back(static_cast<std::size_t>(proxy_->mapToSource(index).row()));
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

std::optional<std::size_t> PlanWindow::SingleSelectedRow() const {
    const std::vector<std::size_t> rows = SelectedRows();
    if (rows.size() != 1) return std::nullopt;
    return rows.front();
}

void PlanWindow::SelectRow(std::size_t row) {
    if (row >= model_->Plan().size()) return;
    const QModelIndex index = proxy_->mapFromSource(model_->index(static_cast<int>(row), 0));
    table_->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    table_->scrollTo(index);
}

// The window follows every change, whether made here, by undo or redo, or
// from the design window. The design window edits a unit, wherever its row
// goes, until the unit leaves the plan.
void PlanWindow::Follow(const PlanChange& change) {
    if (linked_unit_) {
        const std::optional<std::size_t> linked = model_->Plan().RowOf(*linked_unit_);
        if (!linked) {
            SetLinkedUnit(std::nullopt);
        } else if (link_ && change.kind == PlanChangeKind::Changed && change.row == *linked) {
            link_->SetEditedUnit(model_->Plan().entry(*linked).unit.name);
        }
    }
    if (change.kind == PlanChangeKind::Moved && SingleSelectedRow() == change.row) SelectRow(change.to_row);
    if (HasUnsavedChanges()) autosave_timer_->start();
    UpdateState();
}

void PlanWindow::UpdateState() {
    const SurveyPlan& plan = model_->Plan();
    const std::vector<std::size_t> rows = SelectedRows();
    const bool one = rows.size() == 1;
    actUndo->setEnabled(plan.CanUndo());
    actUndo->setText(plan.CanUndo() ? tr("&Undo %1").arg(QString::fromStdString(plan.UndoName())) : tr("&Undo"));
    actRedo->setEnabled(plan.CanRedo());
    actRedo->setText(plan.CanRedo() ? tr("&Redo %1").arg(QString::fromStdString(plan.RedoName())) : tr("&Redo"));
    actAddDesign->setEnabled(link_ != nullptr);
    actDuplicate->setEnabled(one);
    actDelete->setEnabled(!rows.empty());
    actMoveUp->setEnabled(one && rows.front() > 0);
    actMoveDown->setEnabled(one && rows.front() + 1 < plan.size());
    actRename->setEnabled(one);
    actUnitCosts->setEnabled(one);
    actOpenInDesign->setEnabled(one && link_ != nullptr);
    actCompare->setEnabled(rows.size() >= 2);
    actAssess->setEnabled(one);
    setWindowTitle(tr("Survey Plan - %1[*]").arg(DisplayName()));
    setWindowModified(HasUnsavedChanges());
    UpdatePanels();
}

void PlanWindow::ShowPanel(QWidget* panel) {
    for (int i = 0; i < panels_->count(); ++i) {
        if (panels_->widget(i)->isAncestorOf(panel)) panels_->setCurrentIndex(i);
    }
}

void PlanWindow::UpdatePanels() {
    const std::optional<std::size_t> row = SingleSelectedRow();
    const PlanEntry* entry = row ? &model_->Plan().entry(*row) : nullptr;
    budget_->ShowUnit(entry ? std::optional<PlanUnit>(entry->unit) : std::nullopt);
    field_->ShowEntry(entry);
    data_->ShowEntry(entry);
}

void PlanWindow::ShowRefusal(const PlanEditResult& result) {
    if (const std::optional<Refusal> message = MessageOf(result)) {
        messages_.Show(QString::fromStdString(message->text), message->icon);
    }
}

// --- Commands ----------------------------------------------------------------

void PlanWindow::AddDesign() {
    if (!link_) return;
    SurveyPlan& plan = model_->Plan();
    PlanUnit fresh;
    fresh.name = tr("Survey Unit %1").arg(plan.size() + 1).toStdString();
    const std::optional<PlanUnit> unit = link_->TakeDesign(fresh);
    if (!unit) {
        messages_.Show(tr("The design window shows no design to add."), MessageIcon::Exclamation);
        return;
    }
    const PlanEditResult result = plan.Add(*unit);
    ShowRefusal(result);
    if (result) SelectRow(plan.size() - 1);
}

void PlanWindow::DuplicateUnit() {
    const std::optional<std::size_t> row = SingleSelectedRow();
    if (!row) return;
    if (model_->Plan().Duplicate(*row)) SelectRow(*row + 1);
}

// Several rows go as several steps, the last first so that rows keep their
// places; Undo brings them back one at a time.
void PlanWindow::DeleteUnits() {
    std::vector<std::size_t> rows = SelectedRows();
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) model_->Plan().Remove(*it);
}

void PlanWindow::MoveUnit(int direction) {
    const std::optional<std::size_t> row = SingleSelectedRow();
    if (!row) return;
    if (direction < 0) {
        model_->Plan().MoveUp(*row);
    } else {
        model_->Plan().MoveDown(*row);
    }
}

void PlanWindow::RenameUnit() {
    const std::optional<std::size_t> row = SingleSelectedRow();
    if (!row) return;
    const std::string& name = model_->Plan().entry(*row).unit.name;
    const std::optional<QString> answer =
        dialogs_.AskText(tr("Rename Unit"), tr("&Name:"), QString::fromStdString(name));
    if (!answer || answer->toStdString() == name) return;
    ShowRefusal(model_->Plan().Rename(*row, answer->toStdString()));
}

void PlanWindow::EditUnitCosts() {
    const std::optional<std::size_t> row = SingleSelectedRow();
    if (!row) return;
    const SampleCosts& costs = model_->Plan().entry(*row).unit.costs;
    const std::optional<CostTexts> answer =
        dialogs_.AskCosts(tr("Unit Costs"), {CostText(costs.fixed), CostText(costs.per_sample)});
    if (!answer) return;
    const std::pair<PlanField, QString> edits[] = {{PlanField::CostFixed, answer->fixed},
                                                  {PlanField::CostPerSample, answer->per_sample}};
    for (const auto& [field, text] : edits) {
        const SampleCosts& now = model_->Plan().entry(*row).unit.costs;
        const auto& current = field == PlanField::CostFixed ? now.fixed : now.per_sample;
        if (text.trimmed() == CostText(current)) continue;
        const PlanEditResult result = model_->Plan().Edit(*row, field, text.trimmed().toStdString());
        ShowRefusal(result);
        if (!result) return;
    }
}

void PlanWindow::EditDefaultCosts() {
    const SampleCosts& costs = model_->Plan().default_costs();
    const std::optional<CostTexts> answer =
        dialogs_.AskCosts(tr("Default Costs"), {CostText(costs.fixed), CostText(costs.per_sample)});
    if (!answer) return;
    // Typed with the locale's decimal comma where it writes one.
    const auto typed = [](const QString& text) {
        return WithDecimalPoint(text.trimmed().toStdString(), LocaleWritesDecimalComma());
    };
    ShowRefusal(model_->Plan().SetDefaultCosts(typed(answer->fixed), typed(answer->per_sample)));
}

void PlanWindow::SetLBGRFromBudget(double lbgr) {
    const std::optional<std::size_t> row = SingleSelectedRow();
    if (!row) return;
    ShowRefusal(model_->Plan().SetLBGR(*row, lbgr));
}

void PlanWindow::CompareCurves() {
    const std::vector<std::size_t> rows = SelectedRows();
    if (rows.size() < 2) return;
    std::vector<const PlanEntry*> entries;
    for (const std::size_t row : rows) entries.push_back(&model_->Plan().entry(row));
    OpenComparison(entries, this);
}

// --- The design window ---------------------------------------------------------

void PlanWindow::SetLinkedUnit(std::optional<UnitId> unit) {
    linked_unit_ = unit;
    const std::optional<std::size_t> row = unit ? model_->Plan().RowOf(*unit) : std::nullopt;
    if (link_) link_->SetEditedUnit(row ? model_->Plan().entry(*row).unit.name : std::string());
}

// Loading the unit makes the design window take its inputs one by one;
// those are not edits of the unit.
void PlanWindow::OpenInDesignWindow() {
    const std::optional<std::size_t> row = SingleSelectedRow();
    if (!row || !link_) return;
    loading_unit_ = true;
    const std::optional<Refusal> refusal = link_->ShowUnit(model_->Plan().entry(*row).unit);
    loading_unit_ = false;
    if (refusal) {
        messages_.Show(QString::fromStdString(refusal->text), refusal->icon);
        return;
    }
    SetLinkedUnit(model_->Plan().entry(*row).id);
}

void PlanWindow::DesignInputTaken() {
    if (loading_unit_ || !linked_unit_ || !link_) return;
    const std::optional<std::size_t> row = model_->Plan().RowOf(*linked_unit_);
    if (!row) return;
    const PlanUnit& current = model_->Plan().entry(*row).unit;
    const std::optional<PlanUnit> unit = link_->TakeDesign(current);
    if (!unit || SameDesign(*unit, current)) return;
    ShowRefusal(model_->Plan().Replace(*row, *unit));
}

void PlanWindow::closeEvent(QCloseEvent* event) {
    if (!MaySetPlanAside()) {
        event->ignore();
        return;
    }
    RemoveAutosave();
    SetLinkedUnit(std::nullopt);
    event->accept();
}

}  // namespace valdris
