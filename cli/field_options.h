// SPDX-License-Identifier: Apache-2.0
#pragma once
// The companion's options for the unit in the field: its size, the sample
// grid, the elevated-area check and several radionuclides. Kept as typed;
// field_inputs.h reads them.

#include <optional>
#include <string>
#include <vector>

#include "sample_grid.h"
#include "site_grid.h"

namespace valdris::cli {

struct FieldRequest {
    std::optional<std::string> area;
    std::optional<std::string> width;
    std::optional<std::string> height;
    std::optional<GridType> grid;  // triangular unless chosen
    std::optional<std::string> seed;
    std::optional<std::string> scan_mdc;
    std::optional<std::string> area_factors;
    std::vector<std::string> nuclides;  // NAME:DCGL:SIGMA[:CONCENTRATION], in order
    std::optional<std::string> points;  // the locations' file: CSV, GeoJSON, KML or GPX by its extension
    // A drawn boundary: FILE[:LAYER], the feature chosen by NAME=VALUE, the
    // grid's angle and origin, and what to do when too few locations fit.
    std::optional<std::string> boundary;
    std::optional<std::string> feature;
    std::optional<std::string> grid_angle;
    std::optional<std::string> origin;
    std::optional<Shortfall> shortfall;

    bool HasSize() const { return area || width || height || boundary; }
    bool Any() const {
        return HasSize() || grid || seed || scan_mdc || area_factors || !nuclides.empty() || points || feature ||
               grid_angle || origin || shortfall;
    }
};

// Whether the name is one of these options (each takes one value).
bool IsFieldOption(const std::string& name);
// The usage error when the option needs a value and has none.
std::string FieldOptionMissingValue(const std::string& name);
// Stores the value; a usage error when it cannot be one (--grid other than
// triangular or square).
std::optional<std::string> StoreFieldOption(FieldRequest& request, const std::string& name, const std::string& value);
// Options that need others or exclude each other; many_designs: --sweep or
// --plan, which have no one unit to lay out.
std::optional<std::string> FieldUsageError(const FieldRequest& request, bool many_designs);

std::string FieldHelpText();

}  // namespace valdris::cli
