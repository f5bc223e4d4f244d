// SPDX-License-Identifier: Apache-2.0
// The names of written files: the report's suffix and suggested names.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "file_names.h"

namespace valdris {
namespace {

TEST(FileNames, ReportsAreNamedPdf) {
    const std::pair<const char*, const char*> cases[] = {
        {"plan.pdf", "plan.pdf"}, {"plan.PDF", "plan.PDF"}, {"plan.png", "plan.png.pdf"},
        {"plan", "plan.pdf"},     {".pdf", ".pdf.pdf"},     {"dir.pdf/plan", "dir.pdf/plan.pdf"},
    };
    for (const auto& [given, written] : cases) EXPECT_EQ(ReportFileName(given), written) << given;
}

TEST(FileNames, TheSuffixIsAddedWhenLeftOut) {
    const struct {
        const char* typed;
        const char* suffix;
        const char* written;
    } cases[] = {
        {"/d/site", ".vplan", "/d/site.vplan"}, {"/d/site.VPLAN", ".vplan", "/d/site.VPLAN"},
        {"/d/site.csv", ".vplan", "/d/site.csv.vplan"}, {"/d/t.csv", ".csv", "/d/t.csv"},
        {"/d/tcsv", ".csv", "/d/tcsv.csv"},
    };
    for (const auto& c : cases) EXPECT_EQ(WithFileSuffix(c.typed, c.suffix), c.written) << c.typed;
}

// A name typed without its suffix was asked about by the dialog only as
// typed: replacing the file under the suffixed name needs its own question.
TEST(FileNames, ANameGivenItsSuffixAsksBeforeReplacingWhatIsThere) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("file_names_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir / "folder.vplan");
    std::ofstream(dir / "site.vplan") << "{}";
    std::filesystem::create_symlink(dir / "none", dir / "link.vplan");
    const struct {
        const char* typed;
        const char* written;
        bool asked;
    } cases[] = {
        {"site", "site.vplan", true},         {"site.vplan", "site.vplan", false},  // the dialog asked
        {"new", "new.vplan", false},          {"site.VPLAN", "site.VPLAN", false},
        {"folder", "folder.vplan", true},     {"link", "link.vplan", true},
        {"site.csv", "site.csv.vplan", false},
    };
    for (const auto& c : cases) {
        const NameToSave name = NameToSaveAs((dir / c.typed).string(), ".vplan");
        EXPECT_EQ(name.path, (dir / c.written).string()) << c.typed;
        EXPECT_EQ(name.ask_to_replace, c.asked) << c.typed;
    }
    std::filesystem::remove_all(dir);
}

TEST(FileNames, SuggestedNamesHoldOnlyWhatAFileNameMay) {
    const std::pair<const char*, const char*> cases[] = {
        {"U-238/U-234", "U-238 U-234"},    {"a\\b:c*d?e\"f<g>h|i", "a b c d e f g h i"},
        {"Cs-137\tand\nCo-60\x7f", "Cs-137 and Co-60"}, {"  ..hidden  ", "hidden"},
        {"\xc2\xb9\xc2\xb3\xe2\x81\xb7" "Cs", "\xc2\xb9\xc2\xb3\xe2\x81\xb7" "Cs"},  // UTF-8 stays
        {"/// ", "Survey design"},
    };
    for (const auto& [text, stem] : cases) EXPECT_EQ(FileNameStem(text, "Survey design"), stem) << text;
}

}  // namespace
}  // namespace valdris
