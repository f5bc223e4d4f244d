// SPDX-License-Identifier: Apache-2.0
#pragma once
// A site's survey plan for the benchmarks: units of both tests with varied
// inputs, a tenth with a given size, all with costs.

#include <string>
#include <vector>

#include "plan_file.h"

namespace valdris::bench {

inline std::vector<PlanUnit> SiteUnits(int count) {
    std::vector<PlanUnit> units;
    units.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        PlanUnit unit;
        unit.name = "Unit " + std::to_string(i + 1);
        unit.test = i % 2 == 0 ? TestKind::Sign : TestKind::WRS;
        unit.sigma = 0.2f + 0.001f * static_cast<float>(i % 300);
        unit.lbgr = 0.3 + 0.0005 * (i % 400);
        if (i % 10 == 0) unit.given_n = 15 + i % 40;
        unit.costs = {1000.0, 200.0};
        units.push_back(unit);
    }
    return units;
}

inline std::string SitePlanFile(int count) {
    SurveyPlan plan;
    for (const PlanUnit& unit : SiteUnits(count)) plan.Add(unit);
    return WritePlan(plan);
}

}  // namespace valdris::bench
