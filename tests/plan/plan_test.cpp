// SPDX-License-Identifier: Apache-2.0
// The survey plan model: unit figures, edits under the window's rules, the
// undo history and the budget table.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "input_rules.h"
#include "number_text.h"
#include "assessment_texts.h"
#include "plan.h"
#include "plan_table.h"

namespace valdris {
namespace {

PlanUnit Unit(TestKind test = TestKind::Sign, std::optional<int32_t> n = std::nullopt, SampleCosts costs = {}) {
    PlanUnit unit;
    unit.name = "U";
    unit.test = test;
    unit.given_n = n;
    unit.costs = costs;
    return unit;
}

TEST(PlanUnitFigures, GivenSizesAndCosts) {
    struct Case {
        TestKind test;
        std::optional<int32_t> n;
        SampleCosts costs;
        int32_t expected_n, expected_reference;
        double critical, power;
        std::optional<double> cost;
    };
    const SampleCosts budget{1000.0, 200.0};
    const std::vector<Case> cases = {
        {TestKind::Sign, 29, {}, 29, 0, 19, 0.98900817, std::nullopt},
        {TestKind::Sign, 20, {}, 20, 0, 14, 0.91583067, std::nullopt},
        {TestKind::Sign, 15, {}, 15, 0, 11, 0.79518312, std::nullopt},
        {TestKind::Sign, std::nullopt, budget, 29, 0, 19, 0.98900817, 6800.0},
        {TestKind::WRS, std::nullopt, budget, 32, 32, NAN, NAN, 13800.0},
        {TestKind::Sign, std::nullopt, {std::nullopt, 10.0}, 29, 0, 19, 0.98900817, 290.0},
        {TestKind::Sign, 2147483647, {0.0, 1e15}, 2147483647, 0, NAN, NAN, 1e15 * 2147483647.0},
    };
    for (const auto& c : cases) {
        const FiguresRun run = ComputeUnit(Unit(c.test, c.n, c.costs));
        ASSERT_TRUE(run) << c.expected_n;
        const DesignFigures& f = *run;
        EXPECT_EQ(f.n, c.expected_n);
        EXPECT_EQ(f.n_reference, c.expected_reference);
        if (!std::isnan(c.critical)) {
            EXPECT_EQ(f.critical_value, c.critical) << c.expected_n;
        }
        if (!std::isnan(c.power)) {
            EXPECT_NEAR(f.power_at_lbgr, c.power, 5e-9) << c.expected_n;
        }
        EXPECT_TRUE(std::isfinite(f.power_at_lbgr));
        EXPECT_EQ(f.cost, c.cost) << c.expected_n;
    }
}

// Figures keep no curve: the one formed again must be the designed one in
// every bit, by the engine that designed it, for a given size, and as the
// zeros of a design no data can pass.
TEST(PlanUnitFigures, CurveFormedAgainIsTheDesignedOne) {
    struct Case {
        TestKind test;
        DesignInputs inputs;
        std::optional<int32_t> n;
        const DesignEngine* engine;
    };
    const DesignInputs defaults;
    const DesignInputs impassable{0.05, 0.5, 0.25, 1.0, 0.5};  // Sign N 4, critical value 4
    const std::vector<Case> cases = {
        {TestKind::Sign, defaults, std::nullopt, &kEngine},
        {TestKind::WRS, defaults, std::nullopt, &kEngine},
        {TestKind::WRS, {0.05, 0.05, 0.5, 1.0, 0.9}, 7, &kEngine},
        {TestKind::Sign, {0.025, 0.1, 0.3, 2.0, 1.2}, 50, &kEngine},
        {TestKind::WRS, {0.01, 0.01, 0.05, 1.0, 0.5}, std::nullopt, &kExactQuantileEngine},
        {TestKind::Sign, impassable, std::nullopt, &kEngine},
    };
    for (const Case& c : cases) {
        const FiguresRun figures = ComputeFigures(c.test, c.inputs, c.n, {}, *c.engine);
        const Outcome<DesignState> designed = RunDesign(c.test, c.inputs, c.n, *c.engine);
        ASSERT_TRUE(figures && designed);
        const DesignState again = DesignCurve(*figures);
        EXPECT_EQ(again.CurveX, designed->CurveX) << c.inputs.lbgr;
        EXPECT_EQ(again.CurvePower, designed->CurvePower) << c.inputs.lbgr;
        EXPECT_EQ(again.SignN + again.WRSN, designed->SignN + designed->WRSN);
    }
    EXPECT_FALSE(ComputeFigures(TestKind::Sign, impassable, std::nullopt, {})->can_pass);
}

// Beside a given size, a Sign design's own N is found without its curve: the
// same N as the whole design, or none where the whole design finds none
// (a size beyond 32 bits), by either quantile.
TEST(PlanUnitFigures, DesignedSizeBesideAGivenOneIsTheWholeDesigns) {
    const DesignInputs cases[] = {
        {},
        {0.025, 0.1, 0.3, 2.0, 1.2},
        {0.05, 0.5, 0.25, 1.0, 0.5},              // a design no data can pass
        {0.005, 0.005, 3.0, 1.0, 0.9},            // past the exact critical values
        {0.001, 0.3, 0.01, 1.0, 0.999},           // the curve's points mostly certain
        {0.01, 0.01, 10.0, 1.0, 0.99999},         // no size within 32 bits
    };
    for (const DesignEngine* engine : {&kEngine, &kExactQuantileEngine}) {
        for (const DesignInputs& inputs : cases) {
            const FiguresRun figures = ComputeFigures(TestKind::Sign, inputs, 7, {}, *engine);
            ASSERT_TRUE(figures) << inputs.sigma;
            const Outcome<DesignState> whole = RunDesign(TestKind::Sign, inputs, std::nullopt, *engine);
            EXPECT_EQ(figures->n_designed, whole ? std::optional<int32_t>(whole->SignN) : std::nullopt)
                << inputs.sigma << " " << inputs.lbgr;
        }
    }
}

// A given size equal to the designed one gives the designed figures exactly.
TEST(PlanUnitFigures, GivenSizeFollowsTheDesignPath) {
    for (const TestKind test : {TestKind::Sign, TestKind::WRS}) {
        const DesignFigures designed = *ComputeUnit(Unit(test));
        const DesignFigures given = *ComputeUnit(Unit(test, designed.n));
        EXPECT_EQ(given.critical_value, designed.critical_value);
        EXPECT_EQ(given.power_at_lbgr, designed.power_at_lbgr);
        EXPECT_EQ(DesignCurve(given).CurvePower, DesignCurve(designed).CurvePower);
    }
}

TEST(PlanUnitEdit, AppliesTheWindowRules) {
    struct Case {
        PlanField field;
        const char* text;
        std::optional<std::string> message;  // refusal, or the notice of a taken edit
        bool accepted;
    };
    const std::string dcgl_unusable = rules::kDCGLUnusable;
    const std::string size = kGivenSizeRange;
    const std::string cost = kCostRange;
    const std::vector<Case> cases = {
        {PlanField::Alpha, "0.6", rules::kAlphaRange, false},
        {PlanField::Alpha, "abc", kNotOneNumber, false},
        {PlanField::Alpha, "0,1", kNotOneNumber, false},
        {PlanField::Alpha, "", kNotOneNumber, false},
        {PlanField::Alpha, "0.5", std::nullopt, true},
        {PlanField::Beta, "1.01", rules::kBetaRange, false},
        {PlanField::Beta, "1", std::nullopt, true},
        {PlanField::Sigma, "1.2.3", kNotOneNumber, false},
        {PlanField::Sigma, "0,3", kNotOneNumber, false},
        {PlanField::Sigma, "0", rules::kSigmaNotPositive, false},
        {PlanField::Sigma, "10.01", rules::kSigmaTooLarge, false},
        {PlanField::Sigma, "0.3x9", kNotOneNumber, false},  // never read as 0.3
        {PlanField::Sigma, " 0.3 ", std::nullopt, true},
        {PlanField::DCGL, "0", dcgl_unusable, false},
        {PlanField::DCGL, "2,5", kNotOneNumber, false},  // never read as 2
        {PlanField::DCGL, "2.5", std::nullopt, true},
        {PlanField::DCGL, "0.4", rules::kLBGRResetToHalf, true},
        {PlanField::DCGL, "0.5", rules::kLBGRAboveDCGL, false},  // equal to the LBGR: no reset
        {PlanField::DCGL, "0.04", rules::kSigmaTooLarge, false},  // no design would follow
        {PlanField::LBGR, "2", rules::kLBGRAboveDCGL, false},
        {PlanField::LBGR, "1", rules::kLBGRAboveDCGL, false},
        {PlanField::LBGR, "-1", rules::kLBGRNegative, false},
        {PlanField::LBGR, "0.4abc", kNotOneNumber, false},
        {PlanField::Beta, "0.1 0.2", kNotOneNumber, false},
        {PlanField::GivenN, "0", size, false},
        {PlanField::GivenN, "1.5", size, false},
        {PlanField::GivenN, "2147483648", size, false},
        {PlanField::GivenN, "x", size, false},
        {PlanField::GivenN, "2147483647", std::nullopt, true},
        {PlanField::GivenN, " ", std::nullopt, true},
        {PlanField::CostFixed, "-1", cost, false},
        {PlanField::CostPerSample, "1e16", cost, false},
        {PlanField::Test, "WRS Test", std::nullopt, true},
        {PlanField::Test, "t", "The test must be Sign or WRS.", false},
    };
    for (const auto& c : cases) {
        const PlanUnit before = Unit();
        const UnitEdit edit = EditUnit(before, c.field, c.text);
        EXPECT_EQ(static_cast<bool>(edit), c.accepted) << c.text;
        const std::optional<Refusal> said = edit ? edit->notice : edit.refusal();
        EXPECT_EQ(said ? std::optional<std::string>(said->text) : std::nullopt, c.message) << c.text;
    }
    const UnitEdit lowered = EditUnit(Unit(), PlanField::DCGL, "0.4");
    EXPECT_EQ(lowered->unit.lbgr, 0.2);
    EXPECT_EQ(lowered->notice->icon, MessageIcon::Information);
}

// Where the locale writes a decimal comma, a comma in a box that holds one
// number is the point; elsewhere the same text is refused, never cut short.
TEST(SurveyPlan, DecimalCommaFollowsTheLocale) {
    struct Case {
        bool decimal_comma;
        PlanField field;
        const char* text;
        bool accepted;
        double dcgl;  // the unit's DCGL afterwards
    };
    const std::vector<Case> cases = {
        {false, PlanField::DCGL, "2,5", false, 1.0},
        {true, PlanField::DCGL, "2,5", true, 2.5},
        {true, PlanField::DCGL, "2,5,1", false, 1.0},
        {true, PlanField::Name, "a,b", true, 1.0},  // text keeps its comma
    };
    for (const Case& c : cases) {
        SurveyPlan plan;
        plan.SetDecimalComma(c.decimal_comma);
        ASSERT_TRUE(plan.Add(Unit()));
        EXPECT_EQ(static_cast<bool>(plan.Edit(0, c.field, c.text)), c.accepted) << c.text;
        EXPECT_EQ(plan.entry(0).unit.dcgl, c.dcgl) << c.text;
        if (c.field == PlanField::Name && c.accepted) {
            EXPECT_EQ(plan.entry(0).unit.name, c.text);
        }
    }
    SurveyPlan plan;
    plan.SetDecimalComma(true);
    ASSERT_TRUE(plan.Add(Unit()));
    ASSERT_TRUE(plan.SetSize(0, {"", "10,5", "2"}));
    EXPECT_EQ(*plan.entry(0).unit.field.size->width, 10.5);
    ASSERT_TRUE(plan.SetAreaFactors(0, {{"1", "2,5"}, {"10", "1,5"}}));
    EXPECT_EQ(plan.entry(0).unit.field.area_factors[0].factor, 2.5);
    ASSERT_TRUE(plan.SetNuclides(0, {{"Co-60", "2,5", "0,5", ""}}));
    EXPECT_EQ(plan.entry(0).unit.nuclides[0].sigma, 0.5);
}

TEST(SurveyPlan, UndoAndRedoEveryCommand) {
    SurveyPlan plan;
    std::vector<PlanChange> changes;
    plan.SetChangeListener([&](const PlanChange& change) { changes.push_back(change); });
    ASSERT_TRUE(plan.SetDefaultCosts({100.0, 10.0}));
    ASSERT_TRUE(plan.Add(Unit()));
    EXPECT_EQ(plan.entry(0).figures.cost, 100.0 + 10.0 * 29);  // defaults for a unit without costs
    ASSERT_TRUE(plan.Add(Unit(TestKind::WRS)));
    ASSERT_TRUE(plan.Duplicate(0));
    ASSERT_TRUE(plan.Rename(1, "East"));
    ASSERT_TRUE(plan.MoveDown(1));
    EXPECT_FALSE(plan.MoveDown(2));
    EXPECT_FALSE(plan.Edit(0, PlanField::Alpha, "0.6"));  // refused: no step
    ASSERT_TRUE(plan.Edit(0, PlanField::LBGR, "0.6"));
    ASSERT_TRUE(plan.SetLBGR(1, 0.3));
    ASSERT_TRUE(plan.Remove(0));
    EXPECT_EQ(plan.UndoName(), "Delete Unit");

    const std::vector<std::string> final_names = {"U", "East"};
    ASSERT_EQ(plan.size(), 2u);
    for (std::size_t i = 0; i < plan.size(); ++i) EXPECT_EQ(plan.entry(i).unit.name, final_names[i]);
    EXPECT_EQ(plan.entry(0).unit.lbgr, 0.3);
    EXPECT_EQ(plan.entry(0).unit.test, TestKind::WRS);

    int steps = 0;
    while (plan.Undo()) ++steps;
    EXPECT_EQ(steps, 9);
    EXPECT_EQ(plan.size(), 0u);
    EXPECT_FALSE(plan.default_costs().Given());
    EXPECT_FALSE(plan.IsModified());
    while (plan.Redo()) --steps;
    EXPECT_EQ(steps, 0);
    ASSERT_EQ(plan.size(), 2u);
    EXPECT_EQ(plan.entry(1).unit.name, "East");
    EXPECT_EQ(plan.entry(0).figures.state.LBGR, 0.3);

    // An edit of one unit reports that row alone.
    changes.clear();
    plan.Edit(1, PlanField::Sigma, "0.4");
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].kind, PlanChangeKind::Changed);
    EXPECT_EQ(changes[0].row, 1u);
}

