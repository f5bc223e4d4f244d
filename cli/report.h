// SPDX-License-Identifier: Apache-2.0
#pragma once
// The output of one design: a readable summary, a JSON object or the curve
// as CSV. Readable text shows the figures as the design window does; JSON
// and CSV carry the exact stored values.

#include <functional>
#include <ostream>

#include "design_inputs.h"
#include "result_texts.h"

namespace valdris::cli {

void WriteTextReport(std::ostream& out, TestKind test, const DesignState& state);
// Further members of the object (each written whole, without a trailing
// comma or line break), such as an assessment of measurements.
using JsonMembers = std::function<void(std::ostream& out)>;

void WriteJsonReport(std::ostream& out, TestKind test, const DesignState& state, const JsonMembers& more = {});
void WriteCsvCurve(std::ostream& out, const DesignState& state);

std::string TestKey(TestKind test);  // "sign" or "wrs"

}  // namespace valdris::cli
