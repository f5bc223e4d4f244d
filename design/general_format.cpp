// SPDX-License-Identifier: Apache-2.0
// printf's "%.<P>g" in 128-bit integers. A double m x 2^e scaled by 10^k is
// m x 5^k x 2^(e + k): while m x 5^k fits in 128 bits (k up to 32) the
// product is exact, so the P digits and their rounding come from the exact
// value, as in the exact conversions of G. L. Steele and J. L. White, "How to
// print floating-point numbers accurately", PLDI 1990, but without big
// numbers. That covers every decimal exponent from P - 33 to P - 1; other
// values (and subnormals) go the library's general way, which is several
// times slower and gives the same text.

#include "general_format.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace valdris {
namespace {

__extension__ typedef unsigned __int128 Wide;

constexpr int kLargestScale = 32;  // 5^32 < 2^75, and a mantissa < 2^53
constexpr int kMostDigits = 17;

// Tables formed by the compiler: the powers, and the digit pairs 00 to 99.
struct Tables {
    Wide five[kLargestScale + 1];
    std::uint64_t ten[kMostDigits + 1];
    char pairs[200];
    constexpr Tables() : five(), ten(), pairs() {
        five[0] = 1;
        for (int k = 1; k <= kLargestScale; ++k) five[k] = five[k - 1] * 5;
        ten[0] = 1;
        for (int k = 1; k <= kMostDigits; ++k) ten[k] = ten[k - 1] * 10;
        for (int i = 0; i < 100; ++i) {
            pairs[2 * i] = static_cast<char>('0' + i / 10);
            pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
        }
    }
};
constexpr Tables kTables;

// m x 2^e x 10^k as its whole part and that rounded to nearest, ties to
// even; false where the whole part would not fit in 64 bits.
bool Scale(std::uint64_t m, int e, int k, std::uint64_t& whole, std::uint64_t& rounded) {
    const Wide product = Wide(m) * kTables.five[k];
    const int shift = -(e + k);
    if (shift <= 0) {
        if (-shift >= 64 || (product >> (64 + shift)) != 0) return false;
        whole = rounded = static_cast<std::uint64_t>(product << -shift);
        return true;
    }
    if (shift >= 128) return false;
    const Wide kept = product >> shift;
    if ((kept >> 64) != 0) return false;
    const Wide rest = product - (kept << shift);
    const Wide half = Wide(1) << (shift - 1);
    whole = static_cast<std::uint64_t>(kept);
    rounded = whole + ((rest > half || (rest == half && (whole & 1) != 0)) ? 1 : 0);
    return true;
}

// The P digits of a positive normal double and its decimal exponent, or
// false outside the exact range.
bool Digits(std::uint64_t bits, int precision, std::uint64_t& digits, int& exponent) {
    const int biased = static_cast<int>((bits >> 52) & 0x7ff);
    if (biased == 0 || biased == 0x7ff) return false;
    const std::uint64_t m = (bits & ((std::uint64_t(1) << 52) - 1)) | (std::uint64_t(1) << 52);
    const int e = biased - 1075;
    // floor(log10(2) x binary exponent), within one of the decimal exponent;
    // the loop below settles it.
    int k = precision - 1 - ((biased - 1023) * 78913 >> 18);
    const std::uint64_t low = kTables.ten[precision - 1];
    const std::uint64_t high = kTables.ten[precision];
    std::uint64_t whole = 0;
    for (int tries = 0; tries < 3; ++tries) {
        if (k < 0 || k > kLargestScale || !Scale(m, e, k, whole, digits)) return false;
        if (whole >= high) {
            --k;
        } else if (whole < low) {
            ++k;
        } else {
            exponent = precision - 1 - k;
            if (digits == high) {  // rounded up to the next power of ten
                digits = low;
                ++exponent;
            }
            return true;
        }
    }
    return false;
}

char* WriteExponent(char* at, int exponent) {
    *at++ = 'e';
    *at++ = exponent < 0 ? '-' : '+';
    int size = exponent < 0 ? -exponent : exponent;
    if (size >= 100) {
        *at++ = static_cast<char>('0' + size / 100);
        size %= 100;
    }
    *at++ = static_cast<char>('0' + size / 10);
    *at++ = static_cast<char>('0' + size % 10);
    return at;
}

// Eight digits of a value below 10^8, two at a time, by multiplication
// instead of division (T. Granlund and P. L. Montgomery, "Division by
// invariant integers using multiplication", PLDI 1994): y, within 3 above
// value x 2^32 / 10^6, holds the first pair in its top 32 bits, and its low
// 32 bits times 100 hold the next. M = ceil(2^57 / 10^6) keeps value x M in
// 64 bits, and an error of 3 is far inside the 4294 that one unit of value
// spans (every value below 10^8 was checked when this was written).
void EightDigits(char* to, std::uint32_t value) {
    constexpr std::uint64_t kScale = 144115188076;  // ceil(2^57 / 10^6)
    std::uint64_t y = ((value * kScale) >> 25) + 1;
    std::memcpy(to, kTables.pairs + 2 * (y >> 32), 2);
    for (int pair = 1; pair < 4; ++pair) {
        y = static_cast<std::uint32_t>(y) * std::uint64_t{100};
        std::memcpy(to + 2 * pair, kTables.pairs + 2 * (y >> 32), 2);
    }
}

// The digits laid out as %g lays them: trailing zeros dropped, and the point
// with them when nothing follows it. Where the digits follow a point they are
// copied all 17 at once and the end set after the kept ones: a copy of a
// varying length costs a call, more than the bytes (the room holds them).
char* Layout(char* at, std::uint64_t value, int precision, int exponent) {
    // All 17 places of the value, the last P of them its digits, and room
    // after them for the copies of 17.
    char places[2 * kMostDigits] = {};
    const std::uint64_t high = value / 100000000;
    places[0] = static_cast<char>('0' + high / 100000000);
    EightDigits(places + 1, static_cast<std::uint32_t>(high % 100000000));
    EightDigits(places + 9, static_cast<std::uint32_t>(value % 100000000));
    const char* const digits = places + kMostDigits - precision;
    int kept = precision;
    while (kept > 1 && digits[kept - 1] == '0') --kept;
    if (exponent < -4 || exponent >= precision) {
        at[0] = digits[0];
        at[1] = '.';
        std::memcpy(at + 2, digits + 1, kMostDigits - 1);
        at += kept > 1 ? kept + 1 : 1;
        return WriteExponent(at, exponent);
    }
    if (exponent >= 0) {
        const int whole = exponent + 1;
        std::memcpy(at, digits, static_cast<std::size_t>(whole));
        at += whole;
        if (kept > whole) {
            *at++ = '.';
            std::memcpy(at, digits + whole, static_cast<std::size_t>(kept - whole));
            at += kept - whole;
        }
        return at;
    }
    std::memcpy(at, "0.0000", 6);  // up to three zeros after the point
    at += 1 - exponent;
    std::memcpy(at, digits, kMostDigits);
    return at + kept;
}

}  // namespace

char* WriteGeneralNumber(char* out, double value, int precision) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    const bool negative = (bits >> 63) != 0;
    if (value == 0) {
        if (negative) *out++ = '-';
        *out++ = '0';
        return out;
    }
    std::uint64_t digits = 0;
    int exponent = 0;
    if (precision < 1 || precision > kMostDigits || !Digits(bits & ~(std::uint64_t(1) << 63), precision, digits, exponent)) {
        return std::to_chars(out, out + kGeneralNumberRoom, value, std::chars_format::general, precision).ptr;
    }
    if (negative) *out++ = '-';
    return Layout(out, digits, precision, exponent);
}

}  // namespace valdris
