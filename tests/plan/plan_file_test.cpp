// SPDX-License-Identifier: Apache-2.0
// The .vplan file: what is written reads back to the same plan, and a damaged
// file is refused whole with a message naming the unit and the key.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "data_assessment.h"
#include "field_messages.h"
#include "input_rules.h"
#include "plan_file.h"
#include "plan_json.h"
#include "assessment_view.h"

namespace valdris {
namespace {

const std::string kGood =
    R"({"valdris_power_plan": 1, "units": [{"name": "A", "radionuclide": "Cs-137", "test": "sign", "alpha": 0.05,
        "beta": 0.05, "sigma": 0.5, "dcgl": 1, "lbgr": 0.5}, )";

// A file whose second unit has the given keys after its name.
std::string WithSecondUnit(const std::string& keys) { return kGood + R"({"name": "B", )" + keys + "]}"; }

const std::string kText = R"("radionuclide": "", )";
const std::string kWRS = kText + R"("test": "wrs", )";
const std::string kRest = kWRS + R"("alpha": 0.05, "beta": 0.05, "sigma": 0.5, "dcgl": 1)";

TEST(PlanFile, RefusesADamagedFileWhole) {
    struct Case {
        std::string bytes;
        std::string message;
    };
    const std::string unit_b = R"(Unit 2 ("B"))";
    const std::vector<Case> cases = {
        {"", "This file is not a survey plan: its text is not JSON (the error is at byte 1)."},
        {kGood, "This file is not a survey plan: its text is not JSON (the error is at byte " +
                    std::to_string(kGood.size() + 1) + ")."},
        {std::string("{\"valdris_power_plan\": 1, \"units\": []}\0{}", 41),
         "This file is not a survey plan: its text holds a NUL byte (at byte 39)."},
        {std::string("\0", 1), "This file is not a survey plan: its text holds a NUL byte (at byte 1)."},
        {std::string("{\"valdris_power_plan\": 1, \"units\": [{\"name\": \"A\0\"}]}", 52),
         "This file is not a survey plan: its text holds a NUL byte (at byte 48)."},
        {"[1]", "This file is not a survey plan: the key \"valdris_power_plan\" is missing."},
        {R"({"valdris_power_plan": 2, "units": []})",
         "This plan was written by a newer version of VALDRIS Power (plan format 2); this version reads format 1."},
        {R"({"valdris_power_plan": "1", "units": []})", "The key \"valdris_power_plan\" must be 1."},
        {R"({"valdris_power_plan": 1})", "The plan's key \"units\" is missing."},
        {R"({"valdris_power_plan": 1, "units": {}})", "The plan's key \"units\" is not a list of units."},
        {R"({"valdris_power_plan": 1, "unit": []})", "The plan has an unknown key \"unit\"."},
        {R"({"valdris_power_plan": 1, "cost_fixed": -5, "units": []})",
         "The plan's key \"cost_fixed\": " + kCostRange},
        {R"({"valdris_power_plan": 1, "units": [], "units": []})", "The key \"units\" appears twice in one object."},
        {kGood + "3]}", "Unit 2 is not an object of keys and values."},
        {WithSecondUnit(kRest + "}"), unit_b + ": the key \"lbgr\" is missing."},
        {WithSecondUnit(kRest + R"(, "lbgr": 0.5, "lbrg": 0.5})"), unit_b + ": unknown key \"lbrg\"."},
        // Of several unknown keys the first in the order of their text is named.
        {WithSecondUnit(kRest + R"(, "zeta": 1, "lbgr": 0.5, "lbrg": 0.5})"), unit_b + ": unknown key \"lbrg\"."},
        {WithSecondUnit(kRest + R"(, "lbgr": 0.5, "lbrg": 0.5, "lbrg": 1})"),
         "The key \"lbrg\" appears twice in one object."},
        {WithSecondUnit(kRest + R"(, "lbgr": "0.5"})"), unit_b + ", key \"lbgr\": the value is not a number."},
        {WithSecondUnit(kRest + R"(, "lbgr": true})"), unit_b + ", key \"lbgr\": the value is not a number."},
        {WithSecondUnit(kRest + R"(, "lbgr": 1e999})"), unit_b + ", key \"lbgr\": the value is not a finite number."},
        {WithSecondUnit(kRest + R"(, "lbgr": 1.5})"), unit_b + ", key \"lbgr\": " + rules::kLBGRAboveDCGL},
        {WithSecondUnit(kRest + R"(, "lbgr": -0.5})"), unit_b + ", key \"lbgr\": " + rules::kLBGRNegative},
        {WithSecondUnit(kRest + R"(, "lbgr": 0.5, "n": 0})"), unit_b + ", key \"n\": " + kGivenSizeRange},
        {WithSecondUnit(kRest + R"(, "lbgr": 0.5, "n": 2.5})"), unit_b + ", key \"n\": " + kGivenSizeRange},
        {WithSecondUnit(kRest + R"(, "lbgr": 0.5, "cost_per_sample": -1})"),
         unit_b + ", key \"cost_per_sample\": " + kCostRange},
        {WithSecondUnit(kRest + R"(, "lbgr": 0.5, "survey_data": 1.5})"),
         unit_b + ", key \"survey_data\": the value is not a list of numbers."},
        {WithSecondUnit(kRest + R"(, "lbgr": 0.5, "survey_data": [1, "2"]})"),
         unit_b + ", key \"survey_data\": measurement 2 is not a number."},
        {WithSecondUnit(kRest + R"(, "lbgr": 0.5, "survey_data": [0.5]})"),
         unit_b + ", key \"survey_data\": " + kSurveyDataName + ": only one measurement; at least two are needed."},
        {WithSecondUnit(kRest + R"(, "lbgr": 0.5, "survey_data": [0.5, 1], "survey_header": 1})"),
         unit_b + ", key \"survey_header\": the value is not a text in quotes."},
        {WithSecondUnit(kRest + R"(, "lbgr": 0.5, "survey_data": [0.5, 1], "survey_header": "Cs\u001b[2J"})"),
         unit_b + ", key \"survey_header\": the header holds a control character."},
        {WithSecondUnit(kRest + R"(, "lbgr": 0.5, "reference_header": "Background"})"),
         unit_b + ", key \"reference_header\": a header is given without measurements."},
        {WithSecondUnit(kRest + R"(, "lbgr": 0.5, "reference_data": [0.5, -1e999]})"),
         unit_b + ", key \"reference_data\": the value is not a finite number."},
        {WithSecondUnit(R"("radionuclide": 7, "test": "wrs"})"),
         unit_b + ", key \"radionuclide\": the value is not a text in quotes."},
        {WithSecondUnit(kRest + R"(, "lbgr": 0.5, "concentration_unit": 7})"),
         unit_b + ", key \"concentration_unit\": the value is not a text in quotes."},
        {WithSecondUnit(kRest + R"(, "lbgr": 0.5, "concentration_unit": "Bq/\u000akg"})"),
         unit_b + ", key \"concentration_unit\": the unit of concentration holds a control character (a line "
                  "break or a tab)."},
        {WithSecondUnit(kRest + R"(, "lbgr": 0.5, "concentration_unit": "Becquerel per kilogram of dry soil"})"),
         unit_b + ", key \"concentration_unit\": the unit of concentration has more than 30 characters."},
        {WithSecondUnit(kText + R"("test": "WRS", "alpha": 0.05, "beta": 0.05, "sigma": 0.5, "dcgl": 1, "lbgr": 0.5})"),
         unit_b + ", key \"test\": the test must be \"sign\" or \"wrs\"."},
        {WithSecondUnit(kWRS + R"("alpha": 0.5, "beta": 0.5, "sigma": 0.5, "dcgl": 1, "lbgr": 0.5})"),
         unit_b + ", key \"alpha\": " + rules::kAlphaBetaBothLarge},
        {WithSecondUnit(kWRS + R"("alpha": 0.05, "beta": 1.5, "sigma": 0.5, "dcgl": 1, "lbgr": 0.5})"),
         unit_b + ", key \"beta\": " + rules::kBetaRange},
        {WithSecondUnit(kWRS + R"("alpha": 0.05, "beta": 0.05, "sigma": 20, "dcgl": 1, "lbgr": 0.5})"),
         unit_b + ", key \"sigma\": " + rules::kSigmaTooLarge},
        {WithSecondUnit(kWRS + R"("alpha": 0.05, "beta": 0.05, "sigma": 0.5, "dcgl": 1e10, "lbgr": 0.5})"),
         unit_b + ", key \"dcgl\": " + rules::kDCGLUnusable},
        {WithSecondUnit(kWRS + R"("alpha": 0.05, "beta": 0.05, "sigma": 0.5, "dcgl": 1, "lbgr": 0.5, "sigma": 0.4})"),
         "The key \"sigma\" appears twice in one object."},
    };
    for (const auto& c : cases) {
        const PlanReading reading = ReadPlan(c.bytes);
        ASSERT_FALSE(reading) << c.bytes;
        EXPECT_EQ(reading.message(), c.message) << c.bytes;
        EXPECT_EQ(reading.refusal().kind, RefusalKind::PlanFileUnusable) << c.bytes;
    }
}

// Units are read as each one closes, yet the file is still judged whole and
// in its order: a fault of the text, a key twice, the version, the plan's own
// keys, and only then the first refused unit.
TEST(PlanFile, AUnitReadEarlyIsToldOnlyAfterTheWholeFile) {
    const std::string bad_unit = R"({"name": "Bad", "test": "sign"})";
    const std::string good_unit = kGood.substr(kGood.find("[{") + 1, kGood.rfind('}') - kGood.find("[{"));
    const std::string version = R"("valdris_power_plan": 1)";
    struct Case {
        std::string bytes;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"{\"units\": [" + bad_unit + "], " + version + "}",
         "Unit 1 (\"Bad\"): the key \"radionuclide\" is missing."},
        {"{\"units\": [" + good_unit + ", " + good_unit + ", 7, " + bad_unit + "], " + version + "}",
         "Unit 3 is not an object of keys and values."},
        {"{\"units\": [" + bad_unit + "], " + version + ", }",
         "This file is not a survey plan: its text is not JSON (the error is at byte " +
             std::to_string(bad_unit.size() + 40) + ")."},
        {"{\"units\": [" + bad_unit + "], " + version + ", \"units\": []}",
         "The key \"units\" appears twice in one object."},
        {"{\"units\": [" + bad_unit + "], \"valdris_power_plan\": 2}",
         "This plan was written by a newer version of VALDRIS Power (plan format 2); this version reads format 1."},
        {"{\"units\": [" + bad_unit + "], " + version + ", \"cost_fixed\": \"5\"}",
         "The plan's key \"cost_fixed\": the value is not a number."},
        {"{\"units\": [" + good_unit + ", {\"name\": \"C\", \"n\": [1e999]}], " + version + "}",
         "Unit 2 (\"C\"), key \"n\": the value is not a finite number."},
        {"{" + version + ", \"cost_fixed\": 1e999, \"units\": []}",
         "The plan's key \"cost_fixed\": the value is not a finite number."},
        // A list named "units" inside a unit is that unit's unknown key.
        {"{" + version + ", \"units\": [{\"name\": \"D\", \"units\": [" + bad_unit + "]}]}",
         "Unit 1 (\"D\"): unknown key \"units\"."},
        {"{" + version + ", \"units\": [{\"name\": \"E\", \"nuclides\": [{\"name\": 1, \"name\": 2}]}]}",
         "The key \"name\" appears twice in one object."},
    };
    for (const auto& c : cases) {
        const PlanReading reading = ReadPlan(c.bytes);
        EXPECT_FALSE(reading) << c.bytes;
        EXPECT_EQ(reading.message(), c.message) << c.bytes;
    }
}

