// SPDX-License-Identifier: Apache-2.0
// The design window driven as a user drives it: keys and mouse clicks on the
// shown window, with the messages, texts, focus and results checked after
// each sequence.

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>

#include "expected_results.h"
#include "frm_sample_size_and_power.h"
#include "input_notes.h"
#include "input_rules.h"
#include "notice_balloon.h"
#include "power_chart_view.h"
#include "recording_messages.h"
#include "symbol_label.h"
#include "up_down_control.h"
#include "window_driver.h"

namespace valdris::testing {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

const QString kMinimumShiftByScroll = Q(rules::kMinimumShiftFirstLine + "\r\n" + rules::kMinimumShiftScrollLine);
const QString kMinimumShiftBySpin = Q(rules::kMinimumShiftFirstLine + "\r\n" + rules::kMinimumShiftSigmaLine);

template <typename Messages>
class DesignWindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<frmSampleSizeandPower>(messages);
        ASSERT_TRUE(ShowAndActivate(window.get())) << "the window could not be activated";
        loading_messages = messages.shown;
        messages.Clear();
    }
    void TearDown() override {
        window.reset();
        Settle();
    }

    ::testing::AssertionResult ShowsOneMessage(const QString& text, MessageIcon icon) {
        if (messages.shown.size() != 1) {
            auto failure = ::testing::AssertionFailure() << messages.shown.size() << " messages:";
            for (const auto& shown : messages.shown) failure << " [" << shown.text.toStdString() << "]";
            return failure;
        }
        if (messages.shown[0].text != text || messages.shown[0].icon != icon) {
            return ::testing::AssertionFailure()
                   << "message [" << messages.shown[0].text.toStdString() << "] icon "
                   << static_cast<int>(messages.shown[0].icon) << ", expected [" << text.toStdString()
                   << "] icon " << static_cast<int>(icon);
        }
        return ::testing::AssertionSuccess();
    }

    ::testing::AssertionResult ShowsNoMessage() {
        if (messages.shown.empty()) return ::testing::AssertionSuccess();
        auto failure = ::testing::AssertionFailure() << "unexpected messages:";
        for (const auto& shown : messages.shown) failure << " [" << shown.text.toStdString() << "]";
        return failure;
    }

    QString Shift() const { return window->lblShift->caption(); }

    Messages messages;
    std::vector<RecordedMessage> loading_messages;
    std::unique_ptr<frmSampleSizeandPower> window;
};

using WindowUserTest = DesignWindowFixture<RecordingMessages>;
using WindowWithMessageBoxesTest = DesignWindowFixture<ModalRecordingMessages>;

// --- First display ---------------------------------------------------------

TEST_F(WindowUserTest, FirstDisplayShowsDefaultsAndSignDesign) {
    EXPECT_TRUE(loading_messages.empty());
    EXPECT_EQ(window->windowTitle(), "VALDRIS Power 2000");

    const std::vector<std::pair<const char*, QString>> texts = {
        {"txtDCGL", window->txtDCGL->text()},
        {"txtLBGR", window->txtLBGR->text()},
        {"txtSigma", window->txtSigma->text()},
        {"lblShift", Shift()},
        {"lblLBGRMin", window->lblLBGRMin->text()},
        {"lblLBGRMax", window->lblLBGRMax->text()},
        {"Cboalpha", window->Cboalpha->currentText()},
        {"CboBeta", window->CboBeta->currentText()},
        {"txtN", window->txtN->text()},
        {"LblCV line 1", FirstLine(window->LblCV)},
        {"LblCV line 2", SecondLine(window->LblCV)},
        {"txtRadionuclide", window->txtRadionuclide->text()},
    };
    const std::vector<QString> expected = {"1",    "0.5",  ".5", "D/s = 1", "0",
                                           "1",    "0.05", "0.05", "29",    "Critical Value:",
                                           " 19", "Unity Rule"};
    for (size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(texts[i].second, expected[i]) << texts[i].first;
    }

    const QStringList list_items = {"0.01", "0.025", "0.05", "0.10", "0.25", "0.50"};
    for (QComboBox* combo : {window->Cboalpha, window->CboBeta}) {
        QStringList items;
        for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
        EXPECT_EQ(items, list_items) << combo->objectName().toStdString();
    }

    EXPECT_TRUE(window->OptSignTest->isChecked());
    EXPECT_FALSE(window->OptWRSTest->isChecked());
    EXPECT_FALSE(window->TxtM->isVisible());
    EXPECT_FALSE(window->LblReferenceArea->isVisible());
    EXPECT_EQ(window->ScrLBGR->value(), 500);
    EXPECT_TRUE(HasFocusWithin(window->txtRadionuclide));

    const DesignState& state = window->Form().State();
    EXPECT_EQ(state.Alpha, 0.05f);
    EXPECT_EQ(state.Beta, 0.05f);
    EXPECT_EQ(state.Sigma, 0.5f);
    EXPECT_EQ(state.DCGL, 1.0);
    EXPECT_EQ(state.LBGR, 0.5);
    EXPECT_EQ(state.DoverS, 1.0);
    EXPECT_TRUE(ShowsEngineResults(*window, TestKind::Sign));
}

