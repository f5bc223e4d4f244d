// SPDX-License-Identifier: Apache-2.0
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine_test_support.h"
#include "valdris_power.h"

namespace valdris {
namespace {

using testing::RoundsTo;

TEST(NormalQuantile, WindowChoicesAndUpperHalf) {
    // The argument is single precision: 0.05 arrives as 0.0500000007...
    const struct { float p; double z; } cases[] = {
        {0.01f, 2.327650}, {0.025f, 1.960448}, {0.05f, 1.644492}, {0.10f, 1.280126},
        {0.25f, 0.671731}, {0.50f, 0.000003}, {0.75f, -0.654376}, {1.0f, -2.307530}};
    for (const auto& c : cases) EXPECT_TRUE(RoundsTo(NormalQuantile(c.p), c.z, 6)) << c.p;
    EXPECT_NEAR(NormalQuantile(0.5f), 3.4353e-06, 1e-10);
}

TEST(NormalQuantile, OutsideUnitIntervalIsNaN) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (float p : {0.0f, -0.1f, 1.0000001f, nan, std::numeric_limits<float>::infinity()}) {
        EXPECT_TRUE(std::isnan(NormalQuantile(p))) << p;
    }
    EXPECT_TRUE(std::isfinite(NormalQuantile(std::numeric_limits<float>::denorm_min())));
}

TEST(Erf, ValuesInEachRangeAndOddSymmetry) {
    const struct { double x, erf; } cases[] = {
        {0, 0}, {0.46875, 0.492613473218}, {0.5, 0.520499877813}, {1, 0.842700792950},
        {4, 0.999999984583}, {4.5, 0.999999999803}, {9.269, 1}, {1e300, 1}, {INFINITY, 1}};
    for (const auto& c : cases) {
        EXPECT_TRUE(RoundsTo(Erf(c.x), c.erf, 12)) << c.x;
        EXPECT_EQ(Erf(-c.x), -Erf(c.x)) << c.x;
    }
    EXPECT_EQ(Erf(9.269), 1.0);
    EXPECT_TRUE(std::isnan(Erf(NAN)));  // not 1, as the range tests alone would give
}

TEST(NormalCdf, ValuesAndTails) {
    const struct { double x, cdf; } cases[] = {
        {1, 0.841344746069}, {-1, 0.158655253931}, {1.96, 0.975002104852}};
    for (const auto& c : cases) EXPECT_TRUE(RoundsTo(NormalCdf(c.x), c.cdf, 12)) << c.x;
    EXPECT_EQ(NormalCdf(0), 0.5);
    EXPECT_EQ(NormalCdf(8.4), 1.0);
    EXPECT_EQ(NormalCdf(-8.4), 0.0);
    EXPECT_NEAR(NormalCdf(-8), 6.106e-16, 0.001e-16);  // absolute accuracy only, but not 0
    EXPECT_TRUE(std::isnan(NormalCdf(NAN)));
}

}  // namespace
}  // namespace valdris