// Measurements as pasted: a refusal names the line and keeps the old data;
// the verdict follows the unit's design through every step and its undo.
TEST(SurveyPlan, MeasurementsAndTheirVerdict) {
    SurveyPlan plan;
    plan.Add(Unit());
    plan.Add(Unit(TestKind::WRS));
    // Ten values, eight below the DCGL: S+ = 8 does not exceed the critical value 8; a ninth passes.
    const std::string eight_below = "Survey\n0.1\n0.2\n0.3\n0.4\n0.5\n0.6\n0.7\n0.8\n1.1\n1.2\n";
    struct Case {
        std::size_t row;
        UnitData which;
        std::string text, column;
        std::optional<std::string> refusal;
        std::optional<bool> passes;  // the verdict afterwards, nothing while it cannot be judged
    };
    const std::string survey = kSurveyDataName;
    const std::vector<Case> cases = {
        {0, UnitData::Survey, eight_below, "", std::nullopt, false},
        {0, UnitData::Survey, "0.1\nx\n", "", survey + ", line 2: \"x\" is not a number.", false},
        {0, UnitData::Survey, "0.1\n", "", survey + ": only one measurement; at least two are needed.", false},
        {0, UnitData::Survey, eight_below + "0.9\n", "", std::nullopt, true},
        {1, UnitData::Survey, "1.2\n1.5\n", "", std::nullopt, std::nullopt},  // no reference data yet
        {1, UnitData::Reference, "a;b\n9;0.1\n8;0.2\n", "B", std::nullopt, false},
    };
    for (const auto& c : cases) {
        const std::vector<double> before = plan.entry(c.row).unit.survey_data;
        const PlanEditResult result = plan.SetData(c.row, c.which, c.text, c.column);
        const std::optional<Refusal> said = MessageOf(result);
        EXPECT_EQ(said ? std::optional<std::string>(said->text) : std::nullopt, c.refusal);
        EXPECT_TRUE(result || plan.entry(c.row).unit.survey_data == before) << c.text;
        const auto& verdict = plan.entry(c.row).assessment;
        ASSERT_TRUE(verdict) << c.text;
        EXPECT_EQ(*verdict ? std::optional<bool>((*verdict)->passes) : std::nullopt, c.passes);
    }
    // Reference values raised by the DCGL: 1.1, 1.2 against 1.2, 1.5 give W = 1 + 2.5; by 2 they rank last.
    EXPECT_EQ((*plan.entry(1).assessment)->statistic, 3.5);
    ASSERT_TRUE(plan.Edit(1, PlanField::DCGL, "2"));
    EXPECT_EQ((*plan.entry(1).assessment)->statistic, 7);

    EXPECT_FALSE(plan.ClearData(0, UnitData::Reference));  // none to clear: no step
    ASSERT_TRUE(plan.ClearData(0, UnitData::Survey) && !plan.entry(0).assessment);
    ASSERT_TRUE(plan.Undo() && (*plan.entry(0).assessment)->passes);

    // With the elevated-area check, a value above DCGL_EMC (1.69 for 29 samples) is marked to investigate.
    ASSERT_TRUE(plan.Edit(0, PlanField::Area, "2000"));
    ASSERT_TRUE(plan.Edit(0, PlanField::AreaFactors, "1:10, 10:3, 100:1.5, 1000:1.1"));
    ASSERT_TRUE(plan.Edit(0, PlanField::ScanMDC, "2.5"));
    ASSERT_TRUE(plan.SetData(0, UnitData::Survey, eight_below + "1.9\n"));
    EXPECT_EQ(MakeAssessmentTexts(**plan.entry(0).assessment).investigate,
              (std::vector<std::string>{"Measurement 9: 1.1", "Measurement 10: 1.2",
                                        "Measurement 11: 1.9 (above DCGL_EMC)"}));

    PlanUnit bad = Unit();
    bad.survey_data = {1.0, NAN};
    EXPECT_EQ(plan.Add(bad).message(), survey + ": measurement 2 is not a finite number.");
}

