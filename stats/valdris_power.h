// SPDX-License-Identifier: Apache-2.0
#pragma once
// ModVALDRISPower: the numerical functions and the two design routines.

#include <array>
#include <cstdint>
#include <optional>

#include "design_state.h"

namespace valdris {

// --- Normal distribution ---------------------------------------------------
double Erf(double x);
double NormalCdf(double x);
// Upper-tail quantile by the Abramowitz-Stegun 26.2.22 approximation; the
// argument is single precision on purpose. Returns NaN outside (0, 1].
double NormalQuantile(float p);

// --- Bivariate normal ------------------------------------------------------
// Upper-orthant probability P(X > h, Y > k) with correlation r; 0 for a
// correlation beyond +-1, which no design passes.
double BIVNOR(double h, double k, double r);

// --- Sign test -------------------------------------------------------------
// Sizes below this get the exact binomial search for the critical value; the
// power curve uses the exact binomial up to and including it.
constexpr int32_t kSignExactCriticalValueBelow = 50;
constexpr int32_t kSignExactPowerUpTo = 50;

// P(X <= m) for X ~ Binomial(n, p); 1 when m >= n.
double BinomialCdf(int32_t n, int32_t m, double p);

// --- WRS test --------------------------------------------------------------
// Sizes up to this get the exact distribution of the rank sum.
constexpr int32_t kWRSExactSizeLimit = 20;

double CalcWRSCriticalValue(int32_t a, int32_t b, float alpha);
double WRSJointProbability(double shift);

// --- Design routines -------------------------------------------------------
enum class DesignOutcome {
    Ok,
    // The required sample size is not a finite number within the 32-bit
    // range: nothing in the state was changed.
    SampleSizeOutOfRange,
};

DesignOutcome DesignSignTest(DesignState& state);
DesignOutcome DesignWRSTest(DesignState& state);

// The curve's x values for a DCGL (CurveX as every design lays it out,
// element 0 being 0).
std::array<float, kCurvePoints + 1> PowerCurveGrid(double dcgl);

// --- Any sample size ---------------------------------------------------------
// The designs above end in these, so a given size (a budget's N, or the count
// of measurements actually taken) gets the very figures a designed one would.

// Critical value of the Sign test for n samples: the exact binomial search
// below kSignExactCriticalValueBelow, the normal approximation from there;
// nothing when the approximation does not fit 32 bits.
std::optional<int32_t> SignCriticalValue(int32_t n, float alpha);

// Probability that the survey unit passes when the true concentration lies
// `shift` standard deviations below the DCGL ((DCGL - x) / sigma): the Sign
// test of n samples with this critical value, or the WRS test of n samples in
// each area with this critical rank sum. Beyond 6 standard deviations the
// outcome is taken as certain, as on the power curve.
double SignPower(int32_t n, int32_t critical, double shift);
double WRSPower(int32_t n, double critical, double shift);

// The designs with the sample size given (each area's, for WRS) instead of
// computed from alpha, beta and D/s: critical value and power curve for n.
// n must be at least 1.
DesignOutcome DesignSignTestForSize(DesignState& state, int32_t n);
DesignOutcome DesignWRSTestForSize(DesignState& state, int32_t n);

}  // namespace valdris
