// SPDX-License-Identifier: Apache-2.0
#pragma once
// The output of one design: a readable summary, a JSON object or the curve
// as CSV. Readable text shows the figures as the design window does; JSON
// and CSV carry the exact stored values.

#include <array>
#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include "design_inputs.h"
#include "plan_figures.h"
#include "result_texts.h"

namespace valdris::cli {

// Further members of a design's JSON object (each written whole, without a
// trailing comma or line break), such as an assessment of measurements.
using JsonMembers = std::function<void(std::ostream& out)>;

// The unit of concentration, when given, follows sigma, the DCGL and the LBGR.
void WriteTextReport(std::ostream& out, const DesignFigures& figures, const std::string& unit = {});
void WriteJsonReport(std::ostream& out, const DesignFigures& figures, const JsonMembers& more = {});
// The members of that JSON object, one a line, each line begun with indent;
// a plan's unit puts its name first.
void WriteJsonMembers(std::ostream& out, const DesignFigures& figures, const std::string& indent,
                      const std::optional<std::string>& name = std::nullopt, const JsonMembers& more = {});
// The last curve of x values written, by its DCGL, as text: the x values
// follow from the DCGL alone, which a site's units mostly share.
struct CurveXText {
    double dcgl = 0;
    std::string text;
};

// The same members, the last without its line break, appended to text; a
// writer of many designs passes its last curve of x values to reuse.
void AppendJsonMembers(std::string& text, const DesignFigures& figures, const std::string& indent,
                       const std::optional<std::string>& name = std::nullopt, CurveXText* last_x = nullptr);
// The same members but the name, at `at` with JsonMembersRoom(indent) of
// room; returns their end (the room after it may have been written over).
std::size_t JsonMembersRoom(std::size_t indent);
char* PutJsonMembers(char* at, const DesignFigures& figures, const std::string& indent, CurveXText* last_x = nullptr);
void WriteCsvCurve(std::ostream& out, const DesignState& state);

std::string TestKey(TestKind test);  // "sign" or "wrs"

}  // namespace valdris::cli