// Every step of the history holds the unit it changed: the measurements must
// be shared between those copies, not copied for each edit.
TEST(SurveyPlan, HistoryStepsShareTheMeasurements) {
    SurveyPlan plan;
    plan.Add(Unit(TestKind::WRS));
    ASSERT_TRUE(plan.SetData(0, UnitData::Survey, "Survey\n0.1\n0.2\n0.3\n"));
    ASSERT_TRUE(plan.SetData(0, UnitData::Reference, "0\n0.1\n"));
    const double* survey = plan.entry(0).unit.survey_data.values().data();
    const double* reference = plan.entry(0).unit.reference_data.values().data();
    const struct {
        const char* what;
        std::function<bool()> step;
    } steps[] = {
        {"LBGR", [&] { return static_cast<bool>(plan.Edit(0, PlanField::LBGR, "0.3")); }},
        {"name", [&] { return static_cast<bool>(plan.Rename(0, "North")); }},
        {"budget row", [&] { return static_cast<bool>(plan.SetLBGR(0, 0.4)); }},
        {"duplicate", [&] { return static_cast<bool>(plan.Duplicate(0)); }},
        {"undo", [&] { return plan.Undo(); }},
        {"undo", [&] { return plan.Undo(); }},
        {"redo", [&] { return plan.Redo(); }},
        {"copy shares too", [&] {
             return plan.Duplicate(0) && plan.entry(1).unit.survey_data.values().data() == survey;
         }},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.what);
        ASSERT_TRUE(s.step());
        EXPECT_EQ(plan.entry(0).unit.survey_data.values().data(), survey);
        EXPECT_EQ(plan.entry(0).unit.reference_data.values().data(), reference);
        EXPECT_EQ(plan.entry(0).unit.survey_data.header(), "Survey");
    }
    // A new reading is a new set; undoing it gives the shared one back.
    ASSERT_TRUE(plan.SetData(0, UnitData::Survey, "1\n2\n"));
    EXPECT_EQ(plan.entry(0).unit.survey_data, (MeasurementSet{1, 2}));
    EXPECT_EQ(plan.entry(0).unit.survey_data.header(), "");
    ASSERT_TRUE(plan.Undo());
    EXPECT_EQ(plan.entry(0).unit.survey_data.values().data(), survey);
}

