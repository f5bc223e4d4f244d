// SPDX-License-Identifier: Apache-2.0
#pragma once
// Writing a file the program makes (a chart, a report) through the one safe
// writer (safe_write.h, which says what it guarantees), from a Qt device.

#include <QString>
#include <functional>
#include <string>

#include "outcome.h"
#include "safe_write.h"

class QIODevice;

namespace valdris {

// write_content writes into memory and returns an empty text on success,
// else the reason it failed; the file is written from memory after.
// A failure's message is a reason for the user ("the name is a symbolic
// link, which is not followed", "Permission denied").
using FileContent = std::function<QString(QIODevice& file)>;
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
