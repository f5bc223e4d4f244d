// SPDX-License-Identifier: Apache-2.0
#pragma once
// A series of designs with one input stepped over a range, computed one row
// at a time so that a long sweep needs no more memory than a short one.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "design_inputs.h"
#include "options.h"
#include "outcome.h"

namespace valdris::cli {

// A guard against a mistyped STEP, not a limit of the program (memory stays
// flat): ten million rows take minutes and most of a gigabyte of output.
constexpr std::int64_t kMaxSweepRows = 10'000'000;

// The values FROM + i * STEP (multiplied, not accumulated) for i = 0, 1, ...
// up to TO inclusive, with a tolerance of a billionth of a step so that
// 0.1 to 0.3 by 0.1 ends at 0.3. Refuses a step that is not above zero, a
// range that runs downwards and more than kMaxSweepRows rows.
class SweepPlan {
public:
    SweepPlan(double from, double step, std::int64_t rows) : from_(from), step_(step), rows_(rows) {}

    std::int64_t rows() const { return rows_; }

    // Row i's value is the one its written form (15 significant digits)
    // reads back to, so a row gives the same design as a single run with
    // that value typed.
    double Value(std::int64_t i) const;

private:
    double from_ = 0.0;
    double step_ = 0.0;
    std::int64_t rows_ = 0;
};
Outcome<SweepPlan> PlanSweep(double from, double to, double step);

// Reads FROM, TO and STEP and plans the sweep.
Outcome<SweepPlan> PlanSweep(const SweepRequest& request);

// The rules that do not depend on the swept input: when one of them refuses,
// every row would, so the whole sweep is refused up front.
std::optional<std::string> CheckFixedInputs(SweptInput swept, const DesignInputs& inputs);

struct SweepRow {
    double value = 0.0;  // the swept input as read, before rounding to its width
    Outcome<DesignState> run;
};

// Computes the rows in order (for the given size, if any) and hands each to
// take_row, which returns false to stop early (the output could not be
// written). False when stopped.
bool RunSweep(TestKind test, SweptInput swept, const DesignInputs& inputs, std::optional<int32_t> given_n,
              const SweepPlan& plan,
              const std::function<bool(const SweepRow&)>& take_row, const DesignEngine& engine = kEngine);

}  // namespace valdris::cli