TEST_F(WindowUserTest, TypingARadionuclideChangesNothing) {
    const ShownResults before = ReadShownResults(*window);
    TypeInto(window->txtRadionuclide, "Cs-137, 1.5e3 ..");
    TabAway();
    EXPECT_EQ(window->txtRadionuclide->text(), "Cs-137, 1.5e3 ..");
    EXPECT_TRUE(ShowsNoMessage());
    EXPECT_EQ(ReadShownResults(*window).survey_unit_size, before.survey_unit_size);
    EXPECT_EQ(window->Form().State().DCGL, 1.0);
}

// --- The LBGR scroll bar ---------------------------------------------------

TEST_F(WindowUserTest, DraggingTheBarToItsRightEndAdjustsLBGROnce) {
    DragScrollTo(window->ScrLBGR, window->ScrLBGR->maximum());
    EXPECT_TRUE(ShowsOneMessage(kMinimumShiftByScroll, MessageIcon::None));
    EXPECT_EQ(window->txtLBGR->text(), "0.95");
    EXPECT_EQ(window->ScrLBGR->value(), 950);
    EXPECT_EQ(Shift(), "D/s = 0.1");
    EXPECT_EQ(window->Form().State().LBGR, 0.95);
    EXPECT_TRUE(ShowsEngineResults(*window, TestKind::Sign));
}

TEST_F(WindowUserTest, DraggingTheBarToItsLeftEndGivesLBGRZero) {
    DragScrollTo(window->ScrLBGR, window->ScrLBGR->minimum());
    EXPECT_TRUE(ShowsNoMessage());
    EXPECT_EQ(window->ScrLBGR->value(), 0);
    EXPECT_EQ(window->txtLBGR->text(), "0");
    EXPECT_EQ(Shift(), "D/s = 2");
    EXPECT_TRUE(ShowsEngineResults(*window, TestKind::Sign));
}

TEST_F(WindowUserTest, ArrowAndTroughClicksStepLBGR) {
    struct Step {
        bool trough;
        bool right;
        int value;
        const char* lbgr;
        const char* shift;
    };
    const Step steps[] = {
        {false, true, 510, "0.51", "D/s = 0.98"},
        {false, false, 500, "0.5", "D/s = 1"},
        {true, true, 600, "0.6", "D/s = 0.8"},
        {true, false, 500, "0.5", "D/s = 1"},
        {true, false, 400, "0.4", "D/s = 1.2"},
    };
    for (const Step& step : steps) {
        if (step.trough) {
            ClickScrollTrough(window->ScrLBGR, step.right);
        } else {
            ClickScrollArrow(window->ScrLBGR, step.right);
        }
        SCOPED_TRACE(step.value);
        EXPECT_EQ(window->ScrLBGR->value(), step.value);
        EXPECT_EQ(window->txtLBGR->text(), step.lbgr);
        EXPECT_EQ(Shift(), step.shift);
        EXPECT_TRUE(ShowsEngineResults(*window, TestKind::Sign));
    }
    EXPECT_TRUE(ShowsNoMessage());
}

