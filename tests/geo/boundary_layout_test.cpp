// SPDX-License-Identifier: Apache-2.0
// The grid over a boundary with a stand-in inside test (a box), so that the
// lattice, its turn and the shortfall rules are checked without GDAL.

#include <gtest/gtest.h>

#include <cmath>

#include "boundary_layout.h"

namespace valdris {
namespace {

InsideTest InBox(double x0, double y0, double x1, double y1) {
    return [=](const std::vector<GridPoint>& points) -> Outcome<std::vector<char>> {
        std::vector<char> inside;
        for (const GridPoint& p : points) inside.push_back(p.x >= x0 && p.x < x1 && p.y >= y0 && p.y < y1);
        return inside;
    };
}

SiteGrid Box(double width, double height, double angle = 0, Shortfall shortfall = Shortfall::AddRandom) {
    return {RectangleBoundary(width, height), angle, std::nullopt, shortfall};
}

// Unturned from the corner, the grid over a rectangle is the rectangle's own.
TEST(BoundaryLayout, UnturnedGridIsTheRectanglesGrid) {
    struct Case {
        GridType type;
        double width, height;
        int samples;
        std::uint64_t seed;
    };
    const std::vector<Case> cases = {
        {GridType::Triangular, 50, 40, 20, 42}, {GridType::Square, 50, 40, 20, 42},
        {GridType::Triangular, 7, 300, 11, 3},  {GridType::Square, 1000, 1, 9, 99},
    };
    for (const Case& c : cases) {
        const auto rectangle = LayOutSamples(c.type, *SizeFromRectangle(c.width, c.height), c.samples, c.seed);
        const auto over = LayOutInBoundary(c.type, Box(c.width, c.height), c.width * c.height, c.samples, c.seed,
                                           InBox(0, 0, c.width, c.height));
        ASSERT_TRUE(rectangle && over) << over.message();
        const std::size_t grid_points = over->points.size() - static_cast<std::size_t>(over->added_points);
        ASSERT_EQ(grid_points, rectangle->points.size()) << c.width << " x " << c.height;
        for (std::size_t k = 0; k < grid_points; ++k) {
            EXPECT_DOUBLE_EQ(over->points[k].x, rectangle->points[k].x) << k;
            EXPECT_DOUBLE_EQ(over->points[k].y, rectangle->points[k].y) << k;
        }
    }
}

// Turned, every point's nearest neighbour is one spacing away: the lattice
// is turned whole, not sheared.
TEST(BoundaryLayout, TurnedGridKeepsItsSpacing) {
    for (const double angle : {30.0, -45.0, 90.0, 359.0}) {
        for (const GridType type : {GridType::Triangular, GridType::Square}) {
            // The box holds about twice the points the area is for: none is added.
            const auto laid = LayOutInBoundary(type, Box(300, 300, angle), 40000, 60, 5, InBox(0, 0, 300, 300));
            ASSERT_TRUE(laid) << laid.message();
            EXPECT_EQ(laid->added_points, 0);
            for (const GridPoint& p : laid->points) {
                double nearest = INFINITY;
                for (const GridPoint& q : laid->points) {
                    const double d = std::hypot(p.x - q.x, p.y - q.y);
                    if (d > 0) nearest = std::min(nearest, d);
                }
                // (0.866 stands for sqrt(3)/2, so a diagonal neighbour is 0.99998 L away.)
                EXPECT_NEAR(nearest, laid->spacing, 5e-5 * laid->spacing) << angle;
            }
        }
    }
}

// Too few grid points fit a strip: never silently fewer.
TEST(BoundaryLayout, ShortfallIsMadeUpAsThePlannerChose) {
    const SiteGrid strip = Box(1000, 1);
    const double area = 1000;
    const auto random = LayOutInBoundary(GridType::Triangular, strip, area, 30, 8, InBox(0, 0, 1000, 1));
    ASSERT_TRUE(random) << random.message();
    EXPECT_EQ(random->points.size(), 30u);
    EXPECT_GT(random->added_points, 0);
    for (const GridPoint& p : random->points) EXPECT_TRUE(p.x >= 0 && p.x < 1000 && p.y >= 0 && p.y < 1);
    const auto again = LayOutInBoundary(GridType::Triangular, strip, area, 30, 8, InBox(0, 0, 1000, 1));
    EXPECT_EQ(again->points.back().x, random->points.back().x);  // the seed decides them

    SiteGrid tighten = strip;
    tighten.shortfall = Shortfall::TightenSpacing;
    const auto tight = LayOutInBoundary(GridType::Triangular, tighten, area, 30, 8, InBox(0, 0, 1000, 1));
    ASSERT_TRUE(tight) << tight.message();
    EXPECT_GE(tight->points.size(), 30u);
    EXPECT_EQ(tight->added_points, 0);
    EXPECT_LT(tight->spacing, GridSpacing(GridType::Triangular, area, 30));

    // A boundary nothing can be placed in is refused, not laid out short.
    const auto none = LayOutInBoundary(GridType::Square, strip, area, 30, 8, InBox(0, 0, 0, 0));
    ASSERT_FALSE(none);
    EXPECT_EQ(none.refusal().kind, RefusalKind::TooFewLocationsFit);
}

}  // namespace
}  // namespace valdris
