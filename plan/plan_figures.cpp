// SPDX-License-Identifier: Apache-2.0
#include "plan_figures.h"

#include <cmath>

#include "number_text.h"

namespace valdris {

std::optional<Refusal> GivenSizeRefusal(double n) {
    if (!(n >= 1 && n <= kLargestGivenSize) || std::floor(n) != n) {
        return Refusal{RefusalKind::GivenSizeRange, kGivenSizeRange, MessageIcon::Exclamation};
    }
    return std::nullopt;
}

std::optional<Refusal> CostRefusal(double cost) {
    if (!(cost >= 0 && cost <= kLargestCost)) return Refusal{RefusalKind::CostRange, kCostRange, MessageIcon::Exclamation};
    return std::nullopt;
}

// Text that is no number is out of range as NaN is.
Outcome<int32_t> GivenSizeFromText(const std::string& text) {
    const double n = StrictNumber(text).value_or(std::nan(""));
    if (auto refusal = GivenSizeRefusal(n)) return *refusal;
    return static_cast<int32_t>(n);
}

Outcome<double> CostFromText(const std::string& text) {
    const double cost = StrictNumber(text).value_or(std::nan(""));
    if (auto refusal = CostRefusal(cost)) return *refusal;
    return cost;
}

// Whole sample counts up to 2^32 and costs up to 1e15 keep the total finite.
std::optional<double> TotalCost(const SampleCosts& costs, int32_t n, int32_t n_reference) {
    if (!costs.Given()) return std::nullopt;
    const double samples = static_cast<double>(n) + static_cast<double>(n_reference);
    return costs.fixed.value_or(0.0) + costs.per_sample.value_or(0.0) * samples;
}

namespace {

// The N the design chooses for these inputs (which designed a given one),
// beside it: a Sign design's without its curve.
std::optional<int32_t> DesignedSize(TestKind test, const DesignInputs& inputs, const DesignEngine& engine) {
    if (test == TestKind::Sign && engine.sign_size) return engine.sign_size(PrepareState(inputs));
    const Outcome<DesignState> run = RunDesign(test, inputs, std::nullopt, engine);
    if (!run) return std::nullopt;
    return test == TestKind::Sign ? run->SignN : run->WRSN;
}

}  // namespace

FiguresRun ComputeFigures(TestKind test, const DesignInputs& inputs, std::optional<int32_t> given_n,
                          const SampleCosts& costs, const DesignEngine& engine, CurveRoom* keep_curve) {
    if (auto refused = CheckEachInput(inputs)) return *refused;
    const Outcome<DesignState> run = RunDesign(test, inputs, given_n, engine);
    if (!run) return InputRefusal{DesignInput::LBGR, run.refusal()};

    DesignFigures figures;
    figures.test = test;
    figures.state = *run;
    figures.engine = &engine;
    const DesignState& state = *run;
    const bool sign = test == TestKind::Sign;
    figures.n = sign ? state.SignN : state.WRSN;
    figures.n_reference = sign ? 0 : state.WRSN;
    figures.size_given = given_n.has_value();
    figures.critical_value = sign ? static_cast<double>(state.SignCriticalValue) : state.WRSCriticalValue;
    figures.power_at_lbgr = ShownPowerAtLBGR(test, state, engine);
    figures.final_n = figures.n;
    figures.cost = TotalCost(costs, figures.final_n, figures.n_reference);
    if (given_n) figures.n_designed = DesignedSize(test, inputs, engine);
    figures.can_pass = CanPass(test, state);
    if (!figures.can_pass) figures.smallest_passable_n = SmallestPassableN(test, state.Alpha);
    figures.exact_quantile = engine.exact_quantile;
    if (keep_curve) figures.curve_powers = keep_curve->Keep(state.CurvePower);
    return figures;
}

DesignFigures WithFinalN(DesignFigures figures, const SampleCosts& costs, int32_t final_n) {
    figures.final_n = final_n;
    figures.cost = TotalCost(costs, final_n, figures.n_reference);
    return figures;
}

DesignState DesignCurve(const DesignFigures& figures) {
    DesignState state;
    static_cast<DesignSummary&>(state) = figures.state;
    if (figures.curve_powers) {
        state.CurveX = PowerCurveGrid(state.DCGL);
        state.CurvePower = *figures.curve_powers;
        return state;
    }
    const std::optional<int32_t> given_n = figures.size_given ? std::optional<int32_t>(figures.n) : std::nullopt;
    RunTestDesign(figures.test, state, given_n, *figures.engine);
    return state;
}

bool PowerBelowTarget(const DesignFigures& figures) {
    return figures.power_at_lbgr < 1.0 - static_cast<double>(figures.state.Beta);
}

}  // namespace valdris
