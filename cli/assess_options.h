// SPDX-License-Identifier: Apache-2.0
#pragma once
// The companion's options that bring measurements to judge: --assess FILE
// (the survey unit's) and --reference FILE (the reference area's, for WRS).

#include <map>
#include <optional>
#include <string>

#include "measurement_text.h"
#include "outcome.h"

namespace valdris::cli {

struct Options;

std::optional<std::string> SetAssessPath(Options& options, const std::string& path);
std::optional<std::string> SetReferencePath(Options& options, const std::string& path);
std::optional<std::string> SetColumn(Options& options, const std::string& column);

// --id-column NAME, --xy-columns X,Y and --elevated-area ID:SIZE.
std::optional<std::string> SetIdColumn(Options& options, const std::string& column);
std::optional<std::string> SetXYColumns(Options& options, const std::string& columns);
std::optional<std::string> AddElevatedArea(Options& options, const std::string& area);

// The place columns the options name; empty when they name none.
PlaceColumns PlaceColumnsOf(const Options& options);
// The sizes of --elevated-area by location id, each read as a strict number
// above 0; a location given twice is refused.
Outcome<std::map<std::string, double>> ElevatedAreaSizes(const Options& options);

// The usage error of a command line whose assessment options do not fit the
// rest of it, checked once the whole line is read.
std::optional<std::string> AssessOptionsConflict(const Options& options);

// The header of the column --column chooses in a file's text: a header it
// names (case aside), or the header of the column it numbers from 1; the
// choice as it is otherwise, for the reading to refuse by name.
std::string ChosenColumn(const std::string& text, const std::string& choice);

// Their lines of --help.
std::string AssessHelpText();

}  // namespace valdris::cli
