// SPDX-License-Identifier: Apache-2.0
// The quick reader of plain JSON against the library's parser: wherever the
// quick reader reads a text whole, the library reads it too, with the same
// events in the same order and the same values to the bit.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "plan_json.h"
#include "quick_json.h"

namespace valdris {
namespace {

// Each event as a line; a double by its bits.
struct Recorder {
    std::vector<std::string> events;
    bool Add(std::string event) { return events.push_back(std::move(event)), true; }
    bool null() { return Add("null"); }
    bool boolean(bool value) { return Add(value ? "true" : "false"); }
    bool number_integer(std::int64_t value) { return Add("int " + std::to_string(value)); }
    bool number_unsigned(std::uint64_t value) { return Add("unsigned " + std::to_string(value)); }
    bool number_float(double value, const std::string&) {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        return Add("double " + std::to_string(bits));
    }
    bool string(std::string& value) { return Add("string " + value); }
    bool binary(Json::binary_t&) { return Add("binary"); }
    bool start_object(std::size_t size) { return Add("{ " + std::to_string(size)); }
    bool key(std::string_view key) { return Add("key " + std::string(key)); }
    bool end_object() { return Add("}"); }
    bool start_array(std::size_t size) { return Add("[ " + std::to_string(size)); }
    bool end_array() { return Add("]"); }
    template <class Exception>
    bool parse_error(std::size_t, const std::string&, const Exception&) { return false; }
};

// Whether the quick reader read the text whole; if so, the library must
// read it to the same events.
bool ReadWholeAsTheLibraryDoes(const std::string& text) {
    Recorder quick, library;
    if (quick_json::ReadPlain(text, quick) != quick_json::Read::Whole) return false;
    bool read = false;
    try {
        read = Json::sax_parse(text.begin(), text.end(), &library);
    } catch (const Json::exception&) {
    }
    EXPECT_TRUE(read) << "the library refuses what was read whole: " << text;
    EXPECT_EQ(quick.events, library.events) << text;
    return true;
}

TEST(QuickJson, ReadsWholeOnlyWhatTheLibraryReadsTheSame) {
    const std::vector<std::string> plain = {
        R"({"a": [1, -2, 0, -0, 2.5, -0.0, 0.0e5, 1e5, 1E+5, 1e-5, 12.5e-3, 0.1]})",
        "[123456789012345678, -123456789012345678]", "[1e300, 1e-300, 123e298, 0.00001e-295]",
        // Either side of a single rounded step: 2^53 and 2^53 + 1, 10^22 and
        // 10^23, 19 and 20 digits, and the nearest doubles' halfway cases.
        "[9007199254740992.0, 9007199254740993.0, 1e22, 1e23, 0.1e-21, 1e-22, 1e-23, 1234567890123456789.5]",
        "[12345678901234567890.5, 0.30000000000000004, 2.2250738585072014e-300, 7.0e-10, 123456.789e3]",
        R"(["a\"b\\c\/d\b\f\n\r\t", "", " "])", " \t\r\n{ \"k\" : true , \"n\":null,\"f\":false } \n", "{}",
        "[[], {}, [[]], {\"a\": {}}]", "\"alone\"", "7",
        "{\"a\": 1, \"a\": 2}",  // a key twice is the reader's to refuse, not the grammar's
    };
    for (const std::string& text : plain) EXPECT_TRUE(ReadWholeAsTheLibraryDoes(text)) << text;
    // The library's: integers beyond 18 digits, values near a double's limits,
    // \u, UTF-8, DEL, control characters, a byte order mark; and every fault.
    const std::vector<std::string> not_plain = {
        "[1234567890123456789]", "[1e301]", "[1e-400]", "[1e400]", "[000.5e-400000000000]",
        "[0.000000000000000000000000000000000000000000000000000000000001e-250]", R"(["\u0041"])",
        "[\"caf\xc3\xa9\"]", "[\"a\x7f\"]", "[\"a\tb\"]", "\xef\xbb\xbf{}", "", "   ", "[1,]", "{,}", "{\"a\" 1}",
        "{\"a\": 1,}", "[01]", "[1.]", "[.5]", "[-]", "[1e]", "[+1]", "[tru]", "[nulls]", "[1] [2]", "[1",
        "{\"a\": 1", "{\"a\": 1}}", "[\"unterminated]",
    };
    for (const std::string& text : not_plain) EXPECT_FALSE(ReadWholeAsTheLibraryDoes(text)) << text;
}

// A plan's text with a byte or two changed, many times over.
TEST(QuickJson, DamagedTextsAreReadWholeOnlyAsTheLibraryReadsThem) {
    const std::string plan =
        R"({"valdris_power_plan": 1, "cost_fixed": 1000, "units": [{"name": "A \"1\"", "test": "sign",)"
        R"( "alpha": 0.05, "beta": 0.05, "sigma": 0.3, "dcgl": 1e2, "lbgr": -12.5, "n": 17,)"
        R"( "survey_data": [0.1, -2, 3E-3], "grid": "square", "seed": 9007199254740991, "area": null}]})";
    const std::string bytes = "{}[]\":,.-+0123456789eEtrufalsn\\ \n\x01\x80";
    std::mt19937 random(20261210);
    int whole = 0;
    for (int i = 0; i < 20000 && !testing::Test::HasFailure(); ++i) {
        std::string text = plan;
        for (int changes = 1 + static_cast<int>(random() % 2); changes > 0; --changes) {
            text[random() % text.size()] = bytes[random() % bytes.size()];
        }
        whole += ReadWholeAsTheLibraryDoes(text) ? 1 : 0;
    }
    EXPECT_GT(whole, 2000) << "much of the damage leaves a text the quick reader reads";
}

}  // namespace
}  // namespace valdris
