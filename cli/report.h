#pragma once
// The output of one design: a readable summary, a JSON object or the curve
// as CSV. Readable text shows the figures as the design window does; JSON
// and CSV carry the exact stored values.

#include <ostream>

#include "design_inputs.h"

namespace valdris::cli {

void WriteTextReport(std::ostream& out, TestKind test, const DesignState& state);
void WriteJsonReport(std::ostream& out, TestKind test, const DesignState& state);
void WriteCsvCurve(std::ostream& out, const DesignState& state);

// As the window's labels show them: "Critical Value:" line, " 19" for the
// Sign test, the whole-number part of the WRS value (" 1162"); "D/s = 1".
std::string CriticalValueText(TestKind test, const DesignState& state);
std::string ShiftText(const DesignState& state);

int SampleSize(TestKind test, const DesignState& state);
std::string TestKey(TestKind test);  // "sign" or "wrs"

}  // namespace valdris::cli
