// SPDX-License-Identifier: Apache-2.0
#pragma once
// The short notes the design window shows beside its inputs and results:
// texts of tooltips and of the notice at a box, never a modal message. One
// definition each, so the window and its help say the same.

#include <string>

#include "design_inputs.h"

namespace valdris {

// Shown at the DCGL or sigma box when a typed character is refused.
inline const std::string kOnlyDigitsNotice = "Only digits and one decimal point can be typed here";

// The sigma arrows' tooltip: the step they make (a hundredth of the DCGL on
// a grid of 0.01), or, when that step rounds to 0, why they are disabled.
std::string SigmaArrowsTip(double step);

// Where the shown results belong to the test not selected: a short note for
// beside them, and the whole sentence for their tooltips. Empty when they
// are the selected test's.
std::string OtherTestNote(TestKind shown, TestKind selected);
std::string OtherTestTip(TestKind shown, TestKind selected);

// The keys that select the two results shown as labels.
inline const std::string kCriticalValueKeyTip = "Critical value of the test (Alt+C selects it)";
inline const std::string kShiftKeyTip = "Relative shift delta over sigma (Alt+T selects it)";

}  // namespace valdris
