// SPDX-License-Identifier: Apache-2.0
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "design_inputs.h"
#include "input_rules.h"
#include "number_output.h"
#include "options.h"
#include "refusal_text.h"
#include "sweep.h"

namespace valdris::cli {
namespace {

TEST(ParseOptions, ReadsEveryOption) {
    const auto parsed = ParseOptions({"--test", "WRS", "--alpha", "0.01", "--beta=0.1", "--sigma", "0.3",
                                      "--dcgl", "2", "--lbgr", "-1", "--lbgr", "1.2", "--csv",
                                      "--chart", "out.SVG"});
    ASSERT_TRUE(parsed) << parsed.message();
    const Options& options = *parsed;
    EXPECT_EQ(options.test, TestKind::WRS);
    EXPECT_EQ(options.alpha, "0.01");
    EXPECT_EQ(options.beta, "0.1");
    EXPECT_EQ(options.sigma, "0.3");
    EXPECT_EQ(options.dcgl, "2");
    EXPECT_EQ(options.lbgr, "1.2");  // the last of a repeated option counts
    EXPECT_EQ(options.format, OutputFormat::Csv);
    EXPECT_EQ(options.chart_path, "out.SVG");
}

TEST(ParseOptions, RefusesWrongCommandLines) {
    const std::vector<std::vector<std::string>> cases = {
        {"--frobnicate"}, {"extra"},          {"--alpha"},        {"--test", "t"},  {"--test"},
        {"--json", "--csv"}, {"--text", "--csv"}, {"--json=1"},    {"--chart", "x.jpg"}, {"--chart"},    {"--sweep", "sigma", "1", "2"},
        {"--sweep", "beta", "1", "2", "1"},   {"--sweep", "sigma", "0.1", "1", "0.1", "--chart", "a.png"},
        {"--n"}, {"--plan", "a.vplan", "--sweep", "sigma", "0.1", "1", "0.1"}, {"--plan", "a.vplan", "--chart", "a.png"},
        {"--plan", "a.vplan", "--report", "a.pdf"}, {"--plan", "a.vplan", "--cost-fixed", "1"},
    };
    for (const auto& args : cases) {
        const auto parsed = ParseOptions(args);
        EXPECT_FALSE(parsed) << args[0];
        EXPECT_FALSE(parsed.message().empty()) << args[0];
    }
}

TEST(CheckInputs, AppliesTheWindowRulesInOrder) {
    struct Case {
        DesignInputs inputs;
        std::optional<std::string> refusal;
    };
    const std::string dcgl_unusable = rules::kDCGLUnusable.substr(0, rules::kDCGLUnusable.find('\r'));
    const std::vector<Case> cases = {
        {{0.05, 0.05, 0.5, 1, 0.5}, std::nullopt},
        {{0.5, 0.05, 0.5, 1, 0.5}, std::nullopt},
        {{0.50000001, 0.05, 0.5, 1, 0.5}, std::nullopt},  // 0.5 once single
        {{0.05, 1, 0.5, 1, 0.5}, std::nullopt},
        {{0.05, 0.05, 10, 1, 0.5}, std::nullopt},
        {{0.05, 0.05, 0.5, 1, 0}, std::nullopt},
        {{0.5, 0.5, 0.5, 1, 0.5}, rules::kAlphaBetaBothLarge},
        {{0.6, 0.5, 0.5, 1, 0.5}, rules::kAlphaBetaBothLarge},
        {{0.6, 0.05, 0.5, 1, 0.5}, rules::kAlphaRange},
        {{0, 0.05, 0.5, 1, 0.5}, rules::kAlphaRange},
        {{0.6, 0.05, 0.5, 0, 0.5}, rules::kAlphaRange},  // before the DCGL
        {{0.05, 0, 0.5, 1, 0.5}, rules::kBetaRange},
        {{0.05, 1.01, 0.5, 1, 0.5}, rules::kBetaRange},
        {{0.05, 0.05, 0.5, 0, 0.5}, dcgl_unusable},
        {{0.05, 0.05, 0.5, 1e31, 0.5}, dcgl_unusable},
        {{0.05, 0.05, 0, 1, 0.5}, rules::kSigmaNotPositive},
        {{0.05, 0.05, 1e-50, 1, 0.5}, rules::kSigmaNotPositive},
        {{0.05, 0.05, 10.00001, 1, 0.5}, rules::kSigmaTooLarge},
        {{0.05, 0.05, 1e300, 1, 0.5}, rules::kSigmaTooLarge},
        {{0.05, 0.05, 0.5, 1, -1}, rules::kLBGRNegative},
        {{0.05, 0.05, 0.5, 1, 1}, rules::kLBGRAboveDCGL},
    };
    for (const auto& c : cases) {
        const auto& in = c.inputs;
        EXPECT_EQ(RefusalText(CheckInputs(in)), c.refusal) << in.alpha << ' ' << in.beta << ' ' << in.sigma << ' ' << in.dcgl
                                              << ' ' << in.lbgr;
    }
}

TEST(PrepareState, RoundsAsTheWindowStoresTheInputs) {
    const DesignState state = PrepareState({0.05, 0.1, 0.3, 1, 0.7});
    EXPECT_EQ(state.Alpha, 0.05f);
    EXPECT_EQ(state.Beta, 0.1f);
    EXPECT_EQ(state.Sigma, 0.3f);
    EXPECT_EQ(state.Delta, static_cast<float>(1 - 0.7));
    EXPECT_EQ(state.DoverS, static_cast<double>(state.Delta) / static_cast<double>(0.3f));
}

TEST(RunDesign, RefusesAShiftTooSmallForAnySampleSize) {
    // D/s 1e-6: the sample size leaves the 32-bit range.
    const DesignInputs tiny_shift{0.05, 0.05, 10, 1, 0.99999};
    EXPECT_EQ(RefusalText(RunDesign(TestKind::Sign, tiny_shift).refusal), rules::kSampleSizeTooLarge);
    EXPECT_EQ(RefusalText(RunDesign(TestKind::WRS, tiny_shift).refusal), rules::kSampleSizeTooLarge);
    // The smallest DCGL with an LBGR one step of a double below it.
    const DesignInputs vanishing_shift{0.05, 0.05, 0.00001, 0.000001, std::nextafter(0.000001, 0.0)};
    EXPECT_EQ(RefusalText(RunDesign(TestKind::Sign, vanishing_shift).refusal), rules::kSampleSizeTooLarge);
}

std::vector<double> Values(const Outcome<SweepPlan>& plan) {
    std::vector<double> values;
    for (std::int64_t i = 0; plan && i < plan->rows(); ++i) values.push_back(plan->Value(i));
    return values;
}

TEST(PlanSweep, MultipliesTheStepAndIncludesTheEnd) {
    EXPECT_EQ(Values(PlanSweep(0.1, 0.3, 0.1)), (std::vector<double>{0.1, 0.2, 0.3}));
    EXPECT_EQ(Values(PlanSweep(1, 1, 5)), (std::vector<double>{1}));
    const auto tenths = Values(PlanSweep(0, 1, 0.1));
    ASSERT_EQ(tenths.size(), 11u);
    EXPECT_EQ(tenths[3], 0.3);
    EXPECT_EQ(tenths[10], 1.0);
    const auto largest = PlanSweep(0, kMaxSweepRows - 1, 1);
    ASSERT_TRUE(largest) << largest.message();
    EXPECT_EQ(largest->rows(), kMaxSweepRows);
    EXPECT_EQ(largest->Value(kMaxSweepRows - 1), kMaxSweepRows - 1);
}

TEST(PlanSweep, RefusesRangesThatMakeNoSense) {
    const double kInf = std::numeric_limits<double>::infinity();
    const std::vector<std::array<double, 3>> cases = {
        {0, 1, 0}, {0, 1, -0.1}, {1, 0, 0.1}, {0, kMaxSweepRows, 1}, {-1e308, 1e308, 1}, {0, 1, 1e-300}, {0, kInf, 1}};
    for (const auto& c : cases) {
        const auto plan = PlanSweep(c[0], c[1], c[2]);
        EXPECT_FALSE(plan) << c[0] << ' ' << c[1] << ' ' << c[2];
        EXPECT_FALSE(plan.message().empty());
    }
}

TEST(NumberOutput, MachineFormsReadBackAndQuote) {
    EXPECT_EQ(ExactNumber(0.05f), "0.0500000007");
    EXPECT_EQ(ExactNumber(0.1), "0.10000000000000001");
    EXPECT_EQ(ExactNumber(1.0), "1");
    EXPECT_EQ(std::stod(ExactNumber(1.0 / 3)), 1.0 / 3);
    EXPECT_EQ(JsonString("a\"b\\c\r\n"), "\"a\\\"b\\\\c\\r\\n\"");
    EXPECT_EQ(CsvField("plain"), "plain");
    EXPECT_EQ(CsvField("a, \"b\""), "\"a, \"\"b\"\"\"");
    EXPECT_EQ(OneLine("first\r\nsecond"), "first second");
}

}  // namespace
}  // namespace valdris::cli
