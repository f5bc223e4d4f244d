// SPDX-License-Identifier: Apache-2.0
// The engine as it stood before its restructuring for speed, frozen: the
// bit-identity test and the engine benchmark compare the engine with it.
// Not linked into any program; do not change it.
// Donnelly's bivariate normal upper-orthant probability (1973), assembled
// from marginal tails and two Owen's T terms summed as series.

#include <cmath>
#include <limits>

#include "reference_engine.h"

namespace valdris::reference {
namespace {

constexpr double kTwoPi = 6.28318530717959;
// Series tolerance for about 15 significant digits.
constexpr double kSeriesTolerance = 6.283185307179591E-15 / 2;
// exp(-x) for x at or beyond this is taken as 0.
constexpr double kExponentCutoff = 80;

double G(double x) { return NormalCdf(x); }

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
        const double h2 = wh * wh;
        const double a2 = wk * wk;
        const double h4 = h2 / 2;
        if (!(h4 < kExponentCutoff)) {
            // exp(-h4) is taken as 0, so the series is exactly the arctangent
            // series of wk and the term is 0. Summing it would need up to
            // ~1e14 steps as |wk| nears 1, so it is not summed.
            return;
        }
        const double ex = std::exp(-h4);
        double w2 = ex * h4;
        double ap = 1;
        double s2 = 1 - ex;
        double sp = 1;
        double s1 = 0;
        double sn = 0;
        const double conex = std::fabs(kSeriesTolerance / wk);
        for (;;) {
            const double cn = ap * s2 / (sp + sn);
            s1 = s1 + cn;
            // Written so that a NaN term also ends the loop.
            if (!(std::fabs(cn) > conex)) break;
            sn = sp;
            sp = sp + 1;
            s2 = s2 - w2;
            w2 = w2 * h4 / sp;
            ap = -ap * a2;
        }
        t = (std::atan(wk) - wk * s1) / kTwoPi;
    }
    b = b + sgn * t;
}

double Clamped01(double b) {
    if (b < 0) b = 0;
    if (b > 1) b = 1;
    return b;
}

}  // namespace

double BIVNOR(double h, double k, double r, const BivnorErrorReporter& report_error) {
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
    if (rr < 0) {
        if (report_error) report_error(r);
        return 0;
    }
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

}  // namespace valdris::reference