// The room kept for a plan's entries: objects two levels in, outside the
// strings whatever they escape, and never more than units of the least
// size would fill.
TEST(PlanFile, RoomIsKeptForTheUnitsAFileCanHold) {
    const std::string pad(200, ' ');
    const std::pair<std::string, std::size_t> texts[] = {
        {"", 0},
        {R"({"units": [{}, {"a": {"b": 1}}, [{}]]})" + pad, 2},
        {R"({"units": [{"name": "{{"}, "{"]})" + pad, 1},
        {R"({"units": [{"name": "a\"{"}, {}]})" + pad, 2},
        {R"({"units": [{"name": "a\\"}, {}]})" + pad, 2},
        {R"({"units": ["\\\"{", {}]})" + pad, 1},
        {"{\"units\": [{\"name\": \"\xc3\xa9[]{}\xc3\xbc\"}, {\"a\": [1, {\"b\": [2]}]}, {}]}" + pad, 3},
        {"{\"units\": [{\"unterminated {" + pad, 1},
        {R"({"units": [{}, {}, {}, {}, {}, {}]})", 0},  // 35 bytes hold no unit
        {R"({"units": [{}, {}, {}, {}, {}, {}]})" + std::string(45, ' '), 2},
    };
    for (const auto& [text, units] : texts) EXPECT_EQ(UnitsAtMost(text), units) << text;
}

