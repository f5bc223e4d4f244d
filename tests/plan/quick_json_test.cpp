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
    bool Add(std::string event) {
        events.push_back(std::move(event));
        return true;
    }
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
    bool key(std::string& key) { return Add("key " + key); }
    bool end_object() { return Add("}"); }
    bool start_array(std::size_t size) { return Add("[ " + std::to_string(size)); }
    bool end_array() { return Add("]"); }
    template <class Exception>
    bool parse_error(std::size_t, const std::string&, const Exception&) {
        return false;
    }
};

// The library's events, or nothing where it refuses the text.
std::optional<std::vector<std::string>> LibraryEvents(const std::string& text) {
    Recorder recorder;
    try {
        if (!Json::sax_parse(text.begin(), text.end(), &recorder)) return std::nullopt;
    } catch (const Json::exception&) {
        return std::nullopt;
    }
    return recorder.events;
}

// Read whole by the quick reader: read so by the library, event for event.
void ExpectSameAsLibrary(const std::string& text, bool plain) {
    Recorder quick;
    const quick_json::Read read = quick_json::ReadPlain(text, quick);
    EXPECT_EQ(read == quick_json::Read::Whole, plain) << text;
    if (read != quick_json::Read::Whole) return;
    const auto library = LibraryEvents(text);
    ASSERT_TRUE(library) << "the library refuses what was read whole: " << text;
    EXPECT_EQ(quick.events, *library) << text;
}

TEST(QuickJson, ReadsWholeOnlyWhatTheLibraryReadsTheSame) {
    const struct {
        std::string text;
        bool plain;
    } cases[] = {
        {R"({"a": [1, -2, 0, -0, 2.5, -0.0, 0.0e5, 1e5, 1E+5, 1e-5, 12.5e-3, 0.1]})", true},
        {"[123456789012345678, -123456789012345678]", true},  // 18 digits
        {"[1234567890123456789]", false},                     // beyond 18: the library's kinds
        {"[1e300, 1e-300, 123e298, 0.00001e-295]", true},
        {"[1e301]", false},
        {"[1e-400]", false},
        {"[1e400]", false},
        {"[0.000000000000000000000000000000000000000000000000000000000001e-250]", false},
        {"[000.5e-400000000000]", false},
        {R"(["a\"b\\c\/d\b\f\n\r\t", "", " "])", true},
        {R"(["\u0041"])", false},
        {"[\"caf\xc3\xa9\"]", false},   // UTF-8 is the library's to check
        {"[\"a\x7f\"]", false},
        {"[\"a\tb\"]", false},           // a control character: refused
        {" \t\r\n{ \"k\" : true , \"n\":null,\"f\":false } \n", true},
        {"{}", true},
        {"[[], {}, [[]], {\"a\": {}}]", true},
        {"\"alone\"", true},
        {"7", true},
        {"", false},
        {"   ", false},
        {"\xef\xbb\xbf{}", false},  // a byte order mark
        {"[1,]", false},
        {"{,}", false},
        {"{\"a\" 1}", false},
        {"{\"a\": 1,}", false},
        {"[01]", false},
        {"[1.]", false},
        {"[.5]", false},
        {"[-]", false},
        {"[1e]", false},
        {"[+1]", false},
        {"[tru]", false},
        {"[nulls]", false},
        {"[1] [2]", false},
        {"[1", false},
        {"{\"a\": 1", false},
        {"{\"a\": 1}}", false},
        {"[\"unterminated]", false},
        {"{\"a\": 1, \"a\": 2}", true},  // a key twice is the reader's to refuse, not the grammar's
    };
    for (const auto& c : cases) ExpectSameAsLibrary(c.text, c.plain);
}

// A plan's text with one byte changed, many times over: wherever the quick
// reader reads the damaged text whole, the library reads it the same.
TEST(QuickJson, DamagedTextsAreReadWholeOnlyAsTheLibraryReadsThem) {
    const std::string plan =
        R"({"valdris_power_plan": 1, "cost_fixed": 1000, "units": [{"name": "A \"1\"", "test": "sign",)"
        R"( "alpha": 0.05, "beta": 0.05, "sigma": 0.3, "dcgl": 1e2, "lbgr": -12.5, "n": 17,)"
        R"( "survey_data": [0.1, -2, 3E-3], "grid": "square", "seed": 9007199254740991, "area": null}]})";
    const std::string bytes = "{}[]\":,.-+0123456789eEtrufalsn\\ \n\x01\x80";
    std::mt19937 random(20261210);
    int whole_count = 0;
    for (int i = 0; i < 20000; ++i) {
        std::string text = plan;
        for (int changes = 1 + static_cast<int>(random() % 2); changes > 0; --changes) {
            text[random() % text.size()] = bytes[random() % bytes.size()];
        }
        Recorder quick;
        if (quick_json::ReadPlain(text, quick) != quick_json::Read::Whole) continue;
        ++whole_count;
        const auto library = LibraryEvents(text);
        ASSERT_TRUE(library) << "the library refuses what was read whole: " << text;
        ASSERT_EQ(quick.events, *library) << text;
    }
    EXPECT_GT(whole_count, 2000) << "much of the damage leaves a text the quick reader reads";
}

}  // namespace
}  // namespace valdris
