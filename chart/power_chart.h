// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "chart_geometry.h"
#include "chart_surface.h"
#include "design_state.h"

namespace valdris {

// Clears the surface and draws what every power chart stands on: the axes,
// the probability and percent grid and the red 100 % line, scaled for the
// DCGL. Returns the geometry the rest is drawn by.
ChartGeometry DrawChartFrame(double dcgl, ChartSurface& surface);

// Clears the surface and draws axes, grid, labels, the red DCGL and LBGR
// lines and the blue power curve from the design state.
void DrawPowerChart(const DesignState& state, ChartSurface& surface);

}  // namespace valdris
