// SPDX-License-Identifier: Apache-2.0
// Monte Carlo pass rates of the rank-sum test (C. P. Robert and G. Casella,
// Monte Carlo Statistical Methods, 2nd ed., Springer, 2004, ch. 3; common
// random numbers, ch. 4.2). The Mann-Whitney count of one sample grows by
// the new pair's comparisons as each size adds one value to both areas, so
// one replication serves every size up to the largest.

#include "wrs_simulation.h"

#include <algorithm>
#include <cmath>

#include "seeded_normals.h"

namespace valdris {
namespace {

// Pairs (a_i, b_j) with a_i > b_j, both sorted ascending.
int64_t CountAbove(const std::vector<double>& a, const std::vector<double>& b) {
    int64_t count = 0;
    std::size_t j = 0;
    for (const double value : a) {
        while (j < b.size() && b[j] < value) ++j;
        count += static_cast<int64_t>(j);
    }
    return count;
}

double RankSum(int64_t u, int32_t n) { return static_cast<double>(u) + static_cast<double>(n) * (n + 1) / 2; }

// The count for every size 1 .. sizes from the first values of each area.
void CountBySize(const std::vector<double>& reference, const std::vector<double>& survey,
                 const std::vector<double>& critical, std::vector<int64_t>& passes) {
    int64_t u = 0;
    for (std::size_t last = 0; last < critical.size(); ++last) {
        const double x = reference[last];
        const double y = survey[last];
        int64_t added = 0;
        for (std::size_t i = 0; i < last; ++i) added += reference[i] > y;
        for (std::size_t j = 0; j <= last; ++j) added += x > survey[j];
        u += added;
        if (RankSum(u, static_cast<int32_t>(last + 1)) > critical[last]) ++passes[last];
    }
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
    const std::size_t drawn = std::max<std::size_t>(request.n, request.critical_by_size.size());
    SeededNormals normals(request.seed);
    std::vector<double> reference(drawn), survey(drawn), a, b;
    for (int32_t r = 0; r < request.replications; ++r) {
        // Interleaved, so that the first N of each area are the same draws
        // whatever the largest size.
        for (std::size_t i = 0; i < drawn; ++i) {
            reference[i] = normals.Next() + request.shift;
            survey[i] = normals.Next();
        }
        CountBySize(reference, survey, request.critical_by_size, result.passes_by_size);
        a.assign(reference.begin(), reference.begin() + request.n);
        b.assign(survey.begin(), survey.begin() + request.n);
        std::sort(a.begin(), a.end());
        std::sort(b.begin(), b.end());
        if (RankSum(CountAbove(a, b), request.n) > request.critical) ++result.passes_normal;
        if (const auto& shape = request.lognormal) {
            // The same draws through the lognormal transform, which keeps
            // their order within each area.
            for (double& value : a) value = std::exp(shape->mu + shape->s * (value - request.shift)) + shape->delta;
            for (double& value : b) value = std::exp(shape->mu + shape->s * value);
            if (RankSum(CountAbove(a, b), request.n) > request.critical) ++result.passes_lognormal;
        }
    }
    return result;
}

}  // namespace valdris
