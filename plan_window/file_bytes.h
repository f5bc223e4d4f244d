// SPDX-License-Identifier: Apache-2.0
#pragma once
// The plan window's files (a plan, measurements, locations) by their Qt
// names: read by the one whole-file reader, written whole through the safe
// writer.

#include <QString>
#include <string>

#include "outcome.h"

namespace valdris {

// The bytes, or what is wrong with the file (whole_file.h).
Outcome<std::string> ReadFileBytes(const QString& path);

// The bytes as the file's whole content; why not, or empty when written.
QString WriteBytes(const QString& path, const std::string& bytes);

// "The plan could not be read from /site.vplan: it is not a regular file."
QString UnreadFileMessage(const std::string& what, const QString& path, const std::string& reason);

}  // namespace valdris
