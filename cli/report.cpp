// SPDX-License-Identifier: Apache-2.0
#include "report.h"

#include <charconv>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>

#include "number_output.h"
#include "concentration_unit.h"
#include "checked_design.h"
#include "design_report.h"
#include "number_text.h"
#include "result_texts.h"

namespace valdris::cli {

namespace {

// A plan writes a hundred thousand units of 120 numbers each: the pieces
// are put in place in room made once, not appended one by one.
class Cursor {
public:
    explicit Cursor(char* at) : at_(at) {}
    char* at() const { return at_; }
    Cursor& Put(std::string_view text) {
        std::memcpy(at_, text.data(), text.size());
        at_ += text.size();
        return *this;
    }
    template <typename Number>
    Cursor& Exact(Number value) {
        at_ = WriteExactNumber(at_, value);
        return *this;
    }
    Cursor& Whole(int32_t value) {
        at_ = std::to_chars(at_, at_ + 12, value).ptr;
        return *this;
    }
    template <typename Number, std::size_t Size>
    Cursor& Array(const std::array<Number, Size>& values) {
        *at_++ = '[';
        for (int i = 1; i <= kCurvePoints; ++i) {
            if (i > 1) Put(", ");
            Exact(values[i]);
        }
        *at_++ = ']';
        return *this;
    }

private:
    char* at_;
};

// The x values of a curve, which follow from the DCGL alone: the text of the
// last ones where they are the same, else formed (and kept for the next).
void PutCurveX(Cursor& out, double dcgl, const std::array<float, kCurvePoints + 1>* given, CurveXText* last_x) {
    if (last_x && !last_x->text.empty() && std::memcmp(&last_x->dcgl, &dcgl, sizeof dcgl) == 0) {
        out.Put(last_x->text);
        return;
    }
    const std::array<float, kCurvePoints + 1> x = given ? *given : PowerCurveGrid(dcgl);
    char* const begin = out.at();
    out.Array(x);
    if (last_x) {
        last_x->dcgl = dcgl;
        last_x->text.assign(begin, out.at());
    }
}

// Room for every member below but the name: at most 24 lines of a key under
// 24 characters and a number or a word, and the two curves.
std::size_t MembersRoom(std::size_t indent) {
    constexpr std::size_t kLine = 24 + 6 + kExactNumberRoom;
    constexpr std::size_t kCurve = 24 + 6 + 2 + kCurvePoints * (kExactNumberRoom + 2);
    return 24 * (indent + kLine) + 2 * (indent + kCurve);
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

std::size_t JsonMembersRoom(std::size_t indent) { return MembersRoom(indent); }

char* PutJsonMembers(char* at, const DesignFigures& figures, const std::string& indent, CurveXText* last_x) {
    const TestKind test = figures.test;
    // Kept powers are written as they stand; a curve not kept is designed again.
    std::optional<DesignState> designed;
    if (!figures.curve_powers) designed = DesignCurve(figures);
    const DesignSummary& state = designed ? *designed : figures.state;
    const CurvePowers& powers = designed ? designed->CurvePower : *figures.curve_powers;
    Cursor out(at);
    auto member = [&](std::string_view key) -> Cursor& { return out.Put(indent).Put("\"").Put(key).Put("\": "); };
    auto number = [&](std::string_view key, auto value) { member(key).Exact(value).Put(",\n"); };
    auto whole = [&](std::string_view key, int32_t value) { member(key).Whole(value).Put(",\n"); };
    member("test").Put(test == TestKind::Sign ? "\"sign\",\n" : "\"wrs\",\n");
    member("quantile").Put(figures.exact_quantile ? "\"exact\",\n" : "\"specified\",\n");
    number("alpha", state.Alpha);
    number("beta", state.Beta);
    number("sigma", state.Sigma);
    number("dcgl", state.DCGL);
    number("lbgr", state.LBGR);
    number("delta", state.Delta);
    number("dovers", state.DoverS);
    whole("n", SampleSize(test, state));
    if (figures.size_given) member("n_given").Put("true,\n");
    if (figures.n_designed) whole("n_designed", *figures.n_designed);
    if (test == TestKind::Sign) {
        whole("critical_value", state.SignCriticalValue);
    } else {
        number("critical_value", state.WRSCriticalValue);
    }
    number("power_at_lbgr", figures.power_at_lbgr);
    member("can_pass").Put(figures.can_pass ? "true,\n" : "false,\n");
    if (figures.smallest_passable_n) whole("smallest_passable_n", *figures.smallest_passable_n);
    if (PowerBelowTarget(figures)) member("power_below_target").Put("true,\n");
    if (figures.final_n != figures.n) whole("final_n", figures.final_n);
    if (figures.cost) number("cost", *figures.cost);
    member("curve_x");
    PutCurveX(out, state.DCGL, designed ? &designed->CurveX : nullptr, last_x);
    out.Put(",\n");
    member("curve_power").Array(powers);
    return out.at();
}

void AppendJsonMembers(std::string& text, const DesignFigures& figures, const std::string& indent,
                       const std::optional<std::string>& name, CurveXText* last_x) {
    if (name) ((((text += indent) += "\"name\": ") += JsonString(*name)) += ",\n");
    // Room on the stack for the usual indents, zeroed by nobody.
    char stack_room[8192];
    std::unique_ptr<char[]> heap_room;
    char* room = stack_room;
    if (MembersRoom(indent.size()) > sizeof stack_room) {
        heap_room.reset(new char[MembersRoom(indent.size())]);
        room = heap_room.get();
    }
    text.append(room, PutJsonMembers(room, figures, indent, last_x));
}

void WriteJsonMembers(std::ostream& out, const DesignFigures& figures, const std::string& indent,
                      const std::optional<std::string>& name, const JsonMembers& more) {
    std::string text;
    AppendJsonMembers(text, figures, indent, name);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
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
