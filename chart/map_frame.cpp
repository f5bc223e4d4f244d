// SPDX-License-Identifier: Apache-2.0
#include "map_frame.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "number_text.h"
#include "rounding.h"

namespace valdris {
namespace {

constexpr ChartColor kBlack{0, 0, 0};
constexpr ChartColor kAxisGrey{96, 96, 96};      // the frame steps back behind the field
constexpr ChartColor kFieldFill{226, 236, 214};  // pale, so crosses and numbers read on it

// Layout in twips.
constexpr double kPadding = 120;
constexpr double kTickLength = 60;
constexpr double kLabelGap = 30;      // a tick label's clearance from its tick
constexpr double kBarTick = 60;       // the scale bar's end ticks
constexpr double kArrowWidth = 180;
constexpr double kArrowHeight = 300;
constexpr double kLabelMargin = 15;   // a label's clearance from the extent's lines
constexpr double kLabelOffset = 30;   // a label's corner from its point
constexpr double kLabelSpacing = 15;  // the least room between two labels
constexpr double kExtentRoom = 0.04;  // of the longer side, around the boundary
constexpr double kLeastSpan = 1;      // metres a map shows at the least
constexpr double kMostSteps = 9007199254740992.0;  // 2^53

double Clamp(double value, double low, double high) { return std::max(low, std::min(value, high)); }

// The widest of the ticks' labels on the surface.
double WidestLabel(const AxisTicks& ticks, const ChartSurface& surface) {
    double widest = 0;
    for (const double value : ticks.values) widest = std::max(widest, surface.TextWidth(TickLabel(value, ticks.decimals)));
    return widest;
}

// As many x ticks as their labels leave room for, centred under them.
AxisTicks XTicks(double low, double high, double width, double scale, const ChartSurface& surface) {
    const double space = 2 * surface.TextHeight("0");
    AxisTicks ticks;
    for (int most = static_cast<int>(Clamp(std::floor(width / (3 * space)), 2, 10)); most >= 2; --most) {
        ticks = ChooseTicks(low, high, most);
        if (ticks.step * scale >= WidestLabel(ticks, surface) + space) break;
    }
    return ticks;
}

void Outline(const Ring& ring, const MapLayout& map, ChartSurface& surface) {
    if (ring.size() < 2) return;
    surface.MoveTo(map.X(ring.front().x), map.Y(ring.front().y));
    for (std::size_t k = 1; k < ring.size(); ++k) surface.LineTo(map.X(ring[k].x), map.Y(ring[k].y));
    surface.LineTo(map.X(ring.front().x), map.Y(ring.front().y));
}

std::vector<ChartSurface::Point> InTwips(const Ring& ring, const MapLayout& map) {
    std::vector<ChartSurface::Point> points;
    points.reserve(ring.size());
    for (const GridPoint& p : ring) points.push_back({map.X(p.x), map.Y(p.y)});
    return points;
}

void DrawTicks(const MapLayout& map, ChartSurface& surface) {
    const MapBox& f = map.frame;
    const double text_height = surface.TextHeight("0");
    for (const double x : map.x_ticks.values) {
        const double at = map.X(x);
        surface.DrawLine(at, f.bottom, at, f.bottom + kTickLength);
        const std::string label = TickLabel(x, map.x_ticks.decimals);
        const double width = surface.TextWidth(label);
        const double left = Clamp(at - width / 2, 0, surface.Width() - width);
        surface.DrawText(WholeTwips(left), WholeTwips(f.bottom + kTickLength + kLabelGap), label);
    }
    for (const double y : map.y_ticks.values) {
        const double at = map.Y(y);
        surface.DrawLine(f.left - kTickLength, at, f.left, at);
        const std::string label = TickLabel(y, map.y_ticks.decimals);
        const double left = std::max(0.0, f.left - kTickLength - kLabelGap - surface.TextWidth(label));
        surface.DrawText(WholeTwips(left), WholeTwips(at - text_height / 2), label);
    }
}

// A notched arrowhead pointing up the page (the field's y, north in a
// projected system) with its N above it.
void DrawNorthArrow(const MapBox& box, ChartSurface& surface) {
    const double centre = WholeTwips((box.left + box.right) / 2);
    const double half = kArrowWidth / 2;
    surface.DrawText(WholeTwips(centre - surface.TextWidth("N") / 2), box.top, "N");
    const double tip = box.bottom - kArrowHeight;
    const double base = WholeTwips(tip + 0.6 * kArrowHeight);
    const double notch = WholeTwips(tip + 0.45 * kArrowHeight);
    surface.FillRings({{{centre, tip}, {centre + half, base}, {centre, notch}, {centre - half, base}}}, kBlack);
    surface.DrawLine(centre, notch, centre, box.bottom);
}

void DrawScaleBar(const MapLayout& map, ChartSurface& surface) {
    if (!(map.scale_length > 0)) return;
    const double y = map.scale_bar_y;
    const double left = map.scale_bar.left;
    const double right = WholeTwips(left + map.scale_length * map.scale);
    surface.DrawLine(left, y, right, y);
    surface.DrawLine(left, y - kBarTick, left, y);
    surface.DrawLine(right, y - kBarTick, right, y);
    const std::string label = WriteNumber(map.scale_length) + " m";
    surface.DrawText(WholeTwips(right + kPadding / 2), WholeTwips(y - surface.TextHeight(label) / 2), label);
}

}  // namespace

double WholeTwips(double value) { return RoundHalfEven(value); }

double RoundScaleLength(double at_most) {
    if (!(at_most > 0) || !std::isfinite(at_most)) return 0;
    const double power = std::pow(10.0, std::floor(std::log10(at_most)));
    for (const double step : {5.0, 2.0, 1.0}) {
        if (step * power <= at_most) return step * power;
    }
    return power / 2;  // log10 rounded up across a power of ten
}

AxisTicks ChooseTicks(double low, double high, int most) {
    most = std::max(most, 2);
    if (!std::isfinite(low) || !std::isfinite(high) || !(high > low)) return {};
    const double rough = (high - low) / (most - 1);
    int power = static_cast<int>(std::floor(std::log10(rough)));
    for (;; ++power) {
        for (const double multiple : {1.0, 2.0, 5.0}) {
            // Steps below one are a whole number over a power of ten, so
            // that 0.1 is the tenth of one and prints as such.
            const double step = power >= 0 ? multiple * std::pow(10.0, power) : multiple / std::pow(10.0, -power);
            const double first = std::ceil(low / step);
            const double last = std::floor(high / step);
            if (last - first + 1 > most) continue;
            // Beyond 2^53 whole steps a double cannot count them one by one.
            if (std::max(std::abs(first), std::abs(last)) > kMostSteps) return {};
            AxisTicks ticks{step, std::max(0, -power), {}};
            for (double k = first; k <= last; ++k) ticks.values.push_back(k * step);
            return ticks;
        }
    }
}

std::string TickLabel(double value, int decimals) {
    if (!std::isfinite(value)) return {};
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", std::clamp(decimals, 0, 12), value);
    std::string text = buffer;
    if (text.find_first_not_of("-0.") == std::string::npos && text[0] == '-') text.erase(0, 1);  // no "-0"
    const std::size_t digits_start = text[0] == '-' ? 1 : 0;
    const std::size_t point = std::min(text.find('.'), text.size());
    if (point - digits_start > 4) {
        for (std::size_t at = point; at > digits_start + 3; at -= 3) text.insert(at - 3, " ");
    }
    return text;
}

std::string CrsCaption(const std::string& crs) {
    if (crs.empty() || crs.rfind("EPSG:", 0) == 0) return crs;
    const std::size_t open = crs.find('"');
    const std::size_t close = open == std::string::npos ? open : crs.find('"', open + 1);
    if (close == std::string::npos || close == open + 1) return "the boundary's reference system";
    return crs.substr(open + 1, close - open - 1);
}

double MapLayout::X(double x) const { return WholeTwips(frame.left + (x - min_x) * scale); }
double MapLayout::Y(double y) const { return WholeTwips(frame.top + (max_y - y) * scale); }

MapLayout LayOutMap(const BoundaryExtent& extent, const ChartSurface& surface, int caption_lines) {
    const double text_height = surface.TextHeight("0");
    const double width = std::max(extent.max_x - extent.min_x, 0.0);
    const double height = std::max(extent.max_y - extent.min_y, 0.0);
    const double room = std::max({width, height, kLeastSpan}) * kExtentRoom;
    const double field_width = width + 2 * room;
    const double field_height = height + 2 * room;
    const double centre_x = (extent.min_x + extent.max_x) / 2;
    const double centre_y = (extent.min_y + extent.max_y) / 2;

    MapLayout map;
    map.frame.top = WholeTwips(kPadding + caption_lines * text_height + (caption_lines > 0 ? kPadding : 0));
    map.frame.right = WholeTwips(surface.Width() - 2 * kPadding - std::max(kArrowWidth, surface.TextWidth("N")));
    map.frame.bottom = WholeTwips(surface.Height() - kTickLength - kLabelGap - 2 * text_height - 3 * kPadding);
    // The y labels' width sets the frame's left, and the frame the labels:
    // a few rounds settle it.
    double labels_width = surface.TextWidth(TickLabel(centre_y, 0));
    for (int round = 0; round < 3; ++round) {
        map.frame.left = WholeTwips(kPadding + labels_width + kTickLength + kLabelGap);
        const double room_width = std::max(0.0, map.frame.right - map.frame.left);
        const double room_height = std::max(0.0, map.frame.bottom - map.frame.top);
        map.scale = std::min(room_width / field_width, room_height / field_height);
        if (!std::isfinite(map.scale) || !(map.scale > 0)) map.scale = 0;
        const double shown_width = map.scale > 0 ? room_width / map.scale : 0;
        const double shown_height = map.scale > 0 ? room_height / map.scale : 0;
        map.min_x = centre_x - shown_width / 2;
        map.max_y = centre_y + shown_height / 2;
        const int most_y = static_cast<int>(Clamp(std::floor(room_height / (2.5 * text_height)), 2, 8));
        map.y_ticks = ChooseTicks(map.max_y - shown_height, map.max_y, most_y);
        map.x_ticks = XTicks(map.min_x, map.min_x + shown_width, room_width, map.scale, surface);
        const double widest = WidestLabel(map.y_ticks, surface);
        if (widest <= labels_width) break;
        labels_width = widest;
    }

    const double arrow_left = WholeTwips(map.frame.right + kPadding);
    map.north_arrow = {arrow_left, map.frame.top, arrow_left + std::max(kArrowWidth, surface.TextWidth("N")),
                       WholeTwips(map.frame.top + text_height + kLabelGap + kArrowHeight)};
    if (map.scale > 0) map.scale_length = RoundScaleLength((map.frame.right - map.frame.left) / 4 / map.scale);
    const double bar_y = WholeTwips(surface.Height() - kPadding - text_height / 2);
    const std::string bar_label = WriteNumber(map.scale_length) + " m";
    map.scale_bar = {map.frame.left, bar_y - std::max(kBarTick, text_height / 2),
                     WholeTwips(map.frame.left + map.scale_length * map.scale + kPadding / 2) +
                         surface.TextWidth(bar_label),
                     bar_y + text_height / 2};
    map.scale_bar_y = bar_y;
    return map;
}

void DrawBoundary(const Boundary& boundary, const MapLayout& map, ChartSurface& surface) {
    for (const BoundaryPolygon& polygon : boundary.polygons) {
        std::vector<std::vector<ChartSurface::Point>> rings{InTwips(polygon.outer, map)};
        for (const Ring& hole : polygon.holes) rings.push_back(InTwips(hole, map));
        surface.FillRings(rings, kFieldFill);
    }
    surface.SetPenColor(kBlack);
    for (const BoundaryPolygon& polygon : boundary.polygons) {
        Outline(polygon.outer, map, surface);
        for (const Ring& hole : polygon.holes) Outline(hole, map, surface);
    }
}

void DrawMapFurniture(const MapLayout& map, ChartSurface& surface) {
    const MapBox& f = map.frame;
    surface.SetPenColor(kAxisGrey);
    surface.DrawLine(f.left, f.top, f.right, f.top);
    surface.DrawLine(f.right, f.top, f.right, f.bottom);
    surface.DrawLine(f.left, f.bottom, f.right, f.bottom);
    surface.DrawLine(f.left, f.top, f.left, f.bottom);
    DrawTicks(map, surface);
    surface.SetPenColor(kBlack);
    DrawNorthArrow(map.north_arrow, surface);
    DrawScaleBar(map, surface);
}

double DrawCaption(const std::vector<std::string>& lines, ChartSurface& surface) {
    surface.SetPenColor(kBlack);
    double y = kPadding;
    for (const std::string& line : lines) {
        surface.DrawText(kPadding, WholeTwips(y), line);
        y += surface.TextHeight(line);
    }
    return WholeTwips(y);
}

std::optional<MapBox> PlaceLabel(double x, double y, double width, double height, const MapBox& room,
                                 const std::vector<MapBox>& taken) {
    const double right = WholeTwips(std::min(x + kLabelOffset, room.right - width));
    const double left = WholeTwips(x - kLabelOffset - width);
    const double above = WholeTwips(y - kLabelOffset - height);
    const double below = WholeTwips(y + kLabelOffset);
    const std::pair<double, double> corners[] = {{right, above}, {left, above}, {right, below}, {left, below}};
    for (const auto& [text_x, text_y] : corners) {
        const MapBox box{text_x, text_y, text_x + width, text_y + height};
        if (!box.Within(room)) continue;
        if (std::none_of(taken.begin(), taken.end(), [&](const MapBox& other) { return box.Overlaps(other, kLabelSpacing); })) {
            return box;
        }
    }
    return std::nullopt;
}

MapBox LabelRoom(const BoundaryExtent& extent, const MapLayout& map) {
    return {std::max(map.X(extent.min_x), map.frame.left) + kLabelMargin,
            std::max(map.Y(extent.max_y), map.frame.top) + kLabelMargin,
            std::min(map.X(extent.max_x), map.frame.right) - kLabelMargin,
            std::min(map.Y(extent.min_y), map.frame.bottom) - kLabelMargin};
}

Boundary BoundaryOrRectangle(const Boundary& boundary, double width, double height) {
    return boundary.empty() ? RectangleBoundary(width, height) : boundary;
}

}  // namespace valdris
