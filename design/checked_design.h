// SPDX-License-Identifier: Apache-2.0
#pragma once
// One design's check as every face shows it (the dialog, the report, the
// plan table, the companion): the figures of design_check.h for the design's
// own size and critical value, the size the same steps give with exact
// quantiles, and their words.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "design_check.h"
#include "design_inputs.h"
#include "design_report.h"

namespace valdris {

struct CheckedDesign {
    DesignCheck check;
    // The designed size with the exact normal quantile in place of the
    // approximation; nothing when it does not fit 32 bits.
    std::optional<int32_t> n_exact_quantile;
};

// `state` is a finished design of the test (designed or of a given size).
CheckedDesign CheckDesign(TestKind test, const DesignSummary& state, uint64_t seed = kDefaultCheckSeed);

// The check's lines after the report's notes on method, each labelled as
// part of the check.
void AddCheckToReport(DesignReport& report, const CheckedDesign& checked);

// "exact" or "normal".
std::string Type1Method(const DesignCheck& check);

// The check as labelled lines: "True Type I Error", "0.0307 (exact)" and so on.
std::vector<ReportLine> CheckLines(const CheckedDesign& checked);

// The note a design that cannot pass carries: why, and the smallest size
// that can (each area's for WRS); and its short form beside the results.
inline const std::string kCannotPassShortNote = "No data can pass this design: every power is 0.";
std::string CannotPassNote(TestKind test, float alpha, std::optional<int32_t> smallest);

}  // namespace valdris
