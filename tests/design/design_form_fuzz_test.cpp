// SPDX-License-Identifier: Apache-2.0
// Randomised user: a seeded generator drives the design form through random
// texts (typed key by key or pasted), leaving boxes, list choices, bar moves,
// spin steps, test choices and chart clicks, with the focus moving as the
// window moves it. After every step the design state must hold only finite
// numbers inside the ranges the input rules promise, and the window must show
// what the engine computes for that state. A failure prints the seed and the
// steps so far, to be replayed.

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <random>
#include <sstream>
#include <vector>

#include "design_form_driver.h"
#include "number_text.h"
#include "result_texts.h"

namespace valdris::testing {
namespace {

constexpr int kStepsPerSeed = 20000;
constexpr unsigned kSeeds[] = {20260101u, 7u, 914u, 20260102u};

const FormControl kBoxes[] = {FormControl::DCGL, FormControl::Sigma, FormControl::LBGR, FormControl::Alpha,
                              FormControl::Beta, FormControl::Radionuclide};

class RandomUser {
public:
    RandomUser(DesignForm& form, RecordingView& view, unsigned seed) : form_(form), view_(view), random_(seed) {}

    // One random action; returns its description for the step log.
    std::string Act() {
        view_.focus.reset();
        switch (Pick(12)) {
        case 0: case 1: case 2: case 3: return TypeText();
        case 4: Leave(); return "Tab";
        case 5: return ChooseItem();
        case 6: case 7: return MoveBar();
        case 8: return Spin();
        case 9: return SwitchTest();
        default: return TakeFocus() ? (form_.ClickChart(), "click chart") : "click chart, focus kept";
        }
    }

private:
    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }
    bool Chance(int percent) { return Pick(100) < percent; }

    std::string RandomDigits(int length) {
        std::string digits;
        for (int i = 0; i < length; ++i) digits += static_cast<char>('0' + Pick(10));
        return digits;
    }

    std::string GarbageText() {
        static const std::vector<std::string> fixed = {
            "", ".", "..", "abc", "-1", "0", "1e999", "-1e999", "1E+30", "1E-30", "1e-31", "1e31",
            "3.4e38", "1e-300", "1e300", "0.5", "0.05", "0.50", "1", "10", "10.01", "0.0001", "1.2.3",
            "1D5", " 2 5", "1,5", "$3", "+.5", "-.0", "\u0663.\u0665", "\u00bd", "\u221e", "NaN", "inf",
            "\U0001f4a5", "\u00a01", "0,05", "5e", "e5", ".e1", "0x10"};
        switch (Pick(10)) {
        case 0: return "0." + std::string(40, '0') + "1";
        case 1: return RandomDigits(400);
        // Around the smallest and largest DCGL that can be designed with.
        case 8: return "0." + std::string(Pick(36), '0') + RandomDigits(1 + Pick(3));
        case 9: return "1" + std::string(Pick(36), '0');
        case 2: return "0." + RandomDigits(1 + Pick(30));
        case 3: {
            static const std::string alphabet = "0123456789.eE-+ ,x";
            std::string text;
            for (int i = 0; i < 5000; ++i) text += alphabet[Pick(static_cast<int>(alphabet.size()))];
            return text;
        }
        case 4:
        case 5: {
            static const double scales[] = {0.01, 0.1, 1, 10, 100, 1000};
            std::ostringstream out;
            out.precision(1 + Pick(6));
            out << std::uniform_real_distribution<double>(0, 1)(random_) * scales[Pick(6)];
            return out.str();
        }
        default: return fixed[Pick(static_cast<int>(fixed.size()))];
        }
    }

    // The focused box loses the focus to another control; false when a
    // refusal gave it back.
    bool TakeFocus() {
        if (!focused_) return true;
        const FormControl box = *focused_;
        focused_.reset();
        switch (box) {
        case FormControl::Alpha: form_.LeaveAlpha(); break;
        case FormControl::Beta: form_.LeaveBeta(); break;
        case FormControl::Sigma: form_.LeaveSigma(); break;
        case FormControl::DCGL: form_.LeaveDCGL(); break;
        case FormControl::LBGR: form_.LeaveLBGR(); break;
        default: break;
        }
        focused_ = view_.focus;
        return !focused_;
    }

    void Leave() { TakeFocus(); }

    // Long texts are pasted; short ones typed key by key, each key added to
    // what the box then holds.
    std::string TypeText() {
        const FormControl box = kBoxes[Pick(Chance(90) ? 5 : 6)];
        if (focused_ != box && !TakeFocus()) return "type, focus kept";
        focused_ = box;
        const std::string text = GarbageText();
        const bool paste = text.size() > 24 || Chance(25);
        if (paste) {
            view_.texts[box] = text;
            form_.EditText(box, text);
        } else {
            view_.texts[box].clear();
            form_.EditText(box, std::string());
            for (const char c : text) {
                view_.texts[box] = form_.Text(box) + c;
                form_.EditText(box, view_.texts[box]);
            }
        }
        return (paste ? "paste [" : "type [") + text.substr(0, 40) + "] into box " +
               std::to_string(static_cast<int>(box));
    }

