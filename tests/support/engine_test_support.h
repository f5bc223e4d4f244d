// SPDX-License-Identifier: Apache-2.0
#pragma once
// Helpers shared by the engine tests.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <iomanip>

#include "design_inputs.h"

namespace valdris::testing {

// True when value, rounded to the given number of decimals, is expected.
inline ::testing::AssertionResult RoundsTo(double value, double expected, int decimals) {
    const double scale = std::pow(10.0, decimals);
    if (std::nearbyint(value * scale) == std::nearbyint(expected * scale)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << std::setprecision(17) << value << " is not "
                                         << expected << " to " << decimals << " decimals";
}

// The design window's defaults: alpha = beta = 0.05, DCGL 1, LBGR 0.5, sigma 0.5.
inline DesignState DefaultInputs() { return PrepareState(DesignInputs{}); }

// Bitwise, field by field (NaN inputs compare equal to themselves).
inline bool SameBits(const DesignState& a, const DesignState& b) {
    auto same = [](const auto& x, const auto& y) { return std::memcmp(&x, &y, sizeof x) == 0; };
    return same(a.Alpha, b.Alpha) && same(a.Beta, b.Beta) && same(a.Sigma, b.Sigma) &&
           same(a.DCGL, b.DCGL) && same(a.LBGR, b.LBGR) && same(a.Delta, b.Delta) &&
           same(a.DoverS, b.DoverS) && a.SignN == b.SignN &&
           a.SignCriticalValue == b.SignCriticalValue && a.WRSN == b.WRSN &&
           same(a.WRSCriticalValue, b.WRSCriticalValue) && same(a.CurveX, b.CurveX) &&
           same(a.CurvePower, b.CurvePower);
}

}  // namespace valdris::testing
