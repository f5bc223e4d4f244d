// SPDX-License-Identifier: Apache-2.0
// The scan MDC keeps its meaning when a unit moves to a sum of fractions:
// it is compared with the gross-activity DCGL_EMC, or the check is refused.
#include <gtest/gtest.h>

#include <vector>

#include "scan_mdc_units.h"

namespace valdris {
namespace {

TEST(ScanMDCUnits, ReadInTheUnitsTheDesignRanIn) {
    const AreaFactorTable factors = {{1, 10}, {10, 3}, {100, 1.5}};
    struct Case {
        const char* what;
        bool with_sum;
        std::optional<double> gross_dcgl;
        bool with_factors;
        std::optional<double> mdc_after;  // nothing: refused
    };
    const std::vector<Case> cases = {
        {"one radionuclide: as typed", false, std::nullopt, true, 5.0},
        {"sum with a gross DCGL: over it", true, 2.5, true, 2.0},
        {"sum without a gross DCGL: refused", true, std::nullopt, true, std::nullopt},
        {"no check to run: as typed", true, std::nullopt, false, 5.0},
    };
    for (const Case& c : cases) {
        FieldSetup setup;
        setup.scan_mdc = 5.0;
        if (c.with_factors) setup.area_factors = factors;
        std::optional<SumOfFractions> sum;
        if (c.with_sum) sum = SumOfFractions{0.5, std::nullopt, c.gross_dcgl};
        const SetupInDesignUnits read = ScanMDCInDesignUnits(setup, sum);
        ASSERT_EQ(bool(read), c.mdc_after.has_value()) << c.what;
        if (read) {
            EXPECT_EQ(read->scan_mdc, c.mdc_after) << c.what;
        } else {
            EXPECT_EQ(read.refusal().kind, RefusalKind::ScanMDCNeedsGrossDCGL) << c.what;
            EXPECT_EQ(read.message(), kScanMDCNeedsGrossDCGL) << c.what;
        }
    }
}

TEST(ScanMDCUnits, TitleNamesTheUnit) {
    struct Case {
        bool sum;
        const char* unit;
        const char* title;
    };
    const std::vector<Case> cases = {
        {false, "", "Scan MDC (the DCGL's unit)"},
        {false, "Bq/kg", "Scan MDC (Bq/kg)"},
        {true, "", "Scan MDC (gross activity)"},
        {true, "Bq/kg", "Scan MDC (Bq/kg, gross activity)"},
    };
    for (const Case& c : cases) EXPECT_EQ(ScanMDCTitle(c.sum, c.unit), c.title);
}

}  // namespace
}  // namespace valdris
