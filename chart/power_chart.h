// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "chart_surface.h"
#include "design_state.h"

namespace valdris {

// Clears the surface and draws axes, grid, labels, the red DCGL and LBGR
// lines and the blue power curve from the design state.
void DrawPowerChart(const DesignState& state, ChartSurface& surface);

}  // namespace valdris
