// SPDX-License-Identifier: Apache-2.0
#pragma once
// A horizontal scroll bar whose keys and wheel move the thumb as the
// platform's horizontal scroll bars do: Right, Down, PageDown and the wheel
// turned towards the user move it right; Left, Up, PageUp and the wheel turned
// away move it left. (Qt's own horizontal bar moves it left on PageDown and on
// the wheel turned towards the user, or reverses the arrow keys.)

#include <QScrollBar>

namespace valdris {

class HorizontalScrollBar : public QScrollBar {
    Q_OBJECT
public:
    explicit HorizontalScrollBar(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
};

}  // namespace valdris
