// SPDX-License-Identifier: Apache-2.0
#pragma once
// Writes the power chart of a design to a PNG or SVG file, for reports: the
// window's chart, drawn (not enlarged) at the size asked for.

#include <QImage>
#include <QPageSize>
#include <QSize>
#include <string>

#include "design_state.h"
#include "safe_file.h"

namespace valdris {

// The sizes a chart image is offered at: the window's, twice that (sharp on
// screens of two device pixels to the pixel, and in documents), and the
// printed report's chart width at 300 dots per inch.
enum class ChartImageSize { Screen, Double, Report300Dpi };

// How an image of the chart is drawn: device pixels per logical pixel of the
// window's chart, and the resolution the file states (so that it is placed at
// the size it was drawn for).
struct ChartResolution {
    double ratio = 1;
    double dots_per_inch = 96;
};

// An image as sharp as a screen of that many device pixels to the pixel shows
// the chart.
ChartResolution ScreenResolution(double ratio);

// The report's chart takes the width of the page less its margins, on the
// given paper.
ChartResolution ResolutionOf(ChartImageSize size, const QPageSize& paper);

// The image of the chart at a ratio, in whole pixels.
QSize ChartPixelSize(double ratio);

// The file type follows the extension (.png or .svg). A failure's message is
// a readable reason the file could not be written.
// The file is written as WriteFileSafely writes (whole or not at all, never
// through a link or into anything but a regular file).
// A PNG is drawn at the resolution given; an SVG has no pixels and is the same
// at every size.
Outcome<Done> WriteChartFile(const DesignState& state, const std::string& path,
                             ReadOnlyFile read_only = ReadOnlyFile::Refuse, ChartResolution resolution = {});

// The chart as the PNG file has it at that resolution, for the clipboard.
QImage ChartImage(const DesignState& state, ChartResolution resolution = {});

}  // namespace valdris
