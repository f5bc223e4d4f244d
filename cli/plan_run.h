// SPDX-License-Identifier: Apache-2.0
#pragma once
// valdris-power-cli --plan FILE.vplan: every unit of a plan, as JSON, CSV or
// a readable table.

#include <optional>
#include <ostream>
#include <string>

#include "options.h"
#include "plan.h"
#include "run.h"

namespace valdris::cli {

// {"units": [...]}: each unit's name, then exactly what --json gives for
// its inputs.
// With a check seed, each unit carries its design check, and reaches the
// reader as soon as it is checked.
void WritePlanJson(std::ostream& out, const SurveyPlan& plan, std::optional<uint64_t> check_seed = std::nullopt);
// The plan's columns, aligned, as the plan window shows them.
void WritePlanText(std::ostream& out, const SurveyPlan& plan, std::optional<uint64_t> check_seed = std::nullopt);

struct PlanCommand {
    std::string path;
    std::optional<OutputFormat> format;
    std::optional<std::string> report_path;  // the plan report, as a PDF
    PlanReportWriter write_report;
    std::optional<uint64_t> check_seed;  // --check
    std::optional<std::string> locations_format;  // --locations
};

// Reads the plan and writes it in the chosen form, and its report when one
// is asked for (then alone, unless a form is named too); a refused plan
// writes nothing to out and its message to err (exit status 2).
int RunPlanCommand(const PlanCommand& command, std::ostream& out, std::ostream& err);

}  // namespace valdris::cli
