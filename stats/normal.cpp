// SPDX-License-Identifier: Apache-2.0
// Error function, standard normal distribution and its upper-tail quantile.
// The coefficients are 15-digit literals, not the longer values of Cody's
// paper: every figure the program gives was fixed with these, and the longer
// values move the last bits.
//
// Erf and erfc: rational Chebyshev approximations in three argument ranges,
//   W. J. Cody, "Rational Chebyshev approximations for the error function",
//   Mathematics of Computation 23(107), 631-637, 1969.
// Upper-tail quantile: rational approximation 26.2.22 (absolute error below
// about 3E-3), in
//   M. Abramowitz and I. A. Stegun (eds.), Handbook of Mathematical Functions,
//   National Bureau of Standards, Applied Mathematics Series 55, 1964.

#include <cmath>
#include <cstddef>
#include <limits>

#include "normal_cdf.h"
#include "valdris_power.h"

namespace valdris {
namespace {

// Cody's rational Chebyshev coefficients, indexed from 1 (element 0 unused)
// so the loops read like the published recurrences.
constexpr double kA[] = {0, 3.16112374387057, 113.86415415105, 377.485237685302,
                         3209.37758913847, 0.185777706184603};
constexpr double kB[] = {0, 23.6012909523441, 244.024637934444, 1282.61652607737,
                         2844.23683343917};
constexpr double kC[] = {0,
                         0.56418849698867,
                         8.88314979438838,
                         66.1191906371416,
                         298.6351381974,
                         881.952221241769,
                         1712.04761263407,
                         2051.07837782607,
                         1230.339354798,
                         2.15311535474404E-08};
constexpr double kD[] = {0,
                         15.7449261107098,
                         117.693950891312,
                         537.18110186201,
                         1621.38957456669,
                         3290.79923573346,
                         4362.61909014325,
                         3439.36767414372,
                         1230.33935480375};
constexpr double kP[] = {0,
                         0.305326634961232,
                         0.360344899949804,
                         0.125781726111229,
                         0.0160837851487423,
                         0.000658749161529838,
                         0.0163153871373021};
constexpr double kQ[] = {0,
                         2.56852019228982,
                         1.87295284992346,
                         0.527905102951428,
                         0.0605183413124413,
                         0.00233520497626869};

constexpr double kSmallRangeEnd = 0.46875;
constexpr double kNegligibleSquare = 4.2E-16;  // below this y*y is treated as 0
constexpr double kMiddleRangeEnd = 4.0;
constexpr double kErfcVanishes = 9.269;  // erfc(y) is taken as exactly 0 beyond
constexpr double kOneOverSqrtPi = 0.564189583547756;

// Abramowitz and Stegun 26.2.22.
constexpr double kQuantileC0 = 2.30753;
constexpr double kQuantileC1 = 0.27061;
constexpr double kQuantileD1 = 0.99229;
constexpr double kQuantileD2 = 0.04481;

// Each range's numerator and denominator run the same recurrence with their
// own coefficients, so they step together as the two lanes of a vector; each
// lane's sums and products are the IEEE operations of the scalar recurrence.
using Pair = double __attribute__((vector_size(2 * sizeof(double))));

// The coefficient pairs of one recurrence, numerator first, from index 1.
template <int N>
struct PairTable {
    Pair step[N];
};

template <int N, size_t NumSize, size_t DenSize>
constexpr PairTable<N> Pairs(const double (&num)[NumSize], const double (&den)[DenSize]) {
    PairTable<N> table{};
    for (int i = 0; i < N; ++i) table.step[i] = Pair{num[i + 1], den[i + 1]};
    return table;
}

constexpr auto kAB = Pairs<4>(kA, kB);
constexpr auto kCD = Pairs<8>(kC, kD);
constexpr auto kPQ = Pairs<5>(kP, kQ);

// xnum = lead * v and xden = v (1 * v is v itself), then for i = 1 .. steps
// xnum = (xnum + num(i)) * v and xden = (xden + den(i)) * v.
template <int N>
Pair Recurrence(double lead, const PairTable<N>& table, int steps, double v) {
    const Pair vv = {v, v};
    Pair acc = Pair{lead, 1.0} * vv;
    for (int i = 0; i < steps; ++i) acc = (acc + table.step[i]) * vv;
    return acc + table.step[steps];
}

double ErfSmallRange(double x, double y) {
    double ysq = 0;
    if (y > kNegligibleSquare) ysq = y * y;
    const Pair last = Recurrence(kA[5], kAB, 3, ysq);
    return x * last[0] / last[1];
}

// erfc(y) for 0.46875 < y <= 4.
double ErfcMiddleRange(double y) {
    const double ysq = y * y;
    const Pair last = Recurrence(kC[9], kCD, 7, y);
    return std::exp(-ysq) * last[0] / last[1];
}

// erfc(y) for y > 4.
double ErfcUpperRange(double y) {
    if (!(y < kErfcVanishes)) return 0;
    const double ysq = 1 / (y * y);
    const Pair last = Recurrence(kP[6], kPQ, 4, ysq);
    const double r = ysq * last[0] / last[1];
    return (std::exp(-y * y) / y) * (kOneOverSqrtPi - r);
}

}  // namespace

double Erf(double x) {
    // Without this a NaN would fall through every range test and come out as 1.
    if (std::isnan(x)) return x;
    const double y = std::fabs(x);
    if (y <= kSmallRangeEnd) return ErfSmallRange(x, y);
    const double r = (y <= kMiddleRangeEnd) ? ErfcMiddleRange(y) : ErfcUpperRange(y);
    double result = (0.5 - r) + 0.5;
    if (x < 0) result = -result;
    return result;
}

double NormalCdf(double x) { return detail::NormalCdfInPlace(x); }

double NormalQuantile(float p) {
    const double pd = p;
    // Outside (0, 1] the formula divides by zero or takes the root of a
    // negative number; say so with NaN rather than return a stray figure.
    if (!(pd > 0 && pd <= 1)) return std::numeric_limits<double>::quiet_NaN();
    const double q = pd * pd;
    const double t = std::sqrt(std::log(1 / q));
    const double num = t * kQuantileC1 + kQuantileC0;
    const double den = (t * t) * kQuantileD2 + (t * kQuantileD1 + 1.0);
    return t - num / den;
}

}  // namespace valdris