    std::string ChooseItem() {
        const bool alpha = Chance(50);
        const FormControl box = alpha ? FormControl::Alpha : FormControl::Beta;
        if (focused_ != box && !TakeFocus()) return "choose, focus kept";
        const std::string& item = kDecisionErrorItems[Pick(static_cast<int>(kDecisionErrorItems.size()))];
        view_.texts[box] = item;
        form_.EditText(box, item);
        alpha ? form_.ChooseAlpha() : form_.ChooseBeta();
        focused_ = box;
        return "choose " + item + (alpha ? " for alpha" : " for beta");
    }

    std::string MoveBar() {
        if (!TakeFocus()) return "bar, focus kept";
        static const int steps[] = {-100, -10, 10, 100};
        int value = Chance(50) ? Pick(1001) : form_.Bar() + steps[Pick(4)];
        value = std::max(kLBGRBarBottom, std::min(kLBGRBarTop, value));
        view_.bar = value;
        form_.MoveBar(value);
        return "scroll to " + std::to_string(value);
    }

    std::string Spin() {
        const bool up = Chance(50);
        const int clicks = Chance(70) ? 1 + Pick(3) : 5 + Pick(40);
        for (int i = 0; i < clicks; ++i) up ? form_.SigmaUp() : form_.SigmaDown();
        return std::string("spin ") + (up ? "up" : "down") + " x" + std::to_string(clicks);
    }

