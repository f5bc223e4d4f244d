// SPDX-License-Identifier: Apache-2.0
#include "painter_surface.h"

#include <QColor>
#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QString>
#include <algorithm>
#include <cmath>
#include <utility>

#include "chart_geometry.h"
#include "typefaces.h"

namespace valdris {
namespace {

constexpr double kChartFontPoints = 8.25;

double ToPixels(double twips) { return twips / kTwipsPerPixel; }

bool IsFinite(const QPointF& p) { return std::isfinite(p.x()) && std::isfinite(p.y()); }

// The rectangle a sharp horizontal or vertical line covers, on whole device
// pixels: every line gets the same device width (its width times the pixel
// ratio, rounded, at least one), centred on the logical pixel it was given,
// with square ends half that width long so that lines meeting at a point
// share its pixels. At a ratio such as 1.5 a pen placed in logical pixels
// covers one device pixel or two depending on where the line falls.
QRectF DevicePixelLine(const QLineF& pixels, int width_px, qreal ratio) {
    const double width = std::max(1.0, std::round(width_px * ratio));
    const auto start = [&](double logical) { return std::round((logical + 0.5) * ratio - width / 2); };
    const double left = start(std::min(pixels.x1(), pixels.x2()));
    const double right = start(std::max(pixels.x1(), pixels.x2())) + width;
    const double top = start(std::min(pixels.y1(), pixels.y2()));
    const double bottom = start(std::max(pixels.y1(), pixels.y2())) + width;
    return QRectF(left / ratio, top / ratio, (right - left) / ratio, (bottom - top) / ratio);
}

bool IsAxisParallel(const QLineF& line) { return line.x1() == line.x2() || line.y1() == line.y2(); }

bool PaintsPixels(const QPainter& painter) {
    return painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Raster;
}

QString ToQString(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

QFont ChartFont() { return Typeface(Face::MSSansSerif, kChartFontPoints); }

PainterSurface::PainterSurface(QPainter& painter, QSizeF size_px, QFont font)
    : painter_(painter), size_px_(size_px), font_(std::move(font)) {}

double PainterSurface::Width() const { return size_px_.width() * kTwipsPerPixel; }
double PainterSurface::Height() const { return size_px_.height() * kTwipsPerPixel; }

double PainterSurface::TextWidth(const std::string& text) const {
    return QFontMetricsF(font_, painter_.device()).horizontalAdvance(ToQString(text)) * kTwipsPerPixel;
}

double PainterSurface::TextHeight(const std::string&) const {
    return QFontMetricsF(font_, painter_.device()).height() * kTwipsPerPixel;
}

void PainterSurface::Clear() {
    painter_.fillRect(QRectF(QPointF(0, 0), size_px_), Qt::white);
    current_x_ = 0;
    current_y_ = 0;
}

void PainterSurface::SetPenColor(ChartColor color) { pen_color_ = color; }

void PainterSurface::SetLineWidth(int pixels) { line_width_ = std::max(pixels, 1); }

// Anything drawn beyond one drawing-area size outside the area is invisible;
// inside that margin QPainter is exact and quick.
QRectF PainterSurface::SafeArea() const {
    const double w = Width();
    const double h = Height();
    return QRectF(-w, -h, 3 * w, 3 * h);
}

void PainterSurface::FillRect(double x, double y, double width, double height, ChartColor color) {
    const QRectF area = QRectF(x, y, width, height).intersected(SafeArea());
    if (area.isEmpty()) return;
    painter_.fillRect(QRectF(ToPixels(area.x()), ToPixels(area.y()), ToPixels(area.width()), ToPixels(area.height())),
                      QColor(color.red, color.green, color.blue));
}

void PainterSurface::FillRings(const std::vector<std::vector<Point>>& rings, ChartColor color) {
    const QRectF safe = SafeArea();
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    for (const std::vector<Point>& ring : rings) {
        QPolygonF polygon;
        for (const Point& p : ring) {
            // A far-off vertex is pulled to the safe margin: the part that
            // shows keeps its shape, and QPainter is never handed a huge number.
            if (!std::isfinite(p.x) || !std::isfinite(p.y)) return;
            polygon << QPointF(ToPixels(std::clamp(p.x, safe.left(), safe.right())),
                               ToPixels(std::clamp(p.y, safe.top(), safe.bottom())));
        }
        if (polygon.size() >= 3) path.addPolygon(polygon), path.closeSubpath();
    }
    if (path.isEmpty()) return;
    painter_.save();
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.fillPath(path, QColor(color.red, color.green, color.blue));
    painter_.restore();
}

void PainterSurface::DrawText(double x, double y, const std::string& text) {
    const QPointF corner(x, y);
    if (!IsFinite(corner)) return;
    const QRectF safe = SafeArea();
    const double left = std::clamp(ToPixels(corner.x()), ToPixels(safe.left()), ToPixels(safe.right()));
    const double top = std::clamp(ToPixels(corner.y()), ToPixels(safe.top()), ToPixels(safe.bottom()));
    const QFontMetricsF metrics(font_, painter_.device());
    painter_.setFont(font_);
    painter_.setPen(QColor(pen_color_.red, pen_color_.green, pen_color_.blue));
    // Whole pixels keep hinted text sharp.
    painter_.drawText(QPointF(std::round(left), std::round(top + metrics.ascent())), ToQString(text));
}

void PainterSurface::Stroke(const QLineF& twips) {
    const std::optional<QLineF> visible = ClipLine(twips, SafeArea());
    if (!visible) return;
    QPen pen(QColor(pen_color_.red, pen_color_.green, pen_color_.blue));
    pen.setWidth(line_width_);
    QLineF pixels(ToPixels(visible->x1()), ToPixels(visible->y1()), ToPixels(visible->x2()), ToPixels(visible->y2()));
    if (line_width_ == 1) {
        // Grid and axes: aliased on whole pixels so every line is one sharp
        // pixel wide and the ends meet.
        pen.setCapStyle(Qt::SquareCap);
        pixels = QLineF(std::round(pixels.x1()), std::round(pixels.y1()), std::round(pixels.x2()),
                        std::round(pixels.y2()));
        painter_.setRenderHint(QPainter::Antialiasing, false);
        if (PaintsPixels(painter_) && IsAxisParallel(pixels)) {
            painter_.fillRect(DevicePixelLine(pixels, line_width_, painter_.device()->devicePixelRatio()),
                              pen.color());
            return;
        }
    } else {
        // The curve: smooth, with round ends so the segments join cleanly.
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
        painter_.setRenderHint(QPainter::Antialiasing, true);
    }
    painter_.setPen(pen);
    painter_.drawLine(pixels);
}

void PainterSurface::DrawLine(double x1, double y1, double x2, double y2) {
    Stroke(QLineF(x1, y1, x2, y2));
    current_x_ = x2;
    current_y_ = y2;
}

void PainterSurface::LineTo(double x, double y) {
    Stroke(QLineF(current_x_, current_y_, x, y));
    current_x_ = x;
    current_y_ = y;
}

void PainterSurface::MoveTo(double x, double y) {
    current_x_ = x;
    current_y_ = y;
}

std::optional<QLineF> ClipLine(const QLineF& line, const QRectF& area) {
    const QPointF start = line.p1();
    const QPointF end = line.p2();
    if (!IsFinite(start) || !IsFinite(end)) return std::nullopt;
    // Half the difference cannot overflow even for ends near the largest
    // double; the line runs from s = 0 to s = 2.
    const double half_dx = end.x() * 0.5 - start.x() * 0.5;
    const double half_dy = end.y() * 0.5 - start.y() * 0.5;

    // Liang-Barsky: each border limits the parameter range from one side.
    enum Border { kNone = -1, kLeft, kRight, kTop, kBottom };
    const double direction[4] = {-half_dx, half_dx, -half_dy, half_dy};
    const double room[4] = {start.x() - area.left(), area.right() - start.x(), start.y() - area.top(),
                            area.bottom() - start.y()};
    double s_enter = 0;
    double s_leave = 2;
    int enter_border = kNone;
    int leave_border = kNone;
    for (int border = kLeft; border <= kBottom; ++border) {
        if (direction[border] == 0) {
            if (room[border] < 0) return std::nullopt;  // parallel and outside
            continue;
        }
        const double s = room[border] / direction[border];
        if (direction[border] < 0) {
            if (s > s_leave) return std::nullopt;
            if (s > s_enter) {
                s_enter = s;
                enter_border = border;
            }
        } else {
            if (s < s_enter) return std::nullopt;
            if (s < s_leave) {
                s_leave = s;
                leave_border = border;
            }
        }
    }

    // A cut point lies exactly on its border; its other coordinate comes from
    // the nearer end, because with a far-off end the parameter alone is too
    // coarse to place it.
    const auto cut = [&](double s, int border) {
        if (border == kNone) return s == 0 ? start : end;
        const QPointF from = s > 1 ? end : start;
        QPointF p(from.x() + (s > 1 ? s - 2 : s) * half_dx, from.y() + (s > 1 ? s - 2 : s) * half_dy);
        if (border == kLeft || border == kRight) {
            const double x = border == kLeft ? area.left() : area.right();
            const double y = from.y() + (x - from.x()) * (half_dy / half_dx);
            p = QPointF(x, std::isfinite(y) ? y : p.y());
        } else {
            const double y = border == kTop ? area.top() : area.bottom();
            const double x = from.x() + (y - from.y()) * (half_dx / half_dy);
            p = QPointF(std::isfinite(x) ? x : p.x(), y);
        }
        return QPointF(std::clamp(p.x(), area.left(), area.right()), std::clamp(p.y(), area.top(), area.bottom()));
    };
    return QLineF(cut(s_enter, enter_border), cut(s_leave, leave_border));
}

}  // namespace valdris
