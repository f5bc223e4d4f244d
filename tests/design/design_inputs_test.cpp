// SPDX-License-Identifier: Apache-2.0
// From entered inputs to a design: the rule order, the rounding to the
// stored widths and the designs that cannot be made.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <vector>

#include "design_inputs.h"

namespace valdris {
namespace {

TEST(CheckInputs, AppliesTheWindowRulesInOrder) {
    struct Case {
        DesignInputs inputs;
        std::optional<RefusalKind> refusal;
    };
    using K = RefusalKind;
    const std::vector<Case> cases = {
        {{0.05, 0.05, 0.5, 1, 0.5}, std::nullopt},
        {{0.5, 0.05, 0.5, 1, 0.5}, std::nullopt},
        {{0.50000001, 0.05, 0.5, 1, 0.5}, std::nullopt},  // 0.5 once single
        {{0.05, 1, 0.5, 1, 0.5}, std::nullopt},
        {{0.05, 0.05, 10, 1, 0.5}, std::nullopt},
        {{0.05, 0.05, 0.5, 1, 0}, std::nullopt},
        {{0.5, 0.5, 0.5, 1, 0.5}, K::AlphaBetaBothLarge},
        {{0.6, 0.5, 0.5, 1, 0.5}, K::AlphaBetaBothLarge},
        {{0.6, 0.05, 0.5, 1, 0.5}, K::AlphaRange},
        {{0, 0.05, 0.5, 1, 0.5}, K::AlphaRange},
        {{0.6, 0.05, 0.5, 0, 0.5}, K::AlphaRange},  // before the DCGL
        {{0.05, 0, 0.5, 1, 0.5}, K::BetaRange},
        {{0.05, 1.01, 0.5, 1, 0.5}, K::BetaRange},
        {{0.05, 0.05, 0.5, 0, 0.5}, K::DCGLUnusable},
        {{0.05, 0.05, 0.5, 1e31, 0.5}, K::DCGLUnusable},
        {{0.05, 0.05, 0, 1, 0.5}, K::SigmaNotPositive},
        {{0.05, 0.05, 1e-50, 1, 0.5}, K::SigmaNotPositive},
        {{0.05, 0.05, 10.00001, 1, 0.5}, K::SigmaTooLarge},
        {{0.05, 0.05, 1e300, 1, 0.5}, K::SigmaTooLarge},
        {{0.05, 0.05, 0.5, 1, -1}, K::LBGRNegative},
        {{0.05, 0.05, 0.5, 1, 1}, K::LBGRAboveDCGL},
    };
    for (const auto& c : cases) {
        const auto& in = c.inputs;
        const std::optional<Refusal> refusal = CheckInputs(in);
        EXPECT_EQ(refusal ? std::optional<RefusalKind>(refusal->kind) : std::nullopt, c.refusal) << in.alpha << ' ' << in.beta << ' ' << in.sigma << ' ' << in.dcgl
                                              << ' ' << in.lbgr;
    }
}

TEST(PrepareState, RoundsAsTheWindowStoresTheInputs) {
    const DesignState state = PrepareState({0.05, 0.1, 0.3, 1, 0.7});
    EXPECT_EQ(state.Alpha, 0.05f);
    EXPECT_EQ(state.Beta, 0.1f);
    EXPECT_EQ(state.Sigma, 0.3f);
    EXPECT_EQ(state.Delta, static_cast<float>(1 - 0.7));
    EXPECT_EQ(state.DoverS, static_cast<double>(state.Delta) / static_cast<double>(0.3f));
}

TEST(RunDesign, RefusesAShiftTooSmallForAnySampleSize) {
    // D/s 1e-6: the sample size leaves the 32-bit range.
    const DesignInputs tiny_shift{0.05, 0.05, 10, 1, 0.99999};
    EXPECT_EQ(RunDesign(TestKind::Sign, tiny_shift).refusal().kind, RefusalKind::SampleSizeTooLarge);
    EXPECT_EQ(RunDesign(TestKind::WRS, tiny_shift).refusal().kind, RefusalKind::SampleSizeTooLarge);
    // The smallest DCGL with an LBGR one step of a double below it.
    const DesignInputs vanishing_shift{0.05, 0.05, 0.00001, 0.000001, std::nextafter(0.000001, 0.0)};
    EXPECT_EQ(RunDesign(TestKind::Sign, vanishing_shift).refusal().kind, RefusalKind::SampleSizeTooLarge);
}

}  // namespace
}  // namespace valdris
