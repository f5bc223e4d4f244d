// SPDX-License-Identifier: Apache-2.0
#include "report.h"

#include "number_output.h"
#include "concentration_unit.h"
#include "checked_design.h"
#include "design_report.h"
#include "number_text.h"
#include "result_texts.h"

namespace valdris::cli {

namespace {

// The curve goes out as one piece: a plan writes a hundred thousand of them,
// and a stream insertion per number cost more than its digits.
template <typename Number, std::size_t Size>
void WriteJsonArray(std::ostream& out, const std::array<Number, Size>& values) {
    char buffer[2 + kCurvePoints * (kExactNumberRoom + 2)];
    char* at = buffer;
    *at++ = '[';
    for (int i = 1; i <= kCurvePoints; ++i) {
        if (i > 1) {
            *at++ = ',';
            *at++ = ' ';
        }
        at = WriteExactNumber(at, values[i]);
    }
    *at++ = ']';
    out.write(buffer, at - buffer);
}

// The cost counts the samples taken; where the elevated-area check adds
// some, the line says for how many.
std::string CostSamples(const DesignFigures& figures) {
    if (figures.final_n == figures.n) return {};
    return " (final N " + std::to_string(figures.final_n) + " after the elevated-area check; N " +
           std::to_string(figures.n) + ")";
}

}  // namespace

std::string TestKey(TestKind test) { return test == TestKind::Sign ? "sign" : "wrs"; }

void WriteTextReport(std::ostream& out, const DesignFigures& figures, const std::string& unit) {
    const TestKind test = figures.test;
    const DesignState state = DesignCurve(figures);
    out << "Statistical Test: " << TestCaption(test) << '\n'
        << "Alpha: " << PlainNumber(state.Alpha) << '\n'
        << "Beta: " << PlainNumber(state.Beta) << '\n'
        << "Sigma: " << WithUnit(PlainNumber(state.Sigma), unit) << '\n'
        << "DCGL: " << WithUnit(PlainNumber(state.DCGL), unit) << '\n'
        << "LBGR: " << WithUnit(PlainNumber(state.LBGR), unit) << '\n'
        << (figures.size_given ? "Given Sample Size\n" : "Required Sample Size\n")
        << "  Survey Unit: " << SampleSize(test, state) << '\n';
    if (test == TestKind::WRS) out << "  Reference: " << state.WRSN << '\n';
    if (figures.n_designed) out << "  Designed: " << *figures.n_designed << '\n';
    out << kCriticalValueTitle << ':' << CriticalValueText(test, state) << '\n'
        << ShiftText(state.DoverS, 2) << '\n'
        << "Power at the LBGR: " << FixedDecimals(figures.power_at_lbgr, 6)
        << (PowerBelowTarget(figures) ? " (below 1 - beta)" : "") << '\n';
    if (!figures.can_pass) out << CannotPassNote(test, state.Alpha, figures.smallest_passable_n) << '\n';
    if (figures.exact_quantile) out << "Normal Quantile: exact\n";
    if (figures.cost) out << "Cost: " << WriteNumber(*figures.cost) << CostSamples(figures) << '\n';
    out << "\nPower curve\n"
        << "  Concentration (percent of DCGL)  " << kPassProbabilityTitle << '\n';
    for (int i = 1; i <= kCurvePoints; ++i) {
        const std::string percent = FixedDecimals(100.0 * state.CurveX[i] / state.DCGL, 1);
        const std::string power = FixedDecimals(state.CurvePower[i], 6);
        out << "  " << std::string(percent.size() < 31 ? 31 - percent.size() : 0, ' ') << percent << "  " << power
            << '\n';
    }
}

void WriteJsonMembers(std::ostream& out, const DesignFigures& figures, const std::string& indent,
                      const std::optional<std::string>& name, const JsonMembers& more) {
    const TestKind test = figures.test;
    const DesignState state = DesignCurve(figures);
    auto member = [&](const char* key) -> std::ostream& { return out << indent << '"' << key << "\": "; };
    if (name) member("name") << JsonString(*name) << ",\n";
    member("test") << JsonString(TestKey(test)) << ",\n";
    member("quantile") << JsonString(figures.exact_quantile ? "exact" : "specified") << ",\n";
    member("alpha") << ExactNumber(state.Alpha) << ",\n";
    member("beta") << ExactNumber(state.Beta) << ",\n";
    member("sigma") << ExactNumber(state.Sigma) << ",\n";
    member("dcgl") << ExactNumber(state.DCGL) << ",\n";
    member("lbgr") << ExactNumber(state.LBGR) << ",\n";
    member("delta") << ExactNumber(state.Delta) << ",\n";
    member("dovers") << ExactNumber(state.DoverS) << ",\n";
    member("n") << SampleSize(test, state) << ",\n";
    if (figures.size_given) member("n_given") << "true,\n";
    if (figures.n_designed) member("n_designed") << *figures.n_designed << ",\n";
    member("critical_value")
        << (test == TestKind::Sign ? std::to_string(state.SignCriticalValue) : ExactNumber(state.WRSCriticalValue))
        << ",\n";
    member("power_at_lbgr") << ExactNumber(figures.power_at_lbgr) << ",\n";
    member("can_pass") << (figures.can_pass ? "true" : "false") << ",\n";
    if (figures.smallest_passable_n) member("smallest_passable_n") << *figures.smallest_passable_n << ",\n";
    if (PowerBelowTarget(figures)) member("power_below_target") << "true,\n";
    if (figures.final_n != figures.n) member("final_n") << figures.final_n << ",\n";
    if (figures.cost) member("cost") << ExactNumber(*figures.cost) << ",\n";
    member("curve_x");
    WriteJsonArray(out, state.CurveX);
    out << ",\n";
    member("curve_power");
    WriteJsonArray(out, state.CurvePower);
    if (more) {
        out << ",\n";
        more(out);
    }
    out << '\n';
}

void WriteJsonReport(std::ostream& out, const DesignFigures& figures, const JsonMembers& more) {
    out << "{\n";
    WriteJsonMembers(out, figures, "  ", std::nullopt, more);
    out << "}\n";
}

void WriteCsvCurve(std::ostream& out, const DesignState& state) {
    out << "x,power\n";
    for (int i = 1; i <= kCurvePoints; ++i) {
        out << ExactNumber(state.CurveX[i]) << ',' << ExactNumber(state.CurvePower[i]) << '\n';
    }
}

}  // namespace valdris::cli
