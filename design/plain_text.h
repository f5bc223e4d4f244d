// SPDX-License-Identifier: Apache-2.0
#pragma once
// Text as a user types a name or a choice: without the blanks around it, and
// compared case aside.

#include <algorithm>
#include <cctype>
#include <string>

namespace valdris {

inline std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

inline std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

}  // namespace valdris
