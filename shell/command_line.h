// SPDX-License-Identifier: Apache-2.0
#pragma once
// The program's answers to --help and --version: printed before any window
// or display is opened, so they work in a terminal without a desktop (and
// for help2man at build time).

#include <optional>
#include <ostream>
#include <string>

namespace valdris {

// The exit status when the command line asks only for text, else nothing
// and the program starts as usual.
std::optional<int> AnswerTextRequest(int argc, const char* const* argv, std::ostream& out);

// The plan file named on the command line (the first argument that is no
// option), once Qt has taken its own options out.
std::optional<std::string> PlanFileArgument(int argc, const char* const* argv);

}  // namespace valdris
