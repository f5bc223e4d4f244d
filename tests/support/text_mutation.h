// SPDX-License-Identifier: Apache-2.0
#pragma once
// Damage done to a valid file for the readers' fuzz tests: bytes flipped,
// cut short, NULs, quotes, braces, huge numbers and pieces written twice or
// taken out, drawn from a seeded generator so that a seed makes the same
// file again.

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <random>
#include <string>

namespace valdris {

// Text put in at a random place: what damages a JSON or CSV reader most.
inline const char* const kInsertions[] = {
    "\0", "\"", "{", "}", "[", "]", ",", ":", "\\", "1e400", "-1e309", "1e-400", "nan", "NaN", "Infinity",
    "-inf", "99999999999999999999999999", "9007199254740993", "-0", "0x10", "\xff", "\xc3", "\r", "\n", "\t",
    "\"name\": \"A\", ", "\"alpha\": 0.05, ", "\"survey_data\": [1, 2], ", "\"units\": [], ",
};

inline std::size_t Below(std::mt19937_64& random, std::size_t n) {
    return n == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
}

// A number put in place of a digit: a figure changed, perhaps beyond its
// limits, that leaves the file well formed.
inline const char* const kFigures[] = {"0", "7", "-1", "1e308", "1e-320", "4294967296", "0.5", "100000001"};

// Mostly one mutation of the text, now and then up to four.
inline std::string Mutate(std::string text, std::mt19937_64& random) {
    const std::size_t count = Below(random, 4) == 0 ? 1 + Below(random, 4) : 1;
    for (std::size_t m = 0; m < count; ++m) {
        const std::size_t at = Below(random, text.size() + 1);
        switch (Below(random, 6)) {
            case 5: {  // a figure changed
                const std::size_t digit = text.find_first_of("0123456789", at);
                if (digit != std::string::npos) text.replace(digit, 1, kFigures[Below(random, std::size(kFigures))]);
                break;
            }
            case 0:  // a bit flipped
                if (at < text.size()) text[at] = static_cast<char>(text[at] ^ (1 << Below(random, 8)));
                break;
            case 1:  // cut short
                text.resize(at);
                break;
            case 2: {  // a token put in
                const char* token = kInsertions[Below(random, std::size(kInsertions))];
                text.insert(at, *token == '\0' ? std::string(1, '\0') : std::string(token));
                break;
            }
            case 3: {  // a piece written twice (a key, a unit, a row)
                const std::size_t length = Below(random, std::min<std::size_t>(text.size() - at, 64) + 1);
                text.insert(Below(random, text.size() + 1), text.substr(at, length));
                break;
            }
            default:  // a piece taken out
                text.erase(at, Below(random, 16));
                break;
        }
    }
    return text;
}

}  // namespace valdris
