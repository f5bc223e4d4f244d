// SPDX-License-Identifier: Apache-2.0
#pragma once
// The field's tables typed as text: the area factors as "1:10, 10:3" and a
// radionuclide as "Co-60:5:0.5:1", as the companion's options and the plan
// window's boxes both take them. Only the form is read here; the tables'
// rules (elevated_area.h, sum_of_fractions.h) judge the values.

#include <optional>
#include <string_view>
#include <vector>

#include "elevated_area.h"
#include "sum_of_fractions.h"

namespace valdris {

// Pairs area:factor separated by commas, blanks around each number allowed;
// nothing when any pair is not two numbers.
std::optional<AreaFactorTable> ParseAreaFactors(std::string_view text);

// NAME:DCGL:SIGMA or NAME:DCGL:SIGMA:CONCENTRATION, the name without the
// blanks around it; nothing when it has another form or a value is not a number.
std::optional<Nuclide> ParseNuclide(std::string_view text);

// Radionuclides separated by semicolons or line ends (empty entries skipped).
std::optional<std::vector<Nuclide>> ParseNuclideList(std::string_view text);

}  // namespace valdris
