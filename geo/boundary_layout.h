// SPDX-License-Identifier: Apache-2.0
#pragma once
// The sample grid laid over a drawn boundary: the lattice of sample_grid.h
// (the same spacing for the boundary's area and the same seeded random
// start), turned by the grid angle about its origin, over the boundary's
// extent; the points the geometry module finds inside (holes excluded) are
// kept, row by row. When fewer than n fit, the planner's choice adds seeded
// random points inside or tightens the spacing until n fit.
//
// The random points continue the seed's generator after the start's two
// uniforms, each a point uniform over the extent (x first), kept when inside:
// a uniform sample of the boundary by rejection.

#include <cstdint>
#include <functional>
#include <vector>

#include "geometry.h"
#include "outcome.h"
#include "sample_grid.h"
#include "site_grid.h"

namespace valdris {

// Whether each point lies inside the boundary (the module's test in the
// program, any other in a test of the layout alone).
using InsideTest = std::function<Outcome<std::vector<char>>(const std::vector<GridPoint>& points)>;

Outcome<SampleLayout> LayOutInBoundary(GridType type, const SiteGrid& site, double area, int samples,
                                       std::uint64_t seed, const InsideTest& inside);

}  // namespace valdris
