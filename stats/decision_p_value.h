// SPDX-License-Identifier: Apache-2.0
#pragma once
// The p-value that goes with a verdict: computed as the design's critical
// value is (exact where it is exact, by the same normal approximation where
// it is approximate), so that it never lies on the other side of alpha from
// the decision. It is the largest alpha at which the design's own rule
// still fails the data: the rule passes them exactly when p < alpha.

#include <cstdint>
#include <functional>

namespace valdris {

// Over the single-precision alphas in (0, 1), the largest at which passes()
// is false; 0 when it is true for every alpha, 1 when for none. passes()
// must not turn false again as alpha grows (a critical value does not rise
// with alpha).
double DecisionPValue(const std::function<bool(float alpha)>& passes);

// S+ of n measurements against the Sign test's critical values for n.
double SignDecisionPValue(int32_t n, int32_t s_plus);

// The rank sum W of m reference values against the WRS test's critical
// values for m reference and n survey measurements.
double WRSDecisionPValue(int32_t m, int32_t n, double rank_sum);

// The decision and a p-value on opposite sides of alpha: a pass needs
// p < alpha, as it does of the decision p-value.
bool PValueDisagrees(bool passes, double p_value, float alpha);

}  // namespace valdris
