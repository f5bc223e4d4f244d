// SPDX-License-Identifier: Apache-2.0
// A panel's drawing is made once and shown from its picture: a paint without
// a change draws nothing anew, a new drawing or a settled resize does, and
// the picture is what the drawing itself gives at that size.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPainter>
#include <QTest>

#include "drawing_view.h"
#include "painter_surface.h"

namespace valdris {
namespace {

// A cross and a word, so that both lines and text are compared.
void Sketch(ChartSurface& surface) {
    surface.Clear();
    surface.SetPenColor({0, 0, 255});
    surface.DrawLine(0, 0, surface.Width(), surface.Height());
    surface.DrawLine(surface.Width(), 0, 0, surface.Height());
    surface.SetPenColor({0, 0, 0});
    surface.DrawText(150, 150, "Sample map");
}

// A panel shown at the given size with the sketch as its drawing.
struct SketchView : ::testing::Test {
    DrawingView view{"drawing", QSize(50, 50)};

    void ShowAt(QSize size) {
        view.resize(size);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
        view.SetDrawing(Sketch, "a sketch");
    }
};

QImage Shown(DrawingView& view) {
    view.repaint();
    return view.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

TEST_F(SketchView, DrawsOnceAndShowsThePictureUntilItsContentOrSizeChanges) {
    ShowAt(QSize(300, 200));
    const struct {
        const char* step;
        std::function<void()> act;
        int drawings;  // made so far, after the step and a paint
    } steps[] = {
        {"first paint", [] {}, 1},
        {"paints again", [&] { view.repaint(); view.repaint(); }, 1},
        {"a new drawing", [&] { view.SetDrawing(Sketch, "again"); }, 2},
        {"resized: stretched meanwhile", [&] { view.resize(400, 250); }, 2},
        {"the resize pauses", [&] { QTest::qWait(400); }, 3},
        {"cleared", [&] { view.Clear(); }, 3},
    };
    for (const auto& step : steps) {
        step.act();
        QCoreApplication::processEvents();
        Shown(view);
        EXPECT_EQ(view.Drawings(), step.drawings) << step.step;
    }
}

TEST_F(SketchView, ThePictureIsTheDrawingAtTheWidgetsSize) {
    ShowAt(QSize(320, 180));
    const QImage shown = Shown(view);

    QImage direct(shown.size(), QImage::Format_RGB32);
    direct.setDevicePixelRatio(view.devicePixelRatioF());
    direct.fill(Qt::white);
    {
        QPainter painter(&direct);
        PainterSurface surface(painter, QSizeF(view.size()));
        Sketch(surface);
    }
    EXPECT_EQ(shown.size(), direct.size());
    // Text metrics follow the widget's resolution; at the default one the
    // two are the same pixels.
    if (view.logicalDpiX() == direct.logicalDpiX()) {
        EXPECT_EQ(shown, direct.convertToFormat(QImage::Format_RGB32));
    }
}

}  // namespace
}  // namespace valdris
