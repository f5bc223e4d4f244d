// SPDX-License-Identifier: Apache-2.0
#include "design_form.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "checked_design.h"
#include "input_notes.h"
#include "number_text.h"
#include "result_texts.h"

namespace valdris {

namespace {

bool IsDigitOrPoint(char c) { return (c >= '0' && c <= '9') || c == '.'; }

// Index of the first character a number box does not keep, or npos.
std::size_t FirstForeign(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!IsDigitOrPoint(text[i])) return i;
    }
    return std::string::npos;
}

bool IsPlainNumberText(const std::string& text) {
    return FirstForeign(text) == std::string::npos && std::count(text.begin(), text.end(), '.') <= 1;
}

// A sigma as the box shows it: the single-precision number in plain digits.
// The box keeps only digits and a point, so an exponent would be cut off and
// the next spin step would start from the wrong number.
std::string PlainSigmaText(float sigma) {
    const std::string written = WriteNumber(sigma);
    const std::size_t e = written.find('E');
    if (e == std::string::npos) return written;

    std::string digits;
    int point = 0;  // digits of the mantissa before its point
    bool seen_point = false;
    for (std::size_t i = 0; i < e; ++i) {
        if (written[i] == '.') {
            seen_point = true;
        } else if (written[i] >= '0' && written[i] <= '9') {
            digits += written[i];
            if (!seen_point) ++point;
        }
    }
    point += std::atoi(written.c_str() + e + 1);
    if (point <= 0) return "0." + std::string(static_cast<std::size_t>(-point), '0') + digits;
    if (point >= static_cast<int>(digits.size())) {
        return digits + std::string(static_cast<std::size_t>(point) - digits.size(), '0');
    }
    return digits.substr(0, static_cast<std::size_t>(point)) + "." + digits.substr(static_cast<std::size_t>(point));
}

}  // namespace

// Marks one run of a rule. While a message is open no rule runs: nothing the message's event loop delivers may re-enter the rule
// waiting for it. The outermost run of a user action resets the
// once-per-action report of a refused design.
class DesignForm::Run {
public:
    explicit Run(DesignForm& form) : form_(form), active_(!form.message_open_ && !form.view_.Busy()) {
        if (active_ && form_.depth_++ == 0) form_.design_refusal_shown_ = false;
    }
    ~Run() {
        if (active_) --form_.depth_;
    }
    Run(const Run&) = delete;
    Run& operator=(const Run&) = delete;
    explicit operator bool() const { return active_; }

private:
    DesignForm& form_;
    const bool active_;
};

// --- Effects ------------------------------------------------------------------

// A changed DCGL or sigma text runs the character filter nested, as the
// box's change event would.
void DesignForm::SetText(FormControl control, const std::string& text) {
    std::string& held = texts_[Index(control)];
    const bool changed = held != text;
    held = text;
    view_.SetText(control, text);
    if (changed && (control == FormControl::DCGL || control == FormControl::Sigma)) {
        Run run(*this);
        if (run) ApplyCharacterFilter(control);
    }
}

// A new position runs the bar's change rule nested.
void DesignForm::SetBar(int position) {
    if (position == bar_) return;
    bar_ = position;
    view_.SetBar(position);
    BarChanged();
}

// The bar's range is the LBGR from 0 to the DCGL in thousandths; a value
// outside it (a text not yet checked, an unusable quotient) goes to the
// nearer end rather than reaching the 16-bit position.
void DesignForm::SetScrollValue(double thousandths) {
    int value = kLBGRBarBottom;
    if (thousandths >= kLBGRBarTop) {
        value = kLBGRBarTop;
    } else if (thousandths > kLBGRBarBottom) {
        value = static_cast<int>(thousandths);
    }
    SetBar(value);
}

void DesignForm::Show(const Refusal& message) {
    message_open_ = true;
    view_.ShowMessage(message);
    message_open_ = false;
}

void DesignForm::ShowShift(int decimals) {
    shown_shift_ = ShiftNumberText(state_.DoverS, decimals);
    SetText(FormControl::Shift, ShiftText(state_.DoverS, decimals));
}

std::string DesignForm::LBGRTextAtBar(int position) const {
    return WriteNumber(LBGRAtBar(DCGLOfText(/*strict=*/true), position));
}

double DesignForm::NumberIn(FormControl control) const { return LeadingNumber(Text(control)); }

// The DCGL as its text reads, or the accepted DCGL when the text holds no
// usable number (the box may be half-typed while the bar or the spin control
// is used, and nothing may divide by zero or store a non-number).
double DesignForm::DCGLOfText(bool strict) const {
    if (strict) {
        const std::optional<double> number = StrictNumber(Text(FormControl::DCGL));
        return number && rules::DCGLUsable(*number) ? *number : state_.DCGL;
    }
    const double number = NumberIn(FormControl::DCGL);
    return rules::DCGLUsable(number) ? number : state_.DCGL;
}

