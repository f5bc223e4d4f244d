// SPDX-License-Identifier: Apache-2.0
#include "result_texts.h"

#include <cmath>

#include "number_text.h"

namespace valdris {

std::string TestCaption(TestKind test) { return test == TestKind::Sign ? "Sign Test" : "WRS Test"; }

int SampleSize(TestKind test, const DesignState& state) {
    return test == TestKind::Sign ? state.SignN : state.WRSN;
}

std::string CriticalValueText(TestKind test, const DesignState& state) {
    const double value =
        test == TestKind::Sign ? static_cast<double>(state.SignCriticalValue) : std::floor(state.WRSCriticalValue);
    return WriteWithSignPosition(value);
}

std::string ShiftText(double dovers, int decimals) { return "D/s = " + WriteNumber(RoundHalfEven(dovers, decimals)); }

}  // namespace valdris
