// SPDX-License-Identifier: Apache-2.0
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine_test_support.h"
#include "valdris_power.h"

namespace valdris {
namespace {

using testing::RoundsTo;

struct Case { double h, k, r, p; };

void ExpectAll(const std::vector<Case>& cases) {
    for (const auto& c : cases) {
        EXPECT_TRUE(RoundsTo(BIVNOR(c.h, c.k, c.r), c.p, 6)) << c.h << ", " << c.k << ", " << c.r;
    }
}

TEST(BIVNOR, PublishedValues) {
    ExpectAll({{0, 0, 0.5, 0.333333}, {0.5, 0.5, 0.5, 0.163320}, {-1, -1, 0.5, 0.745204},
               {-0.7, -0.7, 0.5, 0.630790}, {3, 3, 0.5, 0.000082}, {-4.24, -4.24, 0.5, 0.999978},
               {0, 1, 0.5, 0.127398}, {1, 0, 0.5, 0.127398},  // h = 0: limits exchanged
               {1.2, -0.3, 0.5, 0.103647}, {2, 2, 0.9, 0.013361}, {0.3, 0.4, 0.99, 0.337078},
               {0.5, -0.5, 0, 0.213342},                        // product of the tails
               {1, 0.5, 1, 0.158655}, {0.5, 1, 1, 0.158655},    // tail of the larger limit
               {-1, 0.5, -1, 0.149882}, {1, 0.5, -1, 0}});
}

TEST(BIVNOR, InvalidCorrelationGivesZero) {
    for (double r : {1.5, -1.0000001, 2.0, -1e300}) EXPECT_EQ(BIVNOR(0.5, 0.5, r), 0.0) << r;
}

// Limits far beyond what the designs pass: the literal series would sum for
// ~1e14 steps (first two), or form inf / inf; NaN would never end it.
TEST(BIVNOR, ExtremeLimitsFinishWithSoundValues) {
    ExpectAll({{13, 13, 1e-16, 0}, {-13, -13, 1e-16, 1}, {1e200, 1e200, 0.5, 0},
               {-1e200, -1e200, 0.5, 1}, {1e-310, 1, 0.5, 0.127398}, {INFINITY, 0.5, 0.5, 0},
               {-INFINITY, 1, 0.5, 0.158655}, {1, -INFINITY, 0.5, 0.158655},
               {-INFINITY, -INFINITY, 0.5, 1}});
    EXPECT_TRUE(std::isnan(BIVNOR(NAN, 1, 0.5)));
    EXPECT_TRUE(std::isnan(BIVNOR(1, 1, NAN)));
}

}  // namespace
}  // namespace valdris
