// SPDX-License-Identifier: Apache-2.0
#include "report.h"

#include "number_output.h"
#include "number_text.h"

namespace valdris::cli {

namespace {

std::string TestCaption(TestKind test) { return test == TestKind::Sign ? "Sign Test" : "WRS Test"; }

template <typename Number, std::size_t Size>
void WriteJsonArray(std::ostream& out, const std::array<Number, Size>& values) {
    out << '[';
    for (int i = 1; i <= kCurvePoints; ++i) out << (i > 1 ? ", " : "") << ExactNumber(values[i]);
    out << ']';
}

}  // namespace

std::string TestKey(TestKind test) { return test == TestKind::Sign ? "sign" : "wrs"; }

void WriteTextReport(std::ostream& out, TestKind test, const DesignState& state) {
    out << "Statistical Test: " << TestCaption(test) << '\n'
        << "Alpha: " << WriteNumber(state.Alpha) << '\n'
        << "Beta: " << WriteNumber(state.Beta) << '\n'
        << "Sigma: " << WriteNumber(state.Sigma) << '\n'
        << "DCGL: " << WriteNumber(state.DCGL) << '\n'
        << "LBGR: " << WriteNumber(state.LBGR) << '\n'
        << "Required Sample Size\n"
        << "  Survey Unit: " << SampleSize(test, state) << '\n';
    if (test == TestKind::WRS) out << "  Reference: " << state.WRSN << '\n';
    out << "Critical Value:" << CriticalValueText(test, state) << '\n'
        << ShiftText(state.DoverS, 2) << "\n\n"
        << "Power curve\n"
        << "  Concentration (percent of DCGL)  Probability that the Survey Unit Passes\n";
    for (int i = 1; i <= kCurvePoints; ++i) {
        const std::string percent = FixedDecimals(100.0 * state.CurveX[i] / state.DCGL, 1);
        const std::string power = FixedDecimals(state.CurvePower[i], 6);
        out << "  " << std::string(percent.size() < 31 ? 31 - percent.size() : 0, ' ') << percent << "  " << power
            << '\n';
    }
}

void WriteJsonReport(std::ostream& out, TestKind test, const DesignState& state, const JsonMembers& more) {
    out << "{\n"
        << "  \"test\": " << JsonString(TestKey(test)) << ",\n"
        << "  \"alpha\": " << ExactNumber(state.Alpha) << ",\n"
        << "  \"beta\": " << ExactNumber(state.Beta) << ",\n"
        << "  \"sigma\": " << ExactNumber(state.Sigma) << ",\n"
        << "  \"dcgl\": " << ExactNumber(state.DCGL) << ",\n"
        << "  \"lbgr\": " << ExactNumber(state.LBGR) << ",\n"
        << "  \"delta\": " << ExactNumber(state.Delta) << ",\n"
        << "  \"dovers\": " << ExactNumber(state.DoverS) << ",\n"
        << "  \"n\": " << SampleSize(test, state) << ",\n"
        << "  \"critical_value\": "
        << (test == TestKind::Sign ? std::to_string(state.SignCriticalValue) : ExactNumber(state.WRSCriticalValue))
        << ",\n"
        << "  \"curve_x\": ";
    WriteJsonArray(out, state.CurveX);
    out << ",\n  \"curve_power\": ";
    WriteJsonArray(out, state.CurvePower);
    if (more) {
        out << ",\n";
        more(out);
    }
    out << "\n}\n";
}

void WriteCsvCurve(std::ostream& out, const DesignState& state) {
    out << "x,power\n";
    for (int i = 1; i <= kCurvePoints; ++i) {
        out << ExactNumber(state.CurveX[i]) << ',' << ExactNumber(state.CurvePower[i]) << '\n';
    }
}

}  // namespace valdris::cli
