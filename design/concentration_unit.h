// SPDX-License-Identifier: Apache-2.0
#pragma once
// The unit a survey unit's concentrations are given in ("Bq/kg",
// "dpm/100 cm²"): the rule a plan file and the companion's --unit apply to
// it, and how a report writes a concentration with it. Empty means none is
// named, and a report writes its figures as before.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace valdris {

// Long enough for "dpm/100 cm² (total, fixed)", short enough to stand in a
// table's cell beside a number.
constexpr std::size_t kMostConcentrationUnitCharacters = 30;

// Why the text cannot name a unit (said after a key or an option's name):
// not UTF-8, a control character (a line break would break a report's row),
// or more than the characters above. Nothing when it can.
std::optional<std::string> ConcentrationUnitProblem(std::string_view text);

// The unit of a design's own figures (sigma, DCGL, LBGR, the measurements
// judged against them, the scan MDC): none when the design runs in sums of
// fractions, which have no unit; the nuclides' figures keep the unit.
inline std::string DesignUnit(const std::string& unit, bool sum_of_fractions) {
    return sum_of_fractions ? std::string() : unit;
}

// "0.5 Bq/kg", or the figure alone when no unit is named.
std::string WithUnit(const std::string& figure, const std::string& unit);

}  // namespace valdris
