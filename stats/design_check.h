// SPDX-License-Identifier: Apache-2.0
#pragma once
// What a design really delivers, beside what its formulas say: the true Type
// I error of its critical value, its power at the LBGR for normal and for
// lognormal measurements, and the smallest size that reaches 1 - beta with
// an exact critical value and no margin. Exact where counting is cheap,
// simulated (seeded, so reproducible to the last digit) where it is not.

#include <cstdint>
#include <optional>

namespace valdris {

// Simulated figures use at least this many replications.
constexpr int32_t kCheckReplications = 20000;
constexpr uint64_t kDefaultCheckSeed = 1;
// Exact rank-sum counts for sizes below this (a few milliseconds); the
// normal approximation with continuity correction from there.
constexpr int32_t kCheckExactRankSumBelow = 50;
// The simulated search for the smallest WRS size stops here (each area):
// its cost grows with the square of the size, a second or two at this one.
constexpr int32_t kCheckLargestSimulatedSearch = 400;
// Larger WRS designs are not simulated (their surveys would take minutes):
// their powers are NaN.
constexpr int32_t kCheckLargestSimulatedSize = 20000;

struct CheckRequest {
    int32_t n = 0;          // the design's size (each area's for WRS)
    double critical = 0;    // the design's critical value
    float alpha = 0;
    float beta = 0;
    double dovers = 0;      // the design's D/s
    double sigma = 0;
    double dcgl = 0;
    double lbgr = 0;
    uint64_t seed = kDefaultCheckSeed;
    int32_t replications = kCheckReplications;
};

struct DesignCheck {
    double type1_error = 0;
    bool type1_exact = true;  // otherwise the normal approximation
    double power_normal = 0;
    double power_normal_se = 0;  // 0 where exact; both NaN where not simulated
    // Nothing for an LBGR of 0, where no lognormal has that mean.
    std::optional<double> power_lognormal;
    std::optional<double> power_lognormal_se;
    // Nothing when not reached within the search, which ended at searched_to.
    std::optional<int32_t> n_min;
    int32_t searched_to = 0;
    std::optional<double> n_min_critical_value;
    int32_t replications = 0;  // 0 when nothing was simulated
    uint64_t seed = 0;
};

DesignCheck CheckSignDesign(const CheckRequest& request);
DesignCheck CheckWRSDesign(const CheckRequest& request);

}  // namespace valdris