// --- Load and recalculation ---------------------------------------------------

void DesignForm::Load() {
    const DesignInputs defaults;
    SetText(FormControl::DCGL, WriteNumber(defaults.dcgl));
    state_.DCGL = NumberIn(FormControl::DCGL);
    accepted_dcgl_text_ = Text(FormControl::DCGL);

    SetText(FormControl::LBGR, WriteNumber(state_.DCGL * 0.5));
    state_.LBGR = NumberIn(FormControl::LBGR);
    // The bar starts at kLBGRBarStart, which is the same LBGR.

    SetText(FormControl::Sigma, FormatHashHashPointHashHash(state_.DCGL / 2));
    state_.Sigma = ToSingle(NumberIn(FormControl::Sigma));

    UpdateShift(state_);
    ShowShift(2);
    SetText(FormControl::LBGRMax, Text(FormControl::DCGL));

    SetText(FormControl::Alpha, WriteNumber(defaults.alpha));
    SetText(FormControl::Beta, WriteNumber(defaults.beta));
    state_.Alpha = ToSingle(NumberIn(FormControl::Alpha));
    state_.Beta = ToSingle(NumberIn(FormControl::Beta));
    Recalculate();
}

void DesignForm::Recalculate() {
    Run run(*this);
    if (!run) return;
    // The selected test is read afresh at each recalculation.
    RunTest(selected_);
    const DesignEntries entries = Entries();
    const DesignInputs inputs = Inputs();
    for (const DesignAccepted& observer : observers_) observer(entries, inputs);
}

// The inputs ask for more samples than can be counted (or give no number):
// no figure is shown rather than a wrong one, once per user action.
void DesignForm::RunTest(TestKind test) {
    FormResults results;
    results.test = test;
    results.made = RunTestDesign(test, state_) == DesignResult::Shown;
    if (results.made) {
        results.sample_size = std::to_string(SampleSize(test, state_));
        results.critical_value = CriticalValueText(test, state_);
    }
    results_ = results;
    view_.ShowResults(results, state_);
    ShowResultsNote();
    if (!results.made && !design_refusal_shown_) {
        design_refusal_shown_ = true;
        Show(RefusalKind::SampleSizeTooLarge);
    }
}

void DesignForm::SelectTest(TestKind test) {
    selected_ = test;
    ShowResultsNote();
}

void DesignForm::ShowResultsNote() {
    if (!results_ || !results_->made) {
        view_.ShowResultsNote({}, {});
        return;
    }
    std::string note = OtherTestNote(results_->test, selected_);
    std::string tip = OtherTestTip(results_->test, selected_);
    if (!CanPass(results_->test, state_)) {
        // The results shown can never pass: said before anything else.
        note = kCannotPassShortNote + (note.empty() ? "" : " " + note);
        tip = CannotPassNote(results_->test, state_.Alpha, SmallestPassableN(results_->test, state_.Alpha)) +
              (tip.empty() ? "" : " " + tip);
    }
    view_.ShowResultsNote(note, tip);
}

DesignEntries DesignForm::Entries() const {
    return {Text(FormControl::Alpha), Text(FormControl::Beta),  Text(FormControl::Sigma),        Text(FormControl::DCGL),
            Text(FormControl::LBGR),  Text(FormControl::Radionuclide), selected_};
}

DesignInputs DesignForm::Inputs() const {
    return {state_.Alpha, state_.Beta, state_.Sigma, state_.DCGL, state_.LBGR};
}

// --- Texts and the character filter --------------------------------------------

void DesignForm::EditText(FormControl control, const std::string& text) {
    texts_[Index(control)] = text;
    if (control != FormControl::DCGL && control != FormControl::Sigma) return;
    Run run(*this);
    if (run) ApplyCharacterFilter(control);
}

// Keeps a box to digits and one point. The text is cut just before its first
// other character, the rest going with it: trimming the last character and
// filtering again, one character at a time, ends at the same text, so the cut
// is made at once (a long pasted text would otherwise nest once per
// character). Writing the text runs this filter again on the result, which
// then checks the points. A refused character is said at once: typed on,
// the digits after it would otherwise silently make another number (1,5
// becoming 15).
void DesignForm::ApplyCharacterFilter(FormControl control) {
    std::string text = Text(control);
    if (decimal_comma_ && text.find(',') != std::string::npos) {
        std::replace(text.begin(), text.end(), ',', '.');
        SetText(control, text);
        return;
    }
    const std::size_t cut = FirstForeign(text);
    if (cut != std::string::npos) {
        SetText(control, text.substr(0, cut));
        view_.Beep();
        view_.ShowNotice(control, kOnlyDigitsNotice);
        return;
    }
    if (std::count(text.begin(), text.end(), '.') > 1) {
        Show(RefusalKind::CheckDecimalPoint);
        SetText(control, std::string());
    }
}

