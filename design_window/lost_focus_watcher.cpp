// SPDX-License-Identifier: Apache-2.0
#include "lost_focus_watcher.h"

#include <QApplication>
#include <QFocusEvent>

namespace valdris {

namespace {

// Focus changes that do not move the focus to another control of the window.
bool KeepsFocusInControl(Qt::FocusReason reason) {
    return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason ||
           reason == Qt::MenuBarFocusReason;
}

}  // namespace

LostFocusWatcher::LostFocusWatcher(QObject* parent) : QObject(parent) {}

LostFocusWatcher::~LostFocusWatcher() { Detach(); }

void LostFocusWatcher::Watch(QWidget* control, std::function<void()> on_lost_focus) {
    if (!control || detached_) return;
    watched_.push_back({control, std::move(on_lost_focus)});
    control->installEventFilter(this);
    if (control->hasFocus()) owner_ = control;
}

void LostFocusWatcher::Detach() {
    detached_ = true;
    for (const Watched& w : watched_) {
        if (w.control) w.control->removeEventFilter(this);
    }
    watched_.clear();
    owner_ = nullptr;
}

const LostFocusWatcher::Watched* LostFocusWatcher::Find(const QObject* object) const {
    for (const Watched& w : watched_) {
        if (w.control == object) return &w;
    }
    return nullptr;
}

bool LostFocusWatcher::eventFilter(QObject* watched, QEvent* event) {
    if (detached_ || event == forwarding_) return false;
    if (event->type() != QEvent::FocusIn && event->type() != QEvent::FocusOut) return false;
    const Watched* entry = Find(watched);
    if (!entry) return false;

    if (event->type() == QEvent::FocusIn) {
        owner_ = entry->control;
        return false;
    }
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    bool leaves = !KeepsFocusInControl(reason) && owner_ == watched;
    if (leaves) {
        // Qt names the new focus widget before it tells the old one. A widget
        // of another window (the list of an open combo box takes the focus
        // after the popup has opened) is no control of this window.
        const QWidget* next = QApplication::focusWidget();
        leaves = next && next->window() == entry->control->window();
    }
    if (leaves) owner_ = nullptr;

    // Let the control finish losing the focus first (cursor, selection, a
    // combo box taking its typed text), so that a handler giving the focus
    // back finds it in a settled state.
    const std::function<void()> on_lost_focus = entry->on_lost_focus;
    const QEvent* const outer_event = forwarding_;
    const QObject* const outer_control = losing_;
    forwarding_ = event;
    losing_ = watched;
    QApplication::sendEvent(watched, event);
    forwarding_ = outer_event;
    losing_ = outer_control;

    if (leaves && !detached_ && on_lost_focus) on_lost_focus();
    return true;
}

}  // namespace valdris
