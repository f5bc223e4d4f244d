// SPDX-License-Identifier: Apache-2.0
#pragma once
// The unit's field figures in the companion's output: JSON members after the
// design's, and readable sections after its summary.

#include <ostream>
#include <string>

#include "field_inputs.h"

namespace valdris::cli {

// "  \"grid\": {...}" and the others that apply, joined by ",\n", or an
// empty text; each line begun with indent.
std::string FieldJsonMembers(const FieldInputs& inputs, const FieldFigures& results, double lbgr,
                             const std::string& indent = "  ");

// The locations' CSV through the safe writer; false with the message when
// the results have none or the file cannot be written.
bool WriteLocationsFile(const FieldFigures& results, const std::string& path, std::string& error);

// Blank-line separated sections with the panel's labels and texts.
// The unit of concentration, when given, follows the nuclides' figures and,
// when the design is not in sums of fractions, the scan MDC and DCGL_EMC.
void WriteFieldText(std::ostream& out, const FieldInputs& inputs, const FieldFigures& results,
                    const std::string& unit = {});

}  // namespace valdris::cli