// The design window shows a unit on radionuclides as their sum of fractions;
// what it hands back must not overwrite the unit's own DCGL, sigma or text.
TEST(PlanUnitDesign, RadionuclidesKeepTheirOwnInputs) {
    PlanUnit unit = Unit();
    unit.dcgl = 4;
    unit.sigma = 0.75f;
    ASSERT_FALSE(EditUnit(unit, PlanField::Nuclides, "Co-60:5:0.5:1; Cs-137:10:2:3")->notice);
    unit = EditUnit(unit, PlanField::Nuclides, "Co-60:5:0.5:1; Cs-137:10:2:3")->unit;
    const DesignInputs shown = InputsOf(unit);
    EXPECT_EQ(shown.dcgl, 1);
    DesignState state;
    state.Alpha = 0.1f;
    state.Beta = 0.2f;
    state.Sigma = static_cast<float>(shown.sigma);
    state.DCGL = shown.dcgl;
    state.LBGR = 0.25;
    const PlanUnit taken = WithDesignInputs(unit, "Co-60, Cs-137", TestKind::WRS, state);
    EXPECT_EQ(taken.alpha, 0.1f);
    EXPECT_EQ(taken.test, TestKind::WRS);
    EXPECT_EQ(taken.dcgl, 4);
    EXPECT_EQ(taken.sigma, 0.75f);
    EXPECT_EQ(taken.radionuclide, unit.radionuclide);
    EXPECT_EQ(taken.lbgr, unit.lbgr);  // given by the concentrations
    // Otherwise the LBGR is the window's, with radionuclides as a fraction.
    EXPECT_EQ(WithDesignInputs(Unit(), "Cs-137", TestKind::WRS, state).lbgr, 0.25);
    const PlanUnit fraction = EditUnit(Unit(), PlanField::Nuclides, "Co-60:5:0.5; Cs-137:10:2")->unit;
    EXPECT_EQ(WithDesignInputs(fraction, "Co-60, Cs-137", TestKind::WRS, state).lbgr, 0.25);
}

