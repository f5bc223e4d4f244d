// SPDX-License-Identifier: Apache-2.0
#pragma once
// One survey unit of a plan: its inputs, the rules an edit of one of them
// goes through (the design window's, with its messages), and what a budget
// buys at other LBGRs.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data_assessment.h"
#include "design_inputs.h"
#include "input_rules.h"
#include "plan_figures.h"

namespace valdris {

// The inputs are held at the widths the design stores them (alpha, beta and
// sigma single, DCGL and LBGR double), so a unit means exactly one design.
// Features that add data to a unit (sample locations, elevated areas,
// nuclides, measurements) add optional members here and keys to the file's
// key table; a unit without them is as before.
struct PlanUnit {
    std::string name;
    std::string radionuclide = "Unity Rule";
    std::string concentration_unit;  // "Bq/kg" beside the report's concentrations; empty for none
    TestKind test = TestKind::Sign;
    float alpha = 0.05f;
    float beta = 0.05f;
    float sigma = 0.5f;
    double dcgl = 1.0;
    double lbgr = 0.5;
    std::optional<int32_t> given_n;  // a size the budget allows, instead of the designed one
    SampleCosts costs;
    // Measurements taken in the field; empty while there are none.
    std::vector<double> survey_data;
    std::vector<double> reference_data;  // the WRS test's reference area
};

// Which of a unit's two sets of measurements.
enum class UnitData { Survey, Reference };
std::vector<double>& MeasurementsOf(PlanUnit& unit, UnitData which);

DesignInputs InputsOf(const PlanUnit& unit);

// The unit with the inputs of a design: the radionuclide text, the test and
// the values the state holds (the design window's stored values, from which
// its results were computed). Name, given size and costs stay as they were;
// PlanUnit{"name"} starts a new unit.
PlanUnit WithDesignInputs(PlanUnit unit, std::string radionuclide, TestKind test, const DesignState& state);

// The unit's figures, or the first rule that refuses its inputs.
FiguresRun ComputeUnit(const PlanUnit& unit);

// What a cell of the plan's table edits.
enum class PlanField { Name, Radionuclide, Test, Alpha, Beta, Sigma, DCGL, LBGR, GivenN, CostFixed, CostPerSample };

// An edit: the unit afterwards and its figures, or the refusal that keeps the
// old unit. An accepted edit may carry a notice (the LBGR reset to half a
// lowered DCGL, with the information icon).
struct UnitEdit {
    std::optional<PlanUnit> unit;
    std::optional<DesignFigures> figures;
    std::optional<Refusal> message;
    bool accepted() const { return unit.has_value(); }
};

// Reads the text as the design window reads that input (alpha, beta, LBGR:
// the leading number; sigma and DCGL through the box's character filter
// first) and applies its rule; the test is "sign" or "wrs" (any case, "Test"
// may follow); the given size and the costs are whole numbers or empty for
// none. Then the unit as a whole must give a design.
UnitEdit EditUnit(const PlanUnit& unit, PlanField field, const std::string& text);

// The same for a whole unit (one from the design window or a file): every
// rule, then the design. A refusal says which field it belongs to.
struct FieldRefusal {
    PlanField field;
    Refusal refusal;
};
struct UnitCheck {
    std::optional<DesignFigures> figures;
    std::optional<FieldRefusal> refusal;
};
UnitCheck CheckUnit(const PlanUnit& unit);

// The rule on a stored set of measurements, which a file and a command both
// apply: none yet, or as many as a reading of measurements takes. The message
// names the set ("The survey unit's measurements: ...").
std::optional<Refusal> UnitDataRefusal(const std::vector<double>& values, UnitData which);
// The first of the unit's two sets that the rule refuses.
std::optional<Refusal> UnitDataRefusal(const PlanUnit& unit);

// The unit with one set of measurements read from pasted text or a file's
// text (a column chosen by its header when `column` is given), or the
// reading's refusal, which names the line.
UnitEdit EditUnitData(const PlanUnit& unit, UnitData which, std::string_view text, const std::string& column = {});

// The verdict on the unit's measurements by the test of its design (figures
// must be the unit's own): nothing while the unit has no measurements, the
// refusal while they cannot be judged (a WRS unit without reference data).
std::optional<AssessmentRun> AssessUnit(const PlanUnit& unit, const DesignFigures& figures);

// One row of "what the budget buys": the unit at another LBGR.
struct BudgetRow {
    double lbgr = 0;
    bool current = false;  // the unit's own LBGR
    std::optional<DesignFigures> figures;
    std::optional<Refusal> refusal;  // the rules or the engine refused this LBGR
};

// LBGR from a tenth to nine tenths of the DCGL in tenths, and the unit's own,
// in ascending order (the own one marked, once).
std::vector<BudgetRow> BudgetTable(const PlanUnit& unit);

}  // namespace valdris