TEST(PlanFile, WhatIsWrittenReadsBackTheSame) {
    SurveyPlan plan;
    ASSERT_TRUE(plan.SetDefaultCosts({std::nullopt, 12.5}));
    PlanUnit a;
    a.name = "Nord \"Hof\"\n\u00e4\u6e2f";
    a.radionuclide = "Cs-137";
    a.concentration_unit = "dpm/100 cm\u00b2";
    a.test = TestKind::WRS;
    a.alpha = 0.025f;
    a.beta = 0.1f;
    a.sigma = 0.3f;
    a.dcgl = 0.1 + 0.2;
    a.lbgr = 0.1;
    a.given_n = 17;
    a.costs = {1e15, 0.1};
    a.survey_data = {0.1 + 0.2, -1e-300, 0.3, 1e30 / 3, 0.2};
    a.reference_data = {-0.0, 0.05, 1.0 / 3};
    ASSERT_TRUE(plan.Add(a));
    PlanUnit b;
    b.survey_data = {1e8, 2e8, 0.1};  // a Sign unit's verdict reads back too
    b.dcgl = 1e9;
    b.lbgr = 1e9 / 3;
    b.sigma = 1e8f;
    ASSERT_TRUE(plan.Add(b));

    const std::string bytes = WritePlan(plan);
    const PlanReading reading = ReadPlan(bytes);
    ASSERT_TRUE(reading) << reading.message() << "\n" << bytes;
    const SurveyPlan& read = *reading;
    EXPECT_EQ(WritePlan(read), bytes);
    EXPECT_EQ(read.default_costs(), plan.default_costs());
    ASSERT_EQ(read.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        const PlanUnit& x = plan.entry(i).unit;
        const PlanUnit& y = read.entry(i).unit;
        EXPECT_EQ(y.name, x.name);
        EXPECT_EQ(y.concentration_unit, x.concentration_unit);
        EXPECT_EQ(y.test, x.test);
        EXPECT_EQ(y.alpha, x.alpha);
        EXPECT_EQ(y.beta, x.beta);
        EXPECT_EQ(y.sigma, x.sigma);
        EXPECT_EQ(y.dcgl, x.dcgl);
        EXPECT_EQ(y.lbgr, x.lbgr);
        EXPECT_EQ(y.given_n, x.given_n);
        EXPECT_EQ(y.costs, x.costs);
        EXPECT_EQ(y.survey_data, x.survey_data);
        for (std::size_t k = 0; k < x.reference_data.size(); ++k) {
            EXPECT_EQ(std::signbit(y.reference_data[k]), std::signbit(x.reference_data[k]));
        }
        EXPECT_EQ(y.reference_data, x.reference_data);
        ASSERT_TRUE(read.entry(i).assessment && *read.entry(i).assessment) << i;
        const DataAssessment& verdict = **read.entry(i).assessment;  // the same decision
        const DataAssessment& written = **plan.entry(i).assessment;
        EXPECT_EQ(std::make_pair(verdict.passes, verdict.p_value), std::make_pair(written.passes, written.p_value));
        EXPECT_EQ(read.entry(i).figures.power_at_lbgr, plan.entry(i).figures.power_at_lbgr);
        EXPECT_EQ(read.entry(i).figures.cost, plan.entry(i).figures.cost);
    }
    EXPECT_NE(bytes.find("\"alpha\": 0.025, \"beta\": 0.1, \"sigma\": 0.3, \"dcgl\": 0.30000000000000004"),
              std::string::npos);
    EXPECT_FALSE(read.IsModified());

    // An empty list is a unit without data yet; it is written as none.
    const PlanReading empty = ReadPlan(WithSecondUnit(kRest + R"(, "lbgr": 0.5, "survey_data": []})"));
    ASSERT_TRUE(empty) << empty.message();
    EXPECT_FALSE(empty->entry(1).assessment);
}

