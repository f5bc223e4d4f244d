// SPDX-License-Identifier: Apache-2.0
#pragma once
// The Survey Plan window: the plan's table, what the budget buys for the
// selected unit, the commands on units, undo and redo, and the plan's files.
// The plan's rules live in the plan model; this window only adapts.

#include <QMainWindow>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "map_page.h"
#include "plan.h"
#include "plan_document.h"

class QAction;
class QLabel;
class QMenu;
class QSortFilterProxyModel;
class QTabWidget;
class QTableView;
class QTimer;

namespace valdris {

struct BoundaryFeature;
struct BoundarySource;
class BudgetPanel;
class DataPanel;
class FieldPanel;
class DesignWindowLink;
class FileErrand;
class MessageBoxes;
class PlanDialogs;
class PlanTableModel;

class PlanWindow : public QMainWindow {
    Q_OBJECT
public:
    // The link may be null (no design window to work with); without dialogs
    // the window asks with Qt's own.
    PlanWindow(MessageBoxes& messages, DesignWindowLink* link, PlanDialogs* dialogs = nullptr,
               QWidget* parent = nullptr);
    ~PlanWindow() override;

    // "Add Design to Plan" in the design window: its design as a new unit.
    void AddDesign();
    // Reads the file; a refused file is reported and the plan stays as it was.
    bool OpenPlanFile(const QString& path);
    // Offers the autosaves an earlier run left in the state folder, while
    // the window holds a new empty plan.
    void OfferLeftoverAutosaves();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // --- Commands (the menus' actions call these).
    void DuplicateUnit();
    void DeleteUnits();
    // The Delete key in the table: the current column's cells of the
    // selected rows emptied, where the column may be empty.
    void ClearCells();
    // Ctrl+C in the table: the selected rows with the column titles.
    void CopyRows();
    // A page of the unit's panels, by keys or the Unit menu; the keyboard
    // goes to the page's first control.
    void ShowPage(int page);
    void StepPage(int step);
    // False when the cell being edited refused its text.
    bool TakeOpenCellEdit();
    void MoveUnit(int direction);
    void RenameUnit();
    void EditUnitCosts();
    void EditDefaultCosts();
    void OpenInDesignWindow();
    void CompareCurves();
    void SetLBGRFromBudget(double lbgr);

    // --- Measurements (plan_window_data.cpp): the selected unit's.
    void AssessData();  // shows the measurements and the verdict
    void PasteData(UnitData which);
    void ImportData(UnitData which);
    void ImportDataFile(UnitData which, const QString& path);
    void ClearData(UnitData which);
    // "Area Size...": an elevated area's investigated size (blank for A/n).
    void EditAreaSize();

    // --- The field (plan_window_field.cpp): the selected unit's.
    void EditField(PlanField field, const QString& text, const SizeTexts& size);
    bool ExportLocations();
    std::optional<MapPage> SelectedMapPage() const;
    bool SaveMap();
    void PrintMap();
    // "Boundary...": a site drawing's polygon (one chosen from a list when
    // the layer holds several) for the selected unit, or a new unit of each.
    bool ImportBoundary();

    // --- Files (plan_window_files.cpp). Each returns whether it was done.
    bool NewPlan();
    bool OpenPlan();
    bool SavePlan();
    bool SavePlanAs();
    bool ExportCsv();
    // The PDF: the plan's table, then each unit's design report.
    bool SaveReport();
    // Asks about unsaved changes; false when the user chose to stay.
    bool MaySetPlanAside();
    bool HasUnsavedChanges() const;
    void WriteAutosave();

    // Rows of the plan (not of the sorted view) that are selected, in order.
    std::vector<std::size_t> SelectedRows() const;
    void SelectRow(std::size_t row);

    void BuildMenus();
    void BuildFileMenu();
    void BuildEditMenu();
    void BuildUnitMenu();
    void AddCheckColumnsToggle(QMenu* menu);
    void BuildPageKeys();
    QAction* AddAction(QMenu* menu, const QString& text, const char* name, void (PlanWindow::*slot)());
    void Follow(const PlanChange& change);
    void UpdateState();
    void UpdatePanels();
    void ShowPanel(QWidget* panel);
    void ConnectFieldPanel();
    void FieldEdited(const PlanEditResult& result);  // the page of the unit's panels that holds it
    void SetData(UnitData which, const std::string& text, const QString& source);
    // Where the survey measurements were taken, as the user names the
    // columns; nothing when cancelled.
    std::optional<PlaceColumns> AskPlaceColumns(const std::vector<std::string>& headers, const std::string& column);
    bool MakeBoundaryUnits(std::size_t row, const BoundarySource& source, const std::vector<BoundaryFeature>& features);
    void ShowRefusal(const PlanEditResult& result);
    void ShowRefusalOnceFree(const Refusal& refusal, int delay_ms = 0);
    void DesignInputTaken();
    void SetLinkedUnit(std::optional<UnitId> unit);
    std::optional<std::size_t> SingleSelectedRow() const;

    // Files.
    // autosave: the leftover the plan was recovered from; empty when read.
    void TakePlan(SurveyPlan plan, const QString& path, const FileStamp& read, const QString& autosave);
    void RememberRecent(const QString& path);
    void FillRecentMenu();
    void RemoveAutosave();
    // The deeds of the file commands' steps (FileErrand).
    bool Carry(FileErrand errand);
    std::string AskPlanName(const QString& suggested);
    bool WritePlanFile(const QString& path);
    bool TakeAutosave(const QString& autosave, const QString& path);
    QString DisplayName() const;
    QString PlanFolder() const;
    QString AskExportName(const QString& title, const QString& suffix, const QString& filter);

    MessageBoxes& messages_;
    std::unique_ptr<PlanDialogs> own_dialogs_;
    PlanDialogs& dialogs_;
    DesignWindowLink* link_;
    PlanTableModel* model_;
    QSortFilterProxyModel* proxy_;
    QTableView* table_;
    QTabWidget* panels_;
    BudgetPanel* budget_;
    DataPanel* data_;
    FieldPanel* field_;
    QTimer* autosave_timer_;
    QLabel* autosave_notice_;  // shown while changes are not being kept
    PlanDocument document_;
    bool loading_unit_ = false;  // the design window is being loaded from a unit
    std::optional<UnitId> linked_unit_;  // the unit the design window edits

    QAction* actNew = nullptr;
    QAction* actOpen = nullptr;
    QAction* actSave = nullptr;
    QAction* actSaveAs = nullptr;
    QAction* actExportCsv = nullptr;
    QAction* actSaveReport = nullptr;
    QAction* actClose = nullptr;
    QAction* actUndo = nullptr;
    QAction* actRedo = nullptr;
    QAction* actAddDesign = nullptr;
    QAction* actDuplicate = nullptr;
    QAction* actDelete = nullptr;
    QAction* actMoveUp = nullptr;
    QAction* actMoveDown = nullptr;
    QAction* actRename = nullptr;
    QAction* actUnitCosts = nullptr;
    QAction* actCheckColumns = nullptr;
    QAction* actDefaultCosts = nullptr;
    QAction* actPlanOrder = nullptr;
    QAction* actOpenInDesign = nullptr;
    QAction* actCompare = nullptr;
    QAction* actAssess = nullptr;
    QAction* actPages[3] = {};
    QMenu* mnuRecent = nullptr;
};

}  // namespace valdris