TEST(SurveyPlan, ModifiedFollowsTheSavedStep) {
    SurveyPlan plan;
    plan.Add(Unit());
    plan.MarkSaved();
    EXPECT_FALSE(plan.IsModified());
    plan.Rename(0, "A");
    EXPECT_TRUE(plan.IsModified());
    plan.Undo();
    EXPECT_FALSE(plan.IsModified());
    plan.Undo();
    plan.Add(Unit());  // the saved step can no longer be reached
    plan.Undo();
    plan.Redo();
    EXPECT_TRUE(plan.IsModified());
}

TEST(BudgetTable, TenthsOfTheDCGLAndTheUnitsOwn) {
    PlanUnit unit = Unit(TestKind::Sign, std::nullopt, {0.0, 1.0});
    std::vector<BudgetRow> rows = BudgetTable(unit);
    ASSERT_EQ(rows.size(), 9u);  // 0.5 is one of the tenths
    EXPECT_TRUE(rows[4].current);
    EXPECT_EQ(rows[4].figures->power_at_lbgr, ComputeUnit(unit)->power_at_lbgr);
    EXPECT_EQ(rows[2].lbgr, 0.3);
    for (std::size_t i = 1; i < rows.size(); ++i) {
        ASSERT_TRUE(rows[i].figures);
        EXPECT_GT(rows[i].figures->n, rows[i - 1].figures->n);  // a narrower gray region costs samples
        EXPECT_EQ(rows[i].figures->cost, rows[i].figures->n);
    }

    unit.lbgr = 0.55;
    unit.given_n = 20;
    rows = BudgetTable(unit);
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_TRUE(rows[5].current);
    EXPECT_EQ(rows[5].lbgr, 0.55);
    for (const BudgetRow& row : rows) EXPECT_EQ(row.figures->n, 20);
}