// A text that stops being plain after some units (a name beyond ASCII) is
// read again from its start: each unit once, and a refusal of an earlier
// unit told as it would be.
TEST(PlanFile, UnitsBeforeATextStopsBeingPlainAreReadOnce) {
    const std::string later = "{\"name\": \"Z\u00fcrich\", " + kRest + R"(, "lbgr": 0.5}]})";
    const PlanReading read = ReadPlan(kGood + later);
    ASSERT_TRUE(read) << read.message();
    ASSERT_EQ(read->size(), 2u);
    EXPECT_EQ(read->entry(0).unit.name, "A");
    EXPECT_EQ(read->entry(1).unit.name, "Z\u00fcrich");
    const std::string bad = kGood + R"({"name": "B", )" + kRest + R"(, "lbgr": 2}, )" + later;
    const PlanReading told = ReadPlan(bad);
    ASSERT_FALSE(told);
    EXPECT_EQ(told.message().rfind("Unit 2 (\"B\"), key \"lbgr\"", 0), 0u) << told.message();
}

// A writer of every curve keeps the powers as designed: each unit's curve
// is then the very one designing it again gives, whatever made it so (a
// given size, a design no data can pass, a DCGL whose grid drifts).
TEST(PlanFile, KeptCurvesAreTheCurvesDesignedAgain) {
    const std::string sign = R"("radionuclide": "", "test": "sign", "alpha": 0.05, "beta": 0.05, )";
    const std::string text = kGood +
        R"({"name": "B", )" + kRest + R"(, "lbgr": 0.5, "n": 17}, )" +
        R"({"name": "C", )" + kRest + R"(, "lbgr": 0.5, "n": 1}, )" +
        R"({"name": "D", )" + sign + R"("sigma": 0.3, "dcgl": 0.30000000000000004, "lbgr": 0.1}, )" +
        R"({"name": "E", )" + sign + R"("sigma": 3e8, "dcgl": 1e9, "lbgr": 3e8, "n": 80}]})";
    const PlanReading kept = ReadPlan(text, {}, CurveKept::Yes);
    const PlanReading again = ReadPlan(text);
    ASSERT_TRUE(kept && again) << kept.message();
    ASSERT_EQ(kept->size(), 5u);
    EXPECT_FALSE(kept->entry(2).figures.can_pass);
    for (std::size_t i = 0; i < kept->size(); ++i) {
        ASSERT_TRUE(kept->entry(i).figures.curve_powers) << i;
        EXPECT_FALSE(again->entry(i).figures.curve_powers) << i;
        const DesignState a = DesignCurve(kept->entry(i).figures);
        const DesignState b = DesignCurve(again->entry(i).figures);
        EXPECT_EQ(std::memcmp(a.CurveX.data(), b.CurveX.data(), sizeof a.CurveX), 0) << i;
        EXPECT_EQ(std::memcmp(a.CurvePower.data(), b.CurvePower.data(), sizeof a.CurvePower), 0) << i;
    }
}

