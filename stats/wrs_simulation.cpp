// SPDX-License-Identifier: Apache-2.0
// Monte Carlo pass rates of the rank-sum test (C. P. Robert and G. Casella,
// Monte Carlo Statistical Methods, 2nd ed., Springer, 2004, ch. 3; common
// random numbers, ch. 4.2). The Mann-Whitney count of one sample grows by
// the new pair's comparisons as each size adds one value to both areas, so
// one replication serves every size up to the largest.

#include "wrs_simulation.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "seeded_normals.h"

namespace valdris {
namespace {

// Up to this size a count by comparing every pair, which the compiler turns
// into vector code, beats sorting; beyond it the sorted count's n log n wins.
constexpr std::size_t kPairwiseUpTo = 300;

// Pairs (a_i, b_j) with a_i > b_j, both sorted ascending.
int64_t CountSortedAbove(const std::vector<double>& a, const std::vector<double>& b) {
    int64_t count = 0;
    std::size_t j = 0;
    for (const double value : a) {
        while (j < b.size() && b[j] < value) ++j;
        count += static_cast<int64_t>(j);
    }
    return count;
}

// Pairs with a_i > b_j, among the first n of each, by sorting copies.
int64_t CountAbove(const std::vector<double>& a, const std::vector<double>& b, std::size_t n,
                   std::vector<double>& sorted_a, std::vector<double>& sorted_b) {
    sorted_a.assign(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(n));
    sorted_b.assign(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(n));
    std::sort(sorted_a.begin(), sorted_a.end());
    std::sort(sorted_b.begin(), sorted_b.end());
    return CountSortedAbove(sorted_a, sorted_b);
}

// Values among the first `count` below y.
// Two doubles compared at once (the compilers' vector extension, which
// every target lowers to its own vector code or to pairs of scalars): each
// lane's mask is -1 where the value lies below y. Half of the check's time
// at 100 a side goes here.
using TwoDoubles = double __attribute__((vector_size(16)));
using TwoCounts = int64_t __attribute__((vector_size(16)));

int64_t CountBelow(const double* values, std::size_t count, double y) {
    const TwoDoubles limit = {y, y};
    TwoCounts first = {0, 0};
    TwoCounts second = {0, 0};
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        TwoDoubles a, b;
        std::memcpy(&a, values + i, sizeof a);
        std::memcpy(&b, values + i + 2, sizeof b);
        first -= a < limit;
        second -= b < limit;
    }
    const TwoCounts both = first + second;
    int64_t below = both[0] + both[1];
    for (; i < count; ++i) below += values[i] < y ? 1 : 0;
    return below;
}

double RankSum(int64_t u, std::size_t n) {
    return static_cast<double>(u) + static_cast<double>(n) * static_cast<double>(n + 1) / 2;
}

// One replication's pass counts: every size 1 .. critical_by_size.size()
// against its own critical value, and the design's size n (when pairwise)
// against the design's, from the first values of each area.
int64_t CountBySize(const std::vector<double>& reference, const std::vector<double>& survey, std::size_t n,
                    const WRSSimulationRequest& request, WRSSimulationResult& result) {
    const std::vector<double>& critical = request.critical_by_size;
    const std::size_t sizes = std::max(critical.size(), n <= kPairwiseUpTo ? n : 0);
    int64_t u = 0;
    int64_t u_at_n = -1;
    for (std::size_t last = 0; last < sizes; ++last) {
        // The new survey value against the earlier reference values, and
        // the new reference value against every survey value so far (ties
        // have probability 0).
        const int64_t above_new_survey = static_cast<int64_t>(last) - CountBelow(reference.data(), last, survey[last]);
        const int64_t below_new_reference = CountBelow(survey.data(), last + 1, reference[last]);
        u += above_new_survey + below_new_reference;
        if (last < critical.size() && RankSum(u, last + 1) > critical[last]) ++result.passes_by_size[last];
        if (last + 1 == n) u_at_n = u;
    }
    return u_at_n;
}

}  // namespace

std::optional<LognormalShape> LognormalAtLBGR(double lbgr, double sigma, double dcgl) {
    if (!(lbgr > 0 && sigma > 0)) return std::nullopt;
    const double ratio = sigma / lbgr;
    const double s2 = std::log1p(ratio * ratio);
    return LognormalShape{std::log(lbgr) - s2 / 2, std::sqrt(s2), dcgl - lbgr};
}

WRSSimulationResult SimulateWRS(const WRSSimulationRequest& request) {
    WRSSimulationResult result;
    result.passes_by_size.assign(request.critical_by_size.size(), 0);
    const std::size_t n = static_cast<std::size_t>(request.n);
    const std::size_t drawn = std::max(n, request.critical_by_size.size());
    SeededNormals normals(request.seed);
    std::vector<double> reference(drawn), survey(drawn), a, b;
    std::vector<double> log_reference(n), log_survey(n);
    for (int32_t r = 0; r < request.replications; ++r) {
        // Interleaved, so that the first N of each area are the same draws
        // whatever the largest size.
        for (std::size_t i = 0; i < drawn; ++i) {
            reference[i] = normals.Next() + request.shift;
            survey[i] = normals.Next();
        }
        int64_t u = CountBySize(reference, survey, n, request, result);
        if (u < 0) u = CountAbove(reference, survey, n, a, b);
        if (RankSum(u, n) > request.critical) ++result.passes_normal;
        const auto& shape = request.lognormal;
        if (!shape) continue;
        // The same draws through the lognormal transform.
        for (std::size_t i = 0; i < n; ++i) {
            log_reference[i] = std::exp(shape->mu + shape->s * (reference[i] - request.shift)) + shape->delta;
            log_survey[i] = std::exp(shape->mu + shape->s * survey[i]);
        }
        int64_t log_u = 0;
        if (n <= kPairwiseUpTo) {
            for (std::size_t j = 0; j < n; ++j) log_u += n - CountBelow(log_reference.data(), n, log_survey[j]);
        } else {
            log_u = CountAbove(log_reference, log_survey, n, a, b);
        }
        if (RankSum(log_u, n) > request.critical) ++result.passes_lognormal;
    }
    return result;
}

}  // namespace valdris
