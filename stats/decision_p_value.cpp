// SPDX-License-Identifier: Apache-2.0
// The p-value of a test decided by a critical value, as the smallest level
// at which the test rejects (E. L. Lehmann and J. P. Romano, Testing
// Statistical Hypotheses, 3rd ed., Springer, 2005, section 3.3), found by
// bisection over the single-precision alphas the designs take.

#include "decision_p_value.h"

#include <cstring>

#include "valdris_power.h"

namespace valdris {
namespace {

// Positive floats order as their bit patterns do.
uint32_t Bits(float value) {
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

float FromBits(uint32_t bits) {
    float value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

}  // namespace

double DecisionPValue(const std::function<bool(float alpha)>& passes) {
    // Invariant: fails at `low` (0 stands for alpha 0, where nothing
    // passes), passes at `high` (1 stands for alpha 1).
    uint32_t low = 0;
    uint32_t high = Bits(1.0f);
    while (high - low > 1) {
        const uint32_t middle = low + (high - low) / 2;
        if (passes(FromBits(middle))) {
            high = middle;
        } else {
            low = middle;
        }
    }
    if (low == 0) return 0;
    // Fails at every alpha below 1: no level short of 1 passes these data.
    if (low == Bits(1.0f) - 1) return 1;
    return FromBits(low);
}

double SignDecisionPValue(int32_t n, int32_t s_plus) {
    return DecisionPValue([&](float alpha) {
        const std::optional<int32_t> critical = SignCriticalValue(n, alpha);
        return critical && s_plus > *critical;
    });
}

double WRSDecisionPValue(int32_t m, int32_t n, double rank_sum) {
    return DecisionPValue([&](float alpha) { return rank_sum > CalcWRSCriticalValue(m, n, alpha); });
}

bool PValueDisagrees(bool passes, double p_value, float alpha) {
    return passes != (p_value < static_cast<double>(alpha));
}

}  // namespace valdris
