// SPDX-License-Identifier: Apache-2.0
#include "concentration_unit.h"

#include <cstdint>

namespace valdris {
namespace {

// The code point starting at text[at] and its length in bytes, or nothing
// when the bytes there are not well-formed UTF-8 (overlong forms and
// surrogates included).
struct CodePoint {
    char32_t value;
    std::size_t length;
};

std::optional<CodePoint> DecodeAt(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(text[at + k]); };
    const std::uint8_t lead = byte(0);
    if (lead < 0x80) return CodePoint{lead, 1};
    std::size_t length = 0;
    char32_t value = 0;
    char32_t smallest = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, value = lead & 0x1F, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, value = lead & 0x0F, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, value = lead & 0x07, smallest = 0x10000;
    } else {
        return std::nullopt;
    }
    if (text.size() - at < length) return std::nullopt;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(k) & 0xC0) != 0x80) return std::nullopt;
        value = (value << 6) | (byte(k) & 0x3F);
    }
    if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return std::nullopt;
    return CodePoint{value, length};
}

// C0, DEL and C1 controls, and the Unicode line and paragraph separators.
bool IsControl(char32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029; }

}  // namespace

std::optional<std::string> ConcentrationUnitProblem(std::string_view text) {
    std::size_t characters = 0;
    for (std::size_t at = 0; at < text.size();) {
        const auto point = DecodeAt(text, at);
        if (!point) return std::string("the unit of concentration is not UTF-8 text.");
        if (IsControl(point->value)) {
            return std::string("the unit of concentration holds a control character (a line break or a tab).");
        }
        at += point->length;
        ++characters;
    }
    if (characters > kMostConcentrationUnitCharacters) {
        return "the unit of concentration has more than " + std::to_string(kMostConcentrationUnitCharacters) +
               " characters.";
    }
    return std::nullopt;
}

std::string WithUnit(const std::string& figure, const std::string& unit) {
    return unit.empty() ? figure : figure + " " + unit;
}

}  // namespace valdris
