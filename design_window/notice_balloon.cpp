// SPDX-License-Identifier: Apache-2.0
#include "notice_balloon.h"

#include <algorithm>

#include <QAccessible>
#include <QEvent>
#include <QScreen>
#include <QTimer>
#include <QToolTip>

namespace valdris {
namespace {

// Long enough to read a sentence, short enough not to stand in the way.
constexpr int kShownMs = 4000;

}  // namespace

NoticeBalloon::NoticeBalloon(QWidget* window)
    : QLabel(window, Qt::ToolTip | Qt::BypassGraphicsProxyWidget), hide_timer_(new QTimer(this)) {
    setObjectName(QStringLiteral("noticeBalloon"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setForegroundRole(QPalette::ToolTipText);
    setBackgroundRole(QPalette::ToolTipBase);
    setPalette(QToolTip::palette());
    setFont(QToolTip::font());
    setAutoFillBackground(true);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setMargin(4);
    setWordWrap(false);
    hide_timer_->setSingleShot(true);
    hide_timer_->setInterval(kShownMs);
    connect(hide_timer_, &QTimer::timeout, this, &QWidget::hide);
}

void NoticeBalloon::ShowAt(QWidget* control, const QString& text) {
    if (control_ && control_ != control) control_->removeEventFilter(this);
    control_ = control;
    control->installEventFilter(this);
    setText(text);
    setWindowTitle(text);  // names the window for the platform and its tests
    setAccessibleName(text);
    adjustSize();
    Place();
    show();
    raise();
    hide_timer_->start();
    // Said by a screen reader as it is shown.
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

// Below the control's left edge, kept on the control's screen.
void NoticeBalloon::Place() {
    QPoint at = control_->mapToGlobal(QPoint(0, control_->height() + 2));
    if (const QScreen* screen = control_->screen()) {
        const QRect room = screen->availableGeometry();
        at.setX(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() + 1 - width())));
        if (at.y() + height() > room.bottom() + 1) at.setY(control_->mapToGlobal(QPoint(0, 0)).y() - height() - 2);
    }
    move(at);
}

bool NoticeBalloon::eventFilter(QObject* watched, QEvent* event) {
    if (watched == control_ && (event->type() == QEvent::FocusOut || event->type() == QEvent::Hide)) hide();
    return QLabel::eventFilter(watched, event);
}

void NoticeBalloon::mousePressEvent(QMouseEvent*) { hide(); }

}  // namespace valdris
