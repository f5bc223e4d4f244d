#pragma once
// Where the program's windows appear on the screen.

class QWidget;

namespace valdris {

// Centres the window's outer frame (title bar, borders and menu bar
// included) on its screen: left = (screen width - outer width) / 2, and the
// same for the top, rounded down.
void CentreOnScreen(QWidget& window);

}  // namespace valdris
