// SPDX-License-Identifier: Apache-2.0
#include "drawing_view.h"

#include <QPainter>
#include <cmath>

#include "painter_surface.h"

namespace valdris {
namespace {

// Long enough to span the steps of a dragged window edge, short enough that
// the sharp drawing follows soon after the drag ends.
constexpr int kResizePauseMs = 150;

constexpr double kInchesPerMetre = 1 / 0.0254;

}  // namespace

DrawingView::DrawingView(const QString& accessible_name, QSize minimum, QWidget* parent) : QWidget(parent) {
    setMinimumSize(minimum);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(accessible_name);
    settle_.setSingleShot(true);
    settle_.setInterval(kResizePauseMs);
    connect(&settle_, &QTimer::timeout, this, [this] { update(); });
}

void DrawingView::SetDrawing(Drawing drawing, const QString& description) {
    drawing_ = std::move(drawing);
    picture_ = QImage();
    setAccessibleDescription(description);
    update();
}

void DrawingView::Clear() { SetDrawing(nullptr, QString()); }

bool DrawingView::PictureFits() const {
    return !picture_.isNull() && picture_.deviceIndependentSize() == QSizeF(size()) &&
           picture_.devicePixelRatio() == devicePixelRatioF();
}

// The image takes the widget's resolution too, so that the drawing's text
// has the size it would have on the widget itself.
void DrawingView::MakePicture() {
    const qreal ratio = devicePixelRatioF();
    picture_ = QImage(static_cast<int>(std::ceil(width() * ratio)), static_cast<int>(std::ceil(height() * ratio)),
                      QImage::Format_RGB32);
    picture_.setDevicePixelRatio(ratio);
    picture_.setDotsPerMeterX(static_cast<int>(std::lround(logicalDpiX() * kInchesPerMetre)));
    picture_.setDotsPerMeterY(static_cast<int>(std::lround(logicalDpiY() * kInchesPerMetre)));
    picture_.fill(Qt::white);
    QPainter painter(&picture_);
    PainterSurface surface(painter, QSizeF(size()));
    drawing_(surface);
    ++drawings_;
}

void DrawingView::resizeEvent(QResizeEvent* event) {
    if (!picture_.isNull()) settle_.start();
    QWidget::resizeEvent(event);
}

void DrawingView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!drawing_) {
        painter.fillRect(rect(), Qt::white);
        return;
    }
    if (!PictureFits() && (picture_.isNull() || !settle_.isActive())) MakePicture();
    if (PictureFits()) {
        painter.drawImage(QPointF(0, 0), picture_);
    } else {
        painter.drawImage(QRectF(rect()), picture_);  // stretched until the resize pauses
    }
}

}  // namespace valdris
