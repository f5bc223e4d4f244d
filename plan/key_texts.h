// SPDX-License-Identifier: Apache-2.0
#pragma once
// The texts a keyboard user works with: the access key ("mnemonic") of a
// label, button or menu text, the texts of one window among which access
// keys must not repeat, and a block of rows pasted from a spreadsheet.

#include <string>
#include <string_view>
#include <vector>

#include "outcome.h"

namespace valdris {

// The letter after the single '&' of the text, in lower case ("S&eed" ->
// 'e'); '\0' when the text has none ("&&" writes an ampersand).
char AccessKeyOf(std::string_view text);

// The texts that share an access key with an earlier text of the list, each
// as "<text> repeats Alt+<key> of <earlier text>"; empty when none does.
// Texts without an access key take part in nothing.
std::vector<std::string> RepeatedAccessKeys(const std::vector<std::string>& texts);

// A pasted block as rows of cells: lines split at tabs when any line has a
// tab, else at semicolons when any has one, else at commas (a spreadsheet's
// CSV). Blank lines are dropped and cells trimmed; a line with more cells
// than the table has columns is refused, naming the line.
struct PastedRows {
    std::vector<std::vector<std::string>> rows;
};
Outcome<PastedRows> ReadPastedRows(std::string_view text, std::size_t columns);

}  // namespace valdris
