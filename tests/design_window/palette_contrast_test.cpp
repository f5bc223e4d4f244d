// SPDX-License-Identifier: Apache-2.0
// Every text of the design window is readable under the light and the dark
// Fusion palettes: the window is rendered and each label, field and button is
// measured against the WCAG contrast of 4.5 : 1 between its letters and what
// lies behind them. The chart keeps its own black on white.

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOptionGroupBox>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>

#include "frm_sample_size_and_power.h"
#include "recording_messages.h"
#include "up_down_control.h"

namespace valdris {
namespace {

double Luminance(QColor colour) {
    const auto linear = [](int channel) {
        const double v = channel / 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.red()) + 0.7152 * linear(colour.green()) + 0.0722 * linear(colour.blue());
}

double Contrast(QColor a, QColor b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The background is the most common colour of the area, the letters' colour
// the pixel that stands out most from it (the solid core of a stroke).
double TextContrast(const QImage& image, const QRect& area) {
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) ++counts[image.pixel(x, y)];
    }
    QRgb background = 0;
    int most = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > most) most = it.value(), background = it.key();
    }
    double best = 1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) best = std::max(best, Contrast(background, it.key()));
    return best;
}

// A dark desktop palette of the kind Fusion users set.
QPalette DarkPalette() {
    QPalette p;
    const QColor window(53, 53, 53), base(35, 35, 35), text(230, 230, 230);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, window);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, window);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::ToolTipBase, base);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::Highlight, QColor(42, 130, 218));
    p.setColor(QPalette::HighlightedText, Qt::black);
    p.setColor(QPalette::Light, QColor(90, 90, 90));
    p.setColor(QPalette::Midlight, QColor(70, 70, 70));
    p.setColor(QPalette::Mid, QColor(40, 40, 40));
    p.setColor(QPalette::Dark, QColor(25, 25, 25));
    p.setColor(QPalette::Shadow, Qt::black);
    return p;
}

// Where the text of a control is drawn, in the control's coordinates:
// inside the frame of a field or button, beside the mark of an option.
QRect TextArea(QWidget* widget) {
    if (auto* box = qobject_cast<QGroupBox*>(widget)) {
        QStyleOptionGroupBox option;
        option.initFrom(box);
        option.text = box->title();
        option.textAlignment = box->alignment();
        option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
        return box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
    }
    if (qobject_cast<QLineEdit*>(widget) || qobject_cast<QPushButton*>(widget)) return widget->rect().adjusted(4, 4, -4, -4);
    if (qobject_cast<QAbstractButton*>(widget)) {
        const int mark = widget->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, widget) +
                         widget->style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, widget);
        return widget->rect().adjusted(mark, 0, 0, 0);
    }
    return static_cast<QLabel*>(widget)->contentsRect();
}

bool HasText(QWidget* widget) {
    if (auto* label = qobject_cast<QLabel*>(widget)) return !label->text().isEmpty();
    if (auto* box = qobject_cast<QGroupBox*>(widget)) return !box->title().isEmpty();
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) return !edit->text().isEmpty();
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) return !button->text().isEmpty();
    return false;
}

class PaletteContrastTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        saved_style_ = QApplication::style()->name();
        saved_palette_ = QApplication::palette();
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QApplication::setPalette(GetParam() ? DarkPalette() : QApplication::style()->standardPalette());
    }
    void TearDown() override {
        QApplication::setStyle(QStyleFactory::create(saved_style_));
        QApplication::setPalette(saved_palette_);
    }
    QString saved_style_;
    QPalette saved_palette_;
};

TEST_P(PaletteContrastTest, EveryTextStandsOutFromWhatIsBehindIt) {
    testing::RecordingMessages messages;
    frmSampleSizeandPower window(messages);
    window.OptWRSTest->setChecked(true);
    window.PicChart_Click();  // the reference-area box is shown too
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QImage image = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(image.devicePixelRatio(), 1.0);

    int measured = 0;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        const bool kind = qobject_cast<QLabel*>(widget) || qobject_cast<QLineEdit*>(widget) ||
                          qobject_cast<QAbstractButton*>(widget) || qobject_cast<QGroupBox*>(widget);
        if (!kind || !widget->isVisible() || !HasText(widget)) continue;
        if (qobject_cast<QAbstractButton*>(widget) && widget->parentWidget() == static_cast<QWidget*>(window.UpDSigma)) continue;
        const QRect area = TextArea(widget).translated(widget->mapTo(&window, QPoint(0, 0))) & image.rect();
        ASSERT_FALSE(area.isEmpty()) << widget->objectName().toStdString();
        EXPECT_GE(TextContrast(image, area), 4.5) << widget->objectName().toStdString();
        ++measured;
    }
    EXPECT_GE(measured, 25);  // labels, fields, options, frames and the two axis titles
}

INSTANTIATE_TEST_SUITE_P(Palettes, PaletteContrastTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Dark" : "Light"; });

}  // namespace
}  // namespace valdris
