// SPDX-License-Identifier: Apache-2.0
#pragma once
// Writing a file the program makes (a chart, a report): whole or not at all,
// and never through a name that is not a plain file of its own.

#include <QString>
#include <functional>
#include <string>

#include "outcome.h"

class QIODevice;

namespace valdris {

// Writes the content to a new file beside the target and renames it over the
// target once complete, so a failure leaves an existing file as it was. A
// target that is a symbolic link or exists as anything but a regular file
// (a directory, a device, a pipe) is refused: writing through it would
// replace or feed something else than the file the user named.
//
// A file that nobody may write to (no write bit) or that the user cannot
// write to is refused too, unless the user was asked and agreed: the program
// must not replace what the user could not. A replaced file keeps its
// permissions and, where the system permits, its owner and group, but never
// a set-user-ID or set-group-ID bit: the new content is not the program the
// bit was given to.
//
// write_content writes into memory and returns an empty text on success,
// else the reason it failed; the file is written from memory after.
// A failure's message is a reason for the user ("the name is a symbolic
// link, which is not followed", "Permission denied").
using FileContent = std::function<QString(QIODevice& file)>;
enum class ReadOnlyFile { Refuse, Replace };
Outcome<Done> WriteFileSafely(const QString& path, const FileContent& write_content,
                              ReadOnlyFile read_only = ReadOnlyFile::Refuse);

// True for an existing regular file that WriteFileSafely refuses unless told
// to replace it: a window asks the user first.
bool IsReadOnlyFile(const QString& path);

// Why a name may not be written to (a symbolic link, or an existing file that
// is not a regular one), or an empty text, for writers that open the file
// themselves (a printer printing to a file).
QString RefusalOfName(const QString& path);

// "The chart could not be written to /tmp/x.png: it is a symbolic link."
std::string FileFailureMessage(const std::string& what, const QString& path, const QString& reason);

}  // namespace valdris
