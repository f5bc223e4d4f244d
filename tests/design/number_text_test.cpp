// SPDX-License-Identifier: Apache-2.0
#include "number_text.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace valdris {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

struct LeadingCase {
    std::string text;
    double expected;
};

TEST(LeadingNumber, ReadsTheLongestLeadingNumber) {
    const std::vector<LeadingCase> cases = {
        {"2 5", 25},          {"1,5", 1},          {"1.2.3", 1.2},     {"abc", 0},
        {"", 0},              {"1e", 1},           {"1e+", 1},         {"1E3", 1000},
        {"1D3", 1000},        {"1d-2", 0.01},      {" -0.5 ", -0.5},   {"+.5", 0.5},
        {"\t1\n2", 12},       {".", 0},            {"-", 0},           {"0.05", 0.05},
        {"$5", 0},            {"12x45", 12},       {"5.", 5},          {"- 1 . 5 e 1", -15},
        {"1e5 3", 1e53},      {"0.50000001", 0.50000001}, {"2e3", 2000}, {".e5", 0},
        {"1e-400", 0},        {"1e400", kInf},     {"-1e400", -kInf},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LeadingNumber(c.text), c.expected) << '"' << c.text << '"';
    }
}

TEST(LeadingNumber, CarriageReturnEndsTheNumber) {
    // Only blanks, tabs and line feeds are skipped.
    EXPECT_EQ(LeadingNumber("1\r2"), 1);
}

TEST(LeadingNumber, ConvertsLongDigitStringsCorrectlyRounded) {
    // Digit-by-digit accumulation in floating point gets these wrong.
    EXPECT_EQ(LeadingNumber("9007199254740993"), 9007199254740992.0);
    EXPECT_EQ(LeadingNumber("1.0000000000000002220446049250313080847263336181640625"),
              1.0 + std::numeric_limits<double>::epsilon());
    EXPECT_EQ(LeadingNumber("0.1000000000000000055511151231257827021181583404541015625"), 0.1);
    EXPECT_EQ(LeadingNumber("2.2250738585072011e-308"), 2.2250738585072011e-308);
    EXPECT_EQ(LeadingNumber(std::string(400, '0') + "7.25"), 7.25);
    EXPECT_EQ(LeadingNumber("0." + std::string(400, '0') + "1e401"), 1.0);
}

TEST(StrictNumber, AcceptsOneWholeNumber) {
    const std::vector<LeadingCase> cases = {
        {" 0.05 ", 0.05}, {"1e3", 1000}, {"1D3", 1000}, {"-1", -1},  {".5", 0.5},
        {"5.", 5},        {"+2", 2},     {"1e-400", 0}, {"\t7\r\n", 7},
    };
    for (const auto& c : cases) {
        const auto value = StrictNumber(c.text);
        ASSERT_TRUE(value.has_value()) << '"' << c.text << '"';
        EXPECT_EQ(*value, c.expected) << '"' << c.text << '"';
    }
}

TEST(StrictNumber, RefusesAnythingElse) {
    for (const char* text : {"", " ", ".", "1x", "1e", "1e+", "2 5", "1,5", "1e400", "-1e400", "abc",
                             "-", "+", "1.2.3", "- 1", "0x10", "inf", "nan", "1e5x"}) {
        EXPECT_FALSE(StrictNumber(text).has_value()) << '"' << text << '"';
    }
}

// The strict reading takes a fast conversion for the common shapes; it must
// give the very double the general reading (LeadingNumber's) gives.
TEST(StrictNumber, GivesTheGeneralReadingsDoubleBitForBit) {
    const std::vector<std::string> texts = {
        "0.1", "-0", "+0.5", ".5", "5.", "-.5", "1e3", "1E-3", "1D3", "1d-2", "+1e+300",
        "9007199254740993", "2.2250738585072011e-308", "2.2250738585072014e-308", "4.9e-324", "2.4e-324",
        "1e-320", "1e-400", "1.7976931348623157e308", "1.7976931348623158e308", "0.30000000000000004",
        "1.0000000000000002220446049250313080847263336181640625", std::string(400, '0') + "7.25",
        "0." + std::string(400, '0') + "1e401", "123456789012345678901234567890", "7.0E-10", "8.5000001",
    };
    for (const std::string& text : texts) {
        const std::optional<double> strict = StrictNumber(text);
        ASSERT_TRUE(strict.has_value()) << '"' << text << '"';
        const double general = LeadingNumber(text);
        EXPECT_EQ(std::memcmp(&*strict, &general, sizeof general), 0) << '"' << text << '"';
    }
}

