// SPDX-License-Identifier: Apache-2.0
// Binomial tails by the ratio of successive terms, started from a term by
// log-gamma (M. Abramowitz and I. A. Stegun, Handbook of Mathematical
// Functions, 1964, 26.5.24 for the tail as a sum); the null distribution of
// the Mann-Whitney count by the recursion of H. B. Mann and D. R. Whitney,
// Annals of Mathematical Statistics 18 (1947) 50-60.

#include "exact_tails.h"

#include <algorithm>
#include <cmath>

#include "quantile_choice.h"

namespace valdris {
namespace {

// Terms below this share of the sum no longer change a long double sum.
constexpr long double kNegligibleShare = 1e-22L;

long double LogTerm(int64_t n, int64_t k, long double log_p, long double log_q) {
    return std::lgamma(static_cast<long double>(n) + 1) - std::lgamma(static_cast<long double>(k) + 1) -
           std::lgamma(static_cast<long double>(n - k) + 1) + k * log_p + (n - k) * log_q;
}

// Sum of the terms from k = first upwards (ratio p/q) or downwards (q/p).
long double TailFrom(int64_t n, int64_t first, long double p, bool upwards) {
    const long double q = 1 - p;
    long double term = std::exp(LogTerm(n, first, std::log(p), std::log1p(-p)));
    long double sum = term;
    if (upwards) {
        for (int64_t k = first; k < n; ++k) {
            term *= static_cast<long double>(n - k) / static_cast<long double>(k + 1) * (p / q);
            sum += term;
            if (term < sum * kNegligibleShare) break;
        }
    } else {
        for (int64_t k = first; k > 0; --k) {
            term *= static_cast<long double>(k) / static_cast<long double>(n - k + 1) * (q / p);
            sum += term;
            if (term < sum * kNegligibleShare) break;
        }
    }
    return sum;
}

}  // namespace

double BinomialUpperTail(int32_t n, int64_t s, double p) {
    if (s <= 0) return 1;
    if (s > n) return 0;
    if (!(p > 0)) return 0;
    if (!(p < 1)) return 1;
    // By symmetry the upper half of an odd n at p = 1/2 holds exactly 1/2;
    // summed, it could fall an ulp short and move a critical value at
    // alpha = 0.5 by one.
    if (p == 0.5 && 2 * s == static_cast<int64_t>(n) + 1) return 0.5;
    const long double pl = p;
    // Past the mean the terms fall from s on; before it, the lower tail's
    // terms fall from s - 1 down.
    if (static_cast<long double>(s) >= n * pl) return static_cast<double>(TailFrom(n, s, pl, true));
    return static_cast<double>(1 - TailFrom(n, s - 1, pl, false));
}

int32_t ExactSignCriticalValue(int32_t n, double alpha) {
    const double guess = n * 0.5 + ExactNormalQuantile(static_cast<float>(alpha)) * std::sqrt(n * 0.25);
    int32_t k = static_cast<int32_t>(std::clamp(std::floor(guess), 0.0, static_cast<double>(n)));
    while (k > 0 && BinomialUpperTail(n, k, 0.5) < alpha) --k;
    while (!(BinomialUpperTail(n, static_cast<int64_t>(k) + 1, 0.5) < alpha)) ++k;
    return k;
}

std::vector<std::vector<double>> EqualSizeRankSumCdfs(int32_t largest) {
    // previous[j]: the distribution of U for i - 1 reference and j survey
    // values; current[j] for i and j. The largest of all i + j values is a
    // reference value with probability i / (i + j), and then exceeds all j
    // survey values.
    std::vector<std::vector<long double>> previous(largest + 1, std::vector<long double>{1});
    std::vector<std::vector<double>> cdfs(largest + 1);
    cdfs[0] = {1.0};
    for (int32_t i = 1; i <= largest; ++i) {
        std::vector<std::vector<long double>> current(largest + 1);
        current[0] = {1};
        for (int32_t j = 1; j <= largest; ++j) {
            std::vector<long double> f(static_cast<std::size_t>(i) * j + 1, 0.0L);
            const long double top_reference = static_cast<long double>(i) / (i + j);
            const std::vector<long double>& fewer_reference = previous[j];
            const std::vector<long double>& fewer_survey = current[j - 1];
            for (std::size_t u = 0; u < fewer_reference.size(); ++u) f[u + j] += top_reference * fewer_reference[u];
            for (std::size_t u = 0; u < fewer_survey.size(); ++u) f[u] += (1 - top_reference) * fewer_survey[u];
            current[j] = std::move(f);
        }
        std::vector<double>& cdf = cdfs[i];
        cdf.resize(current[i].size());
        long double running = 0;
        for (std::size_t u = 0; u < cdf.size(); ++u) {
            running += current[i][u];
            cdf[u] = static_cast<double>(running);
        }
        previous = std::move(current);
    }
    return cdfs;
}

double ExactRankSumCriticalValue(const std::vector<double>& cdf, int32_t n, double alpha) {
    std::size_t u = 0;
    while (u + 1 < cdf.size() && !(1 - cdf[u] < alpha)) ++u;
    return static_cast<double>(u) + static_cast<double>(n) * (n + 1) / 2;
}

}  // namespace valdris
