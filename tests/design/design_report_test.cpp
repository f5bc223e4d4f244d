// SPDX-License-Identifier: Apache-2.0
// The report's words for each kind of design: the decision rule with the
// shown figures, the method each size range was computed by, and the power
// at the chart's labelled concentrations.
#include <gtest/gtest.h>

#include <string>

#include "design_inputs.h"
#include "design_report.h"

namespace valdris {
namespace {

struct MethodCase {
    const char* name;
    TestKind test;
    double sigma;  // with alpha = beta = 0.05, DCGL 1, LBGR 0.5
    const char* size;
    const char* critical_value;
    const char* critical_value_method;  // start of the method note's line
    const char* curve_method;
};

const ReportEntries kEntries{"Cs-137", "0.05", "0.05", "x", "1", "0.5", "1"};

DesignState Designed(TestKind test, double sigma) {
    DesignInputs inputs;
    inputs.sigma = sigma;
    DesignState state = PrepareState(inputs);
    EXPECT_EQ(RunTestDesign(test, state), DesignResult::Shown);
    return state;
}

std::string MethodLine(const DesignReport& report, const std::string& label) {
    for (const ReportLine& line : report.method) {
        if (line.label == label) return line.value;
    }
    return "(none)";
}

bool StartsWith(const std::string& text, const std::string& start) { return text.rfind(start, 0) == 0; }

class ReportMethodTest : public ::testing::TestWithParam<MethodCase> {};

// The Sign test searches its critical value exactly below 50 samples and
// computes its curve exactly up to 50; the WRS test is exact up to 20.
TEST_P(ReportMethodTest, NamesTheRuleAndTheComputationOfThisSize) {
    const MethodCase& c = GetParam();
    const DesignReport report = MakeDesignReport(c.test, Designed(c.test, c.sigma), kEntries);

    const std::vector<ReportLine> sizes = report.results;
    ASSERT_EQ(sizes.size(), c.test == TestKind::WRS ? 3u : 2u);
    EXPECT_EQ(sizes.front().value, c.size);
    EXPECT_EQ(sizes.back().label, "Critical Value");
    EXPECT_EQ(sizes.back().value, c.critical_value);

    const std::string n = c.size;
    const std::string cv = c.critical_value;
    if (c.test == TestKind::Sign) {
        EXPECT_NE(report.decision_rule.find("passes when more than " + cv + " of its " + n +
                                            " measurements lie below the DCGL"),
                  std::string::npos)
            << report.decision_rule;
    } else {
        EXPECT_NE(report.decision_rule.find("passes when the rank sum W exceeds " + cv), std::string::npos);
        EXPECT_NE(report.decision_rule.find("add the DCGL to each of the " + n + " reference-area"),
                  std::string::npos)
            << report.decision_rule;
    }
    EXPECT_TRUE(StartsWith(MethodLine(report, "Critical value"), c.critical_value_method))
        << MethodLine(report, "Critical value");
    EXPECT_TRUE(StartsWith(MethodLine(report, "Power curve"), c.curve_method)) << MethodLine(report, "Power curve");
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, ReportMethodTest,
    ::testing::Values(
        MethodCase{"SignExact", TestKind::Sign, 0.5, "29", "19", "Exact binomial", "Exact binomial"},
        MethodCase{"SignFifty", TestKind::Sign, 0.71, "50", "31", "Normal approximation", "Exact binomial"},
        MethodCase{"SignNormal", TestKind::Sign, 1.0, "89", "52", "Normal approximation", "Normal approximation"},
        MethodCase{"WRSExact", TestKind::WRS, 0.5 / 3, "10", "127", "Exact distribution", "Normal approximation"},
        MethodCase{"WRSNormal", TestKind::WRS, 0.5, "32", "1162", "Normal approximation", "Normal approximation"}),
    [](const auto& info) { return std::string(info.param.name); });

// Labelled like the chart; read off the curve points at 2.5 % steps.
TEST(ReportPowerTest, GivesThePassProbabilityAtTheChartLabels) {
    DesignState state = Designed(TestKind::Sign, 0.5);
    state.CurvePower[60] = -4e-16;  // rounding residue is no probability
    const DesignReport report = MakeDesignReport(TestKind::Sign, state, kEntries);
    std::string labels;
    for (const ReportLine& point : report.power) labels += point.label + " ";
    EXPECT_EQ(labels, "10% 30% 50% 70% 90% 100% 110% 130% 150% ");
    EXPECT_EQ(report.power[2].value, "0.989");  // at the LBGR
    EXPECT_EQ(report.power[5].value, "0.031");  // at the DCGL
    EXPECT_EQ(report.power[8].value, "0.000");
}

// The copied table keeps two columns whatever the radionuclide text holds.
TEST(ReportCopyTest, KeepsEachValueInOneCell) {
    ReportEntries entries = kEntries;
    entries.radionuclide = "Co-60\tunit 3\r\nnorth";
    const std::string text = ReportAsTabSeparated(MakeDesignReport(TestKind::Sign, Designed(TestKind::Sign, 0.5), entries));
    EXPECT_EQ(text.substr(0, text.find('\n') + 1), "Radionuclide\tCo-60 unit 3  north\n");
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find('\n', start);
        const std::string line = text.substr(start, end - start);
        EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 1) << line;
        start = end + 1;
    }
}

}  // namespace
}  // namespace valdris
