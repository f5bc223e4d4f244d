#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine_test_support.h"
#include "valdris_power.h"

namespace valdris {
namespace {

using testing::RoundsTo;

struct Point {
    double x;
    double expected;
};

TEST(NormalQuantile, WindowChoicesAndUpperHalf) {
    // The argument is single precision: 0.05 arrives as 0.0500000007...
    const struct {
        float p;
        double expected;
    } cases[] = {
        {0.01f, 2.327650},  {0.025f, 1.960448}, {0.05f, 1.644492}, {0.10f, 1.280126},
        {0.25f, 0.671731},  {0.50f, 0.000003},  {0.75f, -0.654376}, {1.0f, -2.307530},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(RoundsTo(NormalQuantile(c.p), c.expected, 6)) << "p = " << c.p;
    }
    // The approximation is not exactly 0 at one half, nor symmetric.
    EXPECT_NEAR(NormalQuantile(0.5f), 3.4353e-06, 1e-10);
    EXPECT_NE(NormalQuantile(0.75f), -NormalQuantile(0.25f));
    EXPECT_DOUBLE_EQ(NormalQuantile(1.0f), -2.30753);
}

TEST(NormalQuantile, OutsideUnitIntervalIsNaN) {
    const float bad[] = {0.0f, -0.0f, -0.1f, 1.0000001f, 2.0f, std::numeric_limits<float>::quiet_NaN(),
                         std::numeric_limits<float>::infinity()};
    for (float p : bad) EXPECT_TRUE(std::isnan(NormalQuantile(p))) << "p = " << p;
    // The smallest positive single still gives a finite quantile.
    EXPECT_TRUE(std::isfinite(NormalQuantile(std::numeric_limits<float>::denorm_min())));
}

TEST(Erf, ValuesInEachRange) {
    const Point cases[] = {
        {0, 0},
        {0.46875, 0.492613473218},  // small-argument range
        {0.5, 0.520499877813},      // middle range
        {1, 0.842700792950},
        {4, 0.999999984583},        // still the middle range
        {4.5, 0.999999999803},      // upper range
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(RoundsTo(Erf(c.x), c.expected, 12)) << "x = " << c.x;
        EXPECT_EQ(Erf(-c.x), -Erf(c.x)) << "odd symmetry at x = " << c.x;
    }
    const double saturated[] = {9.269, 10, 1e300, std::numeric_limits<double>::infinity()};
    for (double x : saturated) {
        EXPECT_EQ(Erf(x), 1.0) << "x = " << x;
        EXPECT_EQ(Erf(-x), -1.0) << "x = " << x;
    }
    EXPECT_EQ(Erf(0), 0.0);
}

TEST(Erf, NaNStaysNaN) {
    EXPECT_TRUE(std::isnan(Erf(std::numeric_limits<double>::quiet_NaN())));
    EXPECT_TRUE(std::isnan(NormalCdf(std::numeric_limits<double>::quiet_NaN())));
}

TEST(NormalCdf, ValuesAndTails) {
    const Point cases[] = {
        {1, 0.841344746069},
        {-1, 0.158655253931},
        {1.96, 0.975002104852},
    };
    for (const auto& c : cases) EXPECT_TRUE(RoundsTo(NormalCdf(c.x), c.expected, 12)) << c.x;

    EXPECT_EQ(NormalCdf(0), 0.5);
    EXPECT_EQ(NormalCdf(8.4), 1.0);
    EXPECT_EQ(NormalCdf(-8.4), 0.0);
    // Below -8 the result still carries absolute accuracy, not 0.
    EXPECT_NEAR(NormalCdf(-8), 6.106e-16, 0.001e-16);
}

}  // namespace
}  // namespace valdris
