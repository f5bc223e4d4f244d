// SPDX-License-Identifier: Apache-2.0
#pragma once
// The design check in the companion's output: a JSON member or text lines.

#include <ostream>
#include <string>

#include "checked_design.h"

namespace valdris::cli {

// "check": {...} on one line, begun with indent, without a trailing comma.
void WriteJsonCheck(std::ostream& out, const CheckedDesign& checked, const std::string& indent);
std::string JsonCheckObject(const CheckedDesign& checked);

void WriteTextCheck(std::ostream& out, const CheckedDesign& checked);

}  // namespace valdris::cli
