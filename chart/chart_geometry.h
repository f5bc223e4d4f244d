// SPDX-License-Identifier: Apache-2.0
#pragma once
// Where the power chart is drawn: the size of PicChart's drawing area, and the
// margins, scale and axis positions of one drawing.

#include "chart_surface.h"
#include "twips.h"

namespace valdris {

// PicChart is 7815 x 4695 twips outside (521 x 313 px). A sunken 3D
// picture-box border takes 2 px on each side, which leaves 517 x 309 px
// (7755 x 4635 twips) to draw on. The window, the view and the chart files
// all use these figures, so the file shows what the window shows.
constexpr int kChartOuterWidthPx = 521;
constexpr int kChartOuterHeightPx = 313;
constexpr int kChartBorderPx = 2;
constexpr int kChartDrawingWidthPx = kChartOuterWidthPx - 2 * kChartBorderPx;
constexpr int kChartDrawingHeightPx = kChartOuterHeightPx - 2 * kChartBorderPx;

// The values one drawing is laid out by, in twips. All but the scale are
// whole numbers; they are carried in doubles so that a very small DCGL cannot
// overflow the scale.
struct ChartGeometry {
    double width = 0;   // drawing area, rounded
    double height = 0;
    double axisX = 0;   // x of the vertical axis (left margin)
    double bandH = 0;   // height of the band below the horizontal axis
    double rightX = 0;  // right end of the horizontal axis and grid lines
    double topY = 0;    // y of probability 1
    double axisY = 0;   // y of the horizontal axis, probability 0
    double plotW = 0;
    double plotH = 0;
    double xScale = 0;  // twips per concentration unit, not rounded
};

// Measures the margins with the surface's font and scales 1.5 x DCGL to the
// plot width. A DCGL of zero (the state before the first design) gives no
// finite scale: it gets scale 0 and draws on the axis instead of handing
// infinities to the surface.
ChartGeometry ComputeChartGeometry(const ChartSurface& surface, double dcgl);

}  // namespace valdris
