// SPDX-License-Identifier: Apache-2.0
#pragma once
// The elevated-measurement comparison: can the scan find a small area of
// elevated activity between the grid points, and how many samples does the
// grid need when it cannot.
//
// a = A / N; AF(a) by straight-line interpolation of ln(factor) against
// ln(area) in the area-factor table (the first factor below it, the last
// above it); DCGL_EMC = AF(a) x DCGL. The scan is adequate when its MDC is at
// most DCGL_EMC; otherwise the factor needed, MDC / DCGL, gives the area
// A_EA where the table reaches it (the same interpolation inverted; the
// table's first area when the factor lies beyond its first factor),
// n_EA = ceil(A / A_EA) and the final N = max(N, n_EA).
//
// Why: a grid of N points leaves about A / N unsampled around each point, so
// an elevated spot of that size can lie wholly between points and only the
// scan can find it. The area factor is how far the concentration over a
// small area may exceed the DCGL for the same dose; it falls roughly as a
// power of the area, hence straight lines in ln-ln. When the scan cannot see
// down to DCGL_EMC, the grid is made fine enough that each point's share of
// the unit is no larger than the area the scan can still find.

#include <optional>
#include <vector>

#include "input_rules.h"
#include "outcome.h"

namespace valdris {

struct AreaFactor {
    double area = 0;
    double factor = 0;
};
using AreaFactorTable = std::vector<AreaFactor>;

// At least two pairs, areas above zero and strictly increasing, factors at
// least 1 and not increasing; the first fault found, else nothing.
std::optional<Refusal> AreaFactorTableRefusal(const AreaFactorTable& table);
std::optional<Refusal> ScanMDCRefusal(double scan_mdc);

// AF(a) of a valid table, for a > 0. A table pair's own area gives its own
// factor exactly.
double AreaFactorAt(const AreaFactorTable& table, double area);
// The largest area whose factor is at least the one given (the table's first
// area when none is); the factor must be above the table's last one.
double AreaForFactor(const AreaFactorTable& table, double factor);

struct ElevatedAreaCheck {
    double grid_area = 0;    // a = A / N
    double area_factor = 0;  // AF(a)
    double dcgl_emc = 0;     // AF(a) x DCGL
    double scan_mdc = 0;
    bool adequate = false;
    // When not adequate: the factor needed, A_EA and n_EA.
    std::optional<double> factor_needed;
    std::optional<double> area_needed;
    std::optional<int> n_ea;
    int n_final = 0;  // max(N, n_EA), or N
};

// For a unit of area A (within the size limits) and the design's N and DCGL;
// the table and the MDC are checked first.
Outcome<ElevatedAreaCheck> CheckElevatedAreas(const AreaFactorTable& table, double scan_mdc, double area, int samples,
                                              double dcgl);

}  // namespace valdris
