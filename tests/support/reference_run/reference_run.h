// SPDX-License-Identifier: Apache-2.0
#pragma once
// The engine's frozen earlier form (tests/stats/reference_engine) in the
// engine's place: the same input checks, state and judgement of the result
// as every face uses, only the design routines and the power at the LBGR
// swapped.

#include <cstdint>
#include <optional>

#include "design_inputs.h"

namespace valdris::reference {

extern const DesignEngine kReferenceEngine;

// RunDesign on the earlier engine.
Outcome<DesignState> ReferenceRun(TestKind test, const DesignInputs& inputs, std::optional<int32_t> given_n = std::nullopt);

}  // namespace valdris::reference
