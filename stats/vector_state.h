// SPDX-License-Identifier: Apache-2.0
#pragma once
// Clears the upper halves of the vector registers before the engine's scalar
// arithmetic. Code that ran before (the toolkit's painting, for one) can leave
// them dirty, and the engine's SSE instructions then carry false dependencies
// on them and run several times slower. No floating-point result changes.

namespace valdris {

void ClearUpperVectorState();

}  // namespace valdris
