// SPDX-License-Identifier: Apache-2.0
#pragma once
// The unit's field figures as the plan window's panel, the unit's report
// page and the companion's readable output show them: one text per figure.
// Lengths, areas of the layout and coordinates have two decimals; the other
// figures are written as every double of the program is.

#include <optional>
#include <string>
#include <vector>

#include "design_report.h"
#include "safe_write.h"
#include "elevated_area.h"
#include "sample_grid.h"
#include "sum_of_fractions.h"

namespace valdris {

// "Triangular" or "Square".
std::string GridTypeCaption(GridType type);

// "10.75": a spacing, a coordinate or an area of the layout.
std::string LengthText(double value);

// Grid type, spacing, seed, random start and "18 of 20" locations inside.
std::vector<ReportLine> SampleLayoutLines(const SampleLayout& layout);
// The note shown when fewer grid points than samples fall inside; empty
// when there are enough.
std::string MoreLocationsNote(const SampleLayout& layout);

// The locations file: "id,x,y", then one row per location in the layout's
// order, the coordinates in the exact form that reads back to the same double,
// or with that many decimals (a person setting the points out needs
// millimetres, not seventeen digits).
std::string LocationsCsv(const SampleLayout& layout, std::optional<int> decimals = std::nullopt);
// The same bytes given to the sink a piece at a time as they are made, so
// that a million locations are never held as text; the sink's first failure.
std::string StreamLocationsCsv(const SampleLayout& layout, const ByteSink& write,
                               std::optional<int> decimals = std::nullopt);
// Millimetres, for coordinates in metres.
constexpr int kSetOutDecimals = 3;

// a, AF(a), DCGL_EMC, the scan MDC, whether it is adequate and, when it is
// not, A_EA and n_EA; then the final N.
// The unit of concentration, when given, follows DCGL_EMC and the scan MDC.
std::vector<ReportLine> ElevatedAreaLines(const ElevatedAreaCheck& check, const std::string& unit = {});

// Each nuclide, then the sigma as the design stores it (single precision),
// the LBGR and the gross-activity DCGL when they are known.
// The unit of concentration, when given, follows each nuclide's figures and
// the gross-activity DCGL (the fractions have none).
std::vector<ReportLine> SumOfFractionsLines(const std::vector<Nuclide>& nuclides, const SumOfFractions& sum,
                                            const std::string& unit = {});

}  // namespace valdris
