// SPDX-License-Identifier: Apache-2.0
// The bivariate normal upper-orthant probability P(X > h, Y > k) for
// correlation r, assembled from marginal tails and two terms of Owen's T
// function summed as series to about 15 significant digits:
//   T. G. Donnelly, "Algorithm 462: Bivariate normal distribution",
//   Communications of the ACM 16(10), 638, 1973;
//   D. B. Owen, "Tables for computing bivariate normal probabilities",
//   Annals of Mathematical Statistics 27(4), 1075-1090, 1956.

#include <cmath>
#include <cstdint>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "joint_tail.h"
#include "normal_cdf.h"
#include "valdris_power.h"

namespace valdris {
namespace {

constexpr double kTwoPi = 6.28318530717959;
// Series tolerance for about 15 significant digits.
constexpr double kSeriesTolerance = 6.283185307179591E-15 / 2;
// exp(-x) for x at or beyond this is taken as 0.
constexpr double kExponentCutoff = 80;

double G(double x) { return detail::NormalCdfInPlace(x); }

// Adds one Owen's T term to b. wh, wk and gw are the term's own working
// values; the reflection for |wk| > 1 also moves b.
void AddOwensTTerm(double wh, double wk, double gw, double& b) {
    if (wk == 0) return;
    double sgn = -1;
    double t;
    if (std::fabs(wk) == 1) {
        t = wk * gw * (1 - gw) / 2;
    } else {
        if (std::fabs(wk) > 1) {
            sgn = +1;
            wh = wh * wk;
            const double g2 = G(wh);
            wk = 1 / wk;
            if (wk < 0) b = b + 0.5;
            b = (b - (gw + g2) / 2) + gw * g2;
        }
        const auto series = detail::OwensTTerm(wh, detail::MakeTSlope(wk));
        if (!series) return;
        t = *series;
    }
    b = b + sgn * t;
}

double Clamped01(double b) {
    if (b < 0) b = 0;
    if (b > 1) b = 1;
    return b;
}

}  // namespace

namespace detail {

TSlope MakeTSlope(double wk) {
    return {wk, wk * wk, std::fabs(kSeriesTolerance / wk), std::atan(wk)};
}

namespace {

// Series summed side by side, at most this many, two to a vector of two
// lanes: each lane's sums, products and quotients are the same IEEE
// operations as those of a series summed alone, so every bit is as it was.
constexpr int kLanes = 4;
constexpr int kPairs = kLanes / 2;
using Pair = double __attribute__((vector_size(2 * sizeof(double))));
using PairMask = int64_t __attribute__((vector_size(2 * sizeof(double))));

bool AnyLane(PairMask m) {
#if defined(__SSE2__)
    return _mm_movemask_pd((__m128d)m) != 0;
#else
    return (m[0] | m[1]) != 0;
#endif
}

// The T-term series for up to four values of h4 = wh^2 / 2 side by side,
// each lane stepping and stopping exactly as it would alone, so that the
// lanes' divisions overlap instead of each waiting on the one before.
// exp(-h4) is taken as 0 from the cut-off on, which the caller handles.
void SumSeries(const double (&h4)[kLanes], int lanes, const TSlope& slope, double (&s1_out)[kLanes]) {
    Pair h4v[kPairs], w2[kPairs], s2[kPairs], s1[kPairs];
    PairMask live[kPairs];
    for (int l = 0; l < kLanes; ++l) {
        const bool used = l < lanes;
        const double ex = used ? std::exp(-h4[l]) : 0;
        live[l / 2][l % 2] = used ? -1 : 0;
        h4v[l / 2][l % 2] = h4[l];
        w2[l / 2][l % 2] = ex * h4[l];
        s2[l / 2][l % 2] = 1 - ex;
        s1[l / 2][l % 2] = 0;
    }
    const Pair conex = {slope.conex, slope.conex};
    const PairMask magnitude = {INT64_MAX, INT64_MAX};
    // The same in every lane.
    double ap = 1;
    double sp = 1;
    double sn = 0;
    for (;;) {
        const double spsn = sp + sn;
        for (int p = 0; p < kPairs; ++p) {
            const Pair cn = ap * s2[p] / spsn;
            // A finished lane adds +0, which leaves its sum as it is: a sum
            // that starts at +0 never becomes -0.
            s1[p] = s1[p] + (Pair)((PairMask)cn & live[p]);
            // Written so that a NaN term also ends the lane.
            live[p] = live[p] & ((Pair)((PairMask)cn & magnitude) > conex);
        }
        if (!AnyLane(live[0] | live[1])) break;
        sn = sp;
        sp = sp + 1;
        for (int p = 0; p < kPairs; ++p) {
            s2[p] = s2[p] - w2[p];
            w2[p] = w2[p] * h4v[p] / sp;
        }
        ap = -ap * slope.a2;
    }
    for (int l = 0; l < kLanes; ++l) s1_out[l] = s1[l / 2][l % 2];
}

double TFromSeries(double s1, const TSlope& slope) { return (slope.atan_wk - slope.wk * s1) / kTwoPi; }

bool BeyondExponentCutoff(double h4) { return !(h4 < kExponentCutoff); }

}  // namespace

std::optional<double> OwensTTerm(double wh, const TSlope& slope) {
    const double h2 = wh * wh;
    const double h4 = h2 / 2;
    // exp(-h4) is taken as 0, so the series is exactly the arctangent series
    // of wk and the term is 0. Summing it would need up to ~1e14 steps as
    // |wk| nears 1, so it is not summed.
    if (BeyondExponentCutoff(h4)) return std::nullopt;
    const double one_h4[kLanes] = {h4};
    double s1[kLanes];
    SumSeries(one_h4, 1, slope, s1);
    return TFromSeries(s1[0], slope);
}

EqualLimitsJointTail MakeEqualLimitsJointTail(double r) {
    // Read through a volatile so that no compiler folds the arctangents of
    // a known r with its own rounding: they must be the C library's, as in
    // BIVNOR.
    const volatile double opaque_r = r;
    const double rho = opaque_r;
    const double sqr = std::sqrt(1 - rho * rho);
    EqualLimitsJointTail tail;
    tail.at_zero = std::atan(rho / sqr) / kTwoPi + 0.25;
    // K / H is exactly 1 for equal finite limits other than 0.
    tail.slope = MakeTSlope((1.0 - rho) / sqr);
    return tail;
}

namespace {

// Points whose T term is summed, gathered four at a time.
class SeriesGroup {
public:
    SeriesGroup(const EqualLimitsJointTail& tail, double* out) : tail_(tail), out_(out) {}

