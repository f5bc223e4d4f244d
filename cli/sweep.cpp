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

SweepPlan PlanSweep(double from, double to, double step) {
    if (!(step > 0.0)) return {{}, "The sweep STEP must be greater than zero."};
    if (from > to) return {{}, "The sweep must run upwards: FROM must not be greater than TO."};

    const double last_index = (to - from) / step + kStepTolerance;
    if (!(last_index < kMaxSweepRows)) {
        return {{}, "The sweep would give more than " + std::to_string(kMaxSweepRows) +
                        " rows; use a larger STEP or a shorter range."};
    }
    const int rows = static_cast<int>(std::floor(last_index)) + 1;

    SweepPlan plan;
    plan.values.reserve(static_cast<std::size_t>(rows));
    for (int i = 0; i < rows; ++i) {
        const double value = from + i * step;
        plan.values.push_back(StrictNumber(WriteNumber(value)).value_or(value));
    }
    return plan;
}

SweepPlan PlanSweep(const SweepRequest& request) {
    const std::pair<const char*, const std::string*> fields[] = {
        {"the sweep FROM", &request.from}, {"the sweep TO", &request.to}, {"the sweep STEP", &request.step}};
    double numbers[3] = {};
    for (std::size_t k = 0; k < 3; ++k) {
        const auto value = StrictNumber(*fields[k].second);
        if (!value) return {{}, NotANumberMessage(fields[k].first, *fields[k].second)};
        numbers[k] = *value;
    }
    return PlanSweep(numbers[0], numbers[1], numbers[2]);
}

std::optional<std::string> CheckFixedInputs(SweptInput swept, const DesignInputs& inputs) {
    const float alpha = ToSingle(inputs.alpha);
    const float beta = ToSingle(inputs.beta);
    if (auto refusal = rules::DecisionErrorRefusal(alpha, beta, rules::DecisionError::Alpha)) return RefusalText(refusal);
    if (auto refusal = rules::DecisionErrorRefusal(alpha, beta, rules::DecisionError::Beta)) return RefusalText(refusal);
    if (auto refusal = rules::DCGLRefusal(inputs.dcgl)) return RefusalText(refusal);
    if (swept == SweptInput::Sigma) return RefusalText(rules::LBGRRefusal(inputs.lbgr, inputs.dcgl));
    return RefusalText(rules::SigmaRefusal(ToSingle(inputs.sigma), inputs.dcgl));
}

std::vector<SweepRow> RunSweep(TestKind test, SweptInput swept, const DesignInputs& inputs,
                               const std::vector<double>& values) {
    std::vector<SweepRow> rows;
    rows.reserve(values.size());
    for (const double value : values) {
        DesignInputs row_inputs = inputs;
        (swept == SweptInput::Sigma ? row_inputs.sigma : row_inputs.lbgr) = value;
        rows.push_back({value, RunDesign(test, row_inputs)});
    }
    return rows;
}

}  // namespace valdris::cli
