// SPDX-License-Identifier: Apache-2.0
#pragma once
// What every map of a unit shares: the boundary to scale, one field metre
// as long across as up, with y growing upwards; a frame with coordinate
// ticks in the boundary's metres; a north arrow beside the frame's top and a
// scale bar of a round length below it. The sample map and the posting plot
// add their own marks inside the frame.
//
// Tick steps are 1, 2 or 5 times a power of ten, the "nice numbers" of
// P. S. Heckbert, Nice numbers for graph labels, Graphics Gems, 1990.

#include <optional>
#include <string>
#include <vector>

#include "boundary.h"
#include "chart_surface.h"

namespace valdris {

// The ticks of one axis over [low, high]: multiples of a round step.
struct AxisTicks {
    double step = 0;
    int decimals = 0;            // the places a label needs for the step
    std::vector<double> values;  // ascending, within [low, high]
};

// The smallest round step that puts at most `most` ticks (at least 2) on
// the range; none for an empty or non-finite range.
AxisTicks ChooseTicks(double low, double high, int most);

// The value in full, with the step's decimal places and its whole part in
// groups of three digits when it has more than four (500 000, 5 000 120):
// a coordinate never turns into an exponent.
std::string TickLabel(double value, int decimals);

// The boundary's reference system as a caption names it: the EPSG code, or
// the name a WKT gives it; empty for the unit's own local metres.
std::string CrsCaption(const std::string& crs);

// A box in twips.
struct MapBox {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;

    bool Within(const MapBox& room) const {
        return left >= room.left && right <= room.right && top >= room.top && bottom <= room.bottom;
    }
    bool Overlaps(const MapBox& other, double gap = 0) const {
        return left < other.right + gap && other.left < right + gap && top < other.bottom + gap &&
               other.top < bottom + gap;
    }
};

// Where one map is drawn on a surface, and how.
struct MapLayout {
    MapBox frame;       // the framed field, in twips
    double scale = 0;   // twips per metre, the same across and up
    double min_x = 0;   // the field's coordinates at the frame's left...
    double max_y = 0;   // ...and top
    AxisTicks x_ticks;
    AxisTicks y_ticks;
    MapBox north_arrow;        // the arrow with its N above it
    MapBox scale_bar;          // the bar with its label to its right
    double scale_bar_y = 0;    // the bar's line
    double scale_length = 0;   // the bar's length in metres

    double X(double x) const;
    double Y(double y) const;
};

// Fits the boundary's extent (with a little room around it) into the
// surface below `caption_lines` lines of caption; the frame takes all the
// room left and the field's range widens to fill it.
MapLayout LayOutMap(const BoundaryExtent& extent, const ChartSurface& surface, int caption_lines);

// The boundary drawn in twips: every polygon filled pale with its holes left
// white, then every ring's outline in black.
void DrawBoundary(const Boundary& boundary, const MapLayout& map, ChartSurface& surface);

// The frame, its ticks and their labels, the north arrow and the scale bar
// (the bar's label last).
void DrawMapFurniture(const MapLayout& map, ChartSurface& surface);

// The caption's lines from the top left, black; returns the y below them.
double DrawCaption(const std::vector<std::string>& lines, ChartSurface& surface);

// The first place, above the point and then below it, where a label of
// that size stays inside the room and clear of those placed before:
// to the point's right (slid left as far as the room's edge asks) or to
// its left; none when every place fails.
std::optional<MapBox> PlaceLabel(double x, double y, double width, double height, const MapBox& room,
                                 const std::vector<MapBox>& taken);

// The inside of the boundary's extent in twips, a little clear of its
// lines and within the frame: where labels of the map's points go.
MapBox LabelRoom(const BoundaryExtent& extent, const MapLayout& map);

// A unit's boundary, or the rectangle W x H where it has none drawn.
Boundary BoundaryOrRectangle(const Boundary& boundary, double width, double height);

// The scale bar's length: the largest 1, 2 or 5 times a power of ten that is
// at most the given length (a quarter of the frame's width).
double RoundScaleLength(double at_most);

// Every coordinate handed to a surface is a whole number of twips.
double WholeTwips(double value);

}  // namespace valdris
