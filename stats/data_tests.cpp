// SPDX-License-Identifier: Apache-2.0
// The Sign test on measured data and its exact binomial p-value; the summary
// statistics, the values to investigate and the retrospective power.
// References: Hollander, Wolfe and Chicken, Nonparametric Statistical Methods,
// 3rd ed., Wiley, 2014, ch. 3.4 (the sign test); Welford, Technometrics 4
// (1962) 419-420 (the running mean and sum of squares).

#include <algorithm>
#include <cmath>
#include <limits>

#include "data_tests.h"
#include "decision_p_value.h"
#include "passable.h"
#include "valdris_power.h"

namespace valdris {
namespace {

constexpr long double kLn2 = 0.693147180559945309417232121458176568L;

// P(S >= s) for s above n/2, where the terms fall from the first onwards and
// none of them is lost to cancellation.
long double UpperTailAboveMode(int32_t n, int32_t s) {
    const long double ln_first = std::lgamma(static_cast<long double>(n) + 1) -
                                 std::lgamma(static_cast<long double>(s) + 1) -
                                 std::lgamma(static_cast<long double>(n - s) + 1) - n * kLn2;
    long double term = std::exp(ln_first);
    long double sum = term;
    for (int32_t k = s; k < n; ++k) {
        term *= static_cast<long double>(n - k) / static_cast<long double>(k + 1);
        sum += term;
    }
    return sum;
}

bool FitsCount(std::size_t size) { return size <= static_cast<std::size_t>(std::numeric_limits<int32_t>::max()); }

}  // namespace

double SignUpperTail(int32_t n, int32_t s) {
    if (s <= 0) return 1;
    if (s > n) return 0;
    // The distribution is symmetric: P(S >= s) = 1 - P(S >= n - s + 1), and
    // for s at most n/2 the answer is at least one half, so the difference
    // loses nothing that matters.
    if (2 * static_cast<int64_t>(s) <= n) return static_cast<double>(1 - UpperTailAboveMode(n, n - s + 1));
    return static_cast<double>(UpperTailAboveMode(n, s));
}

std::optional<SignTestOnData> RunSignTestOnData(const std::vector<double>& survey, double dcgl, float alpha) {
    if (!FitsCount(survey.size())) return std::nullopt;
    SignTestOnData result;
    result.n = static_cast<int32_t>(survey.size());
    for (const double x : survey) {
        if (x == dcgl) continue;  // d = 0 says nothing either way
        ++result.n_used;
        if (x < dcgl) ++result.s_plus;
    }
    const std::optional<int32_t> critical = SignCriticalValue(result.n_used, alpha);
    if (!critical) return std::nullopt;
    result.critical_value = *critical;
    result.p_value = SignUpperTail(result.n_used, result.s_plus);
    result.decision_p_value = SignDecisionPValue(result.n_used, result.s_plus);
    result.passes = result.s_plus > result.critical_value;
    return result;
}

SampleSummary Summarize(const std::vector<double>& values) {
    SampleSummary summary;
    summary.count = static_cast<int32_t>(std::min<std::size_t>(values.size(), std::numeric_limits<int32_t>::max()));
    // Welford's running mean and sum of squared deviations: no sum of
    // squares of the raw values, which would lose the spread of values far
    // from zero.
    double mean = 0;
    double squares = 0;
    std::size_t k = 0;
    for (const double x : values) {
        ++k;
        const double deviation = x - mean;
        mean += deviation / static_cast<double>(k);
        squares += deviation * (x - mean);
    }
    summary.mean = mean;
    summary.sd = k > 1 ? std::sqrt(squares / static_cast<double>(k - 1)) : 0;

    std::vector<double> sorted = values;
    std::sort(sorted.begin(), sorted.end());
    const std::size_t middle = sorted.size() / 2;
    if (!sorted.empty()) {
        // Halved before adding, so two values near the largest double stay finite.
        summary.median = sorted.size() % 2 == 1 ? sorted[middle] : sorted[middle - 1] / 2 + sorted[middle] / 2;
        summary.max = sorted.back();
    }
    return summary;
}

std::vector<std::size_t> PositionsAboveDCGL(const std::vector<double>& values, double dcgl) {
    std::vector<std::size_t> positions;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (values[i] > dcgl) positions.push_back(i);
    }
    return positions;
}

std::optional<RetrospectivePower> SignRetrospectivePower(int32_t n_used, float alpha, double delta, double sigma) {
    if (!(sigma > 0)) return std::nullopt;
    const std::optional<int32_t> critical = SignCriticalValue(n_used, alpha);
    if (!critical) return std::nullopt;
    RetrospectivePower power;
    power.sigma = sigma;
    power.dovers = delta / sigma;
    power.n = n_used;
    power.critical_value = *critical;
    power.power_at_lbgr = SignCanPass(n_used, *critical) ? SignPower(n_used, *critical, power.dovers) : 0;
    return power;
}

std::optional<RetrospectivePower> WRSRetrospectivePower(int32_t n, int32_t m, float alpha, double delta,
                                                        double sigma) {
    if (!(sigma > 0)) return std::nullopt;
    RetrospectivePower power;
    power.sigma = sigma;
    power.dovers = delta / sigma;
    power.n = std::min(n, m);
    power.critical_value = CalcWRSCriticalValue(power.n, power.n, alpha);
    power.power_at_lbgr = WRSCanPass(power.n, power.n, power.critical_value)
                              ? WRSPower(power.n, power.critical_value, power.dovers)
                              : 0;
    return power;
}

}  // namespace valdris
