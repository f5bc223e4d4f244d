// SPDX-License-Identifier: Apache-2.0
#include "sweep.h"

#include <cmath>

#include "number_text.h"
#include "refusal_text.h"

namespace valdris::cli {

namespace {

// A billionth of a step: enough to absorb the rounding of (TO - FROM) / STEP,
// far too little to add a value the user did not ask for.
constexpr double kStepTolerance = 1e-9;

}  // namespace

double SweepPlan::Value(std::int64_t i) const {
    const double value = from_ + static_cast<double>(i) * step_;
    return StrictNumber(WriteNumber(value)).value_or(value);
}

Outcome<SweepPlan> PlanSweep(double from, double to, double step) {
    if (!(step > 0.0)) return Outcome<SweepPlan>::Failure(RefusalKind::CommandLine, "The sweep STEP must be greater than zero.");
    if (from > to) return Outcome<SweepPlan>::Failure(RefusalKind::CommandLine, "The sweep must run upwards: FROM must not be greater than TO.");

    const double last_index = (to - from) / step + kStepTolerance;
    if (!(last_index < static_cast<double>(kMaxSweepRows))) {
        return Outcome<SweepPlan>::Failure(RefusalKind::CommandLine, "The sweep would give more than " + std::to_string(kMaxSweepRows) +
                                  " rows; use a larger STEP or a shorter range.");
    }
    return SweepPlan(from, step, static_cast<std::int64_t>(std::floor(last_index)) + 1);
}

Outcome<SweepPlan> PlanSweep(const SweepRequest& request) {
    const std::pair<const char*, const std::string*> fields[] = {
        {"the sweep FROM", &request.from}, {"the sweep TO", &request.to}, {"the sweep STEP", &request.step}};
    double numbers[3] = {};
    for (std::size_t k = 0; k < 3; ++k) {
        const auto value = StrictNumber(*fields[k].second);
        if (!value) return Outcome<SweepPlan>::Failure(RefusalKind::CommandLine, NotANumberMessage(fields[k].first, *fields[k].second));
        numbers[k] = *value;
    }
    return PlanSweep(numbers[0], numbers[1], numbers[2]);
}

std::optional<std::string> CheckFixedInputs(SweptInput swept, const DesignInputs& inputs) {
    return RefusalText(CheckInputs(inputs, swept == SweptInput::Sigma ? UncheckedInput::Sigma : UncheckedInput::LBGR));
}

bool RunSweep(TestKind test, SweptInput swept, const DesignInputs& inputs, std::optional<int32_t> given_n,
              const SweepPlan& plan,
              const std::function<bool(const SweepRow&)>& take_row, const DesignEngine& engine) {
    for (std::int64_t i = 0; i < plan.rows(); ++i) {
        const double value = plan.Value(i);
        DesignInputs row_inputs = inputs;
        (swept == SweptInput::Sigma ? row_inputs.sigma : row_inputs.lbgr) = value;
        if (!take_row({value, RunDesign(test, row_inputs, given_n, engine)})) return false;
    }
    return true;
}

}  // namespace valdris::cli
