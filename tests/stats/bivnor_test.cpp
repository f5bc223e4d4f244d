#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "engine_test_support.h"
#include "valdris_power.h"

namespace valdris {
namespace {

using testing::RoundsTo;

struct Case {
    double h, k, r, expected;
};

TEST(BIVNOR, PublishedValues) {
    const Case cases[] = {
        {0, 0, 0.5, 0.333333},        // both limits zero
        {0.5, 0.5, 0.5, 0.163320},
        {-1, -1, 0.5, 0.745204},
        {-0.7, -0.7, 0.5, 0.630790},
        {3, 3, 0.5, 0.000082},
        {-4.24, -4.24, 0.5, 0.999978},
        {0, 1, 0.5, 0.127398},        // h = 0: the limits are exchanged
        {1, 0, 0.5, 0.127398},
        {1.2, -0.3, 0.5, 0.103647},   // mixed signs
        {2, 2, 0.9, 0.013361},        // reflected T terms
        {0.3, 0.4, 0.99, 0.337078},
        {0.5, -0.5, 0, 0.213342},     // independence: product of the tails
        {1, 0.5, 1, 0.158655},        // r = 1: tail of the larger limit
        {0.5, 1, 1, 0.158655},
        {-1, 0.5, -1, 0.149882},      // r = -1
        {1, 0.5, -1, 0},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(RoundsTo(BIVNOR(c.h, c.k, c.r), c.expected, 6))
            << "h = " << c.h << ", k = " << c.k << ", r = " << c.r;
    }
}

TEST(BIVNOR, InvalidCorrelationIsReportedAndGivesZero) {
    for (double r : {1.5, -1.0000001, 1e300}) {
        std::vector<double> reported;
        EXPECT_EQ(BIVNOR(0.5, 0.5, r, [&](double bad) { reported.push_back(bad); }), 0.0);
        ASSERT_EQ(reported.size(), 1u);
        EXPECT_EQ(reported[0], r);
    }
    // Without a reporter it still just returns 0.
    EXPECT_EQ(BIVNOR(0.5, 0.5, 1.5), 0.0);
    // A valid correlation reports nothing.
    bool called = false;
    BIVNOR(0.5, 0.5, 0.5, [&](double) { called = true; });
    EXPECT_FALSE(called);
}

// Limits far outside what the designs pass once made the series sum forever
// (exp(-h^2/2) taken as 0 with |wk| near 1) or produce inf / inf.
TEST(BIVNOR, ExtremeLimitsFinishWithSoundValues) {
    const double inf = std::numeric_limits<double>::infinity();
    const Case cases[] = {
        {13, 13, 1e-16, 0},
        {-13, -13, 1e-16, 1},
        {1e200, 1e200, 0.5, 0},
        {-1e200, -1e200, 0.5, 1},
        {1e-310, 1, 0.5, 0.127398},  // behaves like h = 0
        {inf, 0.5, 0.5, 0},
        {-inf, 1, 0.5, 0.158655},    // the tail of the other limit
        {1, -inf, 0.5, 0.158655},
        {-inf, -inf, 0.5, 1},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(RoundsTo(BIVNOR(c.h, c.k, c.r), c.expected, 6))
            << "h = " << c.h << ", k = " << c.k << ", r = " << c.r;
    }
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(std::isnan(BIVNOR(nan, 1, 0.5)));
    EXPECT_TRUE(std::isnan(BIVNOR(1, nan, 0.5)));
    EXPECT_TRUE(std::isnan(BIVNOR(1, 1, nan)));
}

// Independent check: P(X > h, Y > k) as the integral over x > h of
// phi(x) * P(Y > k | x), by Simpson's rule with the library's erfc.
double OrthantByQuadrature(double h, double k, double r) {
    const double s = std::sqrt(1 - r * r);
    auto integrand = [&](double x) {
        const double phi = std::exp(-x * x / 2) / std::sqrt(2 * M_PI);
        return phi * 0.5 * std::erfc((k - r * x) / s / std::sqrt(2.0));
    };
    const double upper = 12;
    const int steps = 20000;
    const double width = (upper - h) / steps;
    double sum = integrand(h) + integrand(upper);
    for (int i = 1; i < steps; ++i) sum += integrand(h + i * width) * (i % 2 ? 4 : 2);
    return sum * width / 3;
}

TEST(BIVNOR, AgreesWithQuadratureOverAGrid) {
    for (double h = -4; h <= 4; h += 0.8) {
        for (double k = -3.5; k <= 4; k += 0.9) {
            for (double r : {-0.95, -0.5, 0.3, 0.5, 0.95}) {
                ASSERT_NEAR(BIVNOR(h, k, r), OrthantByQuadrature(h, k, r), 1e-9)
                    << "h = " << h << ", k = " << k << ", r = " << r;
            }
        }
    }
}

}  // namespace
}  // namespace valdris
