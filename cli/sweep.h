#pragma once
// A series of designs with one input stepped over a range.

#include <optional>
#include <string>
#include <vector>

#include "design_inputs.h"
#include "options.h"

namespace valdris::cli {

constexpr int kMaxSweepRows = 10000;

// The values FROM + i * STEP (multiplied, not accumulated) for i = 0, 1, ...
// up to TO inclusive, with a tolerance of a billionth of a step so that
// 0.1 to 0.3 by 0.1 ends at 0.3. Each value is the one its written form (15
// significant digits) reads back to, so a row gives the same design as a
// single run with that value typed. Refuses a step that is not above zero, a
// range that runs downwards and more than kMaxSweepRows rows.
struct SweepPlan {
    std::vector<double> values;
    std::string refusal;
};
SweepPlan PlanSweep(double from, double to, double step);

// Reads FROM, TO and STEP and plans the sweep.
SweepPlan PlanSweep(const SweepRequest& request);

// The rules that do not depend on the swept input: when one of them refuses,
// every row would, so the whole sweep is refused up front.
std::optional<std::string> CheckFixedInputs(SweptInput swept, const DesignInputs& inputs);

struct SweepRow {
    double value = 0.0;  // the swept input as read, before rounding to its width
    DesignRun run;
};

std::vector<SweepRow> RunSweep(TestKind test, SweptInput swept, const DesignInputs& inputs,
                               const std::vector<double>& values);

}  // namespace valdris::cli
