// SPDX-License-Identifier: Apache-2.0
// Measurements with where they were taken: read beside an id or x and y,
// joined to the unit's locations, and the elevated-measurement comparison.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "assessment_texts.h"
#include "elevated_comparison.h"
#include "measurement_join.h"
#include "measurement_text.h"

namespace valdris {
namespace {

TEST(ReadPlacedMeasurements, TakesTheValueBesideItsPlaceAndRefusesWholeTexts) {
    const struct {
        const char* what;
        std::string text;
        std::string column;
        PlaceColumns place;
        std::vector<double> values;
        std::vector<std::string> ids;
        std::vector<GridPoint> places;
        std::string refusal;  // the message's start after "data"; empty: taken
    } cases[] = {
        {"id and the one other column", "ID,Result\n1,0.5\n2,0.7\n", "", {"id", "", ""}, {0.5, 0.7}, {"1", "2"}, {}, ""},
        {"chosen column, CRLF, BOM, semicolons", "\xEF\xBB\xBF" "note;loc;Bq\r\na;7;1.5\r\n;08;2\r\n", "bq",
         {"loc", "", ""}, {1.5, 2}, {"7", "08"}, {}, ""},
        {"an id without a value is skipped", "id\tv\n1\t3\n2\t\n3\t4\n", "", {"id", "", ""}, {3, 4}, {"1", "3"}, {}, ""},
        {"x and y", "x,y,v\n1.5,2,10\n-3,4e1,11\n", "", {"", "x", "y"}, {10, 11}, {}, {{1.5, 2}, {-3, 40}}, ""},
        {"a value without its id", "id,v\n1,3\n,4\n", "", {"id", "", ""}, {}, {}, {},
         ", line 3: the value \"4\" has no id."},
        {"an id twice", "id,v\n1,3\n2,4\n1,5\n", "", {"id", "", ""}, {}, {}, {},
         ", line 4: the id \"1\" is given twice (line 2 too)."},
        {"no id column", "loc,v\n1,3\n", "", {"id", "", ""}, {}, {}, {}, ", line 1: no column is headed \"id\"."},
        {"a place without a number", "x,y,v\n1,2,3\n1,north,4\n", "", {"", "x", "y"}, {}, {}, {},
         ", line 3: y \"north\" is not a finite number."},
        {"a value that is no finite number", "id,v\n1,3\n2,inf\n", "", {"id", "", ""}, {}, {}, {},
         ", line 3: \"inf\" is not a finite number."},
        {"several value columns", "id,a,b\n1,2,3\n", "", {"id", "", ""}, {}, {}, {},
         ", line 1: 2 columns besides where each value was taken"},
        {"the value column is the id", "id,v\n1,2\n", "ID", {"id", "", ""}, {}, {}, {},
         ", line 1: the column \"ID\" tells where"},
        {"x without y", "x,v\n1,2\n", "", {"", "x", ""}, {}, {}, {}, ": name the id column, or both"},
        {"a NUL byte", std::string("id,v\n1,2\n2,3\0\n", 15), "", {"id", "", ""}, {}, {}, {},
         ", line 3: the line holds a NUL byte"},
        {"one value", "id,v\n1,2\n", "", {"id", "", ""}, {}, {}, {}, ": only one measurement"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const PlacedReading reading = ReadPlacedMeasurements(c.text, "data", c.column, c.place);
        if (!c.refusal.empty()) {
            ASSERT_FALSE(reading);
            EXPECT_EQ(reading.message().rfind("data" + c.refusal, 0), 0u) << reading.message();
            continue;
        }
        ASSERT_TRUE(reading) << reading.message();
        EXPECT_EQ(reading->measurements.values, c.values);
        EXPECT_EQ(reading->ids, c.ids);
        ASSERT_EQ(reading->places.size(), c.places.size());
        for (std::size_t k = 0; k < c.places.size(); ++k) {
            EXPECT_EQ(reading->places[k].x, c.places[k].x);
            EXPECT_EQ(reading->places[k].y, c.places[k].y);
        }
    }
}

// Four locations two metres apart: 1 (0, 0), 2 (2, 0), 3 (0, 2), 4 (2, 2).
SampleLayout FourLocations() {
    SampleLayout layout;
    layout.type = GridType::Square;
    layout.spacing = 2;
    layout.samples = 4;
    layout.points = {{0, 0}, {2, 0}, {0, 2}, {2, 2}};
    return layout;
}

TEST(JoinMeasurements, JoinsByIdOrNearestPlaceAndNamesWhatDoesNotJoin) {
    const struct {
        const char* what;
        std::vector<std::string> ids;      // by id when not empty
        std::vector<GridPoint> places;     // else by place
        std::vector<std::string> posted;   // the locations joined, in the values' order
        std::vector<std::string> unmatched;
        std::vector<std::string> missing;
        std::string refusal;
    } cases[] = {
        {"every id", {"4", "1", "3", "2"}, {}, {"4", "1", "3", "2"}, {}, {}, ""},
        {"leading zeros; a crew's own id and one past the last", {"01", "B7", "5", "0"}, {}, {"1"},
         {"B7", "5", "0"}, {"2", "3", "4"}, ""},
        {"two values for one location", {"2", "02", "3", "4"}, {}, {}, {}, {},
         "Location 2 has two measurements (measurements 1 and 2)."},
        {"nearest within half a spacing", {}, {{0.9, 0.1}, {2, 3.01}, {1.05, 1.05}, {-0.2, 2.1}}, {"1", "3"},
         {"(2, 3.01)", "(1.05, 1.05)"}, {"2", "4"}, ""},
        {"two places nearest one location", {}, {{0, 0}, {0.4, 0.4}, {2, 2}, {2, 0}}, {}, {}, {},
         "Location 1 has two measurements (measurements 1 and 2)."},
        {"a place far outside", {}, {{1e300, -1e300}, {2, 0}, {2, 2}, {0, 2}}, {"2", "4", "3"},
         {"(1E+300, -1E+300)"}, {"1"}, ""},
    };
    const std::vector<double> values = {0.1, 0.2, 0.3, 0.4};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Outcome<MeasurementJoin> join =
            c.ids.empty() ? JoinByPlace(values, c.places, FourLocations()) : JoinById(values, c.ids, FourLocations());
        if (!c.refusal.empty()) {
            ASSERT_FALSE(join);
            EXPECT_EQ(join.message(), c.refusal);
            continue;
        }
        ASSERT_TRUE(join) << join.message();
        std::vector<std::string> posted;
        for (const PostedValue& p : join->posted) posted.push_back(p.id);
        EXPECT_EQ(posted, c.posted);
        EXPECT_EQ(join->unmatched, c.unmatched);
        EXPECT_EQ(join->missing, c.missing);
        ASSERT_EQ(join->location.size(), values.size());
    }
}

TEST(JoinMeasurements, NamesWhatDidNotJoinSafelyAndBriefly) {
    std::vector<std::string> many;
    for (int k = 1; k <= 52; ++k) many.push_back(std::to_string(k));
    const struct {
        const char* what;
        std::vector<std::string> unmatched;
        std::string line;
    } cases[] = {
        {"a terminal's escape", {"a\x1b[2Jb"}, "Joined to no location (counted in the test all the same): a?[2Jb."},
        {"a long id", {std::string(45, 'x')}, "Joined to no location (counted in the test all the same): " +
                                                   std::string(40, 'x') + "...."},
        {"more than are named", many, "Joined to no location (counted in the test all the same): 1, 2, 3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        MeasurementJoin join;
        join.unmatched = c.unmatched;
        const std::vector<std::string> lines = JoinLines(join, c.unmatched.size());
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[1].rfind(c.line, 0), 0u) << lines[1];
    }
    MeasurementJoin join;
    join.unmatched = many;
    EXPECT_NE(JoinLines(join, 52)[1].find(", 50 and 2 more."), std::string::npos);
}

// A unit of 100 m2 with 25 locations: each stands for 4 m2. The area factors
// (1 m2: 4) and (16 m2: 1) give, on the straight line in ln-ln,
//   AF(4) = exp(ln 4 + (ln 4 / ln 16) (ln 1 - ln 4)) = exp(ln 4 / 2) = 2,
//   AF(1) = 4 (the table's own pair).
// The DCGL is 1; 0.2, 0.4 and 0.6 lie at or below it, so delta = 0.4.
// Defaults, 4 m2 each (DCGL_EMC 2):
//   location 2, 1.5: 0.4 + (1.5 - 0.4) / 2 = 0.95   below 1
//   location 5, 2.5: 0.4 + (2.5 - 0.4) / 2 = 1.45   fails (2.5 > DCGL_EMC 2 too)
//   together: 0.4 + 0.55 + 1.05 = 2.0
// Location 5 investigated at 1 m2 (DCGL_EMC 4): 0.4 + 2.1 / 4 = 0.925, below
// 1 alone, but together 0.4 + 0.55 + 0.525 = 1.475: the unit still fails.
// Without 2.5: location 2 alone, 0.95, passes.
TEST(ElevatedComparison, HandComputedAreasPassOrFailAloneAndTogether) {
    const struct {
        const char* what;
        std::vector<double> values;
        std::map<std::string, double> sizes;
        std::vector<double> sums;
        std::vector<bool> above_emc;
        double combined;
        std::string verdict;
    } cases[] = {
        {"the default sizes", {0.2, 1.5, 0.4, 0.6, 2.5}, {}, {0.95, 1.45}, {false, true}, 2.0,
         "The elevated-measurement comparison fails at location 5."},
        {"location 5 investigated", {0.2, 1.5, 0.4, 0.6, 2.5}, {{"5", 1.0}}, {0.95, 0.925}, {false, false}, 1.475,
         "The elevated-measurement comparison fails: each area passes alone, but not all together."},
        {"one area", {0.2, 1.5, 0.4, 0.6}, {{"9", 1.0}}, {0.95}, {false}, 0.95,
         "The elevated-measurement comparison passes."},
        {"none above the DCGL", {0.2, 1.0, 0.4}, {}, {}, {}, 0.5333333333333333,
         "No measurement lies above the DCGL: there is no elevated area to compare."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ElevatedComparisonInputs inputs{1.0, {{1, 4}, {16, 1}}, 100, 25, {"1", "2", "3", "4", "5"}, c.sizes};
        const Outcome<ElevatedComparison> run = CompareElevatedAreas(c.values, inputs);
        ASSERT_TRUE(run) << run.message();
        ASSERT_EQ(run->areas.size(), c.sums.size());
        for (std::size_t k = 0; k < c.sums.size(); ++k) {
            EXPECT_NEAR(run->areas[k].sum, c.sums[k], 1e-12);
            EXPECT_EQ(run->areas[k].passes, c.sums[k] < 1);
            EXPECT_EQ(run->areas[k].above_dcgl_emc, c.above_emc[k]);
        }
        EXPECT_NEAR(run->combined, c.combined, 1e-12);
        EXPECT_EQ(MakeElevatedComparisonTexts(*run).verdict, c.verdict);
    }
}

TEST(ElevatedComparison, RefusesWhatItCannotCompare) {
    const struct {
        const char* what;
        std::vector<double> values;
        std::map<std::string, double> sizes;
        std::string refusal;
    } cases[] = {
        {"every value above the DCGL", {1.5, 2}, {}, "The elevated-measurement comparison is not made: every"},
        {"an investigated size of 0", {0.5, 2}, {{"2", 0.0}}, "An elevated area's size must be"},
        {"figures past a double", {-1.7e308, 1.7e308}, {}, "The elevated-measurement comparison is not made: its"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ElevatedComparisonInputs inputs{1.0, {{1, 4}, {16, 1}}, 100, 25, {"1", "2"}, c.sizes};
        const Outcome<ElevatedComparison> run = CompareElevatedAreas(c.values, inputs);
        ASSERT_FALSE(run);
        EXPECT_EQ(run.message().rfind(c.refusal, 0), 0u) << run.message();
    }
}

}  // namespace
}  // namespace valdris
