// SPDX-License-Identifier: Apache-2.0
#pragma once
// One invocation of valdris-power-cli, from its arguments to its exit status.

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "design_report.h"
#include "design_state.h"
#include "plan.h"

namespace valdris::cli {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;  // an output could not be written
constexpr int kExitRefused = 2;  // inputs refused or command line wrong

// Writes the chart of a finished design; false with a reason on failure.
using ChartWriter = std::function<bool(const DesignState& state, const std::string& path, std::string& error)>;

// Writes the report of a finished design; false with a reason on failure.
using ReportWriter = std::function<bool(const DesignReport& report, const DesignState& state,
                                        const std::string& path, std::string& error)>;

// Writes the report of a whole plan under its title; false with a reason.
using PlanReportWriter = std::function<bool(const SurveyPlan& plan, const std::string& title,
                                            const std::string& path, std::string& error)>;

// Results go to out, messages to err. A refusal writes nothing to out.
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const ChartWriter& write_chart,
        const ReportWriter& write_report = {}, const PlanReportWriter& write_plan_report = {});

// An output file: its writer's message, or a plain one, ends the run.
bool WriteOutputFile(std::ostream& err, const std::string& what, const std::string& path,
                     const std::function<bool(std::string&)>& write);

}  // namespace valdris::cli
