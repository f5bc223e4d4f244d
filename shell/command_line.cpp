// SPDX-License-Identifier: Apache-2.0
#include "command_line.h"

#include <string>

namespace valdris {

namespace {

constexpr const char* kHelpText = R"(Usage: valdris-power [Qt options] [PLAN.vplan]

Opens VALDRIS Power, the calculator for designing the final status survey of a
remediated site: from alpha, beta, sigma, the DCGL and the LBGR it gives the
number of samples for the Sign test or the Wilcoxon Rank Sum (WRS) test, the
critical value, the relative shift D/s and the power curve. The program starts
with its splash window; OK there opens the design window. F1 opens the help
file VALDRISPower99.HLP, which lies beside the program.

Given a survey plan file (.vplan), the program opens it in the Survey Plan
window beside the design window. The plan window keeps an autosave of unsaved
changes beside the plan (for a plan not yet saved, in
$XDG_STATE_HOME/valdris-power) and offers it at the next start.

Options:
  -h, --help       print this text and exit
  -V, --version    print the version and exit

Qt's standard options (-platform, -style, -reverse, ...) are accepted as well.
For scripts, valdris-power-cli computes the same designs without a window.
)";

}  // namespace

std::optional<int> AnswerTextRequest(int argc, const char* const* argv, std::ostream& out) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            out << kHelpText;
            return 0;
        }
        if (arg == "--version" || arg == "-V") {
            out << "valdris-power (VALDRIS Power) " VALDRIS_VERSION_TEXT "\n";
            return 0;
        }
    }
    return std::nullopt;
}

std::optional<std::string> PlanFileArgument(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (!arg.empty() && arg.front() != '-') return arg;
    }
    return std::nullopt;
}

}  // namespace valdris