// The wheel over the bar while a new DCGL is still being typed: the bar takes
// the focus first, so the DCGL is entered before the bar moves, and the LBGR
// is read on the new DCGL's thousandths, never against a half-typed one.
TEST_F(WindowUserTest, WheelOverTheBarWhileTypingADCGL) {
    TypeInto(window->txtDCGL, "5");
    TurnWheelOver(window->ScrLBGR, false);
    EXPECT_TRUE(ShowsNoMessage());
    EXPECT_EQ(window->Form().State().DCGL, 5.0);
    EXPECT_EQ(window->lblLBGRMax->text(), "5");
    const int bar = window->ScrLBGR->value();
    EXPECT_NE(bar, 100) << "the wheel did not move the bar";
    EXPECT_EQ(window->Form().State().LBGR, 5 * 0.001 * bar);
    EXPECT_EQ(window->txtLBGR->text().toDouble(), window->Form().State().LBGR);
    EXPECT_TRUE(ShowsEngineResults(*window, TestKind::Sign));
}

TEST_F(WindowUserTest, KeysOnTheBarMoveLBGRAsTheMouseDoes) {
    window->ScrLBGR->setFocus(Qt::TabFocusReason);
    Settle();
    PressKey(Qt::Key_End);
    EXPECT_TRUE(ShowsOneMessage(kMinimumShiftByScroll, MessageIcon::None));
    EXPECT_EQ(window->ScrLBGR->value(), 950);
    EXPECT_EQ(window->txtLBGR->text(), "0.95");
    // The left arrow key moves the thumb to the left, lowering LBGR.
    messages.Clear();
    PressKey(Qt::Key_Left);
    EXPECT_EQ(window->ScrLBGR->value(), 940);
    EXPECT_EQ(window->txtLBGR->text(), "0.94");
    messages.Clear();
    PressKey(Qt::Key_Home);
    EXPECT_EQ(window->ScrLBGR->value(), 0);
    EXPECT_EQ(window->txtLBGR->text(), "0");
    EXPECT_EQ(Shift(), "D/s = 2");
    EXPECT_TRUE(ShowsNoMessage());
    EXPECT_TRUE(ShowsEngineResults(*window, TestKind::Sign));
}

// --- The character filter of the DCGL and sigma boxes ----------------------

TEST_F(WindowUserTest, CharacterFilterCutsAtTheFirstForeignCharacter) {
    struct Case {
        const char* input;
        const char* typed_result;   // key by key: each foreign key is cut as typed
        const char* pasted_result;  // at once: everything from it on is lost
    };
    const Case cases[] = {
        {"12x45", "1245", "12"}, {"1a23", "123", "1"}, {"-5", "5", ""},
        {"2e3", "23", "2"},      {"1,5", "15", "1"},   {"3 4", "34", "3"},
    };
    for (QLineEdit* box : {window->txtDCGL, window->txtSigma}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(box->objectName().toStdString() + " " + c.input);
            TypeInto(box, c.input);
            EXPECT_EQ(box->text(), c.typed_result) << "typed";
            PasteInto(box, c.input);
            EXPECT_EQ(box->text(), c.pasted_result) << "pasted";
            // Nothing is taken while the box keeps the focus: the filter
            // stores nothing.
            EXPECT_EQ(window->Form().State().DCGL, 1.0);
            EXPECT_EQ(window->Form().State().Sigma, 0.5f);
        }
        // A usable value before moving on, so that leaving the box is quiet.
        TypeInto(box, "1");
    }
    EXPECT_TRUE(ShowsNoMessage());
}

