// SPDX-License-Identifier: Apache-2.0
#pragma once
// What the plan window's measurements panel shows for one unit: which sets
// of measurements it offers, the verdict's words or why there is none, and
// what the picture says to a screen reader.

#include <optional>
#include <string>
#include <vector>

#include "assessment_texts.h"
#include "placed_assessment.h"
#include "plan.h"

namespace valdris {

inline const std::string kNoMeasurementsYet =
    "No measurements yet: paste a column of numbers, or import a CSV or TSV file.";

struct AssessmentView {
    // The WRS test's reference area, or reference data a unit switched to
    // the Sign test still keeps (so that they can be seen and cleared).
    bool reference_shown = false;
    bool plot_shown = false;     // the unit has survey measurements to draw
    bool plot_reference = false;  // the reference values are drawn too (WRS)
    std::string status;          // without a verdict: why there is none
    std::optional<AssessmentTexts> texts;
    std::string plot_description;
    // The measurements placed where they were taken, drawn against the DCGL
    // and each against its DCGL_EMC (beside them; 0 without one) when there
    // are any. Empty when the measurements carry no locations.
    std::vector<PostedValue> posted;
    double dcgl = 0;
    std::vector<double> dcgl_emc;
    std::string posting_description;
    // The join and the elevated-measurement comparison in words, the
    // comparison's verdict naming each area that fails; empty when the unit
    // has neither.
    std::vector<std::string> area_lines;
    // The compared elevated areas that joined a location, whose size the
    // planner may enter after investigating it.
    std::vector<ElevatedAreaResult> sizable_areas;
};

// The join and the comparison of the entry's survey measurements, by its
// locations, area factors and design.
PlacedAssessment PlaceUnitMeasurements(const PlanEntry& entry);

AssessmentView MakeAssessmentView(const PlanEntry& entry);

}  // namespace valdris
