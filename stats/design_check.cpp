// SPDX-License-Identifier: Apache-2.0
// The check of one design. Sign test: everything exact, from the binomial
// distribution with p = Phi(D/s) (normal data) or the lognormal's
// P(X < DCGL). WRS test: the Type I error from the exact null distribution
// of the Mann-Whitney count (Mann and Whitney, 1947) or its normal
// approximation with continuity correction, the powers by simulation
// (wrs_simulation.h). The sizes without margin follow G. E. Noether, Journal
// of the American Statistical Association 82 (1987) 645-647, as the start of
// the search.

#include "design_check.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "exact_tails.h"
#include "passable.h"
#include "quantile_choice.h"
#include "wrs_simulation.h"

namespace valdris {
namespace {

// Up to this size every N is tried from 1, so the first to reach 1 - beta is
// found whatever the saw-tooth of the discrete powers; beyond it a
// bisection over the (there nearly smooth) powers, then steps back while the
// size before still reaches it.
constexpr double kSignFullSearchUpTo = 10000;

double StandardError(double p, int32_t replications) { return std::sqrt(p * (1 - p) / replications); }

// Noether's sizes without margin, with exact quantiles.
double SignSizeWithoutMargin(float alpha, float beta, double p) {
    const double z = ExactNormalQuantile(alpha) + ExactNormalQuantile(beta);
    return z * z / (4 * (p - 0.5) * (p - 0.5));
}

double WRSSizeWithoutMargin(float alpha, float beta, double dovers) {
    const double z = ExactNormalQuantile(alpha) + ExactNormalQuantile(beta);
    const double off_half = UpperNormalTail(-dovers / std::sqrt(2.0)) - 0.5;
    return z * z / (6 * off_half * off_half);
}

double SignPowerWithoutMargin(int32_t n, float alpha, double p, int32_t& critical) {
    critical = ExactSignCriticalValue(n, alpha);
    return BinomialUpperTail(n, static_cast<int64_t>(critical) + 1, p);
}

void FindSignMinimum(const CheckRequest& request, double p, DesignCheck& check) {
    const double estimate = SignSizeWithoutMargin(request.alpha, request.beta, p);
    if (!std::isfinite(estimate)) return;
    const double wanted = 1 - static_cast<double>(request.beta);
    const int32_t last = static_cast<int32_t>(std::min(4 * estimate + 100, 2147483647.0));
    check.searched_to = last;
    int32_t critical = 0;
    int32_t n = 1;
    if (estimate <= kSignFullSearchUpTo) {
        while (n <= last && SignPowerWithoutMargin(n, request.alpha, p, critical) < wanted) ++n;
        if (n > last) return;
    } else {
        int32_t low = static_cast<int32_t>(estimate / 4);  // far below 1 - beta
        int32_t high = last;
        if (SignPowerWithoutMargin(high, request.alpha, p, critical) < wanted) return;
        while (high - low > 1) {
            const int32_t middle = low + (high - low) / 2;
            (SignPowerWithoutMargin(middle, request.alpha, p, critical) >= wanted ? high : low) = middle;
        }
        n = high;
        while (n > 1 && SignPowerWithoutMargin(n - 1, request.alpha, p, critical) >= wanted) --n;
    }
    SignPowerWithoutMargin(n, request.alpha, p, critical);
    check.n_min = n;
    check.n_min_critical_value = critical;
}

// The exact or approximate critical rank sum for N of each, P(W > k) < alpha.
double CheckCriticalRankSum(const std::vector<std::vector<double>>& cdfs, int32_t n, double alpha) {
    if (n < static_cast<int32_t>(cdfs.size())) return ExactRankSumCriticalValue(cdfs[n], n, alpha);
    const double nd = n;
    const double mean = nd * (2 * nd + 1) / 2;
    const double sd = std::sqrt(nd * nd * (2 * nd + 1) / 12);
    // P(W > k) ~ Q((k + 0.5 - mean) / sd), k whole.
    double k = std::ceil(mean + sd * ExactNormalQuantile(static_cast<float>(alpha)) - 0.5);
    while (UpperNormalTail((k - 0.5 - mean) / sd) < alpha) --k;
    while (!(UpperNormalTail((k + 0.5 - mean) / sd) < alpha)) ++k;
    return k;
}

double WRSType1Error(const std::vector<std::vector<double>>& cdfs, int32_t n, double critical, bool& exact) {
    const double u = std::floor(critical - static_cast<double>(n) * (n + 1) / 2);
    exact = n < static_cast<int32_t>(cdfs.size());
    if (exact) {
        if (u < 0) return 1;
        const std::vector<double>& cdf = cdfs[n];
        return u >= static_cast<double>(cdf.size() - 1) ? 0 : 1 - cdf[static_cast<std::size_t>(u)];
    }
    const double nd = n;
    const double mean_u = nd * nd / 2;
    const double sd = std::sqrt(nd * nd * (2 * nd + 1) / 12);
    return UpperNormalTail((u + 0.5 - mean_u) / sd);
}

}  // namespace

DesignCheck CheckSignDesign(const CheckRequest& request) {
    DesignCheck check;
    check.seed = request.seed;
    const int32_t n = request.n;
    const int64_t first_pass = static_cast<int64_t>(request.critical) + 1;
    check.type1_error = BinomialUpperTail(n, first_pass, 0.5);
    const double p = 1 - UpperNormalTail(request.dovers);
    check.power_normal = BinomialUpperTail(n, first_pass, p);
    if (const auto shape = LognormalAtLBGR(request.lbgr, request.sigma, request.dcgl)) {
        const double below = 1 - UpperNormalTail((std::log(request.dcgl) - shape->mu) / shape->s);
        check.power_lognormal = BinomialUpperTail(n, first_pass, below);
        check.power_lognormal_se = 0;
    }
    FindSignMinimum(request, p, check);
    return check;
}

DesignCheck CheckWRSDesign(const CheckRequest& request) {
    DesignCheck check;
    check.seed = request.seed;
    check.replications = request.replications;
    const double estimate = WRSSizeWithoutMargin(request.alpha, request.beta, request.dovers);
    // Every size the search may visit, up to half as much again as the
    // estimate, within the cap.
    const double reach = std::isfinite(estimate) ? std::ceil(1.5 * estimate) + 5 : 0;
    const int32_t search = static_cast<int32_t>(std::min<double>(reach, kCheckLargestSimulatedSearch));
    check.searched_to = search;
    const int32_t counted = std::min(std::max(search, request.n), kCheckExactRankSumBelow - 1);
    const std::vector<std::vector<double>> cdfs = EqualSizeRankSumCdfs(counted);
    check.type1_error = WRSType1Error(cdfs, request.n, request.critical, check.type1_exact);

    WRSSimulationRequest simulation;
    simulation.n = request.n <= kCheckLargestSimulatedSize ? request.n : 0;
    simulation.critical = request.critical;
    simulation.shift = request.dovers;
    simulation.lognormal = LognormalAtLBGR(request.lbgr, request.sigma, request.dcgl);
    for (int32_t size = 1; size <= search; ++size) {
        simulation.critical_by_size.push_back(CheckCriticalRankSum(cdfs, size, request.alpha));
    }
    simulation.replications = request.replications;
    simulation.seed = request.seed;
    const WRSSimulationResult result = SimulateWRS(simulation);

    const double runs = request.replications;
    check.power_normal = result.passes_normal / runs;
    check.power_normal_se = StandardError(check.power_normal, request.replications);
    if (simulation.n != request.n) {
        check.power_normal = check.power_normal_se = std::numeric_limits<double>::quiet_NaN();
    } else if (simulation.lognormal) {
        check.power_lognormal = result.passes_lognormal / runs;
        check.power_lognormal_se = StandardError(*check.power_lognormal, request.replications);
    }
    const double wanted = 1 - static_cast<double>(request.beta);
    for (int32_t size = 1; size <= search; ++size) {
        if (result.passes_by_size[size - 1] / runs >= wanted) {
            check.n_min = size;
            check.n_min_critical_value = simulation.critical_by_size[size - 1];
            break;
        }
    }
    return check;
}

}  // namespace valdris
