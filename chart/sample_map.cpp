// SPDX-License-Identifier: Apache-2.0
#include "sample_map.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "field_texts.h"

namespace valdris {
namespace {

constexpr ChartColor kBlack{0, 0, 0};
constexpr ChartColor kBlue{0, 0, 255};
constexpr double kCrossHalf = 40;  // half the size of a location's cross, twips

// 1, 2, 5, 10, 20, 50...
std::size_t NextStep(std::size_t step) {
    std::size_t power = 1;
    while (power * 10 <= step) power *= 10;
    return step == power ? 2 * power : step == 2 * power ? 5 * power : 10 * power;
}

std::string Caption(const SampleLayout& layout) {
    return GridTypeCaption(layout.type) + " grid, spacing " + LengthText(layout.spacing) + ", " + std::to_string(layout.points.size()) +
           " locations";
}

// Says when not every location carries its number.
std::string NumberingNote(std::size_t every, std::size_t count) {
    if (count == 0 || every == 1) return "";
    if (every == 0) return ", not numbered";
    return ", every " + std::to_string(every) + (every == 2 ? "nd" : "th") + " numbered";
}

// Which locations carry their number, and where.
struct Numbering {
    std::size_t every = 0;  // each every-th location is numbered; 0: none
    std::vector<std::pair<std::size_t, MapBox>> numbers;  // the location's index and the number's box
};

// Every location numbered when all the numbers fit without touching,
// otherwise every 2nd, 5th, 10th, 20th... location, or none. The points'
// order decides every tie, so the same layout always gives the same map.
Numbering NumberLocations(const MapLayout& map, const MapBox& room, const SampleLayout& layout,
                          const ChartSurface& surface) {
    const std::size_t count = layout.points.size();
    const double height = surface.TextHeight("0");
    const double widest = surface.TextWidth(std::to_string(count));
    const double room_area = std::max(0.0, room.right - room.left) * std::max(0.0, room.bottom - room.top);
    for (std::size_t every = 1; every <= count; every = NextStep(every)) {
        // Numbers that could not fit even packed edge to edge are not tried.
        if (static_cast<double>(count / every) * widest * height > room_area) continue;
        Numbering numbering{every, {}};
        std::vector<MapBox> taken;
        for (std::size_t k = every - 1; k < count; k += every) {
            const std::optional<MapBox> box = PlaceLabel(map.X(layout.points[k].x), map.Y(layout.points[k].y),
                                                         surface.TextWidth(std::to_string(k + 1)), height, room, taken);
            if (!box) break;
            taken.push_back(*box);
            numbering.numbers.emplace_back(k, *box);
        }
        if (taken.size() == count / every) return numbering;
    }
    return {};
}

void DrawLocations(const MapLayout& map, const SampleLayout& layout, const Numbering& numbering,
                   ChartSurface& surface) {
    surface.SetPenColor(kBlue);
    for (const GridPoint& point : layout.points) {
        const double x = map.X(point.x);
        const double y = map.Y(point.y);
        surface.DrawLine(x - kCrossHalf, y, x + kCrossHalf, y);
        surface.DrawLine(x, y - kCrossHalf, x, y + kCrossHalf);
    }
    surface.SetPenColor(kBlack);
    for (const auto& [k, box] : numbering.numbers) surface.DrawText(box.left, box.top, std::to_string(k + 1));
}

}  // namespace

void DrawSampleMap(const SampleLayout& layout, ChartSurface& surface) {
    surface.SetPenColor(kBlack);
    surface.SetLineWidth(1);
    surface.Clear();
    const Boundary boundary = BoundaryOrRectangle(layout.boundary, layout.width, layout.height);
    const BoundaryExtent extent = ExtentOf(boundary);
    const std::string crs = CrsCaption(boundary.crs);
    const MapLayout map = LayOutMap(extent, surface, crs.empty() ? 1 : 2);
    const Numbering numbering = NumberLocations(map, LabelRoom(extent, map), layout, surface);

    DrawBoundary(boundary, map, surface);
    std::vector<std::string> caption{Caption(layout) + NumberingNote(numbering.every, layout.points.size())};
    if (!crs.empty()) caption.push_back("Coordinates in metres, " + crs);
    DrawCaption(caption, surface);
    DrawLocations(map, layout, numbering, surface);
    DrawMapFurniture(map, surface);
}

}  // namespace valdris
