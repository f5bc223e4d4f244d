// SPDX-License-Identifier: Apache-2.0
// The names of written files: the report's suffix and suggested names.
#include <gtest/gtest.h>

#include "file_names.h"

namespace valdris {
namespace {

TEST(FileNames, ReportsAreNamedPdf) {
    const struct { const char* given; const char* written; } cases[] = {
        {"plan.pdf", "plan.pdf"}, {"plan.PDF", "plan.PDF"},     {"plan.png", "plan.png.pdf"},
        {"plan.txt", "plan.txt.pdf"}, {"plan", "plan.pdf"},     {".pdf", ".pdf.pdf"},
        {"dir.pdf/plan", "dir.pdf/plan.pdf"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReportFileName(c.given), c.written) << c.given;
        EXPECT_EQ(HasFileSuffix(c.given, kReportSuffix), ReportFileName(c.given) == c.given) << c.given;
    }
}

TEST(FileNames, SuggestedNamesHoldOnlyWhatAFileNameMay) {
    const struct { const char* text; const char* stem; } cases[] = {
        {"Sr-90", "Sr-90"},
        {"U-238/U-234", "U-238 U-234"},
        {"a\\b:c*d?e\"f<g>h|i", "a b c d e f g h i"},
        {"Cs-137\tand\nCo-60\x7f", "Cs-137 and Co-60"},
        {"  ..hidden  ", "hidden"},
        {"\xc2\xb9\xc2\xb3\xe2\x81\xb7" "Cs", "\xc2\xb9\xc2\xb3\xe2\x81\xb7" "Cs"},  // UTF-8 stays
        {"/// ", "Survey design"},
        {"", "Survey design"},
    };
    for (const auto& c : cases) EXPECT_EQ(FileNameStem(c.text, "Survey design"), c.stem) << c.text;
}

}  // namespace
}  // namespace valdris
