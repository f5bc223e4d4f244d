// SPDX-License-Identifier: Apache-2.0
// The design window's layout: controls, captions, fonts, places, keyboard
// order and what assistive technology is told.

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>
#include <utility>
#include <vector>

#include "frm_sample_size_and_power.h"
#include "power_chart_view.h"
#include "recording_messages.h"
#include "symbol_label.h"
#include "up_down_control.h"

namespace valdris {
namespace {

class LayoutTest : public ::testing::Test {
protected:
    void SetUp() override { window = std::make_unique<frmSampleSizeandPower>(messages); }

    void ShowActive() {
        window->show();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    // The control that holds the keyboard focus, seen as the control the
    // user meant (a combo box rather than its edit field).
    static QWidget* FocusedControl() {
        QWidget* focused = QApplication::focusWidget();
        if (focused && qobject_cast<QComboBox*>(focused->parentWidget())) return focused->parentWidget();
        return focused;
    }

    testing::RecordingMessages messages;
    std::unique_ptr<frmSampleSizeandPower> window;
};

TEST_F(LayoutTest, EveryControlCarriesItsNameAndKind) {
    const struct { QObject* control; const char* name; const char* kind; } controls[] = {
        {window->frmInfo, "frmInfo", "QGroupBox"},
        {window->txtRadionuclide, "txtRadionuclide", "QLineEdit"},
        {window->UpDSigma, "UpDSigma", "valdris::UpDownControl"},
        {window->FrmStatisticalTest, "FrmStatisticalTest", "QGroupBox"},
        {window->OptSignTest, "OptSignTest", "QRadioButton"},
        {window->LblCV, "LblCV", "QLabel"},
        {window->Cboalpha, "Cboalpha", "QComboBox"},
        {window->txtN, "txtN", "QLineEdit"},
        {window->ScrLBGR, "ScrLBGR", "QScrollBar"},
        {window->lblShift, "lblShift", "valdris::SymbolLabel"},
        {window->PicChart, "PicChart", "valdris::PowerChartView"},
        {window->LblYaxis, "LblYaxis", "QLabel"},
        {window->CmdExit, "CmdExit", "QPushButton"},
        {window->mnuFile, "mnuFile", "QMenu"},
        {window->MnuExit, "MnuExit", "QAction"},
    };
    for (const auto& c : controls) {
        ASSERT_NE(c.control, nullptr) << c.name;
        EXPECT_EQ(c.control->objectName(), c.name);
        EXPECT_TRUE(c.control->inherits(c.kind)) << c.name;
        EXPECT_EQ(window->findChild<QObject*>(c.name), c.control) << c.name;
    }
    // The statistical test frame overlaps frmInfo and must be drawn above it.
    EXPECT_EQ(window->FrmStatisticalTest->parentWidget(), window->frmInfo->parentWidget());
    EXPECT_EQ(window->LblYaxis->parentWidget(), window->PicChart);
    EXPECT_EQ(window->Lblxaxis->parentWidget(), window->PicChart);
}

TEST_F(LayoutTest, CaptionsAndTipsReadExactly) {
    const struct { QString shown; QString expected; } captions[] = {
        {window->windowTitle(), "VALDRIS Power 2000"},
        {window->lblSurveyUnitID->text(), "Survey Unit ID:"},
        {window->lblRadionuclide->text(), "Radionuclide:"},
        {window->txtRadionuclide->text(), "Unity Rule"},
        {window->LblDCGL->text(), "&DCGL"},
        {window->lblSigma->text(), "&Sigma"},
        {window->FrmStatisticalTest->title(), "Statistical Test"},
        {window->OptSignTest->text(), "Sign Test"},
        {window->OptWRSTest->text(), "WRS Test"},
        {window->FrmDecisionErrors->title(), "Decision Errors"},
        {window->Lblalpha->text(), "&Alpha:"},
        {window->lblBeta->text(), "&Beta:"},
        {window->FrmSampleSize->title(), "Required Sample Size"},
        {window->LblSurveyUnit->text(), "Survey &Unit:"},
        {window->LblReferenceArea->text(), "&Reference:"},
        {window->frmInfo->title(), ""},
        {window->frmLBGR->title(), ""},
        {window->lblLBGRMin->text(), "0"},
        {window->lblLBGR->text(), "&LBGR"},
        {window->LblYaxis->text(), "Probability that the Survey Unit Passes"},
        {window->Lblxaxis->text(), "True Survey Unit Concentration (percent of DCGL)"},
        {window->Label1->text(), "Click anywhere on the graph to update the power curve using newly "
                                 "entered parameter values"},
        {window->CmdExit->text(), "E&xit Program"},
        {window->mnuFile->title(), "&File"},
        {window->MnuExit->text(), "E&xit"},
        {window->mnuHelp->title(), "&Help"},
        {window->mnuGettingStarted->text(), "Getting Started"},
        {window->mnuAbout->text(), "&About"},
        {window->txtRadionuclide->toolTip(), "Radionuclide"},
        {window->txtDCGL->toolTip(), "Enter the DCGL - Derived Concentration Guideline Levels"},
        {window->txtSigma->toolTip(), "Enter your estimate of the standard deviation here"},
        {window->OptSignTest->toolTip(), "Sign Test"},
        {window->OptWRSTest->toolTip(), "Wilcoxon Rank Sum (WRS) Test"},
        {window->Cboalpha->toolTip(), "alpha - Type I error rate"},
        {window->CboBeta->toolTip(), "beta - Type II error rate"},
        {window->txtLBGR->toolTip(), "LBGR - Lower Boundary of the Gray Region"},
        {window->PicChart->toolTip(), "Click on Chart to Update"},
    };
    for (const auto& c : captions) EXPECT_EQ(c.shown, c.expected);
    EXPECT_TRUE(window->LblCV->text().startsWith("Critical Value:"));
    EXPECT_TRUE(window->OptSignTest->isChecked());
    EXPECT_FALSE(window->windowIcon().isNull());
    // F1 belongs to the help set-up, not to a menu item.
    for (QAction* item : {window->MnuExit, window->mnuGettingStarted, window->mnuAbout}) {
        EXPECT_TRUE(item->shortcut().isEmpty()) << item->objectName().toStdString();
    }
}

TEST_F(LayoutTest, FontsFollowTheDesign) {
    const struct { QWidget* control; double points; bool bold; bool italic; } fonts[] = {
        {window->txtDCGL, 11.25, false, false},
        {window->FrmSampleSize, 11.25, false, false},
        {window->Lblalpha, 12, false, false},
        {window->lblBeta, 12, false, false},
        {window->Cboalpha, 8.25, false, false},
        {window->CboBeta, 8.25, false, false},
        {window->PicChart, 8.25, false, false},
        {window->LblYaxis, 11.25, true, false},
        {window->Lblxaxis, 11.25, true, false},
        {window->Label1, 12, false, true},
        {window->lblShift, 11.25, false, false},
        {window->txtN, 11.25, true, false},
        {window->TxtM, 11.25, true, false},
    };
    for (const auto& f : fonts) {
        const QFont font = f.control->font();
        const std::string name = f.control->objectName().toStdString();
        EXPECT_DOUBLE_EQ(font.pointSizeF(), f.points) << name;
        EXPECT_EQ(font.bold(), f.bold) << name;
        EXPECT_EQ(font.italic(), f.italic) << name;
    }
    EXPECT_TRUE(window->Label1->wordWrap());
    EXPECT_FALSE(window->LblYaxis->autoFillBackground());
    EXPECT_FALSE(window->Lblxaxis->autoFillBackground());
}

// The window's layout table, shared with the X tests that point at controls:
// control, x, y, width, height.
std::vector<std::pair<QString, QRect>> LayoutTable() {
    std::vector<std::pair<QString, QRect>> places;
    QFile file(QStringLiteral(VALDRIS_DESIGN_LAYOUT));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return places;
    while (!file.atEnd()) {
        const QStringList fields = QString::fromUtf8(file.readLine()).trimmed().split(QLatin1Char('\t'));
        if (fields.size() != 5 || fields[0].startsWith(QLatin1Char('#'))) continue;
        places.emplace_back(fields[0], QRect(fields[1].toInt(), fields[2].toInt(), fields[3].toInt(), fields[4].toInt()));
    }
    return places;
}

TEST_F(LayoutTest, PinnedPositionsConvertFromTwips) {
    const QPoint chart = window->PicChart->contentsRect().topLeft();
    const auto places = LayoutTable();
    ASSERT_EQ(places.size(), 10u) << VALDRIS_DESIGN_LAYOUT;
    for (const auto& [name, pixels] : places) {
        const QWidget* control = window->findChild<QWidget*>(name);
        ASSERT_NE(control, nullptr) << name.toStdString();
        // The chart's labels stand within its drawing area.
        const QPoint origin = control->parentWidget() == window->PicChart ? chart : QPoint();
        EXPECT_EQ(control->geometry(), pixels.translated(origin)) << name.toStdString();
    }
    EXPECT_EQ(window->ScrLBGR->width(), 249);
    // The arrows stand directly right of the sigma box, as high as it is.
    const QRect sigma = window->txtSigma->geometry();
    EXPECT_EQ(window->UpDSigma->geometry().topLeft(), QPoint(sigma.right() + 1, sigma.top()));
    EXPECT_EQ(window->UpDSigma->height(), sigma.height());
}

TEST_F(LayoutTest, ResizingTheWindowMovesNothing) {
    ShowActive();
    const QRect chart = window->PicChart->geometry();
    const QPoint exit_button = window->CmdExit->mapTo(window.get(), QPoint(0, 0));
    window->resize(window->width() + 200, window->height() + 150);
    QApplication::processEvents();
    EXPECT_EQ(window->PicChart->geometry(), chart);
    EXPECT_EQ(window->CmdExit->mapTo(window.get(), QPoint(0, 0)), exit_button);
    EXPECT_EQ(window->findChild<QWidget*>("clientArea")->size(), QSize(635, 480));
}

TEST_F(LayoutTest, InputControlsBehaveAsDesigned) {
    QScrollBar* bar = window->ScrLBGR;
    EXPECT_EQ(bar->orientation(), Qt::Horizontal);
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 1000);
    EXPECT_EQ(bar->singleStep(), 10);
    EXPECT_EQ(bar->pageStep(), 100);
    EXPECT_EQ(bar->value(), 500);
    EXPECT_FALSE(bar->hasTracking());
    EXPECT_EQ(bar->focusPolicy(), Qt::WheelFocus);
    EXPECT_FALSE(bar->invertedControls());
    EXPECT_EQ(window->PicChart->focusPolicy(), Qt::ClickFocus);

