// SPDX-License-Identifier: Apache-2.0
#include "measurement_text.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <iterator>
#include <optional>
#include <unordered_map>
#include <utility>

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

// The non-blank lines of a text one at a time, ended by LF, CRLF or CR, so
// that a text of many lines costs no more memory than the values kept from
// it; a UTF-8 byte order mark, which spreadsheets write, is not part of the
// first line.
class LineCursor {
public:
    explicit LineCursor(std::string_view text) : text_(WithoutByteOrderMark(text)) {}

    // The next non-blank line, or false at the end of the text.
    bool Next(Line& line) {
        while (start_ <= text_.size()) {
            std::size_t end = start_;
            while (end < text_.size() && text_[end] != '\n' && text_[end] != '\r') ++end;
            line = {number_, text_.substr(start_, end - start_)};
            start_ = end + (end + 1 < text_.size() && text_[end] == '\r' && text_[end + 1] == '\n' ? 2 : 1);
            ++number_;
            if (!Trim(line.text).empty()) return true;
        }
        return false;
    }

    // How far into the text the lines taken reach.
    std::size_t Position() const { return start_; }

    static std::string_view WithoutByteOrderMark(std::string_view text) {
        if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
        return text;
    }

private:
    std::string_view text_;
    std::size_t start_ = 0;
    std::size_t number_ = 1;
};

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

// The first code point of a UTF-8 text (an ASCII byte, or a sequence the
// first bytes of which say its length); nothing when the bytes are no UTF-8.
std::optional<char32_t> FirstCodePoint(std::string_view text) {
    if (text.empty()) return std::nullopt;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    const std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || text.size() < length) return std::nullopt;
    char32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return std::nullopt;
        code = (code << 6) | (byte(i) & 0x3F);
    }
    return code;
}

// A decimal digit of any script: the zeros of the Unicode runs of ten
// decimal digits (general category Nd), and the mathematical digits, five
// runs of ten from U+1D7CE.
bool IsDecimalDigit(char32_t c) {
    static constexpr char32_t kZeros[] = {
        0x30,    0x660,   0x6F0,   0x7C0,   0x966,   0x9E6,   0xA66,   0xAE6,   0xB66,   0xBE6,   0xC66,
        0xCE6,   0xD66,   0xDE6,   0xE50,   0xED0,   0xF20,   0x1040,  0x1090,  0x17E0,  0x1810,  0x1946,
        0x19D0,  0x1A80,  0x1A90,  0x1B50,  0x1BB0,  0x1C40,  0x1C50,  0xA620,  0xA8D0,  0xA900,  0xA9D0,
        0xA9F0,  0xAA50,  0xABF0,  0xFF10,  0x104A0, 0x10D30, 0x11066, 0x110F0, 0x11136, 0x111D0, 0x112F0,
        0x11450, 0x114D0, 0x11650, 0x116C0, 0x11730, 0x118E0, 0x11950, 0x11C50, 0x11D50, 0x11DA0, 0x11F50,
        0x16A60, 0x16AC0, 0x16B50, 0x1E140, 0x1E2F0, 0x1E4F0, 0x1E950, 0x1FBF0};
    if (c >= 0x1D7CE && c <= 0x1D7FF) return true;
    return std::any_of(std::begin(kZeros), std::end(kZeros), [c](char32_t zero) { return c >= zero && c < zero + 10; });
}

// A value mistyped or cut short still begins as a number does: with a digit
// of any script, a sign or a point.
bool BeginsLikeANumber(std::string_view field) {
    if (field.empty()) return false;
    if (field[0] == '+' || field[0] == '-' || field[0] == '.') return true;
    const std::optional<char32_t> first = FirstCodePoint(field);
    return first && IsDecimalDigit(*first);
}

// What a spreadsheet writes into a cell whose formula failed.
bool BeginsLikeAnErrorCode(std::string_view field) {
    static constexpr std::string_view kCodes[] = {"#n/a", "#value!", "#ref!", "#div/0!", "#num!", "#name?",
                                                  "#null!", "#spill!", "#calc!", "#getting_data", "#field!",
                                                  "#blocked!", "#busy!", "#connect!", "#unknown!"};
    if (field.empty() || field[0] != '#') return false;
    const std::string lower = Lower(field.substr(0, 16));
    return std::any_of(std::begin(kCodes), std::end(kCodes),
                       [&](std::string_view code) { return lower.compare(0, code.size(), code) == 0; });
}

