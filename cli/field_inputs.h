// SPDX-License-Identifier: Apache-2.0
#pragma once
// The field options read as numbers and checked by the unit's rules, and
// what they give once the design has its sample size.

#include <cstdint>
#include <optional>
#include <vector>

#include "elevated_area.h"
#include "field_options.h"
#include "outcome.h"
#include "sample_grid.h"
#include "sum_of_fractions.h"

namespace valdris::cli {

struct FieldInputs {
    std::optional<UnitSize> size;
    GridType grid = GridType::Triangular;
    std::optional<std::uint64_t> seed;
    std::optional<double> scan_mdc;
    AreaFactorTable area_factors;
    std::vector<Nuclide> nuclides;
    std::optional<SumOfFractions> sum;  // when there are nuclides
};

// Each value as a strict number, then the rules, in the order of the help
// text; the first refusal names its option or field.
Outcome<FieldInputs> ReadFieldInputs(const FieldRequest& request);

struct FieldResults {
    std::optional<ElevatedAreaCheck> check;
    int samples = 0;  // the final N the grid is laid out for
    // When a rectangle or a seed is given (a rectangle without a seed draws one).
    std::optional<SampleLayout> layout;
};

// The check and the layout for the design's N and DCGL; a refusal when the
// check needs or the grid holds more samples than can be listed.
Outcome<FieldResults> ComputeField(const FieldInputs& inputs, int samples, double dcgl);

}  // namespace valdris::cli
