// SPDX-License-Identifier: Apache-2.0
#pragma once
// The field options read as numbers and checked by the unit's rules, and
// what they give once the design has its sample size.

#include <cstdint>
#include <optional>
#include <vector>

#include "field_options.h"
#include "outcome.h"
#include "sum_of_fractions.h"
#include "unit_field.h"

namespace valdris::cli {

// A rectangle without --seed gets a fresh seed here, reported in the output.
struct FieldInputs {
    FieldSetup setup;
    std::vector<Nuclide> nuclides;
    std::optional<SumOfFractions> sum;  // when there are nuclides
};

// Each value as a strict number, then the rules, in the order of the help
// text; the first refusal names its option or field.
Outcome<FieldInputs> ReadFieldInputs(const FieldRequest& request);


}  // namespace valdris::cli
