// SPDX-License-Identifier: Apache-2.0
// What the design window shows a user reading it: the LBGR bar's focus frame,
// the LBGR a dragged thumb would give, and long figures from their start.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "frm_sample_size_and_power.h"
#include "horizontal_scroll_bar.h"
#include "recording_messages.h"
#include "window_driver.h"

namespace valdris::testing {
namespace {

class WindowReadingTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<frmSampleSizeandPower>(messages);
        ASSERT_TRUE(ShowAndActivate(window.get())) << "the window could not be activated";
        bar = qobject_cast<HorizontalScrollBar*>(window->ScrLBGR);
        ASSERT_NE(bar, nullptr);
    }
    void TearDown() override { window.reset(); }

    RecordingMessages messages;
    std::unique_ptr<frmSampleSizeandPower> window;
    HorizontalScrollBar* bar = nullptr;
};

// Pixels of the focus colour along the thumb's edge.
int FramePixels(QWidget* bar, const QRect& thumb) {
    const QImage image = bar->grab().toImage();
    const QRgb focus = bar->palette().color(QPalette::Highlight).rgb();
    int count = 0;
    for (int x = thumb.left(); x <= thumb.right(); ++x) {
        for (int y : {thumb.top(), thumb.bottom()}) count += image.pixel(x, y) == focus;
    }
    return count;
}

TEST_F(WindowReadingTest, TheBarFramesItsThumbOnlyWithTheFocus) {
    for (QWidget* focus : {static_cast<QWidget*>(window->txtDCGL), static_cast<QWidget*>(bar)}) {
        focus->setFocus(Qt::TabFocusReason);
        Settle();
        const int pixels = FramePixels(bar, ScrollBarThumb(bar));
        EXPECT_EQ(pixels >= 2 * ScrollBarThumb(bar).width() - 4, focus == bar) << pixels;
        EXPECT_TRUE(pixels == 0 || focus == bar) << pixels;
    }
}

// The tip stands above the thumb and says what letting go would write; until
// then nothing is written or recalculated.
TEST_F(WindowReadingTest, TheDraggedThumbShowsTheLBGRItWouldGive) {
    const QString results = window->txtN->text();
    const QPoint grab = ScrollBarThumb(bar).center();
    QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, grab);
    for (int dx : {9, 36}) {
        QTest::mouseMove(bar, grab + QPoint(dx, 0));
        Settle();
        const auto* tip = bar->findChild<QLabel*>(QStringLiteral("dragTip"));
        ASSERT_TRUE(tip && tip->isVisible()) << dx;
        const QString lbgr = QString::fromStdString(window->Form().LBGRTextAtBar(bar->sliderPosition()));
        EXPECT_EQ(tip->text(), "LBGR = " + lbgr);
        EXPECT_LT(tip->geometry().bottom(), bar->mapToGlobal(QPoint(0, 0)).y());
        EXPECT_TRUE(tip->geometry().contains(bar->mapToGlobal(ScrollBarThumb(bar).center()).x(), tip->geometry().y()));
        EXPECT_EQ(window->txtLBGR->text(), "0.5");
    }
    EXPECT_GT(bar->sliderPosition(), 500);
    const QString shown = bar->findChild<QLabel*>(QStringLiteral("dragTip"))->text();
    EXPECT_EQ(window->txtN->text(), results);
    QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, grab + QPoint(36, 0));
    Settle();
    EXPECT_FALSE(bar->findChild<QLabel*>(QStringLiteral("dragTip"))->isVisible());
    EXPECT_EQ("LBGR = " + window->txtLBGR->text(), shown);
    EXPECT_TRUE(messages.shown.empty());
}

// A box without the focus shows its figure from the first digit: after it is
// left, and when the program writes into it.
TEST_F(WindowReadingTest, BoxesWithoutTheFocusShowTheirStart) {
    QLineEdit* alpha = window->Cboalpha->lineEdit();
    const struct {
        QWidget* box;
        QLineEdit* field;
        const char* text;
    } typed[] = {
        {window->txtDCGL, window->txtDCGL, "123456789.12345"},
        {window->txtSigma, window->txtSigma, "300000000"},
        {window->txtRadionuclide, window->txtRadionuclide, "Americium-241 with its daughters"},
        {window->Cboalpha, alpha, "0.0500000000001"},
        {window->txtLBGR, window->txtLBGR, "50000000.123456"},
    };
    for (const auto& t : typed) {
        TypeInto(t.box, QString::fromLatin1(t.text));
        TabAway();
    }
    ClickScrollArrow(bar, true);  // writes a long LBGR into its box
    for (const auto& t : typed) {
        SCOPED_TRACE(t.box->objectName().toStdString());
        EXPECT_FALSE(HasFocusWithin(t.box));
        EXPECT_GT(t.field->fontMetrics().horizontalAdvance(t.field->text()), t.field->contentsRect().width() - 8)
            << "not long enough to need scrolling";
        EXPECT_EQ(t.field->cursorPosition(), 0);
    }
    EXPECT_EQ(window->txtSigma->text(), "300000000");
    EXPECT_EQ(window->txtLBGR->text().toStdString(), window->Form().LBGRTextAtBar(bar->value()));
}

}  // namespace
}  // namespace valdris::testing
