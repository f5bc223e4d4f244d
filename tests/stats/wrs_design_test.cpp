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

TEST(CalcWRSCriticalValue, ExactAndApproximateBranches) {
    const struct { int32_t a, b; float alpha; double cv; } exact[] = {
        {20, 20, 0.05f, 471}, {20, 20, 0.01f, 495}, {10, 10, 0.05f, 127}, {5, 5, 0.05f, 35},
        {2, 2, 0.05f, 7}, {1, 1, 0.05f, 2},  // the largest possible statistic
        // 3 reference, 4 survey values: P(U <= 10) = 33/35, P(U <= 11) = 34/35.
        {3, 4, 0.05f, 6 + 11}, {4, 3, 0.05f, 10 + 11},
        // P(U <= 8) = 19/20 rounds to the single threshold 1 - 0.05, so is not above it.
        {3, 3, 0.05f, 6 + 9},
        {0, 0, 0.05f, -1111}, {0, 5, 0.05f, -1111}};
    for (const auto& c : exact) EXPECT_EQ(CalcWRSCriticalValue(c.a, c.b, c.alpha), c.cv) << c.a;
    EXPECT_TRUE(RoundsTo(CalcWRSCriticalValue(21, 21, 0.05f), 516.8724, 4));
    EXPECT_TRUE(RoundsTo(CalcWRSCriticalValue(32, 32, 0.05f), 1162.4751, 4));
}

// Two equal areas of 1 to 20 measurements: the counts of the rank-sum
// distribution are summed in single precision, and the critical values are
// read off those rounded sums (summed in double, 15 and 15 at alpha 0.5 would
// give 233).
TEST(CalcWRSCriticalValue, ExactValuesFromSinglePrecisionCounts) {
    const float alphas[] = {0.5f, 0.1f, 0.05f, 0.01f};
    const double expected[20][4] = {
        {2, 2, 2, 2},         {5, 7, 7, 7},         {11, 14, 15, 15},     {18, 23, 24, 26},
        {28, 34, 35, 38},     {39, 47, 49, 53},     {53, 63, 65, 70},     {68, 80, 84, 90},
        {86, 100, 104, 111},  {105, 122, 127, 135}, {127, 146, 152, 161}, {150, 172, 179, 190},
        {176, 201, 208, 220}, {203, 231, 239, 253}, {232, 264, 272, 288}, {264, 298, 308, 325},
        {298, 335, 345, 364}, {333, 374, 385, 406}, {371, 415, 427, 449}, {410, 458, 471, 495},
    };
    for (int32_t n = 1; n <= 20; ++n) {
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(CalcWRSCriticalValue(n, n, alphas[k]), expected[n - 1][k]) << n << " " << alphas[k];
        }
    }
}

TEST(CalcWRSCriticalValue, LargestSizesDoNotOverflow) {
    const double n = std::numeric_limits<int32_t>::max();
    const double expected =
        NormalQuantile(0.05f) * std::sqrt(n * n * (2 * n + 1) / 12) + (2 * n + 1) * n / 2;
    EXPECT_DOUBLE_EQ(CalcWRSCriticalValue(INT32_MAX, INT32_MAX, 0.05f), expected);
}

TEST(WRSJointProbability, Values) {
    EXPECT_TRUE(RoundsTo(WRSJointProbability(0), 0.333333, 6));
    EXPECT_TRUE(RoundsTo(WRSJointProbability(1), 0.633702, 6));
    EXPECT_TRUE(RoundsTo(WRSJointProbability(-1), 0.113202, 6));
}

TEST(DesignWRSTest, DefaultsAndExactSmallSample) {
    DesignState state = DefaultInputs();
    ASSERT_EQ(DesignWRSTest(state), DesignOutcome::Ok);
    EXPECT_EQ(state.WRSN, 32);
    EXPECT_TRUE(RoundsTo(state.WRSCriticalValue, 1162.4751, 4));
    EXPECT_EQ(state.CurveX[30], 0.74999982f);
    EXPECT_EQ(state.CurveX[40], 0.99999958f);
    const struct { int i; double power; } points[] = {
        {20, 0.991061}, {30, 0.608453}, {40, 0.050734}};
    for (const auto& p : points) EXPECT_TRUE(RoundsTo(state.CurvePower[p.i], p.power, 6)) << p.i;
    EXPECT_EQ(state.SignN, 0);  // the Sign results are not the WRS design's

    state.DoverS = 3;
    ASSERT_EQ(DesignWRSTest(state), DesignOutcome::Ok);
    EXPECT_EQ(state.WRSN, 10);
    EXPECT_EQ(state.WRSCriticalValue, 127);
}

TEST(DesignWRSTest, UnrepresentableSampleSizeChangesNothing) {
    DesignState good = DefaultInputs();
    ASSERT_EQ(DesignWRSTest(good), DesignOutcome::Ok);
    const struct { float beta; double dovers; } cases[] = {
        {0.05f, 0}, {0.05f, 1e-17}, {0.05f, 1e-4}, {0.0f, 1}};
    for (const auto& c : cases) {
        DesignState state = good;
        state.Beta = c.beta;
        state.DoverS = c.dovers;
        const DesignState before = state;
        EXPECT_EQ(DesignWRSTest(state), DesignOutcome::SampleSizeOutOfRange) << c.dovers;
        EXPECT_TRUE(SameBits(state, before)) << c.dovers;
    }
}

// Edges of what the window accepts: each design runs to a finite curve of
// probabilities or is refused (the sanitizer build watches for UB here).
TEST(Designs, ExtremeInputsGiveProbabilitiesOrARefusal) {
    const float tiny = std::numeric_limits<float>::denorm_min();
    int designs_run = 0;
    for (float alpha : {tiny, 0.05f, 0.5f})
        for (float beta : {tiny, 0.5f, 1.0f})
            for (double dcgl : {1e-30, 1.0, 1e30})
                for (double lbgr_share : {0.0, 0.5, 1 - 1e-9, 1.0})
                    for (double sigma_share : {1e-30, 0.01, 10.0}) {
                        DesignState state;
                        state.Alpha = alpha;
                        state.Beta = beta;
                        state.DCGL = dcgl;
                        state.LBGR = dcgl * lbgr_share;
                        state.Sigma = std::max(static_cast<float>(dcgl * sigma_share), tiny);
                        state.Delta = static_cast<float>(state.DCGL - state.LBGR);
                        state.DoverS = double(state.Delta) / double(state.Sigma);
                        for (auto design : {DesignSignTest, DesignWRSTest}) {
                            if (design(state) != DesignOutcome::Ok) continue;
                            ++designs_run;
                            for (int i = 1; i <= kCurvePoints; ++i) {
                                ASSERT_TRUE(std::isfinite(state.CurveX[i]));
                                ASSERT_NEAR(state.CurvePower[i], 0.5, 0.5 + 1e-12) << i;
                            }
                        }
                    }
    EXPECT_GT(designs_run, 300);
}

}  // namespace
}  // namespace valdris
