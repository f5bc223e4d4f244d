// SPDX-License-Identifier: Apache-2.0
#pragma once
// The companion's options for a given sample size, the costs and a plan file.

#include <cstdint>
#include <optional>
#include <string>

#include "outcome.h"
#include "plan_figures.h"

namespace valdris::cli {

// As typed; read by ReadBudget.
struct PlanOptions {
    std::optional<std::string> n;
    std::optional<std::string> cost_fixed;
    std::optional<std::string> cost_per_sample;
    std::optional<std::string> plan_path;
    // --locations csv|geojson|kml|gpx: every laid-out unit's locations, one
    // file a unit beside the plan file.
    std::optional<std::string> locations_format;
};

struct Budget {
    std::optional<int32_t> n;
    SampleCosts costs;
};

// --n as a whole number from 1 to 2147483647 and the costs by their rules,
// or a message naming the option.
Outcome<Budget> ReadBudget(const PlanOptions& options);

// A usage error when --plan is combined with what describes one design.
std::optional<std::string> PlanConflict(const PlanOptions& options, bool sweep, bool chart);

}  // namespace valdris::cli