    std::string SwitchTest() {
        if (!TakeFocus()) return "test, focus kept";
        const bool wrs = Chance(50);
        form_.SelectTest(wrs ? TestKind::WRS : TestKind::Sign);
        return wrs ? "choose WRS" : "choose Sign";
    }

public:
    std::optional<FormControl> focused_;

private:
    DesignForm& form_;
    RecordingView& view_;
    std::mt19937 random_;
};

bool ShowsNonNumber(const std::string& text) {
    std::string lower;
    for (const char c : text) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower.find("nan") != std::string::npos || lower.find("inf") != std::string::npos;
}

// Once the user has left a box, its text and the stored value agree: the
// design must use what the window shows.
std::string TextsOutOfStep(const DesignForm& form, const std::optional<FormControl>& focused) {
    std::ostringstream broken;
    const DesignState& s = form.State();
    auto check = [&](FormControl box, double stored, double tolerance, bool single) {
        if (focused == box) return;
        const double read = LeadingNumber(form.Text(box));
        const double shown = single ? static_cast<double>(static_cast<float>(read)) : read;
        if (!(std::fabs(shown - stored) <= tolerance)) {
            broken << "box " << static_cast<int>(box) << " shows '" << form.Text(box).substr(0, 40)
                   << "' but the design uses " << stored << "; ";
        }
    };
    check(FormControl::DCGL, s.DCGL, 0.0, false);
    check(FormControl::Sigma, s.Sigma, 1e-6 * s.Sigma, true);
    check(FormControl::Alpha, s.Alpha, 1e-6 * s.Alpha, true);
    check(FormControl::Beta, s.Beta, 1e-6 * s.Beta, true);
    // The LBGR text may lie off the stored value by up to half a thousandth
    // of the DCGL when the bar did not move.
    check(FormControl::LBGR, s.LBGR, 0.001 * s.DCGL, false);
    if (focused != FormControl::DCGL && form.Text(FormControl::LBGRMax) != form.Text(FormControl::DCGL)) {
        broken << "lblLBGRMax differs from the DCGL text; ";
    }
    const std::string& caption = form.Text(FormControl::Shift);
    if (caption.rfind("D/s = ", 0) != 0 ||
        !(std::fabs(LeadingNumber(caption.substr(6)) - s.DoverS) <= 0.005 + 1e-9 * std::fabs(s.DoverS))) {
        broken << "lblShift '" << caption << "' for DoverS " << s.DoverS << "; ";
    }
    // The report writes the kept number; it must be the one the label shows.
    if (!caption.empty() && "D/s = " + form.ShownShift() != caption) {
        broken << "the shift kept, " << form.ShownShift() << ", is not lblShift '" << caption << "'; ";
    }
    return broken.str();
}

// Everything the window promises after any sequence of user actions.
std::string BrokenPromises(const DesignForm& form, const RecordingView& view,
                           const std::optional<FormControl>& focused) {
    std::ostringstream broken;
    const DesignState& s = form.State();
    for (const double v : {double(s.Alpha), double(s.Beta), double(s.Sigma), s.DCGL, s.LBGR, double(s.Delta),
                           s.DoverS, s.WRSCriticalValue}) {
        if (!std::isfinite(v)) broken << "a stored value is " << v << "; ";
    }
    for (int i = 1; i <= kCurvePoints; ++i) {
        if (!std::isfinite(s.CurveX[i]) || !std::isfinite(s.CurvePower[i])) broken << "curve point " << i << "; ";
    }
    if (!rules::AlphaInRange(s.Alpha)) broken << "Alpha " << s.Alpha << " outside (0, 0.5]; ";
    if (!rules::BetaInRange(s.Beta)) broken << "Beta " << s.Beta << " outside (0, 1]; ";
    if (rules::BothAtLeastHalf(s.Alpha, s.Beta)) broken << "Alpha and Beta both >= 0.5; ";
    if (!(s.Sigma > 0.0f)) broken << "Sigma " << s.Sigma << " not above 0; ";
    if (!rules::DCGLUsable(s.DCGL)) broken << "DCGL " << s.DCGL << " outside the usable range; ";
    if (!(s.LBGR >= 0.0 && s.LBGR <= s.DCGL)) broken << "LBGR " << s.LBGR << " outside [0, DCGL]; ";
    if (form.Bar() < 0 || form.Bar() > kLBGRBarBelowTop || view.bar != form.Bar()) {
        broken << "bar at " << form.Bar() << ", shown at " << view.bar << "; ";
    }
    for (const auto& [control, text] : view.texts) {
        if (text != form.Text(control)) broken << "control " << static_cast<int>(control) << " shows another text; ";
        const bool written = control == FormControl::Sigma || control == FormControl::DCGL ||
                             control == FormControl::LBGRMax || control == FormControl::Shift;
        if (written && ShowsNonNumber(text)) {
            broken << "control " << static_cast<int>(control) << " shows '" << text.substr(0, 40) << "'; ";
        }
    }
    if (ShowsNonNumber(view.results.sample_size + view.results.critical_value)) broken << "results not a number; ";
    for (const Refusal& message : view.shown) {
        const std::string name = MessageName(message);
        if (name.find(' ') != std::string::npos) broken << "message " << name << "; ";
    }
    broken << TextsOutOfStep(form, focused);
    return broken.str();
}

// The results shown are the engine's for the state, and a chart click shows
// the selected test.
std::string ResultsFault(const DesignForm& form, const RecordingView& view, bool chart_clicked) {
    const FormResults& shown = view.results;
    if (chart_clicked && shown.test != form.SelectedTest()) return "the chart click showed the other test; ";
    DesignState engine = form.State();
    const bool made = RunTestDesign(shown.test, engine) == DesignResult::Shown;
    if (made != shown.made) return "results made differ from the engine; ";
    if (made && (shown.sample_size != std::to_string(SampleSize(shown.test, engine)) ||
                 shown.critical_value != CriticalValueText(shown.test, engine))) {
        return "shown results differ from the engine; ";
    }
    return {};
}

// A moved bar or a sigma step keeps the relative shift at 0.1 (to
// single-precision rounding), unless LBGR had to go down to zero.
std::string MinimumShiftFault(const DesignForm& form, const std::string& action, int bar_before,
                              float sigma_before) {
    const DesignState& state = form.State();
    const bool stepped = action.rfind("spin", 0) == 0 && state.Sigma != sigma_before;
    const bool scrolled = action.rfind("scroll", 0) == 0 && form.Bar() != bar_before;
    // Subnormal singles carry too few digits for the rule to land on 0.1.
    const bool subnormal = std::fabs(state.Delta) < FLT_MIN || state.Sigma < FLT_MIN;
    if ((stepped || scrolled) && !subnormal && state.DoverS < 0.1 * (1 - 1e-6) && state.LBGR != 0.0) {
        return "D/s " + std::to_string(state.DoverS) + " below 0.1 after the minimum-shift rule; ";
    }
    return {};
}

class DesignFormFuzzTest : public ::testing::TestWithParam<unsigned> {};

TEST_P(DesignFormFuzzTest, RandomUserKeepsTheDesignSound) {
    RecordingView view;
    DesignForm form(view);
    form.Load();
    RandomUser user(form, view, GetParam());
    std::vector<std::string> steps;
    for (int step = 0; step < kStepsPerSeed; ++step) {
        const int bar_before = form.Bar();
        const float sigma_before = form.State().Sigma;
        view.shown.clear();
        steps.push_back(user.Act());
        const std::string faults = BrokenPromises(form, view, user.focused_) +
                                   ResultsFault(form, view, steps.back() == "click chart") +
                                   MinimumShiftFault(form, steps.back(), bar_before, sigma_before);
        if (!faults.empty()) {
            std::ostringstream log;
            const std::size_t first = steps.size() > 40 ? steps.size() - 40 : 0;
            for (std::size_t i = first; i < steps.size(); ++i) log << "  " << i + 1 << ": " << steps[i] << "\n";
            FAIL() << faults << "\nseed " << GetParam() << ", last steps:\n" << log.str();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, DesignFormFuzzTest, ::testing::ValuesIn(kSeeds));

}  // namespace
}  // namespace valdris::testing