struct WriteDoubleCase {
    double value;
    std::string expected;
};

TEST(WriteNumber, DoubleWithFifteenSignificantDigits) {
    const std::vector<WriteDoubleCase> cases = {
        {0.5, "0.5"},
        {-0.5, "-0.5"},
        {0.0, "0"},
        {-0.0, "0"},
        {100 * 0.001 * 333, "33.3"},
        {1, "1"},
        {100, "100"},
        {0.51, "0.51"},
        {1.0 / 3, "0.333333333333333"},
        {123456789012345, "123456789012345"},
        {1e15, "1E+15"},
        {1e20, "1E+20"},
        {-2.5e100, "-2.5E+100"},
        {1.5e-7, "1.5E-07"},
        {0.0001, "0.0001"},
        {0.00001, "1E-05"},
        {0.1 + 0.2, "0.3"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WriteNumber(c.value), c.expected) << c.value;
    }
}

struct WriteFloatCase {
    float value;
    std::string expected;
};

TEST(WriteNumber, SingleWithSevenSignificantDigits) {
    const std::vector<WriteFloatCase> cases = {
        {0.51f, "0.51"},     {0.1f, "0.1"},           {0.05f, "0.05"},   {0.0f, "0"},
        {-0.0f, "0"},        {1.0f / 3, "0.3333333"}, {1234567.f, "1234567"},
        {1e7f, "1E+07"},     {1.5e-7f, "1.5E-07"},    {-0.49f, "-0.49"}, {0.99999958f, "0.9999996"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WriteNumber(c.value), c.expected) << c.value;
    }
}

TEST(WriteNumber, ReadsBackToTheSameValue) {
    for (const char* mantissa : {"1", "1.5", "9.99999999999999", "1.23456789012345", "7.000000000001"}) {
        for (int exponent = -40; exponent <= 40; ++exponent) {
            const std::string text = std::string(mantissa) + "e" + std::to_string(exponent);
            const double value = *StrictNumber(text);
            EXPECT_EQ(LeadingNumber(WriteNumber(value)), value) << text << " -> " << WriteNumber(value);
            EXPECT_EQ(LeadingNumber(WriteNumber(-value)), -value) << text;
        }
    }
    for (const char* mantissa : {"1", "2.5", "9.999999", "1.234567", "3.000001"}) {
        for (int exponent = -30; exponent <= 30; ++exponent) {
            const std::string text = std::string(mantissa) + "e" + std::to_string(exponent);
            const float value = static_cast<float>(*StrictNumber(text));
            EXPECT_EQ(static_cast<float>(LeadingNumber(WriteNumber(value))), value)
                << text << " -> " << WriteNumber(value);
        }
    }
}

// Every report writes the inputs so, whichever face made it.
// The library's own %.17g / %.9g, against which the exact forms are checked.
template <typename Number>
std::string LibraryGeneral(Number value, int precision) {
    char buffer[64];
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, precision).ptr);
}

TEST(ExactNumber, WritesWhatTheLibraryWrites) {
    // Ties at the last digit (2^-25 has 18 significant digits, 2^-11 + 2^-35
    // 10 for a single), the edges of the fixed layout, carries into a new
    // power of ten, the ends of the integer range, zeros of both signs and
    // what lies beyond the exact range.
    const std::vector<double> doubles = {
        0x1p-25, 3 * 0x1p-25, 0x1p-26, 1e-4, 9.9999999999999995e-5, 1e-5, 0.1, 0.5, 1, 1.5, 9.9999999999999999e15,
        1e16, 1e17, 123456789012345678.0, 0x1p53, 0x1p53 - 1, 0.99999999999999989, 2.5e-16, 1e-16, 9.99e-17,
        1e-300, 4.9e-324, 1.7976931348623157e308, 0.0, -0.0, -0.05, -1e-7, 1.0 / 3, 2.0 / 3, 0.3, 0.7,
        std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
        std::numeric_limits<double>::quiet_NaN()};
    for (const double value : doubles) EXPECT_EQ(ExactNumber(value), LibraryGeneral(value, 17)) << value;
    const std::vector<float> singles = {
        0x1p-11f + 0x1p-35f, 0.05f, 0.1f, 1e-4f, 1e-5f, 123456789.0f, 1e9f, 999999999.0f, 1e10f, 16777216.0f,
        0x1p-126f, 1e-45f, 3.4028235e38f, 0.0f, -0.0f, -2.5f, 1.0f / 3, 1.5f,
        std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN()};
    for (const float value : singles) EXPECT_EQ(ExactNumber(value), LibraryGeneral(value, 9)) << value;
}

