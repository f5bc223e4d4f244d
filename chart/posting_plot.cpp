// SPDX-License-Identifier: Apache-2.0
#include "posting_plot.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>
#include <string>

#include "elevated_comparison.h"
#include "map_frame.h"
#include "number_text.h"
#include "placed_assessment.h"

namespace valdris {
namespace {

constexpr ChartColor kBlack{0, 0, 0};
constexpr double kMarkerHalf = 60;  // twips from a marker's centre to its edge
constexpr double kLegendGap = 120;  // between a legend's marker, its text and the next entry
constexpr int kCircleSides = 12;

// The classes in order, each with its look; one row per class.
struct ClassRow {
    PostingClass posting_class;
    PostingStyle style;
};
constexpr ClassRow kClassRows[] = {
    {PostingClass::AtMostDCGL, {{0, 114, 178}, MarkerShape::Circle}},     // blue
    {PostingClass::AboveDCGL, {{230, 159, 0}, MarkerShape::Triangle}},    // orange
    {PostingClass::AboveDCGLEMC, {{213, 94, 0}, MarkerShape::Diamond}},   // vermilion
};

std::vector<ChartSurface::Point> MarkerRing(MarkerShape shape, double x, double y) {
    const double r = kMarkerHalf;
    switch (shape) {
        case MarkerShape::Triangle:
            return {{x, y - r}, {x + r, WholeTwips(y + 0.8 * r)}, {x - r, WholeTwips(y + 0.8 * r)}};
        case MarkerShape::Diamond:
            return {{x, y - r}, {x + r, y}, {x, y + r}, {x - r, y}};
        case MarkerShape::Circle: break;
    }
    std::vector<ChartSurface::Point> ring;
    for (int k = 0; k < kCircleSides; ++k) {
        const double angle = 2 * M_PI * k / kCircleSides;
        ring.push_back({WholeTwips(x + 0.8 * r * std::cos(angle)), WholeTwips(y + 0.8 * r * std::sin(angle))});
    }
    return ring;
}

// Filled in the class's colour and outlined in black, so that it reads on
// the field's fill and on white.
void DrawMarker(PostingClass posting_class, double x, double y, ChartSurface& surface) {
    const PostingStyle style = StyleOf(posting_class);
    const std::vector<ChartSurface::Point> ring = MarkerRing(style.shape, x, y);
    surface.FillRings({ring}, style.color);
    surface.SetPenColor(kBlack);
    surface.MoveTo(ring.back().x, ring.back().y);
    for (const ChartSurface::Point& p : ring) surface.LineTo(p.x, p.y);
}

// `named` as NamedDCGLEMC gives it: one figure, several (nothing), or
// none at all (0).
std::string LegendText(PostingClass posting_class, double dcgl, std::optional<double> named) {
    const bool any = !named || *named > 0;
    switch (posting_class) {
        case PostingClass::AtMostDCGL: return "up to the DCGL " + WriteNumber(dcgl);
        case PostingClass::AboveDCGL: return any ? "above the DCGL" : "above the DCGL (no DCGL_EMC)";
        case PostingClass::AboveDCGLEMC:
            return named ? "above the DCGL_EMC " + ReadableNumber(*named) : "above its area's DCGL_EMC";
    }
    return {};
}

// An entry of the legend where it goes: its line under the caption and
// its left edge.
struct LegendEntry {
    PostingClass posting_class;
    std::string text;
    int line;
    double x;
};

// In reading order; an entry that would run past the right edge starts a
// new line, so that a narrow plot shows every class whole.
std::vector<LegendEntry> LayOutLegend(double dcgl, std::optional<double> named, const ChartSurface& surface) {
    std::vector<LegendEntry> entries;
    double x = kLegendGap;
    int line = 0;
    for (const ClassRow& row : kClassRows) {
        if (row.posting_class == PostingClass::AboveDCGLEMC && named && !IsDCGLEMC(*named)) continue;
        std::string text = LegendText(row.posting_class, dcgl, named);
        const double text_width = surface.TextWidth(text);
        if (!entries.empty() && x + 2 * kMarkerHalf + kLegendGap / 2 + text_width > surface.Width() - kLegendGap) {
            x = kLegendGap;
            ++line;
        }
        entries.push_back({row.posting_class, std::move(text), line, x});
        x = WholeTwips(x + 2 * kMarkerHalf + kLegendGap / 2 + text_width + kLegendGap);
    }
    return entries;
}

void DrawLegend(double top, const std::vector<LegendEntry>& entries, ChartSurface& surface) {
    const double height = surface.TextHeight("0");
    for (const LegendEntry& entry : entries) {
        const double y = WholeTwips(top + entry.line * height);
        DrawMarker(entry.posting_class, entry.x + kMarkerHalf, WholeTwips(y + height / 2), surface);
        surface.DrawText(entry.x + 2 * kMarkerHalf + kLegendGap / 2, y, entry.text);
    }
}

bool Finite(const PostedValue& posted) {
    return std::isfinite(posted.value) && std::isfinite(posted.at.x) && std::isfinite(posted.at.y);
}

}  // namespace

PostingClass ClassOfValue(double value, double dcgl, double dcgl_emc) {
    if (value <= dcgl) return PostingClass::AtMostDCGL;
    if (ExceedsDCGLEMC(value, dcgl_emc)) return PostingClass::AboveDCGLEMC;
    return PostingClass::AboveDCGL;
}

PostingStyle StyleOf(PostingClass posting_class) {
    for (const ClassRow& row : kClassRows) {
        if (row.posting_class == posting_class) return row.style;
    }
    return kClassRows[0].style;
}

void DrawPostingPlot(const Boundary& boundary, const std::vector<PostedValue>& values, double dcgl,
                     const std::vector<double>& dcgl_emc, ChartSurface& surface) {
    surface.SetPenColor(kBlack);
    surface.SetLineWidth(1);
    surface.Clear();
    std::vector<std::size_t> shown;
    for (std::size_t k = 0; k < values.size(); ++k) {
        if (Finite(values[k])) shown.push_back(k);
    }
    // The extent takes in the values too: one taken outside the boundary
    // is seen where it was taken, not lost off the frame.
    Boundary extent_of = boundary;
    for (const std::size_t k : shown) extent_of.polygons.push_back({{values[k].at}, {}});
    const BoundaryExtent extent = ExtentOf(extent_of);
    const std::string crs = CrsCaption(boundary.crs);
    std::string title = std::to_string(shown.size()) + " measurements where they were taken";
    if (shown.size() < values.size()) {
        title += ", " + std::to_string(values.size() - shown.size()) + " without a finite value or place left out";
    }
    std::vector<std::string> caption{title};
    if (!crs.empty()) caption.push_back("Coordinates in metres, " + crs);
    const std::vector<LegendEntry> legend = LayOutLegend(dcgl, NamedDCGLEMC(values, dcgl, dcgl_emc), surface);
    const MapLayout map = LayOutMap(extent, surface, static_cast<int>(caption.size()) + legend.back().line + 1);

    DrawBoundary(boundary, map, surface);
    DrawLegend(DrawCaption(caption, surface), legend, surface);

    for (const std::size_t k : shown) {
        const double limit = k < dcgl_emc.size() ? dcgl_emc[k] : 0;
        DrawMarker(ClassOfValue(values[k].value, dcgl, limit), map.X(values[k].at.x), map.Y(values[k].at.y), surface);
    }
    // The highest values get their labels first, where the eye goes.
    std::stable_sort(shown.begin(), shown.end(), [&](std::size_t a, std::size_t b) { return values[a].value > values[b].value; });
    const MapBox room = LabelRoom(extent, map);
    const double height = surface.TextHeight("0");
    std::vector<MapBox> taken;
    surface.SetPenColor(kBlack);
    for (const std::size_t k : shown) {
        const std::string label = WriteNumber(values[k].value);
        const std::optional<MapBox> box =
            PlaceLabel(map.X(values[k].at.x), map.Y(values[k].at.y), surface.TextWidth(label), height, room, taken);
        if (!box) continue;
        taken.push_back(*box);
        surface.DrawText(box->left, box->top, label);
    }
    DrawMapFurniture(map, surface);
}

}  // namespace valdris
