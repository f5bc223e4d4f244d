// SPDX-License-Identifier: Apache-2.0
#pragma once
// The engine as it stood before its restructuring for speed, frozen: the
// bit-identity test and the engine benchmark compare the engine with it.
// Not linked into any program; do not change it.
// Rounding to the nearest whole number or number of decimals, an exact half
// going to the even neighbour (the default rounding mode), as every rounded
// figure of the program is.

#include <cmath>

namespace valdris::reference {

// The product with the power of ten is rounded to double before the tie
// test, so 0.125 at two decimals is an exact tie (12.5 -> 12) while 1.005 is
// not (100.49999...).
inline double RoundHalfEven(double value, int decimals = 0) {
    double scale = 1.0;
    for (int i = 0; i < decimals; ++i) scale *= 10.0;
    return std::nearbyint(value * scale) / scale;
}

}  // namespace valdris::reference