// A header names something: it holds a letter and begins as a name does. A
// first line that begins like a number ("0.4o", "5 Bq", "1e+") or an error
// code ("#N/A") is a mistyped value, refused as it would be on any other
// line rather than dropped as a header.
bool CanBeHeader(const std::string& field) {
    const bool has_letter = std::any_of(field.begin(), field.end(), [](unsigned char c) {
        return std::isalpha(c) || c >= 0x80;
    });
    return has_letter && !BeginsLikeANumber(field) && !BeginsLikeAnErrorCode(field) && !NamesNonFiniteValue(field);
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
    std::string header_text;
};

// The one column of the header line headed `column` (case and blanks aside).
std::optional<Refusal> FindColumn(const std::vector<std::string>& fields, const std::string& column,
                                  const Line& first, const std::string& source, std::size_t& index) {
    const auto named = [&](const std::string& f) { return Lower(f) == Lower(Trim(column)); };
    const auto found = std::find_if(fields.begin(), fields.end(), named);
    if (found == fields.end()) {
        return Refused(source, first.number, "no column is headed " + Quoted(column) + ".");
    }
    if (std::find_if(found + 1, fields.end(), named) != fields.end()) {
        return Refused(source, first.number, "two columns are headed " + Quoted(column) + ".");
    }
    index = static_cast<std::size_t>(found - fields.begin());
    return std::nullopt;
}

std::optional<Refusal> ChooseColumn(const Line& first, const std::string& source, const std::string& column,
                                    Layout& layout) {
    const std::vector<std::string> fields = Fields(first.text, layout.separator);
    if (!column.empty()) {
        if (auto refusal = FindColumn(fields, column, first, source, layout.column)) return refusal;
        const auto found = fields.begin() + static_cast<std::ptrdiff_t>(layout.column);
        layout.chosen = true;
        layout.header = true;
        layout.header_text = *found;
        return std::nullopt;
    }
    if (!OnlyCellUsed(fields, 0)) {
        return Refused(source, first.number,
                       std::to_string(fields.size()) + " columns; give one column of numbers, or choose a column "
                       "by its header.");
    }
    layout.header = CanBeHeader(fields[0]);
    if (layout.header) layout.header_text = fields[0];
    return std::nullopt;
}

// The field a line holds at the column read: without quotes or the
// separator, the line itself (the common case, taken without copying).
struct LineFields {
    bool nul = false;  // the line holds a NUL byte
    std::vector<std::string> fields;
    std::string_view only;  // the one field, when fields is empty
};

// One pass over the line finds a NUL byte, a quote and the separator.
LineFields Split(std::string_view line, char separator) {
    LineFields split;
    bool plain = true;
    for (const char c : line) {
        if (c == '\0') {
            split.nul = true;
            return split;
        }
        if (c == '"' || c == separator) plain = false;
    }
    if (plain) {
        split.only = Trim(line);
    } else {
        split.fields = Fields(line, separator);
    }
    return split;
}

Refusal NulRefusal(const std::string& source, std::size_t line) {
    return Refused(source, line, "the line holds a NUL byte; measurements are text.");
}

// Both readers' first step: a NUL in the first line refuses the text before
// it could pass for a header, and the separator is the text's.
std::optional<Refusal> ReadFirstLine(std::string_view text, const Line& first, const std::string& source,
                                     char& separator) {
    if (first.text.find('\0') != std::string_view::npos) return NulRefusal(source, first.number);
    separator = Separator(LineCursor::WithoutByteOrderMark(text));
    return std::nullopt;
}

// A finite number first: that is nearly every line, and no text that names a
// value that is no finite number reads as one.
std::optional<Refusal> ReadValue(std::string_view field, const Line& line, const std::string& source,
                                 std::vector<double>& values) {
    if (const std::optional<double> value = StrictNumber(field)) {
        values.push_back(*value);
        return std::nullopt;
    }
    const std::string text(field);
    if (NamesNonFiniteValue(text)) return Refused(source, line.number, Quoted(text) + " is not a finite number.");
    return Refused(source, line.number, Quoted(text) + " is not a number.");
}

// The value of one line, nothing for an empty cell, or the refusal.
std::optional<Refusal> ReadLine(const Line& line, const Layout& layout, const std::string& source,
                                std::vector<double>& values) {
    const LineFields split = Split(line.text, layout.separator);
    if (split.nul) return NulRefusal(source, line.number);
    std::string_view field = split.only;
    if (!split.fields.empty()) {
        if (!layout.chosen && !OnlyCellUsed(split.fields, layout.column)) {
            return Refused(source, line.number,
                           std::to_string(split.fields.size()) + " columns; one column of numbers is expected.");
        }
        if (layout.column >= split.fields.size()) return std::nullopt;
        field = split.fields[layout.column];
    } else if (layout.column > 0) {
        return std::nullopt;
    }
    if (field.empty()) return std::nullopt;
    return ReadValue(field, line, source, values);
}

