// SPDX-License-Identifier: Apache-2.0
#pragma once
// A text box without the focus shows the start of its text. Qt keeps a line
// edit's view at its cursor, which typing and every text the program writes
// leave at the end: a figure longer than its box then showed only its last
// digits (300000000 read 00000000) once the box was left.

class QLineEdit;
class QWidget;

namespace valdris {

// From now on the edit shows its start whenever `focus_owner` (the edit, or
// the editable combo box it belongs to) does not have the focus within its
// window: at once, when the focus moves to another control, and when its
// text is written meanwhile. The focus leaving with its window (another window, a message
// box) or for a popup (a context menu, the list) keeps the place, as Qt keeps
// the selection then: the box still has the focus within its window.
void ShowStartWithoutFocus(QLineEdit* edit, QWidget* focus_owner = nullptr);

}  // namespace valdris
