#pragma once
// Helpers shared by the engine tests.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <iomanip>

#include "design_state.h"

namespace valdris::testing {

// True when value, rounded to the given number of decimals, is expected.
inline ::testing::AssertionResult RoundsTo(double value, double expected, int decimals) {
    const double scale = std::pow(10.0, decimals);
    if (std::nearbyint(value * scale) == std::nearbyint(expected * scale)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << std::setprecision(17) << value << " does not round to "
                                         << expected << " at " << decimals << " decimals";
}

// The design window's defaults: alpha = beta = 0.05, DCGL 1, LBGR 0.5, sigma 0.5.
inline DesignState DefaultInputs() {
    DesignState state;
    state.Alpha = 0.05f;
    state.Beta = 0.05f;
    state.Sigma = 0.5f;
    state.DCGL = 1;
    state.LBGR = 0.5;
    state.Delta = 0.5f;
    state.DoverS = 1;
    return state;
}

template <typename T>
bool SameBits(const T& a, const T& b) {
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

// Bitwise equality field by field (NaN inputs included), so that a refused
// design provably changed nothing.
inline bool SameBits(const DesignState& a, const DesignState& b) {
    return SameBits(a.Alpha, b.Alpha) && SameBits(a.Beta, b.Beta) && SameBits(a.Sigma, b.Sigma) &&
           SameBits(a.DCGL, b.DCGL) && SameBits(a.LBGR, b.LBGR) && SameBits(a.Delta, b.Delta) &&
           SameBits(a.DoverS, b.DoverS) && a.SignN == b.SignN &&
           a.SignCriticalValue == b.SignCriticalValue && a.WRSN == b.WRSN &&
           SameBits(a.WRSCriticalValue, b.WRSCriticalValue) && SameBits(a.CurveX, b.CurveX) &&
           SameBits(a.CurvePower, b.CurvePower);
}

// A state whose results are recognisable leftovers of an earlier design.
inline DesignState WithEarlierResults(DesignState state) {
    state.SignN = 29;
    state.SignCriticalValue = 19;
    state.WRSN = 32;
    state.WRSCriticalValue = 1162.4751;
    for (int i = 1; i <= kCurvePoints; ++i) {
        state.CurveX[i] = 0.025f * i;
        state.CurvePower[i] = 1.0 / i;
    }
    return state;
}

}  // namespace valdris::testing
