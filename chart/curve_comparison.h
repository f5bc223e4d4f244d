// SPDX-License-Identifier: Apache-2.0
#pragma once
// Several designs' power curves on one chart: each over percent of its own
// DCGL, so that units measured in different quantities compare by shape,
// each in a colour of its own, with a legend naming the unit and its sizes.

#include <string>
#include <vector>

#include "chart_surface.h"
#include "design_state.h"

namespace valdris {

struct ComparedCurve {
    std::string label;  // "Unit 3 (N = 14)"
    DesignState state;  // its DCGL and curve
};

// The colour of the i-th curve (repeating after the last).
ChartColor ComparisonColor(std::size_t index);

// Clears the surface and draws the frame with the 100 % line, every curve
// and the legend in the top right corner, where no curve runs.
void DrawCurveComparison(const std::vector<ComparedCurve>& curves, ChartSurface& surface);

}  // namespace valdris