TEST(PlanFile, FieldKeysAreRefusedByUnitAndKey) {
    const std::string unit_b = R"(Unit 2 ("B"), key )";
    const std::string rest = kRest + R"(, "lbgr": 0.5, )";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {R"("area": 2000, "width": 50})", "\"area\": give the area or the width and the height, not both."},
        {R"("width": 50})", "\"height\": " + field::kWidthWithoutHeight},
        {R"("width": 50, "height": 0})", "\"height\": " + field::kHeightUnusable},
        {R"("area": "2000"})", "\"area\": the value is not a number."},
        {R"("area": 2000, "grid": "Square"})", "\"grid\": the grid must be \"triangular\" or \"square\"."},
        {R"("seed": 9007199254740992})", "\"seed\": " + field::kSeedUnusable},
        {R"("seed": 18446744073709551615})", "\"seed\": " + field::kSeedUnusable},
        {R"("seed": 1.5})", "\"seed\": " + field::kSeedUnusable},
        {R"("scan_mdc": 0})", "\"scan_mdc\": " + field::kScanMDCUnusable},
        {R"("area_factors": [[1, 10], [10]]})", "\"area_factors\": pair 2 is not [area, factor]."},
        {R"("area_factors": [[1, 10], [1, 3]]})",
         "\"area_factors\": The area factors: the areas must increase; 1 follows 1."},
        {R"("nuclides": [{"name": "Co-60", "dcgl": 5}]})", "\"nuclides\": radionuclide 1 has no key \"sigma\"."},
        {R"("nuclides": [{"name": "Co-60", "dcgl": 5, "sigma": 1, "c": 1}]})",
         "\"nuclides\": radionuclide 1 has an unknown key \"c\"."},
        {R"("nuclides": [{"name": "Co-60", "dcgl": 5, "sigma": 1, "concentration": -1}]})",
         "\"nuclides\": " + field::NuclideConcentrationRefusal("Co-60").text},
        {R"("survey_ids": ["1"]})", "\"survey_ids\": 1 given for 0 survey unit measurements."},
        {R"("survey_data": [1, 2], "survey_ids": ["1", 2]})", "\"survey_ids\": id 2 is not a text in quotes."},
        {R"("survey_data": [1, 2], "survey_ids": ["7", "7"]})",
         "\"survey_ids\": The survey unit's measurements: measurements 1 and 2 have the same id."},
        {R"("survey_data": [1, 2], "survey_places": [[0, 0], [1]]})",
         "\"survey_places\": place 2 is not a pair of numbers [x, y]."},
        {R"("survey_data": [1, 2], "survey_ids": ["1", "2"], "survey_places": [[0, 0], [1, 1]]})",
         "\"survey_places\": give \"survey_ids\" or \"survey_places\", not both."},
        {R"("elevated_area_sizes": {"7": 0}})",
         "\"elevated_area_sizes\": location \"7\": An elevated area's size must be a number above 0 (m2)."},
    };
    for (const auto& [keys, message] : cases) {
        const PlanReading reading = ReadPlan(WithSecondUnit(rest + keys));
        EXPECT_FALSE(reading) << keys;
        EXPECT_EQ(reading.message(), unit_b + message) << keys;
    }
}

