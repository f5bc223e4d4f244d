// SPDX-License-Identifier: Apache-2.0
// Every design has at least one sample and powers that are probabilities,
// whatever rounding does at the edges of the input ranges.
#include <gtest/gtest.h>

#include <cmath>
#include <iostream>
#include <string>
#include <vector>

#include "engine_test_support.h"
#include "valdris_power.h"

namespace valdris {
namespace {

using testing::DefaultInputs;

// Betas of seven decimals above 0.5 whose quantile cancels alpha's: the sum
// z_alpha + z_beta is then too small for the squared need to survive the
// added one half, and the rounded-up size used to come out as 0. Sign changes
// of the sum are bracketed in steps of 1e-4, then searched in steps of 1e-7.
std::vector<float> CancellingBetas(float alpha) {
    const double za = NormalQuantile(alpha);
    const auto sum_at = [za](long seven_digits) { return za + NormalQuantile(static_cast<float>(seven_digits / 1e7)); };
    std::vector<float> betas;
    constexpr long kCoarse = 1000;
    for (long lo = 5000000; lo < 10000000; lo += kCoarse) {
        if ((sum_at(lo) > 0) == (sum_at(lo + kCoarse) > 0)) continue;
        for (long k = lo; k <= lo + kCoarse; ++k) {
            if (std::fabs(sum_at(k)) < 1e-8) betas.push_back(static_cast<float>(k / 1e7));
        }
    }
    return betas;
}

// The smallest size any positive need gives: one sample, plus twenty percent
// rounded up for the Sign test; the WRS critical value of one sample per
// area is the largest rank sum, 2 (not the -1111 of an empty sample).
TEST(DesignBounds, DecisionErrorsWhoseQuantilesCancelStillGiveSamples) {
    int found = 0;
    bool found_known_pair = false;
    for (int thousandths = 1; thousandths <= 500; ++thousandths) {
        const float alpha = static_cast<float>(thousandths / 1000.0);
        for (float beta : CancellingBetas(alpha)) {
            ++found;
            found_known_pair |= alpha == 0.087f && beta == 0.929685f;
            DesignState state = DefaultInputs();
            state.Alpha = alpha;
            state.Beta = beta;
            const std::string label = "alpha " + std::to_string(alpha) + " beta " + std::to_string(beta);
            ASSERT_EQ(DesignSignTest(state), DesignOutcome::Ok) << label;
            EXPECT_EQ(state.SignN, 2) << label;
            EXPECT_GE(state.SignCriticalValue, 1) << label;
            EXPECT_LE(state.SignCriticalValue, 2) << label;
            ASSERT_EQ(DesignWRSTest(state), DesignOutcome::Ok) << label;
            EXPECT_EQ(state.WRSN, 1) << label;
            EXPECT_EQ(state.WRSCriticalValue, 2) << label;
        }
    }
    EXPECT_TRUE(found_known_pair) << "the search no longer finds alpha 0.087 with beta 0.929685";
    std::cout << found << " pairs of three-decimal alpha and seven-decimal beta cancel\n";
}

TEST(DesignBounds, CurvePowersStayProbabilities) {
    const struct { double dcgl, lbgr; float sigma; } cases[] = {
        {100, 0.5, 0.5f},    // Sign points of about -4e-16 at 102.5 percent
        {1, 0.5, 0.5f}, {1, 0.5, 0.05f}, {1e4, 5e3, 1.0f}, {1e-3, 0, 1e-4f}, {1e30, 5e29, 1e20f},
    };
    for (const auto& c : cases) {
        DesignState state = DefaultInputs();
        state.DCGL = c.dcgl;
        state.LBGR = c.lbgr;
        state.Sigma = c.sigma;
        state.Delta = static_cast<float>(c.dcgl - c.lbgr);
        state.DoverS = static_cast<double>(state.Delta) / state.Sigma;
        for (auto design : {DesignSignTest, DesignWRSTest}) {
            DesignState run = state;
            ASSERT_EQ(design(run), DesignOutcome::Ok) << c.dcgl;
            for (int i = 1; i <= kCurvePoints; ++i) {
                EXPECT_GE(run.CurvePower[i], 0.0) << "DCGL " << c.dcgl << " point " << i;
                EXPECT_LE(run.CurvePower[i], 1.0) << "DCGL " << c.dcgl << " point " << i;
            }
        }
    }
}

}  // namespace
}  // namespace valdris
