#pragma once
// The output of a sweep: one row per swept value with D/s, the sample size
// and the critical value, or the reason the rules refused that value.

#include <ostream>
#include <vector>

#include "sweep.h"

namespace valdris::cli {

void WriteSweepText(std::ostream& out, TestKind test, SweptInput swept, const std::vector<SweepRow>& rows);
void WriteSweepCsv(std::ostream& out, TestKind test, SweptInput swept, const std::vector<SweepRow>& rows);
void WriteSweepJson(std::ostream& out, TestKind test, SweptInput swept, const std::vector<SweepRow>& rows);

}  // namespace valdris::cli
