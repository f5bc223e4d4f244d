// SPDX-License-Identifier: Apache-2.0
// The plan's rules that the window only asks for: units followed by their
// ids, the field panel's size boxes, the default costs from typed texts, and
// a unit in the design window.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "design_link.h"
#include "plan.h"
#include "plan_figures.h"
#include "plan_table.h"

namespace valdris {
namespace {

PlanUnit Named(const std::string& name) {
    PlanUnit unit;
    unit.name = name;
    return unit;
}

std::vector<std::string> Names(const SurveyPlan& plan) {
    std::vector<std::string> names;
    for (const PlanEntry& entry : plan.entries()) names.push_back(entry.unit.name);
    return names;
}

// The id of B stays B's through every command, undo and redo; a unit gone
// has no row, and a duplicate is a unit of its own.
TEST(UnitIds, FollowTheUnitNotItsRow) {
    struct Case {
        const char* what;
        std::function<void(SurveyPlan&)> step;
        std::optional<std::size_t> row_of_b;  // nothing: B is gone
    };
    const std::vector<Case> cases = {
        {"added after", [](SurveyPlan& p) { p.Add(Named("D")); }, 1},
        {"moved up", [](SurveyPlan& p) { p.MoveUp(1); }, 0},
        {"the row above moved down", [](SurveyPlan& p) { p.MoveDown(0); }, 0},
        {"moved down", [](SurveyPlan& p) { p.MoveDown(1); }, 2},
        {"the row above removed", [](SurveyPlan& p) { p.Remove(0); }, 0},
        {"removed", [](SurveyPlan& p) { p.Remove(1); }, std::nullopt},
        {"renamed", [](SurveyPlan& p) { p.Rename(1, "B2"); }, 1},
        {"replaced", [](SurveyPlan& p) { p.Replace(1, Named("B3")); }, 1},
        {"edited", [](SurveyPlan& p) { p.Edit(1, PlanField::Alpha, "0.1"); }, 1},
        {"the row above duplicated", [](SurveyPlan& p) { p.Duplicate(0); }, 2},
        {"removed, then undone", [](SurveyPlan& p) { p.Remove(1), p.Undo(); }, 1},
        {"moved, undone and redone", [](SurveyPlan& p) { p.MoveUp(1), p.Undo(), p.Redo(); }, 0},
        {"the row above removed and undone", [](SurveyPlan& p) { p.Remove(0), p.Undo(); }, 1},
    };
    for (const Case& c : cases) {
        SurveyPlan plan;
        for (const char* name : {"A", "B", "C"}) ASSERT_TRUE(plan.Add(Named(name)));
        const UnitId b = plan.entry(1).id;
        c.step(plan);
        EXPECT_EQ(plan.RowOf(b), c.row_of_b) << c.what;
        // Every unit of the plan has an id of its own.
        for (std::size_t i = 0; i < plan.size(); ++i) {
            EXPECT_NE(plan.entry(i).id, 0u) << c.what;
            EXPECT_EQ(plan.RowOf(plan.entry(i).id), i) << c.what;
        }
    }
}

TEST(UnitIds, APlanReadGivesEveryUnitItsOwn) {
    SurveyPlan read({MakeEntry(Named("A"), *ComputeUnit(Named("A"))),
                     MakeEntry(Named("B"), *ComputeUnit(Named("B")))},
                    {});
    EXPECT_NE(read.entry(0).id, read.entry(1).id);
    EXPECT_EQ(read.RowOf(read.entry(1).id), 1u);
    ASSERT_TRUE(read.Add(Named("C")));
    EXPECT_EQ(read.RowOf(read.entry(2).id), 2u);
}

// A width or a height alone waits for the other while the unit has no
// rectangle; with one, each side is an edit of its own; the area replaces it.
TEST(FieldBoxes, ASideWaitsForTheOtherUntilTheUnitHasARectangle) {
    struct Case {
        const char* what;
        bool rectangle;
        PlanField field;
        const char* text;
        SizeTexts size;
        bool waits;
        std::optional<double> area;  // after a taken edit
    };
    const std::vector<Case> cases = {
        {"width alone", false, PlanField::Width, "50", {"", "50", ""}, true, std::nullopt},
        {"height alone", false, PlanField::Height, "40", {"", "", "40"}, true, std::nullopt},
        {"both", false, PlanField::Height, "40", {"", "50", "40"}, false, 2000},
        {"a side of a rectangle", true, PlanField::Width, "10", {"", "10", ""}, false, 400},
        {"the area replaces it", true, PlanField::Area, "7", {"7", "50", "40"}, false, 7},
        {"an area alone", false, PlanField::Area, "9", {"9", "", ""}, false, 9},
    };
    for (const Case& c : cases) {
        SurveyPlan plan;
        ASSERT_TRUE(plan.Add(Named("U")));
        if (c.rectangle) {
            ASSERT_TRUE(plan.SetSize(0, {"", "50", "40"}));
        }
        const bool could_undo = plan.CanUndo();
        const std::string undo = plan.UndoName();
        const std::optional<PlanEditResult> result = plan.EditFieldBox(0, c.field, c.text, c.size);
        EXPECT_EQ(!result, c.waits) << c.what;
        if (c.waits) {
            EXPECT_EQ(plan.CanUndo(), could_undo) << c.what;
            EXPECT_EQ(plan.UndoName(), undo) << c.what << ": no step while waiting";
            continue;
        }
        ASSERT_TRUE(*result) << c.what;
        ASSERT_TRUE(plan.entry(0).unit.field.size) << c.what;
        EXPECT_EQ(plan.entry(0).unit.field.size->area, c.area) << c.what;
    }
    SurveyPlan plan;
    EXPECT_FALSE(*plan.EditFieldBox(0, PlanField::Area, "7", {"7", "", ""})) << "no such row";
}

// The defaults follow the rule of a unit's cost; an unchanged pair makes
// no step and says nothing.
TEST(DefaultCosts, TypedTextsFollowTheUnitsRule) {
    struct Case {
        const char* fixed;
        const char* per_sample;
        bool accepted;
        std::optional<std::string> message;
        SampleCosts after;
    };
    const SampleCosts start{100.0, std::nullopt};
    const std::vector<Case> cases = {
        {"1000", "200", true, std::nullopt, {1000.0, 200.0}},
        {"", "", true, std::nullopt, {}},
        {"100", "", false, std::nullopt, start},
        {"abc", "200", false, kCostRange, start},
        {"100", "-1", false, kCostRange, start},
        {"1e16", "", false, kCostRange, start},
        {"0", "1e15", true, std::nullopt, {0.0, 1e15}},
    };
    for (const Case& c : cases) {
        SurveyPlan plan;
        ASSERT_TRUE(plan.SetDefaultCosts(start));
        const PlanEditResult result = plan.SetDefaultCosts(std::string(c.fixed), std::string(c.per_sample));
        EXPECT_EQ(static_cast<bool>(result), c.accepted) << c.fixed << " " << c.per_sample;
        const std::optional<Refusal> said = MessageOf(result);
        EXPECT_EQ(said ? std::optional<std::string>(said->text) : std::nullopt, c.message)
            << c.fixed << " " << c.per_sample;
        if (said) {
            EXPECT_EQ(said->icon, MessageIcon::Exclamation);
        }
        EXPECT_EQ(plan.default_costs(), c.after) << c.fixed << " " << c.per_sample;
    }
}

// Commands over several units are each one step: one Undo restores every
// unit, one Redo does it all again, and a command that would change nothing
// makes no step.
TEST(SeveralUnits, OneStepEach) {
    struct Case {
        const char* what;
        std::function<PlanEditResult(SurveyPlan&)> command;
        std::vector<std::string> names_after;
        std::vector<SampleCosts> costs_after;
        std::string undo_name;  // empty: no step
    };
    const SampleCosts a{1.0, 2.0};
    const SampleCosts none;
    const std::vector<Case> cases = {
        {"two units deleted", [](SurveyPlan& p) { return p.RemoveRows({2, 0}); }, {"B"}, {none}, "Delete Units"},
        {"costs of two units",
         [](SurveyPlan& p) { return p.SetCosts({1, 2}, std::string("5"), std::string("6")); }, {"A", "B", "C"},
         {a, {5.0, 6.0}, {5.0, 6.0}}, "Unit Costs"},
        {"only the fixed cost given: each keeps its cost per sample",
         [](SurveyPlan& p) { return p.SetCosts({0, 1}, std::string("7"), std::nullopt); }, {"A", "B", "C"},
         {{7.0, 2.0}, {7.0, std::nullopt}, none}, "Unit Costs"},
        {"a refused cost changes no unit",
         [](SurveyPlan& p) { return p.SetCosts({1, 2}, std::string("-1"), std::nullopt); }, {"A", "B", "C"},
         {a, none, none}, ""},
        {"defaults given to every unit",
         [](SurveyPlan& p) { return p.SetDefaultCostsForAll("3", ""); }, {"A", "B", "C"},
         {{3.0, std::nullopt}, {3.0, std::nullopt}, {3.0, std::nullopt}}, "Default Costs"},
    };
    for (const Case& c : cases) {
        SurveyPlan plan;
        for (const char* name : {"A", "B", "C"}) ASSERT_TRUE(plan.Add(Named(name)));
        ASSERT_TRUE(plan.SetCosts({0}, std::string("1"), std::string("2")));
        const std::vector<SampleCosts> before = {a, none, none};
        const auto costs = [](const SurveyPlan& p) {
            std::vector<SampleCosts> all;
            for (const PlanEntry& entry : p.entries()) all.push_back(entry.unit.costs);
            return all;
        };
        const PlanEditResult result = c.command(plan);
        EXPECT_EQ(static_cast<bool>(result), !c.undo_name.empty()) << c.what;
        EXPECT_EQ(Names(plan), c.names_after) << c.what;
        EXPECT_EQ(costs(plan), c.costs_after) << c.what;
        if (c.undo_name.empty()) {
            EXPECT_EQ(plan.UndoName(), "Unit Costs") << c.what << ": the setup's step stays the last";
            continue;
        }
        EXPECT_EQ(plan.UndoName(), c.undo_name) << c.what;
        ASSERT_TRUE(plan.Undo());
        EXPECT_EQ(Names(plan), (std::vector<std::string>{"A", "B", "C"})) << c.what;
        EXPECT_EQ(costs(plan), before) << c.what;
        ASSERT_TRUE(plan.Redo());
        EXPECT_EQ(Names(plan), c.names_after) << c.what;
        EXPECT_EQ(costs(plan), c.costs_after) << c.what;
    }
}

// The Delete key empties a cell only where empty has a meaning (a given N
// left to the design); a required input says so and keeps every value.
TEST(SeveralUnits, ClearingAField) {
    SurveyPlan plan;
    for (const char* name : {"A", "B"}) ASSERT_TRUE(plan.Add(Named(name)));
    ASSERT_TRUE(plan.Edit(0, PlanField::GivenN, "30"));
    ASSERT_TRUE(plan.Edit(1, PlanField::GivenN, "40"));
    const PlanEditResult cleared = plan.ClearField({0, 1}, PlanField::GivenN);
    EXPECT_TRUE(cleared);
    EXPECT_EQ(plan.UndoName(), "Clear Given N");
    EXPECT_FALSE(plan.entry(0).unit.given_n);
    EXPECT_FALSE(plan.entry(1).unit.given_n);
    EXPECT_FALSE(plan.ClearField({0, 1}, PlanField::GivenN)) << "nothing left to clear: no step";
    plan.Undo();
    EXPECT_EQ(plan.entry(0).unit.given_n, 30);
    EXPECT_EQ(plan.entry(1).unit.given_n, 40);
    for (const PlanField required : {PlanField::Name, PlanField::DCGL, PlanField::Sigma, PlanField::Test}) {
        const PlanEditResult refused = plan.ClearField({0}, required);
        EXPECT_FALSE(refused);
        ASSERT_TRUE(MessageOf(refused));
        EXPECT_EQ(refused.refusal().kind, RefusalKind::CellRequired);
        EXPECT_EQ(refused.message().rfind(FieldRow(required).title, 0), 0u) << refused.message();
    }
    EXPECT_EQ(plan.entry(0).unit.name, "A");
}

// Copied rows paste into a spreadsheet as the table shows them.
TEST(CopiedRows, TabSeparatedWithTheTitles) {
    SurveyPlan plan;
    for (const char* name : {"A", "tab\there", "=SUM(A1)"}) ASSERT_TRUE(plan.Add(Named(name)));
    const std::string text = PlanRowsAsText(plan, {1, 2});
    std::vector<std::string> lines;
    std::string::size_type start = 0;
    for (std::string::size_type end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(text.substr(start, end - start));
    }
    ASSERT_EQ(lines.size(), 3u) << text;
    EXPECT_EQ(start, text.size()) << "every line ends";
    for (const std::string& line : lines) {
        EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), kPlanColumnCount - 1) << line;
    }
    EXPECT_EQ(lines[0].substr(0, lines[0].find('\t')), ColumnTitle(PlanColumn::Name));
    EXPECT_EQ(lines[1].substr(0, lines[1].find('\t')), "tab here");
    EXPECT_EQ(lines[2].substr(0, lines[2].find('\t')), "'=SUM(A1)") << "no formula in a spreadsheet";
    EXPECT_NE(lines[1].find(CellText(plan.entry(1), PlanColumn::N)), std::string::npos);
}