    void Add(int point, double h4, double b) {
        point_[count_] = point;
        h4_[count_] = h4;
        b_[count_] = b;
        if (++count_ == kLanes) Finish();
    }

    // Both T terms are the one summed, added one after the other.
    void Finish() {
        if (count_ == 0) return;
        double s1[kLanes];
        SumSeries(h4_, count_, tail_.slope, s1);
        const double sgn = -1;
        for (int l = 0; l < count_; ++l) {
            const double t = TFromSeries(s1[l], tail_.slope);
            double b = b_[l];
            b = b + sgn * t;
            b = b + sgn * t;
            out_[point_[l]] = Clamped01(b);
        }
        count_ = 0;
    }

private:
    const EqualLimitsJointTail& tail_;
    double* out_;
    int count_ = 0;
    int point_[kLanes] = {};
    double h4_[kLanes] = {};
    double b_[kLanes] = {};
};

// The probability at a limit that is NaN, infinite or 0.
double JointTailAtSpecialLimit(double h, const EqualLimitsJointTail& tail) {
    if (std::isnan(h)) return std::numeric_limits<double>::quiet_NaN();
    if (std::isinf(h)) return h > 0 ? 0 : 1;
    return Clamped01(tail.at_zero);
}

}  // namespace

void JointTailsAtEqualLimits(const double* h, int count, const EqualLimitsJointTail& tail, double* out) {
    SeriesGroup group(tail, out);
    for (int j = 0; j < count; ++j) {
        const double hj = h[j];
        if (!std::isfinite(hj) || hj == 0) {
            out[j] = JointTailAtSpecialLimit(hj, tail);
            continue;
        }
        // GH and GK are one value; h * h is never negative.
        const double gh = G(-hj) / 2;
        const double hh = hj * hj;
        double b = gh;
        if (hh != 0) b = b + gh;
        // |wk| < 1 for 0 < r < 1: neither term is reflected, and with
        // wh = -h both are the same (wh * wh is h * h).
        const double h4 = hh / 2;
        if (BeyondExponentCutoff(h4)) {
            out[j] = Clamped01(b);
        } else {
            group.Add(j, h4, b);
        }
    }
    group.Finish();
}

}  // namespace detail

double BIVNOR(double h, double k, double r) {
    if (std::isnan(h) || std::isnan(k) || std::isnan(r)) {
        return std::numeric_limits<double>::quiet_NaN();
    }

    // With h = 0 the limits are exchanged, so H is 0 only if both are.
    const double H = (h == 0) ? k : h;
    const double K = (h == 0) ? h : k;
    const double gh = G(-H) / 2;
    const double gk = G(-K) / 2;

    if (r == 0) return Clamped01(gh * 4 * gk);

    const double rr = 1 - r * r;
    if (rr < 0) return 0;
    if (rr == 0) {
        double b;
        if (r >= 0) {
            b = (H - K < 0) ? 2 * gk : 2 * gh;
        } else {
            b = (K + H < 0) ? 2 * (gk + gh) - 1 : 0;
        }
        return Clamped01(b);
    }

    // An infinite limit leaves a one-dimensional tail; the general steps
    // would form inf / inf.
    if (std::isinf(H) || std::isinf(K)) {
        if (H == INFINITY || K == INFINITY) return 0;
        if (H == -INFINITY && K == -INFINITY) return 1;
        return Clamped01(H == -INFINITY ? 2 * gk : 2 * gh);
    }

    const double sqr = std::sqrt(rr);
    if (H == 0) return Clamped01(std::atan(r / sqr) / kTwoPi + 0.25);

    double b = gh;
    if (H * K < 0) b = b - 0.5;
    if (H * K != 0) b = b + gk;
    AddOwensTTerm(-H, (K / H - r) / sqr, 2 * gh, b);
    if (K != 0) AddOwensTTerm(-K, (H / K - r) / sqr, 2 * gk, b);
    return Clamped01(b);
}

}  // namespace valdris
