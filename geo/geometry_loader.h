// SPDX-License-Identifier: Apache-2.0
#pragma once
// Finds and loads the geometry module on first use, for the windows and the
// companion alike: in the program's private library folder (the same path
// from bin/ in the build tree and once installed).

#include <string>

#include "geometry.h"
#include "outcome.h"

namespace valdris {

// The module's functions, or the refusal saying why they cannot be had.
// Loaded once; the module stays for the life of the process.
Outcome<const GeometryFunctions*> LoadGeometry();

// For programs that do not live in a bin folder (the tests): the module's
// path, named before the first use.
void UseGeometryModuleAt(const std::string& path);

}  // namespace valdris
