// SPDX-License-Identifier: Apache-2.0
#include "plan_summary.h"

namespace valdris {

bool HasMeasurements(const SurveyPlan& plan) {
    for (const PlanEntry& entry : plan.entries()) {
        if (entry.assessment) return true;
    }
    return false;
}

std::string VerdictCellText(const PlanEntry& entry) {
    if (!entry.assessment) return {};
    if (!*entry.assessment) return "No verdict";
    return (*entry.assessment)->passes ? "Passes" : "Fails";
}

PlanTotals TotalsOf(const SurveyPlan& plan) {
    PlanTotals totals;
    for (const PlanEntry& entry : plan.entries()) {
        totals.samples += std::int64_t{entry.figures.final_n} + entry.figures.n_reference;
        if (entry.figures.cost) totals.cost = totals.cost.value_or(0.0) + *entry.figures.cost;
    }
    return totals;
}

}  // namespace valdris