// A header to be shown on a screen, a terminal or in JSON: a control
// character, which could move the cursor or hide text, as "?", and a long one
// cut where a UTF-8 character begins.
std::string ShownHeader(std::string_view header) {
    std::string shown;
    std::size_t end = header.size();
    if (end > kLongestShownHeader) {
        end = kLongestShownHeader;
        while (end > 0 && (static_cast<unsigned char>(header[end]) & 0xC0) == 0x80) --end;
    }
    for (const char c : header.substr(0, end)) shown += IsControlCharacter(c) ? '?' : c;
    return end < header.size() ? shown + "..." : shown;
}

// The first non-blank line, or nothing for a text without one.
std::optional<Line> FirstLine(std::string_view text) {
    LineCursor cursor(text);
    Line line;
    if (!cursor.Next(line)) return std::nullopt;
    return line;
}

// The columns of a file of placed measurements, by the header line.
struct PlacedLayout {
    char separator = '\0';
    std::size_t value = 0;
    std::optional<std::size_t> id;
    std::optional<std::size_t> x;
    std::optional<std::size_t> y;
    std::string header_text;
};

std::optional<Refusal> FindPlaceColumns(const std::vector<std::string>& fields, const PlaceColumns& place,
                                        const Line& first, const std::string& source, PlacedLayout& layout) {
    const std::pair<const std::string*, std::optional<std::size_t>*> named[] = {
        {&place.id, &layout.id}, {&place.x, &layout.x}, {&place.y, &layout.y}};
    for (const auto& [name, index] : named) {
        if (name->empty()) continue;
        std::size_t found = 0;
        if (auto refusal = FindColumn(fields, *name, first, source, found)) return refusal;
        *index = found;
    }
    if (layout.x && layout.y && *layout.x == *layout.y) {
        return Refused(source, first.number, "x and y cannot be the same column " + Quoted(place.x) + ".");
    }
    return std::nullopt;
}

bool IsPlaceColumn(const PlacedLayout& layout, std::size_t k) { return layout.id == k || layout.x == k || layout.y == k; }

// The value column: the one named, or the only other column with a header.
std::optional<Refusal> FindValueColumn(const std::vector<std::string>& fields, const std::string& column,
                                       const Line& first, const std::string& source, PlacedLayout& layout) {
    if (!column.empty()) {
        if (auto refusal = FindColumn(fields, column, first, source, layout.value)) return refusal;
        if (IsPlaceColumn(layout, layout.value)) {
            return Refused(source, first.number, "the column " + Quoted(column) + " tells where, not what, was measured.");
        }
        return std::nullopt;
    }
    std::vector<std::size_t> others;
    for (std::size_t k = 0; k < fields.size(); ++k) {
        if (!IsPlaceColumn(layout, k) && !fields[k].empty()) others.push_back(k);
    }
    if (others.size() != 1) {
        return Refused(source, first.number, std::to_string(others.size()) +
                                                 " columns besides where each value was taken; choose the column "
                                                 "of the measurements by its header.");
    }
    layout.value = others.front();
    return std::nullopt;
}

std::optional<Refusal> ReadCoordinate(const std::vector<std::string>& fields, std::size_t k, const char* axis,
                                      const Line& line, const std::string& source, double& coordinate) {
    const std::string field = k < fields.size() ? fields[k] : std::string();
    const std::optional<double> value = StrictNumber(field);
    if (!value) {
        return Refused(source, line.number, std::string(axis) + " " + Quoted(field) + " is not a finite number.");
    }
    coordinate = *value;
    return std::nullopt;
}

// One line's value and its id or place; nothing for a line without a value.
std::optional<Refusal> ReadPlacedLine(const Line& line, const PlacedLayout& layout, const std::string& source,
                                      PlacedMeasurements& read, std::unordered_map<std::string, std::size_t>& lines) {
    LineFields split = Split(line.text, layout.separator);
    if (split.nul) return NulRefusal(source, line.number);
    if (split.fields.empty()) split.fields.emplace_back(split.only);
    const std::vector<std::string>& fields = split.fields;
    if (layout.value >= fields.size() || fields[layout.value].empty()) return std::nullopt;
    std::vector<double>& values = read.measurements.values;
    if (auto refusal = ReadValue(fields[layout.value], line, source, values)) return refusal;
    if (layout.id) {
        const std::string id = *layout.id < fields.size() ? fields[*layout.id] : std::string();
        if (id.empty()) return Refused(source, line.number, "the value " + Quoted(fields[layout.value]) + " has no id.");
        const auto [earlier, first_time] = lines.emplace(id, line.number);
        if (!first_time) {
            return Refused(source, line.number,
                           "the id " + Quoted(id) + " is given twice (line " + std::to_string(earlier->second) + " too).");
        }
        read.ids.push_back(id);
        return std::nullopt;
    }
    GridPoint at;
    if (auto refusal = ReadCoordinate(fields, *layout.x, "x", line, source, at.x)) return refusal;
    if (auto refusal = ReadCoordinate(fields, *layout.y, "y", line, source, at.y)) return refusal;
    read.places.push_back(at);
    return std::nullopt;
}

}  // namespace

