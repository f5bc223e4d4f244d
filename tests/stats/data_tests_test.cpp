// SPDX-License-Identifier: Apache-2.0
// The tests on measured data: worked examples by hand, p-values checked
// against R (binom.test, wilcox.test with exact and with correct = TRUE), and
// the retrospective power against the design's own figures.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "data_tests.h"
#include "valdris_power.h"

namespace valdris {
namespace {

// Ten measurements with a DCGL of 1, `below` of them under it.
std::vector<double> TenWithBelow(int below) {
    std::vector<double> values;
    for (int i = 0; i < 10; ++i) values.push_back(i < below ? 0.5 + 0.01 * i : 1.5 + 0.01 * i);
    return values;
}

// `count` values from `first` up in steps of 1: none tied.
std::vector<double> CountingFrom(double first, int count) {
    std::vector<double> values;
    for (int i = 0; i < count; ++i) values.push_back(first + i);
    return values;
}

TEST(SignTestOnData, CountsDecidesAndGivesTheExactPValue) {
    const struct {
        const char* what;
        std::vector<double> survey;
        int32_t n_used, s_plus, critical;
        double p;
        bool passes;
    } cases[] = {
        {"8 of 10 below", TenWithBelow(8), 10, 8, 8, 56.0 / 1024, false},
        {"9 of 10 below", TenWithBelow(9), 10, 9, 8, 11.0 / 1024, true},
        {"values at the DCGL are dropped", {1, 1, 0.2, 0.3, 0.4, 1.2}, 4, 3, 4, 5.0 / 16, false},
        {"negative values lie below", {-3, -2.5, -1, -0.5, 0, 0.25, 0.5, 0.75, 0.9, 0.99}, 10, 10, 8, 1.0 / 1024, true},
        {"all at the DCGL", {1, 1}, 0, 0, 0, 1, false},
        {"none below", {2, 3, 4}, 3, 0, 3, 1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto result = RunSignTestOnData(c.survey, 1.0, 0.05f);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->n_used, c.n_used);
        EXPECT_EQ(result->s_plus, c.s_plus);
        EXPECT_EQ(result->critical_value, c.critical);
        EXPECT_NEAR(result->p_value, c.p, 1e-15);
        EXPECT_EQ(result->passes, c.passes);
    }
}

TEST(SignUpperTail, MatchesRForLargeAndSmallCounts) {
    const struct {
        int32_t n, s;
        double p;  // R: binom.test(s, n, alternative = "greater")$p.value
    } cases[] = {
        {10, 8, 0.0546875}, {10, 0, 1}, {10, 11, 0}, {1, 1, 0.5}, {5000, 1, 1},
        {100, 60, 0.028443966820490}, {100, 40, 0.982399899891148},
        {2000, 1000, 0.508919505572927}, {2000, 1100, 4.22854476775197e-06},
        {5000, 5000, std::pow(0.5, 5000)},  // below the double range: 0
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.n << " " << c.s);
        EXPECT_NEAR(SignUpperTail(c.n, c.s), c.p, 1e-13 * c.p + 1e-300);
    }
}

TEST(WRSTestOnData, RanksWithTiesAndDecides) {
    // Worked by hand, DCGL 1 unless given.
    // A: survey 0.5 1.2 1.5 2.0, reference 0.2 0.5 1.0 -> 1.2 1.5 2.0. Joint
    //    order 0.5 | 1.2 1.2 | 1.5 1.5 | 2.0 2.0: reference mid-ranks 2.5,
    //    4.5, 6.5, W = 13.5. Critical value for m = 3, n = 4: 6 + 11 = 17
    //    (P(U <= 10) = 33/35, P(U <= 11) = 34/35). Three pairs tied:
    //    sum(t^3 - t) = 18, mean 12, variance 8 - 4*3*18/(12*7*6) = 7.5714,
    //    z = (13.5 - 0.5 - 12) / 2.7516 = 0.3634, p = 0.35815.
    // B: survey 1 2 2 3 4, reference 0 1 2 with a DCGL of 10 -> 10 11 12,
    //    ranks 6 7 8, W = 21; critical value 6 + 13 = 19 (P(U <= 13) = 54/56).
    //    A tie among the survey values: sum 6, mean 13.5, variance
    //    15/12 (9 - 6/56) = 11.1161, z = 7 / 3.3341, p = 0.017885.
    // C: as B without the tie: exact p = 1/56.
    // D: 0.2 + 0.1 ties with 0.3 though the sum is 0.30000000000000004.
    //    survey 0.3 0.5, reference 0.2 0.0: 0.1 | 0.3 0.3 | 0.5, W = 1 + 2.5;
    //    sum 6, mean 5, variance 4/12 (5 - 6/12) = 1.5, z = -3/1.2247, p = 0.94876.
    // E, F: 50 values in one area and 49 in the other take the normal p-value.
    //    The reference values, raised by 1, fall between the survey's, so the
    //    k-th has rank 2k - 1. E: m = 49, W = 49^2 = 2401, mean 2450,
    //    variance 49 * 50 * 100 / 12, p = Phi(49.5 / 142.886). F: m = 50,
    //    W = 2500, mean 2500, p = Phi(0.5 / 142.886). Critical values
    //    1.64456 * 142.886 plus the mean (the quantile's rational approximation).
    const struct {
        const char* what;
        std::vector<double> survey, reference;
        double dcgl, w, critical, p;
        bool exact, ties, passes;
    } cases[] = {
        {"A", {0.5, 1.2, 1.5, 2.0}, {0.2, 0.5, 1.0}, 1, 13.5, 17, 0.358144875270421, false, true, false},
        {"B", {1, 2, 2, 3, 4}, {0, 1, 2}, 10, 21, 19, 0.0178850411162454, false, true, true},
        {"C", {1, 2, 2.5, 3, 4}, {0, 1, 2}, 10, 21, 19, 1.0 / 56, true, false, true},
        {"D", {0.3, 0.5}, {0.2, 0.0}, 0.1, 3.5, 7, 0.948764782570125, false, true, false},
        {"E", CountingFrom(1, 50), CountingFrom(-0.5, 49), 1, 2401, 2684.976414687066, 0.6354893953293855, false,
         false, false},
        {"F", CountingFrom(1, 49), CountingFrom(-0.5, 50), 1, 2500, 2734.976414687066, 0.5013960043278765, false,
         false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const WRSTestOnData result = RunWRSTestOnData(c.survey, c.reference, c.dcgl, 0.05f);
        EXPECT_EQ(result.rank_sum, c.w);
        EXPECT_EQ(result.critical_value, c.critical);
        EXPECT_NEAR(result.p_value, c.p, 1e-13);
        EXPECT_EQ(result.exact_p_value, c.exact);
        EXPECT_EQ(result.ties, c.ties);
        EXPECT_EQ(result.passes, c.passes);
    }
}

TEST(RankSumUpperTail, ExactCountsAndTheApproximation) {
    const struct {
        int32_t m, n;
        double w, p;  // R: wilcox.test(..., exact = TRUE / correct = TRUE)
        bool exact;
        double tie_sum;
    } cases[] = {
        {3, 5, 6, 1, true, 0},                          // the smallest sum
        {3, 5, 21, 1.0 / 56, true, 0},                  // the largest sum
        {5, 3, 30, 1.0 / 56, true, 0},                  // the sizes swapped: a pair of its own
        {10, 10, 130, 0.0315064192773171, true, 0},       // U = 75
        {49, 49, 3626, 1 / 2.5477612258980856e28, true, 0},  // 1 / C(98, 49)
        {20, 30, 600, 0.0380980344536336, true, 0},       // U = 390
        {30, 30, 1000, 0.105780618462987, false, 0},      // normal, no ties
        {2, 2, 5, 1, false, 60},                           // four equal values: W is 5, always
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.m << " " << c.n << " " << c.w);
        const double p =
            c.exact ? ExactRankSumUpperTail(c.m, c.n, c.w) : NormalRankSumUpperTail(c.m, c.n, c.w, c.tie_sum);
        EXPECT_NEAR(p / c.p, 1, 1e-9);
        // The distribution kept from the first call gives every bit of a fresh count.
        if (c.exact) {
            EXPECT_EQ(ExactRankSumUpperTail(c.m, c.n, c.w), CountedRankSumUpperTail(c.m, c.n, c.w));
        }
    }
}

TEST(Summarize, MeanMedianSampleSdAndMaximum) {
    const struct {
        std::vector<double> values;
        double mean, median, sd, max;
    } cases[] = {
        {{2, 4, 4, 4, 5, 5, 7, 9}, 5, 4.5, std::sqrt(32.0 / 7), 9},
        {{-1, -3, -2}, -2, -2, 1, -1},
        {{1e9 + 1, 1e9 + 2, 1e9 + 3}, 1e9 + 2, 1e9 + 2, 1, 1e9 + 3},  // spread kept far from zero
        {{1.7e308, 1.7e308}, 1.7e308, 1.7e308, 0, 1.7e308},          // no overflow
    };
    for (const auto& c : cases) {
        const SampleSummary s = Summarize(c.values);
        EXPECT_DOUBLE_EQ(s.mean, c.mean);
        EXPECT_DOUBLE_EQ(s.median, c.median);
        EXPECT_NEAR(s.sd, c.sd, 1e-12);
        EXPECT_EQ(s.max, c.max);
    }
}

TEST(RetrospectivePower, IsTheDesignsPowerAtTheActualSize) {
    // With sigma as designed and the designed size, the figure is the
    // design's: defaults, N = 29 with critical value 19, D/s = 1; WRS N = 32.
    const auto sign = SignRetrospectivePower(29, 0.05f, 0.5, 0.5).value();
    EXPECT_EQ(sign.critical_value, 19);
    EXPECT_EQ(sign.power_at_lbgr, SignPower(29, 19, 1.0));
    EXPECT_NEAR(sign.power_at_lbgr, 0.989008, 5e-7);
    const auto wrs = WRSRetrospectivePower(40, 32, 0.05f, 0.5, 0.5).value();
    EXPECT_EQ(wrs.n, 32);  // the smaller count
    EXPECT_EQ(wrs.critical_value, CalcWRSCriticalValue(32, 32, 0.05f));
    EXPECT_EQ(wrs.power_at_lbgr, WRSPower(32, wrs.critical_value, 1.0));

    // A larger sigma than designed lowers the power; data that do not vary
    // define no shift.
    EXPECT_LT(SignRetrospectivePower(29, 0.05f, 0.5, 1.0)->power_at_lbgr, sign.power_at_lbgr);
    EXPECT_FALSE(SignRetrospectivePower(29, 0.05f, 0.5, 0.0));
    EXPECT_FALSE(WRSRetrospectivePower(5, 5, 0.05f, 0.5, 0.0));
}

}  // namespace
}  // namespace valdris
