#include "design_inputs.h"

#include <cmath>

#include "input_rules.h"
#include "number_text.h"
#include "valdris_power.h"

namespace valdris::cli {

namespace {

// The window shows a second line, "The previous DCGL has been kept."; here
// there is no previous DCGL to keep.
std::string FirstLine(const std::string& message) { return message.substr(0, message.find("\r\n")); }

bool CurveIsFinite(const DesignState& state) {
    for (int i = 1; i <= kCurvePoints; ++i) {
        if (!std::isfinite(state.CurveX[i]) || !std::isfinite(state.CurvePower[i])) return false;
    }
    return true;
}

bool ResultsAreNumbers(TestKind test, const DesignState& state) {
    if (test == TestKind::WRS && !std::isfinite(state.WRSCriticalValue)) return false;
    return CurveIsFinite(state);
}

const std::string kDesignNotANumber =
    "The design gave a result that is not a number for these inputs; nothing is reported.";

}  // namespace

std::optional<std::string> CheckDecisionErrors(double alpha, double beta) {
    const float a = ToSingle(alpha);
    const float b = ToSingle(beta);
    // The joint rule comes first for both, so it also covers beta's turn.
    if (rules::BothAtLeastHalf(a, b)) return rules::kAlphaBetaBothLarge;
    if (!rules::AlphaInRange(a)) return rules::kAlphaRange;
    if (!rules::BetaInRange(b)) return rules::kBetaRange;
    return std::nullopt;
}

std::optional<std::string> CheckDCGL(double dcgl) {
    if (!rules::DCGLUsable(dcgl)) return FirstLine(rules::kDCGLUnusable);
    return std::nullopt;
}

std::optional<std::string> CheckSigma(double sigma, double dcgl) {
    const float s = ToSingle(sigma);
    if (!rules::SigmaPositive(s)) return rules::kSigmaNotPositive;
    if (!rules::SigmaWithinTenDCGL(s, dcgl)) return rules::kSigmaTooLarge;
    return std::nullopt;
}

std::optional<std::string> CheckLBGR(double lbgr, double dcgl) {
    if (lbgr < 0.0) return rules::kLBGRNegative;
    // The window lets an LBGR equal to the DCGL through and then moves it to
    // 999 thousandths; taken as given it would leave no shift at all.
    if (lbgr >= dcgl) return rules::kLBGRAboveDCGL;
    return std::nullopt;
}

std::optional<std::string> CheckInputs(const DesignInputs& inputs) {
    if (auto refusal = CheckDecisionErrors(inputs.alpha, inputs.beta)) return refusal;
    if (auto refusal = CheckDCGL(inputs.dcgl)) return refusal;
    if (auto refusal = CheckSigma(inputs.sigma, inputs.dcgl)) return refusal;
    return CheckLBGR(inputs.lbgr, inputs.dcgl);
}

DesignState PrepareState(const DesignInputs& inputs) {
    DesignState state;
    state.Alpha = ToSingle(inputs.alpha);
    state.Beta = ToSingle(inputs.beta);
    state.Sigma = ToSingle(inputs.sigma);
    state.DCGL = inputs.dcgl;
    state.LBGR = inputs.lbgr;
    state.Delta = ToSingle(state.DCGL - state.LBGR);
    state.DoverS = static_cast<double>(state.Delta) / static_cast<double>(state.Sigma);
    return state;
}

DesignRun RunDesign(TestKind test, const DesignInputs& inputs) {
    if (auto refusal = CheckInputs(inputs)) return {std::nullopt, *refusal};

    DesignState state = PrepareState(inputs);
    // A shift that vanishes when rounded to single precision leaves no design.
    if (!(state.DoverS > 0.0) || !std::isfinite(state.DoverS)) return {std::nullopt, rules::kSampleSizeTooLarge};

    const DesignOutcome outcome = test == TestKind::Sign ? DesignSignTest(state) : DesignWRSTest(state);
    if (outcome == DesignOutcome::SampleSizeOutOfRange) return {std::nullopt, rules::kSampleSizeTooLarge};
    if (!ResultsAreNumbers(test, state)) return {std::nullopt, kDesignNotANumber};
    return {state, {}};
}

}  // namespace valdris::cli
