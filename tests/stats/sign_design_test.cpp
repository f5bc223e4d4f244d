// SPDX-License-Identifier: Apache-2.0
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

TEST(BinomialCdf, ValuesAndCountsOutsideTheTrials) {
    EXPECT_TRUE(RoundsTo(BinomialCdf(29, 18, 0.5), 0.931977, 6));
    EXPECT_TRUE(RoundsTo(BinomialCdf(29, 19, 0.5), 0.969286, 6));
    EXPECT_TRUE(RoundsTo(BinomialCdf(10, 3, 0.3), 0.649611, 6));
    EXPECT_EQ(BinomialCdf(4, 0, 0.25), 0.31640625);  // the recurrence does not run
    EXPECT_EQ(BinomialCdf(50, 51, 0.3), 1.0);        // would read past the n + 1 outcomes
    EXPECT_EQ(BinomialCdf(50, 50, 0.3), 1.0);
    EXPECT_EQ(BinomialCdf(5, -1, 0.3), 0.0);
    EXPECT_EQ(BinomialCdf(5, 4, 1.0), 0.0);           // no division by 1 - p = 0
    EXPECT_EQ(BinomialCdf(50, 20, 1 - 1e-9), 0.0);    // (1 - p)^n underflows, as intended
    // No table of n + 1 entries, and n + 1 does not overflow.
    const double many = BinomialCdf(std::numeric_limits<int32_t>::max(), 3, 1e-9);
    EXPECT_NEAR(many, 0.8296, 1e-4);
}

TEST(DesignSignTest, SampleSizesCriticalValuesAndPower) {
    const struct {
        float alpha, beta, sigma;
        double dovers;
        int32_t n, critical;
        double power40;  // CurvePower(40), at the DCGL; < 0: not checked
    } cases[] = {
        {0.05f, 0.05f, 0.5f, 1, 29, 19, 0.030714},                             // defaults
        {0.05f, 0.05f, 1.0f, 0.5, 89, 52, 0.055918},                           // normal critical value
        {0.05f, 0.05f, 0.71f, double(0.5f) / double(0.71f), 50, 31, 0.032455}, // n = 50: exact power
        {0.01f, 0.01f, 0.5f, 0.1, 4100, 2125, -1},
        {0.5f, 0.25f, 0.5f, 1, 2, 1, -1},
        {0.05f, 0.05f, 0.5f, 5, 14, 10, -1},
        {0.25f, 0.25f, 0.5f, 0.9, 6, 4, -1},  // 5 x 1.2 + 0.5 = 6.5 goes to the even 6
    };
    for (const auto& c : cases) {
        DesignState state = DefaultInputs();
        state.Alpha = c.alpha;
        state.Beta = c.beta;
        state.Sigma = c.sigma;
        state.DoverS = c.dovers;
        ASSERT_EQ(DesignSignTest(state), DesignOutcome::Ok) << c.n;
        EXPECT_EQ(state.SignN, c.n);
        EXPECT_EQ(state.SignCriticalValue, c.critical) << c.n;
        if (c.power40 >= 0) {
            EXPECT_TRUE(RoundsTo(state.CurvePower[40], c.power40, 6)) << c.n;
        }
    }
}

// Edges of the exact critical-value search, entered as a user would (DCGL
// 10, sigma 1, LBGR 10 - D/s): a critical value equal to N itself, a
// binomial sum exactly equal to 1 - alpha, and an alpha one single step above
// a power of two, where 1 - alpha differs between single and double.
TEST(DesignSignTest, EdgesOfTheExactCriticalValue) {
    const struct {
        double alpha, beta, dovers;
        int32_t n, critical;
    } cases[] = {
        {0.05, 0.5, 1.96, 4, 4},           // no count below N passes
        {0.5, 0.05, 0.35, 45, 23},         // P(X <= 22) is exactly 1/2
        {0.25, 0.5, 2, 2, 2},              // P(X <= 1) is exactly 3/4
        {0.0625000075, 0.5, 1.58, 4, 4},   // 15/16 against 1 - alpha in single
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.alpha << " " << c.beta << " " << c.dovers);
        DesignInputs inputs;
        inputs.alpha = c.alpha;
        inputs.beta = c.beta;
        inputs.sigma = 1;
        inputs.dcgl = 10;
        inputs.lbgr = 10 - c.dovers;
        DesignState state = PrepareState(inputs);
        ASSERT_EQ(DesignSignTest(state), DesignOutcome::Ok);
        EXPECT_EQ(state.SignN, c.n);
        EXPECT_EQ(state.SignCriticalValue, c.critical);
    }
}

