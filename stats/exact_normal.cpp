// SPDX-License-Identifier: Apache-2.0
// The standard normal upper tail from the complementary error function, and
// its quantile to full double precision: the rational approximation 26.2.22
// of Abramowitz and Stegun as the start, then Halley's iteration on
// Q(x) - p = 0, which triples the correct digits at each step.
//   M. Abramowitz and I. A. Stegun (eds.), Handbook of Mathematical Functions,
//   National Bureau of Standards, Applied Mathematics Series 55, 1964,
//   26.2.22 and 7.1.2;
//   A. S. Householder, The Numerical Treatment of a Single Nonlinear
//   Equation, McGraw-Hill, 1970 (Halley's method).

#include <cmath>
#include <limits>

#include "quantile_choice.h"

namespace valdris {
namespace {

constexpr double kInverseSqrtTwoPi = 0.398942280401432677939946059934;
// From an absolute error of 3e-3, three steps reach the rounding error.
constexpr int kHalleySteps = 4;

}  // namespace

double UpperNormalTail(double x) { return 0.5 * std::erfc(x / std::sqrt(2.0)); }

double ExactNormalQuantile(float p) {
    if (!(p > 0 && p <= 1)) return std::numeric_limits<double>::quiet_NaN();
    // A probability of 1 would ask for minus infinity (a beta of 1, no power
    // wanted); the largest single value below 1 keeps the sizes finite.
    if (p == 1) p = std::nextafter(1.0f, 0.0f);
    const double target = p;
    double x = NormalQuantile(p);
    for (int step = 0; step < kHalleySteps; ++step) {
        const double density = kInverseSqrtTwoPi * std::exp(-0.5 * x * x);
        if (!(density > 0)) break;
        const double u = (UpperNormalTail(x) - target) / density;
        x += u / (1 - x * u / 2);
    }
    return x;
}

}  // namespace valdris
