// SPDX-License-Identifier: Apache-2.0
#pragma once
// A file the plan window reads (a plan, a file of measurements), read whole
// or not at all.

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

}  // namespace valdris
