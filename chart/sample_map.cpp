// SPDX-License-Identifier: Apache-2.0
#include "sample_map.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "field_texts.h"
#include "number_text.h"
#include "rounding.h"

namespace valdris {
namespace {

constexpr ChartColor kBlack{0, 0, 0};
constexpr ChartColor kBlue{0, 0, 255};

// Layout in twips.
constexpr double kPadding = 120;
constexpr double kCrossHalf = 40;     // half the size of a location's cross
constexpr double kNumberOffset = 30;  // a number's corner from its cross
constexpr double kTickHeight = 60;    // the scale bar's end ticks
constexpr double kNumberMargin = 15;  // a number's clearance from the rectangle's lines
constexpr double kNumberGap = 15;     // the least room between two numbers

// Every coordinate handed to the surface is a whole number of twips.
double Round(double value) { return RoundHalfEven(value); }

// Where the rectangle sits and how many twips a field unit takes.
struct MapFrame {
    double left = 0;
    double top = 0;
    double scale = 0;
    double height = 0;  // the unit's height in field units

    double X(double x) const { return Round(left + x * scale); }
    double Y(double y) const { return Round(top + (height - y) * scale); }
};

MapFrame FitRectangle(const SampleLayout& layout, const ChartSurface& surface, double top_band, double bottom_band) {
    const double room_width = surface.Width() - 2 * kPadding;
    const double room_height = surface.Height() - top_band - bottom_band;
    MapFrame frame;
    frame.scale = std::max(0.0, std::min(room_width / layout.width, room_height / layout.height));
    if (!std::isfinite(frame.scale)) frame.scale = 0;
    frame.left = kPadding + (room_width - layout.width * frame.scale) / 2;
    frame.top = top_band;
    frame.height = layout.height;
    return frame;
}

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

void DrawRectangle(const MapFrame& frame, const SampleLayout& layout, ChartSurface& surface) {
    const double left = frame.X(0);
    const double right = frame.X(layout.width);
    const double top = frame.Y(layout.height);
    const double bottom = frame.Y(0);
    surface.MoveTo(left, top);
    surface.LineTo(right, top);
    surface.LineTo(right, bottom);
    surface.LineTo(left, bottom);
    surface.LineTo(left, top);
}

// A number's place: a box in twips, its top-left corner whole.
struct Box {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;

