// SPDX-License-Identifier: Apache-2.0
#pragma once
// Can a design pass at all? The survey unit passes when the statistic
// exceeds the critical value, so a critical value at or above the largest
// statistic the sizes allow fails every possible set of data: every power of
// such a design is 0, whatever the formulas of the curve say.

#include <cstdint>
#include <optional>

namespace valdris {

// S+ counts the measurements below the DCGL: at most n.
bool SignCanPass(int32_t n, int32_t critical);

// The rank sum of m reference values among m + n: at most
// m n + m (m + 1) / 2, when every reference value ranks above the survey's.
double LargestRankSum(int32_t m, int32_t n);
bool WRSCanPass(int32_t m, int32_t n, double critical);

// The smallest size (each area's, for WRS) whose critical value at alpha
// leaves a pass possible; nothing when none up to the 32-bit limit does.
std::optional<int32_t> SmallestPassableSignN(float alpha);
std::optional<int32_t> SmallestPassableWRSN(float alpha);

}  // namespace valdris
