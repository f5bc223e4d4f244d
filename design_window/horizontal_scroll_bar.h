// SPDX-License-Identifier: Apache-2.0
#pragma once
// A horizontal scroll bar whose keys and wheel move the thumb as the
// platform's horizontal scroll bars do: Right, Down, PageDown and the wheel
// turned towards the user move it right; Left, Up, PageUp and the wheel turned
// away move it left. (Qt's own horizontal bar moves it left on PageDown and on
// the wheel turned towards the user, or reverses the arrow keys.)
//
// With the focus it frames its thumb (the platform style draws no focus on a
// scroll bar), and while its thumb is dragged it can show, in a tip above the
// thumb, what the position under it stands for.

#include <QScrollBar>
#include <functional>

class QLabel;

namespace valdris {

class HorizontalScrollBar : public QScrollBar {
    Q_OBJECT
public:
    explicit HorizontalScrollBar(QWidget* parent = nullptr);

    // The tip's text for a thumb position; asked on each move of a drag and
    // nothing else (with tracking off, the value changes only on release).
    // The tip is a label named "dragTip".
    void ShowWhileDragging(std::function<QString(int)> text) { drag_text_ = std::move(text); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QRect ThumbRect() const;
    void ShowDragTip(int position);
    void HideDragTip();

    std::function<QString(int)> drag_text_;
    QLabel* drag_tip_ = nullptr;
};

}  // namespace valdris