TEST(ExactNumber, WritesWhatTheLibraryWritesOverManyValues) {
    // Bit patterns from a fixed sequence (splitmix64), half of them drawn
    // within the decimal exponents the fast path takes, where a slip in
    // scaling or rounding would show.
    std::uint64_t state = 0x9e3779b97f4a7c15u;
    auto next = [&state] {
        std::uint64_t z = (state += 0x9e3779b97f4a7c15u);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
        return z ^ (z >> 31);
    };
    for (int i = 0; i < 400000; ++i) {
        std::uint64_t bits = next();
        if (i % 2 == 0) bits = (bits & 0x800fffffffffffffu) | (std::uint64_t(1023 - 60 + (bits >> 52) % 120) << 52);
        double value = 0;
        std::memcpy(&value, &bits, sizeof value);
        ASSERT_EQ(ExactNumber(value), LibraryGeneral(value, 17)) << std::hexfloat << value;
        const auto single_bits = static_cast<std::uint32_t>(bits >> 32);
        float single = 0;
        std::memcpy(&single, &single_bits, sizeof single);
        ASSERT_EQ(ExactNumber(single), LibraryGeneral(single, 9)) << std::hexfloat << single;
    }
}

// The decimal exponent is first judged against powers of ten held as
// doubles, which are not exact: the values a few units in the last place
// either side of each, single and double.
TEST(ExactNumber, ValuesBesideAPowerOfTenTakeTheRightExponent) {
    for (int power = -25; power <= 25; ++power) {
        double value = std::strtod(("1e" + std::to_string(power)).c_str(), nullptr);
        for (int step = 0; step < 8; ++step) value = std::nextafter(value, 0.0);
        for (int step = 0; step < 16; ++step, value = std::nextafter(value, 1e300)) {
            ASSERT_EQ(ExactNumber(value), LibraryGeneral(value, 17)) << std::hexfloat << value;
            const float single = static_cast<float>(value);
            ASSERT_EQ(ExactNumber(single), LibraryGeneral(single, 9)) << std::hexfloat << single;
        }
    }
}

// The digits go out eight at a time: every 997th block of eight, and the
// ends of the range, in the middle of a number's seventeen (a whole number
// below 2^53 times 10^8 puts the block there exactly).
TEST(ExactNumber, EveryBlockOfEightDigitsIsWrittenRight) {
    std::vector<std::uint32_t> blocks = {0, 1, 9, 10, 99, 100, 9999, 10000, 99999999};
    for (std::uint32_t block = 0; block < 100000000; block += 997) blocks.push_back(block);
    for (const std::uint32_t block : blocks) {
        const double value = 100000000.0 + block;
        ASSERT_EQ(ExactNumber(value), LibraryGeneral(value, 17)) << block;
        ASSERT_EQ(ExactNumber(value / 1e9), LibraryGeneral(value / 1e9, 17)) << block;
    }
}

TEST(PlainNumber, WritesNoExponent) {
    const struct { double value; const char* expected; } doubles[] = {
        {0.5, "0.5"}, {1e-6, "0.000001"}, {1.5e-7, "0.00000015"}, {-2.5e-5, "-0.000025"},
        {1e20, "100000000000000000000"}, {1.25e16, "12500000000000000"}, {123.456, "123.456"}, {0, "0"},
    };
    for (const auto& c : doubles) EXPECT_EQ(PlainNumber(c.value), c.expected) << c.value;
    const struct { float value; const char* expected; } singles[] = {
        {0.5f, "0.5"}, {1e-6f, "0.000001"}, {0.05f, "0.05"}, {3e7f, "30000000"},
    };
    for (const auto& c : singles) EXPECT_EQ(PlainNumber(c.value), c.expected) << c.value;
}

