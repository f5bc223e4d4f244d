// SPDX-License-Identifier: Apache-2.0
#include "plan_options.h"

#include "number_text.h"

namespace valdris::cli {

namespace {

std::string Refused(const std::string& option, const std::string& text, const Refusal& refusal) {
    return "The value of " + option + " is refused (\"" + text + "\"): " + refusal.text;
}

std::optional<std::string> ReadCost(const std::string& option, const std::optional<std::string>& text,
                                    std::optional<double>& cost) {
    if (!text) return std::nullopt;
    const auto value = StrictNumber(*text);
    const auto refusal = value ? CostRefusal(*value) : Refusal{kCostRange, MessageIcon::Exclamation};
    if (refusal) return Refused(option, *text, *refusal);
    cost = *value;
    return std::nullopt;
}

}  // namespace

Outcome<Budget> ReadBudget(const PlanOptions& options) {
    Budget budget;
    if (options.n) {
        const auto n = StrictNumber(*options.n);
        const auto refusal = n ? GivenSizeRefusal(*n) : Refusal{kGivenSizeRange, MessageIcon::Exclamation};
        if (refusal) return Outcome<Budget>::Failure(Refused("--n", *options.n, *refusal));
        budget.n = static_cast<int32_t>(*n);
    }
    if (auto error = ReadCost("--cost-fixed", options.cost_fixed, budget.costs.fixed)) {
        return Outcome<Budget>::Failure(*error);
    }
    if (auto error = ReadCost("--cost-per-sample", options.cost_per_sample, budget.costs.per_sample)) {
        return Outcome<Budget>::Failure(*error);
    }
    return budget;
}

std::optional<std::string> PlanConflict(const PlanOptions& options, bool sweep, bool chart) {
    if (!options.plan_path) return std::nullopt;
    if (sweep) return "--plan cannot be combined with --sweep";
    if (chart) return "--plan cannot be combined with --chart";
    if (options.n || options.cost_fixed || options.cost_per_sample) {
        return "--plan takes the sample sizes and costs from the plan file, not from --n or --cost-*";
    }
    return std::nullopt;
}

}  // namespace valdris::cli
