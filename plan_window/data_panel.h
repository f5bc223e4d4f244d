// SPDX-License-Identifier: Apache-2.0
#pragma once
// The selected unit's measurements and the verdict on them: the survey
// unit's values and, for the WRS test, the reference area's, each pasted or
// imported; the decision, its figures, the values to investigate, the power
// the measurements leave, and the values drawn against the DCGL. The panel
// shows; the plan window carries out what its buttons ask.

#include <QFont>
#include <QWidget>
#include <array>
#include <functional>

#include "assessment_view.h"
#include "plan.h"

class QFormLayout;
class QLabel;
class QListWidget;
class QPushButton;
class QTableView;
class QTableWidget;
class QVBoxLayout;

namespace valdris {

class DrawingView;
class MeasurementModel;

class DataPanel : public QWidget {
    Q_OBJECT
public:
    enum class Request { Paste, Import, Clear };
    // The object name of a set's button ("pasteSurvey", "clearReference"),
    // by which the panel names it for tools that find widgets by name.
    static QString ButtonName(Request request, UnitData which);

    explicit DataPanel(QWidget* parent = nullptr);

    // The unit to show, or none (no single unit selected).
    void ShowEntry(const PlanEntry* entry);
    void SetRequested(std::function<void(Request, UnitData)> requested) { requested_ = std::move(requested); }
    void FocusSurveyData();
    // "Area Size…": the planner enters an investigated elevated area's size.
    void SetAreaSizeRequested(std::function<void()> requested) { area_size_requested_ = std::move(requested); }

private:
    struct DataColumn {
        QWidget* box = nullptr;
        QLabel* title = nullptr;
        QTableView* table = nullptr;
        MeasurementModel* model = nullptr;
        std::array<QPushButton*, 3> buttons{};
    };
    const DataColumn& Column(UnitData which) const { return columns_[which == UnitData::Survey ? 0 : 1]; }
    DataColumn MakeColumn(UnitData which);
    QWidget* MakeResults();
    QTableWidget* MakeFigures(QWidget* parent);
    QVBoxLayout* MakeInvestigate();
    void ShowPower(const std::vector<ReportLine>& lines);
    void ShowData(const PlanEntry* entry, const AssessmentView& view);
    void ShowPosting(const PlanEntry* entry, const AssessmentView& view);
    void ShowVerdict(const AssessmentTexts& texts);
    void ClearVerdict(const QString& status);
    void ShowAreas(const AssessmentView& view);

    QLabel* heading_;
    std::array<DataColumn, 2> columns_;
    QLabel* decision_ = nullptr;
    QFont decision_font_;
    QLabel* reason_ = nullptr;
    QFormLayout* power_ = nullptr;
    QLabel* note_ = nullptr;
    QTableWidget* figures_ = nullptr;
    QLabel* area_lines_ = nullptr;  // the join and the elevated-area comparison
    QPushButton* area_size_ = nullptr;
    QLabel* investigate_title_ = nullptr;
    QListWidget* investigate_ = nullptr;
    DrawingView* plot_;
    QLabel* plot_caption_;
    DrawingView* posting_;  // shown only when the measurements carry their locations
    QLabel* posting_caption_;
    std::function<void(Request, UnitData)> requested_;
    std::function<void()> area_size_requested_;
};

}  // namespace valdris
