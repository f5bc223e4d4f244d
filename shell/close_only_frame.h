#pragma once
// Asks the window manager for a title bar with a close button only: no icon
// or window menu, no minimise or maximise button, no resizing. Qt always asks
// X window managers for a window menu (drawn as the icon) and resizing along
// with a close button, so on X11 the Motif hints are written as meant; the
// window publishes no icon of its own. Elsewhere the window flags alone say it.

class QWidget;

namespace valdris {

// The window's flags ask for a dialog with a title and a close button; call
// before the window is first shown.
void AskForCloseButtonOnly(QWidget* window);

}  // namespace valdris
