// SPDX-License-Identifier: Apache-2.0
#pragma once
// Phi(x) = (erf(x / sqrt(2)) + 1) / 2, the standard normal distribution
// function, for the engine's own use: defined here so that the WRS curve,
// which takes it about 180 times a design, makes the division and the sum in
// place. NormalCdf is this very function.

#include <cmath>

#include "valdris_power.h"

namespace valdris::detail {

inline double NormalCdfInPlace(double x) {
    const double t = x / std::sqrt(2.0);
    return (Erf(t) + 1) / 2;
}

}  // namespace valdris::detail
