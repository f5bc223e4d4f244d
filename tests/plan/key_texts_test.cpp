// SPDX-License-Identifier: Apache-2.0
// The texts a keyboard user works with: access keys and the check that none
// repeats within a window, and a spreadsheet's block pasted into a table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "key_texts.h"

namespace valdris {
namespace {

// "&&" writes an ampersand; a letter repeats in any case.
TEST(AccessKeys, RepeatsAreNamedOncePerText) {
    const struct {
        std::vector<std::string> texts;
        std::vector<std::string> repeats;
    } cases[] = {
        {{"&Area:", "&Width:", "Plain", "R&&D", "&&Do", "Trailing&"}, {}},
        {{"Save && &Close", "&Copy"}, {"&Copy repeats Alt+C of Save && &Close"}},
        {{"&Seed:", "&Survey unit"}, {"&Survey unit repeats Alt+S of &Seed:"}},
        {{"&Unit", "&Use This LBGR", "Move &Up"},
         {"&Use This LBGR repeats Alt+U of &Unit", "Move &Up repeats Alt+U of &Unit"}},
        {{"&paste", "&Paste"}, {"&Paste repeats Alt+P of &paste"}},
    };
    for (const auto& c : cases) EXPECT_EQ(RepeatedAccessKeys(c.texts), c.repeats);
}

TEST(PastedRowsTest, ASpreadsheetBlockFillsRows) {
    using Rows = std::vector<std::vector<std::string>>;
    const struct {
        const char* what;
        const char* text;
        Rows rows;
    } cases[] = {
        {"tabs, as a spreadsheet copies", "1\t3.2\r\n10\t1.8\r\n", {{"1", "3.2"}, {"10", "1.8"}}},
        {"semicolons keep decimal commas", "1;3,2\n10;1,8", {{"1", "3,2"}, {"10", "1,8"}}},
        {"commas", "1, 3.2\n10 ,1.8\n", {{"1", "3.2"}, {"10", "1.8"}}},
        {"blank lines dropped, short rows filled", "\n1\n\n 2\t\n", {{"1", ""}, {"2", ""}}},
        {"tabs win over commas in a cell", "1\t3,2", {{"1", "3,2"}}},
        {"nothing", "", {}},
    };
    for (const auto& c : cases) {
        const Outcome<PastedRows> pasted = ReadPastedRows(c.text, 2);
        ASSERT_TRUE(pasted) << c.what;
        EXPECT_EQ(pasted->rows, c.rows) << c.what;
    }
}

TEST(PastedRowsTest, ARowWiderThanTheTableIsRefusedByItsLine) {
    const Outcome<PastedRows> pasted = ReadPastedRows("1,2\n\n3,4,5\n", 2);
    ASSERT_FALSE(pasted);
    EXPECT_EQ(pasted.refusal().kind, RefusalKind::PastedRowTooWide);
    EXPECT_EQ(pasted.refusal().text, "Line 3 of the pasted text has 3 cells; the table has 2 columns. Nothing was pasted.");
}

}  // namespace
}  // namespace valdris
