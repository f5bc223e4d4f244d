// SPDX-License-Identifier: Apache-2.0
#pragma once
// Writes the power chart of a design to a PNG or SVG file at the window's
// chart size, for reports.

#include <QImage>
#include <string>

#include "design_state.h"
#include "safe_file.h"

namespace valdris {

// The file type follows the extension (.png or .svg). A failure's message is
// a readable reason the file could not be written.
// The file is written as WriteFileSafely writes (whole or not at all, never
// through a link or into anything but a regular file).
Outcome<Done> WriteChartFile(const DesignState& state, const std::string& path,
                             ReadOnlyFile read_only = ReadOnlyFile::Refuse);

// The chart as the PNG file has it, for the clipboard.
QImage ChartImage(const DesignState& state);

}  // namespace valdris
