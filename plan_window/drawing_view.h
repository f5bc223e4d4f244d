// SPDX-License-Identifier: Apache-2.0
#pragma once
// A drawing of chart/ (the data plot, the sample map) in a panel; blank while
// there is none. The drawing is made once into a picture at the widget's
// size and the picture is what a paint shows: a sample map of a hundred
// thousand locations takes tens of milliseconds to draw, a picture under one.
// While the widget is being resized the picture is shown stretched, and the
// drawing is made anew at the new size once the resizing pauses.

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "chart_surface.h"

namespace valdris {

class DrawingView : public QWidget {
    Q_OBJECT
public:
    using Drawing = std::function<void(ChartSurface&)>;
    DrawingView(const QString& accessible_name, QSize minimum, QWidget* parent = nullptr);

    // The drawing and what it shows in words, for screen readers.
    void SetDrawing(Drawing drawing, const QString& description);
    void Clear();
    bool HasDrawing() const { return static_cast<bool>(drawing_); }
    // How many times the drawing has been made (not merely shown).
    int Drawings() const { return drawings_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    bool PictureFits() const;
    void MakePicture();

    Drawing drawing_;
    QImage picture_;  // the drawing at the size and pixel ratio it was made for
    QTimer settle_;   // runs while a resize has not paused
    int drawings_ = 0;
};

}  // namespace valdris
