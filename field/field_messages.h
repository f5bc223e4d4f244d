// SPDX-License-Identifier: Apache-2.0
#pragma once
// The refusals of the unit's field inputs (its size, grid, seed, scan MDC,
// area factors and radionuclides), each naming the field it is about, and the
// limits they state. The plan window and the companion refuse alike.

#include <cstddef>
#include <string>

#include "input_rules.h"

namespace valdris::field {

// Lengths and areas as the DCGL box's limits: plain digits suffice, and the
// spacing stays far from overflow and underflow for any countable N.
constexpr double kSmallestSize = 0.000001;
constexpr double kLargestSize = 1000000000;

// Seeds a plan file's JSON number holds exactly on every machine: 2^53 - 1.
constexpr unsigned long long kLargestSeed = 9007199254740991ULL;

// Beyond this many grid points a layout is no longer a field plan.
constexpr long long kMostLocations = 1000000;

inline const std::string kAreaUnusable = "The area must be a number from 0.000001 to 1000000000.";
inline const std::string kWidthUnusable = "The width must be a number from 0.000001 to 1000000000.";
inline const std::string kHeightUnusable = "The height must be a number from 0.000001 to 1000000000.";
inline const std::string kRectangleUnusable =
    "The width times the height, the area, must be a number from 0.000001 to 1000000000.";
inline const std::string kSeedUnusable = "The seed must be a whole number from 0 to 9007199254740991.";
inline const std::string kGridTypeUnknown = "The grid must be triangular or square.";
inline const std::string kTooManyLocations =
    "The grid would hold more than 1000000 locations; the locations are not laid out.";
inline const std::string kScanMDCUnusable = "The scan MDC must be a number above zero.";
inline const std::string kAreaFactorsTooFew = "The area factors need at least two pairs of area and factor.";
inline const std::string kTooManyElevatedAreaSamples =
    "The elevated-area check needs more than 1000000 samples; the scan MDC is far too high for this table.";
inline const std::string kNuclideNameMissing = "Each radionuclide needs a name.";
// More radionuclides than any mixture has: a wrong paste or file, which would
// only slow every table that lists them.
constexpr std::size_t kMostNuclides = 1000;
inline const std::string kTooManyNuclides =
    "A unit lists at most " + std::to_string(kMostNuclides) + " radionuclides.";
inline const std::string kWidthWithoutHeight = "The width needs a height: give both, or the area alone.";
inline const std::string kHeightWithoutWidth = "The height needs a width: give both, or the area alone.";
inline const std::string kSideWithoutRectangle =
    "The unit has no width and height yet: give both at once, or the area alone.";
inline const std::string kAreaFactorsTextUnusable =
    "The area factors must be pairs of area and factor, such as 1:10, 10:3, 100:1.5.";
inline const std::string kNuclidesTextUnusable =
    "The radionuclides must each be NAME:DCGL:SIGMA or NAME:DCGL:SIGMA:CONCENTRATION, separated by semicolons.";
inline const std::string kDCGLOfNuclides =
    "The DCGL of a unit with several radionuclides is 1, their sum of fractions: change their DCGLs instead.";
inline const std::string kSigmaOfNuclides =
    "The sigma of a unit with several radionuclides is combined from theirs: change their sigmas instead.";
inline const std::string kLBGROfConcentrations =
    "The LBGR of this unit comes from its radionuclides' concentrations: change those instead.";

// Refusals that quote the offending values.
Refusal AreaFactorAreaRefusal(double area);
Refusal AreaFactorFactorRefusal(double factor);
Refusal AreaFactorAreasOrderRefusal(double previous, double area);
Refusal AreaFactorFactorsOrderRefusal(double previous, double factor);
Refusal NuclideDCGLRefusal(const std::string& name);
Refusal NuclideSigmaRefusal(const std::string& name);
Refusal NuclideConcentrationRefusal(const std::string& name);
Refusal NuclideTwiceRefusal(const std::string& name);
// A cell of the area factors' table that is not a number: "The area factors,
// row 2: the factor "x" is not a number."
Refusal AreaFactorCellRefusal(std::size_t row, const std::string& what, const std::string& text);

// The refusal of a field rule whose message quotes nothing, with its stop
// icon: the one place each is built.
Refusal Message(RefusalKind kind);

}  // namespace valdris::field
