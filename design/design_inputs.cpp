// SPDX-License-Identifier: Apache-2.0
#include "design_inputs.h"

#include <cmath>

#include "number_text.h"
#include "passable.h"
#include "quantile_choice.h"
#include "valdris_power.h"

namespace valdris {

namespace {

bool CurveIsFinite(const DesignState& state) {
    for (int i = 1; i <= kCurvePoints; ++i) {
        if (!std::isfinite(state.CurveX[i]) || !std::isfinite(state.CurvePower[i])) return false;
    }
    return true;
}

const Refusal kSampleSizeRefusal = rules::Message(RefusalKind::SampleSizeTooLarge);
const Refusal kDesignNotANumber = rules::Message(RefusalKind::DesignNotANumber);

}  // namespace

std::optional<InputRefusal> CheckEachInput(const DesignInputs& inputs, UncheckedInput unchecked) {
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
    if (unchecked != UncheckedInput::Sigma) {
        if (auto r = named(In::Sigma, rules::SigmaRefusal(ToSingle(inputs.sigma), inputs.dcgl))) return r;
    }
    if (unchecked == UncheckedInput::LBGR) return std::nullopt;
    if (auto r = named(In::LBGR, rules::LBGRRefusal(inputs.lbgr, inputs.dcgl))) return r;
    if (unchecked == UncheckedInput::None && inputs.lbgr == inputs.dcgl) {
        return InputRefusal{In::LBGR, rules::Message(RefusalKind::LBGRAboveDCGL)};
    }
    return std::nullopt;
}

std::optional<Refusal> CheckInputs(const DesignInputs& inputs, UncheckedInput unchecked) {
    if (auto refused = CheckEachInput(inputs, unchecked)) return refused->refusal;
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

DesignOutcome EngineDesign(TestKind test, DesignState& state, std::optional<int32_t> given_n) {
    const bool sign = test == TestKind::Sign;
    return given_n ? (sign ? DesignSignTestForSize(state, *given_n) : DesignWRSTestForSize(state, *given_n))
                   : (sign ? DesignSignTest(state) : DesignWRSTest(state));
}

DesignOutcome EngineDesignExactQuantile(TestKind test, DesignState& state, std::optional<int32_t> given_n) {
    const bool sign = test == TestKind::Sign;
    if (given_n) {
        return sign ? DesignSignTestForSizeWith(state, *given_n, ExactNormalQuantile)
                    : DesignWRSTestForSizeWith(state, *given_n, ExactNormalQuantile);
    }
    return sign ? DesignSignTestWith(state, ExactNormalQuantile) : DesignWRSTestWith(state, ExactNormalQuantile);
}

std::optional<int32_t> EngineSignSize(const DesignSummary& state) { return SignDesignedSizeWith(state, NormalQuantile); }

std::optional<int32_t> EngineSignSizeExactQuantile(const DesignSummary& state) {
    return SignDesignedSizeWith(state, ExactNormalQuantile);
}

bool CanPass(TestKind test, const DesignSummary& state) {
    if (test == TestKind::Sign) return SignCanPass(state.SignN, state.SignCriticalValue);
    return WRSCanPass(state.WRSN, state.WRSN, state.WRSCriticalValue);
}

std::optional<int32_t> SmallestPassableN(TestKind test, float alpha) {
    return test == TestKind::Sign ? SmallestPassableSignN(alpha) : SmallestPassableWRSN(alpha);
}

double ShownPowerAtLBGR(TestKind test, const DesignSummary& state, const DesignEngine& engine) {
    return CanPass(test, state) ? engine.power_at_lbgr(test, state) : 0;
}

double PowerAtLBGR(TestKind test, const DesignSummary& state) {
    if (test == TestKind::Sign) return SignPower(state.SignN, state.SignCriticalValue, state.DoverS);
    return WRSPower(state.WRSN, state.WRSCriticalValue, state.DoverS);
}

DesignResult RunTestDesign(TestKind test, DesignState& state, std::optional<int32_t> given_n,
                           const DesignEngine& engine) {
    const DesignOutcome outcome = engine.design(test, state, given_n);
    if (outcome == DesignOutcome::SampleSizeOutOfRange) return DesignResult::SampleSizeTooLarge;
    if (test == TestKind::WRS && !std::isfinite(state.WRSCriticalValue)) return DesignResult::NotANumber;
    if (!CurveIsFinite(state)) return DesignResult::NotANumber;
    if (!CanPass(test, state)) {
        for (int i = 1; i <= kCurvePoints; ++i) state.CurvePower[i] = 0;
    }
    return DesignResult::Shown;
}

Outcome<DesignState> RunDesign(TestKind test, const DesignInputs& inputs, std::optional<int32_t> given_n,
                                 const DesignEngine& engine) {
    if (auto refusal = CheckInputs(inputs)) return *refusal;

    DesignState state = PrepareState(inputs);
    // A shift that vanishes when rounded to single precision leaves no design.
    if (!(state.DoverS > 0.0) || !std::isfinite(state.DoverS)) return kSampleSizeRefusal;

    switch (RunTestDesign(test, state, given_n, engine)) {
    case DesignResult::Shown: return state;
    case DesignResult::SampleSizeTooLarge: return kSampleSizeRefusal;
    case DesignResult::NotANumber: break;
    }
    return kDesignNotANumber;
}

}  // namespace valdris
