// SPDX-License-Identifier: Apache-2.0
#pragma once
// The results of a design as the window writes them, and the companion with
// it: one text per result, so that no two places can disagree.

#include <array>
#include <string>

#include "design_inputs.h"
#include "design_state.h"

namespace valdris {

// The test's caption: "Sign Test", "WRS Test".
std::string TestCaption(TestKind test);

// The heading of the critical value ("Critical Value"; the window adds a colon).
inline const std::string kCriticalValueTitle = "Critical Value";

// The concentrations the chart labels and the report lists, in tenths of the
// DCGL: 10, 30, 50, 70, 90, 100, 110, 130 and 150 percent.
inline constexpr std::array<int, 9> kLabelledTenths = {1, 3, 5, 7, 9, 10, 11, 13, 15};

// The survey unit's sample size (for the WRS test also the reference area's).
int SampleSize(TestKind test, const DesignSummary& state);

// The critical value with a sign position: " 19", " 1162". The WRS value is
// rounded down to a whole number.
std::string CriticalValueText(TestKind test, const DesignSummary& state);

// A probability with three decimals, in any locale ("0.989"). Rounding
// residue below 0 or above 1 is no probability and never shown.
std::string ProbabilityText(double value);

// The relative shift rounded to the given decimals ("0.98"), and the label
// that shows it ("D/s = 0.98").
std::string ShiftNumberText(double dovers, int decimals);
std::string ShiftText(double dovers, int decimals);

}  // namespace valdris
