// SPDX-License-Identifier: Apache-2.0
#pragma once
// The two text rules every reader and writer of the program's files shares:
// what a typed or read field is once its blanks are set aside, and how a
// field is written into a CSV file.

#include <string>
#include <string_view>

namespace valdris {

// The text without the blanks (spaces, tabs, line breaks) around it.
std::string Trimmed(std::string_view text);

// A CSV field: as it is, or quoted (quotes doubled) when it holds a comma,
// a quote or a line break, so that any text reads back as one field.
std::string CsvField(std::string_view text);

}  // namespace valdris
