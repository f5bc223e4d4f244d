// SPDX-License-Identifier: Apache-2.0
#pragma once
// The WRS test's pass rate by simulation: reference values at 0 and survey
// values at the LBGR, each reference value increased by the DCGL before the
// ranking. With normal measurements of the design's sigma the comparison of
// a reference and a survey value depends only on the shift D/s, so the
// values are drawn in units of sigma.

#include <cstdint>
#include <optional>
#include <vector>

namespace valdris {

// Lognormal survey values with mean LBGR and standard deviation sigma, and
// reference values of the same shape shifted to mean 0: log-scale mean mu
// and deviation s, delta = DCGL - LBGR.
struct LognormalShape {
    double mu = 0;
    double s = 0;
    double delta = 0;
};

// Nothing unless LBGR and sigma are above 0.
std::optional<LognormalShape> LognormalAtLBGR(double lbgr, double sigma, double dcgl);

struct WRSSimulationRequest {
    int32_t n = 0;              // each area's size
    double critical = 0;        // the design's critical rank sum for n
    double shift = 0;           // D/s
    std::optional<LognormalShape> lognormal;
    // critical_by_size[N - 1]: a critical rank sum for N of each, N = 1 ..
    // size(); the pass counts of every such N come from the same draws
    // (common random numbers).
    std::vector<double> critical_by_size;
    int32_t replications = 0;
    uint64_t seed = 0;
};

struct WRSSimulationResult {
    int64_t passes_normal = 0;
    int64_t passes_lognormal = 0;
    std::vector<int64_t> passes_by_size;  // beside critical_by_size
};

WRSSimulationResult SimulateWRS(const WRSSimulationRequest& request);

}  // namespace valdris