// --- Decision errors -------------------------------------------------------

TEST_F(WindowUserTest, ListChoicesAreCheckedAtOnce) {
    ChooseListItem(window->Cboalpha, 5);  // 0.50
    EXPECT_TRUE(ShowsNoMessage());
    EXPECT_EQ(window->Cboalpha->currentText(), "0.50");
    EXPECT_EQ(window->Form().State().Alpha, 0.5f);
    EXPECT_TRUE(ShowsEngineResults(*window, TestKind::Sign));

    ChooseListItem(window->CboBeta, 5);  // 0.50 as well: refused
    EXPECT_TRUE(ShowsOneMessage(Q(rules::kAlphaBetaBothLarge), MessageIcon::Exclamation));
    EXPECT_EQ(window->CboBeta->currentText(), "0.05");
    EXPECT_EQ(window->Form().State().Beta, 0.05f);
    EXPECT_TRUE(HasFocusWithin(window->CboBeta));

    // A refused value is written back as the stored number reads: the list
    // item "0.10" once taken comes back as 0.1.
    messages.Clear();
    ChooseListItem(window->CboBeta, 3);
    EXPECT_TRUE(ShowsNoMessage());
    TypeInto(window->CboBeta, "-1");
    TabAway();
    EXPECT_TRUE(ShowsOneMessage(Q(rules::kBetaRange), MessageIcon::Exclamation));
    EXPECT_EQ(window->CboBeta->currentText(), "0.1");
}

// A value typed into a combo box is not completed from the list, and Return
// does not add it to the list: both would change what the user entered.
TEST_F(WindowUserTest, TypedComboTextIsTakenAsTyped) {
    TypeInto(window->Cboalpha, "0.2");
    EXPECT_EQ(window->Cboalpha->currentText(), "0.2") << "completed from the list while typing";
    PressKey(Qt::Key_Return);
    EXPECT_EQ(window->Cboalpha->count(), 6) << "Return added the typed text to the list";
    TabAway();
    EXPECT_EQ(window->Form().State().Alpha, 0.2f);
    EXPECT_EQ(window->Cboalpha->currentText(), "0.2");
}

// Opening the list does not count as leaving the box: only the choice is
// checked, not the half-typed text that was there before.
TEST_F(WindowUserTest, OpeningTheListDoesNotLeaveTheBox) {
    TypeInto(window->Cboalpha, "0.6");
    ChooseListItem(window->Cboalpha, 4);  // 0.25
    EXPECT_TRUE(ShowsNoMessage());
    EXPECT_EQ(window->Cboalpha->currentText(), "0.25");
    EXPECT_EQ(window->Form().State().Alpha, 0.25f);
    EXPECT_TRUE(ShowsEngineResults(*window, TestKind::Sign));
}

TEST_F(WindowUserTest, ListChoiceAndLeavingTheBoxBothRecalculate) {
    ChooseListItem(window->Cboalpha, 3);  // 0.10
    EXPECT_TRUE(HasFocusWithin(window->Cboalpha));
    EXPECT_EQ(window->Form().State().Alpha, 0.1f);
    EXPECT_TRUE(ShowsEngineResults(*window, TestKind::Sign));
    // Selecting the other test alone runs nothing; the second check, on
    // leaving the box, recalculates and so shows it.
    window->OptWRSTest->setChecked(true);
    Settle();
    EXPECT_TRUE(ShowsEngineResults(*window, TestKind::Sign));
    TabAway();
    EXPECT_TRUE(ShowsNoMessage());
    EXPECT_EQ(window->Cboalpha->currentText(), "0.10");
    EXPECT_EQ(window->Form().State().Alpha, 0.1f);
    EXPECT_TRUE(ShowsEngineResults(*window, TestKind::WRS));
}

