// SPDX-License-Identifier: Apache-2.0
#pragma once
// Asks the window manager for a title bar with a close button only: no icon
// or window menu, no minimise or maximise button, no resizing. Qt always asks
// X window managers for a window menu (drawn as the icon) and resizing along
// with a close button, so on X11 the Motif hints are written as meant (the
// program's icon stays published for task lists, not for the title bar).
// Elsewhere the window flags alone say it.
// Some window managers keep their own buttons whatever a window asks (openbox
// keeps its icon and minimise); there the fixed size still rules out
// maximising and resizing, and the Help menu brings a minimised window back.

class QWidget;

namespace valdris {

// The window's flags ask for a dialog with a title and a close button; call
// before the window is first shown.
void AskForCloseButtonOnly(QWidget* window);

}  // namespace valdris
