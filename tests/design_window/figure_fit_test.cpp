// SPDX-License-Identifier: Apache-2.0
// Every figure the design window shows can be read in full: the largest
// sizes, critical values, shifts and DCGL texts the engine and the rules
// accept fit their fields, in a smaller font if need be, and a DCGL text too
// long for any size is elided unmistakably with the whole text at hand.

#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <gtest/gtest.h>
#include <memory>

#include "figure_fit.h"
#include "frm_sample_size_and_power.h"
#include "power_chart_view.h"
#include "symbol_label.h"
#include "window_driver.h"

namespace valdris::testing {
namespace {

int WidestLine(const QFont& font, const QString& text) {
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        widest = std::max(widest, QFontMetrics(font).horizontalAdvance(line));
    }
    return widest;
}

::testing::AssertionResult ShowsWhole(const QLineEdit* field) {
    const int width = WidestLine(field->font(), field->text());
    if (width <= FigureRoom(field) && field->font().pointSizeF() >= kSmallestFigurePointSize) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << field->objectName().toStdString() << " '" << field->text().toStdString()
                                         << "' is " << width << " px wide in " << FigureRoom(field) << " px at "
                                         << field->font().pointSizeF() << " pt";
}

::testing::AssertionResult ShowsWhole(const QLabel* label, int room) {
    const int width = WidestLine(label->font(), label->text());
    if (width <= room && label->font().pointSizeF() >= kSmallestFigurePointSize) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << label->objectName().toStdString() << " '" << label->text().toStdString()
                                         << "' is " << width << " px wide in " << room << " px";
}

int ShiftRoom(const frmSampleSizeandPower& window) {
    return window.frmLBGR->contentsRect().right() + 1 - window.lblShift->x();
}

class FigureFitTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<frmSampleSizeandPower>(messages);
        ASSERT_TRUE(ShowAndActivate(window.get()));
    }
    RecordingMessages messages;
    std::unique_ptr<frmSampleSizeandPower> window;
};

// WRS, sigma 10, LBGR 0.95 (D/s 0.005): a seven-digit size in both boxes,
// which used to lose its first digit, and a twelve-digit critical value.
TEST_F(FigureFitTest, LargeDesignFromTheInputsIsShownWhole) {
    ClickOn(window->OptWRSTest);
    TypeInto(window->txtLBGR, "0.95");
    TabAway();
    TypeInto(window->txtSigma, "10");
    TabAway();
    ClickOn(window->PicChart);
    ASSERT_EQ(window->txtN->text(), "1087819");
    EXPECT_TRUE(ShowsWhole(window->txtN));
    EXPECT_TRUE(ShowsWhole(window->TxtM));
    EXPECT_TRUE(ShowsWhole(window->LblCV, window->LblCV->contentsRect().width()));
    EXPECT_TRUE(ShowsWhole(window->lblShift, ShiftRoom(*window)));

    // Back to a small design: the layout's font again.
    TypeInto(window->txtSigma, "0.5");
    TabAway();
    ClickOn(window->PicChart);
    EXPECT_EQ(window->txtN->font().pointSizeF(), 11.25);
}

// The widest texts each field can be given: sizes up to the 32-bit limit,
// critical values of up to 20 digits (written with an exponent from 16 on),
// and a shift of any size the rules let through.
TEST_F(FigureFitTest, WidestFiguresFitTheirFields) {
    for (const char* size : {"2147483647", "1087819", "29"}) {
        for (QLineEdit* field : {window->txtN, window->TxtM}) {
            field->setText(QString::fromLatin1(size));
            FitFigure(field);
            EXPECT_TRUE(ShowsWhole(field));
            EXPECT_EQ(field->text(), size);
        }
    }
    for (const char* value : {" 118411243353", " 4.61168601842739E+18", "-4.61168601842739E+18", " 2147483647"}) {
        window->LblCV->setText(QStringLiteral("Critical Value:\n") + QString::fromLatin1(value));
        FitFigure(window->LblCV);
        EXPECT_TRUE(ShowsWhole(window->LblCV, window->LblCV->contentsRect().width()));
    }
    for (const char* shift : {"D/s = 1.23456789012346E+75", "D/s = 123456789012.35", "D/s = 0.1"}) {
        window->lblShift->setCaption(QString::fromLatin1(shift));
        FitFigure(window->lblShift, ShiftRoom(*window));
        window->lblShift->adjustSize();
        EXPECT_TRUE(ShowsWhole(window->lblShift, ShiftRoom(*window)));
        EXPECT_LE(window->lblShift->geometry().right(), window->frmLBGR->contentsRect().right()) << shift;
    }
}

// The bar's end shows the DCGL text as typed: a short one whole, one that no
// size fits elided in the middle, the whole text in its tooltip.
TEST_F(FigureFitTest, DCGLTextAtTheBarsEnd) {
    const struct { const char* dcgl; bool whole; } cases[] = {
        {"1000", true}, {"1000000", true}, {"0000000000000000000001000000000", false},
        {"0.000001000000000000000000000000", false}};
    for (const auto& c : cases) {
        TypeInto(window->txtDCGL, QString::fromLatin1(c.dcgl));
        TabAway();
        QLabel* end = window->lblLBGRMax;
        ASSERT_EQ(end->text(), c.dcgl);
        if (c.whole) {
            EXPECT_TRUE(ShowsWhole(end, end->contentsRect().width()));
            EXPECT_TRUE(end->toolTip().isEmpty()) << c.dcgl;
        } else {
            EXPECT_EQ(end->toolTip(), c.dcgl);
            EXPECT_EQ(end->font().pointSizeF(), kSmallestFigurePointSize) << c.dcgl;
        }
    }
}

}  // namespace
}  // namespace valdris::testing
