// SPDX-License-Identifier: Apache-2.0
// A plan unit in the field: its inputs' edits, the sum of fractions its
// design runs on, its field figures and a drawn seed.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "field_messages.h"
#include "input_rules.h"
#include "plan.h"
#include "scan_mdc_units.h"

namespace valdris {
namespace {

PlanUnit SizedUnit(bool with_nuclides = false) {
    PlanUnit unit;
    unit.name = "U";
    unit.given_n = 20;
    unit.field.size = UnitSize{2000, std::nullopt, std::nullopt};
    if (with_nuclides) unit.nuclides = {{"Co-60", 5, 0.5, 1.0}, {"Cs-137", 10, 2, 3.0}};
    return unit;
}

// The refusal of an edit, or the notice of a taken one.
std::optional<std::string> TextOf(const UnitEdit& edit) {
    const std::optional<Refusal> said = edit ? edit->notice : edit.refusal();
    return said ? std::optional<std::string>(said->text) : std::nullopt;
}
std::optional<std::string> TextOf(const PlanEditResult& result) {
    const std::optional<Refusal> said = MessageOf(result);
    return said ? std::optional<std::string>(said->text) : std::nullopt;
}

TEST(PlanUnitField, EditsNameTheFieldAndKeepTheUnit) {
    struct Case {
        bool with_nuclides;
        PlanField field;
        const char* text;
        std::optional<std::string> message;  // refusal, or the notice of a taken edit
        bool accepted;
    };
    using namespace field;
    const std::vector<Case> cases = {
        {false, PlanField::Area, "abc", kAreaUnusable, false},
        {false, PlanField::Area, "0", kAreaUnusable, false},
        {false, PlanField::Area, "", std::nullopt, true},
        {false, PlanField::Width, "50", kSideWithoutRectangle, false},
        {false, PlanField::Grid, " Square ", std::nullopt, true},
        {false, PlanField::Grid, "hex", kGridTypeUnknown, false},
        {false, PlanField::Seed, "9007199254740991", std::nullopt, true},
        {false, PlanField::Seed, "9007199254740992", kSeedUnusable, false},
        {false, PlanField::Seed, "-1", kSeedUnusable, false},
        {false, PlanField::ScanMDC, "inf", kScanMDCUnusable, false},
        {false, PlanField::ScanMDC, "1e400", kScanMDCUnusable, false},
        {false, PlanField::ScanMDC, "2.5", std::nullopt, true},  // no table yet: nothing to check
        {false, PlanField::AreaFactors, "1:10", kAreaFactorsTooFew, false},
        {false, PlanField::AreaFactors, "1:10, 10:x", kAreaFactorsTextUnusable, false},
        {false, PlanField::AreaFactors, "1:10, 10:11", "The area factors: the factors must not increase with the "
                                                      "area; 11 follows 10.", false},
        {false, PlanField::Nuclides, "Co-60:5", kNuclidesTextUnusable, false},
        {false, PlanField::Nuclides, "Co-60:5:0.5; Co-60:5:1", "The radionuclide Co-60 is listed twice.", false},
        {false, PlanField::Nuclides, "Co-60:5:0.5:1; Cs-137:10:2", std::nullopt, true},
        {true, PlanField::DCGL, "2", kDCGLOfNuclides, false},
        {true, PlanField::Sigma, "0.2", kSigmaOfNuclides, false},
        {true, PlanField::LBGR, "0.4", kLBGROfConcentrations, false},
        {true, PlanField::Nuclides, "Co-60:5:0.5; Cs-137:10:2", std::nullopt, true},  // the LBGR 0.5 as a fraction
        {true, PlanField::Nuclides, "", std::nullopt, true},
    };
    for (const auto& c : cases) {
        const PlanUnit before = SizedUnit(c.with_nuclides);
        const UnitEdit edit = EditUnit(before, c.field, c.text);
        EXPECT_EQ(static_cast<bool>(edit), c.accepted) << c.text;
        EXPECT_EQ(TextOf(edit), c.message) << c.text;
    }
    // A list without every concentration on a unit whose LBGR is not below
    // 1, the DCGL of a sum of fractions (equal to it included).
    for (const double lbgr : {4.0, 1.0}) {
        PlanUnit wide = SizedUnit();
        wide.dcgl = 10;
        wide.lbgr = lbgr;
        const UnitEdit reset = EditUnit(wide, PlanField::Nuclides, "Co-60:5:0.5");
        ASSERT_TRUE(static_cast<bool>(reset)) << lbgr;
        EXPECT_EQ(reset->unit.lbgr, 0.5);
        EXPECT_EQ(TextOf(reset), rules::kLBGRResetToHalf);
    }
}

// A scan MDC typed for one radionuclide keeps its meaning once the unit is
// on a sum of fractions: over the gross-activity DCGL, or refused without it.
TEST(PlanUnitField, ScanMDCKeepsItsMeaningOnASum) {
    PlanUnit unit = SizedUnit();
    unit.field.area_factors = {{1, 10}, {10, 3}, {100, 1.5}, {1000, 1.1}};
    unit.field.scan_mdc = 2.5;
    ASSERT_TRUE(CheckUnit(unit));
    const UnitEdit without = EditUnit(unit, PlanField::Nuclides, "Co-60:5:0.5; Cs-137:10:2");
    EXPECT_FALSE(static_cast<bool>(without));
    EXPECT_EQ(TextOf(without), kScanMDCNeedsGrossDCGL);
    const UnitEdit with = EditUnit(unit, PlanField::Nuclides, "Co-60:5:0.5:1; Cs-137:10:2:3");
    ASSERT_TRUE(static_cast<bool>(with));
    const Outcome<FieldFigures> field = ComputeUnitField(with->unit, with->figures);
    ASSERT_TRUE(field && field->check);
    // Gross-activity DCGL 1 / (0.25 / 5 + 0.75 / 10) = 8.
    EXPECT_DOUBLE_EQ(field->check->scan_mdc, 2.5 / 8);
}

// Every rule refuses with its own kind, so that no caller need tell two
// refusals apart by their words.
TEST(PlanUnitField, EachRuleRefusesWithItsOwnKind) {
    struct Case {
        PlanField field;
        const char* text;
        RefusalKind kind;
    };
    const Case cases[] = {
        {PlanField::Area, "x", RefusalKind::AreaUnusable},
        {PlanField::Width, "50", RefusalKind::SideWithoutRectangle},
        {PlanField::Grid, "hexagonal", RefusalKind::GridTypeUnknown},
        {PlanField::Seed, "-1", RefusalKind::SeedUnusable},
        {PlanField::ScanMDC, "0", RefusalKind::ScanMDCUnusable},
        {PlanField::AreaFactors, "1:10", RefusalKind::AreaFactorsTooFew},
        {PlanField::AreaFactors, "1:10, x", RefusalKind::AreaFactorsTextUnusable},
        {PlanField::Nuclides, "Co-60:5", RefusalKind::NuclidesTextUnusable},
        {PlanField::Nuclides, "Co-60:5:0.5; Co-60:5:1", RefusalKind::NuclideTwice},
        {PlanField::GivenN, "0", RefusalKind::GivenSizeRange},
        {PlanField::CostFixed, "-1", RefusalKind::CostRange},
        {PlanField::CostPerSample, "abc", RefusalKind::CostRange},
        {PlanField::Test, "t", RefusalKind::TestUnknown},
        {PlanField::Sigma, "1..2", RefusalKind::CellNotOneNumber},
        {PlanField::Alpha, "0.6", RefusalKind::AlphaRange},
    };
    for (const auto& c : cases) {
        const UnitEdit edit = EditUnit(SizedUnit(), c.field, c.text);
        ASSERT_FALSE(static_cast<bool>(edit)) << c.text;
        EXPECT_EQ(edit.refusal().kind, c.kind) << c.text;
    }
}

// Each field's row sits at its own place and names a key and a title of its
// own: a row out of place would give a field another's rule and file key.
TEST(PlanFieldTable, OneRowPerFieldInItsPlace) {
    std::set<std::string> keys;
    std::set<std::string> titles;
    for (std::size_t f = 0; f < kPlanFieldCount; ++f) {
        const PlanFieldRow& row = FieldRow(static_cast<PlanField>(f));
        EXPECT_EQ(static_cast<std::size_t>(row.field), f);
        EXPECT_TRUE(keys.insert(row.key).second) << row.key;
        EXPECT_TRUE(titles.insert(row.title).second) << row.title;
    }
}

TEST(PlanUnitField, TableRowsAndSizeBoxes) {
    struct Case {
        std::function<UnitEdit(const PlanUnit&)> edit;
        std::optional<std::string> refusal;
    };
    const std::vector<Case> cases = {
        {[](const PlanUnit& u) { return EditUnitSize(u, {"", "50", ""}); }, field::kWidthWithoutHeight},
        {[](const PlanUnit& u) { return EditUnitSize(u, {"", "50", "x"}); }, field::kHeightUnusable},
        {[](const PlanUnit& u) { return EditUnitSize(u, {"7", "50", "40"}); }, std::nullopt},
        {[](const PlanUnit& u) { return EditUnitAreaFactors(u, {{"1", "10"}, {"10", "x"}}); },
         "The area factors, row 2: the factor \"x\" is not a number."},
        {[](const PlanUnit& u) { return EditUnitAreaFactors(u, {}); }, std::nullopt},
        {[](const PlanUnit& u) { return EditUnitNuclides(u, {{"Co-60", "5", "0.5", "abc"}}); },
         "The concentration of Co-60 must be a number not below zero."},
        {[](const PlanUnit& u) { return EditUnitNuclides(u, {{" ", "5", "0.5", ""}}); }, field::kNuclideNameMissing},
        {[](const PlanUnit& u) { return EditUnitSeed(u, 9007199254740992ULL); }, field::kSeedUnusable},
    };
    for (std::size_t k = 0; k < cases.size(); ++k) {
        const UnitEdit edit = cases[k].edit(SizedUnit());
        EXPECT_EQ(TextOf(edit), cases[k].refusal) << k;
        EXPECT_EQ(static_cast<bool>(edit), !cases[k].refusal) << k;
    }
    const UnitEdit rectangle = EditUnitSize(SizedUnit(), {"7", "50", "40"});
    EXPECT_EQ(rectangle->unit.field.size->area, 2000);
    EXPECT_EQ(EditUnit(rectangle->unit, PlanField::Height, "20")->unit.field.size->area, 1000);
}

// The worked examples through a plan's unit: the sum of fractions its design
// runs on, and the elevated-area check that raises the final N.
TEST(PlanUnitField, DesignAndFieldFiguresOfTheEntry) {
    SurveyPlan plan;
    ASSERT_TRUE(plan.Add(SizedUnit(true)));
    const DesignSummary& state = plan.entry(0).figures.state;
    EXPECT_EQ(state.DCGL, 1);
    EXPECT_EQ(state.Sigma, 0.2236068f);
    EXPECT_EQ(state.LBGR, 0.5);
    EXPECT_EQ(RadionuclideText(plan.entry(0).unit), "Co-60, Cs-137");

    ASSERT_TRUE(plan.SetNuclides(0, {}));
    ASSERT_TRUE(plan.Edit(0, PlanField::ScanMDC, "2.5"));
    EXPECT_EQ(plan.entry(0).field.samples, 20);  // no table yet
    ASSERT_TRUE(plan.SetAreaFactors(0, {{"1", "10"}, {"10", "3"}, {"100", "1.5"}, {"1000", "1.1"}}));
    const FieldFigures& field = plan.entry(0).field;
    ASSERT_TRUE(field.check);
    EXPECT_EQ(field.check->grid_area, 100);
    EXPECT_EQ(field.check->n_ea, 110);
    EXPECT_EQ(field.samples, 110);
    EXPECT_FALSE(field.layout);  // no seed yet

    // "New Seed" from a given source; a seed beyond the range takes no step.
    ASSERT_TRUE(plan.NewSeed(0, [] { return std::uint64_t{42}; }));
    ASSERT_TRUE(plan.entry(0).field.layout);
    EXPECT_EQ(plan.entry(0).field.layout->seed, 42u);
    EXPECT_EQ(plan.entry(0).field.layout->samples, 110);
    EXPECT_EQ(plan.UndoName(), "New Seed");
    EXPECT_FALSE(plan.NewSeed(0, [] { return std::uint64_t{1} << 53; }));
    EXPECT_EQ(plan.UndoName(), "New Seed");
    ASSERT_TRUE(plan.ClearField(0));
    EXPECT_FALSE(plan.ClearField(0));
    EXPECT_EQ(plan.entry(0).field.samples, 20);
    ASSERT_TRUE(plan.Undo());
    EXPECT_EQ(plan.entry(0).field.layout->seed, 42u);

    // A unit given whole is checked as the edits check it.
    PlanUnit bad = SizedUnit();
    bad.field.scan_mdc = NAN;
    EXPECT_EQ(TextOf(plan.Replace(0, bad)), field::kScanMDCUnusable);
    bad = SizedUnit();
    bad.field.size = UnitSize{2000, 50.0, 41.0};
    EXPECT_EQ(TextOf(plan.Add(bad)), field::kRectangleUnusable);
}

}  // namespace
}  // namespace valdris
