// SPDX-License-Identifier: Apache-2.0
// The design check against independent figures: exact ones against R's
// pbinom and pwilcox (to 1e-9), simulated ones against an independent
// simulation in R (100,000 runs, its own generator and ranking), within
// three standard errors of the difference; the exact quantile against the
// Sign test's known sizes; and that a design no data can pass checks as 0.

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "design_check.h"
#include "exact_tails.h"
#include "passable.h"
#include "quantile_choice.h"
#include "valdris_power.h"

namespace valdris {
namespace {

CheckRequest Request(int32_t n, double critical, float alpha, float beta, double dovers, double sigma,
                     double lbgr) {
    CheckRequest r;
    r.n = n;
    r.critical = critical;
    r.alpha = alpha;
    r.beta = beta;
    r.dovers = dovers;
    r.sigma = sigma;
    r.dcgl = 1;
    r.lbgr = lbgr;
    return r;
}

struct ExactSignRow {
    int32_t n;
    int32_t critical;
    double dovers;
    double type1;  // 1 - pbinom(k, n, 0.5)
    double power;  // 1 - pbinom(k, n, pnorm(dovers))
};

TEST(DesignCheck, SignFiguresAreExactBinomialTails) {
    const ExactSignRow rows[] = {
        {29, 19, 1.0, 0.030714172869920731, 0.98900816958744187},
        {89, 52, 0.5, 0.044660368365594727, 0.97910266823607472},
        {4100, 2125, 0.1, 0.0091759006209510829, 0.99700757649725469},
    };
    for (const ExactSignRow& row : rows) {
        const DesignCheck c = CheckSignDesign(Request(row.n, row.critical, 0.05f, 0.05f, row.dovers, 0.5, 0.5));
        EXPECT_NEAR(c.type1_error, row.type1, 1e-9) << row.n;
        EXPECT_TRUE(c.type1_exact);
        EXPECT_NEAR(c.power_normal, row.power, 1e-9) << row.n;
        EXPECT_EQ(c.power_normal_se, 0);
        EXPECT_EQ(c.replications, 0);
    }
}

// At alpha 0.5 an odd n ties: P(S > (n - 1) / 2) is exactly 1/2, not below
// it, so the critical value is (n + 1) / 2; an even n has no tie.
TEST(DesignCheck, SignCriticalValueAtAnExactTie) {
    const std::pair<int32_t, int32_t> rows[] = {{1, 1}, {29, 15}, {165, 83}, {4095, 2048}, {30, 15}, {4096, 2048}};
    for (const auto& [n, critical] : rows) EXPECT_EQ(ExactSignCriticalValue(n, 0.5), critical) << n;
}

TEST(DesignCheck, SignLognormalPowerIsExact) {
    // Lognormal with mean 0.5 and sd 0.5: P(X < 1) = pnorm((log 1 - mu) / s).
    const DesignCheck c = CheckSignDesign(Request(29, 19, 0.05f, 0.05f, 1.0, 0.5, 0.5));
    ASSERT_TRUE(c.power_lognormal);
    EXPECT_NEAR(*c.power_lognormal, 0.99947303365245732, 1e-9);
    // No lognormal has a mean of 0.
    EXPECT_FALSE(CheckSignDesign(Request(29, 19, 0.05f, 0.05f, 2.0, 0.5, 0.0)).power_lognormal);
}

struct RankSumRow {
    int32_t n;
    double critical;
    double type1;  // 1 - pwilcox(floor(k) - n(n+1)/2, n, n)
};

TEST(DesignCheck, WRSTypeOneErrorIsCountedExactly) {
    const RankSumRow rows[] = {
        {10, 127, 0.044604776028924653},
        {20, 471, 0.048249776218050155},
        {32, 1162.4751238875872, 0.050123862463967384},
    };
    for (const RankSumRow& row : rows) {
        CheckRequest r = Request(row.n, row.critical, 0.05f, 0.05f, 1.0, 0.5, 0.5);
        r.replications = 100;  // the Type I error does not depend on them
        const DesignCheck c = CheckWRSDesign(r);
        EXPECT_NEAR(c.type1_error, row.type1, 1e-9) << row.n;
        EXPECT_TRUE(c.type1_exact);
    }
    // pwilcox(700, 49, 49): the largest size counted.
    EXPECT_NEAR(EqualSizeRankSumCdfs(49)[49][700], 0.0001534764534881131, 1e-12);
}

struct SimulatedRow {
    int32_t n;
    double critical;
    double dovers, sigma, lbgr;
    double normal, lognormal;  // R, 100,000 runs each
};

TEST(DesignCheck, WRSPowersAgreeWithAnIndependentSimulation) {
    const SimulatedRow rows[] = {
        {32, 1162.4751238875872, 1.0, 0.5, 0.5, 0.9862, 0.99994},
        {12, 175, 0.5, 0.4, 0.8, 0.38173, 0.48424},
    };
    constexpr int kTheirRuns = 100000;
    for (const SimulatedRow& row : rows) {
        const DesignCheck c = CheckWRSDesign(Request(row.n, row.critical, 0.05f, 0.05f, row.dovers, row.sigma, row.lbgr));
        EXPECT_EQ(c.replications, kCheckReplications);
        const auto within = [&](double ours, double se, double theirs) {
            const double their_se = std::sqrt(theirs * (1 - theirs) / kTheirRuns);
            return std::fabs(ours - theirs) <= 3 * std::sqrt(se * se + their_se * their_se) + 1e-4;
        };
        EXPECT_TRUE(within(c.power_normal, c.power_normal_se, row.normal)) << row.n << ' ' << c.power_normal;
        ASSERT_TRUE(c.power_lognormal);
        EXPECT_TRUE(within(*c.power_lognormal, *c.power_lognormal_se, row.lognormal))
            << row.n << ' ' << *c.power_lognormal;
    }
}

TEST(DesignCheck, TheSameSeedGivesTheSameFiguresAndAnotherOtherOnes) {
    CheckRequest r = Request(12, 175, 0.05f, 0.05f, 0.5, 0.4, 0.8);
    const DesignCheck first = CheckWRSDesign(r);
    const DesignCheck again = CheckWRSDesign(r);
    EXPECT_EQ(first.power_normal, again.power_normal);
    EXPECT_EQ(first.power_lognormal, again.power_lognormal);
    EXPECT_EQ(first.n_min, again.n_min);
    r.seed = 2;
    EXPECT_NE(CheckWRSDesign(r).power_normal, first.power_normal);
}

// The smallest sizes without margin reach 1 - beta, and one fewer does not.
TEST(DesignCheck, SmallestSignSizeIsTheFirstToReachTheWantedPower) {
    const DesignCheck c = CheckSignDesign(Request(29, 19, 0.05f, 0.05f, 1.0, 0.5, 0.5));
    ASSERT_TRUE(c.n_min);
    const double p = 1 - UpperNormalTail(1.0);
    for (int32_t n = 1; n <= *c.n_min; ++n) {
        const int32_t k = ExactSignCriticalValue(n, 0.05f);
        const double power = BinomialUpperTail(n, k + 1, p);
        EXPECT_EQ(power >= 0.95, n == *c.n_min) << n;
    }
    EXPECT_EQ(*c.n_min_critical_value, ExactSignCriticalValue(*c.n_min, 0.05f));
}

struct QuantileRow {
    float alpha, beta;
    double dovers;
    int32_t n;  // the printed Sign tables
};

TEST(ExactQuantile, ReproducesTheSignTableSizes) {
    const QuantileRow rows[] = {{0.01f, 0.01f, 0.1, 4095}, {0.05f, 0.05f, 1, 29}, {0.1f, 0.1f, 1, 18}};
    for (const QuantileRow& row : rows) {
        DesignState state;
        state.Alpha = row.alpha;
        state.Beta = row.beta;
        state.DCGL = 1;
        state.Sigma = 1;
        state.DoverS = row.dovers;
        ASSERT_EQ(DesignSignTestWith(state, ExactNormalQuantile), DesignOutcome::Ok);
        EXPECT_EQ(state.SignN, row.n) << row.dovers;
    }
}

TEST(ExactQuantile, InvertsTheUpperTailToFullPrecision) {
    const float ps[] = {0.5f, 0.05f, 0.01f, 1e-6f, 1e-30f, 0.975f};
    for (const float p : ps) {
        const double x = ExactNormalQuantile(p);
        EXPECT_NEAR(UpperNormalTail(x) / p, 1, 1e-14) << p;
    }
    EXPECT_NEAR(ExactNormalQuantile(0.05f), 1.6448536197274131, 1e-12);  // qnorm(0.05000000074505806, lower = FALSE)
    EXPECT_TRUE(std::isnan(ExactNormalQuantile(0.0f)));
}

// Designs no data can pass check as no power and no Type I error at all.
TEST(DesignCheck, ADesignThatCannotPassHasNoPower) {
    const DesignCheck sign = CheckSignDesign(Request(4, 4, 0.05f, 0.5f, 2, 0.5, 0));
    EXPECT_EQ(sign.type1_error, 0);
    EXPECT_EQ(sign.power_normal, 0);
    CheckRequest wrs = Request(2, 7, 0.1f, 0.5f, 2, 0.25, 0.5);
    wrs.replications = 1000;
    const DesignCheck w = CheckWRSDesign(wrs);
    EXPECT_EQ(w.type1_error, 0);
    EXPECT_EQ(w.power_normal, 0);
    EXPECT_EQ(w.power_lognormal, 0.0);
}

}  // namespace
}  // namespace valdris
