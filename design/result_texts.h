// SPDX-License-Identifier: Apache-2.0
#pragma once
// The results of a design as the window writes them, and the companion with
// it: one text per result, so that no two places can disagree.

#include <string>

#include "design_inputs.h"
#include "design_state.h"

namespace valdris {

// The survey unit's sample size (for the WRS test also the reference area's).
int SampleSize(TestKind test, const DesignState& state);

// The critical value with a sign position: " 19", " 1162". The WRS value is
// rounded down to a whole number.
std::string CriticalValueText(TestKind test, const DesignState& state);

// A probability with three decimals, in any locale ("0.989"). Rounding
// residue below 0 or above 1 is no probability and never shown.
std::string ProbabilityText(double value);

// "D/s = " and the relative shift rounded to the given decimals.
std::string ShiftText(double dovers, int decimals);

}  // namespace valdris
