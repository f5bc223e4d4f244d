// SPDX-License-Identifier: Apache-2.0
#pragma once
// In which unit the scan MDC is read. It is typed in the unit's
// concentration unit: that of its one radionuclide or, on a sum of
// fractions, gross activity. The elevated-area check runs in the units the
// design ran in, so on a sum the MDC enters over the gross-activity DCGL
// (MDC / DCGL_gross against AF x 1 is MDC against AF x DCGL_gross). Without
// that DCGL the number's meaning is unknown: the check is refused, never run
// on the number silently read as a fraction.

#include <optional>
#include <string>

#include "sum_of_fractions.h"
#include "unit_field.h"

namespace valdris {

inline const std::string kScanMDCNeedsGrossDCGL =
    "The scan MDC is read as gross activity: give every radionuclide's concentration, so that the "
    "gross-activity DCGL is known, or clear the scan MDC.";

using SetupInDesignUnits = Outcome<FieldSetup>;
// The setup with its scan MDC in the design's units; as it is without a sum
// of fractions or without a check to run.
SetupInDesignUnits ScanMDCInDesignUnits(FieldSetup setup, const std::optional<SumOfFractions>& sum);

// How a label and a report name the number typed: "Scan MDC (Bq/kg)",
// "Scan MDC (Bq/kg, gross activity)" on a sum of fractions; without a
// concentration unit "Scan MDC (the DCGL's unit)" or "Scan MDC (gross
// activity)".
std::string ScanMDCTitle(bool sum_of_fractions, const std::string& concentration_unit);

}  // namespace valdris
