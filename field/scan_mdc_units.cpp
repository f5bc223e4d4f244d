// SPDX-License-Identifier: Apache-2.0
#include "scan_mdc_units.h"

#include <utility>

namespace valdris {

SetupInDesignUnits ScanMDCInDesignUnits(FieldSetup setup, const std::optional<SumOfFractions>& sum) {
    if (!sum || !setup.scan_mdc || setup.area_factors.empty()) return setup;
    if (!sum->gross_dcgl) {
        return Refusal{RefusalKind::ScanMDCNeedsGrossDCGL, kScanMDCNeedsGrossDCGL, MessageIcon::Exclamation};
    }
    *setup.scan_mdc /= *sum->gross_dcgl;
    return setup;
}

std::string ScanMDCTitle(bool sum_of_fractions, const std::string& concentration_unit) {
    std::string unit = concentration_unit;
    if (sum_of_fractions) unit += unit.empty() ? "gross activity" : ", gross activity";
    return "Scan MDC (" + (unit.empty() ? std::string("the DCGL's unit") : unit) + ")";
}

}  // namespace valdris