// What the design window is given for a unit, and which changes of the
// window's design are changes of the unit.
TEST(DesignLink, EntriesAndSameDesign) {
    PlanUnit unit = Named("U");
    unit.alpha = 0.025f;
    unit.sigma = 0.3f;
    unit.dcgl = 12345678;
    unit.lbgr = 1e-7;
    unit.test = TestKind::WRS;
    const DesignEntries entries = DesignEntriesOf(unit);
    EXPECT_EQ(entries.alpha, "0.025");
    EXPECT_EQ(entries.sigma, "0.3");
    EXPECT_EQ(entries.dcgl, "12345678");
    EXPECT_EQ(entries.lbgr, "0.0000001") << "no exponent: the boxes take digits only";
    EXPECT_EQ(entries.radionuclide, "Unity Rule");
    EXPECT_EQ(entries.test, TestKind::WRS);

    const std::vector<std::pair<const char*, std::function<void(PlanUnit&)>>> changes = {
        {"radionuclide", [](PlanUnit& u) { u.radionuclide = "Co-60"; }},
        {"test", [](PlanUnit& u) { u.test = TestKind::Sign; }},
        {"alpha", [](PlanUnit& u) { u.alpha = 0.05f; }},
        {"beta", [](PlanUnit& u) { u.beta = 0.1f; }},
        {"sigma", [](PlanUnit& u) { u.sigma = 0.31f; }},
        {"dcgl", [](PlanUnit& u) { u.dcgl = 2; }},
        {"lbgr", [](PlanUnit& u) { u.lbgr = 0.4; }},
    };
    for (const auto& [what, change] : changes) {
        PlanUnit other = unit;
        change(other);
        EXPECT_FALSE(SameDesign(unit, other)) << what;
    }
    PlanUnit same = unit;
    same.name = "V";
    same.given_n = 12;
    same.costs = {1.0, 2.0};
    same.survey_data = {1, 2};
    EXPECT_TRUE(SameDesign(unit, same)) << "name, size, costs and data are not the design";
}

}  // namespace
}  // namespace valdris
