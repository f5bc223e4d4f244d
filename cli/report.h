// SPDX-License-Identifier: Apache-2.0
#pragma once
// The output of one design: a readable summary, a JSON object or the curve
// as CSV. Readable text shows the figures as the design window does; JSON
// and CSV carry the exact stored values.

#include <ostream>

#include "design_inputs.h"
#include "result_texts.h"

namespace valdris::cli {

void WriteTextReport(std::ostream& out, TestKind test, const DesignState& state);
// more_members: further members, each written as ",\n  \"key\": value".
void WriteJsonReport(std::ostream& out, TestKind test, const DesignState& state, const std::string& more_members = {});
void WriteCsvCurve(std::ostream& out, const DesignState& state);

std::string TestKey(TestKind test);  // "sign" or "wrs"

}  // namespace valdris::cli
