// SPDX-License-Identifier: Apache-2.0
#include "plan_options.h"

#include "number_text.h"

namespace valdris::cli {

namespace {

// The rule's refusal, its kind kept, naming the option and the value.
Refusal Refused(const std::string& option, const std::string& text, const Refusal& refusal) {
    return {refusal.kind, "The value of " + option + " is refused (\"" + text + "\"): " + refusal.text, refusal.icon};
}

std::optional<Refusal> ReadCost(const std::string& option, const std::optional<std::string>& text,
                                    std::optional<double>& cost) {
    if (!text) return std::nullopt;
    const Outcome<double> value = CostFromText(*text);
    if (!value) return Refused(option, *text, value.refusal());
    cost = *value;
    return std::nullopt;
}

}  // namespace

Outcome<Budget> ReadBudget(const PlanOptions& options) {
    Budget budget;
    if (options.n) {
        const Outcome<int32_t> n = GivenSizeFromText(*options.n);
        if (!n) return Outcome<Budget>::Failure(Refused("--n", *options.n, n.refusal()));
        budget.n = *n;
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
    if (options.locations_format && !options.plan_path) {
        return "--locations writes a plan's locations: give --plan (for one unit, --points)";
    }
    if (!options.plan_path) return std::nullopt;
    if (sweep) return "--plan cannot be combined with --sweep";
    if (chart) return "--plan cannot be combined with --chart";
    if (options.n || options.cost_fixed || options.cost_per_sample) {
        return "--plan takes the sample sizes and costs from the plan file, not from --n or --cost-*";
    }
    return std::nullopt;
}

}  // namespace valdris::cli
