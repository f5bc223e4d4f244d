// SPDX-License-Identifier: Apache-2.0
// The power chart drawn with QPainter, and the chart widget: retained image,
// border and click.

#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <set>
#include <vector>

#include "chart_geometry.h"
#include "painter_surface.h"
#include "design_inputs.h"
#include "power_chart.h"
#include "power_chart_view.h"
#include "valdris_power.h"

namespace valdris {
namespace {

// The window's defaults, designed by the Sign test.
DesignState DefaultDesign() {
    DesignState state = PrepareState(DesignInputs{});
    EXPECT_EQ(DesignSignTest(state), DesignOutcome::Ok);
    return state;
}

std::set<QRgb> ColoursOf(const QImage& image) {
    std::set<QRgb> colours;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        for (int x = 0; x < rgb.width(); ++x) colours.insert(rgb.pixel(x, y) | 0xff000000u);
    }
    return colours;
}

QImage ChartImage() {
    QImage image(kChartDrawingWidthPx, kChartDrawingHeightPx, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

TEST(PainterSurface, DrawsTheChartOnWhite) {
    QImage image = ChartImage();
    {
        QPainter painter(&image);
        PainterSurface surface(painter, image.size());
        DrawPowerChart(DefaultDesign(), surface);
    }
    const std::set<QRgb> colours = ColoursOf(image);
    EXPECT_TRUE(colours.count(qRgb(255, 255, 255)));
    EXPECT_TRUE(colours.count(qRgb(0, 0, 0)));
    EXPECT_TRUE(colours.count(qRgb(255, 0, 0)));
    EXPECT_TRUE(colours.count(qRgb(0, 0, 255)));
    // The top-right corner is outside the plot: only the background.
    EXPECT_EQ(image.pixel(image.width() - 2, 1), qRgb(255, 255, 255));
}

TEST(PainterSurface, MeasuresInTwipsAndSizesTheMargins) {
    QImage image = ChartImage();
    QPainter painter(&image);
    PainterSurface surface(painter, image.size());
    EXPECT_EQ(surface.Width(), 7755);
    EXPECT_EQ(surface.Height(), 4635);
    // An 8-point font: a line is a few hundred twips, not a few or thousands.
    EXPECT_GT(surface.TextHeight("     1."), 120);
    EXPECT_LT(surface.TextHeight("     1."), 300);
    EXPECT_GT(surface.TextWidth("     1."), 200);
    EXPECT_LT(surface.TextWidth("     1."), 600);
    EXPECT_GT(surface.TextWidth("100%"), surface.TextWidth("1%"));
}

TEST(PainterSurface, FarOffLinesAreDrawnWhereTheyCrossTheArea) {
    QImage image = ChartImage();
    {
        QPainter painter(&image);
        PainterSurface surface(painter, image.size());
        surface.Clear();
        surface.SetPenColor({255, 0, 0});
        surface.DrawLine(-1e300, 1500, 1e300, 1500);  // y = 100 px
        surface.MoveTo(3000, -1e200);                 // x = 200 px
        surface.LineTo(3000, 1e200);
        surface.DrawLine(std::nan(""), 0, 100, 100);  // nothing
    }
    EXPECT_EQ(image.pixel(5, 100), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(500, 100), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(200, 5), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(200, 300), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(5, 5), qRgb(255, 255, 255));
}

// Lengths of the runs of black pixels along one column (or row) of an image.
std::vector<int> BlackRuns(const QImage& image, int at, Qt::Orientation along) {
    std::vector<int> runs;
    int run = 0;
    const int length = along == Qt::Vertical ? image.height() : image.width();
    for (int i = 0; i <= length; ++i) {
        const bool black = i < length && (along == Qt::Vertical ? image.pixel(at, i) : image.pixel(i, at)) ==
                                              qRgb(0, 0, 0);
        if (black) {
            ++run;
        } else if (run > 0) {
            runs.push_back(run);
            run = 0;
        }
    }
    return runs;
}

// A one-pixel pen placed in logical pixels covers one device pixel or two at
// a ratio of 1.5, depending on where the line falls: the grid came out
// striped. Every thin line must be equally wide in device pixels.
TEST(PainterSurface, ThinLinesAreEquallyWideAtAnyPixelRatio) {
    for (const qreal ratio : {1.0, 1.25, 1.5, 1.75, 2.0, 2.5}) {
        SCOPED_TRACE(ratio);
        QImage image(std::ceil(kChartDrawingWidthPx * ratio), std::ceil(kChartDrawingHeightPx * ratio),
                     QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        {
            QPainter painter(&image);
            PainterSurface surface(painter, image.deviceIndependentSize());
            surface.Clear();
            for (int i = 0; i < 20; ++i) {
                const double at = (10 + 3 * i) * kTwipsPerPixel;
                surface.DrawLine(10 * kTwipsPerPixel, at, 100 * kTwipsPerPixel, at);
                surface.DrawLine(200 * kTwipsPerPixel + at, 10 * kTwipsPerPixel, 200 * kTwipsPerPixel + at,
                                 100 * kTwipsPerPixel);
            }
        }
        // Across the horizontal lines at x = 50, across the vertical ones at
        // y = 90, where nothing else is drawn.
        const std::vector<int> same_width(20, std::max(1, static_cast<int>(std::lround(ratio))));
        EXPECT_EQ(BlackRuns(image, std::lround(50 * ratio), Qt::Vertical), same_width);
        EXPECT_EQ(BlackRuns(image, std::lround(90 * ratio), Qt::Horizontal), same_width);
    }
}

TEST(PowerChartView, KeepsTheChartInAnImageOfTheDrawingArea) {
    PowerChartView view;
    view.resize(kChartOuterWidthPx, kChartOuterHeightPx);
    view.show();
    const qreal ratio = view.devicePixelRatioF();
    EXPECT_EQ(view.Image().deviceIndependentSize(), QSizeF(kChartDrawingWidthPx, kChartDrawingHeightPx));
    EXPECT_EQ(view.Image().devicePixelRatio(), ratio);
    EXPECT_EQ(view.Surface().Width(), 7755);

    DrawPowerChart(DefaultDesign(), view.Surface());
    EXPECT_TRUE(ColoursOf(view.Image()).count(qRgb(0, 0, 255)));

    // The border is drawn around the image, not over it.
    const QImage shown = view.grab().toImage();
    EXPECT_NE(shown.pixelColor(0, 0), QColor(Qt::white));
    EXPECT_EQ(ColoursOf(shown).count(qRgb(0, 0, 255)), 1u);
}

TEST(PowerChartView, ClickIsAPressAndReleaseInsideTheChart) {
    PowerChartView view;
    QLabel* title = new QLabel(QStringLiteral("Probability that the Survey Unit Passes"), &view);
    title->setGeometry(100, 10, 250, 20);
    view.show();
    QSignalSpy clicks(&view, &PowerChartView::clicked);

    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(200, 150));
    EXPECT_EQ(clicks.count(), 1);

    QTest::mouseClick(&view, Qt::RightButton, {}, QPoint(200, 150));
    QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(200, 150));  // no press before it
    EXPECT_EQ(clicks.count(), 1);

    QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(200, 150));
    QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(600, 150));  // let go outside
    EXPECT_EQ(clicks.count(), 1);

    // A click on a label inside the chart belongs to the label.
    QTest::mouseClick(title, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(clicks.count(), 1);
}

}  // namespace
}  // namespace valdris
