// SPDX-License-Identifier: Apache-2.0
#include "number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <locale.h>

#include "general_format.h"

namespace valdris {

namespace {

// Characters the leading-number reading skips wherever they stand.
bool IsSkippedBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

// Characters a strict number may have around it.
bool IsSurroundingBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsExponentLetter(char c) { return c == 'E' || c == 'e' || c == 'D' || c == 'd'; }

// The part of a text that forms a decimal number, copied in the form the C
// library reads (exponent letter always 'e', blanks removed).
struct ScannedNumber {
    std::string cleaned;
    std::size_t end = 0;  // index just past the last character used
    bool has_digits = false;
};

ScannedNumber ScanNumber(std::string_view text, bool skip_blanks) {
    ScannedNumber scan;
    std::size_t i = 0;
    auto skip = [&] {
        while (skip_blanks && i < text.size() && IsSkippedBlank(text[i])) ++i;
    };

    skip();
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        scan.cleaned += text[i++];
        scan.end = i;
        skip();
    }
    bool seen_point = false;
    while (i < text.size()) {
        const char c = text[i];
        if (IsDigit(c)) {
            scan.has_digits = true;
        } else if (c == '.' && !seen_point) {
            seen_point = true;
        } else {
            break;
        }
        scan.cleaned += c;
        ++i;
        scan.end = i;
        skip();
    }
    if (!scan.has_digits || i >= text.size() || !IsExponentLetter(text[i])) return scan;

    // The exponent counts only when at least one digit follows; "1e" and
    // "1e+" read as 1.
    std::string exponent = "e";
    ++i;
    skip();
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        exponent += text[i++];
        skip();
    }
    bool exponent_digits = false;
    std::size_t exponent_end = 0;
    while (i < text.size() && IsDigit(text[i])) {
        exponent += text[i++];
        exponent_digits = true;
        exponent_end = i;
        skip();
    }
    if (exponent_digits) {
        scan.cleaned += exponent;
        scan.end = exponent_end;
    }
    return scan;
}

// Correctly rounded decimal conversion whatever the process locale says the
// decimal point is (a Qt application adopts the user's locale).
double ConvertCleaned(const std::string& cleaned) {
    static const locale_t c_locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return strtod_l(cleaned.c_str(), nullptr, c_locale);
}

// printf's %G at the given precision for the value's own width (a float is
// written from its single-precision value, not its widening).
template <typename Real>
std::string FormatGeneral(Real value, int significant_digits) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, significant_digits);
    std::string text(buffer, result.ptr);
    for (char& c : text) {
        if (c == 'e') c = 'E';
    }
    return text;
}

// The Format patterns ("##.##", "0.0", ...) work on the value's 15 significant decimal
// digits, not on its binary value, and round an exact decimal half away from
// zero: 12.345 gives 12.35 although the double lies just below it.
struct DecimalDigits {
    bool negative = false;
    std::string digits;  // 15 digits, the first one not zero unless the value is 0
    int point = 0;       // digits before the decimal point (may be <= 0 or > 15)
};

DecimalDigits ToDecimalDigits(double value) {
    DecimalDigits decimal;
    decimal.negative = std::signbit(value);
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific, 14);
    const std::string text(buffer, result.ptr);  // d.dddddddddddddde+XX
    const std::size_t e = text.find('e');
    decimal.digits = text.substr(0, 1) + text.substr(2, e - 2);
    decimal.point = std::atoi(text.c_str() + e + 1) + 1;
    return decimal;
}

// |value| rounded to `decimals` places, half away from zero, as the digit
// string of the whole number |value| * 10^decimals (no leading zeros; "" for 0).
std::string ScaledRoundedDigits(const DecimalDigits& decimal, int decimals) {
    const int keep = decimal.point + decimals;
    const int length = static_cast<int>(decimal.digits.size());
    std::string kept;
    char first_dropped = '0';
    if (keep > 0) {
        kept = decimal.digits.substr(0, static_cast<std::size_t>(std::min(keep, length)));
        if (keep > length) kept.append(static_cast<std::size_t>(keep - length), '0');
        if (keep < length) first_dropped = decimal.digits[static_cast<std::size_t>(keep)];
    } else if (keep == 0) {
        first_dropped = decimal.digits[0];
    }
    if (first_dropped >= '5') {
        int i = static_cast<int>(kept.size()) - 1;
        while (i >= 0 && kept[static_cast<std::size_t>(i)] == '9') kept[static_cast<std::size_t>(i--)] = '0';
        if (i >= 0) {
            ++kept[static_cast<std::size_t>(i)];
        } else {
            kept.insert(kept.begin(), '1');
        }
    }
    const std::size_t first_nonzero = kept.find_first_not_of('0');
    return first_nonzero == std::string::npos ? std::string() : kept.substr(first_nonzero);
}

