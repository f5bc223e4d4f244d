// SPDX-License-Identifier: Apache-2.0
#include "run.h"

#include "field_output.h"
#include "scan_mdc_units.h"
#include "site_field.h"
#include "concentration_unit.h"
#include "number_text.h"
#include "assess_options.h"
#include "assessment_output.h"
#include "check_output.h"
#include "options.h"
#include "plan_run.h"
#include "refusal_text.h"
#include "result_texts.h"
#include "report.h"
#include "sweep.h"
#include "sweep_report.h"

namespace valdris::cli {

namespace {

// Messages keep the window's line breaks as the terminal's.
int Refuse(std::ostream& err, const std::string& message) {
    std::string text;
    for (std::size_t i = 0; i < message.size(); ++i) {
        if (message.compare(i, 2, "\r\n") == 0) {
            text += '\n';
            ++i;
        } else {
            text += message[i];
        }
    }
    err << text << '\n';
    return kExitRefused;
}

int UsageError(std::ostream& err, const std::string& message) {
    err << kProgramName << ": " << message << '\n'
        << "Try '" << kProgramName << " --help' for more information.\n";
    return kExitRefused;
}

int RunSweepCommand(const Options& options, const DesignInputs& inputs, std::optional<int32_t> given_n,
                    std::optional<uint64_t> check_seed, std::ostream& out, std::ostream& err) {
    const SweepRequest& request = *options.sweep;
    const Outcome<SweepPlan> plan = PlanSweep(request);
    if (!plan) return Refuse(err, plan.message());
    if (auto refusal = CheckFixedInputs(request.input, inputs)) return Refuse(err, *refusal);

    const DesignEngine& engine = options.check.exact_quantile ? kExactQuantileEngine : kEngine;
    SweepWriter writer(out, options.format.value_or(OutputFormat::Text), options.test, request.input, engine);
    if (check_seed) writer.CheckEachRow(*check_seed);
    writer.Begin();
    const bool written = RunSweep(
        options.test, request.input, inputs, given_n, *plan,
        [&](const SweepRow& row) {
            writer.Row(row);
            // A checked row takes a while: it reaches the reader as it is made.
            if (check_seed) out.flush();
            return static_cast<bool>(out);
        },
        engine);
    if (!written) return kExitFailure;
    writer.End();
    return kExitOk;
}


// The inputs as every report writes them; for nuclides, the design's own
// sum-of-fractions figures under the list of nuclides.
ReportEntries EntriesOf(const Options& options, const FieldInputs& field, const DesignState& state) {
    ReportEntries entries = InputEntries(options.radionuclide, state, ShiftNumberText(state.DoverS, 2));
    if (field.sum) entries.radionuclide = NuclideListText(field.nuclides);
    entries.concentration_unit = DesignUnit(options.concentration_unit.value_or(""), field.sum.has_value());
    return entries;
}

struct FieldSummary {
    const FieldInputs& inputs;
    const FieldFigures& figures;
    std::string unit;  // as given; the design's own is none in sums of fractions
};

// The design, the unit's field figures, and the verdict on its measurements
// when there is one.
void WriteSummary(std::ostream& out, OutputFormat format, const DesignFigures& figures, const FieldSummary& field,
                  const std::optional<FileAssessment>& assessment, const std::optional<CheckedDesign>& check) {
    switch (format) {
        case OutputFormat::Text: {
            const std::string design_unit = DesignUnit(field.unit, field.inputs.sum.has_value());
            WriteTextReport(out, figures, design_unit);
            WriteFieldText(out, field.inputs, field.figures, field.unit);
            if (check) {
                out << '\n';
                WriteTextCheck(out, *check);
            }
            if (assessment) {
                out << '\n';
                WriteTextAssessment(out, assessment->assessment, design_unit, assessment->headers,
                                    assessment->placed ? &*assessment->placed : nullptr);
            }
            break;
        }
        case OutputFormat::Json: {
            const std::string field_members = FieldJsonMembers(field.inputs, field.figures, figures.state.LBGR);
            JsonMembers more;
            if (!field_members.empty() || assessment || check) {
                more = [&](std::ostream& o) {
                    o << field_members;
                    const char* separator = field_members.empty() ? "" : ",\n";
                    if (check) {
                        o << separator;
                        WriteJsonCheck(o, *check, "  ");
                        separator = ",\n";
                    }
                    if (!assessment) return;
                    o << separator;
                    WriteJsonAssessment(o, assessment->assessment, "  ", assessment->headers,
                                        assessment->placed ? &*assessment->placed : nullptr);
                };
            }
            WriteJsonReport(out, figures, more);
            break;
        }
        case OutputFormat::Csv: WriteCsvCurve(out, DesignCurve(figures)); break;
    }
}

}  // namespace

bool WriteOutputFile(std::ostream& err, const std::string& what, const std::string& path,
                     const std::function<bool(std::string&)>& write) {
    std::string error;
    if (write(error)) return true;
    if (error.empty()) error = "the " + what + " could not be written to \"" + path + "\"";
    err << kProgramName << ": " << error << '\n';
    return false;
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const ChartWriter& write_chart,
        const ReportWriter& write_report, const PlanReportWriter& write_plan_report) {
    const Outcome<Options> parsed = ParseOptions(args);
    if (!parsed) return UsageError(err, parsed.message());
    const Options& options = *parsed;
    if (options.help || options.version) {
        out << (options.help ? HelpText() : VersionText());
        return kExitOk;
    }

    // The check's seed, when a check is asked for.
    const Outcome<uint64_t> seed = ReadCheckSeed(options.check);
    if (!seed) return Refuse(err, seed.message());
    const std::optional<uint64_t> check_seed = options.check.check ? std::optional<uint64_t>(*seed) : std::nullopt;

    if (options.plan.plan_path) {
        return RunPlanCommand(
            {*options.plan.plan_path, options.format, options.report_path, write_plan_report, check_seed,
             options.plan.locations_format}, out, err);
    }

    const Outcome<DesignInputs> inputs = ReadInputs(options);
    if (!inputs) return Refuse(err, inputs.message());
    const Outcome<Budget> budget = ReadBudget(options.plan);
    if (!budget) return Refuse(err, budget.message());
    if (options.sweep) return RunSweepCommand(options, *inputs, budget->n, check_seed, out, err);

    const Outcome<FieldInputs> field = ReadFieldInputs(options.field);
    if (!field) return Refuse(err, field.message());
    const DesignInputs design_inputs = field->sum ? SumOfFractionsInputs(*inputs, *field->sum) : *inputs;
    const DesignEngine& engine = options.check.exact_quantile ? kExactQuantileEngine : kEngine;
    const FiguresRun run = ComputeFigures(options.test, design_inputs, budget->n, budget->costs, engine);
    if (!run) return Refuse(err, RefusalText(run.refusal().refusal));
    const SetupInDesignUnits setup = ScanMDCInDesignUnits(field->setup, field->sum);
    if (!setup) return Refuse(err, RefusalText(setup.refusal()));
    const Outcome<FieldFigures> field_run = ComputeSiteFigures(*setup, run->n, run->state.DCGL);
    if (!field_run) return Refuse(err, RefusalText(field_run.refusal()));
    const DesignFigures figures = WithFinalN(*run, budget->costs, field_run->samples);
    const DesignState state = DesignCurve(figures);
    // Measurements are judged before anything is written, so refused data
    // leave no file and no output.
    std::optional<FileAssessment> assessment;
    if (options.assess_path) {
        Outcome<FileAssessment> assessed = AssessFiles(options, state);
        if (!assessed) return Refuse(err, assessed.message());
        const Outcome<std::map<std::string, double>> sizes = ElevatedAreaSizes(options);
        if (!sizes) return Refuse(err, sizes.message());
        PlaceMeasurements(*assessed, *setup, *field_run, state.DCGL, *sizes);
        assessment = std::move(*assessed);
    }

    std::optional<CheckedDesign> check;
    if (check_seed) check = CheckDesign(options.test, state, *check_seed);

    // The files come first so that a failure leaves nothing half reported.
    if (options.chart_path && !WriteOutputFile(err, "chart", *options.chart_path, [&](std::string& error) {
            return write_chart && write_chart(state, *options.chart_path, error);
        })) {
        return kExitFailure;
    }
    if (options.report_path && !WriteOutputFile(err, "report", *options.report_path, [&](std::string& error) {
            DesignReport report = MakeDesignReport(options.test, state, EntriesOf(options, *field, state));
            // The check, when asked for, is a section of the report.
            if (check) AddCheckToReport(report, *check);
            return write_report && write_report(report, state, *options.report_path, error);
        })) {
        return kExitFailure;
    }
    const std::optional<std::string>& points = options.field.points;
    if (points && !WriteOutputFile(err, "locations", *points, [&](std::string& error) {
            return WriteLocationsFile(*field_run, *points, error);
        })) {
        return kExitFailure;
    }
    // A file alone is the whole answer; a summary beside it is asked for. A
    // verdict on measurements is always an answer of its own. The locations
    // are not such a file: the summary holds the seed that laid them out.
    const bool file_written = (options.chart_path || options.report_path) && !options.assess_path;
    const std::optional<OutputFormat> format =
        file_written ? options.format : options.format.value_or(OutputFormat::Text);
    if (!format) return kExitOk;
    WriteSummary(out, *format, figures, {*field, *field_run, options.concentration_unit.value_or("")},
                 assessment, check);
    return kExitOk;
}

}  // namespace valdris::cli
