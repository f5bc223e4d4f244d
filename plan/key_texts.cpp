// SPDX-License-Identifier: Apache-2.0
#include "key_texts.h"

#include <cctype>

#include "text_forms.h"

namespace valdris {
namespace {

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t k = 0; k < text.size(); ++k) {
        const char c = text[k];
        if (c == '\r' || c == '\n') {
            lines.push_back(std::move(line));
            line.clear();
            if (c == '\r' && k + 1 < text.size() && text[k + 1] == '\n') ++k;
        } else {
            line += c;
        }
    }
    lines.push_back(std::move(line));
    return lines;
}

std::vector<std::string> SplitCells(const std::string& line, char separator) {
    std::vector<std::string> cells;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = line.find(separator, start);
        cells.push_back(Trimmed(std::string_view(line).substr(start, end - start)));
        if (end == std::string::npos) return cells;
        start = end + 1;
    }
}

}  // namespace

char AccessKeyOf(std::string_view text) {
    for (std::size_t k = 0; k + 1 < text.size(); ++k) {
        if (text[k] != '&') continue;
        if (text[k + 1] == '&') {
            ++k;
            continue;
        }
        return static_cast<char>(std::tolower(static_cast<unsigned char>(text[k + 1])));
    }
    return '\0';
}

std::vector<std::string> RepeatedAccessKeys(const std::vector<std::string>& texts) {
    std::vector<std::string> repeats;
    for (std::size_t k = 0; k < texts.size(); ++k) {
        const char key = AccessKeyOf(texts[k]);
        if (key == '\0') continue;
        for (std::size_t earlier = 0; earlier < k; ++earlier) {
            if (AccessKeyOf(texts[earlier]) != key) continue;
            repeats.push_back(texts[k] + " repeats Alt+" + std::string(1, static_cast<char>(std::toupper(key))) +
                              " of " + texts[earlier]);
            break;
        }
    }
    return repeats;
}

Outcome<PastedRows> ReadPastedRows(std::string_view text, std::size_t columns) {
    const std::vector<std::string> lines = SplitLines(text);
    const auto any_has = [&](char c) {
        for (const std::string& line : lines) {
            if (line.find(c) != std::string::npos) return true;
        }
        return false;
    };
    const char separator = any_has('\t') ? '\t' : any_has(';') ? ';' : ',';
    PastedRows pasted;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        if (Trimmed(lines[k]).empty()) continue;
        std::vector<std::string> cells = SplitCells(lines[k], separator);
        if (cells.size() > columns) {
            return Outcome<PastedRows>::Failure(
                RefusalKind::PastedRowTooWide,
                "Line " + std::to_string(k + 1) + " of the pasted text has " + std::to_string(cells.size()) +
                    " cells; the table has " + std::to_string(columns) + " columns. Nothing was pasted.");
        }
        cells.resize(columns);
        pasted.rows.push_back(std::move(cells));
    }
    return pasted;
}

}  // namespace valdris
