// SPDX-License-Identifier: Apache-2.0
#pragma once
// One survey unit of a plan: its inputs (unit_inputs.h), the rules an edit
// of one of them goes through (the design window's, with its messages), and
// what a budget buys at other LBGRs.

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data_assessment.h"
#include "design_inputs.h"
#include "input_rules.h"
#include "measurement_set.h"
#include "measurement_text.h"
#include "placed_assessment.h"
#include "plan_figures.h"
#include "sum_of_fractions.h"
#include "unit_field.h"
#include "unit_inputs.h"

namespace valdris {

MeasurementSet& MeasurementsOf(PlanUnit& unit, UnitData which);

// The inputs the unit's design runs with: its own, or with radionuclides
// those of the sum of fractions (DCGL 1, the combined sigma, the LBGR from
// the concentrations when every one is given, else the unit's LBGR as a
// fraction). Every face designs a unit through this one function.
DesignInputs InputsOf(const PlanUnit& unit);
// The sum of fractions of the unit's radionuclides; nothing without them.
std::optional<SumOfFractions> SumOfFractionsOf(const PlanUnit& unit);
// What a report names the unit's radionuclide by: the list of its
// radionuclides ("Co-60, Cs-137"), or its radionuclide text.
std::string RadionuclideText(const PlanUnit& unit);

// The rule on a new LBGR for the unit (a row of the budget table): below the
// DCGL its design runs with; refused while its radionuclides give the LBGR.
std::optional<Refusal> LBGRSetRefusal(const PlanUnit& unit, double lbgr);

// The unit's field figures for its design's figures (the survey unit's N and
// the DCGL the design ran with), or why they cannot be had.
Outcome<FieldFigures> ComputeUnitField(const PlanUnit& unit, const DesignFigures& figures);

// The unit with the inputs of a design: the radionuclide text, the test and
// the values the state holds (the design window's stored values, from which
// its results were computed). Name, given size and costs stay as they were;
// PlanUnit{"name"} starts a new unit.
// A unit with radionuclides takes the test, alpha and beta, and the LBGR
// only while its concentrations do not give it.
PlanUnit WithDesignInputs(PlanUnit unit, std::string radionuclide, TestKind test, const DesignSummary& state);

// The unit's figures, or the first rule that refuses its inputs.
FiguresRun ComputeUnit(const PlanUnit& unit, CurveRoom* keep_curve = nullptr);
// The figures with the samples the unit's field takes (the elevated-area
// check may add to N), the cost counting them.
DesignFigures WithFieldSamples(const PlanUnit& unit, DesignFigures figures);

// How a field's text is read into a unit by the field's own rule; an
// accepted text may leave a notice (the LBGR reset to half a lowered DCGL).
using FieldTextRule = std::optional<Refusal> (*)(const std::string& text, PlanUnit& unit,
                                                 std::optional<Refusal>& notice);

// The one declaration of a field: its title (an undo step is "Edit
// <title>"), its key in a plan file, whether a file must give it, and its
// text rule. The plan file's reader and writer of the key sit beside the
// file's other keys.
// Whether a unit leaves an optional field empty (nothing to clear).
using FieldEmptyRule = bool (*)(const PlanUnit& unit);
struct PlanFieldRow {
    PlanField field;
    const char* title;
    const char* key;
    bool required;
    bool one_number;  // typed as one number: its decimal separator follows the locale
    FieldTextRule read;
    FieldEmptyRule empty = nullptr;  // none: the field always holds a value
};
const PlanFieldRow& FieldRow(PlanField field);

// An accepted edit: the unit afterwards and its figures, with the notice
// the edit may leave (the LBGR reset to half a lowered DCGL, with the
// information icon). A refused edit keeps the old unit and says why.
struct EditedUnit {
    PlanUnit unit;
    DesignFigures figures;
    std::optional<Refusal> notice;
};
using UnitEdit = Outcome<EditedUnit>;

// Reads the text as one whole number (a cell that is not one is refused,
// saying a point is the decimal separator) and applies the design window's
// rule on that input; the test is "sign" or "wrs" (any case, "Test"
// may follow); the given size and the costs are whole numbers or empty for
// none. Then the unit as a whole must give a design.
//
// The field inputs: the area replaces a rectangle (empty: no size); the width
// or the height changes one side of a rectangle the unit has (a unit without
// one takes both at once, through SetSize); the grid is "triangular" or
// "square" (any case); the seed a whole number from 0 to 2^53 - 1 and the
// scan MDC a number above zero, each empty for none; the area factors
// "1:10, 10:3, 100:1.5" and the radionuclides "Co-60:5:0.5:1; Cs-137:10:2",
// each empty for none. Radionuclides refuse an edit of the unit's DCGL or
// sigma, and of its LBGR while the concentrations give it; a list without
// every concentration on a unit whose LBGR is not below 1 resets the LBGR to
// 0.5, with the notice (and an empty list one not below the unit's DCGL to
// half of it).
UnitEdit EditUnit(const PlanUnit& unit, PlanField field, const std::string& text);

// The size from the panel's three boxes (SizeTexts): a width and a height
// make a rectangle (the area box is then not read); one of them alone is
// refused; else the area, or no size when it is empty too.
UnitEdit EditUnitSize(const PlanUnit& unit, const SizeTexts& texts);

// The tables as rows of cell texts; no rows clears the table. A refusal
// names the row's field (the area factors' row, the radionuclide's DCGL).
UnitEdit EditUnitAreaFactors(const PlanUnit& unit, const std::vector<AreaFactorTexts>& rows);
UnitEdit EditUnitNuclides(const PlanUnit& unit, const std::vector<NuclideTexts>& rows);

// The unit with this seed (one "New Seed" drew); one above 2^53 - 1 is refused.
UnitEdit EditUnitSeed(const PlanUnit& unit, std::uint64_t seed);

// The unit laid out over a boundary imported from a site drawing (checked
// and measured): its area becomes the boundary's; the grid's angle, origin
// and shortfall rule stay. A typed size (area, width, height) later replaces
// the boundary, and an empty boundary box removes it.
UnitEdit EditUnitBoundary(const PlanUnit& unit, const Boundary& boundary, double area);

// The same for a whole unit (one from the design window or a file): every
// rule, then the design. A refusal says which field it belongs to.
// The field inputs and the radionuclides are checked as their edits check
// them, and the field figures must be had.
Outcome<DesignFigures, FieldRefusal> CheckUnit(const PlanUnit& unit, CurveRoom* keep_curve = nullptr);

// The rule on a stored set of measurements, which a file and a command both
// apply: none yet, or as many as a reading of measurements takes. The message
// names the set ("The survey unit's measurements: ...").
std::optional<Refusal> UnitDataRefusal(const std::vector<double>& values, UnitData which);
// The first of the unit's two sets that the rule refuses.
std::optional<Refusal> UnitDataRefusal(const PlanUnit& unit);

// The unit with one set of measurements read from pasted text or a file's
// text (a column chosen by its header when `column` is given), or the
// reading's refusal, which names the line (`progress`: measurement_text.h).
UnitEdit EditUnitData(const PlanUnit& unit, UnitData which, std::string_view text, const std::string& column = {},
                      const ReadProgress& progress = {});

// The unit with survey measurements read beside where each was taken (an id
// column, or x and y columns; measurement_text.h has the reading's rules),
// or the reading's refusal, which names the line. Taken, it carries a notice
// (the information icon) naming the measurements joined to no location.
UnitEdit EditUnitPlacedData(const PlanUnit& unit, std::string_view text, const std::string& column,
                            const PlaceColumns& place, const ReadProgress& progress = {});

// The unit with the size of the elevated area at this location, found by
// investigating it; no size gives the area back its default.
UnitEdit EditElevatedAreaSize(const PlanUnit& unit, const std::string& location, std::optional<double> size);

// The rule on the stored places of the survey measurements: an id each
// (none empty, none twice) or a place each (finite), not both.
std::optional<Refusal> PlacesRefusal(const MeasurementSet& data);

// The verdict on the unit's measurements by the test of its design (figures
// must be the unit's own): nothing while the unit has no measurements, the
// refusal while they cannot be judged (a WRS unit without reference data).
std::optional<AssessmentRun> AssessUnit(const PlanUnit& unit, const DesignFigures& figures);

// The join and the comparison of the unit's survey measurements, by its
// field figures (the locations and the final N) and the DCGL its design ran
// with.
PlacedAssessment PlaceUnitMeasurements(const PlanUnit& unit, const FieldFigures& field, double dcgl);
// The DCGL_EMC each survey measurement is held against, for that placing
// (DCGLEMCOfEach, with the unit's elevated-area check).
std::vector<double> UnitDCGLEMCs(const PlanUnit& unit, const FieldFigures& field, const PlacedAssessment& placed);

// One row of "what the budget buys": the unit at another LBGR, with its
// figures or the refusal of the rules or the engine at that LBGR.
struct BudgetRow {
    double lbgr = 0;
    bool current = false;  // the unit's own LBGR
    Outcome<DesignFigures> figures;
};

// The unit at another LBGR: with radionuclides, their concentrations are
// left out so that the LBGR given is the one its design uses.
PlanUnit UnitAtLBGR(PlanUnit unit, double lbgr);

// LBGR from a tenth to nine tenths of the DCGL its design uses, in tenths,
// and the unit's own, in ascending order (the own one marked, once); each
// row is the design of UnitAtLBGR.
std::vector<BudgetRow> BudgetTable(const PlanUnit& unit);

}  // namespace valdris
