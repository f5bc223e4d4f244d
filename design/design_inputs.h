// SPDX-License-Identifier: Apache-2.0
#pragma once
// From the five design inputs to a design state and a finished design: the
// rule order and the steps that the design window's handlers and the
// command-line companion share.

#include <cstdint>
#include <optional>
#include <string>

#include "design_state.h"
#include "input_rules.h"
#include "outcome.h"
#include "valdris_power.h"

namespace valdris {

enum class TestKind { Sign, WRS };

// The inputs as entered, before any rounding. The defaults are the design
// window's.
struct DesignInputs {
    double alpha = 0.05;
    double beta = 0.05;
    double sigma = 0.5;
    double dcgl = 1.0;
    double lbgr = 0.5;
};

// An input left unchecked: a sweep checks the others before it varies one.
enum class UncheckedInput { None, Sigma, LBGR };

// All rules in the order a design is entered: decision errors, DCGL, sigma,
// LBGR. An LBGR equal to the DCGL is refused too (when all are checked):
// taken as given it leaves no shift at all.
std::optional<Refusal> CheckInputs(const DesignInputs& inputs, UncheckedInput unchecked = UncheckedInput::None);

// The same rules, saying which input the first refusal belongs to (a plan
// file names the key): the joint alpha-beta rule counts as alpha's.
enum class DesignInput { Alpha, Beta, Sigma, DCGL, LBGR };
struct InputRefusal {
    DesignInput input;
    Refusal refusal;
};
std::optional<InputRefusal> CheckEachInput(const DesignInputs& inputs,
                                           UncheckedInput unchecked = UncheckedInput::None);

// Delta = DCGL - LBGR in double, rounded to single; DoverS = Delta / Sigma.
void UpdateShift(DesignState& state);

// The state the design routines read: alpha, beta and sigma rounded to
// single precision, then the shift. Only for inputs that CheckInputs took.
DesignState PrepareState(const DesignInputs& inputs);

// The chosen test's design routine, or, with a given sample size (each
// area's for WRS, at least 1), the same routine's critical value and curve
// for that size.
DesignOutcome EngineDesign(TestKind test, DesignState& state, std::optional<int32_t> given_n);

// The power at the state's own D/s for the sizes it holds.
double PowerAtLBGR(TestKind test, const DesignSummary& state);

// The engine's entry points as the faces reach them. The engine's earlier
// form, kept to prove that the companion's output has not changed, stands
// in through the same two.
struct DesignEngine {
    DesignOutcome (*design)(TestKind test, DesignState& state, std::optional<int32_t> given_n);
    double (*power_at_lbgr)(TestKind test, const DesignSummary& state);
    bool exact_quantile = false;  // the sizes from the exact normal quantile
    // The size a Sign design chooses, without designing its curve; where
    // null, the whole design is run for it.
    std::optional<int32_t> (*sign_size)(const DesignSummary& state) = nullptr;
};
std::optional<int32_t> EngineSignSize(const DesignSummary& state);
inline constexpr DesignEngine kEngine{EngineDesign, PowerAtLBGR, false, EngineSignSize};

// The same design steps with the exact normal quantile in place of the
// rational approximation (sizes and approximate critical values); the power
// formulas are the same.
DesignOutcome EngineDesignExactQuantile(TestKind test, DesignState& state, std::optional<int32_t> given_n);
std::optional<int32_t> EngineSignSizeExactQuantile(const DesignSummary& state);
inline constexpr DesignEngine kExactQuantileEngine{EngineDesignExactQuantile, PowerAtLBGR, true,
                                                   EngineSignSizeExactQuantile};

// Whether any data can pass the design's critical value (passable.h).
bool CanPass(TestKind test, const DesignSummary& state);
// The smallest size (each area's for WRS) that can pass at the alpha.
std::optional<int32_t> SmallestPassableN(TestKind test, float alpha);

// The power at the LBGR as every face shows it: the engine's, or 0 for a
// design that no data can pass.
double ShownPowerAtLBGR(TestKind test, const DesignSummary& state, const DesignEngine& engine = kEngine);

// Runs the design routine. Results that cannot be shown (a sample size beyond
// 32 bits, a critical value or curve that is not a number) leave nothing to
// show. A design that no data can pass gets a curve of zeros, its true power.
enum class DesignResult { Shown, SampleSizeTooLarge, NotANumber };
DesignResult RunTestDesign(TestKind test, DesignState& state, std::optional<int32_t> given_n = std::nullopt,
                           const DesignEngine& engine = kEngine);

// Checks the inputs and runs the chosen design routine on them: the
// finished design, or why it was refused.
Outcome<DesignState> RunDesign(TestKind test, const DesignInputs& inputs, std::optional<int32_t> given_n = std::nullopt,
                    const DesignEngine& engine = kEngine);

}  // namespace valdris
