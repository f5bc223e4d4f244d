// SPDX-License-Identifier: Apache-2.0
#pragma once
// Number and text forms for machine-readable output (JSON and CSV) and the
// fixed-decimal columns of the readable report. Independent of the locale.

#include <string>
#include <string_view>

#include "number_text.h"  // ExactNumber

namespace valdris::cli {

// A fixed number of decimals (2.5 with 1 gives "2.5", 1 with 6 "1.000000").
std::string FixedDecimals(double value, int decimals);

// A JSON string literal, quotes included.
std::string JsonString(std::string_view text);

// A multi-line message on one line, its lines joined by a blank.
std::string OneLine(std::string_view message);

}  // namespace valdris::cli
