// SPDX-License-Identifier: Apache-2.0
#pragma once
// Steps shared by the two design routines (internal to the engine).

#include <array>
#include <cmath>
#include <cstdint>
#include <optional>

#include "design_state.h"
#include "rounding.h"

namespace valdris::design_steps {

// Curve points farther than this many standard deviations from the DCGL are
// taken as certain to pass (or fail) instead of being computed.
constexpr double kCertainShift = 6;

// Converts an integer-valued double to a 32-bit count; nothing when it is not
// finite or does not fit, since converting such a value would be undefined.
inline std::optional<int32_t> ToInt32(double whole) {
    if (!(whole >= -2147483648.0 && whole <= 2147483647.0)) return std::nullopt;
    return static_cast<int32_t>(whole);
}

// A rounded-up sample size, never below one sample. The sizes round a need
// up by adding one half and rounding half to even, which takes a need of
// exactly zero (z_alpha + z_beta cancelling, as for alpha 0.087 with beta
// 0.929685) to no samples at all, while a need a hair above zero already
// gives one. A design with no samples has no test; the smallest size keeps
// the figures continuous in alpha and beta. NaN is kept for the caller.
inline double AtLeastOneSample(double rounded) { return rounded < 1 ? 1 : rounded; }

// Powers are probabilities; 1 - P computed near the ends can leave [0, 1]
// by a rounding error (-4e-16). NaN is kept for the caller.
inline double WithinProbabilityRange(double p) { return p < 0 ? 0 : (p > 1 ? 1 : p); }

// Grid step of the power curve: a 40th of the DCGL, held in single precision.
inline float CurveStep(double dcgl) { return static_cast<float>(dcgl / (10 * kCurvePointsPerTenth)); }

// The grid is accumulated, not multiplied, so it carries the drift of
// single-precision sums (the 40th point of a DCGL of 1 is 0.99999958).
inline float NextCurveX(float previous, float step) {
    return static_cast<float>(static_cast<double>(step) + static_cast<double>(previous));
}

// Whether the power at a shift is taken as certain: beyond +-6 standard
// deviations (exactly +-6 is still computed, and so is NaN).
inline bool IsCertain(double shift) { return shift > kCertainShift || shift < -kCertainShift; }

// The certain power at such a shift: 1 beyond +6, 0 beyond -6.
inline double CertainPower(double shift) { return shift > kCertainShift ? 1.0 : 0.0; }

// The power at one shift: certain at the ends, otherwise power_at(shift)
// held within [0, 1].
template <typename PowerAtShift>
double PowerWithCertainEnds(double shift, PowerAtShift power_at) {
    if (IsCertain(shift)) return CertainPower(shift);
    return WithinProbabilityRange(power_at(shift));
}

// The curve points whose power is computed, in grid order. Only the first
// count entries are written or read, so the arrays are left unfilled.
struct ComputedPoints {
    int count = 0;
    std::array<int, kCurvePoints> index;  // into CurveX and CurvePower
    std::array<double, kCurvePoints> shift;
};

// Fills CurveX[1..60] and the certain ends of CurvePower, and lists the other
// points with their shift (DCGL - x) / Sigma; the design computes those in
// phases over all of them, so that independent work overlaps. Element 0 of
// both arrays stays 0.
inline ComputedPoints LayOutPowerCurve(double dcgl, float sigma, DesignState& out) {
    const float step = CurveStep(dcgl);
    out.CurveX[0] = 0;
    out.CurvePower[0] = 0;
    ComputedPoints points;
    int count = 0;
    float x = 0;
    for (int i = 1; i <= kCurvePoints; ++i) {
        x = NextCurveX(x, step);
        out.CurveX[i] = x;
        const double shift = (dcgl - x) / sigma;
        if (IsCertain(shift)) {
            out.CurvePower[i] = CertainPower(shift);
        } else {
            points.index[count] = i;
            points.shift[count] = shift;
            ++count;
        }
    }
    points.count = count;
    return points;
}

}  // namespace valdris::design_steps
