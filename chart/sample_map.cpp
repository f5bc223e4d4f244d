// SPDX-License-Identifier: Apache-2.0
#include "sample_map.h"

#include <algorithm>
#include <cmath>
#include <string>

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

std::string Caption(const SampleLayout& layout) {
    return GridTypeCaption(layout.type) + " grid, spacing " + LengthText(layout.spacing) + ", " + std::to_string(layout.points.size()) +
           " locations";
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

void DrawLocations(const MapFrame& frame, const SampleLayout& layout, ChartSurface& surface) {
    const double text_height = surface.TextHeight("0");
    for (std::size_t k = 0; k < layout.points.size(); ++k) {
        const double x = frame.X(layout.points[k].x);
        const double y = frame.Y(layout.points[k].y);
        surface.SetPenColor(kBlue);
        surface.DrawLine(x - kCrossHalf, y, x + kCrossHalf, y);
        surface.DrawLine(x, y - kCrossHalf, x, y + kCrossHalf);
        surface.SetPenColor(kBlack);
        // A number that would leave the surface goes to the cross's left.
        const std::string number = std::to_string(k + 1);
        const double width = surface.TextWidth(number);
        const double text_x = x + kNumberOffset + width <= surface.Width() ? x + kNumberOffset
                                                                             : x - kNumberOffset - width;
        surface.DrawText(Round(text_x), Round(y - kNumberOffset - text_height), number);
    }
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
    surface.DrawText(Round(kPadding), Round(kPadding), caption);

    const MapFrame frame = FitRectangle(layout, surface, top_band, bottom_band);
    DrawRectangle(frame, layout, surface);
    DrawLocations(frame, layout, surface);
    surface.SetPenColor(kBlack);
    DrawScaleBar(frame, Round(surface.Height() - kPadding - caption_height / 2), surface.Width() - 2 * kPadding,
                 surface);
}

}  // namespace valdris
