// SPDX-License-Identifier: Apache-2.0
#pragma once
// Reading a file the program is given (a plan, its autosave, measurements)
// whole or not at all, by one rule for every window and the companion.
//
// Only a regular file is read: a folder, a device or a pipe named as the
// file is refused without waiting on it (the file is opened non-blocking and
// checked before any byte is read), so /dev/zero cannot flood the program
// and a FIFO cannot hang it. The size is checked before reading and again
// while reading, since a file may grow in between. The files read are text,
// so a NUL byte is refused: a reader stopping at it would lose the rest.

#include <cstddef>
#include <string>

#include "outcome.h"

namespace valdris {

// Far beyond a plan of thousands of units or a million measurements.
constexpr std::size_t kLargestReadFile = 64 * 1024 * 1024;

// The bytes, or what is wrong with the file ("there is no such file", "it is
// not a regular file", "it is too large (more than 64 MB)", "it holds a NUL
// byte", or the system's reason), each with its own kind. The path is in the
// system's encoding. A reader with a smaller need (the help file) gives its
// own largest size.
Outcome<std::string> ReadWholeFile(const std::string& path, std::size_t largest = kLargestReadFile);

// The one wording of a file not read: "The plan could not be read from
// /site.vplan: it is not a regular file."
std::string UnreadFileText(const std::string& what, const std::string& path, const std::string& reason);

}  // namespace valdris
