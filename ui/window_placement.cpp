#include "window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <QWindow>
#include <cmath>

namespace valdris {

namespace {

// Before a window is first shown Qt does not know the frame the window
// manager will add, so the title bar is estimated from the style; once
// shown, the platform reports the real frame.
QSize OuterSize(const QWidget& window) {
    QSize outer = window.frameGeometry().size();
    if (outer != window.size() || window.windowFlags().testFlag(Qt::FramelessWindowHint)) return outer;
    const QMargins frame = window.windowHandle() ? window.windowHandle()->frameMargins() : QMargins();
    if (frame.isNull()) {
        outer.rheight() += window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
    } else {
        outer += QSize(frame.left() + frame.right(), frame.top() + frame.bottom());
    }
    return outer;
}

}  // namespace

void CentreOnScreen(QWidget& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QSize outer = OuterSize(window);
    const QRect area = screen->geometry();
    const float left = (static_cast<float>(area.width()) - static_cast<float>(outer.width())) / 2.0f;
    const float top = (static_cast<float>(area.height()) - static_cast<float>(outer.height())) / 2.0f;
    window.move(area.x() + static_cast<int>(std::floor(left)), area.y() + static_cast<int>(std::floor(top)));
}

}  // namespace valdris