TEST(DesignSignTest, DefaultCurve) {
    DesignState state = DefaultInputs();
    ASSERT_EQ(DesignSignTest(state), DesignOutcome::Ok);
    // Accumulated in single precision, so the grid drifts.
    EXPECT_EQ(state.CurveX[20], 0.50000006f);
    EXPECT_EQ(state.CurveX[40], 0.99999958f);
    EXPECT_EQ(state.CurveX[60], 1.4999992f);
    const struct { int i; double power; } points[] = {
        {1, 1.0}, {20, 0.989008}, {30, 0.597222}, {40, 0.030714}, {60, 0.0}};
    for (const auto& p : points) EXPECT_TRUE(RoundsTo(state.CurvePower[p.i], p.power, 6)) << p.i;
    EXPECT_EQ(state.CurveX[0], 0.0f);
    EXPECT_EQ(state.CurvePower[0], 0.0);
}

TEST(DesignSignTest, ShiftOfExactlySixIsComputed) {
    // DCGL 40 and sigma 1 make point 34 exactly six sigma below the DCGL.
    DesignState state = DefaultInputs();
    state.Alpha = 0.5f;
    state.Beta = 0.25f;
    state.DCGL = 40;
    state.Sigma = 1;
    ASSERT_EQ(DesignSignTest(state), DesignOutcome::Ok);
    ASSERT_EQ(state.CurveX[34], 34.0f);
    EXPECT_EQ(state.CurvePower[33], 1.0);
    EXPECT_EQ(state.CurvePower[34], 1 - BinomialCdf(2, 1, NormalCdf(6)));
    EXPECT_LT(state.CurvePower[34], 1.0);
}

TEST(DesignSignTest, CriticalValueAboveFiftyAtFiftySamples) {
    // A tiny alpha puts the normal critical value above n = 50; the exact
    // power then counts every outcome.
    DesignState state = DefaultInputs();
    state.Alpha = 1e-14f;
    state.Beta = 1.0f;
    state.DoverS = 1.39;
    ASSERT_EQ(DesignSignTest(state), DesignOutcome::Ok);
    ASSERT_EQ(state.SignN, 50);
    ASSERT_GT(state.SignCriticalValue, 50);
    for (int i = 1; i <= kCurvePoints; ++i) EXPECT_EQ(state.CurvePower[i], 0.0) << i;
}

TEST(DesignSignTest, UnrepresentableSampleSizeChangesNothing) {
    DesignState good = DefaultInputs();
    ASSERT_EQ(DesignSignTest(good), DesignOutcome::Ok);
    const struct { float alpha; double dovers; } cases[] = {
        {0.05f, 0}, {0.05f, 1e-17}, {0.05f, 9e-5}, {0.0f, 1}, {0.05f, NAN}};
    for (const auto& c : cases) {
        DesignState state = good;
        state.Alpha = c.alpha;
        state.DoverS = c.dovers;
        const DesignState before = state;
        EXPECT_EQ(DesignSignTest(state), DesignOutcome::SampleSizeOutOfRange) << c.dovers;
        EXPECT_TRUE(SameBits(state, before)) << c.dovers;
    }
    DesignState state = DefaultInputs();
    state.DoverS = 1e-4;  // just inside the 32-bit range
    ASSERT_EQ(DesignSignTest(state), DesignOutcome::Ok);
    EXPECT_GT(state.SignN, 2000000000);
}

// A given size gets the designed size's figures; the power at the LBGR is the
// curve's formula at D/s.
TEST(DesignForSize, CriticalValueAndPowerAtTheLBGR) {
    const struct {
        bool wrs;
        int32_t n;
        double critical, power_at_lbgr;
    } cases[] = {
        {false, 29, 19, 0.98900817},  // the designed size at the defaults
        {false, 20, 14, 0.91583067},
        {false, 15, 11, 0.79518312},
        {true, 32, 1162.4751, 0.99106099},
    };
    for (const auto& c : cases) {
        DesignState given = DefaultInputs();
        if (c.wrs) {
            ASSERT_EQ(DesignWRSTestForSize(given, c.n), DesignOutcome::Ok);
            EXPECT_TRUE(RoundsTo(given.WRSCriticalValue, c.critical, 4)) << c.n;
            EXPECT_TRUE(RoundsTo(WRSPower(c.n, given.WRSCriticalValue, given.DoverS),
                                 c.power_at_lbgr, 8));
        } else {
            ASSERT_EQ(DesignSignTestForSize(given, c.n), DesignOutcome::Ok);
            EXPECT_EQ(given.SignCriticalValue, c.critical) << c.n;
            EXPECT_TRUE(RoundsTo(SignPower(c.n, given.SignCriticalValue, given.DoverS),
                                 c.power_at_lbgr, 8));
        }
    }
    // The designed routines end in the sized ones: same bits for the designed N.
    DesignState designed = DefaultInputs(), sized = DefaultInputs();
    DesignWRSTest(designed);
    DesignWRSTestForSize(sized, designed.WRSN);
    EXPECT_TRUE(SameBits(designed, sized));
}

}  // namespace
}  // namespace valdris
