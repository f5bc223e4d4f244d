// SPDX-License-Identifier: Apache-2.0
#include "power_chart_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QResizeEvent>
#include <cmath>

#include "chart_geometry.h"
#include "painter_surface.h"

namespace valdris {
namespace {

// One pixel wide ring: the top and left edges in one brush, the bottom and
// right edges in another. Filled rectangles, not lines, so that it covers
// whole logical pixels on a high-density screen too.
void DrawRing(QPainter& painter, const QRect& r, const QBrush& top_left, const QBrush& bottom_right) {
    painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), top_left);
    painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), top_left);
    painter.fillRect(QRect(r.left() + 1, r.bottom(), r.width() - 1, 1), bottom_right);
    painter.fillRect(QRect(r.right(), r.top() + 1, 1, r.height() - 1), bottom_right);
}

// A sunken picture-box border, two pixels deep: dark above and left, light below and right.
void DrawSunkenBorder(QPainter& painter, const QRect& outer, const QPalette& palette) {
    DrawRing(painter, outer, palette.dark(), palette.light());
    DrawRing(painter, outer.adjusted(1, 1, -1, -1), palette.shadow(), palette.midlight());
}

}  // namespace

// The retained image and a painter that stays open on it while a chart is
// drawn: one drawing is about a hundred operations, and reopening a painter
// for each would cost more than the drawing. The painter is closed before the
// image is shown, copied or replaced.
class PowerChartView::ImageSurface : public ChartSurface {
public:
    explicit ImageSurface(PowerChartView& view) : view_(view) {}
    ~ImageSurface() override { Finish(); }

    // Gives the image a new size and pixel ratio, keeping what was drawn.
    void Resize(QSize size_px, qreal pixel_ratio) {
        size_px = size_px.expandedTo(QSize(1, 1));
        if (!image_.isNull() && image_.deviceIndependentSize() == QSizeF(size_px) &&
            image_.devicePixelRatio() == pixel_ratio) {
            return;
        }
        Finish();
        QImage resized(std::ceil(size_px.width() * pixel_ratio), std::ceil(size_px.height() * pixel_ratio),
                       QImage::Format_RGB32);
        resized.setDevicePixelRatio(pixel_ratio);
        resized.fill(Qt::white);
        if (!image_.isNull()) {
            QPainter copy(&resized);
            copy.drawImage(QPointF(0, 0), image_);
        }
        image_ = resized;
        painting_ = std::make_unique<PainterSurface>(painter_, QSizeF(size_px));
    }

    void Finish() {
        if (painter_.isActive()) painter_.end();
    }

    const QImage& Image() {
        Finish();
        return image_;
    }

    double Width() const override { return Painting().Width(); }
    double Height() const override { return Painting().Height(); }
    double TextWidth(const std::string& text) const override { return Painting().TextWidth(text); }
    double TextHeight(const std::string& text) const override { return Painting().TextHeight(text); }

    void Clear() override { Changed().Clear(); }
    void SetPenColor(ChartColor color) override { Painting().SetPenColor(color); }
    void SetLineWidth(int pixels) override { Painting().SetLineWidth(pixels); }
    void DrawText(double x, double y, const std::string& text) override { Changed().DrawText(x, y, text); }
    void DrawLine(double x1, double y1, double x2, double y2) override { Changed().DrawLine(x1, y1, x2, y2); }
    void LineTo(double x, double y) override { Changed().LineTo(x, y); }
    void MoveTo(double x, double y) override { Painting().MoveTo(x, y); }

private:
    PainterSurface& Painting() const {
        if (!painter_.isActive()) painter_.begin(&image_);
        return *painting_;
    }

    PainterSurface& Changed() {
        view_.update();
        return Painting();
    }

    PowerChartView& view_;
    // Measuring text needs an open painter too, hence mutable.
    mutable QImage image_;
    mutable QPainter painter_;
    std::unique_ptr<PainterSurface> painting_;
};

PowerChartView::PowerChartView(QWidget* parent)
    : QWidget(parent), surface_(std::make_unique<ImageSurface>(*this)) {
    setContentsMargins(kChartBorderPx, kChartBorderPx, kChartBorderPx, kChartBorderPx);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(kChartOuterWidthPx, kChartOuterHeightPx);
    surface_->Resize(contentsRect().size(), devicePixelRatioF());
}

PowerChartView::~PowerChartView() = default;

ChartSurface& PowerChartView::Surface() { return *surface_; }

const QImage& PowerChartView::Image() const { return surface_->Image(); }

void PowerChartView::paintEvent(QPaintEvent*) {
    // Follows the window to a screen of another pixel ratio.
    surface_->Resize(contentsRect().size(), devicePixelRatioF());
    const QImage& image = surface_->Image();
    QPainter painter(this);
    DrawSunkenBorder(painter, rect(), palette());
    painter.drawImage(contentsRect().topLeft(), image);
}

// A press on one of the labels inside the chart is the label's own click,
// even though the label passes the event on to us: it must not update.
void PowerChartView::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton) pressed_ = rect().contains(at) && childAt(at) == nullptr;
    event->accept();
}

void PowerChartView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const bool was_pressed = pressed_;
    pressed_ = false;
    const QPoint at = event->position().toPoint();
    event->accept();
    if (was_pressed && rect().contains(at)) emit clicked();
}

void PowerChartView::resizeEvent(QResizeEvent*) { surface_->Resize(contentsRect().size(), devicePixelRatioF()); }

}  // namespace valdris
