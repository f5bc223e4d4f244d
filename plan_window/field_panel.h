// SPDX-License-Identifier: Apache-2.0
#pragma once
// The selected unit in the field: its size, grid and seed with the spacing,
// the locations and their map; the elevated-area check from its area-factor
// table and scan MDC; its radionuclides and their sum of fractions. The panel
// shows the unit; the plan window carries out the edits it asks for, and
// the unit shows its values again whether they were taken or refused.

#include <QWidget>
#include <functional>
#include <vector>

#include "field_view.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace valdris {

class DrawingView;

// The object name of a field's box ("areaBox", "seedBox"), by which the
// panel names it for tools that find widgets by name.
QString FieldBoxName(PlanField field);

class FieldPanel : public QWidget {
    Q_OBJECT
public:
    explicit FieldPanel(QWidget* parent = nullptr);

    // The unit to show, or none (no single unit selected).
    void ShowEntry(const PlanEntry* entry);

    // Asked for by the boxes (Area, Width, Height, Grid, Seed, ScanMDC: the
    // field and its text; the size's three boxes come along), the tables'
    // Apply buttons, New Seed and Export Locations.
    std::function<void(PlanField, const QString&, const SizeTexts&)> edited;
    std::function<void(const std::vector<AreaFactorTexts>&)> area_factors_applied;
    std::function<void(const std::vector<NuclideTexts>&)> nuclides_applied;
    std::function<void()> new_seed;
    std::function<void()> export_locations;
    std::function<void()> save_map;
    std::function<void()> print_map;
    std::function<void()> import_boundary;
    // A block pasted into a table that cannot be taken.
    std::function<void(const Refusal&)> refused;

private:
    QLineEdit* Box(PlanField field) const;
    QWidget* MakeLocations();
    QWidget* MakeElevatedArea();
    QWidget* MakeNuclides();
    QLineEdit* MakeBox(PlanField field, QWidget* parent);
    SizeTexts Size() const;

    QLabel* heading_;
    std::vector<std::pair<PlanField, QLineEdit*>> boxes_;
    QComboBox* grid_ = nullptr;
    QPushButton* new_seed_button_ = nullptr;
    QPushButton* export_ = nullptr;
    QPushButton* save_map_ = nullptr;
    QPushButton* print_map_ = nullptr;
    QLabel* boundary_ = nullptr;  // the drawn boundary's system and area
    QLabel* locations_ = nullptr;
    QTableWidget* factors_ = nullptr;
    QPushButton* apply_factors_ = nullptr;
    QLabel* elevated_ = nullptr;
    QLabel* scan_mdc_label_ = nullptr;  // names the unit the scan MDC is read in
    QTableWidget* nuclides_ = nullptr;
    QPushButton* apply_nuclides_ = nullptr;
    QLabel* sum_ = nullptr;
    DrawingView* map_;
    bool showing_ = false;  // the boxes are being filled, not edited
};

}  // namespace valdris
