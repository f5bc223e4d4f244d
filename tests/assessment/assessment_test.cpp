// SPDX-License-Identifier: Apache-2.0
// Measurements read from pasted text and files, the rules on them, and the
// assessment's verdict and words.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "assessment_texts.h"
#include "assessment_view.h"
#include "data_assessment.h"
#include "design_inputs.h"
#include "measurement_text.h"
#include "plan.h"

namespace valdris {
namespace {

TEST(ReadMeasurements, TakesColumnsAndRefusesWholeTextsNamingTheLine) {
    const struct {
        const char* what;
        std::string text;
        std::string column;
        std::vector<double> values;
        std::string refusal;  // the message's start after "data"; empty: taken
    } cases[] = {
        {"pasted column", "0.5\n-1.25\n3e2\n", "", {0.5, -1.25, 300}, ""},
        {"header, CRLF, blank lines, BOM", "\xEF\xBB\xBF" "Cs-137\r\n\r\n1\r\n 2 \r\n", "", {1, 2}, ""},
        {"many digits", "0.12345678901234567890123\n1\n", "", {0.12345678901234567890123, 1}, ""},
        {"trailing separators", "1,\n2,\n", "", {1, 2}, ""},
        {"column by header", "id;Result;note\n1;0.5;a\n2;;b\n3;\"0.7\";c\n", "result", {0.5, 0.7}, ""},
        {"tab separated", "x\ty\n1\t5\n2\t6\n", "y", {5, 6}, ""},
        {"not a number", "1\n2\nabc\n", "", {}, ", line 3: \"abc\" is not a number."},
        {"mistyped first value", "1.2.3\n2\n3\n", "", {}, ", line 1: \"1.2.3\" is not a number."},
        {"NaN", "1\nNaN\n", "", {}, ", line 2: \"NaN\" is not a finite number."},
        {"infinite", "1\n2\n-1e999\n", "", {}, ", line 3: \"-1e999\" is not a finite number."},
        {"decimal comma", "1,5\n2,5\n", "", {}, ", line 1: 2 columns; give one column"},
        {"second column later", "1\n2\t3\n", "", {}, ", line 2: 2 columns; one column"},
        {"CRLF ends one line", "1\r\n2\r\nabc\r\n", "", {}, ", line 3: \"abc\" is not a number."},
        {"a tab before a semicolon or a comma", "Result\tnote\n0.5\ta;b,c\n0.7\t\n", "result", {0.5, 0.7}, ""},
        {"no such column", "a,b\n1,2\n", "c", {}, ", line 1: no column is headed \"c\"."},
        {"empty", "\n \n", "", {}, ": no measurements"},
        {"header only", "Result\n", "", {}, ": no measurements"},
        {"one value", "Result\n\n7\n", "", {}, ": only one measurement"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const MeasurementReading reading = ReadMeasurements(c.text, "data", c.column);
        if (c.refusal.empty()) {
            ASSERT_TRUE(reading) << reading.message();
            EXPECT_EQ(reading->values, c.values);
        } else {
            ASSERT_FALSE(reading);
            EXPECT_EQ(reading.message().rfind("data" + c.refusal, 0), 0u) << reading.message();
        }
    }
}

TEST(ReadMeasurements, TakesAFirstLineForAHeaderOnlyWhenItReadsAsAName) {
    const struct {
        std::string first_line;
        std::string header;   // taken as the header; empty: read as a value
        std::string refusal;  // the message after "data, line 1: " when read as a value
    } cases[] = {
        {"Cs-137 (Bq/kg)", "Cs-137 (Bq/kg)", ""},
        {"Result", "Result", ""},
        {"e5", "e5", ""},                 // begins as a name does, so names a column
        {"\xC3\x89" "chantillon", "\xC3\x89" "chantillon", ""},
        {"Cs\x1B[2J", "Cs?[2J", ""},  // shown without its control character
        {std::string(79, 'H') + "\xC3\x89 more", std::string(79, 'H') + "...", ""},  // cut before a character
        {std::string(80, 'H'), std::string(80, 'H'), ""},
        {"0.4o", "", "\"0.4o\" is not a number."},
        {"5 Bq", "", "\"5 Bq\" is not a number."},
        {"1e+", "", "\"1e+\" is not a number."},
        {"0x10", "", "\"0x10\" is not a number."},
        {"-Cs", "", "\"-Cs\" is not a number."},
        {"+x", "", "\"+x\" is not a number."},
        {".a", "", "\".a\" is not a number."},
        {"#N/A", "", "\"#N/A\" is not a number."},
        {"#VALUE!", "", "\"#VALUE!\" is not a number."},
        {"#div/0!", "", "\"#div/0!\" is not a finite number."},
        {"\xD9\xA1", "", "\"\xD9\xA1\" is not a number."},                 // Arabic-Indic one
        {"\xEF\xBC\x91 Bq", "", "\"\xEF\xBC\x91 Bq\" is not a number."},  // fullwidth one
        {"\xF0\x9D\x9F\x8F", "", "\"\xF0\x9D\x9F\x8F\" is not a number."},  // mathematical one
        {"NaN", "", "\"NaN\" is not a finite number."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first_line);
        const MeasurementReading reading = ReadMeasurements(c.first_line + "\n1\n2\n", "data");
        if (c.refusal.empty()) {
            ASSERT_TRUE(reading) << reading.message();
            EXPECT_EQ(reading->header, c.header);
            EXPECT_EQ(reading->values, (std::vector<double>{1, 2}));
        } else {
            ASSERT_FALSE(reading);
            EXPECT_EQ(reading.message(), "data, line 1: " + c.refusal);
        }
    }
}

TEST(ReadMeasurements, RefusesNulBytesAndStopsAtTheMostMeasurements) {
    std::string most;
    for (std::size_t i = 0; i < kMostMeasurements; ++i) most += "1\n";
    const struct {
        const char* what;
        std::string text;
        std::string refusal;  // empty: taken
    } cases[] = {
        {"NUL in a value", std::string("1\n2\0\n3\n", 7), "data, line 2: the line holds a NUL byte; measurements are text."},
        {"NUL in the header", std::string("Cs\0\n1\n2\n", 9), "data, line 1: the line holds a NUL byte; measurements are text."},
        {"NUL in an unused cell", std::string("a;b\n\0;1\n2;3\n", 12), "data, line 2: the line holds a NUL byte; measurements are text."},
        {"the most", most, ""},
        {"one more", most + "1\n", "data: more than 1000000 measurements."},
        // Reading stops at the value past the most; what follows is not read.
        {"one more, then rubbish", most + "1\nabc\n", "data: more than 1000000 measurements."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const MeasurementReading reading = ReadMeasurements(c.text, "data", c.text[0] == 'a' ? "b" : "");
        if (c.refusal.empty()) {
            ASSERT_TRUE(reading) << reading.message();
            EXPECT_EQ(reading->values.size(), kMostMeasurements);
        } else {
            ASSERT_FALSE(reading);
            EXPECT_EQ(reading.message(), c.refusal);
        }
    }
}

TEST(ReadMeasurements, OffersTheHeadersOfSeveralColumnsOnly) {
    const struct {
        std::string text;
        std::vector<std::string> headers;
    } cases[] = {
        {"id;Result;note\n1;0.5;a\n", {"id", "Result", "note"}},
        {"\n\"Cs-137, net\",Co-60\n1,2\n", {"Cs-137, net", "Co-60"}},
        {"Result\n1\n2\n", {}},       // one column: read as it is
        {"1\t2\n3\t4\n", {}},          // no header: refused by the reading
        {"a,1\n2,3\n", {}},            // one name is no choice
        {"Result,\n1,\n", {}},         // an empty second cell is no column
        {"", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ColumnHeaders(c.text), c.headers);
    }
}

// The column offered first is the values', past an id or a date before it.
TEST(ColumnHeaders, TheFirstColumnOfNumbersIsOfferedFirst) {
    const struct {
        const char* text;
        std::size_t offered;
    } cases[] = {
        {"id,value\nA1,0.4\nA2,0.5\n", 1},
        {"value,id\n0.4,A1\n", 0},
        {"date;site;Bq/g\n2026-01-02;north;1,5\n", 0},  // "1,5" is no number: none found
        {"date\tsite\tBq/g\n2026-01-02\tnorth\t1.5\n", 2},
        {"\xEF\xBB\xBFsample,dose,rate\n\nS1,,0.2\n", 2},  // a blank cell is no number
        {"a,b\n", 0},                                     // no line of values
        {"a,b\nx,y\n", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(FirstNumberColumn(c.text), c.offered);
    }
}

DesignState Designed(TestKind test) { return *RunDesign(test, DesignInputs{}); }

TEST(AssessData, DecidesWithTheDesignsCriticalValueAndSaysSo) {
    const std::vector<double> nine_below = {0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 1.3};
    const std::vector<double> eight_below = {0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 1.2, 1.3};
    const struct {
        const char* what;
        TestKind test;
        std::vector<double> survey, reference;
        std::string decision, reason;
        std::vector<std::string> investigate;
        bool low_power;  // below 1 - beta at the LBGR with the measured sigma
        std::optional<double> dcgl_emc = std::nullopt;
    } cases[] = {
        {"Sign passes", TestKind::Sign, nine_below, {}, kSurveyUnitPasses, "S+ = 9 exceeds the critical value 8.",
         {"Measurement 10: 1.3"}, true},
        {"Sign fails", TestKind::Sign, eight_below, {}, kSurveyUnitFails,
         "S+ = 8 does not exceed the critical value 8.", {"Measurement 9: 1.2", "Measurement 10: 1.3"}, true},
        {"WRS passes", TestKind::WRS, {0.1, 0.2, 0.3, 0.4}, {0, 0.1, 0.2, 0.3, 0.4}, kSurveyUnitPasses,
         "W = 35 exceeds the critical value 32.", {}, false},
        {"WRS fails", TestKind::WRS, {0.1, 0.2, 1.3, 1.4}, {0, 0.1, 0.2, 0.3, 0.4}, kSurveyUnitFails,
         "W = 27 does not exceed the critical value 32.", {"Measurement 3: 1.3", "Measurement 4: 1.4"}, true},
        {"a value at DCGL_EMC is not above it", TestKind::WRS, {0.1, 0.2, 1.3, 1.4}, {0, 0.1, 0.2, 0.3, 0.4},
         kSurveyUnitFails, "W = 27 does not exceed the critical value 32.",
         {"Measurement 3: 1.3", "Measurement 4: 1.4 (above DCGL_EMC)"}, true, 1.3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        AssessmentRun run = AssessData(c.test, Designed(c.test), c.survey, c.reference);
        ASSERT_TRUE(run) << run.message();
        if (c.dcgl_emc) MarkAboveDCGLEMC(*run, std::vector<double>(c.survey.size(), *c.dcgl_emc));
        const AssessmentTexts texts = MakeAssessmentTexts(*run);
        EXPECT_EQ(texts.decision, c.decision);
        EXPECT_EQ(texts.reason, c.reason);
        EXPECT_EQ(texts.investigate, c.investigate);
        // Ten measurements where 29 were designed; four in each area with a
        // sigma of 0.16 rather than 0.5, or of 0.67.
        EXPECT_EQ(texts.power_note.find("is below 1 - beta = 0.95") != std::string::npos, c.low_power)
            << texts.power_note;
    }
}

TEST(AssessData, RefusesDataItCannotJudge) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char* what;
        TestKind test;
        std::vector<double> survey, reference;
        std::string refusal_start;
    } cases[] = {
        {"one measurement", TestKind::Sign, {0.5}, {}, "The survey unit's measurements: only one"},
        {"no reference", TestKind::WRS, {0.5, 0.6}, {}, "The WRS test compares"},
        {"one reference value", TestKind::WRS, {0.5, 0.6}, {0.1}, "The reference area's measurements: only one"},
        {"stored NaN", TestKind::Sign, {0.5, nan}, {}, "The survey unit's measurements: measurement 2 is not"},
        {"stored NaN first", TestKind::Sign, {nan, 0.5}, {}, "The survey unit's measurements: measurement 1 is not"},
        {"overflowing spread", TestKind::Sign, {1.7e308, -1.7e308, 0}, {}, "The measurements are too large"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const AssessmentRun run = AssessData(c.test, Designed(c.test), c.survey, c.reference);
        ASSERT_FALSE(run);
        EXPECT_EQ(run.message().rfind(c.refusal_start, 0), 0u) << run.message();
    }
}

TEST(AssessmentTexts, PValuesAndTheMissingSigma) {
    EXPECT_EQ(PValueText(0.0546875), "0.0547");
    EXPECT_EQ(PValueText(1), "1");
    EXPECT_EQ(PValueText(0.00009), "below 0.0001");
    const AssessmentRun run = AssessData(TestKind::Sign, Designed(TestKind::Sign), {0.5, 0.5, 0.5}, {});
    ASSERT_TRUE(run);
    EXPECT_FALSE(run->retrospective);
    EXPECT_EQ(MakeAssessmentTexts(*run).power_note.rfind("The measurements do not vary", 0), 0u);
}

TEST(AssessmentView, ShowsTheVerdictOrWhyThereIsNone) {
    const struct {
        const char* what;
        TestKind test;
        std::string survey, reference;
        bool reference_shown, plot_shown, plot_reference, verdict;
        std::string status_start, description;
    } cases[] = {
        {"no data", TestKind::Sign, "", "", false, false, false, false, kNoMeasurementsYet, ""},
        {"Sign", TestKind::Sign, "0.1\n1.3\n0.2\n", "", false, true, false, true, "",
         "3 survey unit measurements against the DCGL 1; 1 lies above it."},
        {"WRS without reference", TestKind::WRS, "0.1\n0.2\n", "", true, true, false, false,
         "The WRS test compares", "2 survey unit measurements against the DCGL 1."},
        {"WRS", TestKind::WRS, "0.1\n0.2\n", "0\n0.1\n0.3\n", true, true, true, true, "",
         "2 survey unit measurements and 3 reference values increased by the DCGL against the DCGL 1; 0 lie "
         "above it."},
        {"headed columns", TestKind::WRS, "Cs-137 (Bq/kg)\n0.1\n0.2\n", "x;Background\n1;0\n2;0.1\n", true, true,
         true, true, "",
         "2 survey unit measurements (column \"Cs-137 (Bq/kg)\") and 2 reference values (column \"Background\") "
         "increased by the DCGL against the DCGL 1; 0 lie above it."},
        {"reference kept by a Sign unit", TestKind::Sign, "", "0\n0.1\n", true, false, false, false,
         "The survey unit's measurements: no", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PlanUnit unit;
        unit.test = c.test;
        SurveyPlan plan;
        ASSERT_TRUE(plan.Add(unit));
        for (const auto& [which, text] : {std::pair{UnitData::Survey, c.survey}, {UnitData::Reference, c.reference}}) {
            if (!text.empty()) {
                ASSERT_TRUE(plan.SetData(0, which, text, which == UnitData::Reference && text[0] == 'x' ? "Background" : ""));
            }
        }
        const AssessmentView view = MakeAssessmentView(plan.entry(0));
        EXPECT_EQ(view.reference_shown, c.reference_shown);
        EXPECT_EQ(view.plot_shown, c.plot_shown);
        EXPECT_EQ(view.plot_reference, c.plot_reference);
        EXPECT_EQ(view.texts.has_value(), c.verdict);
        EXPECT_EQ(view.status.rfind(c.status_start, 0), 0u) << view.status;
        EXPECT_EQ(view.status.empty(), c.status_start.empty());
        EXPECT_EQ(view.plot_description, c.description);
    }
}

// A measurement above the DCGL is above the DCGL_EMC of the area it is
// compared over, in its investigate line, its comparison line and the plot.
// 50 m x 40 m, factors 1:10, 10:3, 100:1.5, 1000:1, DCGL 1, design N 29:
// the check's a = 2000 / 29 = 68.97 m2, ln AF = ln 3 - ln(6.897) / ln 10 x
// ln 2 = 0.5173, DCGL_EMC 1.678 < scan MDC 3, so the grid is laid for
// 2000 / 10 = 200 points and one location's share is 10 m2: AF 3, DCGL_EMC
// 3. Location 8 (2.2) at 100 m2: AF 1.5, DCGL_EMC 1.5.
TEST(AssessmentView, HoldsEachMeasurementAgainstItsOwnAreasDCGLEMC) {
    const struct { bool placed; double size_of_8; bool marked; std::string posting; } cases[] = {
        {false, 0, true, ""},  // not placed: the check's 1.678
        {true, 0, false, "the DCGL 1 and the DCGL_EMC 3."},
        {true, 100, true, "the DCGL 1 and each area's DCGL_EMC."},
    };
    PlanUnit unit;
    unit.field.size = UnitSize{2000, 50, 40};
    unit.field.seed = 42;
    unit.field.scan_mdc = 3;
    unit.field.area_factors = {{1, 10}, {10, 3}, {100, 1.5}, {1000, 1}};
    std::vector<double> values(20, 0.5);
    values[2] = 1.6;
    values[7] = 2.2;
    std::vector<std::string> ids;
    for (int i = 1; i <= 20; ++i) ids.push_back(std::to_string(i));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size_of_8);
        unit.elevated_area_sizes.clear();
        if (c.size_of_8 > 0) unit.elevated_area_sizes["8"] = c.size_of_8;
        unit.survey_data = MeasurementSet(values, "", {c.placed ? ids : std::vector<std::string>{}, {}});
        SurveyPlan plan;
        ASSERT_TRUE(plan.Add(unit) && plan.entry(0).field.samples == 200);
        const AssessmentView view = MakeAssessmentView(plan.entry(0));
        const std::string mark = c.marked ? " (above DCGL_EMC)" : "";
        EXPECT_EQ(view.texts->investigate, (std::vector<std::string>{"Measurement 3: 1.6", "Measurement 8: 2.2" + mark}));
        EXPECT_NE(view.posting_description.find(c.posting), std::string::npos) << view.posting_description;
        if (!c.placed) continue;
        EXPECT_EQ(ExceedsDCGLEMC(2.2, view.dcgl_emc.at(7)), c.marked);
        EXPECT_EQ(std::count_if(view.area_lines.begin(), view.area_lines.end(), [&](const std::string& line) {
                      return line.rfind("Location 8: 2.2 over", 0) == 0 &&
                             (line.find(" (above DCGL_EMC)") != std::string::npos) == c.marked;
                  }), 1);
    }
}

}  // namespace
}  // namespace valdris