// --- Alpha and beta ---------------------------------------------------------------

void DesignForm::LeaveAlpha() { TakeDecisionError(FormControl::Alpha, state_.Alpha, rules::DecisionError::Alpha); }

void DesignForm::LeaveBeta() { TakeDecisionError(FormControl::Beta, state_.Beta, rules::DecisionError::Beta); }

// Stores the box's number in `value` if the pair and the range allow it.
// A refusal puts the previous value back before the message and the text
// after it, and gives the focus back to the box. Comparisons are made in
// single precision, so 0.50000001 counts as 0.5; a number too large to read
// is infinite and fails the range.
void DesignForm::TakeDecisionError(FormControl box, float& value, rules::DecisionError which) {
    Run run(*this);
    if (!run) return;
    const float previous = value;
    value = ToSingle(NumberIn(box));
    const std::optional<Refusal> refusal = rules::DecisionErrorRefusal(state_.Alpha, state_.Beta, which);
    if (!refusal) {
        Recalculate();
        return;
    }
    value = previous;
    Show(*refusal);
    SetText(box, WriteNumber(previous));
    view_.Focus(box);
}

// --- Sigma --------------------------------------------------------------------------

void DesignForm::LeaveSigma() {
    Run run(*this);
    if (!run) return;
    const float typed = ToSingle(NumberIn(FormControl::Sigma));

    // A refused sigma leaves Sigma as it was and the box empty.
    if (const std::optional<Refusal> refusal = rules::SigmaRefusal(typed, state_.DCGL)) {
        Show(*refusal);
        SetText(FormControl::Sigma, std::string());
        view_.Focus(FormControl::Sigma);
        return;
    }
    state_.Sigma = typed;
    // Delta is not recomputed here, and a typed sigma is not held to the
    // minimum shift; the caption shows three decimals.
    if (state_.Delta > 0.0f) {
        state_.DoverS = static_cast<double>(state_.Delta) / static_cast<double>(state_.Sigma);
        ShowShift(3);
    }
    Recalculate();
}

void DesignForm::SigmaUp() { StepSigma(+1.0); }

void DesignForm::SigmaDown() { StepSigma(-1.0); }

// One step is a hundredth of the DCGL on a grid of 0.01, added to the number
// in the box (not to the stored Sigma).
double DesignForm::SigmaStep() const { return RoundHalfEven(state_.DCGL * 0.01, 2); }

void DesignForm::StepSigma(double direction) {
    Run run(*this);
    if (!run) return;
    const double step = SigmaStep();
    const double typed = NumberIn(FormControl::Sigma);
    const float sigma = ToSingle(direction > 0 ? typed + step : typed - step);

    // A relative shift needs a positive, finite sigma: a step that would
    // leave none changes nothing.
    if (!std::isfinite(sigma) || sigma <= 0.0f) {
        view_.Beep();
        return;
    }
    state_.Sigma = sigma;
    SetText(FormControl::Sigma, PlainSigmaText(sigma));
    UpdateShift(state_);
    ApplyMinimumShift(RefusalKind::MinimumShiftSigma);
    ShowShift(2);
    Recalculate();
}

// --- DCGL and LBGR ----------------------------------------------------------------

void DesignForm::LeaveDCGL() {
    Run run(*this);
    if (!run) return;
    // The design divides by the DCGL and scales the curve by it: a DCGL that
    // is no usable number is refused before anything else happens.
    if (const std::optional<Refusal> refusal = rules::DCGLRefusal(NumberIn(FormControl::DCGL))) {
        Show(*refusal);
        SetText(FormControl::DCGL, accepted_dcgl_text_);
        view_.Focus(FormControl::DCGL);
        return;
    }
    const double dcgl = NumberIn(FormControl::DCGL);
    if (dcgl < NumberIn(FormControl::LBGR)) {
        state_.LBGR = dcgl / 2;
        SetText(FormControl::LBGR, WriteNumber(state_.LBGR));
        Show(RefusalKind::LBGRResetToHalf);
    }
    state_.DCGL = NumberIn(FormControl::DCGL);
    accepted_dcgl_text_ = Text(FormControl::DCGL);
    SetText(FormControl::LBGRMax, Text(FormControl::DCGL));

    // Moving the bar stores LBGR through its change rule, nested here.
    SetScrollValue(RoundHalfEven(NumberIn(FormControl::LBGR) / NumberIn(FormControl::DCGL) * kLBGRBarTop));

    // The text follows the new DCGL even when the bar stayed; the stored LBGR
    // does not.
    SetText(FormControl::LBGR, LBGRTextAtBar(bar_));
    UpdateShift(state_);
    ShowShift(2);
    Recalculate();
}

