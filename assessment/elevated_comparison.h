// SPDX-License-Identifier: Apache-2.0
#pragma once
// The elevated-measurement comparison: each measurement above the DCGL marks
// an elevated area, compared first with the DCGL_EMC of the area's size and
// then by the unity rule
//   delta / DCGL + (mean of the area - delta) / (AF(area) x DCGL) < 1,
// delta the mean of the measurements outside elevated areas (those not
// above the DCGL), AF the area factor interpolated from the unit's table as
// the elevated-area check does. An area's size is the one entered after
// investigating it, else the area one location stands for, A / n; its mean
// is its measurement.
//
// Why the areas are also summed: the rule is a sum of fractions of the dose
// limit, the unit's background delta / DCGL plus each area's excess over it
// in units of what that area may hold; excesses of separate areas add. Two
// areas each just under the limit alone can give more than it together, so
// the unit passes only when the sum over all its areas stays below 1, and
// each area that fails alone is named.

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "elevated_area.h"
#include "outcome.h"

namespace valdris {

struct ElevatedAreaResult {
    std::size_t measurement = 0;  // its position among the values, from 0
    std::string location;         // the location's id; empty when it joined none
    double mean = 0;
    double size = 0;              // m2
    bool size_given = false;      // entered, not A / n
    double area_factor = 0;
    double dcgl_emc = 0;
    bool above_dcgl_emc = false;
    double sum = 0;  // delta / DCGL + (mean - delta) / (AF x DCGL)
    bool passes = false;
};

struct ElevatedComparison {
    double delta = 0;
    double dcgl = 0;
    // At one location's share, A / n: what a value not above the DCGL would
    // be held against were it found in an area of no entered size.
    double share_dcgl_emc = 0;
    std::vector<ElevatedAreaResult> areas;  // in the values' order
    double combined = 0;                    // delta / DCGL + the sum of each area's excess term
    bool passes = true;                     // no areas, or combined < 1
};

struct ElevatedComparisonInputs {
    double dcgl = 0;
    AreaFactorTable area_factors;  // a valid table
    double unit_area = 0;          // A, m2
    int samples = 0;               // n
    // Beside the values: each one's location id, empty where it joined none
    // (or no ids at all).
    std::vector<std::string> locations;
    // The sizes entered after investigating, by location id.
    std::map<std::string, double> sizes;
};

// A DCGL_EMC to hold values against: a finite number above 0 (0 stands for
// none, where the unit has no area factors).
bool IsDCGLEMC(double dcgl_emc);
// The one rule for a value above its DCGL_EMC, wherever it is shown or
// judged: strictly above one.
bool ExceedsDCGLEMC(double value, double dcgl_emc);

// The rule on an entered size: a finite area above zero.
std::optional<Refusal> ElevatedAreaSizeRefusal(double size);

// Refused: no measurement outside the elevated areas (no delta), a table or
// size the rules refuse, or figures too large to compare.
Outcome<ElevatedComparison> CompareElevatedAreas(const std::vector<double>& values,
                                                 const ElevatedComparisonInputs& inputs);

}  // namespace valdris
