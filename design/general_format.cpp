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
#include <iterator>

namespace valdris {
namespace {

__extension__ typedef unsigned __int128 Wide;

constexpr int kLargestScale = 32;  // 5^32 < 2^75, and a mantissa < 2^53
constexpr int kLargestWordScale = 27;  // 5^27 < 2^64
constexpr int kMostDigits = 17;

// Tables formed by the compiler: the powers of five and of ten.
struct Tables {
    Wide five[kLargestScale + 1];
    std::uint64_t ten[kMostDigits + 1];
    constexpr Tables() : five(), ten() {
        five[0] = 1;
        for (int k = 1; k <= kLargestScale; ++k) five[k] = five[k - 1] * 5;
        ten[0] = 1;
        for (int k = 1; k <= kMostDigits; ++k) ten[k] = ten[k - 1] * 10;
    }
};
constexpr Tables kTables;

// 10^-20 to 10^20 as the nearest doubles.
constexpr int kFirstPower = -20;
constexpr int kLastPower = 20;
constexpr double kPowersOfTen[] = {
    1e-20, 1e-19, 1e-18, 1e-17, 1e-16, 1e-15, 1e-14, 1e-13, 1e-12, 1e-11, 1e-10, 1e-9, 1e-8, 1e-7,
    1e-6,  1e-5,  1e-4,  1e-3,  1e-2,  1e-1,  1e0,   1e1,   1e2,   1e3,   1e4,   1e5,  1e6,  1e7,
    1e8,   1e9,   1e10,  1e11,  1e12,  1e13,  1e14,  1e15,  1e16,  1e17,  1e18,  1e19, 1e20,
};
static_assert(std::size(kPowersOfTen) == kLastPower - kFirstPower + 1);

// m x 2^e x 10^k as its whole part and that rounded to nearest, ties to
// even; false where the whole part would not fit in 64 bits.
bool Scale(std::uint64_t m, int e, int k, std::uint64_t& whole, std::uint64_t& rounded) {
    const int shift = -(e + k);
    // The usual case in 64-bit parts: 5^k in one word, and the part shifted
    // out (and its half) within the low word of the product.
    if (k <= kLargestWordScale && shift > 0 && shift < 64) {
        const Wide product = Wide(m) * static_cast<std::uint64_t>(kTables.five[k]);
        const Wide kept = product >> shift;
        if ((kept >> 64) != 0) return false;
        const std::uint64_t rest = static_cast<std::uint64_t>(product) & ((std::uint64_t{1} << shift) - 1);
        const std::uint64_t half = std::uint64_t{1} << (shift - 1);
        whole = static_cast<std::uint64_t>(kept);
        const bool up = (rest > half) | ((rest == half) & ((whole & 1) != 0));
        rounded = whole + static_cast<std::uint64_t>(up);
        return true;
    }
    const Wide product = Wide(m) * kTables.five[k];
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
    // Without branches: which way a value rounds is as good as random.
    const bool up = (rest > half) | ((rest == half) & ((whole & 1) != 0));
    rounded = whole + static_cast<std::uint64_t>(up);
    return true;
}

// The P digits of a positive normal double and its decimal exponent, or
// false outside the exact range.
bool Digits(std::uint64_t bits, int precision, std::uint64_t& digits, int& exponent) {
    const int biased = static_cast<int>((bits >> 52) & 0x7ff);
    if (biased == 0 || biased == 0x7ff) return false;
    const std::uint64_t m = (bits & ((std::uint64_t(1) << 52) - 1)) | (std::uint64_t(1) << 52);
    const int e = biased - 1075;
    // floor(log10(2) x binary exponent) is the decimal exponent or one
    // below it; a comparison with the next power of ten (as a double, so
    // not exact beside it) nearly always settles which, and the loop below
    // settles the rest.
    int decimal = (biased - 1023) * 78913 >> 18;
    if (decimal >= kFirstPower && decimal < kLastPower) {
        double value = 0;
        std::memcpy(&value, &bits, sizeof value);
        decimal += static_cast<int>(value >= kPowersOfTen[decimal + 1 - kFirstPower]);
    }
    int k = precision - 1 - decimal;
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

// Eight digits of a value below 10^8 as eight bytes of 0 to 9, the first
// digit in the lowest byte: the value split into halves, quarters and
// eighths side by side in one register (SIMD within a register; R. J. Fisher
// and H. G. Dietz, "Compiling for SIMD within a register", LCPC 1998), each
// quotient by multiplication (T. Granlund and P. L. Montgomery, "Division by
// invariant integers using multiplication", PLDI 1994): x / 100 as
// x 10486 / 2^20 for x below 10^4, x / 10 as x 103 / 2^10 for x below 100.
// Every value below 10^8 was checked when this was written.
std::uint64_t EightDigits(std::uint32_t value) {
    const std::uint64_t halves = value / 10000 | std::uint64_t{value % 10000} << 32;
    const std::uint64_t hundreds = (halves * 10486 >> 20) & 0x0000007f0000007f;
    const std::uint64_t quarters = hundreds | (halves - 100 * hundreds) << 16;
    const std::uint64_t tens = (quarters * 103 >> 10) & 0x000f000f000f000f;
    return tens | (quarters - 10 * tens) << 8;
}

// The 17 places of a value below 10^17: the first digit, and the next 16 as
// bytes of 0 to 9 in order from the lowest (two blocks of eight).
struct Places {
    char first;
    Wide rest;
};
Places PlacesOf(std::uint64_t value) {
    constexpr std::uint32_t kBlock = 100000000;
    // Two short steps: the last eight, then the first nine (within 32 bits).
    const std::uint64_t first_nine = value / kBlock;
    const auto last_eight = static_cast<std::uint32_t>(value - first_nine * kBlock);
    const auto nine = static_cast<std::uint32_t>(first_nine);
    const std::uint32_t first = nine / kBlock;
    const std::uint64_t low = EightDigits(last_eight);
    const std::uint64_t high = EightDigits(nine - first * kBlock);
    return {static_cast<char>('0' + first), Wide(low) << 64 | high};
}

// The places kept: up to the last that is not a zero, the first always.
int KeptPlaces(Wide rest) {
    const auto high = static_cast<std::uint64_t>(rest >> 64);
    const auto low = static_cast<std::uint64_t>(rest);
    if (high != 0) return 10 + (63 - __builtin_clzll(high)) / 8;
    if (low != 0) return 2 + (63 - __builtin_clzll(low)) / 8;
    return 1;
}

// The first `count` of the places (up to 16) as characters at `to`; the
// room after them up to the next block of eight is written over.
void PutPlaces(char* to, Wide places, int count) {
    constexpr std::uint64_t kZeros = 0x3030303030303030;
    const std::uint64_t words[2] = {static_cast<std::uint64_t>(places) | kZeros,
                                    static_cast<std::uint64_t>(places >> 64) | kZeros};
    if (count > 8) {
        std::memcpy(to, words, 16);
    } else {
        std::memcpy(to, words, 8);
    }
}

// The digits laid out as %g lays them: trailing zeros dropped, and the point
// with them when nothing follows it. The digits are put in whole blocks of
// eight and the end set after the kept ones: a copy of a varying length
// costs a call, and digits read back from memory just written stall the
// processor, each more than the bytes (the room holds them).
char* Layout(char* at, std::uint64_t value, int precision, int exponent) {
    // P digits widened to 17 by zeros, which are then dropped with any others.
    const Places places = PlacesOf(value * kTables.ten[kMostDigits - precision]);
    const int kept = KeptPlaces(places.rest);
    if (exponent < -4 || exponent >= precision) {
        at[0] = places.first;
        at[1] = '.';
        PutPlaces(at + 2, places.rest, 16);
        return WriteExponent(at + (kept > 1 ? kept + 1 : 1), exponent);
    }
    if (exponent < 0) {
        std::memcpy(at, "0.0000", 6);  // up to three zeros after the point
        at += 1 - exponent;
        at[0] = places.first;
        PutPlaces(at + 1, places.rest, 16);
        return at + kept;
    }
    // The whole part, then the point and the rest put again after it.
    const int whole = exponent + 1;
    at[0] = places.first;
    PutPlaces(at + 1, places.rest, 16);
    if (kept <= whole) return at + whole;
    at[whole] = '.';
    PutPlaces(at + whole + 1, places.rest >> (8 * (whole - 1)), kept - whole);
    return at + kept + 1;
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
