// SPDX-License-Identifier: Apache-2.0
#pragma once
// Writing a file the program makes, without Qt (the companion writes through
// this; chart/safe_file.h wraps it for the windows): whole or not at all, and
// never through a name that is not a plain file of its own.
//
// The bytes go to a new file beside the target and are renamed over it once
// complete, so a failure leaves an existing file as it was. A target that is
// a symbolic link or exists as anything but a regular file (a directory, a
// device, a pipe) is refused: writing through it would replace or feed
// something else than the file the user named.
//
// A file that nobody may write to (no write bit) or that the user cannot
// write to is refused too, unless the caller says to replace it (the user
// was asked and agreed): the program must not replace what the user could
// not. A replaced file keeps its permissions and, where the system permits,
// its owner and group, but never a set-user-ID or set-group-ID bit: the new
// content is not the program the bit was given to.

#include <functional>
#include <string>
#include <string_view>

namespace valdris {

enum class ReadOnlyFile { Refuse, Replace };

// Makes the content into bytes once the new file is open (nothing is made
// for a name that is refused), returning an empty text or why it failed.
using ByteContent = std::function<std::string(std::string& bytes)>;

// Takes each piece of a content as it is made: an empty text, or why the
// piece could not be written (then the maker stops and says so).
using ByteSink = std::function<std::string(std::string_view piece)>;
// Makes the content piece by piece into the sink, returning an empty text or
// the first failure: a large file is written as it is made, never held whole.
using StreamedContent = std::function<std::string(const ByteSink& write)>;

// Puts what was written through a handle onto the disk before the new file
// takes the name: 0, or -1 with errno set. SyncToDisk (fsync) unless a
// caller needs another step, such as one that fails as a dying disk would.
using SyncStep = int (*)(int handle);
int SyncToDisk(int handle);

// Empty on success, else the reason for the user ("the name is a symbolic
// link, which is not followed", "Permission denied", "No space left on
// device"), or the content's own. The path is in the system's encoding.
std::string WriteContentSafely(const std::string& path, const ByteContent& content,
                               ReadOnlyFile read_only = ReadOnlyFile::Refuse, SyncStep sync = SyncToDisk);
std::string WriteStreamSafely(const std::string& path, const StreamedContent& content,
                              ReadOnlyFile read_only = ReadOnlyFile::Refuse, SyncStep sync = SyncToDisk);
std::string WriteBytesSafely(const std::string& path, std::string_view bytes,
                             ReadOnlyFile read_only = ReadOnlyFile::Refuse, SyncStep sync = SyncToDisk);

// True for an existing regular file that WriteBytesSafely refuses unless
// told to replace it.
bool IsReadOnlyPath(const std::string& path);

// Why a name may not be written to (a symbolic link, or an existing file
// that is not a regular one), or an empty text.
std::string RefusalOfPath(const std::string& path);

}  // namespace valdris
