// SPDX-License-Identifier: Apache-2.0
#include "text_start.h"

#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPointer>

namespace valdris {
namespace {

class StartWithoutFocus : public QObject {
public:
    StartWithoutFocus(QLineEdit* edit, QWidget* focus_owner)
        : QObject(edit), edit_(edit), focus_owner_(focus_owner) {
        focus_owner->installEventFilter(this);
        // The cursor, not the text: writing the same text again leaves it
        // unchanged but still moves the cursor to its end.
        connect(edit, &QLineEdit::cursorPositionChanged, this, [this] {
            if (Left()) ShowStart();
        });
        if (Left()) ShowStart();
    }

protected:
    // Before the control's own handling of the focus-out: a handler that runs
    // then and gives the focus back finds the start shown, as on any return.
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == focus_owner_ && event->type() == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) ShowStart();
        }
        return false;
    }

private:
    // Another control of the window has the focus. A box whose window is not
    // active, or which has lent the focus to its context menu (whose Paste
    // writes into it), still holds it within its window.
    bool Left() const { return focus_owner_ && focus_owner_->window()->focusWidget() != focus_owner_; }

    // A box deleted while it has the focus loses it in its last, plain
    // widget's destructor, its line edit part already gone: the cast, by
    // the object's type at that moment, leaves it alone then.
    void ShowStart() {
        auto* edit = qobject_cast<QLineEdit*>(edit_);
        if (edit && edit->cursorPosition() != 0) edit->setCursorPosition(0);
    }

    // Kept as the object it was made as: converted to its base only while whole.
    QObject* edit_;
    QPointer<QWidget> focus_owner_;
};

}  // namespace

void ShowStartWithoutFocus(QLineEdit* edit, QWidget* focus_owner) {
    new StartWithoutFocus(edit, focus_owner ? focus_owner : edit);
}

}  // namespace valdris
