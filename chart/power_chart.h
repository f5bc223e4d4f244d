// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "chart_geometry.h"
#include "chart_surface.h"
#include "design_state.h"

namespace valdris {

// How the chart looks: the window's as it always was, or the printed
// report's, where a heavy grid crowds the curve and the red lines need names.
struct ChartStyle {
    ChartColor grid{0, 0, 0};   // the grid lines (the axes stay black)
    bool name_red_lines = false;  // "LBGR" and "DCGL" above the red lines
};
inline constexpr ChartStyle kWindowChartStyle{};
inline constexpr ChartStyle kReportChartStyle{{176, 176, 176}, true};

// Clears the surface and draws what every power chart stands on: the axes,
// the probability and percent grid and the red 100 % line, scaled for the
// DCGL. Returns the geometry the rest is drawn by.
ChartGeometry DrawChartFrame(double dcgl, ChartSurface& surface, const ChartStyle& style = kWindowChartStyle);

// Clears the surface and draws axes, grid, labels, the red DCGL and LBGR
// lines and the blue power curve from the design state.
void DrawPowerChart(const DesignState& state, ChartSurface& surface, const ChartStyle& style = kWindowChartStyle);

}  // namespace valdris
