// SPDX-License-Identifier: Apache-2.0
#pragma once
// A unit laid out over its drawn boundary rather than a rectangle: the
// boundary (in metres), the grid's angle and origin, and what to do when
// fewer grid points than samples fall inside it.

#include <optional>
#include <string>
#include <string_view>

#include "boundary.h"
#include "outcome.h"

namespace valdris {

// When the grid over the boundary holds fewer points than samples are
// needed, the planner's choice: never silently fewer.
enum class Shortfall {
    AddRandom,       // add seeded random points inside until there are n
    TightenSpacing,  // shrink the spacing until n grid points fit
};
const char* ShortfallName(Shortfall shortfall);  // "random", "tighten"
std::optional<Shortfall> ShortfallFromName(const std::string& name);

struct SiteGrid {
    Boundary boundary;
    double angle = 0;                // degrees, counter-clockwise from the x axis
    std::optional<GridPoint> origin;  // default: the extent's lower-left corner
    Shortfall shortfall = Shortfall::AddRandom;
};

// Angles a grid may be turned by: a full turn either way.
constexpr double kLargestGridAngle = 360;

// The grid angle, a finite number of degrees within a turn either way.
Outcome<double> CheckedGridAngle(double degrees);
// The origin typed "X,Y" (or "X Y"): two finite numbers.
Outcome<GridPoint> ReadOrigin(std::string_view text);

}  // namespace valdris
