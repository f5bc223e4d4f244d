// SPDX-License-Identifier: Apache-2.0
#include "design_form_driver.h"

#include "number_text.h"
#include "stored_inputs.h"

namespace valdris::testing {

std::string MessageName(const Refusal& message) {
    using K = RefusalKind;
    static const std::map<K, std::string> names = {
        {K::AlphaBetaBothLarge, "joint"}, {K::AlphaRange, "alpha"},        {K::BetaRange, "beta"},
        {K::SigmaNotPositive, "sigma<=0"}, {K::SigmaTooLarge, "sigma>10"}, {K::LBGRAboveDCGL, "lbgr>dcgl"},
        {K::LBGRNegative, "lbgr<0"},      {K::LBGRResetToHalf, "reset"},   {K::CheckDecimalPoint, "point"},
        {K::MinimumShiftScroll, "adjusted"}, {K::MinimumShiftSigma, "ajusted"}, {K::DCGLUnusable, "dcgl?"},
        {K::SampleSizeTooLarge, "size"},
    };
    const Refusal known = rules::Message(message.kind);
    const auto name = names.find(message.kind);
    if (name == names.end()) return "unexpected: " + message.text;
    if (known.text != message.text || known.icon != message.icon) return name->second + " altered";
    return name->second;
}

DesignFormTest::DesignFormTest() {
    form.OnDesignAccepted([this](const DesignEntries&, const DesignInputs&) { ++recalculations; });
    form.Load();
    recalculations = 0;
}

void DesignFormTest::Run(const std::string& step) {
    const std::size_t blank = step.find(' ');
    const std::string verb = step.substr(0, blank);
    const std::string arg = blank == std::string::npos ? std::string() : step.substr(blank + 1);
    const std::map<std::string, FormControl> boxes = {
        {"alpha", FormControl::Alpha}, {"beta", FormControl::Beta}, {"sigma", FormControl::Sigma},
        {"dcgl", FormControl::DCGL},   {"lbgr", FormControl::LBGR}, {"text-sigma", FormControl::Sigma},
        {"text-dcgl", FormControl::DCGL}};
    if (const auto box = boxes.find(verb); box != boxes.end()) {
        // The window shows what the user typed before the form sees it.
        view.texts[box->second] = arg;
        form.EditText(box->second, arg);
        if (verb == "alpha") form.LeaveAlpha();
        if (verb == "beta") form.LeaveBeta();
        if (verb == "sigma") form.LeaveSigma();
        if (verb == "dcgl") form.LeaveDCGL();
        if (verb == "lbgr") form.LeaveLBGR();
    } else if (verb == "bar") {
        view.bar = std::stoi(arg);
        form.MoveBar(view.bar);
    } else if (verb == "up") {
        form.SigmaUp();
    } else if (verb == "down") {
        form.SigmaDown();
    } else if (verb == "chart") {
        form.ClickChart();
    } else if (verb == "wrs") {
        form.SelectTest(TestKind::WRS);
    } else {
        ADD_FAILURE() << "unknown step " << step;
    }
}

void DesignFormTest::Expect(const std::string& name_equals_value) const {
    const auto [name, expected, number] = ReadExpectation(name_equals_value);
    const std::map<std::string, FormControl> controls = {
        {"Cboalpha", FormControl::Alpha}, {"CboBeta", FormControl::Beta},      {"txtSigma", FormControl::Sigma},
        {"txtDCGL", FormControl::DCGL},   {"txtLBGR", FormControl::LBGR},      {"lblLBGRMax", FormControl::LBGRMax},
        {"lblShift", FormControl::Shift}};
    if (ExpectStoredInput(form.State(), name, number)) {
        return;
    } else if (name == "focus") {
        const auto control = controls.find(expected);
        ASSERT_NE(control, controls.end()) << expected;
        EXPECT_EQ(view.focus, control->second) << "focus";
    } else if (name == "ScrLBGR") {
        EXPECT_EQ(view.bar, static_cast<int>(number));
        EXPECT_EQ(form.Bar(), view.bar);
    } else if (name == "txtN" || name == "TxtM") {
        EXPECT_EQ(view.results.sample_size, expected) << name;
        if (name == "TxtM") {
            EXPECT_EQ(view.results.test, TestKind::WRS);
        }
    } else if (name == "CV") {
        EXPECT_EQ(view.results.critical_value, expected);
    } else if (const auto control = controls.find(name); control != controls.end()) {
        const auto shown = view.texts.find(control->second);
        EXPECT_EQ(shown == view.texts.end() ? std::string("(never written)") : shown->second, expected) << name;
        EXPECT_EQ(form.Text(control->second), expected) << name << " as the form holds it";
    } else {
        ADD_FAILURE() << "no control " << name;
    }
}

std::vector<std::string> DesignFormTest::Shown() const {
    std::vector<std::string> names;
    for (const Refusal& message : view.shown) names.push_back(MessageName(message));
    return names;
}

}  // namespace valdris::testing
