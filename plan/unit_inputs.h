// SPDX-License-Identifier: Apache-2.0
#pragma once
// A survey unit of a plan as data: its inputs, the fields an edit names and
// the texts of the field panel's boxes and tables. The rules on them live in
// plan_unit (the design) and plan_unit_field (the unit in the field).

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "design_inputs.h"
#include "measurement_set.h"
#include "plan_figures.h"
#include "refusal.h"
#include "sum_of_fractions.h"
#include "unit_field.h"

namespace valdris {

// The inputs are held at the widths the design stores them (alpha, beta and
// sigma single, DCGL and LBGR double), so a unit means exactly one design.
// Features that add data to a unit (sample locations, elevated areas,
// nuclides, measurements) add optional members here and keys to the file's
// key table; a unit without them is as before.
//
// A unit with radionuclides is designed on their sum of fractions (see
// InputsOf): its own DCGL and sigma are then kept but not used, so that
// clearing the list gives the single-radionuclide design back; its LBGR is
// used, as a fraction, only while some concentration is not given.
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
    // Measurements taken in the field; empty while there are none. The
    // survey unit's may say where each was taken (an id or a place).
    MeasurementSet survey_data;
    MeasurementSet reference_data;  // the WRS test's reference area
    // In the field: the size, grid, seed, scan MDC and area factors, each
    // optional (unit_field.h says what each part gives).
    FieldSetup field;
    // Several radionuclides; empty for a unit of one.
    std::vector<Nuclide> nuclides;
    // The size of each elevated area found by investigating it (m2), by the
    // id of its location; an area without one is taken as one location's
    // share of the unit.
    std::map<std::string, double> elevated_area_sizes;
};

// Which of a unit's two sets of measurements.
enum class UnitData { Survey, Reference };

// What a cell of the plan's table, or a box of the unit's field panel, edits.
enum class PlanField {
    Name, Radionuclide, Test, Alpha, Beta, Sigma, DCGL, LBGR, GivenN, CostFixed, CostPerSample,
    Area, Width, Height, Grid, Seed, ScanMDC, AreaFactors, Nuclides, Boundary, GridAngle, Origin
};
constexpr std::size_t kPlanFieldCount = 22;

// The texts of the field panel's three size boxes.
struct SizeTexts {
    std::string area;
    std::string width;
    std::string height;
};
// A row of the area factors' or the radionuclides' table as cell texts.
struct AreaFactorTexts {
    std::string area;
    std::string factor;
};
struct NuclideTexts {
    std::string name;
    std::string dcgl;
    std::string sigma;
    std::string concentration;  // empty: not given
};
// A refusal of a unit with the field it belongs to.
struct FieldRefusal {
    PlanField field;
    Refusal refusal;
};
}  // namespace valdris
