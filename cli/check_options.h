// SPDX-License-Identifier: Apache-2.0
#pragma once
// The companion's options of the design check: --check (what the design
// really delivers), --check-seed S (the simulation's seed) and --quantile
// specified|exact (the sizes from the exact normal quantile).

#include <cstdint>
#include <optional>
#include <string>

#include "outcome.h"

namespace valdris::cli {

struct Options;

struct CheckOptions {
    bool check = false;
    std::optional<std::string> seed;  // as typed
    bool exact_quantile = false;
};

std::optional<std::string> SetQuantile(Options& options, const std::string& value);

// The usage error of a command line whose check options do not fit the rest.
std::optional<std::string> CheckOptionsConflict(const Options& options);

// The seed as a number (the default when none was typed), or its refusal.
Outcome<uint64_t> ReadCheckSeed(const CheckOptions& options);

std::string CheckHelpText();

}  // namespace valdris::cli
