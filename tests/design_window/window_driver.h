// SPDX-License-Identifier: Apache-2.0
#pragma once
// Drives the design window as a user would: real key and mouse events sent
// to whatever holds the focus, so that focus changes, lost-focus handlers and
// nested change handlers run exactly as they do on screen.

#include <QRect>
#include <QString>
#include <functional>

#include "message_boxes.h"
#include "recording_messages.h"

class QComboBox;
class QLabel;
class QScrollBar;
class QWidget;

namespace valdris {
class UpDownControl;
}

namespace valdris::testing {

// Shows the window, activates it and waits until it can take the focus.
bool ShowAndActivate(QWidget* window);
// Lets queued events (deferred focus work, repaints) run.
void Settle();

QWidget* FocusedWidget();
// True when the widget itself or one of its children (a combo box's editor)
// holds the keyboard focus.
bool HasFocusWithin(const QWidget* widget);

// Keys go to the focused widget, as from a keyboard.
void PressKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void TabAway();
void BacktabAway();
// Types the text key by key into the focused widget.
void TypeKeys(const QString& text);

// Clicks into the box (moving the focus there), selects everything in it and
// types the text key by key: each character runs the change handler.
void TypeInto(QWidget* box, const QString& text);
// Clicks into the box, selects everything and pastes the text in one piece.
void PasteInto(QWidget* box, const QString& text);

// A left click in the middle of the widget (or at a given point).
void ClickOn(QWidget* widget);

// Opens the drop-down list and chooses the item with the keyboard, so that
// the combo box reports the choice as a user's.
void ChooseListItem(QComboBox* combo, int index);

// Scroll bar by mouse: one arrow click, one click in the trough, or a drag of
// the thumb. DragScrollTo releases the thumb beyond the end of the groove for
// the minimum and maximum and as near the value as a pixel allows otherwise.
void ClickScrollArrow(QScrollBar* bar, bool towards_maximum);
void ClickScrollTrough(QScrollBar* bar, bool towards_maximum);
void DragScrollTo(QScrollBar* bar, int value);
// Where the bar's thumb stands now, in the bar.
QRect ScrollBarThumb(const QScrollBar* bar);

// One notch of the mouse wheel over the widget, away from or towards the
// user; the focus stays where it is.
void TurnWheelOver(QWidget* widget, bool away);

void ClickSpinUp(valdris::UpDownControl* spin);
void ClickSpinDown(valdris::UpDownControl* spin);

// The second line of a two-line caption ("Critical Value:" / " 19").
QString SecondLine(const QLabel* label);
QString FirstLine(const QLabel* label);

// Records every message and also puts a real modal QMessageBox on screen,
// closed by a timer once it is up, so that the focus really leaves the window
// while the message is shown.
class ModalRecordingMessages : public RecordingMessages {
public:
    void Show(const QString& text, MessageIcon icon) override;
};

}  // namespace valdris::testing
