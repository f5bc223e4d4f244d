// SPDX-License-Identifier: Apache-2.0
#pragma once
// What the plan window's field panel shows for one unit: its inputs as the
// boxes and tables hold them, and the figures of each part, or what the part
// still needs before it has any.

#include <optional>
#include <string>
#include <vector>

#include "design_report.h"
#include "plan.h"

namespace valdris {

struct FieldView {
    // The inputs as text, in the form the unit's edits read them back.
    std::string area, width, height, seed, scan_mdc;
    // A drawn boundary: what it is ("EPSG:32633, 5600.00 m²", or "none"),
    // and the grid's angle and origin "X,Y" (empty: 0 and the corner).
    std::string boundary = "none";
    std::string grid_angle, origin;
    std::string scan_mdc_title;  // the unit the scan MDC is read in (scan_mdc_units.h)
    GridType grid = GridType::Triangular;
    std::vector<AreaFactorTexts> area_factors;
    std::vector<NuclideTexts> nuclides;
    // Each part's figures, or its status line when it has none yet.
    std::vector<ReportLine> locations;
    std::string locations_note;  // more locations needed, or what is missing
    std::vector<ReportLine> elevated_area;
    std::string elevated_area_note;
    std::vector<ReportLine> sum_of_fractions;
    std::string sum_of_fractions_note;
};

FieldView MakeFieldView(const PlanEntry& entry);

}  // namespace valdris
