// SPDX-License-Identifier: Apache-2.0
#pragma once
// A unit's field figures from its design: the elevated-area check first,
// then the grid for the final N. Every face (the plan window's panel, its
// report, the companion) goes through this one order.

#include <cstdint>
#include <optional>

#include "elevated_area.h"
#include "input_rules.h"
#include "sample_grid.h"
#include "shared_optional.h"
#include "site_grid.h"

namespace valdris {

// The unit's checked field inputs; each part optional.
struct FieldSetup {
    std::optional<UnitSize> size;
    GridType grid = GridType::Triangular;
    std::optional<std::uint64_t> seed;  // the locations are laid out only with one
    // Both given: the elevated-area check (one alone, as a panel is being
    // filled in, checks nothing yet).
    std::optional<double> scan_mdc;
    AreaFactorTable area_factors;
    // A drawn boundary: the size is then its area, and the grid is laid over
    // it (by the geometry floor) rather than over a rectangle.
    std::optional<SiteGrid> site;
};

// The check and the layout are held apart and shared by the entry's copies:
// most units of a large site have neither, and each is never changed once made.
struct FieldFigures {
    SharedOptional<ElevatedAreaCheck> check;
    int samples = 0;  // the final N: the spacing and the locations are for it
    SharedOptional<SampleLayout> layout;
};

// For the design's N and DCGL (1 in units of the sum of fractions). Refused
// when the check needs, or the grid holds, more samples than a plan lists.
// The refusal's kind tells the grid's (too many locations) from the check's.
Outcome<FieldFigures> ComputeFieldFigures(const FieldSetup& setup, int samples, double dcgl);

}  // namespace valdris
