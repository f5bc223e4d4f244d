// SPDX-License-Identifier: Apache-2.0
#include "horizontal_scroll_bar.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QStyleOptionSlider>
#include <QToolTip>
#include <QWheelEvent>

namespace valdris {
namespace {

constexpr int kFocusFrameWidth = 2;
constexpr int kTipGap = 2;  // between the tip and the bar

// Looks like the platform's tooltips, but is placed where the thumb is
// rather than below the pointer, where it would hide the LBGR box.
QLabel* MakeTip(QWidget* owner) {
    auto* tip = new QLabel(owner, Qt::ToolTip | Qt::BypassGraphicsProxyWidget);
    tip->setObjectName(QStringLiteral("dragTip"));
    tip->setPalette(QToolTip::palette());
    tip->setFont(QToolTip::font());
    tip->setForegroundRole(QPalette::ToolTipText);
    tip->setBackgroundRole(QPalette::ToolTipBase);
    tip->setAutoFillBackground(true);
    tip->setFrameStyle(QFrame::Box | QFrame::Plain);
    tip->setMargin(2);
    return tip;
}

}  // namespace

HorizontalScrollBar::HorizontalScrollBar(QWidget* parent) : QScrollBar(Qt::Horizontal, parent) {
    // Left and Right follow the thumb only without Qt's inversion.
    setInvertedControls(false);
    connect(this, &QAbstractSlider::sliderPressed, this, [this] { ShowDragTip(sliderPosition()); });
    connect(this, &QAbstractSlider::sliderMoved, this, &HorizontalScrollBar::ShowDragTip);
    connect(this, &QAbstractSlider::sliderReleased, this, &HorizontalScrollBar::HideDragTip);
}

void HorizontalScrollBar::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        SliderAction action = SliderNoAction;
        switch (event->key()) {
        case Qt::Key_Up: action = SliderSingleStepSub; break;
        case Qt::Key_Down: action = SliderSingleStepAdd; break;
        case Qt::Key_PageUp: action = SliderPageStepSub; break;
        case Qt::Key_PageDown: action = SliderPageStepAdd; break;
        default: break;
        }
        if (action != SliderNoAction) {
            triggerAction(action);
            event->accept();
            return;
        }
    }
    QScrollBar::keyPressEvent(event);
}

// Qt turns the wheel the platform's way on an inverted bar; the inversion is
// lent for the one event, so that the step size and the accumulation of small
// turns stay Qt's.
void HorizontalScrollBar::wheelEvent(QWheelEvent* event) {
    setInvertedControls(true);
    QScrollBar::wheelEvent(event);
    setInvertedControls(false);
}

QRect HorizontalScrollBar::ThumbRect() const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    return style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this);
}

void HorizontalScrollBar::paintEvent(QPaintEvent* event) {
    QScrollBar::paintEvent(event);
    if (!hasFocus()) return;
    QPainter painter(this);
    QPen pen(palette().color(QPalette::Highlight), kFocusFrameWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    // The pen is centred on the path: inset by half its width it stays
    // within the thumb.
    const qreal half = kFocusFrameWidth / 2.0;
    painter.drawRect(QRectF(ThumbRect()).adjusted(half, half, -half, -half));
}

void HorizontalScrollBar::hideEvent(QHideEvent* event) {
    HideDragTip();
    QScrollBar::hideEvent(event);
}

// Above the thumb, centred on it, within the screen; below the bar when
// there is no room above.
void HorizontalScrollBar::ShowDragTip(int position) {
    if (!drag_text_ || !isSliderDown()) return;
    if (!drag_tip_) drag_tip_ = MakeTip(this);
    drag_tip_->setText(drag_text_(position));
    drag_tip_->adjustSize();
    const QSize size = drag_tip_->size();
    const QRect thumb = ThumbRect();
    QPoint place = mapToGlobal(QPoint(thumb.center().x() - size.width() / 2, -size.height() - kTipGap));
    if (const QScreen* shown_on = screen()) {
        const QRect area = shown_on->availableGeometry();
        if (place.y() < area.top()) place.setY(mapToGlobal(QPoint(0, height() + kTipGap)).y());
        place.setX(std::clamp(place.x(), area.left(), std::max(area.left(), area.right() + 1 - size.width())));
    }
    drag_tip_->move(place);
    drag_tip_->show();
}

void HorizontalScrollBar::HideDragTip() {
    if (drag_tip_) drag_tip_->hide();
}

}  // namespace valdris