TEST(PlanTable, CsvHasTheColumnsAndExactValues) {
    SurveyPlan plan;
    PlanUnit unit = Unit(TestKind::WRS, std::nullopt, {1000.0, 200.0});
    unit.name = "Yard, \"north\"";
    plan.Add(unit);
    plan.Add(Unit());
    const std::string csv = PlanAsCsv(plan);
    EXPECT_EQ(csv.substr(0, csv.find('\n')),
              "Name,Radionuclide,Test,Alpha,Beta,Sigma,DCGL,LBGR,D/s,N (Survey Unit),N (Reference Area),"
              "Critical Value,Power at LBGR,Cost,Final N,Spacing,N Given,Designed N,Power Below Target");
    EXPECT_NE(csv.find("\n\"Yard, \"\"north\"\"\",Unity Rule,WRS,0.05,0.05,0.5,1,0.5,1,32,32,"), std::string::npos);
    EXPECT_NE(csv.find(",13800,,,,,\n"), std::string::npos);
    EXPECT_NE(csv.find("\nU,Unity Rule,Sign,0.05,0.05,0.5,1,0.5,1,29,,19,"), std::string::npos);
    EXPECT_EQ(CellText(plan.entry(1), PlanColumn::NReference), "");
    EXPECT_EQ(CellNumber(plan.entry(0), PlanColumn::Cost), 13800.0);

    // Once the unit has a size: the final N and the spacing for it.
    ASSERT_TRUE(plan.Edit(1, PlanField::GivenN, "20") && plan.Edit(1, PlanField::Area, "2000"));
    EXPECT_EQ(CellText(plan.entry(1), PlanColumn::FinalN), "20");
    EXPECT_EQ(CellText(plan.entry(1), PlanColumn::Spacing), "10.75");
    ASSERT_TRUE(plan.Edit(1, PlanField::Grid, "square"));
    EXPECT_EQ(CellNumber(plan.entry(1), PlanColumn::Spacing), 10.0);
    EXPECT_NE(PlanAsCsv(plan).find(",20,10,given,29,yes\n"), std::string::npos);
    // The elevated-area check raises the final N to 110: the grid is laid for it.
    ASSERT_TRUE(plan.Edit(1, PlanField::AreaFactors, "1:10, 10:3, 100:1.5, 1000:1.1") &&
                plan.Edit(1, PlanField::ScanMDC, "2.5"));
    EXPECT_EQ(CellText(plan.entry(1), PlanColumn::FinalN), "110");
    EXPECT_EQ(CellText(plan.entry(1), PlanColumn::Spacing), "4.26");

    // On radionuclides the design's sigma is their sum of fractions'.
    ASSERT_TRUE(plan.Edit(1, PlanField::Nuclides, "Co-60:5:0.5:1; Cs-137:10:2:3"));
    EXPECT_EQ(CellText(plan.entry(1), PlanColumn::Sigma), "0.2236068");
}

