// SPDX-License-Identifier: Apache-2.0
#include "power_chart.h"

#include <array>
#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "chart_geometry.h"
#include "rounding.h"
#include "number_text.h"
#include "result_texts.h"

namespace valdris {
namespace {

constexpr ChartColor kBlack{0, 0, 0};
constexpr ChartColor kRed{255, 0, 0};
constexpr ChartColor kBlue{0, 0, 255};

constexpr double kLargestSingle = std::numeric_limits<float>::max();

constexpr int kThinLinePx = 1;
constexpr int kCurveLinePx = 2;

// Layout constants in twips.
constexpr double kMarginPadding = 500;       // added to the sample text extent
constexpr double kTickLength = 40;           // grid lines stick out past the axes
constexpr double kProbabilityLabelX = 500;   // fixed, not derived from the margin
constexpr double kProbabilityLabelRise = 100;
constexpr double kPercentLabelShiftLeft = 100;
constexpr double kPercentLabelDrop = 15;
constexpr double kRedLineNameGap = 30;

// The margins are sized on five blanks and a one-digit label.
constexpr int kSampleTextBlanks = 5;

constexpr int kProbabilityLines = 11;   // 0.0 to 1.0 in tenths
constexpr int kConcentrationLines = 16;  // 0 to 150 percent in tenths of the DCGL
constexpr int kDCGLLine = 11;            // 100 percent

// Whether vertical grid line k (1-based, at k - 1 tenths) carries a label.
bool PercentLabelled(int k) {
    return std::find(kLabelledTenths.begin(), kLabelledTenths.end(), k - 1) != kLabelledTenths.end();
}

// Every geometry value is a whole number, an exact half going to the even
// neighbour.
double Round(double value) { return RoundHalfEven(value); }

std::string SampleText() { return std::string(kSampleTextBlanks, ' ') + FormatHashPointHash(1.0); }

void DrawAxes(const ChartGeometry& g, ChartSurface& surface) {
    surface.DrawLine(g.axisX, g.topY, g.axisX, g.axisY);
    surface.DrawLine(g.axisX, g.axisY, g.rightX, g.axisY);
}

// The axes are drawn again over a grid of another colour: a grid line would
// cover the axis it starts on.
void DrawProbabilityGrid(const ChartGeometry& g, const ChartStyle& style, ChartSurface& surface) {
    for (int j = 1; j <= kProbabilityLines; ++j) {
        const double probability = (j - 1) * 0.1;
        const double y = Round(g.axisY - probability * g.plotH);
        surface.SetPenColor(kBlack);
        if (j % 2 == 1) {
            surface.DrawText(kProbabilityLabelX, y - kProbabilityLabelRise, FormatZeroPointZero(probability));
        }
        surface.SetPenColor(style.grid);
        surface.DrawLine(g.axisX - kTickLength, y, g.rightX, y);
    }
}

// The label of a percent line. The report centres it on its line: there
// "100%" and "110%", a tenth of the DCGL apart, would touch when each starts
// a fixed distance left of its line in a face wider than the window's.
double PercentLabelX(double x, const std::string& label, const ChartStyle& style, const ChartSurface& surface) {
    if (!style.name_red_lines) return x - kPercentLabelShiftLeft;
    return Round(x - surface.TextWidth(label) / 2);
}

void DrawConcentrationGrid(const ChartGeometry& g, double dcgl, const ChartStyle& style, ChartSurface& surface) {
    for (int k = 1; k <= kConcentrationLines; ++k) {
        surface.SetPenColor(kBlack);
        const double x = Round(g.axisX + ((k - 1) * (0.1 * dcgl)) * g.xScale);
        if (k == kDCGLLine) surface.SetPenColor(kRed);
        if (PercentLabelled(k)) {
            const std::string label = FormatPercent((k - 1) * 0.1);
            surface.DrawText(PercentLabelX(x, label, style, surface), g.axisY + kPercentLabelDrop, label);
        }
        if (k != kDCGLLine) surface.SetPenColor(style.grid);
        surface.DrawLine(x, g.axisY + kTickLength, x, g.topY);
    }
}

double LBGRLineX(const ChartGeometry& g, double lbgr) { return Round(g.axisX + lbgr * g.xScale); }

void DrawLBGRMarker(const ChartGeometry& g, double lbgr, ChartSurface& surface) {
    surface.SetPenColor(kRed);
    const double x = LBGRLineX(g, lbgr);
    surface.DrawLine(x, g.axisY + kTickLength, x, g.topY);
}

// Each name stands inside the plot where the curve is not: "LBGR" left of
// its line at the foot (the curve is high below the LBGR; right of the line
// where the axis leaves no room), "DCGL" right of its line at the top (the
// curve is low above the DCGL). Above the plot stands the axis title.
void NameRedLines(const ChartGeometry& g, const DesignState& state, ChartSurface& surface) {
    surface.SetPenColor(kRed);
    const double line_x = LBGRLineX(g, state.LBGR);
    const double left_x = line_x - surface.TextWidth("LBGR") - kRedLineNameGap;
    const double foot = g.axisY - surface.TextHeight("LBGR") - kRedLineNameGap;
    surface.DrawText(left_x > g.axisX ? left_x : line_x + kRedLineNameGap, foot, "LBGR");
    const double dcgl_x = Round(g.axisX + ((kDCGLLine - 1) * (0.1 * state.DCGL)) * g.xScale);
    surface.DrawText(dcgl_x + kRedLineNameGap, g.topY + kRedLineNameGap, "DCGL");
}

// The curve's x positions are single precision, like the grid points they
// come from: the product and the sum are each rounded to single as formed
// (the grid lines and the LBGR line, by contrast, are placed in double).
double CurvePointX(const ChartGeometry& g, float x) {
    const float scale = static_cast<float>(std::min(g.xScale, kLargestSingle));
    const float scaled = scale * x;
    return static_cast<float>(scaled + static_cast<float>(g.axisX));
}

void DrawCurve(const ChartGeometry& g, const DesignState& state, ChartSurface& surface) {
    surface.SetPenColor(kBlue);
    surface.SetLineWidth(kCurveLinePx);
    for (int i = 1; i <= kCurvePoints; ++i) {
        const double px = Round(CurvePointX(g, state.CurveX[i]));
        const double py = Round(g.axisY - g.plotH * state.CurvePower[i]);
        if (i == 1) {
            surface.MoveTo(px, py);
        } else {
            surface.LineTo(px, py);
        }
    }
}

}  // namespace

ChartGeometry ComputeChartGeometry(const ChartSurface& surface, double dcgl) {
    ChartGeometry g;
    g.width = Round(surface.Width());
    g.height = Round(surface.Height());
    const std::string sample = SampleText();
    g.axisX = Round(surface.TextWidth(sample) + kMarginPadding);
    g.bandH = Round(surface.TextHeight(sample) + kMarginPadding);
    g.rightX = Round(g.width - g.axisX * 0.5);
    g.topY = Round(g.bandH * 0.5);
    g.axisY = g.height - g.bandH;
    g.plotW = g.rightX - g.axisX;
    g.plotH = g.axisY - g.topY;
    // Not rounded to a whole number: a whole number of twips per unit would
    // shrink the plot for a DCGL in the thousands and collapse it onto the
    // axis beyond about 8600. Where the quotient is whole, nothing changes.
    g.xScale = g.plotW / (1.5 * dcgl);
    if (!std::isfinite(g.xScale)) g.xScale = 0;
    return g;
}

ChartGeometry DrawChartFrame(double dcgl, ChartSurface& surface, const ChartStyle& style) {
    surface.SetPenColor(kBlack);
    surface.SetLineWidth(kThinLinePx);
    surface.Clear();
    const ChartGeometry geometry = ComputeChartGeometry(surface, dcgl);
    DrawAxes(geometry, surface);
    DrawProbabilityGrid(geometry, style, surface);
    DrawConcentrationGrid(geometry, dcgl, style, surface);
    if (!(style.grid == kBlack)) {
        surface.SetPenColor(kBlack);
        DrawAxes(geometry, surface);
    }
    return geometry;
}

void DrawPowerChart(const DesignState& state, ChartSurface& surface, const ChartStyle& style) {
    const ChartGeometry geometry = DrawChartFrame(state.DCGL, surface, style);
    DrawLBGRMarker(geometry, state.LBGR, surface);
    if (style.name_red_lines) NameRedLines(geometry, state, surface);
    DrawCurve(geometry, state, surface);
}

}  // namespace valdris
