// SPDX-License-Identifier: Apache-2.0
#pragma once
// A quick reader of plain JSON text, handing its values to the same event
// handler as the library's parser (start_object, key, number_float, ...),
// in the same order and with the same values. Plain means what a plan file
// written by this program is: ASCII strings whose escapes are the short
// ones, numbers whose value no rounding can take beyond a double's normal
// range, integers of at most 18 digits. The library reads any other text,
// and every faulty one, so that a refused file is refused in its words: the
// reader stops where the text stops being plain, and its caller then starts
// over with the library's parser and a new handler.
//
// The grammar is that of RFC 8259 (T. Bray, ed., "The JavaScript Object
// Notation (JSON) Data Interchange Format", 2017). A decimal number is
// converted by std::from_chars, correctly rounded as the library's strtod.

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace valdris::quick_json {

enum class Read {
    Whole,     // every event handed out
    Stopped,   // the handler returned false
    NotPlain,  // the library's parser must read the text, from its start
};

// Bytes a plain string holds as they are: printable ASCII but the quote and
// the backslash.
struct PlainBytes {
    bool plain[256] = {};
    constexpr PlainBytes() {
        for (int c = 0x20; c < 0x7f; ++c) plain[c] = c != '"' && c != '\\';
    }
};
inline constexpr PlainBytes kPlainBytes;

// The value of the digits (a point among them after the whole ones) times
// 10^power where the significand is at most 2^53 and the scale within 10^22:
// both are then exact doubles, and one multiplication or division, correctly
// rounded, is the correctly rounded value (W. D. Clinger, "How to read
// floating point numbers accurately", PLDI 1990). False for any other.
inline bool OneStepDecimal(const char* digits, const char* whole_end, const char* end, long power, double& value) {
    static constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                              1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    constexpr long kLargestScale = 22;
    constexpr int kMostDigits = 19;  // below 10^19, within 64 bits
    std::uint64_t significand = 0;
    int counted = 0;
    long scale = power;
    for (const char* d = digits; d < end; ++d) {
        if (*d == '.') continue;
        if (d > whole_end) --scale;  // a digit after the point
        if (significand == 0 && *d == '0') continue;
        if (++counted > kMostDigits) return false;
        significand = significand * 10 + static_cast<std::uint64_t>(*d - '0');
    }
    if (significand > (std::uint64_t{1} << 53) || scale < -kLargestScale || scale > kLargestScale) return false;
    const auto exact = static_cast<double>(significand);
    value = scale < 0 ? exact / kExactPowers[-scale] : exact * kExactPowers[scale];
    return true;
}

template <class Handler>
class Reader {
public:
    Reader(std::string_view text, Handler& handler) : at_(text.data()), end_(text.data() + text.size()), handler_(handler) {}

    Read Run() {
        for (Step step = Step::NeedValue;;) {
            if (step == Step::Stopped) return Read::Stopped;
            if (step == Step::NotPlain) return Read::NotPlain;
            SkipSpace();
            if (step == Step::NeedValue) {
                step = Value();
            } else if (open_.empty()) {
                return at_ == end_ ? Read::Whole : Read::NotPlain;
            } else {
                step = AfterValue();
            }
        }
    }

private:
    enum class Step { NeedValue, ValueDone, Stopped, NotPlain };
    // A list's or an object's start, as the library gives it: size unknown.
    static constexpr std::size_t kUnknownSize = static_cast<std::size_t>(-1);

    static Step Emitted(bool go_on) { return go_on ? Step::ValueDone : Step::Stopped; }
    char Peek() const { return at_ < end_ ? *at_ : '\0'; }
    void SkipSpace() {
        while (at_ < end_ && (*at_ == ' ' || *at_ == '\n' || *at_ == '\r' || *at_ == '\t')) ++at_;
    }
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

    // A comma and the next element or member, or the end of the innermost open value.
    Step AfterValue() {
        const bool object = open_.back() == '{';
        if (Peek() == ',') {
            ++at_;
            SkipSpace();
            return object ? Key() : Step::NeedValue;
        }
        if (Peek() != (object ? '}' : ']')) return Step::NotPlain;
        ++at_;
        open_.pop_back();
        return Emitted(object ? handler_.end_object() : handler_.end_array());
    }

    Step Value() {
        switch (Peek()) {
            case '{': return Open(true);
            case '[': return Open(false);
            case '"': {
                std::string_view text;
                if (!String(text)) return Step::NotPlain;
                if (text.data() != text_.data()) text_.assign(text);
                return Emitted(handler_.string(text_));
            }
            case 't': return Literal("true") ? Emitted(handler_.boolean(true)) : Step::NotPlain;
            case 'f': return Literal("false") ? Emitted(handler_.boolean(false)) : Step::NotPlain;
            case 'n': return Literal("null") ? Emitted(handler_.null()) : Step::NotPlain;
            default: return Number();
        }
    }

    // An object, or a list: its start, and its end at once when it is empty.
    Step Open(bool object) {
        ++at_;
        if (!(object ? handler_.start_object(kUnknownSize) : handler_.start_array(kUnknownSize))) return Step::Stopped;
        SkipSpace();
        if (Peek() == (object ? '}' : ']')) {
            ++at_;
            return Emitted(object ? handler_.end_object() : handler_.end_array());
        }
        open_.push_back(object ? '{' : '[');
        return object ? Key() : Step::NeedValue;
    }

    // "key" : (the value follows)
    Step Key() {
        std::string_view key;
        if (Peek() != '"' || !String(key)) return Step::NotPlain;
        SkipSpace();
        if (Peek() != ':') return Step::NotPlain;
        ++at_;
        return handler_.key(key) ? Step::NeedValue : Step::Stopped;
    }

    bool Literal(std::string_view word) {
        if (static_cast<std::size_t>(end_ - at_) < word.size() || std::string_view(at_, word.size()) != word) return false;
        at_ += word.size();
        return true;
    }

    // A string of printable ASCII and the short escapes: its text as it
    // stands in the input, or with its escapes undone in text_. \u and
    // anything beyond ASCII are the library's (it checks their UTF-8).
    bool String(std::string_view& text) {
        ++at_;
        const char* const start = at_;
        while (at_ < end_ && kPlainBytes.plain[static_cast<unsigned char>(*at_)]) ++at_;
        if (Peek() == '"') {
            text = std::string_view(start, static_cast<std::size_t>(at_++ - start));
            return true;
        }
        text_.assign(start, at_);
        for (;;) {
            const char c = Peek();
            if (c == '"') {
                ++at_;
                text = text_;
                return true;
            }
            if (c != '\\' || at_ + 1 >= end_) return false;
            const char escaped = Escaped(at_[1]);
            if (escaped == '\0') return false;
            text_.push_back(escaped);
            at_ += 2;
            const char* const run = at_;
            while (at_ < end_ && kPlainBytes.plain[static_cast<unsigned char>(*at_)]) ++at_;
            text_.append(run, static_cast<std::size_t>(at_ - run));
        }
    }

    static char Escaped(char c) {
        switch (c) {
            case '"': return '"';
            case '\\': return '\\';
            case '/': return '/';
            case 'b': return '\b';
            case 'f': return '\f';
            case 'n': return '\n';
            case 'r': return '\r';
            case 't': return '\t';
            default: return '\0';
        }
    }

    Step Number();

    const char* at_;
    const char* end_;
    Handler& handler_;
    std::vector<char> open_;  // '{' or '[' of each value still open
    std::string text_;        // the latest string, or a key with escapes
};

// The library's kinds: a whole number without a sign is unsigned, with one
// an integer, anything with a point or an exponent a double.
template <class Handler>
typename Reader<Handler>::Step Reader<Handler>::Number() {
    constexpr int kMostWholeDigits = 18;  // within 64 bits, signed or not
    constexpr long kFarthestExponent = 300;  // within a double's normal range
    const char* const start = at_;
    const bool negative = Peek() == '-';
    if (negative) ++at_;
    const char* const digits = at_;
    if (Peek() == '0') {
        ++at_;
    } else if (IsDigit(Peek())) {
        while (IsDigit(Peek())) ++at_;
    } else {
        return Step::NotPlain;
    }
    const char* const whole_end = at_;
    bool fraction = false, exponent = false;
    if (Peek() == '.') {
        ++at_;
        if (!IsDigit(Peek())) return Step::NotPlain;
        while (IsDigit(Peek())) ++at_;
        fraction = true;
    }
    const char* const mantissa_end = at_;
    long power = 0;
    if (Peek() == 'e' || Peek() == 'E') {
        ++at_;
        const bool down = Peek() == '-';
        if (Peek() == '+' || Peek() == '-') ++at_;
        if (!IsDigit(Peek())) return Step::NotPlain;
        for (; IsDigit(Peek()); ++at_) {
            if (power > 100000) return Step::NotPlain;
            power = power * 10 + (*at_ - '0');
        }
        if (down) power = -power;
        exponent = true;
    }
    if (!fraction && !exponent) {
        if (whole_end - digits > kMostWholeDigits) return Step::NotPlain;
        std::uint64_t value = 0;
        for (const char* d = digits; d < whole_end; ++d) value = value * 10 + static_cast<std::uint64_t>(*d - '0');
        if (negative) return Emitted(handler_.number_integer(-static_cast<std::int64_t>(value)));
        return Emitted(handler_.number_unsigned(value));
    }
    // The place of the first significant digit, as a power of ten.
    long first = 0;
    bool zero = true;
    for (const char* d = digits; d < mantissa_end; ++d) {
        if (*d == '.' || *d == '0') continue;
        const long whole_digits = whole_end - digits;
        first = d < whole_end ? whole_digits - 1 - (d - digits) : -(d - whole_end);
        zero = false;
        break;
    }
    static const std::string kNoText;
    if (zero) return Emitted(handler_.number_float(negative ? -0.0 : 0.0, kNoText));
    if (first + power > kFarthestExponent || first + power < -kFarthestExponent) return Step::NotPlain;
    double value = 0;
    if (OneStepDecimal(digits, whole_end, mantissa_end, power, value)) {
        return Emitted(handler_.number_float(negative ? -value : value, kNoText));
    }
    const auto converted = std::from_chars(start, at_, value);
    if (converted.ec != std::errc() || converted.ptr != at_) return Step::NotPlain;
    return Emitted(handler_.number_float(value, kNoText));
}

// Hands the text's events to the handler as it reads them: NotPlain, maybe
// after some, where the library must read it.
template <class Handler>
Read ReadPlain(std::string_view text, Handler& handler) {
    return Reader<Handler>(text, handler).Run();
}

}  // namespace valdris::quick_json
