// SPDX-License-Identifier: Apache-2.0
// The design check's columns of the plan table: their texts against an
// independent computation (binomial and rank-sum counts, a separate
// simulation), and a kept check that follows its unit's changes.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "check_columns.h"
#include "plan.h"

namespace valdris {
namespace {

// Sigma 0.5 and DCGL 1, as a new unit has them.
PlanUnit Unit(TestKind test, float alpha, float beta, double lbgr = 0.5) {
    PlanUnit unit;
    unit.name = "U";
    unit.test = test;
    unit.alpha = alpha;
    unit.beta = beta;
    unit.lbgr = lbgr;
    return unit;
}

// "0.9512 +- 0.0015": the estimate, and its standard error.
std::pair<double, double> Simulated(const std::string& cell) {
    const std::size_t sign = cell.find(" +- ");
    if (sign == std::string::npos) return {NAN, NAN};
    return {std::stod(cell.substr(0, sign)), std::stod(cell.substr(sign + 4))};
}

TEST(CheckColumns, TextsAgreeWithAnIndependentComputation) {
    struct Case {
        const char* what;
        PlanUnit unit;
        const char* type1;
        // An exact power as its text, or nothing for a simulated one, which
        // must lie within 4 standard errors of a separate simulation.
        const char* power_normal;
        double simulated_normal;
        const char* power_lognormal;
        const char* n_min;
    };
    const Case cases[] = {
        // D/s 1, N 29, critical value 19: binomial tails at 1/2, Phi(1) and
        // the lognormal's P(X < DCGL) at the LBGR.
        {"Sign", Unit(TestKind::Sign, 0.05f, 0.05f), "0.0307", "0.989", NAN, "0.9995", "21 (critical value 14)"},
        // D/s 2, N 4, critical value 4: no S+ can exceed it; no lognormal
        // has the LBGR's mean of 0.
        {"cannot pass", Unit(TestKind::Sign, 0.05f, 0.5f, 0), "0", "0", NAN, "none", "5 (critical value 4)"},
        // 32 + 32, critical value 1162.475: the exact rank-sum tail; the
        // power from 100000 runs of a separate simulation (error 0.0004); 24 a
        // side is the first size whose power there reaches 0.95 (0.9459 at
        // 23, 0.9528 at 24), its exact critical value 668.
        {"WRS", Unit(TestKind::WRS, 0.05f, 0.05f), "0.0501", nullptr, 0.9865, nullptr, "24 (critical value 668)"},
    };
    for (const Case& c : cases) {
        SurveyPlan plan;
        ASSERT_TRUE(plan.Add(c.unit));
        CheckColumnCache cache;
        ASSERT_TRUE(cache.Want(plan.entry(0)));
        ASSERT_TRUE(cache.CheckNext(plan));
        const CheckedDesign* checked = cache.Find(plan.entry(0));
        ASSERT_NE(checked, nullptr);
        auto cell = [&](CheckColumn column) { return CheckCellText(*checked, column); };
        EXPECT_EQ(cell(CheckColumn::Type1Error), c.type1) << c.what;
        EXPECT_EQ(cell(CheckColumn::NMin), c.n_min) << c.what;
        if (c.power_normal) {
            EXPECT_EQ(cell(CheckColumn::PowerNormal), c.power_normal) << c.what;
            EXPECT_EQ(cell(CheckColumn::PowerLognormal), c.power_lognormal) << c.what;
        } else {
            const auto [power, se] = Simulated(cell(CheckColumn::PowerNormal));
            EXPECT_GT(se, 0) << c.what;
            EXPECT_LT(std::abs(power - c.simulated_normal), 4 * std::hypot(se, 0.0004)) << c.what;
            EXPECT_FALSE(std::isnan(Simulated(cell(CheckColumn::PowerLognormal)).second)) << c.what;
        }
    }
}

// A kept check is the unit's only while its design stays; a unit gone
// before its turn is not checked.
TEST(CheckColumns, AKeptCheckFollowsItsUnit) {
    SurveyPlan plan;
    ASSERT_TRUE(plan.Add(Unit(TestKind::Sign, 0.05f, 0.05f)));
    ASSERT_TRUE(plan.Add(Unit(TestKind::Sign, 0.05f, 0.05f)));
    CheckColumnCache cache;
    EXPECT_FALSE(cache.CheckNext(plan));  // nothing asked for, nothing checked
    cache.Want(plan.entry(0));
    ASSERT_TRUE(cache.CheckNext(plan));
    EXPECT_FALSE(cache.Want(plan.entry(0)));
    ASSERT_TRUE(plan.Edit(0, PlanField::Alpha, "0.1"));
    ASSERT_TRUE(cache.Want(plan.entry(0)));
    ASSERT_TRUE(cache.CheckNext(plan));
    // N 23, critical value 15 at alpha 0.1.
    EXPECT_EQ(CheckCellText(*cache.Find(plan.entry(0)), CheckColumn::Type1Error), "0.0466");
    cache.Want(plan.entry(1));
    ASSERT_TRUE(plan.Remove(1));
    EXPECT_FALSE(cache.CheckNext(plan));
}

}  // namespace
}  // namespace valdris
