// SPDX-License-Identifier: Apache-2.0
// The engine against its frozen earlier form (reference_engine/): the engine
// is restructured for speed only, so over many random designs every field of
// the design state, every critical value and every power must agree in every
// bit, refusals included.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <sstream>

#include "design_inputs.h"
#include "engine_test_support.h"
#include "reference_engine.h"
#include "valdris_power.h"

// Random designs compared in all shards together; a slower build (the
// sanitizers) compiles in fewer, and the environment variable below
// overrides either.
#ifndef VALDRIS_IDENTITY_DESIGNS
#define VALDRIS_IDENTITY_DESIGNS 400000
#endif

namespace valdris {
namespace {

using testing::SameBits;

constexpr int kShards = 8;

int64_t DesignsPerShard() {
    int64_t total = VALDRIS_IDENTITY_DESIGNS;
    if (const char* text = std::getenv("VALDRIS_IDENTITY_DESIGNS")) total = std::atoll(text);
    return (total + kShards - 1) / kShards;
}

template <typename T>
bool Same(const T& a, const T& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

class Draw {
public:
    explicit Draw(uint64_t seed) : engine_(seed) {}
    double Uniform(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(engine_); }
    double LogUniform(double lo, double hi) { return std::exp(Uniform(std::log(lo), std::log(hi))); }
    bool Chance(double p) { return Uniform(0, 1) < p; }
    int32_t Int(int64_t lo, int64_t hi) {
        return static_cast<int32_t>(std::uniform_int_distribution<int64_t>(lo, hi)(engine_));
    }
    template <typename T, size_t N>
    T OneOf(const T (&values)[N]) { return values[Int(0, N - 1)]; }

private:
    std::mt19937_64 engine_;
};

// Alpha up to 0.5 (the window's choices or any value down to 1e-6), beta in
// (0, 1), not both 0.5 or more, as the input rules keep them.
void DrawDecisionErrors(Draw& draw, DesignInputs& in) {
    const double offered[] = {0.01, 0.025, 0.05, 0.1, 0.25, 0.5};
    in.alpha = draw.Chance(0.3) ? draw.OneOf(offered) : draw.LogUniform(1e-6, 0.5);
    in.beta = draw.Chance(0.3) ? draw.OneOf(offered) : draw.LogUniform(1e-6, 0.999);
    if (static_cast<float>(in.alpha) >= 0.5f && static_cast<float>(in.beta) >= 0.5f) in.beta = 0.25;
}

// D/s from 1e-4 (sizes beyond 32 bits, refused) to 50 (a curve of certain
// points), with DCGL and LBGR over several decades.
DesignState DrawDesign(Draw& draw) {
    DesignInputs in;
    DrawDecisionErrors(draw, in);
    in.dcgl = draw.LogUniform(1e-2, 1e4);
    in.lbgr = in.dcgl * draw.Uniform(0, 0.999);
    in.sigma = (in.dcgl - in.lbgr) / draw.LogUniform(1e-4, 50);
    DesignState state = PrepareState(in);
    // Results of an earlier design, which a refusal must leave alike.
    state.SignN = 7;
    state.SignCriticalValue = 5;
    state.WRSN = 9;
    state.WRSCriticalValue = 61.5;
    for (int i = 0; i <= kCurvePoints; ++i) state.CurvePower[i] = 0.5;
    return state;
}

std::string Describe(const DesignState& s) {
    std::ostringstream text;
    text << std::hexfloat << "alpha " << s.Alpha << " beta " << s.Beta << " sigma " << s.Sigma
         << " dcgl " << s.DCGL << " lbgr " << s.LBGR << " D/s " << s.DoverS;
    return text.str();
}

// What each shard covered; every kind must have occurred.
struct Coverage {
    int64_t designs = 0, refused = 0, exact_sign = 0, exact_wrs = 0, computed_points = 0;
};

void CountCoverage(const DesignState& s, bool sign, bool refused, Coverage& seen) {
    ++seen.designs;
    if (refused) {
        ++seen.refused;
        return;
    }
    if (sign && s.SignN <= kSignExactPowerUpTo) ++seen.exact_sign;
    if (!sign && s.WRSN <= kWRSExactSizeLimit) ++seen.exact_wrs;
    for (int i = 1; i <= kCurvePoints; ++i) {
        seen.computed_points += s.CurvePower[i] != 0 && s.CurvePower[i] != 1;
    }
}

class EngineIdentity : public ::testing::TestWithParam<int> {
protected:
    Draw draw_{0x5eedULL * 1000003 + static_cast<uint64_t>(GetParam())};
};

// Half the designs by each test, in turn.
TEST_P(EngineIdentity, DesignsAgreeInEveryBit) {
    Coverage seen;
    const int64_t designs = DesignsPerShard();
    for (int64_t d = 0; d < designs; ++d) {
        const DesignState inputs = DrawDesign(draw_);
        const bool sign = d % 2 == 0;
        DesignState ours = inputs;
        DesignState theirs = inputs;
        const int our_outcome = static_cast<int>(sign ? DesignSignTest(ours) : DesignWRSTest(ours));
        const int their_outcome =
            static_cast<int>(sign ? reference::DesignSignTest(theirs) : reference::DesignWRSTest(theirs));
        ASSERT_EQ(our_outcome, their_outcome) << Describe(inputs);
        ASSERT_TRUE(SameBits(ours, theirs)) << (sign ? "Sign " : "WRS ") << Describe(inputs);
        CountCoverage(ours, sign, our_outcome != static_cast<int>(DesignOutcome::Ok), seen);
    }
    EXPECT_EQ(seen.designs, designs);
    EXPECT_GT(seen.refused, 0);
    EXPECT_GT(seen.exact_sign, 0);
    EXPECT_GT(seen.exact_wrs, 0);
    EXPECT_GT(seen.computed_points, seen.designs);
}

// A size of one of the exact ranges, or any up to the largest 32-bit count.
int32_t DrawSize(Draw& draw) {
    if (draw.Chance(0.6)) return draw.Int(1, 60);
    if (draw.Chance(0.05)) return std::numeric_limits<int32_t>::max() - draw.Int(0, 3);
    return static_cast<int32_t>(draw.LogUniform(1, 2.1e9));
}

// Shifts inside the computed range, with its edges, 0 (where the joint
// probability has its own step) and shifts whose square underflows.
double DrawShift(Draw& draw) {
    const double edges[] = {0.0, -0.0, 6.0, -6.0, std::nextafter(6.0, 7.0), std::nextafter(-6.0, -7.0),
                            1e-170, -1e-170, 4e-162, 8.5, -8.5};
    return draw.Chance(0.1) ? draw.OneOf(edges) : draw.Uniform(-6.5, 6.5);
}

TEST_P(EngineIdentity, SizedRoutinesAgreeInEveryBit) {
    const int64_t cases = DesignsPerShard() / 4;
    for (int64_t c = 0; c < cases; ++c) {
        DesignState inputs = DrawDesign(draw_);
        const int32_t n = DrawSize(draw_);
        const auto critical = SignCriticalValue(n, inputs.Alpha);
        const auto their_critical = reference::SignCriticalValue(n, inputs.Alpha);
        ASSERT_EQ(critical, their_critical) << n << ' ' << Describe(inputs);

        // Critical values off the designed ones too, past both ends.
        const int32_t sign_critical = draw_.Chance(0.7) && critical ? *critical : draw_.Int(-2, std::min<int64_t>(int64_t{n} + 2, INT32_MAX));
        const double wrs_critical =
            draw_.Chance(0.7) ? CalcWRSCriticalValue(n, n, inputs.Alpha) : draw_.Uniform(-10, 1e4);
        for (int k = 0; k < 4; ++k) {
            const double shift = DrawShift(draw_);
            ASSERT_TRUE(Same(SignPower(n, sign_critical, shift), reference::SignPower(n, sign_critical, shift)))
                << n << ' ' << sign_critical << ' ' << std::hexfloat << shift;
            ASSERT_TRUE(Same(WRSPower(n, wrs_critical, shift), reference::WRSPower(n, wrs_critical, shift)))
                << n << ' ' << wrs_critical << ' ' << std::hexfloat << shift;
        }

        DesignState ours = inputs;
        DesignState theirs = inputs;
        const bool sign = c % 2 == 0;
        const int our_outcome =
            static_cast<int>(sign ? DesignSignTestForSize(ours, n) : DesignWRSTestForSize(ours, n));
        const int their_outcome = static_cast<int>(sign ? reference::DesignSignTestForSize(theirs, n)
                                                        : reference::DesignWRSTestForSize(theirs, n));
        ASSERT_EQ(our_outcome, their_outcome) << n << ' ' << Describe(inputs);
        ASSERT_TRUE(SameBits(ours, theirs)) << (sign ? "Sign " : "WRS ") << n << ' ' << Describe(inputs);
    }
}

// Every pair of sizes up to one past the exact limit, unequal ones (the
// tests on data) and both orders, at the offered alphas, edges and random
// ones; the second round reads the counts a process keeps from the first.
TEST(ExactRankSumIdentity, CriticalValuesAgreeForEveryPairOfSizes) {
    Draw draw(0x7a11ULL);
    const float fixed[] = {0.01f, 0.025f, 0.05f, 0.1f, 0.25f, 0.5f, 1e-6f, 0.4999999f, 0.0f, 1.0f};
    for (int round = 0; round < 2; ++round) {
        for (int32_t a = 0; a <= kWRSExactSizeLimit + 1; ++a) {
            for (int32_t b = 0; b <= kWRSExactSizeLimit + 1; ++b) {
                for (int k = 0; k < 60; ++k) {
                    const float alpha = k < 10 ? fixed[k] : static_cast<float>(draw.LogUniform(1e-7, 0.5));
                    ASSERT_TRUE(Same(CalcWRSCriticalValue(a, b, alpha), reference::CalcWRSCriticalValue(a, b, alpha)))
                        << a << ' ' << b << ' ' << std::hexfloat << alpha;
                }
            }
        }
    }
}

// The numerical functions over their whole domains, which the designs reach
// only in part: the error function in each of its three ranges, both signs
// and beyond, and the bivariate tail at any correlation (its T terms
// reflected or not, each summed alone).
TEST(NumericalIdentity, FunctionsAgreeInEveryBit) {
    Draw draw(0xe4fULL);
    const int64_t cases = DesignsPerShard();
    for (int64_t c = 0; c < cases; ++c) {
        const double x = (draw.Chance(0.5) ? 1 : -1) * draw.LogUniform(1e-20, 14);
        ASSERT_TRUE(Same(Erf(x), reference::Erf(x))) << std::hexfloat << x;
        ASSERT_TRUE(Same(NormalCdf(x), reference::NormalCdf(x))) << std::hexfloat << x;
        ASSERT_TRUE(Same(WRSJointProbability(x), reference::WRSJointProbability(x))) << std::hexfloat << x;
        const double h = draw.Uniform(-6, 6);
        const double k = draw.Chance(0.2) ? h : draw.Uniform(-6, 6);
        const double r = draw.Chance(0.2) ? 0.5 : draw.Uniform(-0.999, 0.999);
        ASSERT_TRUE(Same(BIVNOR(h, k, r), reference::BIVNOR(h, k, r)))
            << std::hexfloat << h << ' ' << k << ' ' << r;
    }
}

INSTANTIATE_TEST_SUITE_P(Shards, EngineIdentity, ::testing::Range(0, kShards));

}  // namespace
}  // namespace valdris
