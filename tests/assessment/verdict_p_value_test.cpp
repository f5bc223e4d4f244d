// SPDX-License-Identifier: Apache-2.0
// The p-value printed beside a verdict is the one computed as the critical
// value is; the data's own p-value stands beside it, labelled, with a note
// when it alone would reverse the verdict. And a design no data can pass
// shows power 0 as designed and retrospectively.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "assessment_texts.h"
#include "data_assessment.h"
#include "design_inputs.h"

namespace valdris {
namespace {

std::string Figure(const AssessmentTexts& texts, const std::string& label) {
    for (const ReportLine& line : texts.figures) {
        if (line.label == label) return line.value;
    }
    return "(none)";
}

// 32 reference values ranked 20..48, 50, 63 and 64 among 64: W = 1163, just
// above the default WRS design's critical value 1162.475.
void BoundaryData(std::vector<double>& survey, std::vector<double>& reference) {
    for (int rank = 1; rank <= 64; ++rank) {
        const bool in_reference = (rank >= 20 && rank <= 48) || rank == 50 || rank == 63 || rank == 64;
        (in_reference ? reference : survey).push_back(rank);
    }
}

TEST(VerdictPValue, TheDefaultWRSDesignPassesBesideAnExactPValueAboveAlpha) {
    DesignState design = PrepareState(DesignInputs{});
    ASSERT_EQ(RunTestDesign(TestKind::WRS, design), DesignResult::Shown);
    design.DCGL = 0;  // the ranks stay as given: no value moves past another
    std::vector<double> survey, reference;
    BoundaryData(survey, reference);
    const AssessmentRun run = AssessData(TestKind::WRS, design, survey, reference);
    ASSERT_TRUE(run);
    const DataAssessment& a = *run;
    EXPECT_EQ(a.statistic, 1163);
    EXPECT_TRUE(a.passes);
    EXPECT_TRUE(a.p_value_disagrees);
    EXPECT_LT(a.decision_p_value, 0.05);
    const AssessmentTexts texts = MakeAssessmentTexts(a);
    const struct {
        std::string label, value;
    } rows[] = {
        {"p-value", "0.0493 (normal approximation, as the critical value)"},
        {"Exact p-value", "0.0501 (exact)"},
        {"p-value Note", "The exact p-value, 0.0501, is not below alpha = 0.05: alone it would fail the survey unit; "
                         "the verdict follows the critical value."},
    };
    for (const auto& row : rows) EXPECT_EQ(Figure(texts, row.label), row.value) << row.label;
}

struct ImpassableRow {
    TestKind test;
    DesignInputs inputs;
    int32_t smallest;
};

TEST(Impassable, DesignsThatNoDataCanPassShowPowerZero) {
    const ImpassableRow rows[] = {
        {TestKind::Sign, {0.05, 0.5, 0.5, 1, 0}, 5},
        {TestKind::WRS, {0.1, 0.5, 0.25, 1, 0.5}, 3},
        {TestKind::WRS, {0.5, 0.25, 0.1, 1, 0.5}, 2},
    };
    for (const ImpassableRow& row : rows) {
        const Outcome<DesignState> run = RunDesign(row.test, row.inputs);
        ASSERT_TRUE(run);
        EXPECT_FALSE(CanPass(row.test, *run));
        EXPECT_EQ(SmallestPassableN(row.test, run->Alpha), row.smallest);
        EXPECT_EQ(ShownPowerAtLBGR(row.test, *run), 0);
        for (int i = 1; i <= kCurvePoints; ++i) EXPECT_EQ(run->CurvePower[i], 0) << i;
    }
    // A design that can pass keeps every figure.
    const Outcome<DesignState> defaults = RunDesign(TestKind::Sign, DesignInputs{});
    EXPECT_TRUE(CanPass(TestKind::Sign, *defaults));
    EXPECT_EQ(ShownPowerAtLBGR(TestKind::Sign, *defaults), PowerAtLBGR(TestKind::Sign, *defaults));
}

// Four tight measurements below the DCGL against a design of four: S+ = 4
// cannot exceed 4, and the power with their sigma is 0, not 1.
TEST(Impassable, RetrospectivePowerOfFourTightMeasurements) {
    const Outcome<DesignState> run = RunDesign(TestKind::Sign, {0.05, 0.5, 0.5, 1, 0});
    const AssessmentRun assessed = AssessData(TestKind::Sign, *run, {0.1, 0.11, 0.12, 0.13}, {});
    ASSERT_TRUE(assessed && assessed->retrospective);
    EXPECT_FALSE(assessed->passes);
    EXPECT_EQ(assessed->retrospective->power_at_lbgr, 0);
    EXPECT_EQ(assessed->designed_power_at_lbgr, 0);
}

}  // namespace
}  // namespace valdris
