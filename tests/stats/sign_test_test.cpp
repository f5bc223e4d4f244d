#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "engine_test_support.h"
#include "valdris_power.h"

namespace valdris {
namespace {

using testing::DefaultInputs;
using testing::RoundsTo;
using testing::SameBits;
using testing::WithEarlierResults;

TEST(BinomialCdf, Values) {
    const struct {
        int32_t n, m;
        double p, expected;
    } cases[] = {
        {29, 18, 0.5, 0.931977}, {29, 19, 0.5, 0.969286}, {10, 3, 0.3, 0.649611},
        {4, 0, 0.25, 0.316406},  // the recurrence does not run for m = 0
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(RoundsTo(BinomialCdf(c.n, c.m, c.p), c.expected, 6)) << c.n << ", " << c.m;
    }
    EXPECT_EQ(BinomialCdf(4, 0, 0.25), 0.31640625);
}

TEST(BinomialCdf, CountsOutsideTheTrials) {
    // m >= n counts every outcome (m > n would read past the probabilities).
    EXPECT_EQ(BinomialCdf(50, 50, 0.3), 1.0);
    EXPECT_EQ(BinomialCdf(50, 51, 0.3), 1.0);
    EXPECT_EQ(BinomialCdf(50, 30000, 0.999), 1.0);
    EXPECT_EQ(BinomialCdf(5, -1, 0.3), 0.0);
    // All trials succeed: no count below n is possible (no division by 1 - p).
    EXPECT_EQ(BinomialCdf(5, 4, 1.0), 0.0);
    // Underflow of (1 - p)^n makes the sum 0, as it should be near p = 1.
    EXPECT_EQ(BinomialCdf(50, 20, 1 - 1e-9), 0.0);
    // Huge trial counts need no table and do not overflow n + 1.
    const double huge = BinomialCdf(std::numeric_limits<int32_t>::max(), 3, 1e-9);
    EXPECT_TRUE(huge > 0.8 && huge < 0.9) << huge;
}

struct SignCase {
    const char* name;
    float alpha, beta, sigma;
    double dovers;
    int32_t n, critical;
    int curve_point;  // 0: none checked
    double power;
};

TEST(DesignSignTest, SampleSizesCriticalValuesAndPower) {
    const SignCase cases[] = {
        {"defaults", 0.05f, 0.05f, 0.5f, 1, 29, 19, 40, 0.030714},
        {"sigma 1: normal critical value", 0.05f, 0.05f, 1.0f, 0.5, 89, 52, 40, 0.055918},
        {"sigma 0.71: n = 50, exact power", 0.05f, 0.05f, 0.71f, double(0.5f) / double(0.71f), 50,
         31, 40, 0.032455},
        {"minimum shift, alpha = beta = 0.01", 0.01f, 0.01f, 0.5f, 0.1, 4100, 2125, 0, 0},
        {"alpha 0.5, beta 0.25", 0.5f, 0.25f, 0.5f, 1, 2, 1, 0, 0},
        {"D/s = 5", 0.05f, 0.05f, 0.5f, 5, 14, 10, 0, 0},
    };
    for (const auto& c : cases) {
        DesignState state = DefaultInputs();
        state.Alpha = c.alpha;
        state.Beta = c.beta;
        state.Sigma = c.sigma;
        state.DoverS = c.dovers;
        ASSERT_EQ(DesignSignTest(state), DesignOutcome::Ok) << c.name;
        EXPECT_EQ(state.SignN, c.n) << c.name;
        EXPECT_EQ(state.SignCriticalValue, c.critical) << c.name;
        if (c.curve_point) {
            EXPECT_TRUE(RoundsTo(state.CurvePower[c.curve_point], c.power, 6)) << c.name;
        }
    }
}

TEST(DesignSignTest, DefaultCurve) {
    DesignState state = DefaultInputs();
    ASSERT_EQ(DesignSignTest(state), DesignOutcome::Ok);
    // The grid is accumulated in single precision and drifts.
    EXPECT_EQ(state.CurveX[1], 0.025f);
    EXPECT_EQ(state.CurveX[20], 0.50000006f);
    EXPECT_EQ(state.CurveX[40], 0.99999958f);
    EXPECT_EQ(state.CurveX[60], 1.4999992f);
    const struct {
        int i;
        double power;
    } points[] = {{1, 1.0}, {20, 0.989008}, {30, 0.597222}, {40, 0.030714}, {60, 0.0}};
    for (const auto& p : points) EXPECT_TRUE(RoundsTo(state.CurvePower[p.i], p.power, 6)) << p.i;
    EXPECT_EQ(state.CurveX[0], 0.0f);
    EXPECT_EQ(state.CurvePower[0], 0.0);
}

TEST(DesignSignTest, ShiftOfExactlySixIsComputed) {
    // DCGL 40 makes the grid whole numbers, so point 34 sits exactly six
    // standard deviations below the DCGL and point 33 beyond.
    DesignState state = DefaultInputs();
    state.Alpha = 0.5f;
    state.Beta = 0.25f;
    state.DCGL = 40;
    state.Sigma = 1;
    ASSERT_EQ(DesignSignTest(state), DesignOutcome::Ok);
    ASSERT_EQ(state.SignN, 2);
    EXPECT_EQ(state.CurveX[34], 34.0f);
    EXPECT_EQ(state.CurvePower[33], 1.0);
    EXPECT_EQ(state.CurvePower[34], 1 - BinomialCdf(2, 1, NormalCdf(6)));
    EXPECT_LT(state.CurvePower[34], 1.0);
}

TEST(DesignSignTest, CriticalValueAboveFiftyAtFiftySamples) {
    // A tiny alpha with n = 50 puts the normal critical value above n; the
    // exact power curve then counts every outcome instead of reading past n.
    DesignState state = DefaultInputs();
    state.Alpha = 1e-14f;
    state.Beta = 1.0f;
    state.DoverS = 1.39;
    ASSERT_EQ(DesignSignTest(state), DesignOutcome::Ok);
    ASSERT_EQ(state.SignN, 50);
    ASSERT_GT(state.SignCriticalValue, 50);
    for (int i = 1; i <= kCurvePoints; ++i) {
        EXPECT_TRUE(state.CurvePower[i] == 0.0 || state.CurvePower[i] == 1.0) << i;
    }
}

TEST(DesignSignTest, UnrepresentableSampleSizeChangesNothing) {
    const struct {
        const char* name;
        float alpha;
        double dovers;
    } cases[] = {
        {"no shift", 0.05f, 0},
        {"shift below 1e-16", 0.05f, 1e-17},
        {"size beyond 32 bits", 0.05f, 9e-5},
        {"alpha of 0", 0.0f, 1},
        {"NaN shift", 0.05f, std::numeric_limits<double>::quiet_NaN()},
    };
    for (const auto& c : cases) {
        DesignState state = WithEarlierResults(DefaultInputs());
        state.Alpha = c.alpha;
        state.DoverS = c.dovers;
        const DesignState before = state;
        EXPECT_EQ(DesignSignTest(state), DesignOutcome::SampleSizeOutOfRange) << c.name;
        EXPECT_TRUE(SameBits(state, before)) << c.name;
    }
    // Just inside the range the design still runs.
    DesignState state = DefaultInputs();
    state.DoverS = 1e-4;
    ASSERT_EQ(DesignSignTest(state), DesignOutcome::Ok);
    EXPECT_GT(state.SignN, 2000000000);
}

}  // namespace
}  // namespace valdris
