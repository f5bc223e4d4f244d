// SPDX-License-Identifier: Apache-2.0
#pragma once
// Finds and loads the drawing module on first use: beside the program in the
// build tree, or in the program's private library folder once installed.

#include <string>

#include "drawing.h"

namespace valdris::cli {

// The module's functions, or nullptr with a readable reason. Loaded once;
// the module stays for the life of the process, as Qt expects.
const DrawingFunctions* LoadDrawing(std::string& error);

}  // namespace valdris::cli
