// SPDX-License-Identifier: Apache-2.0
#pragma once
// The design routines with the normal quantile as a parameter: the program's
// own designs use the rational approximation (NormalQuantile); the check and
// the companion's --quantile exact put the exact quantile in its place,
// every other step unchanged.

#include <cstdint>
#include <optional>

#include "valdris_power.h"

namespace valdris {

// Upper-tail quantile of the standard normal distribution for a single
// precision probability.
using QuantileFunction = double (*)(float p);

// The upper-tail quantile to full double precision (exact_normal.cpp).
double ExactNormalQuantile(float p);

// P(Z > x) for a standard normal Z, with full relative precision in the
// upper tail.
double UpperNormalTail(double x);

std::optional<int32_t> SignCriticalValueWith(int32_t n, float alpha, QuantileFunction quantile);
double WRSCriticalValueWith(int32_t a, int32_t b, float alpha, QuantileFunction quantile);

DesignOutcome DesignSignTestWith(DesignState& state, QuantileFunction quantile);
// The size DesignSignTestWith would design, with no curve: nothing where
// it would find none.
std::optional<int32_t> SignDesignedSizeWith(const DesignSummary& state, QuantileFunction quantile);
DesignOutcome DesignWRSTestWith(DesignState& state, QuantileFunction quantile);
DesignOutcome DesignSignTestForSizeWith(DesignState& state, int32_t n, QuantileFunction quantile);
DesignOutcome DesignWRSTestForSizeWith(DesignState& state, int32_t n, QuantileFunction quantile);

// P(U <= u) for the Mann-Whitney count of samples of a and b (both at most
// kWRSExactSizeLimit) as the exact critical value reads it: the counts in
// single precision.
double WRSExactCumulativeShare(int32_t a, int32_t b, int32_t u);

}  // namespace valdris
