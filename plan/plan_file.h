// SPDX-License-Identifier: Apache-2.0
#pragma once
// The survey plan file (.vplan): UTF-8 JSON,
//   {"valdris_power_plan": 1, "units": [{"name": ..., "test": "sign", ...}]}
// with the plan's default costs beside "units" when it has them. Numbers
// are written in their shortest form that reads back to the same value (a
// single-precision input as the single it is). A file is read whole or not
// at all: the first thing wrong refuses it with one message naming the unit
// and the key.
//
// A unit in the field adds "area" (or "width" and "height"), "grid",
// "seed", "scan_mdc", "area_factors" ([[area, factor], ...]) and "nuclides"
// ([{"name", "dcgl", "sigma", "concentration"?}, ...]). A seed is a JSON
// number from 0 to 2^53 - 1: every reader holds such a number exactly, so
// the same file lays out the same locations everywhere; a larger one is
// refused, not rounded.

#include <optional>
#include <string>
#include <string_view>

#include "outcome.h"
#include "read_progress.h"
#include "plan.h"

namespace valdris {

constexpr int kPlanFormatVersion = 1;

// A plan read, with every unit's figures, or why the file was refused.
using PlanReading = Outcome<SurveyPlan>;

// `progress` hears of the units read, and may stop the reading. The units
// keep their curves where `curve` asks it (a writer of every curve).
PlanReading ReadPlan(std::string_view bytes, const ReadProgress& progress = {}, CurveKept curve = CurveKept::No);

// The file's bytes; writing them is the caller's (through the safe writer).
std::string WritePlan(const SurveyPlan& plan);

// The shortest text that reads back to exactly this value.
std::string RoundTripNumber(double value);
std::string RoundTripNumber(float value);

}  // namespace valdris