// A unit in the field reopens with the same figures and the same locations.
TEST(PlanFile, FieldUnitsReadBackTheSame) {
    SurveyPlan plan;
    PlanUnit a;
    a.name = "A";
    a.given_n = 20;
    a.field.size = UnitSize{50.0 * 40.1, 50.0, 40.1};
    a.field.seed = 9007199254740991ULL;
    a.field.scan_mdc = 2.5;
    a.field.area_factors = {{1, 10}, {10, 3}, {100, 1.5}, {1000, 0.1 + 1}};
    PlanUnit b;
    b.name = "B";
    b.field.size = UnitSize{2000.0 / 3, std::nullopt, std::nullopt};
    b.field.grid = GridType::Square;
    b.field.seed = 0;
    b.nuclides = {{"Co-60", 5, 0.5, 1.0 / 3}, {"Cs-137", 10, 2, std::nullopt}};
    b.lbgr = 0.25;
    ASSERT_TRUE(plan.Add(a));
    ASSERT_TRUE(plan.Add(b));

    const std::string bytes = WritePlan(plan);
    const PlanReading reading = ReadPlan(bytes);
    ASSERT_TRUE(reading) << reading.message() << "\n" << bytes;
    EXPECT_EQ(WritePlan(*reading), bytes);
    for (std::size_t i = 0; i < 2; ++i) {
        const PlanEntry& x = plan.entry(i);
        const PlanEntry& y = reading->entry(i);
        EXPECT_EQ(y.figures.state.Sigma, x.figures.state.Sigma);
        EXPECT_EQ(y.figures.n, x.figures.n);
        EXPECT_EQ(y.field.samples, x.field.samples);
        ASSERT_TRUE(x.field.layout && y.field.layout) << i;
        EXPECT_EQ(y.field.layout->seed, x.field.layout->seed);
        EXPECT_EQ(y.field.layout->spacing, x.field.layout->spacing);
        ASSERT_EQ(y.field.layout->points.size(), x.field.layout->points.size());
        for (std::size_t k = 0; k < x.field.layout->points.size(); ++k) {
            EXPECT_EQ(y.field.layout->points[k].x, x.field.layout->points[k].x);
            EXPECT_EQ(y.field.layout->points[k].y, x.field.layout->points[k].y);
        }
    }
    EXPECT_EQ(plan.entry(0).field.samples, 110);
    EXPECT_NE(bytes.find("\"seed\": 9007199254740991"), std::string::npos);
}

