// SPDX-License-Identifier: Apache-2.0
#include "file_names.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>

namespace valdris {

bool HasFileSuffix(const std::string& path, const std::string& suffix) {
    if (path.size() <= suffix.size()) return false;
    return std::equal(suffix.begin(), suffix.end(), path.end() - static_cast<std::ptrdiff_t>(suffix.size()),
                      [](char a, char b) {
                          return std::tolower(static_cast<unsigned char>(a)) ==
                                 std::tolower(static_cast<unsigned char>(b));
                      });
}

std::string WithFileSuffix(const std::string& path, const std::string& suffix) {
    return HasFileSuffix(path, suffix) ? path : path + suffix;
}

NameToSave NameToSaveAs(const std::string& chosen, const std::string& suffix) {
    if (HasFileSuffix(chosen, suffix)) return {chosen, false};
    const std::string path = chosen + suffix;
    std::error_code error;
    // A link, even a dangling one, is something there: the writer refuses it
    // later, but the question comes first.
    const bool there = std::filesystem::symlink_status(path, error).type() != std::filesystem::file_type::not_found;
    return {path, there && !error};
}

std::string ReportFileName(const std::string& path) { return WithFileSuffix(path, kReportSuffix); }

std::string FileNameStem(const std::string& text, const std::string& fallback) {
    std::string stem;
    bool blank = false;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        // Bytes from 0x80 are parts of UTF-8 characters, which may stand.
        const bool refused = byte < 0x20 || byte == 0x7f || std::strchr("/\\:*?\"<>|", c) != nullptr;
        if (refused || c == ' ') {
            blank = !stem.empty();
            continue;
        }
        if (c == '.' && stem.empty()) continue;
        if (blank) stem += ' ';
        blank = false;
        stem += c;
    }
    return stem.empty() ? fallback : stem;
}

}  // namespace valdris
