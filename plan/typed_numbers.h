// SPDX-License-Identifier: Apache-2.0
#pragma once
// The plan's number boxes and cells as the user's locale writes them: where
// it writes a decimal comma, a comma in a box that holds one number stands
// for the point, as in the design window. The one-line tables (area factors,
// radionuclides) keep their commas, which separate entries there.

#include <string>
#include <vector>

#include "plan_unit.h"

namespace valdris {

// Whether the field's box holds one number (alpha to the costs, the sizes,
// the seed and the scan MDC).
bool HoldsOneNumber(PlanField field);

std::string PointedText(PlanField field, std::string text, bool decimal_comma);
SizeTexts PointedSize(SizeTexts texts, bool decimal_comma);
std::vector<AreaFactorTexts> PointedAreaFactors(std::vector<AreaFactorTexts> rows, bool decimal_comma);
std::vector<NuclideTexts> PointedNuclides(std::vector<NuclideTexts> rows, bool decimal_comma);

}  // namespace valdris
