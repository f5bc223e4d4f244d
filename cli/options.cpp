// SPDX-License-Identifier: Apache-2.0
#include "options.h"

#include <algorithm>
#include <cctype>

#include "assess_options.h"
#include "concentration_unit.h"
#include "file_names.h"
#include "locations_export.h"
#include "number_text.h"
#include "sweep.h"

namespace valdris::cli {

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool HasChartExtension(const std::string& path) { return HasFileSuffix(path, ".png") || HasFileSuffix(path, ".svg"); }

// The command line read so far.
struct Reading {
    Options options;
    bool formats_differ = false;
};

using Values = std::vector<std::string>;
// Stores an option's values; a usage error when they are not acceptable.
using ApplyOption = std::optional<std::string> (*)(Reading& reading, const Values& values);

std::optional<std::string> ChooseFormat(Reading& reading, OutputFormat format) {
    if (reading.options.format && *reading.options.format != format) reading.formats_differ = true;
    reading.options.format = format;
    return std::nullopt;
}

std::optional<std::string> ReadTest(Reading& reading, const Values& values) {
    const std::string test = Lower(values[0]);
    if (test != "sign" && test != "wrs") return "--test must be sign or wrs, not \"" + values[0] + "\"";
    reading.options.test = test == "sign" ? TestKind::Sign : TestKind::WRS;
    return std::nullopt;
}

std::optional<std::string> ReadChart(Reading& reading, const Values& values) {
    if (!HasChartExtension(values[0])) {
        return "--chart: the file name must end in .png or .svg: \"" + values[0] + "\"";
    }
    reading.options.chart_path = values[0];
    return std::nullopt;
}

std::optional<std::string> ReadReport(Reading& reading, const Values& values) {
    if (!HasFileSuffix(values[0], kReportSuffix)) return "--report: the file name must end in .pdf: \"" + values[0] + "\"";
    reading.options.report_path = values[0];
    return std::nullopt;
}

std::optional<std::string> ReadSweep(Reading& reading, const Values& values) {
    const std::string input = Lower(values[0]);
    if (input != "sigma" && input != "lbgr") return "--sweep can vary sigma or lbgr, not \"" + values[0] + "\"";
    reading.options.sweep =
        SweepRequest{input == "sigma" ? SweptInput::Sigma : SweptInput::LBGR, values[1], values[2], values[3]};
    return std::nullopt;
}

// The options of a given size, the costs and a plan keep their text.
template <std::optional<std::string> PlanOptions::*member>
std::optional<std::string> StorePlanOption(Reading& reading, const Values& values) {
    reading.options.plan.*member = values[0];
    return std::nullopt;
}

struct OptionRule {
    const char* name;
    const char* short_name;  // or nullptr
    std::size_t values;      // how many arguments follow it
    // The usage error when they are missing (or, for a flag, attached).
    const char* missing;
    // A design input: its text is kept as typed, read as a number later.
    std::string Options::*number = nullptr;
    ApplyOption apply = nullptr;
};

// The number options come first, in the order their values are read.
const OptionRule kOptionRules[] = {
    {"--alpha", nullptr, 1, "--alpha needs a value, for example --alpha 0.05", &Options::alpha},
    {"--beta", nullptr, 1, "--beta needs a value, for example --beta 0.10", &Options::beta},
    {"--sigma", nullptr, 1, "--sigma needs a value, for example --sigma 0.3", &Options::sigma},
    {"--dcgl", nullptr, 1, "--dcgl needs a value, for example --dcgl 100", &Options::dcgl},
    {"--lbgr", nullptr, 1, "--lbgr needs a value, for example --lbgr 0.6", &Options::lbgr},
    {"--test", nullptr, 1, "--test needs a value: sign or wrs", nullptr, ReadTest},
    {"--text", nullptr, 0, "--text takes no value", nullptr,
     [](Reading& r, const Values&) { return ChooseFormat(r, OutputFormat::Text); }},
    {"--json", nullptr, 0, "--json takes no value", nullptr,
     [](Reading& r, const Values&) { return ChooseFormat(r, OutputFormat::Json); }},
    {"--csv", nullptr, 0, "--csv takes no value", nullptr,
     [](Reading& r, const Values&) { return ChooseFormat(r, OutputFormat::Csv); }},
    {"--chart", nullptr, 1, "--chart needs a file name ending in .png or .svg", nullptr, ReadChart},
    {"--report", nullptr, 1, "--report needs a file name ending in .pdf", nullptr, ReadReport},
    {"--radionuclide", nullptr, 1, "--radionuclide needs a value, for example --radionuclide Cs-137", nullptr,
     [](Reading& r, const Values& values) -> std::optional<std::string> {
         r.options.radionuclide = values[0];
         return std::nullopt;
     }},
    {"--unit", nullptr, 1, "--unit needs a value, for example --unit Bq/kg", nullptr,
     [](Reading& r, const Values& values) -> std::optional<std::string> {
         if (auto problem = ConcentrationUnitProblem(values[0])) return "--unit: " + *problem;
         r.options.concentration_unit = values[0];
         return std::nullopt;
     }},
    {"--assess", nullptr, 1, "--assess needs a file of measurements, for example --assess unit.csv", nullptr,
     [](Reading& r, const Values& values) { return SetAssessPath(r.options, values[0]); }},
    {"--reference", nullptr, 1, "--reference needs a file of measurements, for example --reference ref.csv", nullptr,
     [](Reading& r, const Values& values) { return SetReferencePath(r.options, values[0]); }},
    {"--column", nullptr, 1, "--column needs a column's header or number, for example --column 2", nullptr,
     [](Reading& r, const Values& values) { return SetColumn(r.options, values[0]); }},
    {"--id-column", nullptr, 1, "--id-column needs the header of the locations' ids, for example --id-column id",
     nullptr, [](Reading& r, const Values& values) { return SetIdColumn(r.options, values[0]); }},
    {"--xy-columns", nullptr, 1, "--xy-columns needs the headers of x and y, for example --xy-columns x,y", nullptr,
     [](Reading& r, const Values& values) { return SetXYColumns(r.options, values[0]); }},
    {"--elevated-area", nullptr, 1, "--elevated-area needs a location and its size, for example --elevated-area 7:2.5",
     nullptr, [](Reading& r, const Values& values) { return AddElevatedArea(r.options, values[0]); }},
    // Four values cannot be attached with "=", so only separate ones count.
    {"--sweep", nullptr, 4, "--sweep takes four values: --sweep sigma|lbgr FROM TO STEP", nullptr, ReadSweep},
    {"--n", nullptr, 1, "--n needs a whole number, for example --n 20", nullptr,
     StorePlanOption<&PlanOptions::n>},
    {"--cost-fixed", nullptr, 1, "--cost-fixed needs a value, for example --cost-fixed 1000", nullptr,
     StorePlanOption<&PlanOptions::cost_fixed>},
    {"--cost-per-sample", nullptr, 1, "--cost-per-sample needs a value, for example --cost-per-sample 200", nullptr,
     StorePlanOption<&PlanOptions::cost_per_sample>},
    {"--plan", nullptr, 1, "--plan needs a plan file, for example --plan site.vplan", nullptr,
     StorePlanOption<&PlanOptions::plan_path>},
    {"--locations", nullptr, 1, "--locations needs a format, for example --locations gpx", nullptr,
     [](Reading& r, const Values& values) -> std::optional<std::string> {
         if (!LocationsFormatOf("." + values[0])) {
             return "--locations must be csv, geojson, kml or gpx, not \"" + values[0] + "\"";
         }
         r.options.plan.locations_format = values[0];
         return std::nullopt;
     }},
    {"--check", nullptr, 0, "--check takes no value", nullptr,
     [](Reading& r, const Values&) -> std::optional<std::string> {
         r.options.check.check = true;
         return std::nullopt;
     }},
    {"--check-seed", nullptr, 1, "--check-seed needs a whole number, for example --check-seed 7", nullptr,
     [](Reading& r, const Values& values) -> std::optional<std::string> {
         r.options.check.seed = values[0];
         return std::nullopt;
     }},
    {"--quantile", nullptr, 1, "--quantile needs a value: specified or exact", nullptr,
     [](Reading& r, const Values& values) { return SetQuantile(r.options, values[0]); }},
    {"--help", "-h", 0, "--help takes no value", nullptr,
     [](Reading& r, const Values&) -> std::optional<std::string> {
         r.options.help = true;
         return std::nullopt;
     }},
    {"--version", "-V", 0, "--version takes no value", nullptr,
     [](Reading& r, const Values&) -> std::optional<std::string> {
         r.options.version = true;
         return std::nullopt;
     }},
};

const OptionRule* FindRule(const std::string& name) {
    for (const OptionRule& rule : kOptionRules) {
        if (name == rule.name || (rule.short_name != nullptr && name == rule.short_name)) return &rule;
    }
    return nullptr;
}

}  // namespace

