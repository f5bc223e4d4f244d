// SPDX-License-Identifier: Apache-2.0
#include "plan_window.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenuBar>
#include <QSortFilterProxyModel>
#include <QScrollArea>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <algorithm>

#include "budget_panel.h"
#include "context_ids.h"
#include "current_cell_keeper.h"
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
#include "tab_bar_accessible.h"
#include "window_placement.h"

namespace valdris {
namespace {

// Long enough that typing a row of edits writes once, short enough that a
// crash loses little.
constexpr int kAutosaveDelayMs = 2000;

// How often a cell's refusal looks again for a moment free of other boxes.
constexpr int kModalPollMs = 100;

// A page that scrolls when the window is smaller than the page can be, as
// on a small screen or at a large scale, rather than cutting controls off.
QScrollArea* Scrolling(QWidget* page) {
    auto* area = new QScrollArea;
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    // Tab goes into the page rather than stopping on the unnamed pane; the
    // pane still scrolls to the control the keyboard reaches.
    area->setFocusPolicy(Qt::NoFocus);
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
    InstallTabBarAccessible();  // before the page tabs are first announced
    setObjectName(QStringLiteral("planWindow"));
    model_ = new PlanTableModel(this);
    model_->setObjectName(QStringLiteral("planModel"));
    // A cell's text is taken as its editor closes, which may be inside Qt's
    // own move of the focus (a click elsewhere).
    model_->SetMessageHandler([this](const Refusal& refusal) { ShowRefusalOnceFree(refusal); });
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
    // Tab leaves the table for the pages below instead of walking its cells.
    table_->setTabKeyNavigation(false);
    new CurrentCellKeeper(table_);
    auto* clear = new QShortcut(QKeySequence::Delete, table_, nullptr, nullptr, Qt::WidgetShortcut);
    connect(clear, &QShortcut::activated, this, [this] { ClearCells(); });
    auto* copy = new QShortcut(QKeySequence::Copy, table_, nullptr, nullptr, Qt::WidgetShortcut);
    connect(copy, &QShortcut::activated, this, [this] { CopyRows(); });
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
    panels_->tabBar()->setAccessibleName(tr("Pages of the selected unit"));
    // The tab bar takes the keyboard itself: as the tab widget's focus proxy
    // it would make the unnamed widget around it report the focus as well.
    panels_->setFocusProxy(nullptr);
    panels_->setFocusPolicy(Qt::NoFocus);
    panels_->tabBar()->installEventFilter(this);  // its mnemonics leave an open cell first
    budget_ = new BudgetPanel(panels_);
    budget_->SetLBGRChosen([this](double lbgr) { SetLBGRFromBudget(lbgr); });
    panels_->addTab(Scrolling(budget_), tr("Bu&dget"));
    field_ = new FieldPanel(panels_);
    ConnectFieldPanel();
    panels_->addTab(Scrolling(field_), tr("Fie&ld"));
    data_ = new DataPanel(panels_);
    data_->SetRequested([this](DataPanel::Request request, UnitData which) {
        switch (request) {
            case DataPanel::Request::Paste: PasteData(which); break;
            case DataPanel::Request::Import: ImportData(which); break;
            case DataPanel::Request::Clear: ClearData(which); break;
        }
    });
    data_->SetAreaSizeRequested([this] { EditAreaSize(); });
    panels_->addTab(Scrolling(data_), tr("&Measurements"));
    SetHelpContextID(this, kHelpContextPlanWindow);
    SetHelpContextID(budget_, kHelpContextBudgetPage);
    SetHelpContextID(field_, kHelpContextFieldPage);
    SetHelpContextID(data_, kHelpContextMeasurementsPage);

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
    autosave_notice_ = new QLabel(this);
    autosave_notice_->setObjectName(QStringLiteral("autosaveNotice"));
    autosave_notice_->setWordWrap(true);
    statusBar()->addWidget(autosave_notice_, 1);
    autosave_notice_->hide();

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
    BuildPageKeys();
    // A command leaves an open cell first, as leaving the cell would, so
    // that its refusal is told before the command asks anything; a refused
    // text stops a command given by its key.
    for (QMenu* menu : menuBar()->findChildren<QMenu*>()) {
        connect(menu, &QMenu::aboutToShow, this, [this] { TakeOpenCellEdit(); });
        for (QAction* action : menu->actions()) action->installEventFilter(this);
    }
}

// A text taken as the focus moves (a cell's editor closing, a box of the
// Field page left, or either of them as a menu opens over it) is answered once
// that move is over and no other box, dialog or open menu stands. A modal box
// inside the move would let the view delete its editor while Qt still
// delivers the move, or close the menu being opened while the menu bar still
// works on it; two boxes would stand at once.
void PlanWindow::ShowRefusalOnceFree(const Refusal& refusal, int delay_ms) {
    QTimer::singleShot(delay_ms, this, [this, refusal] {
        if (QApplication::activeModalWidget() != nullptr || QApplication::activePopupWidget() != nullptr) {
            ShowRefusalOnceFree(refusal, kModalPollMs);
            return;
        }
        messages_.Show(QString::fromStdString(refusal.text), refusal.icon);
    });
}

// The pages are reached from anywhere in the window, the table included,
// as in a tabbed dialog.
void PlanWindow::BuildPageKeys() {
    const std::pair<QKeySequence, int> keys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_Tab), +1},      {QKeySequence(Qt::CTRL | Qt::Key_PageDown), +1},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1}, {QKeySequence(Qt::CTRL | Qt::Key_Backtab), -1},
        {QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1}};
    for (const auto& [key, step] : keys) {
        auto* shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, this, [this, step = step] { StepPage(step); });
    }
}

