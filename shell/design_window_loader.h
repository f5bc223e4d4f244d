// SPDX-License-Identifier: Apache-2.0
#pragma once
// Loads the real design window and wires its Help menu to the program's windows.

#include <QWidget>

namespace valdris {

class MessageBoxes;
class ProgramWindows;

QWidget* LoadDesignWindow(ProgramWindows& windows, MessageBoxes& messages);

}  // namespace valdris
