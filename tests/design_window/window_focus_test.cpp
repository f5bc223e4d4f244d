// The lost-focus handlers as focus really moves between the controls of a
// shown window, and the window's close.
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
#include <vector>

#include "frm_sample_size_and_power.h"
#include "symbol_label.h"
#include "window_handlers_test_support.h"

namespace valdris::testing {
namespace {

class WindowFocusTest : public WindowHandlersTest {
protected:
    void SetUp() override {
        WindowHandlersTest::SetUp();
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        ResetCounts();
    }

    // Types into a box that has the focus, as the handlers see it.
    static void Enter(QWidget* box, const QString& text) {
        box->setFocus(Qt::MouseFocusReason);
        if (auto* combo = qobject_cast<QComboBox*>(box)) {
            combo->setEditText(text);
        } else {
            static_cast<QLineEdit*>(box)->setText(text);
        }
    }
};

TEST_F(WindowFocusTest, EditableComboBoxTakesTheFocusItself) {
    window->Cboalpha->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(QApplication::focusWidget(), window->Cboalpha);
}

TEST_F(WindowFocusTest, LeavingABoxRunsItsHandlerOnce) {
    Enter(window->txtSigma, "0.3");
    window->txtLBGR->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(window->lblShift->caption(), "D/s = 1.667");
    EXPECT_EQ(Recalculations(), 1);
    EXPECT_EQ(QApplication::focusWidget(), window->txtLBGR);
}

struct RefusalCase {
    const char* name;
    QWidget* (*box)(frmSampleSizeandPower&);
    const char* typed;
    QWidget* (*moved_to)(frmSampleSizeandPower&);
};

class RefusedInputFocusTest : public WindowFocusTest, public ::testing::WithParamInterface<RefusalCase> {};

// The refused box gets the focus back before the box the user chose ever
// receives it, so that box's own handler does not run (it would recalculate).
TEST_P(RefusedInputFocusTest, KeepsTheFocusAndTheOtherBoxRunsNothing) {
    const RefusalCase& c = GetParam();
    QWidget* box = c.box(*window);
    QWidget* target = c.moved_to(*window);
    Enter(box, c.typed);
    target->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(QApplication::focusWidget(), box);
    EXPECT_EQ(Recalculations(), 0);

}

QWidget* Sigma(frmSampleSizeandPower& w) { return w.txtSigma; }
QWidget* DCGL(frmSampleSizeandPower& w) { return w.txtDCGL; }
QWidget* LBGR(frmSampleSizeandPower& w) { return w.txtLBGR; }

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedInputFocusTest,
    ::testing::Values(RefusalCase{"SigmaToDCGL", Sigma, "0", DCGL}, RefusalCase{"LBGRToSigma", LBGR, "2", Sigma},
                      RefusalCase{"DCGLToLBGR", DCGL, "0", LBGR}),
    [](const ::testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });

TEST_F(WindowFocusTest, RefusedAlphaKeepsTheFocusFromTheLBGRBox) {
    Enter(window->Cboalpha, "0.6");
    window->txtLBGR->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(Shown(), std::vector<QString>{"Alpha should be between 0.0 and 0.5|exclamation"});
    EXPECT_EQ(QApplication::focusWidget(), window->Cboalpha);
    EXPECT_EQ(window->Cboalpha->currentText(), "0.05");
    // txtLBGR never had the focus: leaving the combo box with a good value
    // runs the combo box's handler only.
    ResetCounts();
    window->Cboalpha->setEditText("0.1");
    window->txtSigma->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(Recalculations(), 1);
    EXPECT_EQ(window->State().Alpha, 0.1f);
}

// Leaving a combo box that holds a typed list item makes Qt select the item
// and report it as activated: that is the leaving, checked once.
TEST_F(WindowFocusTest, TypedListItemIsCheckedOnceOnLeaving) {
    window->Cboalpha->setFocus(Qt::TabFocusReason);
    window->Cboalpha->lineEdit()->selectAll();
    QTest::keyClicks(window->Cboalpha, "0.25");
    window->CboBeta->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(Recalculations(), 1);
    EXPECT_EQ(window->State().Alpha, 0.25f);

    window->Cboalpha->setEditText("0.50");
    window->Cboalpha_LostFocus();
    ASSERT_EQ(window->State().Alpha, 0.5f);
    ResetCounts();
    window->CboBeta->setFocus(Qt::TabFocusReason);
    window->CboBeta->lineEdit()->selectAll();
    QTest::keyClicks(window->CboBeta, "0.50");
    window->txtDCGL->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(Shown(), std::vector<QString>{"Alpha and beta cannot both be as large as 0.5.|exclamation"});
    EXPECT_EQ(QApplication::focusWidget(), window->CboBeta);
    EXPECT_EQ(Recalculations(), 0);

    // Still the box that has the focus: leaving it again checks it again.
    ResetCounts();
    window->CboBeta->lineEdit()->selectAll();
    QTest::keyClicks(window->CboBeta, "2");
    window->txtDCGL->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(Shown(), std::vector<QString>{"Alpha and beta cannot both be as large as 0.5.|exclamation"});
    EXPECT_EQ(window->CboBeta->currentText(), "0.05");
}

// A list can be opened and an item chosen while another box keeps the focus
// after a refusal; the choice is still taken.
TEST_F(WindowFocusTest, ListChoiceCountsWhileAnotherBoxHoldsTheFocus) {
    Enter(window->txtSigma, "0");
    window->Cboalpha->setFocus(Qt::MouseFocusReason);
    ASSERT_EQ(QApplication::focusWidget(), window->txtSigma);
    ResetCounts();
    window->Cboalpha->setCurrentIndex(4);
    emit window->Cboalpha->activated(4);
    EXPECT_EQ(window->State().Alpha, 0.25f);
    EXPECT_EQ(Recalculations(), 1);
}

// A message box, another window, a combo box's list or the menu bar take the
// focus without leaving the control as far as the user is concerned.
TEST_F(WindowFocusTest, FocusLostToAnotherWindowOrAPopupIsNoLeaving) {
    Enter(window->txtSigma, "0");
    for (Qt::FocusReason reason : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason, Qt::MenuBarFocusReason}) {
        QFocusEvent out(QEvent::FocusOut, reason);
        QApplication::sendEvent(window->txtSigma, &out);
    }
    EXPECT_TRUE(messages.shown.empty());
    window->txtLBGR->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(Shown(), std::vector<QString>{"Standard Deviation must be greater than zero|exclamation"});
}

