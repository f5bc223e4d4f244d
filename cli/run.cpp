#include "run.h"

#include "options.h"
#include "refusal_text.h"
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

int RunSweepCommand(const Options& options, const DesignInputs& inputs, std::ostream& out, std::ostream& err) {
    const SweepRequest& request = *options.sweep;
    const Outcome<SweepPlan> plan = PlanSweep(request);
    if (!plan) return Refuse(err, plan.message());
    if (auto refusal = CheckFixedInputs(request.input, inputs)) return Refuse(err, *refusal);

    SweepWriter writer(out, options.format.value_or(OutputFormat::Text), options.test, request.input);
    writer.Begin();
    const bool written = RunSweep(options.test, request.input, inputs, *plan, [&](const SweepRow& row) {
        writer.Row(row);
        return static_cast<bool>(out);
    });
    if (!written) return kExitFailure;
    writer.End();
    return kExitOk;
}

}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const ChartWriter& write_chart) {
    const Outcome<Options> parsed = ParseOptions(args);
    if (!parsed) return UsageError(err, parsed.message());
    const Options& options = *parsed;
    if (options.help || options.version) {
        out << (options.help ? HelpText() : VersionText());
        return kExitOk;
    }

    const Outcome<DesignInputs> inputs = ReadInputs(options);
    if (!inputs) return Refuse(err, inputs.message());
    if (options.sweep) return RunSweepCommand(options, *inputs, out, err);

    const DesignRun run = RunDesign(options.test, *inputs);
    if (!run.state) return Refuse(err, RefusalText(*run.refusal));
    const DesignState& state = *run.state;

    // The chart comes first so that a failure leaves nothing half reported.
    if (options.chart_path) {
        std::string error;
        if (!write_chart || !write_chart(state, *options.chart_path, error)) {
            if (error.empty()) error = "the chart could not be written to \"" + *options.chart_path + "\"";
            err << kProgramName << ": " << error << '\n';
            return kExitFailure;
        }
    }
    // A chart alone is the whole answer; a report beside it is asked for.
    const std::optional<OutputFormat> format =
        options.chart_path ? options.format : options.format.value_or(OutputFormat::Text);
    if (!format) return kExitOk;
    switch (*format) {
        case OutputFormat::Text: WriteTextReport(out, options.test, state); break;
        case OutputFormat::Json: WriteJsonReport(out, options.test, state); break;
        case OutputFormat::Csv: WriteCsvCurve(out, state); break;
    }
    return kExitOk;
}

}  // namespace valdris::cli
