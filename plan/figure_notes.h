// SPDX-License-Identifier: Apache-2.0
#pragma once
// What a table, a CSV and a report say beside a unit's figures so that none
// of them misstates it: a given N marked as given with the designed N beside,
// a power at the LBGR short of 1 - beta flagged, the cost's sample count.

#include <optional>
#include <string>

#include "plan_figures.h"

namespace valdris {

// "30", or "30 (given; designed 35)" for a given size.
std::string SizeCellText(const DesignFigures& figures);
// "0.8123", or "0.8123 (below 0.95)" when short of 1 - beta; for a design
// no data can pass "0.0000, cannot pass (N ≥ 5 needed)", since its power 0
// alone would read as a design merely too small.
std::string PowerCellText(const DesignFigures& figures, const std::string& power);
// "cannot pass (N ≥ 5 needed)", N being per area for the WRS test, or
// "cannot pass" when no size can; empty for a design that can pass.
std::string CannotPassText(const DesignFigures& figures);
// The target 1 - beta as it is written beside a power short of it.
std::string PowerTargetText(const DesignFigures& figures);

// The CSV's columns after the table's: whether N was given, the designed N,
// and "yes" where the power at the LBGR falls short of 1 - beta (the
// words of CannotPassText where no data can pass).
std::string CsvFigureNoteTitles();
std::string CsvFigureNotes(const DesignFigures& figures);

// A text cell a spreadsheet would run as a formula (beginning with =, +, -
// or @) with an apostrophe in front, which shows it as text; a number such
// as -1 stays as it is.
std::string SpreadsheetSafe(const std::string& text);

}  // namespace valdris
