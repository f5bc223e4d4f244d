// SPDX-License-Identifier: Apache-2.0
// The sample map: the unit to scale, the field's y upwards, every location
// inside its rectangle and numbered, a scale bar as long as its label says.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "number_text.h"
#include "recording_surface.h"
#include "sample_map.h"

namespace valdris {
namespace {

using Kind = RecordedOperation::Kind;

TEST(SampleMap, DrawsTheUnitToScaleWithNumberedLocations) {
    // every: each every-th location carries its number, 0 none. Every text
    // measures 600 x 200: a strip too thin for one gets none; 45 locations
    // all get theirs, the right column's slid inwards, the top row's below.
    struct Case { GridType type; double width; double height; int n; std::size_t every; };
    const Case cases[] = {
        {GridType::Triangular, 50, 40, 20, 1}, {GridType::Square, 300, 2, 15, 0}, {GridType::Triangular, 0.5, 80, 12, 0},
        {GridType::Triangular, 50, 40, 40, 1},
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
            if (op.kind == Kind::Line && op.y1 == op.y2) (op.color == ChartColor{0, 0, 255} ? crosses : bar).push_back(op);
            if (op.kind == Kind::Text) texts.push_back(op);
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
        ASSERT_EQ(texts.size(), numbered + 2) << c.n;  // caption and scale label
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
