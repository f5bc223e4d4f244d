// SPDX-License-Identifier: Apache-2.0
#pragma once
// The chart surface over a QPainter, for the window and for chart files:
// twips become logical pixels, text is drawn in PicChart's font on a white
// background. Lines are clipped near the drawing area first, because a
// coordinate far outside it (a tiny DCGL) makes QPainter misdraw or stall.

#include <QFont>
#include <QLineF>
#include <QRectF>
#include <QSizeF>
#include <optional>
#include <string>

#include "chart_surface.h"

class QPainter;

namespace valdris {

// PicChart's font: MS Sans Serif 8.25 pt.
QFont ChartFont();

class PainterSurface : public ChartSurface {
public:
    // The painter must be active on its device whenever an operation runs; it
    // may be ended and begun again between operations (the surface sets pen
    // and font each time). size_px is the drawing area in logical pixels,
    // starting at the painter's origin. A page that scales the painter
    // passes the chart font sized in the painter's units.
    PainterSurface(QPainter& painter, QSizeF size_px, QFont font = ChartFont());

    double Width() const override;
    double Height() const override;
    double TextWidth(const std::string& text) const override;
    double TextHeight(const std::string& text) const override;

    void Clear() override;
    void SetPenColor(ChartColor color) override;
    void SetLineWidth(int pixels) override;
    void DrawText(double x, double y, const std::string& text) override;
    void DrawLine(double x1, double y1, double x2, double y2) override;
    void LineTo(double x, double y) override;
    void MoveTo(double x, double y) override;
    void FillRect(double x, double y, double width, double height, ChartColor color) override;
    void FillRings(const std::vector<std::vector<Point>>& rings, ChartColor color) override;

private:
    QRectF SafeArea() const;
    void Stroke(const QLineF& twips);

    QPainter& painter_;
    QSizeF size_px_;
    QFont font_;
    ChartColor pen_color_;
    int line_width_ = 1;
    // In twips, as given: a far-off point still sets the direction of the
    // next segment correctly.
    double current_x_ = 0;
    double current_y_ = 0;
};

// The part of the line inside area, or nothing when no part of it is or an
// end is not a finite number. The direction of the line is kept.
std::optional<QLineF> ClipLine(const QLineF& line, const QRectF& area);

}  // namespace valdris
