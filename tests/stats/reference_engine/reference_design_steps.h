// SPDX-License-Identifier: Apache-2.0
#pragma once
// The engine as it stood before its restructuring for speed, frozen: the
// bit-identity test and the engine benchmark compare the engine with it.
// Not linked into any program; do not change it.
// Steps shared by the two design routines (internal to the engine).

#include <cmath>
#include <cstdint>
#include <optional>

#include "design_state.h"
#include "reference_rounding.h"

namespace valdris::reference::design_steps {

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
inline float CurveStep(double dcgl) { return static_cast<float>(dcgl / 40); }

// The grid is accumulated, not multiplied, so it carries the drift of
// single-precision sums (the 40th point of a DCGL of 1 is 0.99999958).
inline float NextCurveX(float previous, float step) {
    return static_cast<float>(static_cast<double>(step) + static_cast<double>(previous));
}

// The power at one shift: beyond +-6 taken as 1 or 0 (exactly +-6 is still
// computed), otherwise power_at(shift) held within [0, 1].
template <typename PowerAtShift>
double PowerWithCertainEnds(double shift, PowerAtShift power_at) {
    if (shift > kCertainShift) return 1;
    if (shift < -kCertainShift) return 0;
    return WithinProbabilityRange(power_at(shift));
}

// Fills CurveX[1..60] and, for each point, CurvePower at
// shift = (DCGL - x) / Sigma. Element 0 of both arrays stays 0.
template <typename PowerAtShift>
void FillPowerCurve(double dcgl, float sigma, DesignState& out, PowerAtShift power_at) {
    const float step = CurveStep(dcgl);
    out.CurveX[0] = 0;
    out.CurvePower[0] = 0;
    for (int i = 1; i <= kCurvePoints; ++i) {
        out.CurveX[i] = NextCurveX(out.CurveX[i - 1], step);
        const double shift = (dcgl - out.CurveX[i]) / sigma;
        out.CurvePower[i] = PowerWithCertainEnds(shift, power_at);
    }
}

}  // namespace valdris::reference::design_steps
