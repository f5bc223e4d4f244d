// SPDX-License-Identifier: Apache-2.0
#pragma once
// The companion's options that bring measurements to judge: --assess FILE
// (the survey unit's) and --reference FILE (the reference area's, for WRS).

#include <optional>
#include <string>

namespace valdris::cli {

struct Options;

std::optional<std::string> SetAssessPath(Options& options, const std::string& path);
std::optional<std::string> SetReferencePath(Options& options, const std::string& path);

// The usage error of a command line whose assessment options do not fit the
// rest of it, checked once the whole line is read.
std::optional<std::string> AssessOptionsConflict(const Options& options);

// Their lines of --help.
std::string AssessHelpText();

}  // namespace valdris::cli
