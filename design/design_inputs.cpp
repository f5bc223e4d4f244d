// SPDX-License-Identifier: Apache-2.0
#include "design_inputs.h"

#include <cmath>

#include "number_text.h"
#include "valdris_power.h"

namespace valdris {

namespace {

bool CurveIsFinite(const DesignState& state) {
    for (int i = 1; i <= kCurvePoints; ++i) {
        if (!std::isfinite(state.CurveX[i]) || !std::isfinite(state.CurvePower[i])) return false;
    }
    return true;
}

const Refusal kSampleSizeRefusal{rules::kSampleSizeTooLarge, MessageIcon::Exclamation};
const Refusal kDesignNotANumber{
    "The design gave a result that is not a number for these inputs; nothing is reported.",
    MessageIcon::Exclamation};

}  // namespace

std::optional<InputRefusal> CheckEachInput(const DesignInputs& inputs) {
    const float alpha = ToSingle(inputs.alpha);
    const float beta = ToSingle(inputs.beta);
    using In = DesignInput;
    auto named = [](In input, std::optional<Refusal> refusal) -> std::optional<InputRefusal> {
        if (!refusal) return std::nullopt;
        return InputRefusal{input, *refusal};
    };
    if (auto r = named(In::Alpha, rules::DecisionErrorRefusal(alpha, beta, rules::DecisionError::Alpha))) return r;
    if (auto r = named(In::Beta, rules::DecisionErrorRefusal(alpha, beta, rules::DecisionError::Beta))) return r;
    if (auto r = named(In::DCGL, rules::DCGLRefusal(inputs.dcgl))) return r;
    if (auto r = named(In::Sigma, rules::SigmaRefusal(ToSingle(inputs.sigma), inputs.dcgl))) return r;
    if (auto r = named(In::LBGR, rules::LBGRRefusal(inputs.lbgr, inputs.dcgl))) return r;
    if (inputs.lbgr == inputs.dcgl) return InputRefusal{In::LBGR, {rules::kLBGRAboveDCGL, MessageIcon::Exclamation}};
    return std::nullopt;
}

std::optional<Refusal> CheckInputs(const DesignInputs& inputs) {
    if (auto refused = CheckEachInput(inputs)) return refused->refusal;
    return std::nullopt;
}

void UpdateShift(DesignState& state) {
    state.Delta = ToSingle(state.DCGL - state.LBGR);
    state.DoverS = static_cast<double>(state.Delta) / static_cast<double>(state.Sigma);
}

DesignState PrepareState(const DesignInputs& inputs) {
    DesignState state;
    state.Alpha = ToSingle(inputs.alpha);
    state.Beta = ToSingle(inputs.beta);
    state.Sigma = ToSingle(inputs.sigma);
    state.DCGL = inputs.dcgl;
    state.LBGR = inputs.lbgr;
    UpdateShift(state);
    return state;
}

DesignResult RunTestDesign(TestKind test, DesignState& state, std::optional<int32_t> given_n) {
    const bool sign = test == TestKind::Sign;
    const DesignOutcome outcome = given_n ? (sign ? DesignSignTestForSize(state, *given_n)
                                                  : DesignWRSTestForSize(state, *given_n))
                                          : (sign ? DesignSignTest(state) : DesignWRSTest(state));
    if (outcome == DesignOutcome::SampleSizeOutOfRange) return DesignResult::SampleSizeTooLarge;
    if (test == TestKind::WRS && !std::isfinite(state.WRSCriticalValue)) return DesignResult::NotANumber;
    if (!CurveIsFinite(state)) return DesignResult::NotANumber;
    return DesignResult::Shown;
}

DesignRun RunDesign(TestKind test, const DesignInputs& inputs, std::optional<int32_t> given_n) {
    if (auto refusal = CheckInputs(inputs)) return {std::nullopt, refusal};

    DesignState state = PrepareState(inputs);
    // A shift that vanishes when rounded to single precision leaves no design.
    if (!(state.DoverS > 0.0) || !std::isfinite(state.DoverS)) return {std::nullopt, kSampleSizeRefusal};

    switch (RunTestDesign(test, state, given_n)) {
    case DesignResult::Shown: return {state, std::nullopt};
    case DesignResult::SampleSizeTooLarge: return {std::nullopt, kSampleSizeRefusal};
    case DesignResult::NotANumber: break;
    }
    return {std::nullopt, kDesignNotANumber};
}

}  // namespace valdris