void PlanWindow::StepPage(int step) {
    const int count = panels_->count();
    ShowPage((panels_->currentIndex() + step + count) % count);
}

// A page without a unit is disabled; the keyboard then stays on the page
// tabs, which name the page.
void PlanWindow::ShowPage(int page) {
    if (!TakeOpenCellEdit()) return;
    panels_->setCurrentIndex(page);
    QWidget* target = panels_->tabBar();
    for (QWidget* w = panels_->currentWidget()->nextInFocusChain(); w && w != panels_->currentWidget();
         w = w->nextInFocusChain()) {
        if (!panels_->currentWidget()->isAncestorOf(w)) break;
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(panels_)) {
            target = w;
            break;
        }
    }
    target->setFocus(Qt::TabFocusReason);
}

// An open cell editor is left as leaving its cell would leave it: its text
// goes to the plan first, and a refused text keeps the keyboard on the cell.
bool PlanWindow::TakeOpenCellEdit() {
    const QModelIndex current = table_->currentIndex();
    QWidget* editor = table_->indexWidget(current);  // the table has no other widgets in cells
    if (!editor) return true;
    QAbstractItemDelegate* delegate = table_->itemDelegateForIndex(current);
    emit delegate->commitData(editor);
    emit delegate->closeEditor(editor, QAbstractItemDelegate::NoHint);
    return !model_->LastEditRefused();
}

// The page tabs' own keys (Alt+D, Alt+L, Alt+M) and the menus' keys leave an
// open cell as the Unit menu's page items do; a refused text keeps the page
// and stops the command.
bool PlanWindow::eventFilter(QObject* watched, QEvent* event) {
    const bool command_key = watched == panels_->tabBar() || qobject_cast<QAction*>(watched) != nullptr;
    if (command_key && event->type() == QEvent::Shortcut && !TakeOpenCellEdit()) return true;
    return QMainWindow::eventFilter(watched, event);
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
    actDefaultCosts = AddAction(menu, tr("Default &Costs\u2026"), "actDefaultCosts", &PlanWindow::EditDefaultCosts);
    actPlanOrder = menu->addAction(tr("Show in &Plan Order"));
    actPlanOrder->setObjectName(QStringLiteral("actPlanOrder"));
    connect(actPlanOrder, &QAction::triggered, this, [this] { table_->sortByColumn(-1, Qt::AscendingOrder); });
}

void PlanWindow::BuildUnitMenu() {
    QMenu* menu = menuBar()->addMenu(tr("&Unit"));
    actAddDesign = AddAction(menu, tr("&Add Design from Design Window"), "actAddDesign", &PlanWindow::AddDesign);
    actAddDesign->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    actDuplicate = AddAction(menu, tr("Dupl&icate"), "actDuplicate", &PlanWindow::DuplicateUnit);
    // The Delete key empties a cell of the table; removing a unit is this.
    actDelete = AddAction(menu, tr("&Delete Unit"), "actDelete", &PlanWindow::DeleteUnits);
    actDelete->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Delete));
    actMoveUp = menu->addAction(tr("Move &Up"));
    actMoveUp->setObjectName(QStringLiteral("actMoveUp"));
    actMoveUp->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Up));
    connect(actMoveUp, &QAction::triggered, this, [this] { MoveUnit(-1); });
    actMoveDown = menu->addAction(tr("Move Do&wn"));
    actMoveDown->setObjectName(QStringLiteral("actMoveDown"));
    actMoveDown->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Down));
    connect(actMoveDown, &QAction::triggered, this, [this] { MoveUnit(+1); });
    actRename = AddAction(menu, tr("&Rename\u2026"), "actRename", &PlanWindow::RenameUnit);
    actRename->setShortcut(QKeySequence(Qt::Key_F2));
    actUnitCosts = AddAction(menu, tr("Unit &Costs\u2026"), "actUnitCosts", &PlanWindow::EditUnitCosts);
    menu->addSeparator();
    actOpenInDesign =
        AddAction(menu, tr("&Open in Design Window"), "actOpenInDesign", &PlanWindow::OpenInDesignWindow);
    actCompare = AddAction(menu, tr("Com&pare Curves"), "actCompare", &PlanWindow::CompareCurves);
    AddCheckColumnsToggle(menu);
    menu->addSeparator();
    actAssess = AddAction(menu, tr("A&ssess Data\u2026"), "actAssess", &PlanWindow::AssessData);
    menu->addSeparator();
    const QString pages[] = {tr("&Budget\u2026"), tr("&Field\u2026"), tr("&Measurements\u2026")};
    for (int page = 0; page < 3; ++page) {
        actPages[page] = menu->addAction(pages[page]);
        actPages[page]->setObjectName(QStringLiteral("actPage%1").arg(page));
        connect(actPages[page], &QAction::triggered, this, [this, page] { ShowPage(page); });
    }
}