TEST(WriteWithSignPosition, BlankBeforeAValueThatIsNotNegative) {
    EXPECT_EQ(WriteWithSignPosition(19), " 19");
    EXPECT_EQ(WriteWithSignPosition(1162), " 1162");
    EXPECT_EQ(WriteWithSignPosition(0), " 0");
    EXPECT_EQ(WriteWithSignPosition(-1111), "-1111");
}

TEST(ToSingle, RoundsToNearestAndOverflowsToInfinity) {
    constexpr float kMax = std::numeric_limits<float>::max();
    constexpr float kInf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(ToSingle(0.05), 0.05f);
    EXPECT_EQ(ToSingle(0x1.fffffefp127), kMax);  // just below the midpoint to infinity
    EXPECT_EQ(ToSingle(0x1.ffffffp127), kInf);
    EXPECT_EQ(ToSingle(1e300), kInf);
    EXPECT_EQ(ToSingle(-1e300), -kInf);
    EXPECT_EQ(ToSingle(1e-50), 0.0f);
}

TEST(RoundHalfEven, RoundsTheScaledDoubleTiesToEven) {
    struct Case {
        double value;
        int decimals;
        double expected;
    };
    const std::vector<Case> cases = {
        {0.125, 2, 0.12},  {0.375, 2, 0.38}, {2.5, 0, 2},      {3.5, 0, 4},        {-2.5, 0, -2},
        {1.005, 2, 1},     {50.0 / 51, 2, 0.98}, {0.5 / 0.3, 3, 1.667}, {0.5 / 6, 3, 0.083},
        {1, 2, 1},         {23.710113, 0, 24}, {29.3, 0, 29},  {0.002, 2, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RoundHalfEven(c.value, c.decimals), c.expected) << c.value << " at " << c.decimals;
    }
}

struct PatternCase {
    double value;
    std::string expected;
};

TEST(FormatPatterns, HashHashPointHashHash) {
    const std::vector<PatternCase> cases = {
        {0.5, ".5"},      {2, "2."},      {12.345, "12.35"}, {0.125, ".13"}, {1.0 / 3, ".33"},
        {12345.678, "12345.68"}, {0.999, "1."}, {0, "."}, {-0.5, "-.5"}, {-0.001, "."},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatHashHashPointHashHash(c.value), c.expected) << c.value;
}

TEST(FormatPatterns, ZeroPointZero) {
    std::vector<PatternCase> cases = {{0, "0.0"}, {1, "1.0"}, {0.25, "0.3"}, {0.05, "0.1"}, {-1.25, "-1.3"}};
    // The probability labels of the chart: (j - 1) * 0.1 in double.
    const char* labels[] = {"0.0", "0.1", "0.2", "0.3", "0.4", "0.5", "0.6", "0.7", "0.8", "0.9", "1.0"};
    for (int j = 1; j <= 11; ++j) cases.push_back({(j - 1) * 0.1, labels[j - 1]});
    for (const auto& c : cases) EXPECT_EQ(FormatZeroPointZero(c.value), c.expected) << c.value;
}

TEST(FormatPatterns, Percent) {
    std::vector<PatternCase> cases = {{0.1, "10%"}, {1, "100%"}, {1.5, "150%"}, {0.145, "15%"},
                                      {0.30000000000000004, "30%"}, {0, "%"}};
    // The concentration labels of the chart: (k - 1) * 0.1 in double.
    for (int k = 2; k <= 16; ++k) cases.push_back({(k - 1) * 0.1, std::to_string((k - 1) * 10) + "%"});
    for (const auto& c : cases) EXPECT_EQ(FormatPercent(c.value), c.expected) << c.value;
}

TEST(FormatPatterns, HashPointHash) {
    const std::vector<PatternCase> cases = {{1, "1."}, {0.5, ".5"}, {0.25, ".3"}, {12.04, "12."}, {0, "."}};
    for (const auto& c : cases) EXPECT_EQ(FormatHashPointHash(c.value), c.expected) << c.value;
}

}  // namespace
}  // namespace valdris