// The wheel turned over a list the user is not in: either nothing changes or
// the value follows the text, never the one without the other.
TEST_F(WindowUserTest, WheelOverAListKeepsTextAndValueInStep) {
    for (QComboBox* combo : {window->Cboalpha, window->CboBeta}) {
        for (const bool away : {false, true}) {
            SCOPED_TRACE(combo->objectName().toStdString() + (away ? " away" : " towards"));
            ClickOn(window->txtRadionuclide);
            TurnWheelOver(combo, away);
            const float shown = static_cast<float>(combo->currentText().toDouble());
            const float used = combo == window->Cboalpha ? window->Form().State().Alpha : window->Form().State().Beta;
            EXPECT_EQ(used, shown) << "the list shows " << combo->currentText().toStdString()
                                   << " but the design uses " << used;
            EXPECT_TRUE(ShowsEngineResults(*window, TestKind::Sign));
        }
    }
}

// --- Sigma -----------------------------------------------------------------

TEST_F(WindowUserTest, SpinArrowsStepSigmaByAHundredthOfDCGL) {
    ClickSpinUp(window->UpDSigma);
    EXPECT_EQ(window->txtSigma->text(), "0.51");
    EXPECT_EQ(window->Form().State().Sigma, 0.51f);
    EXPECT_EQ(Shift(), "D/s = 0.98");
    EXPECT_TRUE(ShowsEngineResults(*window, TestKind::Sign));
    ClickSpinDown(window->UpDSigma);
    EXPECT_EQ(window->txtSigma->text(), "0.5");
    EXPECT_EQ(Shift(), "D/s = 1");
    EXPECT_EQ(window->txtN->text(), "29");
    EXPECT_TRUE(ShowsNoMessage());
    EXPECT_EQ(window->ScrLBGR->value(), 500);
}

// Up and Down in the sigma box are the arrows; up to a DCGL of 0.5 the
// arrows step by 0 and are off, saying why, and the keys only beep.
TEST_F(WindowUserTest, ArrowKeysInTheSigmaBoxAreTheArrows) {
    struct Case {
        const char* dcgl;
        int key;
        const char* sigma;  // the text afterwards
        bool arrows_on;
    };
    for (const Case& c : {Case{"1", Qt::Key_Up, "0.51", true}, Case{"1", Qt::Key_Down, "0.49", true},
                          Case{"0.5", Qt::Key_Up, "0.5", false}, Case{"2", Qt::Key_Up, "0.52", true}}) {
        SCOPED_TRACE(c.dcgl);
        TypeInto(window->txtDCGL, c.dcgl);
        TabAway();
        TypeInto(window->txtSigma, "0.5");
        PressKey(c.key);
        EXPECT_EQ(window->txtSigma->text(), c.sigma);
        EXPECT_EQ(window->UpDSigma->upButton()->isEnabled(), c.arrows_on);
        EXPECT_EQ(window->UpDSigma->downButton()->toolTip().contains("off"), !c.arrows_on);
    }
}

// A refused key is said at the box; the results note and F5 for the test.
TEST_F(WindowUserTest, RefusedKeyNoticeAndOtherTestNote) {
    TypeInto(window->txtDCGL, "2e");
    EXPECT_TRUE(window->noticeBalloon->isVisible());
    EXPECT_EQ(window->noticeBalloon->text(), Q(kOnlyDigitsNotice));
    TabAway();
    EXPECT_FALSE(window->noticeBalloon->isVisible());

    ClickOn(window->OptWRSTest);
    EXPECT_TRUE(window->lblResultsNote->isVisible());
    EXPECT_EQ(window->txtN->toolTip(), Q(OtherTestTip(TestKind::Sign, TestKind::WRS)));
    window->txtSigma->setFocus();
    PressKey(Qt::Key_F5);
    EXPECT_FALSE(window->lblResultsNote->isVisible());
    EXPECT_TRUE(ShowsEngineResults(*window, TestKind::WRS));
    EXPECT_EQ(FocusedWidget(), window->txtSigma);
    EXPECT_TRUE(ShowsNoMessage());
}

// --- Test selection and the chart -----------------------------------------

