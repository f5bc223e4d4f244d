// SPDX-License-Identifier: Apache-2.0
#pragma once
// Where a window goes on the screen. Every window keeps its outer frame
// (title bar, borders, menu bar) within the screen's available area, the
// part that panels and docks leave free: a window is placed where it belongs
// (centred, or at its fixed place), then moved in, and one larger than that
// area is made smaller so that none of it lies off screen.

#include <QMargins>
#include <QRect>
#include <QSize>
#include <functional>

class QScrollArea;
class QWidget;

namespace valdris {

// The outer frame of the given size centred on the screen, then kept within
// the available area.
QRect CentredFrame(QSize frame, const QRect& screen, const QRect& available);

// The outer frame of the given size beside another window's frame, top
// edges level: on its right where the available area has room, else on its
// left. With room on neither side it goes to the side with more room, as
// wide as that room but not narrower than `narrowest` (nor wider than asked),
// at the area's edge, so that it covers as little of the other as it can.
// Then kept within the area.
QRect FrameBeside(QSize frame, const QRect& beside, const QRect& available, int narrowest);

// A frame at its own place, moved and cut down so that it lies within the
// available area.
QRect FrameWithin(QRect frame, const QRect& available);

// The frame the window manager draws around a top-level window. Until the
// window has been shown under a window manager it is not known, and a usual
// title bar and border are assumed.
QMargins FrameMargins(const QWidget* window);

// True once the window manager has told the frame it drew around the window.
bool FrameMarginsKnown(const QWidget* window);

// Sizes and moves a top-level window so that its outer frame (of the given
// margins) around a client area of the given size is centred on its screen
// within the available area; a window too large for that area becomes as
// large as the area allows.
void CentreOnScreen(QWidget* window, QSize client, const QMargins& frame);

// Centres a top-level window now, with the frame a window manager usually
// draws, and once more when the window manager has told the frame it drew
// (after the window is first shown). `client` gives the client size wanted.
void CentreOnScreenOnceFramed(QWidget* window, std::function<QSize()> client);

// Places a top-level window now, with the frame a window manager usually
// draws, and once more when the window manager has told the frame it drew.
// `place` reads the frame with FrameMargins.
void PlaceOnceFramed(QWidget* window, std::function<void()> place);

// Places a top-level window of the given client size beside another one
// (FrameBeside, on the screen of the other), now and once more when the frame
// is known; centred on the screen if the other has gone by then.
void PlaceBesideOnceFramed(QWidget* window, std::function<QSize()> client, const QWidget* beside, int narrowest);

// Moves (and if need be shrinks) a top-level window whose client area
// belongs at a fixed place so that its frame lies within the available area.
void KeepOnScreen(QWidget* window, const QMargins& frame);

// A body for a window whose controls sit at fixed places on a surface of
// fixed size: the surface in a frameless scroll area, which shows scroll bars
// only when the window is smaller than the surface (a small screen).
QScrollArea* ScrollingBody(QWidget* surface);

// The client size that shows a surface whole where the room allows. Where it
// does not, the window takes all the room that way and scrolls, and its scroll
// bar (`bar` pixels across) is added the other way, so that a surface that
// fits one way does not scroll that way too. `allowance` pixels are added each
// way for what the window manager may take off (see SizeStepAllowance). The
// result is never larger than the room.
QSize ScrollingClientSize(QSize surface, QSize room, int bar, int allowance);

// At a fractional scale Qt asks the window manager to size a window in steps
// of whole device pixels (two at 1.5), which can leave the window a device
// pixel smaller than asked, less than a logical pixel: what makes up for it.
int SizeStepAllowance(double ratio);

}  // namespace valdris