Outcome<Options> ParseOptions(const std::vector<std::string>& args) {
    using Result = Outcome<Options>;
    Reading reading;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> attached;  // the value of --name=value
        if (name.rfind("--", 0) == 0 && name.find('=') != std::string::npos) {
            attached = name.substr(name.find('=') + 1);
            name.erase(name.find('='));
        }
        const OptionRule* rule = FindRule(name);
        if (rule == nullptr && IsFieldOption(name)) {
            if (!attached && i + 1 == args.size()) return Result::Failure(RefusalKind::CommandLine, FieldOptionMissingValue(name));
            const std::string value = attached ? *attached : args[++i];
            if (auto error = StoreFieldOption(reading.options.field, name, value)) return Result::Failure(RefusalKind::CommandLine, *error);
            continue;
        }
        if (rule == nullptr) {
            return Result::Failure(RefusalKind::CommandLine, !name.empty() && name[0] == '-' ? "unknown option \"" + args[i] + "\""
                                                                   : "unexpected argument \"" + args[i] + "\"");
        }

        // A value may start with a minus sign ("--lbgr -1"), so the next
        // arguments are taken whatever they look like.
        Values values;
        if (attached) {
            if (rule->values != 1) return Result::Failure(RefusalKind::CommandLine, rule->missing);
            values.push_back(*attached);
        } else {
            if (args.size() - 1 - i < rule->values) return Result::Failure(RefusalKind::CommandLine, rule->missing);
            values.assign(args.begin() + static_cast<std::ptrdiff_t>(i + 1),
                          args.begin() + static_cast<std::ptrdiff_t>(i + 1 + rule->values));
            i += rule->values;
        }

        if (rule->number != nullptr) {
            reading.options.*(rule->number) = values[0];
        } else if (auto error = rule->apply(reading, values)) {
            return Result::Failure(RefusalKind::CommandLine, *error);
        }
        // Help and version answer whatever else the line holds.
        if (reading.options.help || reading.options.version) return reading.options;
    }

    if (reading.formats_differ) return Result::Failure(RefusalKind::CommandLine, "choose one of --text, --json and --csv");
    if (reading.options.sweep && reading.options.chart_path) {
        return Result::Failure(RefusalKind::CommandLine, "--chart draws one design and cannot be combined with --sweep");
    }
    if (reading.options.sweep && reading.options.report_path) {
        return Result::Failure(RefusalKind::CommandLine, "--report describes one design and cannot be combined with --sweep");
    }
    if (auto error = FieldUsageError(reading.options.field,
                                      reading.options.sweep || reading.options.plan.plan_path)) {
        return Result::Failure(RefusalKind::CommandLine, *error);
    }
    if (auto conflict = AssessOptionsConflict(reading.options)) return Result::Failure(RefusalKind::CommandLine, *conflict);
    if (auto conflict = CheckOptionsConflict(reading.options)) return Result::Failure(RefusalKind::CommandLine, *conflict);
    const Options& o = reading.options;
    if (auto conflict = PlanConflict(o.plan, o.sweep.has_value(), o.chart_path.has_value())) {
        return Result::Failure(RefusalKind::CommandLine, *conflict);
    }
    // A plan's units name their own unit of concentration; a sweep's rows
    // are no report.
    if (o.concentration_unit && (o.plan.plan_path || o.sweep)) {
        return Result::Failure(RefusalKind::CommandLine, o.sweep ? "--unit names the unit of one design's figures and cannot be combined with --sweep"
                                       : "--unit cannot be combined with --plan: each unit of a plan names its own "
                                         "(the key \"concentration_unit\")");
    }
    // Measurements belong to one survey unit, not to a whole plan.
    if (o.plan.plan_path && o.assess_path) {
        return Result::Failure(RefusalKind::CommandLine, "--assess judges one survey unit and cannot be combined with --plan");
    }
    return reading.options;
}