TEST_F(WindowUserTest, OtherTestShowsOnlyAfterAChartClick) {
    const QImage sign_chart = window->PicChart->Image().copy();
    ClickOn(window->OptWRSTest);
    EXPECT_TRUE(window->OptWRSTest->isChecked());
    EXPECT_EQ(window->txtN->text(), "29");
    EXPECT_EQ(SecondLine(window->LblCV), " 19");
    EXPECT_FALSE(window->TxtM->isVisible());
    EXPECT_TRUE(window->PicChart->Image() == sign_chart) << "the chart changed before the click";

    ClickOn(window->PicChart);
    EXPECT_EQ(window->txtN->text(), "32");
    EXPECT_EQ(window->TxtM->text(), "32");
    EXPECT_EQ(SecondLine(window->LblCV), " 1162");
    EXPECT_TRUE(window->TxtM->isVisible());
    EXPECT_TRUE(window->LblReferenceArea->isVisible());
    EXPECT_FALSE(window->PicChart->Image() == sign_chart) << "the chart still shows the Sign curve";
    EXPECT_TRUE(ShowsEngineResults(*window, TestKind::WRS));

    ClickOn(window->OptSignTest);
    ClickOn(window->PicChart);
    EXPECT_EQ(window->txtN->text(), "29");
    EXPECT_FALSE(window->TxtM->isVisible());
    EXPECT_FALSE(window->LblReferenceArea->isVisible());
    EXPECT_TRUE(window->PicChart->Image() == sign_chart);
    EXPECT_TRUE(ShowsNoMessage());
}

TEST_F(WindowUserTest, ChartClickTakesTheTypedSigmaFirst) {
    for (const TestKind test : {TestKind::Sign, TestKind::WRS}) {
        SCOPED_TRACE(test == TestKind::WRS ? "WRS" : "Sign");
        ClickOn(test == TestKind::WRS ? window->OptWRSTest : window->OptSignTest);
        TypeInto(window->txtSigma, test == TestKind::WRS ? "0.25" : "0.3");
        ClickOn(window->PicChart);
        EXPECT_EQ(window->Form().State().Sigma, test == TestKind::WRS ? 0.25f : 0.3f)
            << "clicking the chart did not take the typed sigma";
        EXPECT_EQ(Shift(), test == TestKind::WRS ? "D/s = 2" : "D/s = 1.667");
        EXPECT_TRUE(ShowsEngineResults(*window, test));
    }
    EXPECT_TRUE(ShowsNoMessage());
}

// --- Refused twice ---------------------------------------------------------

// After a refusal the focus is back in the box; leaving it again with another
// bad value must be checked again, however the user left it the first time.
TEST_F(WindowUserTest, BoxRefusedOnceIsCheckedAgainOnTheNextLeave) {
    struct Case {
        QWidget* box;
        const char* bad;
        const char* worse;
        std::string message;
        QWidget* elsewhere;
    };
    const Case cases[] = {
        {window->CboBeta, "2", "3", rules::kBetaRange, window->txtDCGL},
        {window->Cboalpha, "0.7", "0.8", rules::kAlphaRange, window->txtLBGR},
        {window->txtSigma, "0", "00", rules::kSigmaNotPositive, window->CboBeta},
        {window->txtLBGR, "2", "3", rules::kLBGRAboveDCGL, window->txtSigma},
    };
    auto text_of = [](QWidget* box) {
        if (auto* combo = qobject_cast<QComboBox*>(box)) return combo->currentText();
        return qobject_cast<QLineEdit*>(box)->text();
    };
    for (const bool first_by_mouse : {false, true}) {
        for (const bool second_by_mouse : {false, true}) {
            for (const Case& c : cases) {
                SCOPED_TRACE(c.box->objectName().toStdString() + (first_by_mouse ? " mouse" : " Tab") +
                             (second_by_mouse ? " then mouse" : " then Tab"));
                const QString before = text_of(c.box);
                TypeInto(c.box, c.bad);
                messages.Clear();
                if (first_by_mouse) ClickOn(c.elsewhere); else TabAway();
                EXPECT_EQ(messages.shown.size(), 1u);
                ASSERT_TRUE(HasFocusWithin(c.box));
                PressKey(Qt::Key_A, Qt::ControlModifier);
                TypeKeys(c.worse);
                messages.Clear();
                if (second_by_mouse) ClickOn(c.elsewhere); else TabAway();
                EXPECT_TRUE(ShowsOneMessage(Q(c.message), messages.shown.empty() ? MessageIcon::None
                                                                                 : messages.shown[0].icon))
                    << "the second bad value was not checked";
                if (c.box != window->txtSigma) {
                    EXPECT_EQ(text_of(c.box), before);
                }
                EXPECT_TRUE(HasFocusWithin(c.box));
                // Leave it in a good state for the next case.
                TypeInto(c.box, c.box == window->txtLBGR ? "0.5" : (c.box == window->txtSigma ? "0.5" : "0.05"));
                TabAway();
            }
        }
    }
}

