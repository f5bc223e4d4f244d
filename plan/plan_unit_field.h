// SPDX-License-Identifier: Apache-2.0
#pragma once
// The rules of a unit's field inputs and radionuclides, for plan_unit.cpp:
// how an edit's text is read into the unit, and what a stored unit must hold.
// They know the unit as data only; its design is plan_unit's.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "unit_inputs.h"

namespace valdris {

// The text rules of the inputs of the unit in the field (Area to Nuclides),
// as the field table holds them. A refusal leaves the unit as it may be half
// changed (the caller edits a copy).
std::optional<Refusal> ReadAreaText(const std::string& text, PlanUnit& unit, std::optional<Refusal>& notice);
std::optional<Refusal> ReadWidthText(const std::string& text, PlanUnit& unit, std::optional<Refusal>& notice);
std::optional<Refusal> ReadHeightText(const std::string& text, PlanUnit& unit, std::optional<Refusal>& notice);
// The boundary typed as vertices, x y a line (a blank line before each
// hole), in the reference system the unit's boundary has; empty removes it.
std::optional<Refusal> ReadBoundaryText(const std::string& text, PlanUnit& unit, std::optional<Refusal>& notice);
// The grid's angle in degrees and its origin "X,Y", for a unit with a
// boundary; empty gives 0 and the boundary's lower-left corner.
std::optional<Refusal> ReadGridAngleText(const std::string& text, PlanUnit& unit, std::optional<Refusal>& notice);
std::optional<Refusal> ReadOriginText(const std::string& text, PlanUnit& unit, std::optional<Refusal>& notice);
// The unit over this boundary, its area the size.
std::optional<Refusal> TakeBoundary(const Boundary& boundary, double area, PlanUnit& unit);
std::optional<Refusal> ReadGridText(const std::string& text, PlanUnit& unit, std::optional<Refusal>& notice);
std::optional<Refusal> ReadSeedText(const std::string& text, PlanUnit& unit, std::optional<Refusal>& notice);
std::optional<Refusal> ReadScanMDCText(const std::string& text, PlanUnit& unit, std::optional<Refusal>& notice);
std::optional<Refusal> ReadAreaFactorsText(const std::string& text, PlanUnit& unit, std::optional<Refusal>& notice);
std::optional<Refusal> ReadNuclidesText(const std::string& text, PlanUnit& unit, std::optional<Refusal>& notice);

// The unit's own DCGL, sigma or LBGR while its radionuclides set them.
std::optional<Refusal> SetByNuclidesRefusal(const PlanUnit& unit, PlanField field);

// Gives the unit these radionuclides after their rules; a list without
// every concentration takes the unit's LBGR as a fraction, reset to half
// (with the notice) when it is not below 1, as an empty list resets an LBGR
// not below the unit's own DCGL.
std::optional<Refusal> TakeNuclides(std::vector<Nuclide> nuclides, PlanUnit& unit, std::optional<Refusal>& notice);

// The rules of the panel's size boxes, its two tables and a drawn seed:
// each reads its texts into the unit (a copy the caller edits) or refuses.
std::optional<Refusal> ReadSizeTexts(const SizeTexts& texts, PlanUnit& unit);
std::optional<Refusal> ReadAreaFactorRows(const std::vector<AreaFactorTexts>& rows, PlanUnit& unit);
std::optional<Refusal> ReadNuclideRows(const std::vector<NuclideTexts>& rows, PlanUnit& unit,
                                       std::optional<Refusal>& notice);
std::optional<Refusal> TakeSeed(std::uint64_t seed, PlanUnit& unit);

// The first stored field input or radionuclide that its rule refuses.
std::optional<FieldRefusal> FieldInputsRefusal(const PlanUnit& unit);

}  // namespace valdris
