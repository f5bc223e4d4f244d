// SPDX-License-Identifier: Apache-2.0
// The companion's sweeps and single-design reports written twice through its
// own code, once on the engine and once on the engine's frozen earlier form
// (reference_run.h): the engine was restructured for speed only, so not one
// byte of the output may differ, refused rows included.

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <sstream>
#include <string>

#include "reference_run.h"
#include "report.h"
#include "sweep.h"
#include "sweep_report.h"

// Rows per sweep are divided by this; a slower build (the sanitizers) sets
// it higher.
#ifndef VALDRIS_SWEEP_ROW_DIVISOR
#define VALDRIS_SWEEP_ROW_DIVISOR 1
#endif

namespace valdris::cli {
namespace {

using reference::kReferenceEngine;

// Empty when the texts are equal, else the first line where they part.
std::string FirstDifference(const std::string& ours, const std::string& theirs) {
    if (ours == theirs) return {};
    std::istringstream a(ours), b(theirs);
    std::string line_a, line_b;
    for (int line = 1;; ++line) {
        const bool more_a = static_cast<bool>(std::getline(a, line_a));
        const bool more_b = static_cast<bool>(std::getline(b, line_b));
        if (!more_a && !more_b) return "only the final line break differs";
        if (more_a != more_b || line_a != line_b) {
            return "line " + std::to_string(line) + ":\n  engine:    " + (more_a ? line_a : "(ended)") +
                   "\n  reference: " + (more_b ? line_b : "(ended)");
        }
    }
}

// Fixed inputs: alpha, beta, sigma, DCGL, LBGR.
const DesignInputs kDefaults{};
const DesignInputs kSmallErrors{0.01, 0.01, 0.5, 1, 0.5};
const DesignInputs kLargeAlpha{0.4, 0.05, 0.5, 1, 0.5};
// The largest alpha: cumulative probabilities meet the threshold of one
// half exactly (n odd), where only a strict comparison gives the value.
const DesignInputs kHalfAlpha{0.5, 0.05, 0.5, 1, 0.5};
const DesignInputs kRaisedDCGL{0.05, 0.05, 0.5, 2.5, 1.9};
// A shift of 1e-4: sizes beyond 32 bits from a sigma of about 1.5.
const DesignInputs kNarrowShift{0.05, 0.05, 0.5, 1, 0.9999};
// A sigma of 1e-3: an LBGR within about 1e-7 of the DCGL crosses the 32-bit
// limit.
const DesignInputs kSmallSigma{0.05, 0.05, 0.001, 1, 0.5};

enum class Rows { AllDesigned, SomeRefused };

struct SweepCase {
    const char* name;
    TestKind test;
    SweptInput swept;
    OutputFormat format;
    DesignInputs fixed;
    std::optional<int32_t> given_n;
    double from, to;
    int64_t rows;
    Rows expect;
};

using F = OutputFormat;
using S = SweptInput;
constexpr TestKind kSign = TestKind::Sign;
constexpr TestKind kWRS = TestKind::WRS;
constexpr Rows kAll = Rows::AllDesigned;
constexpr Rows kSome = Rows::SomeRefused;
constexpr std::nullopt_t kDesigned = std::nullopt;

// Sigma from 0 (refused) past ten DCGLs (refused); LBGR from below zero
// (refused) past the DCGL (equal and above, refused).
const SweepCase kSweeps[] = {
    {"SignSigmaText", kSign, S::Sigma, F::Text, kDefaults, kDesigned, 0, 12, 2401, kSome},
    {"SignSigmaCsv", kSign, S::Sigma, F::Csv, kDefaults, kDesigned, 0, 12, 2401, kSome},
    {"SignSigmaJson", kSign, S::Sigma, F::Json, kDefaults, kDesigned, 0, 12, 2401, kSome},
    {"WRSSigmaText", kWRS, S::Sigma, F::Text, kDefaults, kDesigned, 0, 12, 2401, kSome},
    {"WRSSigmaCsv", kWRS, S::Sigma, F::Csv, kDefaults, kDesigned, 0, 12, 2401, kSome},
    {"WRSSigmaJson", kWRS, S::Sigma, F::Json, kDefaults, kDesigned, 0, 12, 2401, kSome},
    {"SignLBGRText", kSign, S::LBGR, F::Text, kDefaults, kDesigned, -0.5, 1.2, 1701, kSome},
    {"SignLBGRCsv", kSign, S::LBGR, F::Csv, kDefaults, kDesigned, -0.5, 1.2, 1701, kSome},
    {"SignLBGRJson", kSign, S::LBGR, F::Json, kDefaults, kDesigned, -0.5, 1.2, 1701, kSome},
    {"WRSLBGRText", kWRS, S::LBGR, F::Text, kDefaults, kDesigned, -0.5, 1.2, 1701, kSome},
    {"WRSLBGRCsv", kWRS, S::LBGR, F::Csv, kDefaults, kDesigned, -0.5, 1.2, 1701, kSome},
    {"WRSLBGRJson", kWRS, S::LBGR, F::Json, kDefaults, kDesigned, -0.5, 1.2, 1701, kSome},
    // D/s up to 500: the smallest sizes and the exact tables' edges.
    {"SignTinySigmaJson", kSign, S::Sigma, F::Json, kDefaults, kDesigned, 1e-3, 0.5, 2000, kAll},
    {"WRSTinySigmaText", kWRS, S::Sigma, F::Text, kDefaults, kDesigned, 1e-3, 0.5, 2000, kAll},
    {"SignSmallErrorsSigmaCsv", kSign, S::Sigma, F::Csv, kSmallErrors, kDesigned, 0.01, 10, 2000, kAll},
    {"WRSSmallErrorsLBGRJson", kWRS, S::LBGR, F::Json, kSmallErrors, kDesigned, 0, 0.999, 2000, kAll},
    {"SignLargeAlphaLBGRText", kSign, S::LBGR, F::Text, kLargeAlpha, kDesigned, 0, 0.999, 2000, kAll},
    {"WRSLargeAlphaSigmaCsv", kWRS, S::Sigma, F::Csv, kLargeAlpha, kDesigned, 0.01, 10, 2000, kAll},
    {"SignHalfAlphaSigmaCsv", kSign, S::Sigma, F::Csv, kHalfAlpha, kDesigned, 0.01, 10, 2000, kAll},
    {"WRSHalfAlphaSigmaJson", kWRS, S::Sigma, F::Json, kHalfAlpha, kDesigned, 0.01, 10, 2000, kAll},
    {"SignHalfAlphaGiven15LBGRText", kSign, S::LBGR, F::Text, kHalfAlpha, 15, 0, 0.999, 1000, kAll},
    {"WRSHalfAlphaGiven15LBGRJson", kWRS, S::LBGR, F::Json, kHalfAlpha, 15, 0, 0.999, 1000, kAll},
    {"SignRaisedDCGLSigmaJson", kSign, S::Sigma, F::Json, kRaisedDCGL, kDesigned, 0.01, 25, 2000, kAll},
    {"WRSRaisedDCGLLBGRText", kWRS, S::LBGR, F::Text, kRaisedDCGL, kDesigned, -0.5, 3, 1001, kSome},
    {"SignGiven15SigmaText", kSign, S::Sigma, F::Text, kDefaults, 15, 0.01, 10, 2000, kAll},
    {"WRSGiven15LBGRCsv", kWRS, S::LBGR, F::Csv, kDefaults, 15, -0.5, 1.2, 1701, kSome},
    {"SignGiven60LBGRJson", kSign, S::LBGR, F::Json, kDefaults, 60, 0, 0.999, 2000, kAll},
    {"WRSGiven60SigmaText", kWRS, S::Sigma, F::Text, kDefaults, 60, 0.01, 10, 2000, kAll},
    // Sizes up to and beyond 32 bits.
    {"SignNarrowShiftSigmaCsv", kSign, S::Sigma, F::Csv, kNarrowShift, kDesigned, 1e-3, 2, 2000, kSome},
    {"WRSNarrowShiftSigmaJson", kWRS, S::Sigma, F::Json, kNarrowShift, kDesigned, 1e-3, 2, 2000, kSome},
    {"SignNearDCGLLBGRText", kSign, S::LBGR, F::Text, kSmallSigma, kDesigned, 0.9999996, 1.0000001, 2001, kSome},
    {"WRSNearDCGLLBGRCsv", kWRS, S::LBGR, F::Csv, kSmallSigma, kDesigned, 0.9999996, 1.0000001, 2001, kSome},
};

// The case's name stands for it in test names and messages.
void PrintTo(const SweepCase& c, std::ostream* out) { *out << c.name; }

struct Written {
    std::string text;
    int64_t rows = 0;
    int64_t refused = 0;
};

// As the companion's sweep command: plan, fixed inputs, then row by row.
Written WriteSweep(const SweepCase& c, const SweepPlan& plan, const DesignEngine& engine) {
    std::ostringstream out;
    SweepWriter writer(out, c.format, c.test, c.swept, engine);
    writer.Begin();
    Written written;
    RunSweep(
        c.test, c.swept, c.fixed, c.given_n, plan,
        [&](const SweepRow& row) {
            writer.Row(row);
            ++written.rows;
            written.refused += row.run ? 0 : 1;
            return true;
        },
        engine);
    writer.End();
    written.text = out.str();
    return written;
}

class SweepIdentity : public ::testing::TestWithParam<SweepCase> {};

TEST_P(SweepIdentity, OutputIsByteForByteTheSame) {
    const SweepCase& c = GetParam();
    const int64_t rows = c.rows / VALDRIS_SWEEP_ROW_DIVISOR;
    const Outcome<SweepPlan> plan = PlanSweep(c.from, c.to, (c.to - c.from) / static_cast<double>(rows - 1));
    ASSERT_TRUE(plan) << plan.message();
    const std::optional<std::string> refusal = CheckFixedInputs(c.swept, c.fixed);
    ASSERT_FALSE(refusal) << *refusal;

    const Written ours = WriteSweep(c, *plan, kEngine);
    const Written theirs = WriteSweep(c, *plan, kReferenceEngine);
    EXPECT_EQ(FirstDifference(ours.text, theirs.text), "");

    // The range covers what it is meant to: designs, and refusals where named.
    EXPECT_EQ(ours.rows, rows);
    EXPECT_LT(ours.refused, ours.rows);
    EXPECT_EQ(ours.refused > 0, c.expect == Rows::SomeRefused) << ours.refused << " rows refused";
}

INSTANTIATE_TEST_SUITE_P(Sweeps, SweepIdentity, ::testing::ValuesIn(kSweeps),
                         [](const auto& info) { return std::string(info.param.name); });

struct SingleCase {
    const char* name;
    TestKind test;
    DesignInputs inputs;
    std::optional<int32_t> given_n;
    SampleCosts costs;
};

void PrintTo(const SingleCase& c, std::ostream* out) { *out << c.name; }

const SingleCase kSingles[] = {
    {"SignDefaults", kSign, kDefaults, kDesigned, {}},
    {"WRSDefaults", kWRS, kDefaults, kDesigned, {}},
    {"SignSmallErrors", kSign, kSmallErrors, kDesigned, {100, 25}},
    {"WRSSmallErrors", kWRS, kSmallErrors, kDesigned, {100, 25}},
    {"SignLargeAlpha", kSign, kLargeAlpha, kDesigned, {}},
    {"WRSLargeAlpha", kWRS, kLargeAlpha, kDesigned, {}},
    {"SignHalfAlphaGiven15", kSign, kHalfAlpha, 15, {}},
    {"WRSHalfAlphaGiven15", kWRS, kHalfAlpha, 15, {}},
    {"SignRaisedDCGL", kSign, kRaisedDCGL, kDesigned, {}},
    {"WRSRaisedDCGL", kWRS, kRaisedDCGL, kDesigned, {}},
    {"SignGiven15", kSign, kDefaults, 15, {std::nullopt, 40}},
    {"WRSGiven15", kWRS, kDefaults, 15, {}},
    {"SignGiven60", kSign, kDefaults, 60, {}},
    {"WRSGiven60", kWRS, kDefaults, 60, {500, std::nullopt}},
};

// The three forms the companion writes one design in.
std::string WriteSingle(const SingleCase& c, const DesignEngine& engine) {
    const FiguresRun run = ComputeFigures(c.test, c.inputs, c.given_n, c.costs, engine);
    if (!run) return "refused";
    std::ostringstream out;
    WriteTextReport(out, *run);
    WriteJsonReport(out, *run);
    WriteCsvCurve(out, DesignCurve(*run));
    return out.str();
}

class SingleDesignIdentity : public ::testing::TestWithParam<SingleCase> {};

TEST_P(SingleDesignIdentity, ReportsAreByteForByteTheSame) {
    const std::string ours = WriteSingle(GetParam(), kEngine);
    EXPECT_NE(ours, "refused");
    EXPECT_EQ(FirstDifference(ours, WriteSingle(GetParam(), kReferenceEngine)), "");
}

INSTANTIATE_TEST_SUITE_P(Designs, SingleDesignIdentity, ::testing::ValuesIn(kSingles),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace valdris::cli
