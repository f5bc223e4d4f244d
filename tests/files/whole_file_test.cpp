// SPDX-License-Identifier: Apache-2.0
// The one whole-file reader: only a regular file, refused before reading
// when it cannot be one the program reads, and never blocking on it.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "text_forms.h"
#include "whole_file.h"

namespace valdris {
namespace {

namespace fs = std::filesystem;

class WholeFile : public testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("whole_file_" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Write(const std::string& name, const std::string& bytes) const {
        const std::string path = (dir_ / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    fs::path dir_;
};

TEST_F(WholeFile, ReadsARegularFileWhole) {
    const std::string text = "{\"units\": []}\n" + std::string(200000, 'x');
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {{"empty", ""}, {"plan", text}, {"utf8", "Cs-137 \xc2\xb5" "Bq\r\n1\r\n"},
                 // Either side of the least room the text is read into, and
                 // larger than the pages asked for ahead of it.
                 {"4095", std::string(4095, 'a')}, {"4096", std::string(4096, 'b')},
                 {"large", std::string((std::size_t{5} << 20) + 7, 'c')}};
    for (const auto& c : cases) {
        const Outcome<std::string> read = ReadWholeFile(Write(c.name, c.bytes));
        ASSERT_TRUE(read) << c.name << ": " << read.message();
        EXPECT_EQ(*read, c.bytes) << c.name;
    }
    // The system's own files measure 0 bytes and are longer: read whole all
    // the same, past the room their size gave.
    const Outcome<std::string> mapped = ReadWholeFile("/proc/self/smaps");
    ASSERT_TRUE(mapped) << mapped.message();
    EXPECT_GT(mapped->size(), std::size_t{8192});
    EXPECT_EQ(mapped->back(), '\n');
    // Through a link to a regular file, the file is read.
    fs::create_symlink(dir_ / "plan", dir_ / "link");
    const Outcome<std::string> linked = ReadWholeFile((dir_ / "link").string());
    ASSERT_TRUE(linked);
    EXPECT_EQ(*linked, text);
}

TEST_F(WholeFile, RefusesWhatIsNoFileOfOursWithoutWaiting) {
    ASSERT_EQ(::mkfifo((dir_ / "fifo").c_str(), 0600), 0);
    fs::create_directory(dir_ / "folder");
    fs::create_symlink(dir_ / "nothing", dir_ / "dangling");
    const std::string nul = Write("nul", std::string("{\"units\":[]}\0{", 14));
    const std::string large = Write("large", "");
    // A sparse file: its size is refused before a byte of it is read.
    ASSERT_EQ(::truncate(large.c_str(), static_cast<off_t>(kLargestReadFile) + 1), 0);
    const std::string at_cap = Write("at_cap", "");
    ASSERT_EQ(::truncate(at_cap.c_str(), static_cast<off_t>(kLargestReadFile)), 0);
    const std::string small_cap = Write("small_cap", std::string(1025, 'x'));
    const struct {
        std::string path;
        const char* reason;
        RefusalKind kind;
        std::size_t largest = kLargestReadFile;
    } cases[] = {
        {(dir_ / "missing").string(), "there is no such file", RefusalKind::FileUnreadable},
        {(dir_ / "dangling").string(), "there is no such file", RefusalKind::FileUnreadable},
        {(dir_ / "folder").string(), "it is not a regular file", RefusalKind::FileNotRegular},
        {(dir_ / "fifo").string(), "it is not a regular file", RefusalKind::FileNotRegular},
        {"/dev/zero", "it is not a regular file", RefusalKind::FileNotRegular},
        {"/dev/null", "it is not a regular file", RefusalKind::FileNotRegular},
        {large, "it is too large (more than 64 MB)", RefusalKind::FileTooLarge},
        {nul, "it holds a NUL byte", RefusalKind::FileHoldsNul},
        // Exactly the cap is read; its bytes are all NUL, which is refused.
        {at_cap, "it holds a NUL byte", RefusalKind::FileHoldsNul},
        // A reader's own, smaller cap.
        {small_cap, "it is too large (more than 1 KB)", RefusalKind::FileTooLarge, 1024},
    };
    for (const auto& c : cases) {
        const auto start = std::chrono::steady_clock::now();
        const Outcome<std::string> read = ReadWholeFile(c.path, c.largest);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << c.path;
        ASSERT_FALSE(read) << c.path;
        EXPECT_EQ(read.message(), c.reason) << c.path;
        EXPECT_EQ(read.refusal().kind, c.kind) << c.path;
    }
    EXPECT_TRUE(ReadWholeFile(small_cap, 1025)) << "exactly the cap is read";
}

TEST(TextForms, TrimmedSetsBlanksAside) {
    const std::pair<const char*, const char*> cases[] = {
        {"", ""}, {" \t\r\n", ""}, {"  Cs-137\t", "Cs-137"}, {"a b", "a b"}, {"\na b \r\n", "a b"}, {"x", "x"},
    };
    for (const auto& [text, trimmed] : cases) EXPECT_EQ(Trimmed(text), trimmed) << text;
}

TEST(TextForms, CsvFieldsReadBackAsOneField) {
    const std::pair<const char*, const char*> cases[] = {
        {"plain", "plain"}, {"", ""}, {"a, \"b\"", "\"a, \"\"b\"\"\""}, {"\"", "\"\"\"\""},
        {"two\nlines", "\"two\nlines\""}, {"cr\r", "\"cr\r\""}, {"semi;colon", "semi;colon"},
    };
    for (const auto& [text, field] : cases) EXPECT_EQ(CsvField(text), field) << text;
}

}  // namespace
}  // namespace valdris
