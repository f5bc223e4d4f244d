// SPDX-License-Identifier: Apache-2.0
#pragma once
// Whether a file may be handed to the dynamic loader as one of the program's
// own modules (drawing, geometry).
// The loader trusts what it maps: a truncated module crashes the program
// (SIGBUS), a FIFO hangs it, and a module built with a sanitizer aborts a
// program built without one. Plain C++.

#include <string>

namespace valdris {

// Far more than a module needs (a few megabytes), little enough to refuse
// a file that is plainly something else.
constexpr long long kLargestModule = 256LL * 1024 * 1024;

// Why the open file (a descriptor) is not a module this program can
// load, or an empty text: it must be a regular file of sane size holding a
// shared object for this machine whose every loaded part lies within the
// file, built with the same sanitizer runtime (or none) as this program.
// Whoever may change the module runs code as the user of the program, so it
// must be writable by its owner alone and, for root, owned by root.
std::string ModuleFileProblem(int fd);

// Why the folder holding the module makes it unsafe, or an empty text: one
// that group or others may write lets them put another module in its place.
std::string ModuleFolderProblem(const std::string& folder);

}  // namespace valdris
