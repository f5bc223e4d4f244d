// SPDX-License-Identifier: Apache-2.0
// The lost-focus handlers as the focus really moves between the controls of
// a shown window, and the window's close.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "frm_sample_size_and_power.h"
#include "window_steps_fixture.h"

namespace valdris::testing {
namespace {

using Steps = std::vector<std::string>;

class WindowFocusTest : public WindowStepsFixture {
protected:
    void SetUp() override {
        WindowStepsFixture::SetUp();
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        ResetCounts();
    }
    // Puts the focus in the box and types the text as keys.
    static void TypeInto(QWidget* box, const char* text) {
        box->setFocus(Qt::MouseFocusReason);
        auto* combo = qobject_cast<QComboBox*>(box);
        (combo ? combo->lineEdit() : static_cast<QLineEdit*>(box))->selectAll();
        QTest::keyClicks(box, text);
    }
    static QWidget* Focused() { return QApplication::focusWidget(); }
};

TEST_F(WindowFocusTest, LeavingABoxRunsItsHandlerOnce) {
    window->Cboalpha->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(Focused(), window->Cboalpha);  // not its line edit
    TypeInto(window->txtSigma, "0.3");
    ResetCounts();
    window->txtLBGR->setFocus(Qt::TabFocusReason);
    Expect("lblShift=D/s = 1.667");
    EXPECT_EQ(Recalculations(), 1);
    EXPECT_EQ(Focused(), window->txtLBGR);
}

// The refused box takes the focus back before the box the user chose ever
// receives it, so that box's own handler (which would recalculate) never runs.
TEST_F(WindowFocusTest, RefusedBoxKeepsTheFocusAndTheChosenBoxRunsNothing) {
    struct Case {
        QWidget* box;
        const char* typed;
        QWidget* chosen;
        const char* message;
        const char* valid;  // lets the box be left afterwards
    };
    const Case cases[] = {{window->txtSigma, "0", window->txtDCGL, "sigma<=0", ".5"},
                          {window->txtLBGR, "2", window->txtSigma, "lbgr>dcgl", "0.5"},
                          {window->txtDCGL, "0", window->txtLBGR, "dcgl?", "1"},
                          {window->Cboalpha, "0.6", window->txtLBGR, "alpha", "0.05"}};
    for (const Case& c : cases) {
        ResetCounts();
        TypeInto(c.box, c.typed);
        c.chosen->setFocus(Qt::MouseFocusReason);
        EXPECT_EQ(Shown(), Steps{c.message});
        EXPECT_EQ(Focused(), c.box);
        EXPECT_EQ(Recalculations(), 0);
        TypeInto(c.box, c.valid);
        window->txtRadionuclide->setFocus(Qt::TabFocusReason);
    }
}

// Leaving a combo box that holds a typed list item makes Qt select the item
// and report it as activated: that is the leaving, checked once.
TEST_F(WindowFocusTest, TypedListItemIsCheckedOnceOnLeaving) {
    TypeInto(window->Cboalpha, "0.25");
    window->CboBeta->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(Recalculations(), 1);
    Expect("Alpha=0.25");

    Run("alpha 0.50");
    ResetCounts();
    TypeInto(window->CboBeta, "0.50");
    window->txtDCGL->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(Shown(), Steps{"joint"});
    EXPECT_EQ(Focused(), window->CboBeta);
    // Still the box that has the focus: leaving it again checks it again.
    TypeInto(window->CboBeta, "2");
    window->txtDCGL->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(Shown(), (Steps{"joint", "joint"}));
    EXPECT_EQ(Recalculations(), 0);
}

// A list can be opened and an item chosen while another box keeps the focus
// after a refusal; the choice is still taken.
TEST_F(WindowFocusTest, ListChoiceCountsWhileAnotherBoxHoldsTheFocus) {
    TypeInto(window->txtSigma, "0");
    window->Cboalpha->setFocus(Qt::MouseFocusReason);
    ASSERT_EQ(Focused(), window->txtSigma);
    ResetCounts();
    window->Cboalpha->setCurrentIndex(4);
    emit window->Cboalpha->activated(4);
    Expect("Alpha=0.25");
    EXPECT_EQ(Recalculations(), 1);
}

// A message box, another window, a combo box's list or the menu bar take the
// focus without the user leaving the control.
TEST_F(WindowFocusTest, FocusTakenByAnotherWindowOrAPopupIsNoLeaving) {
    TypeInto(window->Cboalpha, "0.6");
    window->Cboalpha->showPopup();  // its list takes the focus after the popup reason
    QApplication::processEvents();
    window->Cboalpha->hidePopup();
    QApplication::processEvents();
    EXPECT_TRUE(messages.shown.empty());
    window->Cboalpha->setEditText("0.05");

    TypeInto(window->txtSigma, "0");
    for (Qt::FocusReason reason : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason, Qt::MenuBarFocusReason}) {
        QFocusEvent out(QEvent::FocusOut, reason);
        QApplication::sendEvent(window->txtSigma, &out);
    }
    EXPECT_TRUE(messages.shown.empty());
    window->txtLBGR->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(Shown(), Steps{"sigma<=0"});
}

TEST_F(WindowFocusTest, ClosedOrDestroyedWindowRunsNoHandler) {
    TypeInto(window->txtSigma, "0");
    window->CmdExit->click();
    EXPECT_FALSE(window->isVisible());
    Run(Steps{"sigma 0", "bar 700", "up", "chart", "dcgl"});
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(Recalculations(), 0);
    Expect("txtLBGR=0.5");

    WindowStepsFixture::SetUp();
    window->show();
    TypeInto(window->txtDCGL, "0");
    window.reset();
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(WindowFocusTest, FileExitClosesAndHelpItemsAreReported) {
    QSignalSpy getting_started(window.get(), &frmSampleSizeandPower::gettingStartedRequested);
    QSignalSpy about(window.get(), &frmSampleSizeandPower::aboutRequested);
    window->mnuGettingStarted->trigger();
    window->mnuAbout->trigger();
    EXPECT_EQ(getting_started.count(), 1);
    EXPECT_EQ(about.count(), 1);
    window->MnuExit->trigger();
    EXPECT_FALSE(window->isVisible());
}

}  // namespace
}  // namespace valdris::testing
