// SPDX-License-Identifier: Apache-2.0
#pragma once
// Keeps the auto-repeat of the window's arrows to the user's own presses.
//
// A modal message box takes the mouse: the release of a held arrow goes to
// the blocked window and never reaches the control, whose repeat timer then
// fires on inside the box's event loop, each step running a handler that may
// open another box. So every message of the window passes through here: the
// presses on the repeating controls end before a box opens, and the window
// runs no handler while one is open. A press that reaches a control only
// after a box opened by the focus change it caused has closed (the button
// was released meanwhile) counts as a click.

#include <QObject>
#include <QPointer>
#include <vector>

#include "message_boxes.h"

class QWidget;

namespace valdris {

class RepeatGuard : public QObject, public MessageBoxes {
    Q_OBJECT
public:
    RepeatGuard(MessageBoxes& boxes, QObject* parent);

    // A control whose press repeats: a scroll bar or an auto-repeat button.
    void Watch(QWidget* control);

    bool MessageOpen() const { return open_messages_ > 0; }

    void Show(const QString& text, MessageIcon icon) override;
    bool AskYesNo(const QString& question) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void EndAllPresses();

    MessageBoxes& boxes_;
    std::vector<QPointer<QWidget>> controls_;
    int open_messages_ = 0;
};

}  // namespace valdris
