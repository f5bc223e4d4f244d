#include "options.h"

#include <algorithm>
#include <cctype>

#include "number_text.h"
#include "sweep.h"

namespace valdris::cli {

namespace {

struct NumberOption {
    const char* name;
    std::string Options::*field;
};

const NumberOption kNumberOptions[] = {
    {"--alpha", &Options::alpha}, {"--beta", &Options::beta}, {"--sigma", &Options::sigma},
    {"--dcgl", &Options::dcgl},   {"--lbgr", &Options::lbgr},
};

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool HasChartExtension(const std::string& path) {
    const std::string lower = Lower(path);
    auto ends_with = [&](const std::string& end) {
        return lower.size() > end.size() && lower.compare(lower.size() - end.size(), end.size(), end) == 0;
    };
    return ends_with(".png") || ends_with(".svg");
}

ParsedOptions UsageError(std::string message) { return {std::nullopt, std::move(message)}; }

}  // namespace

ParsedOptions ParseOptions(const std::vector<std::string>& args) {
    Options options;
    bool formats_differ = false;

    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> attached;  // the value of --name=value
        if (name.rfind("--", 0) == 0) {
            const std::size_t equals = name.find('=');
            if (equals != std::string::npos) {
                attached = name.substr(equals + 1);
                name.erase(equals);
            }
        }
        // A value may start with a minus sign ("--lbgr -1"), so the next
        // argument is taken whatever it looks like.
        auto take_value = [&]() -> std::optional<std::string> {
            if (attached) return attached;
            if (i + 1 < args.size()) return args[++i];
            return std::nullopt;
        };
        auto choose_format = [&](OutputFormat format) -> bool {
            if (options.format && *options.format != format) formats_differ = true;
            options.format = format;
            return !attached.has_value();
        };

        if (name == "--help" || name == "-h") {
            options.help = true;
            return {options, {}};
        }
        if (name == "--version" || name == "-V") {
            options.version = true;
            return {options, {}};
        }
        const auto number = std::find_if(std::begin(kNumberOptions), std::end(kNumberOptions),
                                         [&](const NumberOption& option) { return name == option.name; });
        if (number != std::end(kNumberOptions)) {
            const auto value = take_value();
            if (!value) return UsageError(name + " needs a value, for example " + name + " 0.05");
            options.*(number->field) = *value;
        } else if (name == "--test") {
            const auto value = take_value();
            if (!value) return UsageError("--test needs a value: sign or wrs");
            const std::string test = Lower(*value);
            if (test == "sign") {
                options.test = TestKind::Sign;
            } else if (test == "wrs") {
                options.test = TestKind::WRS;
            } else {
                return UsageError("--test must be sign or wrs, not \"" + *value + "\"");
            }
        } else if (name == "--text") {
            if (!choose_format(OutputFormat::Text)) return UsageError("--text takes no value");
        } else if (name == "--json") {
            if (!choose_format(OutputFormat::Json)) return UsageError("--json takes no value");
        } else if (name == "--csv") {
            if (!choose_format(OutputFormat::Csv)) return UsageError("--csv takes no value");
        } else if (name == "--chart") {
            const auto value = take_value();
            if (!value) return UsageError("--chart needs a file name ending in .png or .svg");
            if (!HasChartExtension(*value)) {
                return UsageError("--chart: the file name must end in .png or .svg: \"" + *value + "\"");
            }
            options.chart_path = *value;
        } else if (name == "--sweep") {
            if (attached || i + 4 >= args.size()) {
                return UsageError("--sweep takes four values: --sweep sigma|lbgr FROM TO STEP");
            }
            SweepRequest sweep;
            const std::string input = Lower(args[i + 1]);
            if (input == "sigma") {
                sweep.input = SweptInput::Sigma;
            } else if (input == "lbgr") {
                sweep.input = SweptInput::LBGR;
            } else {
                return UsageError("--sweep can vary sigma or lbgr, not \"" + args[i + 1] + "\"");
            }
            sweep.from = args[i + 2];
            sweep.to = args[i + 3];
            sweep.step = args[i + 4];
            options.sweep = sweep;
            i += 4;
        } else if (!name.empty() && name[0] == '-') {
            return UsageError("unknown option \"" + args[i] + "\"");
        } else {
            return UsageError("unexpected argument \"" + args[i] + "\"");
        }
    }

    if (formats_differ) return UsageError("choose one of --text, --json and --csv");
    if (options.sweep && options.chart_path) {
        return UsageError("--chart draws one design and cannot be combined with --sweep");
    }
    return {options, {}};
}

std::string NotANumberMessage(const std::string& what, const std::string& text) {
    return "The value of " + what + " is not a readable number: \"" + text + "\"";
}

ReadInputsResult ReadInputs(const Options& options) {
    DesignInputs inputs;
    const std::pair<const std::string*, double*> fields[] = {
        {&options.alpha, &inputs.alpha}, {&options.beta, &inputs.beta}, {&options.sigma, &inputs.sigma},
        {&options.dcgl, &inputs.dcgl},   {&options.lbgr, &inputs.lbgr},
    };
    for (std::size_t k = 0; k < std::size(fields); ++k) {
        const auto value = StrictNumber(*fields[k].first);
        if (!value) return {std::nullopt, NotANumberMessage(kNumberOptions[k].name, *fields[k].first)};
        *fields[k].second = *value;
    }
    return {inputs, {}};
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
  Alpha and beta cannot both be 0.5 or more. Values are plain decimal numbers
  (1e-3 is allowed); --name=value works as well as --name value.

Output (readable text by default; nothing but the image with --chart alone):
  --text                the readable summary, as the design window shows it
                                                         e.g. --chart c.png --text
  --json                one JSON object with the inputs as stored, D/s, the
                        sample size, the critical value and the curve
                                                         e.g. --json
  --csv                 the power curve as x,power rows  e.g. --csv
  --chart FILE          write the power chart as a PNG or SVG image
                                                         e.g. --chart curve.png
  --sweep sigma|lbgr FROM TO STEP
                        one row per value FROM, FROM+STEP, ... up to TO with
                        D/s, the sample size and the critical value; a value
                        the rules refuse gives a row with the reason. Rows are
                        written as they are computed (JSON: an array, one
                        element a line). At most )" +
           std::to_string(kMaxSweepRows) + R"( rows, a guard
                        against a mistyped STEP. Text, --csv or --json.
                                                         e.g. --sweep sigma 0.1 1 0.1
  --help, -h            this text                        e.g. --help
  --version, -V         the version                      e.g. --version

Exit status: 0 done; 1 an output file or the output could not be written;
2 the inputs were refused or the command line is wrong (message on stderr,
nothing on stdout).

Examples:
  valdris-power-cli --test wrs --json
      the WRS test at the defaults, as JSON
  valdris-power-cli --alpha 0.01 --beta 0.1 --sigma 0.4 --dcgl 2 --lbgr 1.2
      a Sign test design, as the design window shows it
  valdris-power-cli --test sign --sweep lbgr 0 0.9 0.05 --csv
      the Sign test for each LBGR from 0 to 0.9 in steps of 0.05, as CSV
  valdris-power-cli --chart curve.svg --json
      the power chart as an SVG image, and the design as JSON
)";
}

std::string VersionText() {
    return kProgramName + " (VALDRIS Power) " VALDRIS_VERSION_TEXT "\n";
}

}  // namespace valdris::cli
