// SPDX-License-Identifier: Apache-2.0
// What the table, the CSV and the budget say beside a unit's figures: a
// given N as given, a power short of 1 - beta, the cost of the samples
// taken, the radionuclides of a sum of fractions, cells a spreadsheet would
// run as formulas.
#include <gtest/gtest.h>

#include <vector>

#include "figure_notes.h"
#include "plan.h"
#include "plan_table.h"

namespace valdris {
namespace {

PlanUnit Unit(std::optional<int32_t> n = std::nullopt) {
    PlanUnit unit;
    unit.name = "U";
    unit.given_n = n;
    unit.costs = {1500.0, 250.0};
    return unit;
}

// Area factors and a scan MDC that make the elevated-area check add samples.
PlanUnit CheckedUnit() {
    PlanUnit unit = Unit();
    unit.field.size = UnitSize{10000, std::nullopt, std::nullopt};
    unit.field.area_factors = {{1, 10}, {10, 3}, {100, 1.5}, {1000, 1.1}};
    unit.field.scan_mdc = 2.5;
    return unit;
}

PlanEntry EntryOf(const PlanUnit& unit) {
    SurveyPlan plan;
    EXPECT_TRUE(plan.Add(unit));
    return plan.entry(0);
}

TEST(FigureNotes, GivenSizeAndPowerShortOfTheTarget) {
    struct Case {
        std::optional<int32_t> given;
        const char* n_cell;
        bool below;
        const char* notes;  // the CSV's trailing columns
    };
    const std::vector<Case> cases = {
        {std::nullopt, "29", false, ",,"},
        {29, "29 (given; designed 29)", false, "given,29,"},
        {20, "20 (given; designed 29)", true, "given,29,yes"},
        {60, "60 (given; designed 29)", false, "given,29,"},
    };
    for (const Case& c : cases) {
        const PlanEntry entry = EntryOf(Unit(c.given));
        EXPECT_EQ(CellText(entry, PlanColumn::N), c.n_cell);
        EXPECT_EQ(CellNumber(entry, PlanColumn::N), static_cast<double>(entry.figures.n));  // sorts as a number
        EXPECT_EQ(PowerBelowTarget(entry.figures), c.below) << c.n_cell;
        const std::string power = CellText(entry, PlanColumn::PowerAtLBGR);
        EXPECT_EQ(power.find("(below 0.95)") != std::string::npos, c.below) << power;
        EXPECT_EQ(CsvFigureNotes(entry.figures), c.notes);
    }
}

// A design no data can pass says so in words beside its power of 0, which
// alone would read as a design merely too small; the CSV says the same.
TEST(FigureNotes, ADesignNoDataCanPassSaysSo) {
    struct Case {
        TestKind test;
        float alpha, beta, sigma;
        std::optional<int32_t> given;
        const char* power_cell;
    };
    const Case cases[] = {
        {TestKind::Sign, 0.05f, 0.5f, 0.5f, std::nullopt, "0.0000, cannot pass (N \u2265 5 needed)"},
        {TestKind::Sign, 0.01f, 0.05f, 0.05f, 2, "0.0000, cannot pass (N \u2265 7 needed)"},
        {TestKind::WRS, 0.1f, 0.5f, 0.5f, std::nullopt, "0.0000, cannot pass (N \u2265 3 needed)"},
        {TestKind::Sign, 0.05f, 0.05f, 0.5f, 20, "1.0000"},  // a given size that can pass
    };
    for (const Case& c : cases) {
        PlanUnit unit = Unit(c.given);
        unit.test = c.test;
        unit.alpha = c.alpha;
        unit.beta = c.beta;
        unit.sigma = c.sigma;
        unit.lbgr = 0;
        const PlanEntry entry = EntryOf(unit);
        const std::string cell = CellText(entry, PlanColumn::PowerAtLBGR);
        EXPECT_EQ(cell, c.power_cell);
        const std::string notes = CsvFigureNotes(entry.figures);
        EXPECT_EQ(notes.substr(notes.rfind(',') + 1), entry.figures.can_pass ? "" : cell.substr(cell.find("cannot")));
    }
}

// N 29 designed; the check asks for more, and the cost counts those.
TEST(FigureNotes, CostCountsTheFinalN) {
    const PlanEntry plain = EntryOf(Unit());
    EXPECT_EQ(plain.figures.final_n, 29);
    EXPECT_EQ(*plain.figures.cost, 1500.0 + 250.0 * 29);

    const PlanEntry checked = EntryOf(CheckedUnit());
    ASSERT_TRUE(checked.field.check);
    ASSERT_GT(checked.field.samples, checked.figures.n);
    EXPECT_EQ(checked.figures.final_n, checked.field.samples);
    EXPECT_EQ(*checked.figures.cost, 1500.0 + 250.0 * checked.field.samples);
    EXPECT_EQ(CellText(checked, PlanColumn::FinalN), std::to_string(checked.field.samples));

    // The budget's rows count the final N at their LBGR too.
    for (const BudgetRow& row : BudgetTable(CheckedUnit())) {
        if (!row.figures) continue;
        EXPECT_GE(row.figures->final_n, row.figures->n);
        EXPECT_EQ(*row.figures->cost, 1500.0 + 250.0 * row.figures->final_n);
    }
}

TEST(FigureNotes, RadionuclideCellNamesTheSum) {
    PlanUnit unit = Unit();
    unit.radionuclide = "Co-60";
    EXPECT_EQ(CellText(EntryOf(unit), PlanColumn::Radionuclide), "Co-60");
    unit.nuclides = {{"Co-60", 5, 0.5, std::nullopt}, {"Cs-137", 10, 2, std::nullopt}};
    const PlanEntry entry = EntryOf(unit);
    EXPECT_EQ(CellText(entry, PlanColumn::Radionuclide), RadionuclideText(unit));
    EXPECT_NE(CellText(entry, PlanColumn::Radionuclide).find("Cs-137"), std::string::npos);
    SurveyPlan plan;
    plan.Add(unit);
    EXPECT_NE(PlanAsCsv(plan).find("Cs-137"), std::string::npos);
}

TEST(FigureNotes, SpreadsheetFormulasAreNeutralised) {
    struct Case {
        const char* name;
        const char* written;  // the CSV's first field of the row
    };
    const std::vector<Case> cases = {
        {"=HYPERLINK(\"x\")", "\"'=HYPERLINK(\"\"x\"\")\""},
        {"+1+2", "'+1+2"},
        {"-2+3", "'-2+3"},
        {"@SUM(A1)", "'@SUM(A1)"},
        {"-5", "-5"},  // a number is no formula
        {"North Yard", "North Yard"},
        {"a=b", "a=b"},
    };
    for (const Case& c : cases) {
        SurveyPlan plan;
        PlanUnit unit = Unit();
        unit.name = c.name;
        plan.Add(unit);
        const std::string csv = PlanAsCsv(plan);
        const std::string row = csv.substr(csv.find('\n') + 1);
        EXPECT_EQ(row.substr(0, std::string(c.written).size() + 1), std::string(c.written) + ",") << c.name;
    }
}

}  // namespace
}  // namespace valdris
