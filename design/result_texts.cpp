// SPDX-License-Identifier: Apache-2.0
#include "result_texts.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "number_text.h"

namespace valdris {

std::string TestCaption(TestKind test) { return test == TestKind::Sign ? "Sign Test" : "WRS Test"; }

int SampleSize(TestKind test, const DesignSummary& state) {
    return test == TestKind::Sign ? state.SignN : state.WRSN;
}

std::string CriticalValueText(TestKind test, const DesignSummary& state) {
    const double value =
        test == TestKind::Sign ? static_cast<double>(state.SignCriticalValue) : std::floor(state.WRSCriticalValue);
    return WriteWithSignPosition(value);
}

std::string ProbabilityText(double value) {
    constexpr int kDecimals = 3;
    char text[32];
    const double p = std::clamp(value, 0.0, 1.0);
    const auto end = std::to_chars(text, text + sizeof text, p, std::chars_format::fixed, kDecimals).ptr;
    return std::string(text, end);
}

std::string ShiftNumberText(double dovers, int decimals) { return WriteNumber(RoundHalfEven(dovers, decimals)); }
std::string ShiftText(double dovers, int decimals) { return "D/s = " + ShiftNumberText(dovers, decimals); }

}  // namespace valdris
