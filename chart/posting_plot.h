// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <vector>

#include "boundary.h"
#include "chart_surface.h"

namespace valdris {

// Where a value stands against the unit's limits.
enum class PostingClass { AtMostDCGL, AboveDCGL, AboveDCGLEMC };

// At most the DCGL; above it and at most the DCGL_EMC; above the DCGL_EMC
// (ExceedsDCGLEMC). A DCGL_EMC that is not a positive number (no
// area-factor table) leaves every value above the DCGL in the middle class.
PostingClass ClassOfValue(double value, double dcgl, double dcgl_emc);

// How a class is drawn: a colour a reader with any common colour-vision
// deficiency tells from the others (from the palette of M. Okabe and
// K. Ito, Color Universal Design, 2008), and a marker shape that tells them
// apart without colour.
enum class MarkerShape { Circle, Triangle, Diamond };
struct PostingStyle {
    ChartColor color;
    MarkerShape shape;
};
PostingStyle StyleOf(PostingClass posting_class);

// Clears the surface and draws the unit's boundary as the sample map does,
// each value as its class's marker at its location with the value beside it
// where there is room (the highest values first), a legend of the classes
// under the caption, the coordinate ticks, a north arrow and a scale bar.
// A value or location that is not a finite number is left out, and the
// caption says how many were. Each value is classed against its own
// DCGL_EMC, `dcgl_emc` beside the values; the legend names the figure only
// when they share one (NamedDCGLEMC).
void DrawPostingPlot(const Boundary& boundary, const std::vector<PostedValue>& values, double dcgl,
                     const std::vector<double>& dcgl_emc, ChartSurface& surface);

}  // namespace valdris