// Measurements with their ids or places, and the sizes of the areas found,
// reopen the same; the unit's view joins them to its locations.
TEST(PlanFile, MeasurementsWithTheirPlacesReadBackTheSame) {
    PlanUnit a;
    a.name = "A";
    a.field.size = UnitSize{100, std::nullopt, std::nullopt};
    a.field.seed = 7;
    a.field.area_factors = {{1, 4}, {16, 1}};
    a.elevated_area_sizes = {{"2", 1.0}};
    const UnitEdit placed = EditUnitPlacedData(a, "id,v\n1,0.2\n2,1.5\n3,0.4\nX9,0.6\n", "", {"id", "", ""});
    ASSERT_TRUE(placed) << placed.message();
    ASSERT_TRUE(placed->notice);
    EXPECT_EQ(placed->notice->text, "Joined to no location (counted in the test all the same): X9.");
    PlanUnit b = a;
    b.name = "B";
    b.survey_data = MeasurementSet({0.5, 0.25}, "", {{}, {{1.0 / 3, -2}, {1e-9, 5}}});
    SurveyPlan plan;
    ASSERT_TRUE(plan.Add(placed->unit));
    ASSERT_TRUE(plan.Add(b));

    const std::string bytes = WritePlan(plan);
    const PlanReading reading = ReadPlan(bytes);
    ASSERT_TRUE(reading) << reading.message() << "\n" << bytes;
    EXPECT_EQ(WritePlan(*reading), bytes);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(reading->entry(i).unit.survey_data.values(), plan.entry(i).unit.survey_data.values());
        EXPECT_TRUE(reading->entry(i).unit.survey_data.where() == plan.entry(i).unit.survey_data.where()) << i;
        EXPECT_EQ(reading->entry(i).unit.survey_data.header(), plan.entry(i).unit.survey_data.header()) << i;
    }
    EXPECT_EQ(reading->entry(0).unit.elevated_area_sizes, a.elevated_area_sizes);

    // Location 2 (1.5) investigated at 1 m2, factor 4: 0.4 + (1.5 - 0.4) / 4 = 0.675.
    const AssessmentView view = MakeAssessmentView(reading->entry(0));
    std::vector<std::string> posted;
    for (const PostedValue& p : view.posted) posted.push_back(p.id);
    EXPECT_EQ(posted, (std::vector<std::string>{"1", "2", "3"}));
    const auto has = [&](const std::string& line) {
        return std::find(view.area_lines.begin(), view.area_lines.end(), line) != view.area_lines.end();
    };
    EXPECT_TRUE(has("Joined to no location (counted in the test all the same): X9.")) << view.area_lines.front();
    EXPECT_TRUE(has("The elevated-measurement comparison passes."));
}

