// SPDX-License-Identifier: Apache-2.0
#pragma once
// An editable list box (alpha, beta) in which typing is typing and only a
// deliberate choice is a choice:
// - Return on the closed box chooses nothing, even when the typed text reads
//   like a list item: a typed value is checked when the box is left.
// - The wheel over a box that does not have the focus passes on to what lies
//   behind it (a scrolled window scrolls) instead of changing the value; it
//   gives no focus either. With the focus, it steps through the list like a
//   choice.
// - Assistive technology announces it by its accessible name ("Alpha"), its
//   text being its value (Qt would name it by its text on Linux), with its
//   list and the list's items.

#include <QComboBox>

namespace valdris {

class TypedListBox : public QComboBox {
    Q_OBJECT
public:
    explicit TypedListBox(const QString& accessible_name, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
};

}  // namespace valdris
