// SPDX-License-Identifier: Apache-2.0
// Several power curves on one chart: each over percent of its own DCGL, in a
// colour of its own, with a legend line for each.

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

#include "curve_comparison.h"
#include "recording_surface.h"

namespace valdris {
namespace {

using Kind = RecordedOperation::Kind;

// The same falling curve, scaled to the DCGL.
DesignState CurveAt(double dcgl) {
    DesignState state;
    state.DCGL = dcgl;
    state.LBGR = dcgl / 2;
    const float step = static_cast<float>(0.025 * dcgl);
    for (int i = 1; i <= kCurvePoints; ++i) {
        state.CurveX[i] = static_cast<float>(static_cast<double>(state.CurveX[i - 1]) + step);
        state.CurvePower[i] = 1.0 / (1.0 + std::exp((i / 40.0 - 0.75) * 12.0));
    }
    return state;
}

// The curve segments of one colour, in order.
std::vector<RecordedOperation> CurveOf(const std::vector<RecordedOperation>& ops, ChartColor color) {
    std::vector<RecordedOperation> found;
    for (const RecordedOperation& op : ops) {
        if (op.kind == Kind::LineTo && op.color == color) found.push_back(op);
    }
    return found;
}

TEST(CurveComparison, CurvesOfOneShapeCoincideWhateverTheirDCGL) {
    const std::vector<std::vector<double>> cases = {{1.0, 100.0}, {0.001, 5000.0, 3.0}, {2.0, 2.0}};
    for (const auto& dcgls : cases) {
        std::vector<ComparedCurve> curves;
        for (const double dcgl : dcgls) curves.push_back({"Unit", CurveAt(dcgl)});
        RecordingSurface surface(10800, 6450, 390, 195);
        DrawCurveComparison(curves, surface);
        const auto first = CurveOf(surface.Operations(), ComparisonColor(0));
        ASSERT_EQ(first.size(), static_cast<std::size_t>(kCurvePoints - 1));
        for (std::size_t c = 1; c < dcgls.size(); ++c) {
            const auto other = CurveOf(surface.Operations(), ComparisonColor(c));
            ASSERT_EQ(other.size(), first.size()) << dcgls[c];
            for (std::size_t i = 0; i < first.size(); ++i) {
                // The grids are accumulated in single precision, each at its
                // own scale: they agree to a twip, a fifteenth of a pixel.
                EXPECT_NEAR(other[i].x2, first[i].x2, 1.0) << dcgls[c] << " point " << i;
                EXPECT_EQ(other[i].y2, first[i].y2) << dcgls[c] << " point " << i;
            }
        }
    }
}

TEST(CurveComparison, EachCurveHasItsOwnColourAndALegendLine) {
    std::vector<ComparedCurve> curves;
    for (int i = 0; i < 8; ++i) curves.push_back({"Unit " + std::to_string(i) + " (N = 14)", CurveAt(1.0 + i)});
    RecordingSurface surface(10800, 6450, 390, 195);
    DrawCurveComparison(curves, surface);

    std::set<std::tuple<int, int, int>> colours;
    for (std::size_t i = 0; i < curves.size(); ++i) {
        const ChartColor colour = ComparisonColor(i);
        EXPECT_FALSE(colour == (ChartColor{255, 0, 0})) << "the 100 % line's red, curve " << i;
        EXPECT_FALSE(colour == (ChartColor{255, 255, 255})) << "white, curve " << i;
        colours.insert({colour.red, colour.green, colour.blue});

        int labels = 0;
        double label_y = -1;
        for (const RecordedOperation& op : surface.Operations()) {
            if (op.kind == Kind::Text && op.text == curves[i].label) {
                ++labels;
                label_y = op.y1;
            }
        }
        EXPECT_EQ(labels, 1) << curves[i].label;
        // The swatch before the label: a line in the curve's colour at the
        // label's height.
        bool swatch = false;
        for (const RecordedOperation& op : surface.Operations()) {
            swatch |= op.kind == Kind::Line && op.color == colour && op.y1 == op.y2 && op.y1 > label_y &&
                      op.y1 < label_y + 195;
        }
        EXPECT_TRUE(swatch) << curves[i].label;
    }
    EXPECT_EQ(colours.size(), curves.size());
}

}  // namespace
}  // namespace valdris