void DesignForm::LeaveLBGR() {
    Run run(*this);
    if (!run) return;
    const double lbgr = NumberIn(FormControl::LBGR);
    const std::optional<Refusal> refusal = rules::LBGRRefusal(lbgr, NumberIn(FormControl::DCGL));
    if (refusal && refusal->kind == RefusalKind::LBGRAboveDCGL) {
        Show(*refusal);
        SetText(FormControl::LBGR, WriteNumber(state_.LBGR));
        view_.Focus(FormControl::LBGR);
        return;
    }
    if (refusal) {
        // A negative LBGR gets its previous text back before the message,
        // and the design is recalculated all the same.
        SetText(FormControl::LBGR, WriteNumber(state_.LBGR));
        Show(*refusal);
        view_.Focus(FormControl::LBGR);
    } else {
        // A typed LBGR goes onto the thousandths scale when it moves the bar.
        SetScrollValue(RoundHalfEven(lbgr / DCGLOfText(/*strict=*/false) * kLBGRBarTop));
        UpdateShift(state_);
        ShowShift(2);
    }
    Recalculate();
}

void DesignForm::MoveBar(int position) {
    if (position == bar_) return;
    bar_ = position;
    BarChanged();
}

void DesignForm::BarChanged() {
    Run run(*this);
    if (!run) return;
    if (bar_ == kLBGRBarTop) SetBar(kLBGRBarBelowTop);  // runs this rule nested

    SetText(FormControl::LBGR, LBGRTextAtBar(bar_));
    state_.LBGR = NumberIn(FormControl::LBGR);
    UpdateShift(state_);
    ApplyMinimumShift(RefusalKind::MinimumShiftScroll);
    ShowShift(2);
    Recalculate();
}

// Values of D/s below 0.1 ask for unrealistically many samples: LBGR is
// lowered to DCGL - 0.1 sigma (not below 0) and the bar follows, rounded
// down, which derives LBGR once more from the bar through its rule. The bar
// is taken no higher than kLBGRBarBelowTop: an LBGR this rule leaves is below
// the DCGL, and sending the bar to the top, which its rule turns back, would
// let the two chase each other for ever while the DCGL box holds a larger
// number not yet taken.
void DesignForm::ApplyMinimumShift(RefusalKind message) {
    if (!(state_.DoverS < rules::kMinimumRelativeShift)) return;
    Show(message);
    state_.LBGR = state_.DCGL - rules::kMinimumRelativeShift * static_cast<double>(state_.Sigma);
    if (state_.LBGR < 0) state_.LBGR = 0;
    UpdateShift(state_);
    SetText(FormControl::LBGR, WriteNumber(state_.LBGR));
    SetScrollValue(std::min<double>(std::floor(kLBGRBarTop * state_.LBGR / state_.DCGL), kLBGRBarBelowTop));
}

// --- A whole design ------------------------------------------------------------

std::optional<Refusal> DesignForm::LoadDesign(const DesignEntries& entries) {
    if (!IsPlainNumberText(entries.dcgl) || !IsPlainNumberText(entries.sigma)) {
        return rules::Message(RefusalKind::EntryNotPlain);
    }
    const DesignInputs inputs{LeadingNumber(entries.alpha), LeadingNumber(entries.beta), LeadingNumber(entries.sigma),
                              LeadingNumber(entries.dcgl), LeadingNumber(entries.lbgr)};
    if (std::optional<Refusal> refusal = CheckInputs(inputs)) return refusal;

    Run run(*this);
    SetText(FormControl::Radionuclide, entries.radionuclide);
    SetText(FormControl::Alpha, entries.alpha);
    SetText(FormControl::Beta, entries.beta);
    SetText(FormControl::DCGL, entries.dcgl);
    SetText(FormControl::Sigma, entries.sigma);
    SetText(FormControl::LBGR, entries.lbgr);
    SetText(FormControl::LBGRMax, entries.dcgl);
    accepted_dcgl_text_ = entries.dcgl;
    state_ = PrepareState(inputs);
    // The bar shows the LBGR without deriving it again from its position.
    bar_ = std::clamp(static_cast<int>(RoundHalfEven(inputs.lbgr / inputs.dcgl * kLBGRBarTop)), kLBGRBarBottom,
                      kLBGRBarBelowTop);
    view_.SetBar(bar_);
    ShowShift(2);
    selected_ = entries.test;
    view_.ShowSelectedTest(selected_);
    Recalculate();
    return std::nullopt;
}

}  // namespace valdris
