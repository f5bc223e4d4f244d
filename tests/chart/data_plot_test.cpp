// SPDX-License-Identifier: Apache-2.0
// The data plot on a recording surface: every measurement drawn once on the
// right side of the DCGL line, in rising order, and nothing off the surface.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "data_plot.h"
#include "recording_surface.h"

namespace valdris {
namespace {

constexpr ChartColor kRed{255, 0, 0};
constexpr ChartColor kBlue{0, 0, 255};
constexpr ChartColor kGreen{0, 128, 0};

// The centres of the markers in one colour (two strokes each).
std::vector<std::pair<double, double>> Markers(const std::vector<RecordedOperation>& ops, ChartColor color) {
    std::vector<std::pair<double, double>> centres;
    for (std::size_t i = 0; i + 1 < ops.size(); ++i) {
        if (ops[i].kind != RecordedOperation::Kind::Line || !(ops[i].color == color)) continue;
        centres.emplace_back((ops[i].x1 + ops[i].x2) / 2, (ops[i].y1 + ops[i].y2) / 2);
        ++i;
    }
    return centres;
}

TEST(DataPlot, PlacesEveryValueAgainstTheDCGL) {
    const struct {
        const char* what;
        std::vector<double> survey, reference;
        double dcgl;
    } cases[] = {
        {"Sign", {0.2, 1.4, 0.9, -0.3, 0.5}, {}, 1},
        {"WRS", {10, 30, 25}, {1, 2, 3, 4}, 20},
        {"all at the DCGL", {5, 5}, {}, 5},
        {"far from zero", {1e9 + 1, 1e9 + 2}, {-3}, 1e9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingSurface surface(7755, 4635, 390, 195);
        DrawDataPlot(c.survey, c.reference, c.dcgl, surface);
        const auto& ops = surface.Operations();
        for (const RecordedOperation& op : ops) {
            EXPECT_TRUE(op.x1 >= 0 && op.x1 <= 7755 && op.x2 >= 0 && op.x2 <= 7755) << op.x1 << " " << op.x2;
            EXPECT_TRUE(op.y1 >= 0 && op.y1 <= 4635 && op.y2 >= 0 && op.y2 <= 4635) << op.y1 << " " << op.y2;
        }
        const auto dcgl_line = Markers(ops, kRed);
        ASSERT_EQ(dcgl_line.size(), 1u);
        const double dcgl_x = dcgl_line[0].first;
        std::vector<double> sorted = c.survey;
        std::sort(sorted.begin(), sorted.end());
        const auto survey = Markers(ops, kBlue);
        ASSERT_EQ(survey.size(), sorted.size());
        for (std::size_t i = 0; i < sorted.size(); ++i) {
            const double side = sorted[i] - c.dcgl;
            EXPECT_EQ((survey[i].first > dcgl_x) - (survey[i].first < dcgl_x), (side > 0) - (side < 0)) << i;
            EXPECT_TRUE(i == 0 || survey[i].second < survey[i - 1].second) << i;  // higher up the screen
        }
        const auto reference = Markers(ops, kGreen);
        ASSERT_EQ(reference.size(), c.reference.size());
        // Raised by the DCGL: on its far side when measured above zero.
        std::vector<double> raised = c.reference;
        std::sort(raised.begin(), raised.end());
        for (std::size_t i = 0; i < raised.size(); ++i) EXPECT_EQ(reference[i].first > dcgl_x, raised[i] > 0) << i;
    }
}

}  // namespace
}  // namespace valdris
