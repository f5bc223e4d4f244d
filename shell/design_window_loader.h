#pragma once
// Loads the real design window and wires its Help menu to the program's windows.

#include <QWidget>

namespace valdris {

class MessageBoxes;
class ProgramWindows;

QWidget* LoadDesignWindow(ProgramWindows& windows, MessageBoxes& messages);

}  // namespace valdris
