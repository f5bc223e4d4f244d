// The design window's handlers, called directly or through the controls'
// signals, with messages recorded instead of shown.
#include <gtest/gtest.h>

#include <QApplication>
#include <QColor>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <cmath>
#include <memory>

#include "frm_sample_size_and_power.h"
#include "input_rules.h"
#include "power_chart_view.h"
#include "recording_messages.h"
#include "symbol_label.h"
#include "window_handlers_test_support.h"

namespace valdris::testing {
namespace {

TEST_F(WindowHandlersTest, FirstDisplayShowsDefaultsAndTheSignDesign) {
    EXPECT_EQ(window->txtDCGL->text(), "1");
    EXPECT_EQ(window->txtLBGR->text(), "0.5");
    EXPECT_EQ(window->txtSigma->text(), ".5");
    EXPECT_EQ(window->lblShift->caption(), "D/s = 1");
    EXPECT_EQ(window->lblLBGRMin->text(), "0");
    EXPECT_EQ(window->lblLBGRMax->text(), "1");
    EXPECT_EQ(window->ScrLBGR->value(), 500);
    for (QComboBox* box : {window->Cboalpha, window->CboBeta}) {
        EXPECT_EQ(box->currentText(), "0.05");
        ASSERT_EQ(box->count(), 6);
        const QStringList expected = {"0.01", "0.025", "0.05", "0.10", "0.25", "0.50"};
        for (int i = 0; i < 6; ++i) EXPECT_EQ(box->itemText(i), expected[i]);
    }
    EXPECT_TRUE(window->OptSignTest->isChecked());
    EXPECT_TRUE(window->TxtM->isHidden());
    EXPECT_TRUE(window->LblReferenceArea->isHidden());
    EXPECT_EQ(window->txtN->text(), "29");
    EXPECT_EQ(window->LblCV->text(), "Critical Value:\n 19");
    EXPECT_EQ(window->LblCV->property("caption").toString(), "Critical Value:\r\n 19");

    const DesignState& s = window->State();
    EXPECT_EQ(s.Alpha, 0.05f);
    EXPECT_EQ(s.Beta, 0.05f);
    EXPECT_EQ(s.Sigma, 0.5f);
    EXPECT_EQ(s.DCGL, 1.0);
    EXPECT_EQ(s.LBGR, 0.5);
    EXPECT_EQ(s.DoverS, 1.0);
    EXPECT_TRUE(messages.shown.empty());
}


// --- Recalculation rule ---------------------------------------------------------

TEST_F(WindowHandlersTest, SelectingWRSAloneChangesNothingUntilTheChartIsClicked) {
    ResetCounts();
    window->OptWRSTest->setChecked(true);
    EXPECT_EQ(Recalculations(), 0);
    EXPECT_EQ(window->txtN->text(), "29");
    EXPECT_TRUE(window->TxtM->isHidden());

    window->PicChart_Click();
    EXPECT_EQ(Recalculations(), 1);
    EXPECT_EQ(window->txtN->text(), "32");
    EXPECT_EQ(window->TxtM->text(), "32");
    EXPECT_FALSE(window->TxtM->isHidden());
    EXPECT_FALSE(window->LblReferenceArea->isHidden());
    EXPECT_EQ(window->LblCV->text(), "Critical Value:\n 1162");

    // Back to the Sign test: the reference field hides and keeps its text.
    window->OptSignTest->setChecked(true);
    window->PicChart_Click();
    EXPECT_EQ(window->txtN->text(), "29");
    EXPECT_TRUE(window->TxtM->isHidden());
    EXPECT_TRUE(window->LblReferenceArea->isHidden());
    EXPECT_EQ(window->TxtM->text(), "32");
    EXPECT_TRUE(messages.shown.empty());
}

// --- Alpha and beta ----------------------------------------------------------------

struct DecisionErrorCase {
    const char* name;
    const char* alpha_before;  // taken before the typed value; "" keeps the default
    const char* beta_before;
    bool beta_box;             // which box the value is typed into
    const char* typed;
    const char* message;       // "" when accepted
    const char* text_after;
    float alpha_after;
    float beta_after;
};

class DecisionErrorTest : public WindowHandlersTest,
                          public ::testing::WithParamInterface<DecisionErrorCase> {};

TEST_P(DecisionErrorTest, TakesOrRefusesTheTypedValue) {
    const DecisionErrorCase& c = GetParam();
    if (*c.alpha_before) {
        window->Cboalpha->setEditText(c.alpha_before);
        window->Cboalpha_LostFocus();
    }
    if (*c.beta_before) {
        window->CboBeta->setEditText(c.beta_before);
        window->CboBeta_LostFocus();
    }
    ASSERT_TRUE(messages.shown.empty());
    ResetCounts();

    QComboBox* box = c.beta_box ? window->CboBeta : window->Cboalpha;
    const float stored_before = c.beta_box ? window->State().Beta : window->State().Alpha;
    box->setEditText(c.typed);
    // The stored value is back before the message, the text only after it.
    messages.on_show = [&](const RecordedMessage&) {
        EXPECT_EQ(c.beta_box ? window->State().Beta : window->State().Alpha, stored_before);
        EXPECT_EQ(box->currentText(), c.typed);
    };
    c.beta_box ? window->CboBeta_LostFocus() : window->Cboalpha_LostFocus();

    if (*c.message) {
        EXPECT_EQ(Shown(), std::vector<QString>{QString(c.message) + "|exclamation"});
        EXPECT_EQ(Recalculations(), 0);
    } else {
        EXPECT_TRUE(messages.shown.empty());
        EXPECT_EQ(Recalculations(), 1);
    }
    EXPECT_EQ(box->currentText(), c.text_after);
    EXPECT_EQ(window->State().Alpha, c.alpha_after);
    EXPECT_EQ(window->State().Beta, c.beta_after);
}

const char* const kJoint = "Alpha and beta cannot both be as large as 0.5.";
const char* const kAlphaRange = "Alpha should be between 0.0 and 0.5";
const char* const kBetaRange = "Beta must be between 0 and 1";

INSTANTIATE_TEST_SUITE_P(
    Cases, DecisionErrorTest,
    ::testing::Values(
        DecisionErrorCase{"AlphaHalfAccepted", "", "", false, "0.50", "", "0.50", 0.5f, 0.05f},
        DecisionErrorCase{"BetaHalfWithAlphaHalf", "0.50", "", true, "0.50", kJoint, "0.05", 0.5f, 0.05f},
        DecisionErrorCase{"AlphaAboveHalf", "", "", false, "0.6", kAlphaRange, "0.05", 0.05f, 0.05f},
        DecisionErrorCase{"JointRuleComesFirst", "", "0.5", false, "0.6", kJoint, "0.05", 0.05f, 0.5f},
        DecisionErrorCase{"AlphaZero", "", "", false, "0", kAlphaRange, "0.05", 0.05f, 0.05f},
        DecisionErrorCase{"AlphaDecimalComma", "", "", false, "0,05", kAlphaRange, "0.05", 0.05f, 0.05f},
        DecisionErrorCase{"AlphaJustAboveHalfIsHalf", "", "", false, "0.50000001", "", "0.50000001", 0.5f, 0.05f},
        DecisionErrorCase{"AlphaTooLargeToRead", "", "", false, "1e999", kAlphaRange, "0.05", 0.05f, 0.05f},
        DecisionErrorCase{"AlphaHugeNegative", "", "", false, "-1e999", kAlphaRange, "0.05", 0.05f, 0.05f},
        DecisionErrorCase{"BetaZero", "", "", true, "0", kBetaRange, "0.05", 0.05f, 0.05f},
        DecisionErrorCase{"BetaEmpty", "", "", true, "", kBetaRange, "0.05", 0.05f, 0.05f},
        DecisionErrorCase{"BetaOneAccepted", "", "", true, "1", "", "1", 0.05f, 1.0f},
        DecisionErrorCase{"BetaAboveOne", "", "", true, "1.01", kBetaRange, "0.05", 0.05f, 0.05f},
        DecisionErrorCase{"BetaTooLargeToRead", "", "", true, "1e400", kBetaRange, "0.05", 0.05f, 0.05f},
        DecisionErrorCase{"BetaBeyondSingleRange", "", "", true, "1e39", kBetaRange, "0.05", 0.05f, 0.05f},
        DecisionErrorCase{"QuarterWrittenBackAsQuarter", "0.25", "", false, "0.7", kAlphaRange, "0.25", 0.25f, 0.05f},
        DecisionErrorCase{"TenthWrittenBackWithoutZero", "", "0.10", true, "2", kBetaRange, "0.1", 0.05f, 0.1f}),
    [](const ::testing::TestParamInfo<DecisionErrorCase>& info) { return std::string(info.param.name); });


// --- Sigma ---------------------------------------------------------------------------

const char* const kSigmaNotPositive = "Standard Deviation must be greater than zero|exclamation";
const char* const kSigmaTooLarge =
    "Values of sigma that are 10 times the DCGL indicate either\r\n"
    "poor instrumentation or a bad clean up job.\r\n"
    "It is not realistic to do a final status survey under such conditions.|none";

struct SigmaCase {
    const char* name;
    QString typed;
    const char* message;  // "" when accepted
    const char* text_after;
    float sigma_after;
    const char* shift_after;
};

class TypedSigmaTest : public WindowHandlersTest, public ::testing::WithParamInterface<SigmaCase> {};

TEST_P(TypedSigmaTest, IsCheckedOnLeaving) {
    const SigmaCase& c = GetParam();
    ResetCounts();
    window->txtSigma->setText(c.typed);
    window->txtSigma_LostFocus();
    if (*c.message) {
        EXPECT_EQ(Shown(), std::vector<QString>{c.message});
        EXPECT_EQ(Recalculations(), 0);
    } else {
        EXPECT_TRUE(messages.shown.empty());
        EXPECT_EQ(Recalculations(), 1);
    }
    EXPECT_EQ(window->txtSigma->text(), c.text_after);
    EXPECT_EQ(window->State().Sigma, c.sigma_after);
    EXPECT_EQ(window->lblShift->caption(), c.shift_after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TypedSigmaTest,
    ::testing::Values(SigmaCase{"Zero", "0", kSigmaNotPositive, "", 0.5f, "D/s = 1"},
                      SigmaCase{"Empty", "", kSigmaNotPositive, "", 0.5f, "D/s = 1"},
                      SigmaCase{"BelowSingleRange", "0." + QString(60, '0') + "1", kSigmaNotPositive, "", 0.5f,
                                "D/s = 1"},
                      SigmaCase{"TenTimesDCGL", "10", "", "10", 10.0f, "D/s = 0.05"},
                      SigmaCase{"AboveTenTimesDCGL", "10.01", kSigmaTooLarge, "", 0.5f, "D/s = 1"},
                      SigmaCase{"TooLargeToRead", QString(400, '9'), kSigmaTooLarge, "", 0.5f, "D/s = 1"},
                      SigmaCase{"ThreeDecimals", "0.3", "", "0.3", 0.3f, "D/s = 1.667"},
                      SigmaCase{"ShiftBelowTenthWithoutMessage", "6", "", "6", 6.0f, "D/s = 0.083"}),
    [](const ::testing::TestParamInfo<SigmaCase>& info) { return std::string(info.param.name); });

TEST_F(WindowHandlersTest, SpinArrowsStepSigmaByAHundredthOfDCGL) {
    ResetCounts();
    window->UpDSigma_UpClick();
    EXPECT_EQ(window->txtSigma->text(), "0.51");
    EXPECT_EQ(window->State().Sigma, 0.51f);
    EXPECT_EQ(window->lblShift->caption(), "D/s = 0.98");
    EXPECT_EQ(Recalculations(), 1);
    window->UpDSigma_DownClick();
    EXPECT_EQ(window->txtSigma->text(), "0.5");
    EXPECT_EQ(window->lblShift->caption(), "D/s = 1");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(WindowHandlersTest, SpinStepIsZeroBelowADCGLOfHalf) {
    window->txtDCGL->setText("0.4");
    window->txtDCGL_LostFocus();
    window->txtSigma->setText("0.3");
    window->txtSigma_LostFocus();
    ResetCounts();
    window->UpDSigma_UpClick();
    EXPECT_EQ(window->txtSigma->text(), "0.3");
    EXPECT_EQ(window->State().Sigma, 0.3f);
    EXPECT_EQ(Recalculations(), 1);
}

TEST_F(WindowHandlersTest, SpinPastTheMinimumShiftLowersLBGR) {
    window->txtSigma->setText("4.99");
    window->txtSigma_LostFocus();
    window->UpDSigma_UpClick();  // 5.00: D/s is exactly 0.1
    ASSERT_TRUE(messages.shown.empty());
    ResetCounts();

    window->UpDSigma_UpClick();  // 5.01
    EXPECT_EQ(Shown(), std::vector<QString>{"Values of delta/sigma less than 0.1 result\r\n"
                                            "in unrealistically large sample sizes. LBGR ajusted accordingly.|none"});
    // LBGR goes to 1 - 0.501, the bar down to 498, and LBGR once more from the bar.
    EXPECT_EQ(window->ScrLBGR->value(), 498);
    EXPECT_EQ(window->txtLBGR->text(), "0.498");
    EXPECT_EQ(window->State().LBGR, 0.498);
    EXPECT_EQ(window->lblShift->caption(), "D/s = 0.1");
    EXPECT_GE(window->State().DoverS, 0.1);
    EXPECT_EQ(Recalculations(), 2);  // the nested bar change, then the step
}

struct RefusedStepCase {
    const char* name;
    QString sigma_text;  // typed, possibly not yet checked
    bool up;
};

class RefusedSpinStepTest : public WindowHandlersTest, public ::testing::WithParamInterface<RefusedStepCase> {};

// A step that would leave no positive, finite sigma changes nothing.
TEST_P(RefusedSpinStepTest, LeavesEverythingAsItIs) {
    const RefusedStepCase& c = GetParam();
    window->txtSigma->setText(c.sigma_text);
    const QString text = window->txtSigma->text();
    const DesignState before = window->State();
    ResetCounts();
    c.up ? window->UpDSigma_UpClick() : window->UpDSigma_DownClick();
    EXPECT_EQ(window->txtSigma->text(), text);
    EXPECT_EQ(window->State().Sigma, before.Sigma);
    EXPECT_EQ(window->State().DoverS, before.DoverS);
    EXPECT_EQ(window->State().LBGR, before.LBGR);
    EXPECT_EQ(window->lblShift->caption(), "D/s = 1");
    EXPECT_EQ(Recalculations(), 0);
    EXPECT_TRUE(messages.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, RefusedSpinStepTest,
                         ::testing::Values(RefusedStepCase{"DownToZero", "0.01", false},
                                           RefusedStepCase{"DownBelowZero", "0.005", false},
                                           RefusedStepCase{"DownFromEmpty", "", false},
                                           RefusedStepCase{"UpFromUnreadable", QString(400, '9'), true},
                                           RefusedStepCase{"UpBeyondSingleRange", "1" + QString(39, '0'), true}),
                         [](const ::testing::TestParamInfo<RefusedStepCase>& info) {
                             return std::string(info.param.name);
                         });

// The box keeps digits and a point only, so a small sigma is written out in
// full: cut at an exponent, the next step would start from the wrong number.
TEST_F(WindowHandlersTest, SpinWritesASmallSigmaWithoutExponent) {
    window->txtSigma->setText("0.00001");
    window->txtSigma_LostFocus();
    window->UpDSigma_UpClick();
    EXPECT_EQ(window->txtSigma->text(), "0.01001");
    window->UpDSigma_DownClick();
    EXPECT_EQ(window->txtSigma->text(), "0.00001");
    EXPECT_EQ(window->State().Sigma, 1e-5f);
    window->UpDSigma_UpClick();
    EXPECT_EQ(window->txtSigma->text(), "0.01001");
}

// --- Character filter ----------------------------------------------------------

struct FilterCase {
    const char* name;
    QString set;
    QString result;
    int messages;
};

class CharacterFilterTest : public WindowHandlersTest, public ::testing::WithParamInterface<FilterCase> {};

TEST_P(CharacterFilterTest, CutsAtTheFirstForeignCharacter) {
    const FilterCase& c = GetParam();
    for (QLineEdit* box : {window->txtDCGL, window->txtSigma}) {
        ResetCounts();
        box->setText(c.set);
        EXPECT_EQ(box->text(), c.result) << box->objectName().toStdString();
        EXPECT_EQ(static_cast<int>(messages.shown.size()), c.messages);
        for (const RecordedMessage& m : messages.shown) {
            EXPECT_EQ(m.text, "check decimal point.");
            EXPECT_EQ(m.icon, MessageIcon::None);
        }
        EXPECT_EQ(Recalculations(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CharacterFilterTest,
    ::testing::Values(FilterCase{"LetterInside", "12x45", "12", 0}, FilterCase{"LetterSecond", "1a23", "1", 0},
                      FilterCase{"MinusSign", "-5", "", 0}, FilterCase{"Exponent", "2e3", "2", 0},
                      FilterCase{"Blank", "1 5", "1", 0}, FilterCase{"Comma", "1,5", "1", 0},
                      FilterCase{"OnePoint", "3.5", "3.5", 0}, FilterCase{"TwoPoints", "1.2.3", "", 1},
                      FilterCase{"TwoPointsBeforeTheCut", "1..x", "", 1},
                      FilterCase{"SecondPointAfterTheCut", "1.x.", "1.", 0},
                      FilterCase{"LongPasteCutAtOnce", "x" + QString(30000, '7'), "", 0},
                      FilterCase{"LongPasteKept", QString(30000, '7') + "x", QString(30000, '7'), 0}),
    [](const ::testing::TestParamInfo<FilterCase>& info) { return std::string(info.param.name); });

TEST_F(WindowHandlersTest, SecondTypedPointEmptiesTheBoxOnce) {
    ResetCounts();
    for (const char* typed : {"1", "1.", "1.2", "1.2."}) window->txtDCGL->setText(typed);
    EXPECT_EQ(window->txtDCGL->text(), "");
    EXPECT_EQ(Shown(), std::vector<QString>{"check decimal point.|none"});
    window->txtDCGL->setText("3");
    EXPECT_EQ(window->txtDCGL->text(), "3");
    EXPECT_EQ(messages.shown.size(), 1u);
}

// --- LBGR scroll bar -------------------------------------------------------------

TEST_F(WindowHandlersTest, OneSmallStepRightGivesLBGRFiftyOneHundredths) {
    ResetCounts();
    window->ScrLBGR->setValue(510);
    EXPECT_EQ(window->txtLBGR->text(), "0.51");
    EXPECT_EQ(window->State().LBGR, 0.51);
    EXPECT_EQ(window->lblShift->caption(), "D/s = 0.98");
    EXPECT_EQ(Recalculations(), 1);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(WindowHandlersTest, BarAtItsRightEndAdjustsLBGROnce) {
    ResetCounts();
    window->ScrLBGR->setValue(1000);
    EXPECT_EQ(Shown(), std::vector<QString>{"Values of delta/sigma less than 0.1 result\r\n"
                                            "in unrealistically large sample sizes. LBGR adjusted accordingly.|none"});
    EXPECT_EQ(window->txtLBGR->text(), "0.95");
    EXPECT_EQ(window->ScrLBGR->value(), 950);
    EXPECT_EQ(window->lblShift->caption(), "D/s = 0.1");
    EXPECT_EQ(window->State().LBGR, 0.95);
}

// --- DCGL box ----------------------------------------------------------------------

TEST_F(WindowHandlersTest, DCGLBelowLBGRResetsLBGRToHalfBeforeTheMessage) {
    ResetCounts();
    messages.on_show = [&](const RecordedMessage&) { EXPECT_EQ(window->txtLBGR->text(), "0.2"); };
    window->txtDCGL->setText("0.4");
    window->txtDCGL_LostFocus();
    EXPECT_EQ(Shown(), std::vector<QString>{"LBGR must be less than DCGL!\r\nLBGR has been reset to DCGL/2.|information"});
    EXPECT_EQ(window->txtLBGR->text(), "0.2");
    EXPECT_EQ(window->ScrLBGR->value(), 500);
    EXPECT_EQ(window->lblLBGRMax->text(), "0.4");
    EXPECT_EQ(window->State().DCGL, 0.4);
    EXPECT_EQ(window->State().LBGR, 0.2);
    EXPECT_EQ(window->lblShift->caption(), "D/s = 0.4");
    EXPECT_EQ(Recalculations(), 1);
}

TEST_F(WindowHandlersTest, DCGLEqualToLBGRTakesTheBarBelowItsEnd) {
    ResetCounts();
    window->txtDCGL->setText("0.5");
    window->txtDCGL_LostFocus();
    // No reset message; 1000 becomes 999, whose shift the rule then raises.
    EXPECT_EQ(Shown(), std::vector<QString>{"Values of delta/sigma less than 0.1 result\r\n"
                                            "in unrealistically large sample sizes. LBGR adjusted accordingly.|none"});
    EXPECT_EQ(window->ScrLBGR->value(), 900);
    EXPECT_EQ(window->txtLBGR->text(), "0.45");
    EXPECT_EQ(window->lblShift->caption(), "D/s = 0.1");
}

// With the bar left where it was, the text follows the new DCGL and the stored
// LBGR does not.
TEST_F(WindowHandlersTest, NewDCGLThatLeavesTheBarRewritesOnlyTheText) {
    window->txtDCGL->setText("100");
    window->txtDCGL_LostFocus();
    window->ScrLBGR->setValue(500);
    ASSERT_EQ(window->State().LBGR, 50);
    window->txtDCGL->setText("100.04");
    window->txtDCGL_LostFocus();
    EXPECT_EQ(window->ScrLBGR->value(), 500);
    EXPECT_EQ(window->txtLBGR->text(), "50.02");
    EXPECT_EQ(window->State().LBGR, 50);
    EXPECT_EQ(window->State().DCGL, 100.04);
}

TEST_F(WindowHandlersTest, SigmaAboveTenDCGLClampsLBGRToZeroWithTwoMessages) {
    window->txtSigma->setText("10");
    window->txtSigma_LostFocus();
    ResetCounts();
    window->txtDCGL->setText("0.9");
    window->txtDCGL_LostFocus();
    const QString adjusted =
        "Values of delta/sigma less than 0.1 result\r\n"
        "in unrealistically large sample sizes. LBGR adjusted accordingly.|none";
    EXPECT_EQ(Shown(), (std::vector<QString>{adjusted, adjusted}));
    EXPECT_EQ(window->State().LBGR, 0);
    EXPECT_EQ(window->ScrLBGR->value(), 0);
    EXPECT_EQ(window->txtLBGR->text(), "0");
    EXPECT_EQ(window->lblShift->caption(), "D/s = 0.09");
}

struct UnusableDCGLCase {
    const char* name;
    QString typed;
};

class UnusableDCGLTest : public WindowHandlersTest, public ::testing::WithParamInterface<UnusableDCGLCase> {};

// Nothing divides by a DCGL of zero or scales the curve by an unreadable one:
// the previous DCGL comes back, and nothing is recalculated.
TEST_P(UnusableDCGLTest, IsRefusedAndThePreviousOneKept) {
    window->txtDCGL->setText("2");
    window->txtDCGL_LostFocus();
    const DesignState before = window->State();
    ResetCounts();
    window->txtDCGL->setText(GetParam().typed);
    window->txtDCGL_LostFocus();
    EXPECT_EQ(Shown(), std::vector<QString>{QString::fromStdString(rules::kDCGLUnusable) + "|exclamation"});
    EXPECT_EQ(window->txtDCGL->text(), "2");
    EXPECT_EQ(window->lblLBGRMax->text(), "2");
    EXPECT_EQ(window->State().DCGL, before.DCGL);
    EXPECT_EQ(window->State().LBGR, before.LBGR);
    EXPECT_EQ(window->ScrLBGR->value(), 250);
    EXPECT_EQ(Recalculations(), 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, UnusableDCGLTest,
                         ::testing::Values(UnusableDCGLCase{"Empty", ""}, UnusableDCGLCase{"LonePoint", "."},
                                           UnusableDCGLCase{"Zero", "0"}, UnusableDCGLCase{"Zeros", "000.00"},
                                           UnusableDCGLCase{"TooLargeToRead", QString(400, '9')},
                                           UnusableDCGLCase{"AboveLargest", "1" + QString(31, '0')},
                                           UnusableDCGLCase{"BelowSmallest", "0." + QString(30, '0') + "1"}),
                         [](const ::testing::TestParamInfo<UnusableDCGLCase>& info) {
                             return std::string(info.param.name);
                         });

// --- LBGR box ------------------------------------------------------------------------

TEST_F(WindowHandlersTest, LBGRAboveDCGLIsRefusedAfterTheMessage) {
    ResetCounts();
    window->txtLBGR->setText("2");
    messages.on_show = [&](const RecordedMessage&) { EXPECT_EQ(window->txtLBGR->text(), "2"); };
    window->txtLBGR_LostFocus();
    EXPECT_EQ(Shown(), std::vector<QString>{"LBGR must be less than the DCGL|exclamation"});
    EXPECT_EQ(window->txtLBGR->text(), "0.5");
    EXPECT_EQ(Recalculations(), 0);
}

TEST_F(WindowHandlersTest, NegativeLBGRIsWrittenBackBeforeTheMessageAndRecalculated) {
    ResetCounts();
    window->txtLBGR->setText("-1");
    messages.on_show = [&](const RecordedMessage&) { EXPECT_EQ(window->txtLBGR->text(), "0.5"); };
    window->txtLBGR_LostFocus();
    EXPECT_EQ(Shown(), std::vector<QString>{"LBGR cannot be less than zero, vbInformation|none"});
    EXPECT_EQ(window->txtLBGR->text(), "0.5");
    EXPECT_EQ(window->ScrLBGR->value(), 500);
    EXPECT_EQ(Recalculations(), 1);
}

struct TypedLBGRCase {
    const char* name;
    const char* dcgl;
    const char* sigma;
    const char* typed;
    int bar;
    const char* text;
    const char* message;  // "" for none
    int recalculations;
};

class TypedLBGRTest : public WindowHandlersTest, public ::testing::WithParamInterface<TypedLBGRCase> {};

TEST_P(TypedLBGRTest, MovesTheBarOnTheThousandthsScale) {
    const TypedLBGRCase& c = GetParam();
    window->txtDCGL->setText(c.dcgl);
    window->txtDCGL_LostFocus();
    window->txtSigma->setText(c.sigma);
    window->txtSigma_LostFocus();
    ResetCounts();
    window->txtLBGR->setText(c.typed);
    window->txtLBGR_LostFocus();
    EXPECT_EQ(window->ScrLBGR->value(), c.bar);
    EXPECT_EQ(window->txtLBGR->text(), c.text);
    if (*c.message) {
        EXPECT_EQ(Shown(), std::vector<QString>{c.message});
    } else {
        EXPECT_TRUE(messages.shown.empty());
    }
    EXPECT_EQ(Recalculations(), c.recalculations);
    EXPECT_TRUE(std::isfinite(window->State().LBGR));
    EXPECT_LE(window->State().LBGR, window->State().DCGL);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TypedLBGRTest,
    ::testing::Values(
        TypedLBGRCase{"RoundedToAThousandth", "100", "50", "33.33", 333, "33.3", "", 2},
        TypedLBGRCase{"LettersReadAsZero", "1", ".5", "abc", 0, "0", "", 2},
        TypedLBGRCase{"EqualToDCGL", "1", ".5", "1", 950, "0.95",
                      "Values of delta/sigma less than 0.1 result\r\n"
                      "in unrealistically large sample sizes. LBGR adjusted accordingly.|none", 4},
        TypedLBGRCase{"TooLargeToRead", "1", ".5", "1e999", 500, "0.5", "LBGR must be less than the DCGL|exclamation", 0},
        TypedLBGRCase{"HugeNegative", "1", ".5", "-1e999", 500, "0.5",
                      "LBGR cannot be less than zero, vbInformation|none", 1}),
    [](const ::testing::TestParamInfo<TypedLBGRCase>& info) { return std::string(info.param.name); });


// --- Designs that cannot be made -------------------------------------------------

int BluePixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.blue() > 200 && c.red() < 60 && c.green() < 60) ++count;
        }
    }
    return count;
}

class SampleSizeOutOfRangeTest : public WindowHandlersTest, public ::testing::WithParamInterface<bool> {
protected:
    // Alpha and beta 0.01 and LBGR at 999 thousandths of the DCGL; a typed
    // sigma of ten times the DCGL then leaves D/s at 1E-4, where the Sign test
    // would need more samples than a 32-bit count holds.
    void SetUp() override {
        WindowHandlersTest::SetUp();
        for (QComboBox* box : {window->Cboalpha, window->CboBeta}) box->setEditText("0.01");
        window->Cboalpha_LostFocus();
        window->CboBeta_LostFocus();
        window->txtSigma->setText("0.01");
        window->txtSigma_LostFocus();
        window->ScrLBGR->setValue(999);
        if (GetParam()) window->OptWRSTest->setChecked(true);
        window->PicChart_Click();
        ASSERT_TRUE(messages.shown.empty());
        ASSERT_GT(BluePixels(window->PicChart->Image()), 0);
    }
};

TEST_P(SampleSizeOutOfRangeTest, IsReportedAndTheNextInputRecalculates) {
    const bool wrs = GetParam();
    ResetCounts();
    window->txtSigma->setText("10");
    window->txtSigma_LostFocus();
    EXPECT_EQ(Shown(), std::vector<QString>{QString::fromStdString(rules::kSampleSizeTooLarge) + "|exclamation"});
    EXPECT_EQ(window->txtN->text(), "");
    EXPECT_EQ(window->TxtM->isHidden(), !wrs);
    if (wrs) EXPECT_EQ(window->TxtM->text(), "");
    EXPECT_EQ(window->LblCV->text(), "Critical Value:\n");
    EXPECT_EQ(window->LblCV->property("caption").toString(), "Critical Value:\r\n");
    EXPECT_EQ(BluePixels(window->PicChart->Image()), 0);
    EXPECT_EQ(Recalculations(), 1);

    ResetCounts();
    window->txtSigma->setText("1");
    window->txtSigma_LostFocus();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_FALSE(window->txtN->text().isEmpty());
    if (wrs) EXPECT_EQ(window->TxtM->text(), window->txtN->text());
    EXPECT_TRUE(window->LblCV->text().startsWith("Critical Value:\n "));
    EXPECT_GT(BluePixels(window->PicChart->Image()), 0);
}

INSTANTIATE_TEST_SUITE_P(Tests, SampleSizeOutOfRangeTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "WRS" : "Sign");
                         });

// One user action reports an impossible design once, however many times the
// nested handlers recalculate.
TEST_F(WindowHandlersTest, ImpossibleDesignIsReportedOncePerAction) {
    window->txtSigma->setText("10");
    window->txtSigma_LostFocus();
    window->txtDCGL->setText("0.0001");
    window->txtDCGL_LostFocus();
    ResetCounts();
    // The step rounds to 0; the rule clamps LBGR to 0 and moves the bar, whose
    // handler recalculates before the step does.
    window->UpDSigma_UpClick();
    EXPECT_EQ(Recalculations(), 2);
    int reports = 0;
    for (const RecordedMessage& m : messages.shown) {
        reports += m.text == QString::fromStdString(rules::kSampleSizeTooLarge);
    }
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(window->txtN->text(), "");
    EXPECT_EQ(window->ScrLBGR->value(), 0);
}

// --- A DCGL box not yet left --------------------------------------------------------

void ExpectSoundState(const frmSampleSizeandPower& window) {
    const DesignState& s = window.State();
    for (double v : {double(s.Sigma), s.DCGL, s.LBGR, double(s.Delta), s.DoverS}) EXPECT_TRUE(std::isfinite(v));
    EXPECT_GT(s.Sigma, 0.0f);
    EXPECT_GT(s.DCGL, 0.0);
    EXPECT_GE(s.LBGR, 0.0);
    EXPECT_LE(s.LBGR, s.DCGL);
    EXPECT_GE(window.ScrLBGR->value(), 0);
    EXPECT_LT(window.ScrLBGR->value(), 1000);
}

struct UncheckedDCGLCase {
    const char* name;
    const char* dcgl_text;
    const char* sigma;  // accepted before the DCGL is typed
    int bar;
};

class UncheckedDCGLTextTest : public WindowHandlersTest, public ::testing::WithParamInterface<UncheckedDCGLCase> {};

// The bar and the spin control can be used while the DCGL box still holds a
// text that was never checked: nothing may divide by it or loop on it.
TEST_P(UncheckedDCGLTextTest, BarAndSpinStaySound) {
    const UncheckedDCGLCase& c = GetParam();
    window->txtSigma->setText(c.sigma);
    window->txtSigma_LostFocus();
    window->txtDCGL->setText(c.dcgl_text);
    window->ScrLBGR->setValue(c.bar);
    ExpectSoundState(*window);
    EXPECT_LT(messages.shown.size(), 10u);
    window->UpDSigma_UpClick();
    ExpectSoundState(*window);
    window->txtLBGR->setText("0");
    window->txtLBGR_LostFocus();
    ExpectSoundState(*window);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UncheckedDCGLTextTest,
    ::testing::Values(UncheckedDCGLCase{"Empty", "", ".5", 600}, UncheckedDCGLCase{"LonePoint", ".", ".5", 990},
                      UncheckedDCGLCase{"Zero", "0", ".5", 300},
                      UncheckedDCGLCase{"Unreadable", "99999999999999999999999999999999999999999999999999"
                                                      "99999999999999999999999999999999999999999999999999"
                                                      "99999999999999999999999999999999999999999999999999"
                                                      "99999999999999999999999999999999999999999999999999"
                                                      "99999999999999999999999999999999999999999999999999"
                                                      "99999999999999999999999999999999999999999999999999"
                                                      "99999999999999999999999999999999999999999999999999",
                                        ".5", 700},
                      UncheckedDCGLCase{"LargerWithTinySigma", "5", "0.00000000000000000001", 510}),
    [](const ::testing::TestParamInfo<UncheckedDCGLCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace valdris::testing
