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

TEST(CalcWRSCriticalValue, ExactAndApproximateBranches) {
    const struct {
        int32_t a, b;
        float alpha;
        double expected;
    } exact[] = {
        {20, 20, 0.05f, 471},  // largest exact case
        {20, 20, 0.01f, 495},
        {10, 10, 0.05f, 127},
        {5, 5, 0.05f, 35},
        {2, 2, 0.05f, 7},      // the largest possible statistic
        {1, 1, 0.05f, 2},
        {0, 0, 0.05f, -1111},  // no sample, no critical value
        {0, 5, 0.05f, -1111},
    };
    for (const auto& c : exact) {
        EXPECT_EQ(CalcWRSCriticalValue(c.a, c.b, c.alpha), c.expected) << c.a << ", " << c.b;
    }
    EXPECT_TRUE(RoundsTo(CalcWRSCriticalValue(21, 21, 0.05f), 516.8724, 4));
    EXPECT_TRUE(RoundsTo(CalcWRSCriticalValue(32, 32, 0.05f), 1162.4751, 4));
}

TEST(CalcWRSCriticalValue, ExactDistributionOfUnequalSamples) {
    // a = 3 reference values, b = 4 survey values: C(7, 3) = 35 arrangements,
    // P(U <= 10) = 33/35 and P(U <= 11) = 34/35, so at alpha 0.05 the
    // critical value is 6 + 11.
    EXPECT_EQ(CalcWRSCriticalValue(3, 4, 0.05f), 17);
    EXPECT_EQ(CalcWRSCriticalValue(4, 3, 0.05f), 10 + 11);
}

TEST(CalcWRSCriticalValue, LargestSizesDoNotOverflow) {
    const int32_t max = std::numeric_limits<int32_t>::max();
    const double n = max;
    const double expected =
        NormalQuantile(0.05f) * std::sqrt(n * n * (2 * n + 1) / 12) + (2 * n + 1) * n / 2;
    EXPECT_DOUBLE_EQ(CalcWRSCriticalValue(max, max, 0.05f), expected);
}

TEST(WRSJointProbability, Values) {
    EXPECT_TRUE(RoundsTo(WRSJointProbability(0), 1.0 / 3, 6));
    EXPECT_TRUE(RoundsTo(WRSJointProbability(1), 0.633702, 6));
    EXPECT_TRUE(RoundsTo(WRSJointProbability(-1), 0.113202, 6));
}

TEST(DesignWRSTest, Defaults) {
    DesignState state = DefaultInputs();
    ASSERT_EQ(DesignWRSTest(state), DesignOutcome::Ok);
    EXPECT_EQ(state.WRSN, 32);
    EXPECT_TRUE(RoundsTo(state.WRSCriticalValue, 1162.4751, 4));
    EXPECT_EQ(state.CurveX[20], 0.50000006f);
    EXPECT_EQ(state.CurveX[30], 0.74999982f);
    EXPECT_EQ(state.CurveX[40], 0.99999958f);
    EXPECT_EQ(state.CurveX[60], 1.4999992f);
    const struct {
        int i;
        double power;
    } points[] = {{20, 0.991061}, {30, 0.608453}, {40, 0.050734}};
    for (const auto& p : points) EXPECT_TRUE(RoundsTo(state.CurvePower[p.i], p.power, 6)) << p.i;
    EXPECT_EQ(state.CurvePower[0], 0.0);
}

TEST(DesignWRSTest, ExactCriticalValueForSmallSamples) {
    DesignState state = DefaultInputs();
    state.DoverS = 3;
    ASSERT_EQ(DesignWRSTest(state), DesignOutcome::Ok);
    EXPECT_EQ(state.WRSN, 10);
    EXPECT_EQ(state.WRSCriticalValue, 127);
}

TEST(DesignWRSTest, LeavesTheSignResultsAlone) {
    DesignState state = WithEarlierResults(DefaultInputs());
    ASSERT_EQ(DesignWRSTest(state), DesignOutcome::Ok);
    EXPECT_EQ(state.SignN, 29);
    EXPECT_EQ(state.SignCriticalValue, 19);
}

TEST(DesignWRSTest, UnrepresentableSampleSizeChangesNothing) {
    const struct {
        const char* name;
        float beta;
        double dovers;
    } cases[] = {
        {"no shift", 0.05f, 0},
        {"shift below 1e-16", 0.05f, 1e-17},
        {"size beyond 32 bits", 0.05f, 1e-4},
        {"beta of 0", 0.0f, 1},
    };
    for (const auto& c : cases) {
        DesignState state = WithEarlierResults(DefaultInputs());
        state.Beta = c.beta;
        state.DoverS = c.dovers;
        const DesignState before = state;
        EXPECT_EQ(DesignWRSTest(state), DesignOutcome::SampleSizeOutOfRange) << c.name;
        EXPECT_TRUE(SameBits(state, before)) << c.name;
    }
}

// Inputs at the edges of what the window accepts: every design either runs
// and gives a finite curve of probabilities, or is refused.
TEST(Designs, ExtremeInputsGiveProbabilitiesOrARefusal) {
    const float alphas[] = {std::numeric_limits<float>::denorm_min(), 1e-7f, 0.05f, 0.5f};
    const float betas[] = {std::numeric_limits<float>::denorm_min(), 0.05f, 0.5f, 1.0f};
    const double dcgls[] = {1e-30, 1, 1e30};
    const double lbgr_fractions[] = {0, 0.5, 1 - 1e-9, 1};
    const float sigma_factors[] = {1e-30f, 0.01f, 1, 10};
    int designs_run = 0;
    for (float alpha : alphas)
        for (float beta : betas)
            for (double dcgl : dcgls)
                for (double fraction : lbgr_fractions)
                    for (float factor : sigma_factors) {
                        DesignState state;
                        state.Alpha = alpha;
                        state.Beta = beta;
                        state.DCGL = dcgl;
                        state.LBGR = dcgl * fraction;
                        state.Sigma = static_cast<float>(dcgl * factor);
                        if (!(state.Sigma > 0)) state.Sigma = std::numeric_limits<float>::denorm_min();
                        state.Delta = static_cast<float>(state.DCGL - state.LBGR);
                        state.DoverS = double(state.Delta) / double(state.Sigma);
                        for (auto design : {DesignSignTest, DesignWRSTest}) {
                            if (design(state) != DesignOutcome::Ok) continue;
                            ++designs_run;
                            for (int i = 1; i <= kCurvePoints; ++i) {
                                ASSERT_TRUE(std::isfinite(state.CurveX[i]));
                                const double power = state.CurvePower[i];
                                ASSERT_TRUE(power >= -1e-12 && power <= 1 + 1e-12)
                                    << "alpha " << alpha << " beta " << beta << " DCGL " << dcgl
                                    << " LBGR " << state.LBGR << " sigma " << state.Sigma
                                    << " point " << i << " power " << power;
                            }
                            ASSERT_TRUE(std::isfinite(state.WRSCriticalValue));
                        }
                    }
    EXPECT_GT(designs_run, 500);
}

}  // namespace
}  // namespace valdris
