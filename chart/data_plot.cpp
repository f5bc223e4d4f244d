// SPDX-License-Identifier: Apache-2.0
#include "data_plot.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "chart_geometry.h"
#include "number_text.h"
#include "rounding.h"

namespace valdris {
namespace {

constexpr ChartColor kBlack{0, 0, 0};
constexpr ChartColor kRed{255, 0, 0};
constexpr ChartColor kBlue{0, 0, 255};
constexpr ChartColor kGreen{0, 128, 0};

constexpr double kMarkerHalf = 45;      // twips either side of a point
constexpr double kTickLength = 40;
constexpr double kLabelGap = 60;
constexpr double kRangePadding = 0.05;  // of the value range, either side
constexpr int kFractionLines = 6;       // 0 to 1 in fifths
constexpr int kMostValueTicks = 8;

// The value range shown: every value and the DCGL, padded; one value alone
// gets a range around it.
struct ValueRange {
    double low = 0;
    double high = 0;
};

ValueRange RangeOf(const std::vector<double>& a, const std::vector<double>& b, double dcgl) {
    double low = dcgl;
    double high = dcgl;
    for (const auto* values : {&a, &b}) {
        for (const double v : *values) {
            low = std::min(low, v);
            high = std::max(high, v);
        }
    }
    double span = high - low;
    if (span == 0) span = low != 0 ? std::fabs(low) : 1;
    return {low - kRangePadding * span, high + kRangePadding * span};
}

// 1, 2 or 5 times a power of ten, giving at most kMostValueTicks steps.
double TickStep(const ValueRange& range) {
    const double rough = (range.high - range.low) / kMostValueTicks;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (factor * power >= rough) return factor * power;
    }
    return 10 * power;
}

struct Frame {
    ChartGeometry g;
    ValueRange range;
    double X(double value) const {
        return RoundHalfEven(g.axisX + (value - range.low) / (range.high - range.low) * g.plotW);
    }
    double Y(double fraction) const { return RoundHalfEven(g.axisY - fraction * g.plotH); }
};

void DrawFractionAxis(const Frame& f, ChartSurface& surface) {
    surface.DrawLine(f.g.axisX, f.g.topY, f.g.axisX, f.g.axisY);
    for (int j = 0; j < kFractionLines; ++j) {
        const double fraction = j / static_cast<double>(kFractionLines - 1);
        const double y = f.Y(fraction);
        const std::string label = FormatZeroPointZero(fraction);
        surface.DrawText(f.g.axisX - kLabelGap - surface.TextWidth(label), y - surface.TextHeight(label) / 2, label);
        surface.DrawLine(f.g.axisX - kTickLength, y, f.g.axisX, y);
    }
}

void DrawValueAxis(const Frame& f, ChartSurface& surface) {
    surface.DrawLine(f.g.axisX, f.g.axisY, f.g.rightX, f.g.axisY);
    const double step = TickStep(f.range);
    double k = std::ceil(f.range.low / step);
    // Counted as well: far from zero, k + 1 may not change k.
    for (int tick = 0; tick <= kMostValueTicks + 1 && k * step <= f.range.high; ++tick, ++k) {
        const double x = f.X(k * step);
        // The product, not a running sum: 3 x 0.1 is written 0.3.
        const std::string label = WriteNumber(k * step == 0 ? 0.0 : k * step);
        surface.DrawText(x - surface.TextWidth(label) / 2, f.g.axisY + kTickLength, label);
        surface.DrawLine(x, f.g.axisY, x, f.g.axisY + kTickLength);
    }
}

// The i-th smallest of n values at the plotting position (i - 1/2) / n.
void DrawQuantiles(const Frame& f, std::vector<double> values, bool crosses, ChartSurface& surface) {
    std::sort(values.begin(), values.end());
    const double n = static_cast<double>(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        const double x = f.X(values[i]);
        const double y = f.Y((static_cast<double>(i) + 0.5) / n);
        if (crosses) {
            surface.DrawLine(x - kMarkerHalf, y - kMarkerHalf, x + kMarkerHalf, y + kMarkerHalf);
            surface.DrawLine(x - kMarkerHalf, y + kMarkerHalf, x + kMarkerHalf, y - kMarkerHalf);
        } else {
            surface.DrawLine(x - kMarkerHalf, y, x + kMarkerHalf, y);
            surface.DrawLine(x, y - kMarkerHalf, x, y + kMarkerHalf);
        }
    }
}

// The names in the colours of what they name, at the top left, which a
// quantile plot leaves empty: its high fractions go with high values.
void DrawLegend(const Frame& f, bool reference, ChartSurface& surface) {
    struct Entry {
        ChartColor color;
        std::string text;
    };
    std::vector<Entry> entries = {{kBlue, "x Survey unit"}, {kRed, "| DCGL"}};
    if (reference) entries.insert(entries.begin() + 1, {kGreen, "+ Reference area + DCGL"});
    double y = f.g.topY;
    for (const Entry& e : entries) {
        surface.SetPenColor(e.color);
        surface.DrawText(f.g.axisX + kLabelGap, y, e.text);
        y += surface.TextHeight(e.text);
    }
}

}  // namespace

void DrawDataPlot(const std::vector<double>& survey, const std::vector<double>& reference, double dcgl,
                  ChartSurface& surface) {
    surface.SetPenColor(kBlack);
    surface.SetLineWidth(1);
    surface.Clear();
    std::vector<double> adjusted = reference;
    for (double& r : adjusted) r += dcgl;

    Frame frame{ComputeChartGeometry(surface, dcgl), RangeOf(survey, adjusted, dcgl)};
    // Values more than the largest double apart cannot be placed.
    if (!std::isfinite(frame.range.high - frame.range.low)) return;
    DrawFractionAxis(frame, surface);
    DrawValueAxis(frame, surface);

    surface.SetPenColor(kRed);
    surface.DrawLine(frame.X(dcgl), frame.g.axisY, frame.X(dcgl), frame.g.topY);
    surface.SetPenColor(kGreen);
    DrawQuantiles(frame, adjusted, false, surface);
    surface.SetPenColor(kBlue);
    DrawQuantiles(frame, survey, true, surface);
    DrawLegend(frame, !reference.empty(), surface);
}

}  // namespace valdris
