// SPDX-License-Identifier: Apache-2.0
// The design window's input rules, driven through the design form one user
// event at a time, with the window's effects recorded.
#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <string>
#include <tuple>
#include <vector>

#include "checked_design.h"
#include "design_form_driver.h"
#include "input_notes.h"
#include "input_rules.h"

namespace valdris::testing {
namespace {

using Steps = std::vector<std::string>;

const std::string kUnreadable(400, '9');  // beyond the range of a double

// The selected test is shown at the next recalculation, not before.
TEST_F(DesignFormTest, OtherTestShownAtTheNextRecalculation) {
    Expect("CV= 19");
    Run("wrs");
    Expect("CV= 19");
    Run("chart");
    Expect("CV= 1162");
}

// The refusal names the DCGL's limits as the box can hold them (digits and a
// point), and a DCGL typed as named is taken.
TEST_F(DesignFormTest, DCGLRefusalNamesLimitsTheBoxTakes) {
    std::smatch limits;
    ASSERT_TRUE(std::regex_search(rules::kDCGLUnusable, limits, std::regex("from ([0-9.]+) to ([0-9.]+)\\.")))
        << rules::kDCGLUnusable;
    Run(Steps{"sigma 0.0000001", "lbgr 0"});
    for (const std::string& limit : {limits.str(1), limits.str(2)}) {
        ResetCounts();
        Run("dcgl " + limit);
        EXPECT_EQ(Shown(), Steps{}) << limit;
        Expect("txtDCGL=" + limit);
        Expect("lblLBGRMax=" + limit);
    }
}

// One input rule: steps before, the step under test, then the messages it
// showed (by short name), its recalculations (-1: not counted) and the
// controls and stored inputs afterwards.
struct RuleCase {
    const char* name;
    Steps before;
    std::string step;
    Steps messages;
    int recalculations;
    Steps expected;
};

class InputRuleTest : public DesignFormTest, public ::testing::WithParamInterface<RuleCase> {};

TEST_P(InputRuleTest, ShowsWritesAndStoresWhatTheRuleSays) {
    const RuleCase& c = GetParam();
    Run(c.before);
    ResetCounts();
    Run(c.step);
    EXPECT_EQ(Shown(), c.messages);
    if (c.recalculations >= 0) {
        EXPECT_EQ(recalculations, c.recalculations);
    }
    for (const std::string& e : c.expected) Expect(e);
}

std::string CaseName(const ::testing::TestParamInfo<RuleCase>& info) { return info.param.name; }

INSTANTIATE_TEST_SUITE_P(
    DecisionErrors, InputRuleTest,
    ::testing::Values(
        RuleCase{"AlphaHalf", {}, "alpha 0.50", {}, 1, {"Cboalpha=0.50", "Alpha=0.5"}},
        RuleCase{"BetaHalfWithAlphaHalf", {"alpha 0.50"}, "beta 0.50", {"joint"}, 0, {"CboBeta=0.05", "Beta=0.05"}},
        RuleCase{"AlphaAboveHalf", {}, "alpha 0.6", {"alpha"}, 0, {"Cboalpha=0.05", "Alpha=0.05", "focus=Cboalpha"}},
        RuleCase{"JointRuleFirst", {"beta 0.5"}, "alpha 0.6", {"joint"}, 0, {"Cboalpha=0.05", "Beta=0.5"}},
        RuleCase{"SinglePrecisionHalf", {}, "alpha 0.50000001", {}, 1, {"Alpha=0.5"}},
        RuleCase{"AlphaUnreadable", {}, "alpha 1e999", {"alpha"}, 0, {"Alpha=0.05"}},
        RuleCase{"AlphaZero", {}, "alpha 0", {"alpha"}, 0, {"Cboalpha=0.05", "Alpha=0.05"}},
        RuleCase{"AlphaComma", {}, "alpha 0,05", {"alpha"}, 0, {"Cboalpha=0.05", "Alpha=0.05"}},
        RuleCase{"AlphaLetters", {}, "alpha abc", {"alpha"}, 0, {"Cboalpha=0.05"}},
        RuleCase{"BetaZeroAfterOne", {"beta 1"}, "beta 0", {"beta"}, 0, {"CboBeta=1", "Beta=1"}},
        RuleCase{"BetaEmpty", {}, "beta", {"beta"}, 0, {"CboBeta=0.05", "focus=CboBeta"}},
        RuleCase{"BetaOne", {}, "beta 1", {}, 1, {"Beta=1"}},
        RuleCase{"BetaAboveOne", {}, "beta 1.01", {"beta"}, 0, {"Beta=0.05"}},
        RuleCase{"BetaBeyondSingleRange", {}, "beta 1e39", {"beta"}, 0, {"Beta=0.05"}},
        RuleCase{"QuarterWrittenBack", {"alpha 0.25"}, "alpha 0.7", {"alpha"}, 0, {"Cboalpha=0.25"}},
        RuleCase{"TenthWrittenBackShort", {"beta 0.10"}, "beta 2", {"beta"}, 0, {"CboBeta=0.1"}}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    Sigma, InputRuleTest,
    ::testing::Values(
        RuleCase{"Zero", {}, "sigma 0", {"sigma<=0"}, 0, {"txtSigma=", "Sigma=0.5", "lblShift=D/s = 1", "focus=txtSigma"}},
        RuleCase{"BelowSingleRange", {}, "sigma 0." + std::string(60, '0') + "1", {"sigma<=0"}, 0, {"Sigma=0.5"}},
        RuleCase{"TenTimesDCGL", {}, "sigma 10", {}, 1, {"Sigma=10", "lblShift=D/s = 0.05"}},
        RuleCase{"Empty", {"sigma 10"}, "sigma", {"sigma<=0"}, 0, {"txtSigma=", "Sigma=10", "lblShift=D/s = 0.05"}},
        RuleCase{"AboveTenTimesDCGL", {}, "sigma 10.01", {"sigma>10"}, 0, {"txtSigma=", "Sigma=0.5"}},
        RuleCase{"Unreadable", {}, "sigma " + kUnreadable, {"sigma>10"}, 0, {"Sigma=0.5"}},
        RuleCase{"BeyondSingleRange", {}, "sigma 1" + std::string(40, '0'), {"sigma>10"}, 0, {"Sigma=0.5"}},
        RuleCase{"ThreeDecimals", {}, "sigma 0.3", {}, 1, {"lblShift=D/s = 1.667"}},
        RuleCase{"NoMinimumShiftWhenTyped", {}, "sigma 6", {}, 1, {"lblShift=D/s = 0.083", "LBGR=0.5"}},
        RuleCase{"SpinUp", {}, "up", {}, 1, {"txtSigma=0.51", "Sigma=0.51", "lblShift=D/s = 0.98"}},
        RuleCase{"SpinDownBack", {"up"}, "down", {}, 1, {"txtSigma=0.5", "lblShift=D/s = 1"}},
        RuleCase{"SpinStepZeroBelowHalfDCGL", {"dcgl 0.4", "sigma 0.3"}, "up", {}, 1, {"txtSigma=0.3"}},
        RuleCase{"SpinPastMinimumShift", {"sigma 4.99", "up"}, "up", {"ajusted"}, 2,
                 {"ScrLBGR=498", "txtLBGR=0.498", "LBGR=0.498", "lblShift=D/s = 0.1"}},
        RuleCase{"SpinToExactlyATenth", {"sigma 4.99"}, "up", {}, 1, {"txtSigma=5", "LBGR=0.5", "ScrLBGR=500"}},
        // Sigma above ten times a lowered DCGL: the rule can only take LBGR
        // down to zero, and the bar's own run of it says so a second time.
        RuleCase{"SpinAboveTenDCGL", {"sigma 5", "dcgl 0.4"}, "up", {"ajusted", "adjusted"}, -1,
                 {"txtSigma=5", "LBGR=0", "txtLBGR=0", "ScrLBGR=0", "lblShift=D/s = 0.08"}},
        // The box keeps digits and a point only: a small sigma is written out
        // in full, or the next step would start from the mantissa.
        RuleCase{"SpinWritesNoExponent", {"sigma 0.00001", "up"}, "down", {}, 1,
                 {"txtSigma=0.00001", "Sigma=0.00001"}},
        // A step that would leave no positive, finite sigma changes nothing.
        RuleCase{"SpinDownToZero", {"text-sigma 0.01"}, "down", {}, 0,
                 {"txtSigma=0.01", "Sigma=0.5", "lblShift=D/s = 1"}},
        RuleCase{"SpinDownFromEmpty", {"sigma 0"}, "down", {}, 0, {"txtSigma=", "Sigma=0.5"}},
        RuleCase{"SpinUpFromUnreadable", {"text-sigma " + kUnreadable}, "up", {}, 0, {"Sigma=0.5"}},
        RuleCase{"SpinUpBeyondSingleRange", {"text-sigma 1" + std::string(39, '0')}, "up", {}, 0, {"Sigma=0.5"}}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    DCGLAndLBGR, InputRuleTest,
    ::testing::Values(
        RuleCase{"BarSmallStep", {}, "bar 510", {}, 1, {"txtLBGR=0.51", "LBGR=0.51", "lblShift=D/s = 0.98"}},
        RuleCase{"BarRightEnd", {}, "bar 1000", {"adjusted"}, -1,
                 {"txtLBGR=0.95", "ScrLBGR=950", "LBGR=0.95", "lblShift=D/s = 0.1"}},
        RuleCase{"DCGLBelowLBGR", {}, "dcgl 0.4", {"reset"}, 1,
                 {"txtLBGR=0.2", "ScrLBGR=500", "lblLBGRMax=0.4", "DCGL=0.4", "LBGR=0.2", "lblShift=D/s = 0.4"}},
        RuleCase{"DCGLEqualToLBGR", {}, "dcgl 0.5", {"adjusted"}, -1,
                 {"ScrLBGR=900", "txtLBGR=0.45", "lblShift=D/s = 0.1"}},
        RuleCase{"LBGRFollowsTheBar", {}, "dcgl 3", {}, -1, {"ScrLBGR=167", "txtLBGR=0.501", "LBGR=0.501"}},
        RuleCase{"DCGLLeavesTheBar", {"dcgl 100", "bar 500"}, "dcgl 100.04", {}, 1,
                 {"ScrLBGR=500", "txtLBGR=50.02", "LBGR=50", "DCGL=100.04"}},
        RuleCase{"SigmaAboveTenDCGL", {"sigma 10"}, "dcgl 0.9", {"adjusted", "adjusted"}, -1,
                 {"LBGR=0", "ScrLBGR=0", "txtLBGR=0", "lblShift=D/s = 0.09"}},
        RuleCase{"LBGRAboveDCGL", {}, "lbgr 2", {"lbgr>dcgl"}, 0, {"txtLBGR=0.5", "focus=txtLBGR"}},
        RuleCase{"LBGRNegative", {}, "lbgr -1", {"lbgr<0"}, 1, {"txtLBGR=0.5", "ScrLBGR=500", "focus=txtLBGR"}},
        RuleCase{"LBGRToAThousandth", {"dcgl 100", "sigma 50"}, "lbgr 33.33", {}, 2,
                 {"ScrLBGR=333", "txtLBGR=33.3"}},
        RuleCase{"LBGRLetters", {}, "lbgr abc", {}, 2, {"ScrLBGR=0", "txtLBGR=0", "LBGR=0"}},
        RuleCase{"LBGREqualToDCGL", {}, "lbgr 1", {"adjusted"}, 4, {"ScrLBGR=950", "txtLBGR=0.95"}},
        RuleCase{"LBGRUnreadable", {}, "lbgr 1e999", {"lbgr>dcgl"}, 0, {"txtLBGR=0.5", "LBGR=0.5"}},
        RuleCase{"LBGRHugeNegative", {}, "lbgr -1e999", {"lbgr<0"}, 1, {"txtLBGR=0.5", "LBGR=0.5"}},
        // A DCGL that is no usable number: the previous one comes back and
        // nothing is recalculated.
        RuleCase{"DCGLEmpty", {"dcgl 2"}, "dcgl", {"dcgl?"}, 0, {"txtDCGL=2", "lblLBGRMax=2", "DCGL=2", "ScrLBGR=250", "focus=txtDCGL"}},
        RuleCase{"DCGLLonePoint", {"dcgl 2"}, "dcgl .", {"dcgl?"}, 0, {"txtDCGL=2", "DCGL=2"}},
        RuleCase{"DCGLZero", {"dcgl 2"}, "dcgl 000.00", {"dcgl?"}, 0, {"txtDCGL=2", "DCGL=2"}},
        RuleCase{"DCGLUnreadable", {"dcgl 2"}, "dcgl " + kUnreadable, {"dcgl?"}, 0, {"txtDCGL=2", "DCGL=2"}},
        RuleCase{"DCGLAboveLargest", {}, "dcgl 1" + std::string(31, '0'), {"dcgl?"}, 0, {"DCGL=1"}},
        RuleCase{"DCGLBelowSmallest", {}, "dcgl 0." + std::string(30, '0') + "1", {"dcgl?"}, 0, {"DCGL=1"}},
        RuleCase{"DCGLJustAboveLargest", {}, "dcgl 1000000001", {"dcgl?"}, 0, {"txtDCGL=1", "DCGL=1"}},
        RuleCase{"DCGLJustBelowSmallest", {}, "dcgl 0.0000009", {"dcgl?"}, 0, {"txtDCGL=1", "DCGL=1"}},
        // One user action reports an impossible design once, however often
        // its nested handlers recalculate.
        RuleCase{"ImpossibleDesignOnce", {"sigma 10", "dcgl 0.0001"}, "up", {"ajusted", "adjusted", "size"}, 2,
                 {"txtN=", "ScrLBGR=0"}}),
    CaseName);

// The stored value is back before the message; the text only after it,
// except for a negative LBGR and the DCGL reset.
TEST_F(DesignFormTest, TextsAreWrittenBackBeforeOrAfterTheMessage) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"alpha 0.6", "Cboalpha=0.6"}, {"beta 0", "CboBeta=0"}, {"lbgr 2", "txtLBGR=2"},
        {"lbgr -1", "txtLBGR=0.5"},    {"dcgl 0.4", "txtLBGR=0.2"}, {"text-sigma 1.2.", "txtSigma=1.2."}};
    for (const auto& [step, while_shown] : cases) {
        view.on_show = [&](const Refusal&) {
            Expect(while_shown);
            Expect("Alpha=0.05");
            Expect("Beta=0.05");
        };
        Run(step);
    }
}

struct FilterCase {
    const char* name;
    std::string set;
    std::string result;
    bool message;
};

class CharacterFilterTest : public DesignFormTest, public ::testing::WithParamInterface<FilterCase> {};

TEST_P(CharacterFilterTest, CutsAtTheFirstForeignCharacterInBothBoxes) {
    const FilterCase& c = GetParam();
    for (const char* box : {"dcgl", "sigma"}) {
        ResetCounts();
        Run(std::string("text-") + box + " " + c.set);
        Expect(std::string(box == std::string("dcgl") ? "txtDCGL=" : "txtSigma=") + c.result);
        EXPECT_EQ(Shown(), c.message ? Steps{"point"} : Steps{});
        EXPECT_EQ(recalculations, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CharacterFilterTest,
    ::testing::Values(FilterCase{"LetterInside", "12x45", "12", false}, FilterCase{"LetterSecond", "1a23", "1", false},
                      FilterCase{"MinusSign", "-5", "", false}, FilterCase{"Exponent", "2e3", "2", false},
                      FilterCase{"TwoPoints", "1.2.3", "", true}, FilterCase{"TwoPointsBeforeTheCut", "1..x", "", true},
                      FilterCase{"SecondPointAfterTheCut", "1.x.", "1.", false},
                      // A long paste is cut at once, not one nested run per character.
                      FilterCase{"LongPasteCut", "x" + std::string(30000, '7'), "", false},
                      FilterCase{"LongPasteKept", std::string(30000, '7'), std::string(30000, '7'), false}),
    [](const ::testing::TestParamInfo<FilterCase>& info) { return std::string(info.param.name); });

// Keys typed one at a time: a refused key is said at once (a notice at the
// box and a beep), and a comma is the decimal point where the locale writes
// decimals so. The filter's cut itself is unchanged.
struct KeysCase {
    const char* name;
    bool decimal_comma;
    std::string keys, shown;  // typed; the box's text afterwards, then taken
    std::size_t notices;
};

class TypedKeysTest : public DesignFormTest, public ::testing::WithParamInterface<KeysCase> {};

TEST_P(TypedKeysTest, RefusedKeysAreSaidAndACommaIsThePointWhereLocal) {
    const KeysCase& c = GetParam();
    form.SetDecimalComma(c.decimal_comma);
    Run(Steps{"dcgl 100", "lbgr 0.1"});  // any DCGL or sigma the keys make passes
    for (const auto& [box, name, stored] : {std::tuple{"dcgl", "txtDCGL", "DCGL"}, {"sigma", "txtSigma", "Sigma"}}) {
        ResetCounts();
        Run(std::string("keys-") + box + " " + c.keys);
        for (const std::string& e : {name + ("=" + c.shown), stored + ("=" + c.shown)}) Expect(e);
        const FormControl control = std::string(box) == "dcgl" ? FormControl::DCGL : FormControl::Sigma;
        EXPECT_EQ(view.notices, decltype(view.notices)(c.notices, {control, kOnlyDigitsNotice})) << box;
        EXPECT_EQ(view.beeps, static_cast<int>(c.notices));
        EXPECT_EQ(Shown(), Steps{}) << box;
        Run("dcgl 100");
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, TypedKeysTest,
                         ::testing::Values(KeysCase{"CommaWherePointIsLocal", false, "1,5", "15", 1},
                                           KeysCase{"CommaWhereCommaIsLocal", true, "1,5", "1.5", 0},
                                           KeysCase{"Exponent", false, "2e3", "23", 1},
                                           KeysCase{"MinusSign", false, "-0.3", "0.3", 1}),
                         [](const ::testing::TestParamInfo<KeysCase>& info) { return std::string(info.param.name); });

// While the results shown are the other test's, the note says so; the next
// recalculation clears it.
TEST_F(DesignFormTest, NoteSaysWhoseResultsStandUntilRecalculated) {
    const std::string sign_shown = OtherTestNote(TestKind::Sign, TestKind::WRS);
    const std::vector<std::pair<std::string, std::string>> steps = {
        {"wrs", sign_shown}, {"sign", ""}, {"wrs", sign_shown}, {"chart", ""},
        {"sign", OtherTestNote(TestKind::WRS, TestKind::Sign)}, {"alpha 0.1", ""}};
    for (const auto& [step, note] : steps) {
        Run(step);
        EXPECT_EQ(view.results_note, note) << step;
        EXPECT_EQ(view.results_tip.empty(), note.empty()) << step;
    }
}

// A design no data can pass says so beside its results, before any other
// note; its tip names the smallest size that can pass.
TEST_F(DesignFormTest, NoteSaysWhenNoDataCanPass) {
    const struct {
        Steps steps;
        std::string note;
        std::string tip_end;
    } cases[] = {
        {{"beta 0.5", "sigma 0.25"}, kCannotPassShortNote, "the smallest sample size that can pass is 5."},
        {{"alpha 0.1", "wrs", "chart"}, kCannotPassShortNote, "can pass is 3 in each area."},
        {{"sign"}, kCannotPassShortNote + " " + OtherTestNote(TestKind::WRS, TestKind::Sign), ""},
        {{"beta 0.05"}, "", ""},
    };
    for (const auto& c : cases) {
        Run(c.steps);
        EXPECT_EQ(view.results_note, c.note) << c.steps.front();
        EXPECT_NE(view.results_tip.find(c.tip_end), std::string::npos) << view.results_tip;
    }
}

// --- Designs that cannot be made ------------------------------------------------

class SampleSizeOutOfRangeTest : public DesignFormTest, public ::testing::WithParamInterface<bool> {};

// With alpha and beta 0.01 and LBGR at 999 thousandths, a typed sigma of ten
// DCGLs leaves D/s at 1E-4: more samples than a 32-bit count holds.
TEST_P(SampleSizeOutOfRangeTest, IsReportedAndTheNextInputRecalculates) {
    const bool wrs = GetParam();
    Run(Steps{"alpha 0.01", "beta 0.01", "sigma 0.01", "bar 999"});
    if (wrs) Run(Steps{"wrs", "chart"});
    ASSERT_TRUE(view.shown.empty());
    ASSERT_TRUE(view.results.made);

    Run("sigma 10");
    EXPECT_EQ(Shown(), Steps{"size"});
    EXPECT_FALSE(view.results.made);
    EXPECT_EQ(view.results.test, wrs ? TestKind::WRS : TestKind::Sign);
    for (const char* e : {"txtN=", "CV="}) Expect(e);

    ResetCounts();
    Run("sigma 1");
    EXPECT_TRUE(view.shown.empty());
    EXPECT_TRUE(view.results.made);
    EXPECT_FALSE(view.results.sample_size.empty());
    EXPECT_EQ(view.results.critical_value.substr(0, 1), " ");
}

INSTANTIATE_TEST_SUITE_P(Tests, SampleSizeOutOfRangeTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "WRS" : "Sign"; });

// --- A DCGL box not yet left ------------------------------------------------------

class UncheckedDCGLTextTest : public DesignFormTest, public ::testing::WithParamInterface<Steps> {};

// The bar and the spin control can be used while the DCGL box still holds a
// text that was never checked: nothing may divide by it, store a non-number
// or chase its own tail.
TEST_P(UncheckedDCGLTextTest, BarSpinAndLBGRStaySound) {
    Run(GetParam());
    for (const char* step : {"bar 990", "up", "lbgr 0", "bar 300"}) {
        Run(step);
        const DesignState& s = form.State();
        for (double v : {double(s.Sigma), s.DCGL, s.LBGR, double(s.Delta), s.DoverS}) EXPECT_TRUE(std::isfinite(v));
        EXPECT_GT(s.Sigma, 0.0f);
        EXPECT_GE(s.LBGR, 0.0);
        EXPECT_LE(s.LBGR, s.DCGL);
        EXPECT_LT(form.Bar(), 1000);
    }
    EXPECT_LT(view.shown.size(), 12u);
}

INSTANTIATE_TEST_SUITE_P(Cases, UncheckedDCGLTextTest,
                         ::testing::Values(Steps{"text-dcgl"}, Steps{"text-dcgl ."}, Steps{"text-dcgl 0"},
                                           Steps{"text-dcgl " + kUnreadable},
                                           Steps{"sigma 0.00000000000000000001", "text-dcgl 5"}));

// --- The LBGR a dragged thumb would give ---------------------------------------------

struct ThumbCase {
    Steps before;
    int position;
    std::string lbgr;
};

class ThumbLBGRTest : public DesignFormTest, public ::testing::WithParamInterface<ThumbCase> {};

// What the thumb shows while dragged is what letting it go there writes.
TEST_P(ThumbLBGRTest, IsWhatLettingGoWrites) {
    const ThumbCase& c = GetParam();
    Run(Steps{"sigma 0.0001"});  // no minimum-shift adjustment after the release
    Run(c.before);
    const int bar_before = form.Bar();
    EXPECT_EQ(form.LBGRTextAtBar(c.position), c.lbgr);
    EXPECT_EQ(form.Bar(), bar_before);  // asking moves nothing
    Run("bar " + std::to_string(c.position));
    Expect("txtLBGR=" + c.lbgr);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ThumbLBGRTest,
    ::testing::Values(ThumbCase{{}, 510, "0.51"}, ThumbCase{{}, 0, "0"}, ThumbCase{{}, 1000, "0.999"},
                      ThumbCase{{"dcgl 100.04"}, 500, "50.02"},
                      ThumbCase{{"text-dcgl 2"}, 400, "0.8"},      // the DCGL box's text, not yet left
                      ThumbCase{{"text-dcgl ."}, 400, "0.4"},      // no number: the accepted DCGL
                      ThumbCase{{"dcgl 3"}, 333, "0.999"}));

// --- A whole design from another window ---------------------------------------------

TEST_F(DesignFormTest, LoadsAWholeDesignAndReportsEachAcceptedInput) {
    std::vector<DesignInputs> accepted;
    DesignEntries last;
    form.OnDesignAccepted([&](const DesignEntries& entries, const DesignInputs& inputs) {
        last = entries;
        accepted.push_back(inputs);
    });
    ASSERT_EQ(form.LoadDesign({"0.10", "0.025", "3", "100", "33.33", "Co-60", TestKind::WRS}), std::nullopt);
    EXPECT_TRUE(view.shown.empty());
    for (const char* e : {"Cboalpha=0.10", "CboBeta=0.025", "txtSigma=3", "txtDCGL=100", "txtLBGR=33.33",
                          "lblLBGRMax=100", "ScrLBGR=333", "Alpha=0.1", "Beta=0.025", "LBGR=33.33"}) {
        Expect(e);
    }
    const Outcome<DesignState> run = RunDesign(TestKind::WRS, {0.10, 0.025, 3, 100, 33.33});
    ASSERT_TRUE(run);
    Expect("TxtM=" + std::to_string(run->WRSN));
    EXPECT_EQ(view.selected, TestKind::WRS);
    ASSERT_EQ(accepted.size(), 1u);
    EXPECT_EQ(accepted[0].lbgr, 33.33);
    EXPECT_EQ(last.radionuclide, "Co-60");
    EXPECT_EQ(last.test, TestKind::WRS);

    // An input the window then accepts is reported with the new values (its
    // nested bar rule recalculates too).
    Run("lbgr 40");
    ASSERT_EQ(accepted.size(), 3u);
    EXPECT_EQ(accepted.back().lbgr, 40.0);
    EXPECT_EQ(last.lbgr, "40");
}

struct RefusedLoad {
    const char* name;
    DesignEntries entries;
    RefusalKind kind;
};

class RefusedLoadTest : public DesignFormTest, public ::testing::WithParamInterface<RefusedLoad> {};

TEST_P(RefusedLoadTest, ChangesNothingAndShowsNothing) {
    const std::optional<Refusal> refusal = form.LoadDesign(GetParam().entries);
    ASSERT_TRUE(refusal.has_value());
    EXPECT_EQ(refusal->kind, GetParam().kind);
    EXPECT_TRUE(view.shown.empty());
    EXPECT_EQ(recalculations, 0);
    for (const char* e : {"txtDCGL=1", "txtLBGR=0.5", "DCGL=1", "Sigma=0.5", "ScrLBGR=500"}) Expect(e);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedLoadTest,
    ::testing::Values(RefusedLoad{"Exponent", {"0.05", "0.05", "0.5", "1E3", "0.5", "", TestKind::Sign},
                                  RefusalKind::EntryNotPlain},
                      RefusedLoad{"TwoPoints", {"0.05", "0.05", "0.5.1", "1", "0.5", "", TestKind::Sign},
                                  RefusalKind::EntryNotPlain},
                      RefusedLoad{"BothHalf", {"0.5", "0.5", "0.5", "1", "0.5", "", TestKind::Sign},
                                  RefusalKind::AlphaBetaBothLarge},
                      RefusedLoad{"LBGRAtDCGL", {"0.05", "0.05", "0.5", "1", "1", "", TestKind::Sign},
                                  RefusalKind::LBGRAboveDCGL},
                      RefusedLoad{"DCGLZero", {"0.05", "0.05", "0.5", "0", "0", "", TestKind::Sign},
                                  RefusalKind::DCGLUnusable}),
    [](const ::testing::TestParamInfo<RefusedLoad>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace valdris::testing
