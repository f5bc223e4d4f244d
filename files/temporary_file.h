// SPDX-License-Identifier: Apache-2.0
#pragma once
// The new file a safe write fills before it takes the target's name.
//
// Where the file system allows, the file has no name while it is written
// (O_TMPFILE): a write killed mid-way, by a signal or a file size limit,
// leaves nothing behind. It is given a fresh name beside the target only
// once complete, just before that name is renamed over the target. Where
// the file system does not allow it, a fresh ".NAME.XXXXXX" is made beside
// the target from the start.

#include <string>

namespace valdris {

enum class TemporaryNaming { UnnamedWherePossible, NamedFromTheStart };

struct TemporaryFile {
    int handle = -1;   // below 0 when it could not be made (errno says why)
    std::string name;  // empty while the file has none
    std::string target;
};

// A new, empty file, readable and writable by the user alone, in the folder
// of the target.
TemporaryFile OpenTemporaryBeside(const std::string& target,
                                  TemporaryNaming naming = TemporaryNaming::UnnamedWherePossible);

// Closes the complete file and renames it over the target: empty, or the
// system's reason (then nothing of it is left).
std::string PutInPlace(TemporaryFile& file);

// Closes the file and removes what it left.
void Discard(TemporaryFile& file);

}  // namespace valdris
