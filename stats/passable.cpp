// SPDX-License-Identifier: Apache-2.0
#include "passable.h"

#include "valdris_power.h"

namespace valdris {
namespace {

// Beyond a few hundred samples every alpha a single value can hold passes;
// the search stops long before the sizes run out.
constexpr int32_t kSearchLimit = 1 << 20;

}  // namespace

bool SignCanPass(int32_t n, int32_t critical) { return critical < n; }

double LargestRankSum(int32_t m, int32_t n) {
    const double md = m;
    return md * n + md * (md + 1) / 2;
}

bool WRSCanPass(int32_t m, int32_t n, double critical) { return critical < LargestRankSum(m, n); }

std::optional<int32_t> SmallestPassableSignN(float alpha) {
    for (int32_t n = 1; n <= kSearchLimit; ++n) {
        const std::optional<int32_t> critical = SignCriticalValue(n, alpha);
        if (critical && SignCanPass(n, *critical)) return n;
    }
    return std::nullopt;
}

std::optional<int32_t> SmallestPassableWRSN(float alpha) {
    for (int32_t n = 1; n <= kSearchLimit; ++n) {
        if (WRSCanPass(n, n, CalcWRSCriticalValue(n, n, alpha))) return n;
    }
    return std::nullopt;
}

}  // namespace valdris
