// SPDX-License-Identifier: Apache-2.0
#include "plan_figures.h"

#include <cmath>

namespace valdris {

std::optional<Refusal> GivenSizeRefusal(double n) {
    if (!(n >= 1 && n <= kLargestGivenSize) || std::floor(n) != n) {
        return Refusal{kGivenSizeRange, MessageIcon::Exclamation};
    }
    return std::nullopt;
}

std::optional<Refusal> CostRefusal(double cost) {
    if (!(cost >= 0 && cost <= kLargestCost)) return Refusal{kCostRange, MessageIcon::Exclamation};
    return std::nullopt;
}

// Whole sample counts up to 2^32 and costs up to 1e15 keep the total finite.
std::optional<double> TotalCost(const SampleCosts& costs, int32_t n, int32_t n_reference) {
    if (!costs.Given()) return std::nullopt;
    const double samples = static_cast<double>(n) + static_cast<double>(n_reference);
    return costs.fixed.value_or(0.0) + costs.per_sample.value_or(0.0) * samples;
}

namespace {

// The N the design chooses for these inputs, beside a given one.
std::optional<int32_t> DesignedSize(TestKind test, const DesignInputs& inputs, const DesignEngine& engine) {
    const DesignRun run = RunDesign(test, inputs, std::nullopt, engine);
    if (!run.state) return std::nullopt;
    return test == TestKind::Sign ? run.state->SignN : run.state->WRSN;
}

}  // namespace

FiguresRun ComputeFigures(TestKind test, const DesignInputs& inputs, std::optional<int32_t> given_n,
                          const SampleCosts& costs, const DesignEngine& engine) {
    if (auto refused = CheckEachInput(inputs)) return {std::nullopt, refused};
    DesignRun run = RunDesign(test, inputs, given_n, engine);
    if (!run.state) return {std::nullopt, InputRefusal{DesignInput::LBGR, *run.refusal}};

    DesignFigures figures;
    figures.test = test;
    figures.state = *run.state;
    const DesignState& state = figures.state;
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
    return {figures, std::nullopt};
}

DesignFigures WithFinalN(DesignFigures figures, const SampleCosts& costs, int32_t final_n) {
    figures.final_n = final_n;
    figures.cost = TotalCost(costs, final_n, figures.n_reference);
    return figures;
}

bool PowerBelowTarget(const DesignFigures& figures) {
    return figures.power_at_lbgr < 1.0 - static_cast<double>(figures.state.Beta);
}

}  // namespace valdris
