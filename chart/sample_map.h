// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "chart_surface.h"
#include "map_frame.h"
#include "sample_grid.h"

namespace valdris {

// Clears the surface and draws the unit's sample map: a caption with the
// grid and its spacing (and the reference system, when the unit has one),
// the unit's boundary to scale with its holes, each location as a cross
// numbered as it is listed (the numbers inside the boundary's extent and
// apart, only every 2nd, 5th, 10th... location numbered when they would
// crowd, the caption saying so), the coordinate ticks, a north arrow and a
// scale bar of a round length. Used by the plan window's panel, the unit's
// report page and its printed map.
void DrawSampleMap(const SampleLayout& layout, ChartSurface& surface);

}  // namespace valdris
