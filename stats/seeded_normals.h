// SPDX-License-Identifier: Apache-2.0
#pragma once
// Standard normal variates that are the same on every machine and library:
// the 64-bit Mersenne Twister (whose output the C++ standard fixes) and
// Marsaglia's polar method written out here, since the library's normal
// distribution is left to each implementation.
//   M. Matsumoto and T. Nishimura, ACM Transactions on Modeling and Computer
//   Simulation 8 (1998) 3-30;
//   G. Marsaglia and T. A. Bray, "A convenient method for generating normal
//   variables", SIAM Review 6 (1964) 260-264.

#include <cmath>
#include <cstdint>
#include <random>

namespace valdris {

class SeededNormals {
public:
    explicit SeededNormals(uint64_t seed) : engine_(seed) {}

    double Next() {
        if (has_spare_) {
            has_spare_ = false;
            return spare_;
        }
        double u = 0, v = 0, s = 0;
        do {
            u = 2 * Uniform() - 1;
            v = 2 * Uniform() - 1;
            s = u * u + v * v;
        } while (s >= 1 || s == 0);
        const double factor = std::sqrt(-2 * std::log(s) / s);
        spare_ = v * factor;
        has_spare_ = true;
        return u * factor;
    }

private:
    // The top 53 bits: every double in [0, 1) on a grid of 2^-53.
    double Uniform() { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }

    std::mt19937_64 engine_;
    double spare_ = 0;
    bool has_spare_ = false;
};

}  // namespace valdris
