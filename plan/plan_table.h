// SPDX-License-Identifier: Apache-2.0
#pragma once
// The plan as a table: its columns, each cell as the window shows it, and
// the CSV export (one row per unit, the same columns, exact values) that the
// window and the companion both write.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "design_report.h"
#include "plan.h"

namespace valdris {

enum class PlanColumn {
    Name, Radionuclide, Test, Alpha, Beta, Sigma, DCGL, LBGR, DoverS,
    N, NReference, CriticalValue, PowerAtLBGR, Cost, FinalN, Spacing
};
constexpr int kPlanColumnCount = 16;

std::string ColumnTitle(PlanColumn column);

// The field an edit of this column changes; nothing for a result column.
std::optional<PlanField> EditedField(PlanColumn column);

// The cell as shown: inputs as the design window writes them, D/s to two
// decimals, the WRS critical value rounded down, the power to four decimals;
// empty where the unit has none (a Sign test's reference area, no costs).
// With radionuclides, sigma, DCGL and LBGR are those its design runs with.
// The final N (after the elevated-area check) and the grid's spacing for it,
// to two decimals, are shown once the unit has a size.
std::string CellText(const PlanEntry& entry, PlanColumn column);

// The cell's number for sorting; nothing for a text or an empty cell.
std::optional<double> CellNumber(const PlanEntry& entry, PlanColumn column);

// The unit's inputs as its design report shows them (the cells' texts and
// D/s to two decimals), for the report page of one unit.
ReportEntries UnitReportEntries(const PlanEntry& entry);

// The CSV file: the column titles, then one row per unit with each number in
// its shortest exact form.
std::string PlanAsCsv(const SurveyPlan& plan);
// The same rows handed over one at a time (the titles first), for a writer
// that need not hold the whole file.
void WritePlanCsv(const SurveyPlan& plan, const std::function<void(std::string_view row)>& put);

// The rows as a spreadsheet pastes them: the column titles, then each row's
// cells as shown (a text a spreadsheet would take for a formula neutralised
// as in the CSV), separated by tabs; a tab or line break within a cell
// becomes a space so that it cannot split the row.
std::string PlanRowsAsText(const SurveyPlan& plan, const std::vector<std::size_t>& rows);

}  // namespace valdris
