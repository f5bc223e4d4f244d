// SPDX-License-Identifier: Apache-2.0
#include "drawing_view.h"

#include <QPainter>

#include "painter_surface.h"

namespace valdris {

DrawingView::DrawingView(const QString& accessible_name, QSize minimum, QWidget* parent) : QWidget(parent) {
    setMinimumSize(minimum);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(accessible_name);
}

void DrawingView::SetDrawing(Drawing drawing, const QString& description) {
    drawing_ = std::move(drawing);
    setAccessibleDescription(description);
    update();
}

void DrawingView::Clear() { SetDrawing(nullptr, QString()); }

void DrawingView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!drawing_) return;
    PainterSurface surface(painter, QSizeF(size()));
    drawing_(surface);
}

}  // namespace valdris
