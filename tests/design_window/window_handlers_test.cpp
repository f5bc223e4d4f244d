// The design window's handlers, called directly or through the controls'
// signals, with messages recorded instead of shown.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <memory>

#include "frm_sample_size_and_power.h"
#include "input_rules.h"
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

}  // namespace
}  // namespace valdris::testing
