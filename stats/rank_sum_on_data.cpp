// SPDX-License-Identifier: Apache-2.0
// The Wilcoxon Rank Sum test on measured data: joint mid-ranks of the survey
// unit's values and the reference values increased by the DCGL, the rank sum
// of the reference values, and its p-value, exact from the counted null
// distribution (rank_sum_distribution.cpp) or by the tie-corrected normal
// approximation.
// References: Hollander, Wolfe and Chicken, Nonparametric Statistical Methods,
// 3rd ed., Wiley, 2014, ch. 4.1; Lehmann, Nonparametrics: Statistical Methods
// Based on Ranks, Holden-Day, 1975, ch. 1.3 and 1.4.

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "data_tests.h"
#include "decision_p_value.h"
#include "valdris_power.h"

namespace valdris {
namespace {

// Two values this many units in the last place of the largest magnitude
// apart, or closer, are the same measurement: reading two decimals and one
// addition can move each by at most two such units.
constexpr double kTieUnitsInLastPlace = 4;

struct RankedValue {
    double value = 0;
    bool reference = false;
};

struct Ranking {
    double rank_sum = 0;
    double tie_sum = 0;  // sum of t^3 - t over the groups of tied values
    bool ties = false;
};

std::vector<RankedValue> Pooled(const std::vector<double>& survey, const std::vector<double>& reference,
                                double dcgl) {
    std::vector<RankedValue> pooled;
    pooled.reserve(survey.size() + reference.size());
    for (const double x : survey) pooled.push_back({x, false});
    for (const double r : reference) pooled.push_back({r + dcgl, true});
    std::sort(pooled.begin(), pooled.end(),
              [](const RankedValue& a, const RankedValue& b) { return a.value < b.value; });
    return pooled;
}

double TieTolerance(const std::vector<RankedValue>& pooled, double dcgl) {
    double scale = std::fabs(dcgl);
    for (const RankedValue& v : pooled) scale = std::max(scale, std::fabs(v.value));
    return kTieUnitsInLastPlace * std::numeric_limits<double>::epsilon() * scale;
}

// Each group of tied values shares the mean of the ranks it spans.
Ranking RankReference(const std::vector<RankedValue>& pooled, double tolerance) {
    Ranking ranking;
    std::size_t first = 0;
    while (first < pooled.size()) {
        std::size_t end = first + 1;
        while (end < pooled.size() && pooled[end].value - pooled[first].value <= tolerance) ++end;
        const double tied = static_cast<double>(end - first);
        const double mid_rank = (static_cast<double>(first + 1) + static_cast<double>(end)) / 2;
        for (std::size_t k = first; k < end; ++k) {
            if (pooled[k].reference) ranking.rank_sum += mid_rank;
        }
        if (end - first > 1) {
            ranking.ties = true;
            ranking.tie_sum += tied * tied * tied - tied;
        }
        first = end;
    }
    return ranking;
}

}  // namespace

double NormalRankSumUpperTail(int32_t m, int32_t n, double w, double tie_sum) {
    const double md = m;
    const double nd = n;
    const double total = md + nd;
    const double mean = md * (total + 1) / 2;
    // nm(N+1)/12 - nm sum(t^3 - t)/(12 N (N-1)), factored so that one group
    // of all N values leaves exactly no variance.
    const double variance = nd * md / 12 * ((total + 1) - tie_sum / (total * (total - 1)));
    if (!(variance > 0)) return 1;  // every value tied: W is its mean, always
    const double z = (w - 0.5 - mean) / std::sqrt(variance);
    return NormalCdf(-z);
}

WRSTestOnData RunWRSTestOnData(const std::vector<double>& survey, const std::vector<double>& reference,
                               double dcgl, float alpha) {
    WRSTestOnData result;
    result.n = static_cast<int32_t>(survey.size());
    result.m = static_cast<int32_t>(reference.size());
    const std::vector<RankedValue> pooled = Pooled(survey, reference, dcgl);
    const Ranking ranking = RankReference(pooled, TieTolerance(pooled, dcgl));
    result.rank_sum = ranking.rank_sum;
    result.ties = ranking.ties;
    result.critical_value = CalcWRSCriticalValue(result.m, result.n, alpha);
    result.passes = result.rank_sum > result.critical_value;
    result.decision_p_value = WRSDecisionPValue(result.m, result.n, result.rank_sum);
    result.exact_p_value = result.n < kWRSExactPValueBelow && result.m < kWRSExactPValueBelow && !result.ties;
    result.p_value = result.exact_p_value
                         ? ExactRankSumUpperTail(result.m, result.n, result.rank_sum)
                         : NormalRankSumUpperTail(result.m, result.n, result.rank_sum, ranking.tie_sum);
    return result;
}

}  // namespace valdris
