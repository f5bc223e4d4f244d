// SPDX-License-Identifier: Apache-2.0
#include "number_output.h"

#include <charconv>
#include <cstdio>

namespace valdris::cli {

namespace {

template <typename Number>
std::string ToChars(Number value, std::chars_format format, int precision) {
    char buffer[400];  // room for the widest fixed form of a double
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
    return std::string(buffer, result.ptr);
}

}  // namespace

std::string FixedDecimals(double value, int decimals) {
    return ToChars(value, std::chars_format::fixed, decimals);
}

std::string JsonString(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        switch (c) {
            case '"': quoted += "\\\""; break;
            case '\\': quoted += "\\\\"; break;
            case '\n': quoted += "\\n"; break;
            case '\r': quoted += "\\r"; break;
            case '\t': quoted += "\\t"; break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
                    quoted += escape;
                } else {
                    quoted += c;
                }
        }
    }
    return quoted + "\"";
}

std::string OneLine(std::string_view message) {
    std::string line;
    for (std::size_t i = 0; i < message.size(); ++i) {
        if (message[i] == '\r' && i + 1 < message.size() && message[i + 1] == '\n') {
            line += ' ';
            ++i;
        } else if (message[i] == '\n' || message[i] == '\r') {
            line += ' ';
        } else {
            line += message[i];
        }
    }
    return line;
}

}  // namespace valdris::cli
