// SPDX-License-Identifier: Apache-2.0
#include "curve_comparison.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "power_chart.h"
#include "rounding.h"

namespace valdris {
namespace {

// Dark enough to read on white, told apart without the red of the 100 % line.
constexpr std::array<ChartColor, 8> kColors = {{
    {0, 0, 255}, {0, 128, 0}, {192, 0, 192}, {230, 120, 0},
    {0, 150, 150}, {128, 64, 0}, {0, 0, 0}, {110, 110, 110},
}};

constexpr int kCurveLinePx = 2;
constexpr double kLegendInset = 120;   // twips from the plot's corner
constexpr double kLegendSwatch = 300;  // the line drawn before each name
constexpr double kLegendGap = 90;

// A curve's x is its concentration as a fraction of its own DCGL, on a frame
// scaled for a DCGL of 1.
void DrawCurve(const ChartGeometry& g, const DesignState& state, ChartSurface& surface) {
    for (int i = 1; i <= kCurvePoints; ++i) {
        const double fraction = static_cast<double>(state.CurveX[i]) / state.DCGL;
        const double px = RoundHalfEven(g.axisX + fraction * g.xScale);
        const double py = RoundHalfEven(g.axisY - g.plotH * state.CurvePower[i]);
        if (!std::isfinite(px) || !std::isfinite(py)) continue;
        if (i == 1) {
            surface.MoveTo(px, py);
        } else {
            surface.LineTo(px, py);
        }
    }
}

// A framed white box over the grid, one line a curve: a swatch of its colour
// and its label.
void DrawLegend(const ChartGeometry& g, const std::vector<ComparedCurve>& curves, ChartSurface& surface) {
    double widest = 0;
    double height = 0;
    for (const ComparedCurve& curve : curves) {
        widest = std::max(widest, surface.TextWidth(curve.label));
        height += surface.TextHeight(curve.label);
    }
    const double right = g.rightX - kLegendInset;
    const double left = RoundHalfEven(right - widest - 3 * kLegendGap - kLegendSwatch);
    const double top = g.topY + kLegendInset;
    const double bottom = RoundHalfEven(top + height + 2 * kLegendGap);
    surface.FillRect(left, top, right - left, bottom - top, ChartColor{255, 255, 255});
    surface.SetPenColor(ChartColor{});
    surface.SetLineWidth(1);
    surface.DrawLine(left, top, right, top);
    surface.DrawLine(right, top, right, bottom);
    surface.DrawLine(right, bottom, left, bottom);
    surface.DrawLine(left, bottom, left, top);
    double y = top + kLegendGap;
    for (std::size_t i = 0; i < curves.size(); ++i) {
        const double line_height = surface.TextHeight(curves[i].label);
        const double middle = RoundHalfEven(y + line_height / 2);
        surface.SetPenColor(ComparisonColor(i));
        surface.SetLineWidth(kCurveLinePx);
        surface.DrawLine(left + kLegendGap, middle, left + kLegendGap + kLegendSwatch, middle);
        surface.SetLineWidth(1);
        surface.SetPenColor(ChartColor{});
        surface.DrawText(left + 2 * kLegendGap + kLegendSwatch, y, curves[i].label);
        y += line_height;
    }
}

}  // namespace

ChartColor ComparisonColor(std::size_t index) { return kColors[index % kColors.size()]; }

void DrawCurveComparison(const std::vector<ComparedCurve>& curves, ChartSurface& surface) {
    const ChartGeometry geometry = DrawChartFrame(1.0, surface);
    for (std::size_t i = 0; i < curves.size(); ++i) {
        surface.SetPenColor(ComparisonColor(i));
        surface.SetLineWidth(kCurveLinePx);
        DrawCurve(geometry, curves[i].state, surface);
    }
    DrawLegend(geometry, curves, surface);
}

}  // namespace valdris
