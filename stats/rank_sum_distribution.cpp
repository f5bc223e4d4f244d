// SPDX-License-Identifier: Apache-2.0
// The exact null distribution of the Wilcoxon rank sum of m values among
// m + n without ties, by counting the sets of m ranks with each sum, and its
// upper tail P(W >= w). The counts depend on the two sizes only, so each pair
// below the exact limit is counted once per process and kept.
// References: Hollander, Wolfe and Chicken, Nonparametric Statistical Methods,
// 3rd ed., Wiley, 2014, ch. 4.1; Lehmann, Nonparametrics: Statistical Methods
// Based on Ranks, Holden-Day, 1975, ch. 1.3.

#include <algorithm>
#include <atomic>
#include <cmath>
#include <vector>

#include "data_tests.h"

namespace valdris {
namespace {

// How many sets of m ranks have each sum s (index s), and how many sets
// there are in all, C(m + n, m) as summed.
struct RankSumCounts {
    std::vector<long double> by_sum;
    long double all = 0;
};

RankSumCounts CountRankSums(int32_t m, int32_t n) {
    const int32_t total = m + n;
    const int32_t largest = m * (2 * total - m + 1) / 2;
    // counts[j][s]: sets of j ranks among those seen so far summing to s.
    std::vector<std::vector<long double>> counts(m + 1, std::vector<long double>(largest + 1, 0.0L));
    counts[0][0] = 1;
    for (int32_t rank = 1; rank <= total; ++rank) {
        for (int32_t j = std::min(rank, m); j >= 1; --j) {
            std::vector<long double>& with = counts[j];
            const std::vector<long double>& without = counts[j - 1];
            // Only sums that j of the ranks 1..rank can make, the rank itself
            // among them: from rank + (j - 1) j / 2 to the j largest.
            const int32_t high = j * (2 * rank - j + 1) / 2;
            const int32_t low = rank + (j - 1) * j / 2;
            for (int32_t s = high; s >= low; --s) with[s] += without[s - rank];
        }
    }
    RankSumCounts result;
    result.by_sum = std::move(counts[m]);
    for (const long double count : result.by_sum) result.all += count;
    return result;
}

// The counts of a pair below the exact limit, counted at its first use.
// Published with a compare-and-swap so that concurrent first uses are safe;
// a loser's copy is dropped, being identical. At most 49 x 49 pairs exist,
// each at most 3,676 counts.
const RankSumCounts& KeptCounts(int32_t m, int32_t n) {
    static std::atomic<const RankSumCounts*> kept[kWRSExactPValueBelow][kWRSExactPValueBelow] = {};
    std::atomic<const RankSumCounts*>& slot = kept[m][n];
    if (const RankSumCounts* known = slot.load(std::memory_order_acquire)) return *known;
    const RankSumCounts* counted = new RankSumCounts(CountRankSums(m, n));
    const RankSumCounts* expected = nullptr;
    if (slot.compare_exchange_strong(expected, counted, std::memory_order_acq_rel)) return *counted;
    delete counted;
    return *expected;
}

// Summed from the smallest sum upwards, so the tail has the same value
// whether the counts were just made or kept.
double UpperTail(const RankSumCounts& counts, double w) {
    const long double threshold = std::ceil(static_cast<long double>(w));
    long double upper = 0;
    for (std::size_t s = 0; s < counts.by_sum.size(); ++s) {
        if (s >= threshold) upper += counts.by_sum[s];
    }
    return static_cast<double>(upper / counts.all);
}

bool Kept(int32_t size) { return size >= 0 && size < kWRSExactPValueBelow; }

}  // namespace

double ExactRankSumUpperTail(int32_t m, int32_t n, double w) {
    if (Kept(m) && Kept(n)) return UpperTail(KeptCounts(m, n), w);
    return CountedRankSumUpperTail(m, n, w);
}

double CountedRankSumUpperTail(int32_t m, int32_t n, double w) { return UpperTail(CountRankSums(m, n), w); }

}  // namespace valdris