// The open list takes the focus after the popup reason was given: still no
// leaving; only the choice is checked.
TEST_F(WindowFocusTest, OpeningAComboBoxListIsNoLeaving) {
    Enter(window->Cboalpha, "0.6");
    window->Cboalpha->showPopup();
    QApplication::processEvents();
    EXPECT_NE(QApplication::focusWidget(), window->Cboalpha);
    window->Cboalpha->hidePopup();
    QApplication::processEvents();
    EXPECT_TRUE(messages.shown.empty());
    window->txtLBGR->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(Shown(), std::vector<QString>{"Alpha should be between 0.0 and 0.5|exclamation"});
}

TEST_F(WindowFocusTest, ClosingRunsNoInputHandler) {
    QSignalSpy closed(window.get(), &QObject::destroyed);
    Enter(window->txtSigma, "0");
    window->CmdExit->click();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(messages.shown.empty());

    window->txtSigma_LostFocus();
    window->ScrLBGR->setValue(700);
    window->UpDSigma_UpClick();
    window->PicChart_Click();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(window->txtLBGR->text(), "0.5");
    EXPECT_EQ(Recalculations(), 0);
}

TEST_F(WindowFocusTest, DestroyingTheWindowRunsNoInputHandler) {
    Enter(window->txtDCGL, "");
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
