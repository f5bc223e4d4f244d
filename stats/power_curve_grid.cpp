// SPDX-License-Identifier: Apache-2.0
// The x values of the power curve, alone: a face that kept a design's powers
// forms the grid beside them without designing again.

#include "design_steps.h"
#include "valdris_power.h"

namespace valdris {

std::array<float, kCurvePoints + 1> PowerCurveGrid(double dcgl) {
    std::array<float, kCurvePoints + 1> grid{};
    const float step = design_steps::CurveStep(dcgl);
    for (int i = 1; i <= kCurvePoints; ++i) grid[i] = design_steps::NextCurveX(grid[i - 1], step);
    return grid;
}

}  // namespace valdris
