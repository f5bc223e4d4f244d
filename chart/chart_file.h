// SPDX-License-Identifier: Apache-2.0
#pragma once
// Writes the power chart of a design to a PNG or SVG file at the window's
// chart size, for reports.

#include <QImage>
#include <string>

#include "design_state.h"
#include "safe_file.h"

namespace valdris {

// The file type follows the extension (.png or .svg). Returns false and sets
// error to a readable reason when the file cannot be written.
// The file is written as WriteFileSafely writes (whole or not at all, never
// through a link or into anything but a regular file).
bool WriteChartFile(const DesignState& state, const std::string& path, std::string& error,
                    ReadOnlyFile read_only = ReadOnlyFile::Refuse);

// The chart as the PNG file has it, for the clipboard.
QImage ChartImage(const DesignState& state);

}  // namespace valdris
