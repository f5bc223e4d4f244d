#pragma once
// Writes the power chart of a design to a PNG or SVG file at the window's
// chart size, for reports.

#include <string>

#include "design_state.h"

namespace valdris {

// The file type follows the extension (.png or .svg). Returns false and sets
// error to a readable reason when the file cannot be written.
bool WriteChartFile(const DesignState& state, const std::string& path, std::string& error);

}  // namespace valdris
