// SPDX-License-Identifier: Apache-2.0
#include "measurement_text.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "number_text.h"

namespace valdris {
namespace {

// Longer fields are cut in messages, so one bad line cannot flood them.
constexpr std::size_t kQuotedFieldLength = 40;

struct Line {
    std::size_t number = 0;  // from 1, counting blank lines too
    std::string_view text;
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// Lines ended by LF, CRLF or CR, blank ones left out; a UTF-8 byte order
// mark, which spreadsheets write, is not part of the first line.
std::vector<Line> NonBlankLines(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    std::vector<Line> lines;
    std::size_t number = 1;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const bool end = i == text.size() || text[i] == '\n' || text[i] == '\r';
        if (!end) continue;
        const std::string_view line = text.substr(start, i - start);
        if (!Trim(line).empty()) lines.push_back({number, line});
        if (i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n') ++i;
        ++number;
        start = i + 1;
    }
    return lines;
}

// A tab, a semicolon or a comma separates the columns, the first of them the
// text has anywhere: a decimal comma then shows as a second column or a field
// that is no number, never as a different value.
char Separator(std::string_view text) {
    for (const char c : {'\t', ';', ','}) {
        if (text.find(c) != std::string_view::npos) return c;
    }
    return '\0';
}

// Fields as CSV writes them: a quoted field may hold the separator, and ""
// inside quotes is one quote.
std::vector<std::string> Fields(std::string_view line, char separator) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"' && quoted && i + 1 < line.size() && line[i + 1] == '"') {
            fields.back() += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == separator && !quoted && separator != '\0') {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    for (std::string& field : fields) field = std::string(Trim(field));
    return fields;
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

std::string Quoted(std::string_view field) {
    std::string shown(field.substr(0, kQuotedFieldLength));
    for (char& c : shown) {
        if (static_cast<unsigned char>(c) < 0x20) c = '?';
    }
    return "\"" + shown + (field.size() > kQuotedFieldLength ? "...\"" : "\"");
}

Refusal Refused(const std::string& source, std::size_t line, const std::string& what) {
    return Refusal{RefusalKind::MeasurementLine, source + ", line " + std::to_string(line) + ": " + what, MessageIcon::Exclamation};
}

// Words programs write for a value that is no finite number, and numbers too
// large for a double.
bool NamesNonFiniteValue(const std::string& field) {
    const bool signed_word = !field.empty() && (field[0] == '+' || field[0] == '-');
    const std::string word = Lower(signed_word ? field.substr(1) : field);
    if (word == "nan" || word == "inf" || word == "infinity" || word == "#num!" || word == "#div/0!") return true;
    return std::isinf(LeadingNumber(field));
}

// A header names something: a field with no letter in it ("1.2.3", "-") is a
// mistyped value, which is refused rather than taken for a header.
bool CanBeHeader(const std::string& field) {
    const bool has_letter = std::any_of(field.begin(), field.end(), [](unsigned char c) {
        return std::isalpha(c) || c >= 0x80;
    });
    return has_letter && !StrictNumber(field) && !NamesNonFiniteValue(field);
}

// Cells other than the one read hold nothing.
bool OnlyCellUsed(const std::vector<std::string>& fields, std::size_t column) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i != column && !fields[i].empty()) return false;
    }
    return true;
}

// Where the numbers are: the header's column, or the only one there is.
struct Layout {
    char separator = '\0';
    std::size_t column = 0;
    bool chosen = false;  // by its header, among other columns
    bool header = false;
};

std::optional<Refusal> ChooseColumn(const Line& first, const std::string& source, const std::string& column,
                                    Layout& layout) {
    const std::vector<std::string> fields = Fields(first.text, layout.separator);
    if (!column.empty()) {
        const auto named = [&](const std::string& f) { return Lower(f) == Lower(Trim(column)); };
        const auto found = std::find_if(fields.begin(), fields.end(), named);
        if (found == fields.end()) {
            return Refused(source, first.number, "no column is headed " + Quoted(column) + ".");
        }
        if (std::find_if(found + 1, fields.end(), named) != fields.end()) {
            return Refused(source, first.number, "two columns are headed " + Quoted(column) + ".");
        }
        layout.column = static_cast<std::size_t>(found - fields.begin());
        layout.chosen = true;
        layout.header = true;
        return std::nullopt;
    }
    if (!OnlyCellUsed(fields, 0)) {
        return Refused(source, first.number,
                       std::to_string(fields.size()) + " columns; give one column of numbers, or choose a column "
                       "by its header.");
    }
    layout.header = CanBeHeader(fields[0]);
    return std::nullopt;
}

// The value of one line, nothing for an empty cell, or the refusal.
std::optional<Refusal> ReadLine(const Line& line, const Layout& layout, const std::string& source,
                                std::vector<double>& values) {
    const std::vector<std::string> fields = Fields(line.text, layout.separator);
    if (!layout.chosen && !OnlyCellUsed(fields, layout.column)) {
        return Refused(source, line.number, std::to_string(fields.size()) + " columns; one column of numbers is expected.");
    }
    if (layout.column >= fields.size() || fields[layout.column].empty()) return std::nullopt;
    const std::string& field = fields[layout.column];
    if (NamesNonFiniteValue(field)) return Refused(source, line.number, Quoted(field) + " is not a finite number.");
    const std::optional<double> value = StrictNumber(field);
    if (!value) return Refused(source, line.number, Quoted(field) + " is not a number.");
    values.push_back(*value);
    return std::nullopt;
}

}  // namespace

std::vector<std::string> ColumnHeaders(std::string_view text) {
    const std::vector<Line> lines = NonBlankLines(text);
    if (lines.empty()) return {};
    const std::vector<std::string> fields = Fields(lines.front().text, Separator(text));
    if (OnlyCellUsed(fields, 0)) return {};
    std::vector<std::string> headers;
    for (const std::string& field : fields) {
        if (CanBeHeader(field)) headers.push_back(field);
    }
    if (headers.size() < 2) return {};
    return headers;
}

std::optional<Refusal> MeasurementCountRefusal(std::size_t count, const std::string& source) {
    if (count == 0) return Refusal{RefusalKind::MeasurementsNone, source + ": no measurements (the column is empty).", MessageIcon::Exclamation};
    if (count < 2) {
        return Refusal{RefusalKind::MeasurementsTooFew, source + ": only one measurement; at least two are needed.", MessageIcon::Exclamation};
    }
    if (count > kMostMeasurements) {
        return Refusal{RefusalKind::MeasurementsTooMany, source + ": more than " + std::to_string(kMostMeasurements) + " measurements.",
                       MessageIcon::Exclamation};
    }
    return std::nullopt;
}

Outcome<std::vector<double>> ReadMeasurements(std::string_view text, const std::string& source,
                                              const std::string& column) {
    const std::vector<Line> lines = NonBlankLines(text);
    Layout layout;
    if (!lines.empty()) {
        layout.separator = Separator(text);
        if (auto refusal = ChooseColumn(lines.front(), source, column, layout)) return *refusal;
    }
    std::vector<double> values;
    for (std::size_t i = layout.header ? 1 : 0; i < lines.size(); ++i) {
        if (auto refusal = ReadLine(lines[i], layout, source, values)) return *refusal;
        if (values.size() > kMostMeasurements) break;
    }
    if (auto refusal = MeasurementCountRefusal(values.size(), source)) return *refusal;
    return values;
}

}  // namespace valdris