struct PatternShape {
    int decimals;             // digit places after the point
    bool leading_zero;        // "0" before the point instead of "#"
    bool trailing_zeros;      // "0" after the point instead of "#"
    bool point;               // the pattern has a decimal point
};

std::string FormatPattern(const DecimalDigits& decimal, PatternShape shape) {
    const std::string scaled = ScaledRoundedDigits(decimal, shape.decimals);
    const std::size_t places = static_cast<std::size_t>(shape.decimals);
    const std::string padded =
        scaled.size() < places + 1 ? std::string(places + 1 - scaled.size(), '0') + scaled : scaled;
    std::string whole = padded.substr(0, padded.size() - places);
    std::string fraction = padded.substr(padded.size() - places);

    if (whole == "0" && !shape.leading_zero) whole.clear();
    if (!shape.trailing_zeros) {
        const std::size_t last = fraction.find_last_not_of('0');
        fraction = last == std::string::npos ? std::string() : fraction.substr(0, last + 1);
    }
    std::string text = (decimal.negative && !scaled.empty()) ? "-" : "";
    text += whole;
    if (shape.point) text += "." + fraction;
    return text;
}

}  // namespace

double LeadingNumber(std::string_view text) {
    const ScannedNumber scan = ScanNumber(text, /*skip_blanks=*/true);
    if (!scan.has_digits) return 0.0;
    return ConvertCleaned(scan.cleaned);
}

std::string ReadableNumber(double value) {
    if (!std::isfinite(value)) return WriteNumber(value);
    char buffer[32];
    const std::to_chars_result written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 3);
    return WriteNumber(StrictNumber(std::string_view(buffer, written.ptr - buffer)).value_or(value));
}

std::string WithDecimalPoint(std::string text, bool decimal_comma) {
    if (decimal_comma) std::replace(text.begin(), text.end(), ',', '.');
    return text;
}

