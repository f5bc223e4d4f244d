// SPDX-License-Identifier: Apache-2.0
#pragma once
// A unit and the design window: the entries the window's form takes to show
// a unit, and whether the design the window holds is still the unit's.

#include "design_form.h"
#include "plan_unit.h"

namespace valdris {

// The unit's inputs as the form's boxes take them: plain digits only, so no
// number is written with an exponent; on radionuclides, the design their
// sum of fractions gives (sigma as the single the form keeps).
DesignEntries DesignEntriesOf(const PlanUnit& unit);

// True when the two units have one design: the same radionuclide, test,
// alpha, beta, sigma, DCGL and LBGR (names, sizes, costs, field and data
// aside), so that the window taking an input that changes nothing of it
// makes no step in the plan.
bool SameDesign(const PlanUnit& a, const PlanUnit& b);

}  // namespace valdris
