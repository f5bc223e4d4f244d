// SPDX-License-Identifier: Apache-2.0
#pragma once
// The command line of valdris-power-cli: what was asked for, and the option
// values read as numbers.

#include <optional>
#include <string>
#include <vector>

#include "check_options.h"
#include "design_inputs.h"
#include "field_options.h"
#include "outcome.h"
#include "plan_options.h"

namespace valdris::cli {

inline const std::string kProgramName = "valdris-power-cli";

enum class OutputFormat { Text, Json, Csv };
enum class SweptInput { Sigma, LBGR };

struct SweepRequest {
    SweptInput input = SweptInput::Sigma;
    std::string from;
    std::string to;
    std::string step;
};

struct Options {
    TestKind test = TestKind::Sign;
    // Values as typed; ReadInputs reads them as numbers. Defaults are the
    // design window's.
    std::string alpha = "0.05";
    std::string beta = "0.05";
    std::string sigma = "0.5";
    std::string dcgl = "1";
    std::string lbgr = "0.5";
    // As asked; without a choice, readable text, or nothing beside a chart.
    std::optional<OutputFormat> format;
    std::optional<SweepRequest> sweep;
    std::optional<std::string> chart_path;
    std::optional<std::string> report_path;
    std::string radionuclide = "Unity Rule";  // the report's label for the survey unit
    std::optional<std::string> concentration_unit;  // written after each concentration of the output
    FieldRequest field;                       // the unit in the field
    // Measurements to judge against the design (assess_options.h).
    std::optional<std::string> assess_path;
    std::optional<std::string> reference_path;
    std::optional<std::string> column;  // --column: the files' column, by header or number
    // Where each survey measurement was taken: --id-column NAME, or
    // --xy-columns X,Y; and --elevated-area ID:SIZE, each area investigated.
    std::optional<std::string> id_column;
    std::optional<std::string> xy_columns;
    std::vector<std::string> elevated_areas;
    PlanOptions plan;  // --n, the costs, --plan
    CheckOptions check;  // --check, --check-seed, --quantile
    bool help = false;
    bool version = false;
};

// Options, or a usage error (unknown option, missing value, conflicting
// choices). A repeated option keeps its last value.
Outcome<Options> ParseOptions(const std::vector<std::string>& args);

// The five inputs as strict numbers, or a refusal naming the option whose
// value is not one.
Outcome<DesignInputs> ReadInputs(const Options& options);

// "The value of --alpha is not a readable number: "x"".
std::string NotANumberMessage(const std::string& what, const std::string& text);

std::string HelpText();
std::string VersionText();  // "valdris-power-cli (VALDRIS Power) 1.0.0"

}  // namespace valdris::cli
