// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "chart_surface.h"
#include "sample_grid.h"

namespace valdris {

// Clears the surface and draws the unit's sample map: a caption with the
// grid and its spacing, the unit's rectangle to scale with y growing upwards
// (the field's origin at the bottom left), each location as a cross numbered
// as it is listed (the numbers inside the rectangle and apart, only every
// 2nd, 5th, 10th... location numbered when they would crowd, the caption
// saying so), and a scale bar of a round length. Used by the plan
// window's panel and the unit's report page.
void DrawSampleMap(const SampleLayout& layout, ChartSurface& surface);

// The scale bar's length: the largest 1, 2 or 5 times a power of ten that is
// at most the given length (a quarter of the width the map may take).
double RoundScaleLength(double at_most);

}  // namespace valdris
