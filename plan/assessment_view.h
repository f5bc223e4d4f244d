// SPDX-License-Identifier: Apache-2.0
#pragma once
// What the plan window's measurements panel shows for one unit: which sets
// of measurements it offers, the verdict's words or why there is none, and
// what the picture says to a screen reader.

#include <optional>
#include <string>

#include "assessment_texts.h"
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
};

AssessmentView MakeAssessmentView(const PlanEntry& entry);

}  // namespace valdris