// A sort compares the stored numbers; they must fall in the order of the
// exact values the CSV writes (a single's shortest text included), with the
// same ties, and be missing exactly where the CSV's cell is empty.
TEST(PlanTable, SortNumbersKeepTheOrderOfTheExactValues) {
    SurveyPlan plan;
    const struct {
        TestKind test;
        const char* alpha;
        const char* sigma;
        const char* lbgr;
        const char* area;  // empty: no size
    } rows[] = {
        {TestKind::Sign, "0.05", "0.5", "0.5", ""},        {TestKind::WRS, "0.1", "0.3", "0.2", "1000"},
        {TestKind::Sign, "0.025", "0.7", "0.45", "2000"},  {TestKind::WRS, "0.05", "0.5", "0.5", ""},
        {TestKind::Sign, "0.010000001", "0.1", "0.25", ""}, {TestKind::WRS, "0.01", "1.3", "0.75", "500"},
    };
    for (const auto& row : rows) {
        plan.Add(Unit(row.test, std::nullopt, {100.0, 2.0}));
        const std::size_t at = plan.size() - 1;
        ASSERT_TRUE(plan.Edit(at, PlanField::Alpha, row.alpha));
        ASSERT_TRUE(plan.Edit(at, PlanField::Sigma, row.sigma));
        ASSERT_TRUE(plan.Edit(at, PlanField::LBGR, row.lbgr));
        if (*row.area) {
            ASSERT_TRUE(plan.Edit(at, PlanField::Area, row.area));
        }
    }
    std::vector<std::vector<std::string>> cells;  // the CSV's rows after its titles
    std::istringstream csv(PlanAsCsv(plan));
    std::string line;
    std::getline(csv, line);
    while (std::getline(csv, line)) {
        cells.emplace_back();
        std::istringstream fields(line + ",");
        for (std::string field; std::getline(fields, field, ',');) cells.back().push_back(field);
    }
    ASSERT_EQ(cells.size(), plan.size());
    for (int c = int(PlanColumn::Alpha); c < kPlanColumnCount; ++c) {
        const auto column = static_cast<PlanColumn>(c);
        for (std::size_t i = 0; i < plan.size(); ++i) {
            const std::optional<double> number = CellNumber(plan.entry(i), column);
            EXPECT_EQ(number.has_value(), !cells[i][c].empty()) << ColumnTitle(column) << " row " << i;
            for (std::size_t j = 0; j < plan.size() && number; ++j) {
                const std::optional<double> other = CellNumber(plan.entry(j), column);
                if (!other) continue;
                const double exact = std::stod(cells[i][c]), exact_other = std::stod(cells[j][c]);
                EXPECT_EQ(*number < *other, exact < exact_other) << ColumnTitle(column) << " " << i << "," << j;
                EXPECT_EQ(*number == *other, exact == exact_other) << ColumnTitle(column) << " " << i << "," << j;
            }
        }
    }
}

// A cell sorts by its number; text cells and empty ones have none, so that
// they gather apart from the numbers.
TEST(PlanTable, CellNumbersOfTextAndEmptyCells) {
    SurveyPlan plan;
    plan.Add(Unit());  // Sign, no costs, no size
    const PlanEntry& entry = plan.entry(0);
    const std::pair<PlanColumn, std::optional<double>> cases[] = {
        {PlanColumn::Name, std::nullopt},     {PlanColumn::Test, std::nullopt},
        {PlanColumn::NReference, std::nullopt}, {PlanColumn::Cost, std::nullopt},
        {PlanColumn::FinalN, std::nullopt},   {PlanColumn::Spacing, std::nullopt},
        {PlanColumn::N, 29.0},                {PlanColumn::Alpha, double(0.05f)},  // the single itself
        {PlanColumn::CriticalValue, 19.0},
    };
    for (const auto& [column, number] : cases) EXPECT_EQ(CellNumber(entry, column), number) << ColumnTitle(column);
}

}  // namespace
}  // namespace valdris