std::string NotANumberMessage(const std::string& what, const std::string& text) {
    return "The value of " + what + " is not a readable number: \"" + text + "\"";
}

Outcome<DesignInputs> ReadInputs(const Options& options) {
    DesignInputs inputs;
    double* const numbers[] = {&inputs.alpha, &inputs.beta, &inputs.sigma, &inputs.dcgl, &inputs.lbgr};
    for (std::size_t k = 0; k < std::size(numbers); ++k) {
        const OptionRule& rule = kOptionRules[k];
        const std::string& text = options.*(rule.number);
        const auto value = StrictNumber(text);
        if (!value) return Outcome<DesignInputs>::Failure(RefusalKind::CommandLine, NotANumberMessage(rule.name, text));
        *numbers[k] = *value;
    }
    return inputs;
}

std::string HelpText() {
    return R"(Usage: valdris-power-cli [options]

Designs a final status survey as the VALDRIS Power design window does: the
sample size, the critical value, D/s and the 60-point power curve of the Sign
test or the Wilcoxon Rank Sum (WRS) test. The LBGR is taken as given.

Design inputs (defaults in brackets):
  --test sign|wrs       statistical test [sign]          e.g. --test wrs
  --alpha A             Type I decision error rate, above 0 and at most 0.5 [0.05]
                                                         e.g. --alpha 0.025
  --beta B              Type II decision error rate, above 0 and at most 1 [0.05]
                                                         e.g. --beta 0.10
  --sigma S             standard deviation of the measurements, above 0 and at
                        most 10 times the DCGL [0.5]     e.g. --sigma 0.3
  --dcgl D              derived concentration guideline level [1]
                                                         e.g. --dcgl 100
  --lbgr L              lower boundary of the gray region, from 0 to below the
                        DCGL [0.5]                       e.g. --lbgr 0.6
  --n N                 a given sample size (each area's for WRS) instead of the
                        designed one: a whole number from 1 to 2147483647; the
                        critical value and curve are those of N
                                                         e.g. --n 20
  Alpha and beta cannot both be 0.5 or more. Values are plain decimal numbers
  (1e-3 is allowed); --name=value works as well as --name value.

Cost (adds the cost to the results; either alone counts the other as 0):
  --cost-fixed F        the fixed cost of the survey, 0 to 1e15
                                                         e.g. --cost-fixed 1000
  --cost-per-sample C   the cost of one sample, 0 to 1e15; the cost is
                        F + C x (survey unit's N + reference area's N)
                                                         e.g. --cost-per-sample 200

A survey plan:
  --plan FILE.vplan     every unit of the plan file: with --json
                        {"units": [...]}, each unit's name and what --json
                        gives for its inputs; with --csv one row per unit
                        under a header; a table by default; with --report
                        FILE.pdf the plan report (the table, then a page a
                        unit). The units carry their own inputs, sizes and
                        costs.
                                                         e.g. --plan site.vplan --json
  --locations csv|geojson|kml|gpx
                        with --plan: each laid-out unit's locations, written
                        beside the plan file as "<plan> - <unit> -
                        locations.<format>"          e.g. --plan site.vplan --locations gpx

Output (readable text by default; nothing but the files with --chart or
--report alone):
  --text                the readable summary, as the design window shows it
                                                         e.g. --chart c.png --text
  --json                one JSON object with the inputs as stored, D/s, the
                        sample size, the critical value, the power at the
                        LBGR, the cost (when given) and the curve
                                                         e.g. --json
  --csv                 the power curve as x,power rows  e.g. --csv
  --chart FILE          write the power chart as a PNG or SVG image
                                                         e.g. --chart curve.png
  --report FILE.pdf     write the one-page design report as a PDF
                                                         e.g. --report plan.pdf
  --radionuclide TEXT   the report's label for the survey unit [Unity Rule]
                                                         e.g. --radionuclide Cs-137
  --unit TEXT           the unit of concentration, written after each
                        concentration of the text and the report (at most
                        30 characters, no control characters) [none]
                                                         e.g. --unit Bq/kg
  --sweep sigma|lbgr FROM TO STEP
                        one row per value FROM, FROM+STEP, ... up to TO with
                        D/s, the sample size, the critical value and the
                        power at the LBGR (for --n's size if given); a value
                        the rules refuse gives a row with the reason. Rows are
                        written as they are computed (JSON: an array, one
                        element a line). At most )" +
           std::to_string(kMaxSweepRows) + R"( rows, a guard
                        against a mistyped STEP. Text, --csv or --json.
                                                         e.g. --sweep sigma 0.1 1 0.1
)" + AssessHelpText() + CheckHelpText() + R"(  --help, -h            this text                        e.g. --help
  --version, -V         the version                      e.g. --version

)" + FieldHelpText() + R"(
Exit status: 0 done; 1 an output file or the output could not be written;
2 the inputs or the measurements were refused or the command line is wrong
(message on stderr, nothing on stdout).

Examples:
  valdris-power-cli --test wrs --json
      the WRS test at the defaults, as JSON
  valdris-power-cli --alpha 0.01 --beta 0.1 --sigma 0.4 --dcgl 2 --lbgr 1.2
      a Sign test design, as the design window shows it
  valdris-power-cli --test sign --sweep lbgr 0 0.9 0.05 --csv
      the Sign test for each LBGR from 0 to 0.9 in steps of 0.05, as CSV
  valdris-power-cli --chart curve.svg --json
      the power chart as an SVG image, and the design as JSON
  valdris-power-cli --test wrs --radionuclide Sr-90 --report plan.pdf
      the survey-plan report of a WRS design as a PDF
  valdris-power-cli --test wrs --assess unit.csv --reference ref.csv --json
      does the survey unit pass? The WRS test on the measurements, as JSON
  valdris-power-cli --n 20 --cost-fixed 1000 --cost-per-sample 200
      the Sign test with 20 samples: its critical value, power and cost
  valdris-power-cli --plan site.vplan --csv
      every unit of a survey plan, one CSV row each
)";
}

std::string VersionText() {
    return kProgramName + " (VALDRIS Power) " VALDRIS_VERSION_TEXT "\n";
}

}  // namespace valdris::cli