    for (QComboBox* combo : {window->Cboalpha, window->CboBeta}) {
        EXPECT_TRUE(combo->isEditable());
        EXPECT_EQ(combo->insertPolicy(), QComboBox::NoInsert);
        EXPECT_EQ(combo->completer(), nullptr);
    }
    // Typing a value and confirming it must not grow the list.
    const int items = window->Cboalpha->count();
    window->Cboalpha->lineEdit()->clear();
    QTest::keyClicks(window->Cboalpha->lineEdit(), "0.3");
    QTest::keyClick(window->Cboalpha->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(window->Cboalpha->count(), items);
    EXPECT_EQ(window->Cboalpha->currentText(), "0.3");

    // The option buttons exclude each other.
    window->OptWRSTest->setChecked(true);
    EXPECT_FALSE(window->OptSignTest->isChecked());
}

TEST_F(LayoutTest, ResultFieldsAreOutputsOnly) {
    const struct { QLineEdit* box; QLabel* label; QColor background; } outputs[] = {
        {window->txtN, window->LblSurveyUnit, window->palette().color(QPalette::Button)},
        {window->TxtM, window->LblReferenceArea, QColor(0xB4, 0xB4, 0xB4)},
    };
    for (const auto& o : outputs) {
        const std::string name = o.box->objectName().toStdString();
        EXPECT_TRUE(o.box->isReadOnly()) << name;
        EXPECT_FALSE(o.box->focusPolicy() & Qt::TabFocus) << name;
        EXPECT_EQ(o.box->palette().color(QPalette::Base), o.background) << name;
        EXPECT_EQ(o.box->palette().color(QPalette::Text), QColor(Qt::black)) << name;
        EXPECT_EQ(o.label->buddy(), o.box) << name;
    }
}

TEST_F(LayoutTest, TabVisitsTheInputsInDesignOrder) {
    ShowActive();
    EXPECT_EQ(FocusedControl(), window->txtRadionuclide);
    const QWidget* const expected[] = {window->txtDCGL, window->txtSigma, window->OptSignTest,
                                       window->Cboalpha, window->CboBeta, window->txtLBGR,
                                       window->ScrLBGR, window->CmdExit, window->txtRadionuclide};
    for (const QWidget* next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(FocusedControl(), next) << next->objectName().toStdString();
    }
}

TEST_F(LayoutTest, AccessKeysReachTheirInputs) {
    ShowActive();
    const struct { Qt::Key key; QLabel* label; QWidget* input; } keys[] = {
        {Qt::Key_D, window->LblDCGL, window->txtDCGL},
        {Qt::Key_S, window->lblSigma, window->txtSigma},
        {Qt::Key_A, window->Lblalpha, window->Cboalpha},
        {Qt::Key_B, window->lblBeta, window->CboBeta},
        {Qt::Key_L, window->lblLBGR, window->txtLBGR},
    };
    for (const auto& k : keys) {
        EXPECT_EQ(k.label->buddy(), k.input);
        QTest::keyClick(QApplication::focusWidget(), k.key, Qt::AltModifier);
        EXPECT_EQ(FocusedControl(), k.input) << k.input->objectName().toStdString();
    }
    // No letter may serve two controls of the window, menus included.
    QStringList captions;
    for (auto* label : window->findChildren<QLabel*>()) captions << label->text();
    for (auto* button : window->findChildren<QAbstractButton*>()) captions << button->text();
    for (QAction* menu : window->menuBar()->actions()) captions << menu->text();
    QSet<QChar> letters;
    for (const QString& caption : captions) {
        const qsizetype amp = caption.indexOf('&');
        if (amp < 0 || amp + 1 >= caption.size()) continue;
        const QChar letter = caption.at(amp + 1).toLower();
        EXPECT_FALSE(letters.contains(letter)) << caption.toStdString();
        letters.insert(letter);
    }
}

TEST_F(LayoutTest, AssistiveTechnologyHearsNamesAndResults) {
    auto text_of = [](QWidget* widget, QAccessible::Text kind) {
        return QAccessible::queryAccessibleInterface(widget)->text(kind);
    };
    EXPECT_EQ(text_of(window->txtDCGL, QAccessible::Name), "DCGL");
    EXPECT_EQ(text_of(window->Cboalpha, QAccessible::Name), "Alpha");
    EXPECT_EQ(text_of(window->CboBeta, QAccessible::Value), "0.05");
    EXPECT_EQ(text_of(window->txtN, QAccessible::Name), "Survey Unit:");
    EXPECT_EQ(text_of(window->TxtM, QAccessible::Name), "Reference:");
    EXPECT_EQ(text_of(window->txtN, QAccessible::Value), window->txtN->text());
    EXPECT_EQ(text_of(window->txtLBGR, QAccessible::Description), window->txtLBGR->toolTip());
    // Result labels publish their text: a fixed name would hide the value.
    for (QLabel* result : {window->LblCV, static_cast<QLabel*>(window->lblShift), window->lblLBGRMax}) {
        EXPECT_TRUE(result->accessibleName().isEmpty()) << result->objectName().toStdString();
    }
    EXPECT_EQ(window->UpDSigma->upButton()->accessibleName(), "Increase sigma");
    EXPECT_EQ(window->UpDSigma->downButton()->accessibleName(), "Decrease sigma");
}

TEST_F(LayoutTest, ClickingTheSigmaArrowsLeavesTheFocusInTheBox) {
    ShowActive();
    window->txtSigma->setFocus();
    QApplication::processEvents();
    QTest::mouseClick(window->UpDSigma->upButton(), Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), window->txtSigma);
}

TEST(SymbolLabelTest, ShowsDeltaAndSigmaButKeepsThePlainCaption) {
    const struct { QString caption; QString shown; } cases[] = {
        {"D/s = 1", QString::fromUtf8("Δ/σ = 1")},
        {"D/s =", QString::fromUtf8("Δ/σ =")},
        {"sDsD", QString::fromUtf8("σΔσΔ")},
        {"d/S = 0.125", "d/S = 0.125"},
        {"", ""},
    };
    for (const auto& c : cases) {
        SymbolLabel label;
        label.setCaption(c.caption);
        EXPECT_EQ(label.caption(), c.caption);
        EXPECT_EQ(label.text(), c.shown);
    }
    // Sized to its text: a longer caption widens the label.
    SymbolLabel label;
    label.setCaption("D/s = 1");
    const int short_width = label.width();
    label.setCaption("D/s = 0.083");
    EXPECT_GT(label.width(), short_width);
}

TEST(UpDownControlTest, ReportsEachArrowAndNeverTakesTheFocus) {
    UpDownControl spin;
    spin.resize(16, 22);
    spin.show();
    QSignalSpy up(&spin, &UpDownControl::upClicked);
    QSignalSpy down(&spin, &UpDownControl::downClicked);
    QTest::mouseClick(spin.upButton(), Qt::LeftButton);
    QTest::mouseClick(spin.upButton(), Qt::LeftButton);
    QTest::mouseClick(spin.downButton(), Qt::LeftButton);
    EXPECT_EQ(up.count(), 2);
    EXPECT_EQ(down.count(), 1);
    EXPECT_TRUE(spin.upButton()->autoRepeat());
    EXPECT_EQ(spin.upButton()->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(spin.downButton()->focusPolicy(), Qt::NoFocus);
    // Stacked, each taking half of the control's height.
    EXPECT_EQ(spin.upButton()->geometry(), QRect(0, 0, 16, 11));
    EXPECT_EQ(spin.downButton()->geometry(), QRect(0, 11, 16, 11));
}

}  // namespace
}  // namespace valdris
