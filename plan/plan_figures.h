// SPDX-License-Identifier: Apache-2.0
#pragma once
// The figures of one design as a plan shows and the companion reports them:
// the sizes, the critical value, the power at the LBGR and the cost, for a
// designed or a given sample size. Every face computes them here, so a unit
// of a plan and a single design with the same inputs agree to the bit.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "design_inputs.h"
#include "design_state.h"
#include "input_rules.h"
#include "outcome.h"
#include "shared_optional.h"
#include "shared_room.h"

namespace valdris {

// What a sample costs; either part may be missing (then it counts 0), and a
// design with neither has no cost.
struct SampleCosts {
    std::optional<double> fixed;
    std::optional<double> per_sample;
    bool Given() const { return fixed.has_value() || per_sample.has_value(); }
    bool operator==(const SampleCosts& other) const {
        return fixed == other.fixed && per_sample == other.per_sample;
    }
};

// A given sample size: a whole number from 1 to the 32-bit limit.
constexpr double kLargestGivenSize = 2147483647;
inline const std::string kGivenSizeRange = "The sample size must be a whole number from 1 to 2147483647.";
// A cost: from 0 to a bound that keeps every total finite (even for the
// largest sizes) and exact to well below a cent.
constexpr double kLargestCost = 1e15;
inline const std::string kCostRange = "A cost must be a number from 0 to 1000000000000000.";

std::optional<Refusal> GivenSizeRefusal(double n);
std::optional<Refusal> CostRefusal(double cost);
// The same rules on a size or a cost written as text (a number, nothing
// else), as every face reads one.
Outcome<int32_t> GivenSizeFromText(const std::string& text);
Outcome<double> CostFromText(const std::string& text);

// A design's powers, indexed as DesignState::CurvePower.
using CurvePowers = std::array<double, kCurvePoints + 1>;

// Whether the figures keep the curve's powers as designed. A writer of every
// unit's curve keeps them rather than design each unit twice; a plan held
// for editing does not (they would be most of its memory).
enum class CurveKept { No, Yes };
// Where kept curves go: side by side, shared by the figures that keep them.
using CurveRoom = SharedRoom<CurvePowers>;

struct DesignFigures {
    TestKind test = TestKind::Sign;
    // The inputs as stored and the results. The curve is not kept (a plan
    // of many units would hold mostly curves): DesignCurve forms it again.
    DesignSummary state;
    const DesignEngine* engine = &kEngine;  // the one that designed it
    int32_t n = 0;              // survey unit
    bool size_given = false;    // n was given, not designed
    int32_t n_reference = 0;    // reference area: the WRS test's, 0 for Sign
    double critical_value = 0;  // Sign: a whole number; WRS: the rank sum as computed
    double power_at_lbgr = 0;   // probability that a unit at the LBGR passes
    // A given size: the N the design would have chosen, shown beside it.
    std::optional<int32_t> n_designed;
    // The samples taken in the survey unit: n, or more where the field's
    // elevated-area check adds some (WithFinalN).
    int32_t final_n = 0;
    std::optional<double> cost;  // fixed + per sample x (final_n + n_reference)
    // No data can exceed the critical value (every power is then 0); the
    // smallest size that can pass at the design's alpha.
    bool can_pass = true;
    std::optional<int32_t> smallest_passable_n;
    bool exact_quantile = false;  // sized with the exact normal quantile
    SharedOptional<CurvePowers> curve_powers;  // where a CurveRoom was given
};

// The figures once the field's final N is known: the cost counts the
// samples that will be taken, not only those the design asks for.
DesignFigures WithFinalN(DesignFigures figures, const SampleCosts& costs, int32_t final_n);

// The figures' state with its power curve: the powers kept, or formed again
// by the engine that designed them from the stored inputs; the same bits as
// when designed either way.
DesignState DesignCurve(const DesignFigures& figures);

// The power at the LBGR falls short of 1 - beta (a given size too small).
bool PowerBelowTarget(const DesignFigures& figures);

// The figures, or the first refusal and the input it belongs to. A design
// the engine cannot size (D/s too small) counts as the LBGR's refusal.
using FiguresRun = Outcome<DesignFigures, InputRefusal>;

// The given size and the costs must have passed their rules. The figures
// point at the engine, which must outlive them (the engines are constants).
FiguresRun ComputeFigures(TestKind test, const DesignInputs& inputs, std::optional<int32_t> given_n,
                          const SampleCosts& costs, const DesignEngine& engine = kEngine,
                          CurveRoom* keep_curve = nullptr);

std::optional<double> TotalCost(const SampleCosts& costs, int32_t n, int32_t n_reference);

}  // namespace valdris
