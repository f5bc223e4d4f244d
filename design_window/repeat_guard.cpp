// SPDX-License-Identifier: Apache-2.0
#include "repeat_guard.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QWidget>

namespace valdris {

namespace {

// Ends a press as its release would, without the click a button gives on
// release. A scroll bar keeps its press state private, so it is told with a
// release event; one that is not pressed ignores it.
void EndPress(QWidget* control) {
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setDown(false);
    } else if (qobject_cast<QAbstractSlider*>(control)) {
        const QPointF centre = QRectF(control->rect()).center();
        QMouseEvent release(QEvent::MouseButtonRelease, centre, control->mapToGlobal(centre), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(control, &release);
    }
}

}  // namespace

RepeatGuard::RepeatGuard(MessageBoxes& boxes, QObject* parent) : QObject(parent), boxes_(boxes) {}

void RepeatGuard::Watch(QWidget* control) {
    controls_.emplace_back(control);
    control->installEventFilter(this);
}

void RepeatGuard::Show(const QString& text, MessageIcon icon) {
    EndAllPresses();
    ++open_messages_;
    boxes_.Show(text, icon);
    --open_messages_;
}

bool RepeatGuard::AskYesNo(const QString& question) {
    EndAllPresses();
    ++open_messages_;
    const bool yes = boxes_.AskYesNo(question);
    --open_messages_;
    return yes;
}

void RepeatGuard::EndAllPresses() {
    for (const QPointer<QWidget>& control : controls_) {
        if (control) EndPress(control);
    }
}

bool RepeatGuard::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        const auto* press = static_cast<QMouseEvent*>(event);
        if (!(QGuiApplication::mouseButtons() & press->button())) {
            // Released already: end the press once the control has taken it,
            // before its first repeat.
            QPointer<QWidget> control = qobject_cast<QWidget*>(watched);
            QMetaObject::invokeMethod(
                this, [control] { if (control) EndPress(control); }, Qt::QueuedConnection);
        }
    }
    return false;
}

}  // namespace valdris