// The check's columns cost a check per unit in view: shown on request only.
void PlanWindow::AddCheckColumnsToggle(QMenu* menu) {
    actCheckColumns = menu->addAction(tr("Design C&heck Columns"));
    actCheckColumns->setObjectName(QStringLiteral("actCheckColumns"));
    actCheckColumns->setCheckable(true);
    connect(actCheckColumns, &QAction::toggled, this, [this](bool shown) {
        model_->SetCheckColumnsShown(shown);
        // Wide enough for a simulated power and its error, without measuring
        // (which would check every unit measured).
        const QFontMetrics metrics = table_->fontMetrics();
        const int figure = metrics.horizontalAdvance(QStringLiteral("0.0000 +- 0.0000"));
        for (int c = kPlanColumnCount; shown && c < model_->columnCount(); ++c) {
            const QString title = model_->headerData(c, Qt::Horizontal).toString();
            table_->setColumnWidth(c, std::max(figure, metrics.horizontalAdvance(title)) + 2 * metrics.height());
        }
    });
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
    // Counted from the first unsaved change: restarted by each, steady work
    // would never be kept.
    if (HasUnsavedChanges() && !autosave_timer_->isActive()) autosave_timer_->start();
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
    actUnitCosts->setEnabled(!rows.empty());
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

// Several rows go as one step. A unit whose measurements or field work
// would go with it is removed only when the user says so.
void PlanWindow::DeleteUnits() {
    const std::vector<std::size_t> rows = SelectedRows();
    QStringList carrying;
    for (const std::size_t row : rows) {
        const PlanUnit& unit = model_->Plan().entry(row).unit;
        if (CarriesFieldWork(unit)) carrying << QString::fromStdString(unit.name);
    }
    if (!carrying.isEmpty() && !dialogs_.AskDeleteUnits(carrying.join(QStringLiteral(", ")))) return;
    model_->Plan().RemoveRows(rows);
}

void PlanWindow::ClearCells() {
    const QModelIndex current = table_->currentIndex();
    if (!current.isValid()) return;
    const std::optional<PlanColumn> column = PlanColumnAt(current.column());
    const std::optional<PlanField> field = column ? EditedField(*column) : std::nullopt;
    if (!field) return;  // a result: nothing typed to clear
    std::vector<std::size_t> rows = SelectedRows();
    if (rows.empty()) rows.push_back(static_cast<std::size_t>(proxy_->mapToSource(current).row()));
    ShowRefusal(model_->Plan().ClearField(rows, *field));
}

void PlanWindow::CopyRows() {
    const std::vector<std::size_t> rows = SelectedRows();
    if (rows.empty()) return;
    QGuiApplication::clipboard()->setText(QString::fromStdString(PlanRowsAsText(model_->Plan(), rows)));
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

// The selected units' costs, as one step. A box shows the cost the units
// share, or nothing where they differ; a box left as it was shown keeps
// each unit's own.
void PlanWindow::EditUnitCosts() {
    const std::vector<std::size_t> rows = SelectedRows();
    if (rows.empty()) return;
    const auto shared = [&](std::optional<double> SampleCosts::*cost) {
        const QString first = CostText(model_->Plan().entry(rows.front()).unit.costs.*cost);
        for (const std::size_t row : rows) {
            if (CostText(model_->Plan().entry(row).unit.costs.*cost) != first) return QString();
        }
        return first;
    };
    const CostTexts shown{shared(&SampleCosts::fixed), shared(&SampleCosts::per_sample)};
    const std::optional<CostTexts> answer = dialogs_.AskCosts(tr("Unit Costs"), shown, false);
    if (!answer) return;
    const auto changed = [](const QString& typed, const QString& was) -> std::optional<std::string> {
        if (typed.trimmed() == was) return std::nullopt;
        return typed.trimmed().toStdString();
    };
    ShowRefusal(model_->Plan().SetCosts(rows, changed(answer->fixed, shown.fixed),
                                        changed(answer->per_sample, shown.per_sample)));
}

void PlanWindow::EditDefaultCosts() {
    const SampleCosts& costs = model_->Plan().default_costs();
    const std::optional<CostTexts> answer =
        dialogs_.AskCosts(tr("Default Costs"), {CostText(costs.fixed), CostText(costs.per_sample)}, true);
    if (!answer) return;
    const std::string fixed = answer->fixed.trimmed().toStdString();
    const std::string per_sample = answer->per_sample.trimmed().toStdString();
    ShowRefusal(answer->all_units ? model_->Plan().SetDefaultCostsForAll(fixed, per_sample)
                                  : model_->Plan().SetDefaultCosts(fixed, per_sample));
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
