// SPDX-License-Identifier: Apache-2.0
#pragma once
// What the plan report's table adds to the plan's own columns: a verdict
// column while some unit has measurements, and a totals row (the samples
// taken and the cost); and the refusal of a report of an empty plan.

#include <cstdint>
#include <optional>
#include <string>

#include "plan.h"

namespace valdris {

inline const std::string kNothingToReport = "The plan has no units: there is nothing to report.";

// Some unit of the plan has measurements (the report then has a verdict column).
bool HasMeasurements(const SurveyPlan& plan);
// "Passes", "Fails", "No verdict" (measurements that cannot be judged yet),
// or empty for a unit without measurements.
std::string VerdictCellText(const PlanEntry& entry);

// Every unit's samples taken (final N and reference area) and the sum of
// the costs of the units that have one (nothing when none has).
struct PlanTotals {
    std::int64_t samples = 0;
    std::optional<double> cost;
};
PlanTotals TotalsOf(const SurveyPlan& plan);

}  // namespace valdris
