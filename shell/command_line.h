// SPDX-License-Identifier: Apache-2.0
#pragma once
// The program's answers to --help and --version: printed before any window
// or display is opened, so they work in a terminal without a desktop (and
// for help2man at build time).

#include <optional>
#include <ostream>

namespace valdris {

// The exit status when the command line asks only for text, else nothing
// and the program starts as usual.
std::optional<int> AnswerTextRequest(int argc, const char* const* argv, std::ostream& out);

}  // namespace valdris
