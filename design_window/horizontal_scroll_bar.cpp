// SPDX-License-Identifier: Apache-2.0
#include "horizontal_scroll_bar.h"

#include <QKeyEvent>
#include <QWheelEvent>

namespace valdris {

HorizontalScrollBar::HorizontalScrollBar(QWidget* parent) : QScrollBar(Qt::Horizontal, parent) {
    // Left and Right follow the thumb only without Qt's inversion.
    setInvertedControls(false);
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

}  // namespace valdris
