// SPDX-License-Identifier: Apache-2.0
#pragma once
// What the places of a unit's measurements give beside the verdict: the join
// to its locations (for the posting plot and the names of what did not
// join) and the elevated-measurement comparison. The plan and the companion
// both take them from here.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "elevated_comparison.h"
#include "measurement_join.h"
#include "unit_field.h"

namespace valdris {

// The survey unit's values and where they were taken: an id each, a place
// each, or neither.
struct PlacedValues {
    const std::vector<double>& values;
    const std::vector<std::string>& ids;
    const std::vector<GridPoint>& places;
};

struct PlacedAssessment {
    bool placed = false;  // the values carry an id each or a place each
    // The values carry places and the unit has locations: the join, or why
    // it cannot be made.
    std::optional<Outcome<MeasurementJoin>> join;
    // The values carry places the unit has no locations for yet.
    bool locations_needed = false;
    // The unit has its area and area factors: the comparison, or why it
    // cannot be made.
    std::optional<Outcome<ElevatedComparison>> comparison;
};

// For the unit's field inputs and figures (the locations and the final N)
// and the DCGL its design ran with; `sizes` are the elevated areas' sizes
// entered after investigating them, by location id.
PlacedAssessment AssessPlaces(const PlacedValues& data, const FieldSetup& setup, const FieldFigures& field,
                              double dcgl, const std::map<std::string, double>& sizes);

// The DCGL_EMC each value is held against, beside the values. Where they
// say where they were taken and the comparison is made, its own area's, the
// one the comparison judges it by (the size entered after investigating it,
// else one location's share); otherwise `check_dcgl_emc`, the elevated-area
// check's (0: none). One value, one DCGL_EMC on every face.
std::vector<double> DCGLEMCOfEach(const PlacedAssessment& placed, std::size_t values, double check_dcgl_emc);

// The DCGL_EMC a legend or caption may name for values drawn against
// `dcgl_emc` (beside them): the one all those above the DCGL share (every
// value's when none is above it); nothing when they differ; 0 when none is
// held against one.
std::optional<double> NamedDCGLEMC(const std::vector<PostedValue>& values, double dcgl,
                                   const std::vector<double>& dcgl_emc);

// The words of both: the join's lines, then the comparison's verdict and
// lines, or why either is missing.
std::vector<std::string> PlacedAssessmentLines(const PlacedAssessment& placed, const std::string& unit = {});

}  // namespace valdris