namespace {

// Whether the whole text is one decimal number as ScanNumber reads it without
// blanks, and whether its exponent letter (if any) is one the standard
// conversion knows.
struct StrictShape {
    bool whole = false;
    bool plain_exponent = true;  // no exponent, or E/e
};

StrictShape ShapeOf(std::string_view core) {
    StrictShape shape;
    std::size_t i = 0;
    if (i < core.size() && (core[i] == '+' || core[i] == '-')) ++i;
    bool digits = false;
    bool point = false;
    for (; i < core.size(); ++i) {
        if (IsDigit(core[i])) {
            digits = true;
        } else if (core[i] == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!digits) return shape;
    if (i < core.size() && IsExponentLetter(core[i])) {
        shape.plain_exponent = core[i] == 'e' || core[i] == 'E';
        ++i;
        if (i < core.size() && (core[i] == '+' || core[i] == '-')) ++i;
        const std::size_t first = i;
        while (i < core.size() && IsDigit(core[i])) ++i;
        if (i == first) return shape;
    }
    shape.whole = i == core.size();
    return shape;
}

// The general reading: the C library's conversion of the scanned number.
std::optional<double> ConvertedStrictNumber(std::string_view core) {
    const ScannedNumber scan = ScanNumber(core, /*skip_blanks=*/false);
    if (!scan.has_digits || scan.end != core.size()) return std::nullopt;
    const double value = ConvertCleaned(scan.cleaned);
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

}  // namespace

// A million measurements are read through here, so the common shapes go
// straight to std::from_chars, which rounds correctly as strtod does and
// needs no copy; an exponent written with D, and numbers beyond the double
// range (from_chars leaves those unread), take the general reading.
std::optional<double> StrictNumber(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsSurroundingBlank(text[begin])) ++begin;
    while (end > begin && IsSurroundingBlank(text[end - 1])) --end;
    const std::string_view core = text.substr(begin, end - begin);

    const StrictShape shape = ShapeOf(core);
    if (!shape.whole) return std::nullopt;
    if (shape.plain_exponent) {
        const char* first = core.data() + (core.front() == '+' ? 1 : 0);
        double value = 0;
        const auto result = std::from_chars(first, core.data() + core.size(), value);
        if (result.ec == std::errc() && result.ptr == core.data() + core.size() && std::isfinite(value)) {
            return value;
        }
    }
    return ConvertedStrictNumber(core);
}

// Written as printf's %G at 15 (or 7) significant digits: an exponent from
// 1E+15 up (1E+07 for a single) and below 1E-04, with at least two exponent
// digits, and no trailing zeros.
std::string WriteNumber(double value) {
    if (value == 0.0) return "0";  // also -0
    return FormatGeneral(value, 15);
}

std::string WriteNumber(float value) {
    if (value == 0.0f) return "0";
    return FormatGeneral(value, 7);
}

namespace {

// "<mantissa>E<exponent>" as plain digits; other texts as they are.
std::string WithoutExponent(const std::string& written) {
    const std::size_t e = written.find('E');
    if (e == std::string::npos) return written;
    const bool negative = written.front() == '-';
    std::string digits;
    long point = 0;  // digits of the mantissa before its point
    bool seen_point = false;
    for (std::size_t i = negative ? 1 : 0; i < e; ++i) {
        if (written[i] == '.') {
            seen_point = true;
        } else {
            digits += written[i];
            if (!seen_point) ++point;
        }
    }
    point += std::strtol(written.c_str() + e + 1, nullptr, 10);
    std::string plain;
    if (point <= 0) {
        plain = "0." + std::string(static_cast<std::size_t>(-point), '0') + digits;
    } else if (point >= static_cast<long>(digits.size())) {
        plain = digits + std::string(static_cast<std::size_t>(point) - digits.size(), '0');
    } else {
        plain = digits.substr(0, static_cast<std::size_t>(point)) + "." + digits.substr(static_cast<std::size_t>(point));
    }
    return negative ? "-" + plain : plain;
}

}  // namespace

std::string PlainNumber(double value) { return WithoutExponent(WriteNumber(value)); }
std::string PlainNumber(float value) { return WithoutExponent(WriteNumber(value)); }

std::string ExactNumber(float value) {
    char buffer[kExactNumberRoom];
    return std::string(buffer, WriteExactNumber(buffer, value));
}

std::string ExactNumber(double value) {
    char buffer[kExactNumberRoom];
    return std::string(buffer, WriteExactNumber(buffer, value));
}

char* WriteExactNumber(char* out, double value) { return WriteGeneralNumber(out, value, 17); }

char* WriteExactNumber(char* out, float value) { return WriteGeneralNumber(out, value, 9); }

std::string WriteWithSignPosition(double value) {
    const std::string text = WriteNumber(value);
    return value < 0.0 ? text : " " + text;
}

float ToSingle(double value) {
    // Half a unit in the last place above the largest single: from here on
    // rounding to nearest gives infinity.
    constexpr double kSingleOverflow = 0x1.ffffffp127;
    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    if (value >= kSingleOverflow) return kInfinity;
    if (value <= -kSingleOverflow) return -kInfinity;
    return static_cast<float>(value);
}

std::string FormatHashHashPointHashHash(double value) {
    if (!std::isfinite(value)) return WriteNumber(value);
    return FormatPattern(ToDecimalDigits(value), {2, false, false, true});
}

std::string FormatZeroPointZero(double value) {
    if (!std::isfinite(value)) return WriteNumber(value);
    return FormatPattern(ToDecimalDigits(value), {1, true, true, true});
}

std::string FormatZeroPointZeroZero(double value) {
    if (!std::isfinite(value)) return WriteNumber(value);
    return FormatPattern(ToDecimalDigits(value), {2, true, true, true});
}

std::string FormatPercent(double value) {
    if (!std::isfinite(value)) return WriteNumber(value);
    DecimalDigits decimal = ToDecimalDigits(value);
    decimal.point += 2;  // times 100, exactly, on the decimal digits
    return FormatPattern(decimal, {0, false, false, false}) + "%";
}

std::string FormatHashPointHash(double value) {
    if (!std::isfinite(value)) return WriteNumber(value);
    return FormatPattern(ToDecimalDigits(value), {1, false, false, true});
}

}  // namespace valdris
