// SPDX-License-Identifier: Apache-2.0
// The p-value beside a verdict is computed as the critical value is, so it
// lies below alpha exactly when the survey unit passes, over every statistic
// of the sizes where the exact p-value and the design's approximate critical
// values part; the exact p-value keeps its meaning and is flagged when it
// alone would reverse the verdict.

#include <gtest/gtest.h>

#include <vector>

#include "data_tests.h"
#include "decision_p_value.h"
#include "passable.h"
#include "valdris_power.h"

namespace valdris {
namespace {

const float kAlphas[] = {0.01f, 0.025f, 0.05f, 0.1f, 0.25f, 0.5f};

TEST(DecisionPValue, AgreesWithTheSignVerdictForEveryStatistic) {
    for (const float alpha : kAlphas) {
        for (int32_t n = 1; n <= 120; ++n) {
            const int32_t critical = *SignCriticalValue(n, alpha);
            for (int32_t s = 0; s <= n; ++s) {
                const double p = SignDecisionPValue(n, s);
                ASSERT_EQ(s > critical, p < alpha) << n << ' ' << s << ' ' << alpha << ' ' << p;
            }
        }
    }
}

TEST(DecisionPValue, AgreesWithTheWRSVerdictForEveryRankSum) {
    const int32_t sizes[] = {2, 5, 20, 21, 32, 49};
    for (const float alpha : kAlphas) {
        for (const int32_t n : sizes) {
            const double critical = CalcWRSCriticalValue(n, n, alpha);
            for (double w = n * (n + 1) / 2.0; w <= LargestRankSum(n, n); w += 0.5) {
                const double p = WRSDecisionPValue(n, n, w);
                ASSERT_EQ(w > critical, p < alpha) << n << ' ' << w << ' ' << alpha << ' ' << p;
            }
        }
    }
}

// The reference values ranked 20..48, 50, 63 and 64 among 64: W = 1163.
std::vector<double> ReferenceOfRankSum1163(std::vector<double>& survey) {
    std::vector<double> reference;
    for (int rank = 1; rank <= 64; ++rank) {
        const bool in_reference = (rank >= 20 && rank <= 48) || rank == 50 || rank == 63 || rank == 64;
        (in_reference ? reference : survey).push_back(rank);
    }
    return reference;
}

struct VerdictRow {
    double rank_sum;
    bool passes;
    double exact_p;  // R: 1 - pwilcox(W - 529, 32, 32)
    bool disagrees;
};

TEST(DecisionPValue, TheDefaultWRSDesignAtItsBoundary) {
    std::vector<double> survey;
    const std::vector<double> reference = ReferenceOfRankSum1163(survey);
    const WRSTestOnData test = RunWRSTestOnData(survey, reference, 0.0, 0.05f);
    const VerdictRow row{1163, true, 0.050123862463967384, true};
    EXPECT_EQ(test.rank_sum, row.rank_sum);
    EXPECT_EQ(test.passes, row.passes);
    EXPECT_NEAR(test.p_value, row.exact_p, 1e-12);
    EXPECT_LT(test.decision_p_value, 0.05);
    EXPECT_EQ(PValueDisagrees(test.passes, test.p_value, 0.05f), row.disagrees);
    EXPECT_FALSE(PValueDisagrees(test.passes, test.decision_p_value, 0.05f));
}

TEST(DecisionPValue, EndsOfTheRange) {
    // Passes at every alpha: 0; fails at every alpha: 1.
    EXPECT_EQ(DecisionPValue([](float) { return true; }), 0);
    EXPECT_EQ(DecisionPValue([](float) { return false; }), 1);
    EXPECT_EQ(DecisionPValue([](float alpha) { return alpha > 0.25f; }), 0.25);
}

}  // namespace
}  // namespace valdris