    bool Within(const Box& room) const {
        return left >= room.left && right <= room.right && top >= room.top && bottom <= room.bottom;
    }
    // Nearer than the gap counts as touching.
    bool Crowds(const Box& other) const {
        return left < other.right + kNumberGap && other.left < right + kNumberGap && top < other.bottom + kNumberGap &&
               other.top < bottom + kNumberGap;
    }
};

// The inside of the rectangle, a pixel clear of its lines.
Box NumberRoom(const MapFrame& frame, const SampleLayout& layout) {
    return {frame.X(0) + kNumberMargin, frame.Y(layout.height) + kNumberMargin, frame.X(layout.width) - kNumberMargin,
            frame.Y(0) - kNumberMargin};
}

// The first place, above the cross and then below it, where the number
// stays inside the rectangle and clear of the numbers placed before it: to
// the cross's right, slid left as far as the rectangle's edge asks, or to
// its left; none when every place fails.
std::optional<Box> PlaceNumber(double x, double y, double width, double height, const Box& room,
                               const std::vector<Box>& taken) {
    const double right = Round(std::min(x + kNumberOffset, room.right - width));
    const double left = Round(x - kNumberOffset - width);
    const double above = Round(y - kNumberOffset - height);
    const double below = Round(y + kNumberOffset);
    const std::pair<double, double> corners[] = {{right, above}, {left, above}, {right, below}, {left, below}};
    for (const auto& [text_x, text_y] : corners) {
        const Box box{text_x, text_y, text_x + width, text_y + height};
        if (!box.Within(room)) continue;
        if (std::none_of(taken.begin(), taken.end(), [&](const Box& other) { return box.Crowds(other); })) return box;
    }
    return std::nullopt;
}

// Which locations carry their number, and where.
struct Numbering {
    std::size_t every = 0;  // each every-th location is numbered; 0: none
    std::vector<std::pair<std::size_t, Box>> numbers;  // the location's index and the number's box
};

// Every location numbered when all the numbers fit without touching,
// otherwise every 2nd, 5th, 10th, 20th... location, or none. The points'
// order decides every tie, so the same layout always gives the same map.
Numbering NumberLocations(const MapFrame& frame, const SampleLayout& layout, const ChartSurface& surface) {
    const Box room = NumberRoom(frame, layout);
    const std::size_t count = layout.points.size();
    const double height = surface.TextHeight("0");
    const double widest = surface.TextWidth(std::to_string(count));
    const double room_area = std::max(0.0, room.right - room.left) * std::max(0.0, room.bottom - room.top);
    for (std::size_t every = 1; every <= count; every = NextStep(every)) {
        // Numbers that could not fit even packed edge to edge are not tried.
        if (static_cast<double>(count / every) * widest * height > room_area) continue;
        Numbering numbering{every, {}};
        std::vector<Box> taken;
        for (std::size_t k = every - 1; k < count; k += every) {
            const std::optional<Box> box =
                PlaceNumber(frame.X(layout.points[k].x), frame.Y(layout.points[k].y),
                            surface.TextWidth(std::to_string(k + 1)), height, room, taken);
            if (!box) break;
            taken.push_back(*box);
            numbering.numbers.emplace_back(k, *box);
        }
        if (taken.size() == count / every) return numbering;
    }
    return {};
}

void DrawLocations(const MapFrame& frame, const SampleLayout& layout, const Numbering& numbering,
                   ChartSurface& surface) {
    surface.SetPenColor(kBlue);
    for (const GridPoint& point : layout.points) {
        const double x = frame.X(point.x);
        const double y = frame.Y(point.y);
        surface.DrawLine(x - kCrossHalf, y, x + kCrossHalf, y);
        surface.DrawLine(x, y - kCrossHalf, x, y + kCrossHalf);
    }
    surface.SetPenColor(kBlack);
    for (const auto& [k, box] : numbering.numbers) surface.DrawText(box.left, box.top, std::to_string(k + 1));
}

void DrawScaleBar(const MapFrame& frame, double y, double room_width, ChartSurface& surface) {
    if (!(frame.scale > 0)) return;
    const double length = RoundScaleLength(room_width / 4 / frame.scale);
    const double left = Round(kPadding);
    const double right = Round(kPadding + length * frame.scale);
    surface.DrawLine(left, y, right, y);
    surface.DrawLine(left, y - kTickHeight, left, y);
    surface.DrawLine(right, y - kTickHeight, right, y);
    const std::string label = WriteNumber(length);
    surface.DrawText(Round(right + kPadding / 2), Round(y - surface.TextHeight(label) / 2), label);
}

}  // namespace

double RoundScaleLength(double at_most) {
    if (!(at_most > 0) || !std::isfinite(at_most)) return 0;
    const double power = std::pow(10.0, std::floor(std::log10(at_most)));
    for (const double step : {5.0, 2.0, 1.0}) {
        if (step * power <= at_most) return step * power;
    }
    return power / 2;  // log10 rounded up across a power of ten
}

void DrawSampleMap(const SampleLayout& layout, ChartSurface& surface) {
    surface.SetPenColor(kBlack);
    surface.SetLineWidth(1);
    surface.Clear();
    const std::string caption = Caption(layout);
    const double caption_height = surface.TextHeight(caption);
    const double top_band = caption_height + 2 * kPadding;
    const double bottom_band = caption_height + kTickHeight + 2 * kPadding;
    const MapFrame frame = FitRectangle(layout, surface, top_band, bottom_band);
    const Numbering numbering = NumberLocations(frame, layout, surface);
    surface.DrawText(Round(kPadding), Round(kPadding), caption + NumberingNote(numbering.every, layout.points.size()));

    DrawRectangle(frame, layout, surface);
    DrawLocations(frame, layout, numbering, surface);
    surface.SetPenColor(kBlack);
    DrawScaleBar(frame, Round(surface.Height() - kPadding - caption_height / 2), surface.Width() - 2 * kPadding,
                 surface);
}

}  // namespace valdris
