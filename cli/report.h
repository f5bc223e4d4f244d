// SPDX-License-Identifier: Apache-2.0
#pragma once
// The output of one design: a readable summary, a JSON object or the curve
// as CSV. Readable text shows the figures as the design window does; JSON
// and CSV carry the exact stored values.

#include <optional>
#include <ostream>
#include <string>

#include "design_inputs.h"
#include "plan_figures.h"
#include "result_texts.h"

namespace valdris::cli {

void WriteTextReport(std::ostream& out, const DesignFigures& figures);
void WriteJsonReport(std::ostream& out, const DesignFigures& figures);
// The members of that JSON object, one a line, each line begun with indent;
// a plan's unit puts its name first.
void WriteJsonMembers(std::ostream& out, const DesignFigures& figures, const std::string& indent,
                      const std::optional<std::string>& name = std::nullopt);
void WriteCsvCurve(std::ostream& out, const DesignState& state);

std::string TestKey(TestKind test);  // "sign" or "wrs"

}  // namespace valdris::cli
