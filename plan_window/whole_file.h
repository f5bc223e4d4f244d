// SPDX-License-Identifier: Apache-2.0
#pragma once
// The plan window's files (a plan, measurements, locations): read whole or
// not at all, and written whole through the safe writer.

#include <QString>
#include <optional>
#include <string>

namespace valdris {

// Far beyond a plan of thousands of units or a million measurements.
constexpr qint64 kLargestReadFile = 64 * 1024 * 1024;

struct FileBytes {
    std::optional<std::string> bytes;
    QString reason;  // why there are none
};

// Only a regular file, and only up to kLargestReadFile bytes, so that a
// device or a pipe named as the file cannot hang or flood the program;
// `too_large` is the reason given for a larger one.
FileBytes ReadWholeFile(const QString& path, const QString& too_large);

// The bytes as the file's whole content; why not, or empty when written.
QString WriteBytes(const QString& path, const std::string& bytes);

}  // namespace valdris
