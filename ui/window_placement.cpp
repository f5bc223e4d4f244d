// SPDX-License-Identifier: Apache-2.0
#include "window_placement.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cmath>

namespace valdris {
namespace {

// An edge of the frame within the available area; an edge the area cannot
// hold is put at the area's start, so that the title bar stays reachable.
int Within(int start, int length, int area_start, int area_length) {
    return std::max(area_start, std::min(start, area_start + area_length - length));
}

const QScreen* ScreenOf(const QWidget* window) {
    if (const QScreen* screen = window->screen()) return screen;
    return QGuiApplication::primaryScreen();
}

// Places its window again once the window manager has told the frame, then
// goes. Without a window manager no frame is ever told, and it stays idle.
class PlaceWhenFramed : public QObject {
public:
    PlaceWhenFramed(QWidget* window, std::function<void()> place)
        : QObject(window), window_(window), place_(std::move(place)) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::WindowActivate:
            if (watched == window_ && FrameMarginsKnown(window_)) {
                window_->removeEventFilter(this);
                place_();
                deleteLater();
            }
            break;
        default:
            break;
        }
        return false;
    }

private:
    QWidget* window_;
    std::function<void()> place_;
};

const QString kBodyName = QStringLiteral("scrollingBody");

// The available area, less what a window's logical size may gain in device
// pixels at a fractional scale (frame and client rounded each on its own, and
// sized in steps), so that a window as large as the area stays within it.
// A logical area rounded from the device's can also reach a fraction of a
// logical pixel past it (1366 at 1.25 is 1092.8), which a window at its edge
// rounds to a device pixel off the screen: at least one logical pixel.
QRect UsableArea(const QScreen* screen, const QWidget* window) {
    const double ratio = window->devicePixelRatioF();
    const int margin = std::max(SizeStepAllowance(ratio), ratio == std::floor(ratio) ? 0 : 1);
    return screen->availableGeometry().adjusted(0, 0, -margin, -margin);
}

QSize Grow(QSize size, const QMargins& m) { return size + QSize(m.left() + m.right(), m.top() + m.bottom()); }

// Gives the window the client area that fills `frame_place` inside the frame.
// The client area is placed, not the frame: Qt places a frame it does not
// know yet where the client area should be.
void Place(QWidget* window, const QMargins& frame, const QRect& frame_place) {
    window->setGeometry(frame_place.marginsRemoved(frame));
}

}  // namespace

QRect FrameWithin(QRect frame, const QRect& available) {
    frame.setSize(frame.size().boundedTo(available.size()));
    frame.moveTo(Within(frame.x(), frame.width(), available.x(), available.width()),
                 Within(frame.y(), frame.height(), available.y(), available.height()));
    return frame;
}

// The centre is worked out in single precision and then cut to whole pixels.
QRect CentredFrame(QSize frame, const QRect& screen, const QRect& available) {
    frame = frame.boundedTo(available.size());
    const float left = (static_cast<float>(screen.width()) - static_cast<float>(frame.width())) / 2.0f;
    const float top = (static_cast<float>(screen.height()) - static_cast<float>(frame.height())) / 2.0f;
    const QRect centred(screen.x() + static_cast<int>(std::floor(left)),
                        screen.y() + static_cast<int>(std::floor(top)), frame.width(), frame.height());
    return FrameWithin(centred, available);
}

QRect FrameBeside(QSize frame, const QRect& beside, const QRect& available, int narrowest) {
    const int right_room = available.right() - beside.right();
    const int left_room = beside.left() - available.left();
    QRect placed(QPoint(0, beside.top()), frame);
    if (frame.width() <= right_room) {
        placed.moveLeft(beside.right() + 1);
    } else if (frame.width() <= left_room) {
        placed.moveRight(beside.left() - 1);
    } else {
        const int room = std::max(right_room, left_room);
        placed.setWidth(std::max(room, std::min(frame.width(), narrowest)));
        if (right_room >= left_room) {
            placed.moveRight(available.right());
        } else {
            placed.moveLeft(available.left());
        }
    }
    return FrameWithin(placed, available);
}

bool FrameMarginsKnown(const QWidget* window) {
    const QWindow* handle = window->windowHandle();
    return handle && window->isVisible() && !handle->frameMargins().isNull();
}

QMargins FrameMargins(const QWidget* window) {
    if (window->windowFlags() & Qt::FramelessWindowHint) return {};
    if (FrameMarginsKnown(window)) return window->windowHandle()->frameMargins();
    const int border = window->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, window);
    const int title = window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
    return {border, title + border, border, border};
}

void CentreOnScreen(QWidget* window, QSize client, const QMargins& frame) {
    const QScreen* screen = ScreenOf(window);
    if (!screen) return;
    const QRect available = UsableArea(screen, window);
    if (const auto* body = window->findChild<QScrollArea*>(kBodyName, Qt::FindDirectChildrenOnly)) {
        const int bar = body->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, body);
        client = ScrollingClientSize(client, available.size().shrunkBy(frame), bar,
                                     SizeStepAllowance(window->devicePixelRatioF()));
    }
    Place(window, frame, CentredFrame(Grow(client, frame), screen->geometry(), available));
}

void PlaceOnceFramed(QWidget* window, std::function<void()> place) {
    place();
    new PlaceWhenFramed(window, std::move(place));
}

void CentreOnScreenOnceFramed(QWidget* window, std::function<QSize()> client) {
    PlaceOnceFramed(window, [window, client = std::move(client)] {
        CentreOnScreen(window, client(), FrameMargins(window));
    });
}

void PlaceBesideOnceFramed(QWidget* window, std::function<QSize()> client, const QWidget* beside, int narrowest) {
    PlaceOnceFramed(window, [window, client = std::move(client), other = QPointer<const QWidget>(beside), narrowest] {
        const QScreen* screen = other ? ScreenOf(other) : nullptr;
        if (!screen) {
            CentreOnScreen(window, client(), FrameMargins(window));
            return;
        }
        const QMargins frame = FrameMargins(window);
        Place(window, frame,
              FrameBeside(Grow(client(), frame), other->frameGeometry(), UsableArea(screen, window), narrowest));
    });
}

void KeepOnScreen(QWidget* window, const QMargins& frame) {
    const QScreen* screen = ScreenOf(window);
    if (!screen) return;
    Place(window, frame, FrameWithin(window->geometry().marginsAdded(frame), UsableArea(screen, window)));
}

QScrollArea* ScrollingBody(QWidget* surface) {
    auto* area = new QScrollArea;
    area->setObjectName(kBodyName);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(false);
    area->setFocusPolicy(Qt::NoFocus);  // the controls on the surface take the focus
    area->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    area->setWidget(surface);
    // Nothing to show behind the surface but the window's own colour.
    area->viewport()->setAutoFillBackground(false);
    area->setAutoFillBackground(false);
    return area;
}

QSize ScrollingClientSize(QSize surface, QSize room, int bar, int allowance) {
    // A bar one way may leave too little room the other way; twice settles it.
    bool down = false;
    bool across = false;
    for (int pass = 0; pass < 2; ++pass) {
        down = surface.height() + (across ? bar : 0) > room.height();
        across = surface.width() + (down ? bar : 0) > room.width();
    }
    const QSize client = surface + QSize(allowance + (down ? bar : 0), allowance + (across ? bar : 0));
    return client.boundedTo(room);
}

int SizeStepAllowance(double ratio) {
    if (!(ratio > 0) || ratio == std::floor(ratio)) return 0;
    const double step = std::round(ratio);  // device pixels per logical pixel asked for
    return static_cast<int>(std::ceil((step - 1) / ratio));
}

}  // namespace valdris