std::vector<std::string> ColumnHeaders(std::string_view text) {
    const std::optional<Line> first = FirstLine(text);
    if (!first) return {};
    const std::vector<std::string> fields = Fields(first->text, Separator(LineCursor::WithoutByteOrderMark(text)));
    if (OnlyCellUsed(fields, 0)) return {};
    std::vector<std::string> headers;
    for (const std::string& field : fields) {
        if (CanBeHeader(field)) headers.push_back(field);
    }
    if (headers.size() < 2) return {};
    return headers;
}

std::size_t FirstNumberColumn(std::string_view text) {
    LineCursor lines(text);
    Line first;
    Line second;
    if (!lines.Next(first) || !lines.Next(second)) return 0;
    const char separator = Separator(LineCursor::WithoutByteOrderMark(text));
    const std::vector<std::string> headers = Fields(first.text, separator);
    const std::vector<std::string> cells = Fields(second.text, separator);
    std::size_t offered = 0;
    for (std::size_t k = 0; k < headers.size(); ++k) {
        if (!CanBeHeader(headers[k])) continue;
        if (k < cells.size() && StrictNumber(cells[k])) return offered;
        ++offered;
    }
    return 0;
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

// Line by line, keeping only the values: reading stops at the first refused
// line, and one value past the most a unit takes.
MeasurementReading ReadMeasurements(std::string_view text, const std::string& source, const std::string& column,
                                    const ReadProgress& progress) {
    LineCursor cursor(text);
    Line line;
    Layout layout;
    if (cursor.Next(line)) {
        if (auto refusal = ReadFirstLine(text, line, source, layout.separator)) return *refusal;
        if (auto refusal = ChooseColumn(line, source, column, layout)) return *refusal;
        if (!layout.header) cursor = LineCursor(text);
    }
    std::vector<double> values;
    ReadTicker ticker(progress, text.size());
    while (values.size() <= kMostMeasurements && cursor.Next(line)) {
        if (!ticker.GoOn(cursor.Position())) return ReadCancelledRefusal();
        if (auto refusal = ReadLine(line, layout, source, values)) return *refusal;
    }
    if (auto refusal = MeasurementCountRefusal(values.size(), source)) return *refusal;
    return Measurements{std::move(values), ShownHeader(layout.header_text)};
}

// The header line names the columns; then line by line as ReadMeasurements.
PlacedReading ReadPlacedMeasurements(std::string_view text, const std::string& source, const std::string& column,
                                     const PlaceColumns& place, const ReadProgress& progress) {
    if (place.empty() || (!place.by_id() && (place.x.empty() || place.y.empty()))) {
        return Refusal{RefusalKind::MeasurementLine, source + ": name the id column, or both the x and the y columns.",
                       MessageIcon::Exclamation};
    }
    LineCursor cursor(text);
    Line line;
    PlacedLayout layout;
    if (cursor.Next(line)) {
        if (auto refusal = ReadFirstLine(text, line, source, layout.separator)) return *refusal;
        const std::vector<std::string> fields = Fields(line.text, layout.separator);
        if (auto refusal = FindPlaceColumns(fields, place, line, source, layout)) return *refusal;
        if (auto refusal = FindValueColumn(fields, column, line, source, layout)) return *refusal;
        layout.header_text = fields[layout.value];
    }
    PlacedMeasurements read;
    std::unordered_map<std::string, std::size_t> id_lines;
    ReadTicker ticker(progress, text.size());
    while (read.measurements.values.size() <= kMostMeasurements && cursor.Next(line)) {
        if (!ticker.GoOn(cursor.Position())) return ReadCancelledRefusal();
        if (auto refusal = ReadPlacedLine(line, layout, source, read, id_lines)) return *refusal;
    }
    if (auto refusal = MeasurementCountRefusal(read.measurements.values.size(), source)) return *refusal;
    read.measurements.header = ShownHeader(layout.header_text);
    return read;
}

}  // namespace valdris