// --- Real message boxes ----------------------------------------------------

// A message box takes the focus away from the window while it is up; that is
// not the user leaving a box, so no lost-focus check may run for it.
TEST_F(WindowWithMessageBoxesTest, MessageBoxDoesNotCountAsLeavingTheBox) {
    TypeInto(window->txtDCGL, "1.2.");
    EXPECT_TRUE(ShowsOneMessage(Q(rules::kCheckDecimalPoint), MessageIcon::None));
    EXPECT_EQ(window->Form().State().DCGL, 1.0) << "the half-typed DCGL was taken when the message box opened";
    EXPECT_EQ(window->txtDCGL->text(), "");
    EXPECT_TRUE(HasFocusWithin(window->txtDCGL));
    TypeKeys("1");

    messages.Clear();
    TypeInto(window->Cboalpha, "0.6");
    TabAway();
    EXPECT_TRUE(ShowsOneMessage(Q(rules::kAlphaRange), MessageIcon::Exclamation));
    EXPECT_EQ(window->Cboalpha->currentText(), "0.05");
    EXPECT_TRUE(HasFocusWithin(window->Cboalpha));
    EXPECT_EQ(window->Form().State().Alpha, 0.05f);
}

// Clicking the arrow of one list while another box holds a bad value: the bad
// value is refused (the focus goes back to it) and the list may still open.
// Whatever the user then chooses, the text shown and the value used agree.
TEST_F(WindowWithMessageBoxesTest, ListOpenedWhileAnotherBoxIsRefusedStaysInStep) {
    TypeInto(window->CboBeta, "82");
    ChooseListItem(window->Cboalpha, 4);  // 0.25
    EXPECT_TRUE(ShowsOneMessage(Q(rules::kBetaRange), MessageIcon::Exclamation));
    EXPECT_EQ(window->CboBeta->currentText(), "0.05");
    EXPECT_EQ(window->Form().State().Alpha, static_cast<float>(window->Cboalpha->currentText().toDouble()))
        << "alpha shows " << window->Cboalpha->currentText().toStdString() << " but the design uses "
        << window->Form().State().Alpha;
    EXPECT_TRUE(ShowsEngineResults(*window, TestKind::Sign));
}

TEST_F(WindowWithMessageBoxesTest, RefusedSigmaKeepsTheFocusAfterTheBoxCloses) {
    TypeInto(window->txtSigma, "0");
    TabAway();
    EXPECT_TRUE(ShowsOneMessage(Q(rules::kSigmaNotPositive), MessageIcon::Exclamation));
    EXPECT_TRUE(HasFocusWithin(window->txtSigma));
    EXPECT_EQ(window->txtSigma->text(), "");
    EXPECT_EQ(window->Form().State().Sigma, 0.5f);
    EXPECT_EQ(window->txtN->text(), "29");
}

}  // namespace
}  // namespace valdris::testing
