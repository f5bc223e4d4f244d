// SPDX-License-Identifier: Apache-2.0
#pragma once
// The unit's field figures in the companion's output: JSON members after the
// design's, and readable sections after its summary.

#include <ostream>
#include <string>

#include "field_inputs.h"

namespace valdris::cli {

// "  \"grid\": {...}" and the others that apply, joined by ",\n", or an
// empty text.
std::string FieldJsonMembers(const FieldInputs& inputs, const FieldFigures& results, double lbgr);

// Blank-line separated sections with the panel's labels and texts.
// The unit of concentration, when given, follows the nuclides' figures and,
// when the design is not in sums of fractions, the scan MDC and DCGL_EMC.
void WriteFieldText(std::ostream& out, const FieldInputs& inputs, const FieldFigures& results,
                    const std::string& unit = {});

}  // namespace valdris::cli
