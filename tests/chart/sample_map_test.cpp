// SPDX-License-Identifier: Apache-2.0
// The sample map: the unit to scale, the field's y upwards, every location
// inside its rectangle and numbered, a scale bar as long as its label says;
// the coordinate ticks and the north arrow every map of a unit shares; the
// posting plot's classes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "map_frame.h"
#include "number_text.h"
#include "posting_plot.h"
#include "recording_surface.h"
#include "sample_map.h"

namespace valdris {
namespace {

using Kind = RecordedOperation::Kind;

TEST(SampleMap, DrawsTheUnitToScaleWithNumberedLocations) {
    // every: each every-th location carries its number, 0 none. Every text
    // measures 600 x 200: a strip too thin for one gets none; the first
    // row's locations all get theirs; 27 and 45 crowd beside the frame's
    // ticks, and every 2nd is numbered.
    struct Case { GridType type; double width; double height; int n; std::size_t every; };
    const Case cases[] = {
        {GridType::Triangular, 50, 40, 20, 1}, {GridType::Square, 300, 2, 15, 0}, {GridType::Triangular, 0.5, 80, 12, 0},
        {GridType::Triangular, 50, 40, 40, 2}, {GridType::Triangular, 50, 40, 25, 2},
    };
    for (const Case& c : cases) {
        const SampleLayout layout = *LayOutSamples(c.type, *SizeFromRectangle(c.width, c.height), c.n, 5);
        RecordingSurface surface(7755, 4635, 600, 200);
        DrawSampleMap(layout, surface);

        double left = 1e9, right = -1e9, top = 1e9, bottom = -1e9;
        std::vector<RecordedOperation> crosses, bar, texts;  // crosses: the horizontal strokes
        for (const RecordedOperation& op : surface.Operations()) {
            if (op.kind == Kind::LineTo) {
                left = std::min({left, op.x1, op.x2}), right = std::max({right, op.x1, op.x2});
                top = std::min({top, op.y1, op.y2}), bottom = std::max({bottom, op.y1, op.y2});
            }
            // The frame and its ticks are grey; the black horizontal line is the bar.
            if (op.kind == Kind::Line && op.y1 == op.y2 && op.color == ChartColor{0, 0, 255}) crosses.push_back(op);
            if (op.kind == Kind::Line && op.y1 == op.y2 && op.color == ChartColor{0, 0, 0}) bar.push_back(op);
            if (op.kind == Kind::Text && op.color == ChartColor{0, 0, 0}) texts.push_back(op);
        }
        ASSERT_TRUE(left >= 0 && right <= 7755 && top >= 0 && bottom <= 4635) << c.width;
        // The scale from the longer side, where rounding matters least.
        const bool wide = c.width >= c.height;
        const double scale = wide ? (right - left) / c.width : (bottom - top) / c.height;
        EXPECT_NEAR(wide ? (bottom - top) / scale : (right - left) / scale, wide ? c.height : c.width, 2 / scale);

        ASSERT_EQ(crosses.size(), layout.points.size());
        for (std::size_t k = 0; k < crosses.size(); ++k) {
            const double x = (crosses[k].x1 + crosses[k].x2) / 2;
            EXPECT_TRUE(x >= left && x <= right && crosses[k].y1 >= top && crosses[k].y1 <= bottom);
            EXPECT_NEAR(bottom - crosses[k].y1, layout.points[k].y * scale, 1) << k;  // y grows upwards
        }
        const std::size_t numbered = c.every ? layout.points.size() / c.every : 0;
        ASSERT_EQ(texts.size(), numbered + 3) << c.n;  // caption, the north arrow's N and the scale label
        for (std::size_t k = 1; k <= numbered; ++k) {
            const RecordedOperation& number = texts[k];
            EXPECT_EQ(number.text, std::to_string(k * c.every));
            EXPECT_TRUE(number.x1 > left && number.x1 + 600 < right && number.y1 > top && number.y1 + 200 < bottom)
                << number.text << " leaves the rectangle";
            for (std::size_t j = 1; j < k; ++j) {
                EXPECT_TRUE(std::abs(texts[j].x1 - number.x1) >= 600 || std::abs(texts[j].y1 - number.y1) >= 200)
                    << texts[j].text << " runs into " << number.text;
            }
        }
        ASSERT_EQ(bar.size(), 1u);
        EXPECT_NEAR((bar[0].x2 - bar[0].x1) / scale, LeadingNumber(texts.back().text), 1 / scale) << c.width;
    }
}

TEST(SampleMap, ScaleBarLengthsAreRound) {
    const std::pair<double, double> cases[] = {{7, 5}, {1, 1}, {0.3, 0.2}, {19.9, 10}, {1000, 1000}, {0, 0}};
    for (const auto& [at_most, length] : cases) EXPECT_DOUBLE_EQ(RoundScaleLength(at_most), length) << at_most;
}

}  // namespace
}  // namespace valdris

