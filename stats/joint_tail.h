// SPDX-License-Identifier: Apache-2.0
#pragma once
// BIVNOR(h, h, r) for one fixed correlation and many h, as the WRS power
// curve needs it (internal to the engine). The figures are those of BIVNOR
// in every bit: with equal limits both T terms of Donnelly's algorithm are
// one and the same, so it is summed once and added twice, and what depends
// on r alone (the slope of the T terms, their arctangent, the value at
// h = 0) is formed once for all h.

#include <optional>

namespace valdris::detail {

// The fixed slope wk of a T term and what the series needs of it.
struct TSlope {
    double wk = 0;
    double a2 = 0;       // wk * wk
    double conex = 0;    // the series stops at terms this small
    double atan_wk = 0;  // atan(wk), as the C library gives it
};

TSlope MakeTSlope(double wk);

// Owen's T term of Donnelly's algorithm for |wk| < 1: nothing when exp(-wh^2/2)
// is taken as 0, which leaves the term out.
std::optional<double> OwensTTerm(double wh, const TSlope& slope);

struct EqualLimitsJointTail {
    double at_zero = 0;  // the probability at h = 0, before clamping
    TSlope slope;
};

// For 0 < r < 1.
EqualLimitsJointTail MakeEqualLimitsJointTail(double r);

// out[j] = P(X > h[j], Y > h[j]) for j < count, bit for bit BIVNOR(h[j],
// h[j], r) of the r given above. The T-term series of neighbouring points
// are summed side by side, so that their divisions overlap.
void JointTailsAtEqualLimits(const double* h, int count, const EqualLimitsJointTail& tail, double* out);

}  // namespace valdris::detail