// Each long reading tells how far it has come, in order and not too often,
// and ends at once when told to stop, leaving the unit as it was.
TEST(PlanFile, AReadingTellsItsProgressAndStopsWhenTold) {
    std::string values = "Cs-137\n";
    std::string placed = "id,v\n";
    for (int i = 0; i < 5000; ++i) {
        values += std::to_string(i % 7) + ".5\n";
        placed += std::to_string(i) + "," + std::to_string(i % 5) + "\n";
    }
    SurveyPlan plan;
    for (int i = 0; i < 300; ++i) ASSERT_TRUE(plan.Add(PlanUnit{}));
    const std::string plan_bytes = WritePlan(plan);
    const std::string last_step = plan.UndoName();
    using Read = std::function<std::optional<Refusal>(const ReadProgress&)>;
    const auto refusal = [](const auto& outcome) { return outcome ? std::nullopt : std::optional(outcome.refusal()); };
    const std::pair<const char*, Read> readers[] = {
        {"measurements", [&](const ReadProgress& p) { return refusal(ReadMeasurements(values, "s", "", p)); }},
        {"placed", [&](const ReadProgress& p) { return refusal(ReadPlacedMeasurements(placed, "s", "v", {"id", "", ""}, p)); }},
        {"plan", [&](const ReadProgress& p) { return refusal(ReadPlan(plan_bytes, p)); }},
        {"unit's data", [&](const ReadProgress& p) { return refusal(plan.SetData(0, UnitData::Survey, values, "", p)); }},
    };
    for (const auto& [name, read] : readers) {
        for (const int stop_at : {1, 7}) {
            int asked = 0;
            const std::optional<Refusal> stopped = read([&](double) { return ++asked < stop_at; });
            ASSERT_TRUE(stopped) << name;
            EXPECT_EQ(stopped->kind, RefusalKind::ReadCancelled) << name;
            EXPECT_EQ(asked, stop_at) << name;
        }
        EXPECT_TRUE(plan.entry(0).unit.survey_data.empty()) << name;
        EXPECT_EQ(plan.UndoName(), last_step) << name;
        std::vector<double> told;
        const std::optional<Refusal> whole = read([&](double done) { told.push_back(done); return true; });
        EXPECT_FALSE(whole) << name << ": " << whole->text;
        ASSERT_GE(told.size(), 10u) << name;
        EXPECT_LE(told.size(), ReadTicker::kReadSteps + 1) << name;
        EXPECT_TRUE(std::is_sorted(told.begin(), told.end()) && told.front() > 0 && told.back() <= 1) << name;
    }
}

}  // namespace
}  // namespace valdris