namespace valdris {
namespace {

using Kind = RecordedOperation::Kind;

TEST(MapFrame, TicksAreRoundAndCoordinatesReadInFull) {
    struct Case { double low, high; int most; double step; std::vector<std::string> labels; };
    const Case cases[] = {
        {500012, 500318, 4, 100, {"500 100", "500 200", "500 300"}},  // UTM eastings
        {4999990, 5000123.4, 5, 50, {"5 000 000", "5 000 050", "5 000 100"}},
        {5000000.1, 5000000.9, 5, 0.2, {"5 000 000.2", "5 000 000.4", "5 000 000.6", "5 000 000.8"}},
        {-0.3, 0.3, 3, 0.2, {"-0.2", "0.0", "0.2"}},  // no "-0.0" at the origin
        {0, 48, 6, 10, {"0", "10", "20", "30", "40"}},
        {1234, 1234, 5, 0, {}},                       // no range, no ticks
        {0, std::nan(""), 5, 0, {}},
        {1e17, 1e17 + 16, 5, 0, {}},                  // steps too fine to count at that size: none, and no hang
    };
    for (const Case& c : cases) {
        const AxisTicks ticks = ChooseTicks(c.low, c.high, c.most);
        EXPECT_DOUBLE_EQ(ticks.step, c.step) << c.low;
        std::vector<std::string> labels;
        for (const double value : ticks.values) labels.push_back(TickLabel(value, ticks.decimals));
        EXPECT_EQ(labels, c.labels) << c.low;
    }
}

TEST(MapFrame, ArrowBarAndLabelsStayOnTheSurfaceAndOffTheField) {
    Boundary utm;  // an L with a hole, 300 m across, in UTM metres
    utm.polygons.push_back({{{500000, 5000000}, {500300, 5000000}, {500300, 5000100}, {500100, 5000100},
                             {500100, 5000250}, {500000, 5000250}},
                            {{{500020, 5000020}, {500080, 5000020}, {500080, 5000080}, {500020, 5000080}}}});
    utm.crs = "EPSG:32633";
    const Boundary boundaries[] = {utm, RectangleBoundary(300, 2), RectangleBoundary(0.5, 80), RectangleBoundary(50, 40)};
    for (const Boundary& boundary : boundaries) {
        RecordingSurface surface(7755, 4635, 600, 200);
        const BoundaryExtent extent = ExtentOf(boundary);
        const MapLayout map = LayOutMap(extent, surface, 2);
        const MapBox all{0, 0, surface.Width(), surface.Height()};
        EXPECT_TRUE(map.north_arrow.Within(all) && map.scale_bar.Within(all)) << extent.max_x;
        EXPECT_FALSE(map.north_arrow.Overlaps(map.frame) || map.scale_bar.Overlaps(map.frame)) << extent.max_x;
        EXPECT_FALSE(map.north_arrow.Overlaps(map.scale_bar));
        // One metre as long across as up, and the whole boundary inside the frame.
        EXPECT_NEAR(map.X(extent.min_x + 1) - map.X(extent.min_x), map.Y(extent.min_y) - map.Y(extent.min_y + 1), 1);
        EXPECT_TRUE((MapBox{map.X(extent.min_x), map.Y(extent.max_y), map.X(extent.max_x), map.Y(extent.min_y)}.Within(map.frame)));
        // The x labels (600 twips each, centred) neither touch nor leave the surface.
        ASSERT_GE(map.x_ticks.values.size(), 2u) << extent.max_x;
        EXPECT_GE(map.x_ticks.step * map.scale, 600) << extent.max_x;
        EXPECT_GE(map.y_ticks.values.size(), 2u) << extent.max_x;

        SampleLayout layout;
        layout.boundary = boundary;
        DrawSampleMap(layout, surface);
        for (const RecordedOperation& op : surface.Operations()) {
            if (op.kind != Kind::Text) continue;
            EXPECT_TRUE(op.x1 >= 0 && op.x1 + 600 <= 7755 && op.y1 >= 0 && op.y1 + 200 <= 4635) << op.text;
        }
    }
}

// A plot too narrow for the legend's line wraps it: every entry whole
// inside the plot, the map below the last line. A computed DCGL_EMC reads
// as the other computed figures do.
TEST(PostingPlot, ANarrowLegendWrapsOntoMoreLines) {
    struct Case { double width; std::size_t lines; };
    for (const Case c : {Case{7755, 1}, Case{2600, 2}, Case{1600, 3}}) {
        RecordingSurface surface(c.width, 4635, 600, 200);
        DrawPostingPlot(RectangleBoundary(60, 10), {{"1", {5, 5}, 1}}, 1, {1.67752062335577}, surface);
        const auto& operations = surface.Operations();
        EXPECT_NE(std::find_if(operations.begin(), operations.end(),
                               [](const RecordedOperation& op) { return op.text == "above the DCGL_EMC 1.678"; }),
                  operations.end());
        std::set<double> tops;
        double last_text_bottom = 0;
        for (const RecordedOperation& op : surface.Operations()) {
            if (op.kind != Kind::Text || (op.text.rfind("up to", 0) != 0 && op.text.rfind("above", 0) != 0)) continue;
            tops.insert(op.y1);
            last_text_bottom = std::max(last_text_bottom, op.y1 + 200);
            EXPECT_LE(op.x1 + 600, c.width) << c.width << ": " << op.text;
        }
        EXPECT_EQ(tops.size(), c.lines) << c.width;
        const auto field = std::find_if(surface.Operations().begin(), surface.Operations().end(),
                                        [](const RecordedOperation& op) { return op.kind == Kind::Fill; });
        ASSERT_NE(field, surface.Operations().end());
        for (const ChartSurface::Point& p : field->rings.at(0)) EXPECT_GE(p.y, last_text_bottom) << c.width;
    }
}

TEST(PostingPlot, EachValueTakesItsClassColourAndShape) {
    struct Case { double value, dcgl, emc; PostingClass expected; };
    const Case cases[] = {
        {99.9, 100, 300, PostingClass::AtMostDCGL},    {100, 100, 300, PostingClass::AtMostDCGL},
        {100.001, 100, 300, PostingClass::AboveDCGL},  {300, 100, 300, PostingClass::AboveDCGL},
        {300.001, 100, 300, PostingClass::AboveDCGLEMC}, {-5, 100, 300, PostingClass::AtMostDCGL},
        {1e9, 100, 0, PostingClass::AboveDCGL},        // no DCGL_EMC: no third class
        {1e9, 100, std::nan(""), PostingClass::AboveDCGL}, {1e9, 100, 2e9, PostingClass::AboveDCGL},
    };
    // Each value drawn against its own DCGL_EMC: they differ, so the legend
    // names none.
    std::vector<PostedValue> values;
    std::vector<double> emc;
    for (const Case& c : cases) {
        EXPECT_EQ(ClassOfValue(c.value, c.dcgl, c.emc), c.expected) << c.value << " against " << c.emc;
        values.push_back({"", {values.size() * 10.0, 5}, c.value});
        emc.push_back(c.emc);
    }
    values.push_back({"x", {std::nan(""), 0}, 1});  // no place: left out, and said
    emc.push_back(300);
    RecordingSurface surface(7755, 4635, 600, 200);
    DrawPostingPlot(RectangleBoundary(60, 10), values, 100, emc, surface);
    // After the field's fill and the legend's three markers, one marker per
    // finite value in its class's colour, then the north arrow.
    std::vector<ChartColor> fills;
    bool said = false, legend = false;
    for (const RecordedOperation& op : surface.Operations()) {
        if (op.kind == Kind::Fill) fills.push_back(op.color);
        said = said || op.text.find("1 without a finite value or place left out") != std::string::npos;
        legend = legend || op.text == "above its area's DCGL_EMC";
    }
    EXPECT_TRUE(said && legend);
    ASSERT_EQ(fills.size(), 5 + values.size() - 1);
    for (std::size_t k = 0; k + 1 < values.size(); ++k) {
        EXPECT_EQ(fills[4 + k], StyleOf(cases[k].expected).color) << values[k].value;
    }
    // Three classes, three colours and three shapes.
    const PostingClass classes[] = {PostingClass::AtMostDCGL, PostingClass::AboveDCGL, PostingClass::AboveDCGLEMC};
    for (int a = 0; a < 3; ++a) {
        for (int b = a + 1; b < 3; ++b) {
            EXPECT_FALSE(StyleOf(classes[a]).color == StyleOf(classes[b]).color);
            EXPECT_NE(StyleOf(classes[a]).shape, StyleOf(classes[b]).shape);
        }
    }
}

}  // namespace
}  // namespace valdris
