// SPDX-License-Identifier: Apache-2.0
#pragma once
// Measurements joined to the unit's sample locations: by the location's id
// ("7" is the seventh location), or by where each was taken (the nearest
// location, when it lies within half the grid spacing). Every value still
// counts in the test whether it joins or not; those that do not are named,
// as are the locations no value was taken at.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "boundary.h"
#include "outcome.h"
#include "sample_grid.h"

namespace valdris {

// A place taken further than this share of the grid spacing from every
// location is no location's: half the spacing is the most that still lies
// nearer one grid point than its neighbours along a row.
constexpr double kPlaceToleranceShare = 0.5;

struct MeasurementJoin {
    // Beside the values: the location each was taken at (0-based in the
    // layout's points), or nothing.
    std::vector<std::optional<std::size_t>> location;
    std::vector<PostedValue> posted;     // the values joined, in the file's order
    std::vector<std::string> unmatched;  // the ids, or "(x, y)", of those not joined
    std::vector<std::string> missing;    // ids of the locations without a value
};

// The id of the location points[k] as the exported list numbers it.
std::string LocationId(std::size_t k);

// `ids` beside `values`. An id of decimal digits names the location of that
// number (leading zeros aside); any other id joins nothing. Refused: two
// values for one location.
Outcome<MeasurementJoin> JoinById(const std::vector<double>& values, const std::vector<std::string>& ids,
                                  const SampleLayout& layout);

// `places` beside `values`, in the layout's coordinates. Refused: two values
// nearest one location.
Outcome<MeasurementJoin> JoinByPlace(const std::vector<double>& values, const std::vector<GridPoint>& places,
                                     const SampleLayout& layout);

}  // namespace valdris
