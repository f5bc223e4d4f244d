// SPDX-License-Identifier: Apache-2.0
// --assess and --reference: files read whole or refused, the verdict in text
// and JSON, the exit status for a pass, a fail and refused data.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "options.h"
#include "run.h"

namespace valdris::cli {
namespace {

class AssessCommand : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() / ("valdris_assess_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
        const char* files[][2] = {
            {"pass.csv", "Result\n0.1\n0.2\n0.3\n0.4\n0.5\n0.6\n0.7\n0.8\n0.9\n1.3\n"},
            {"fail.csv", "0.1\n0.2\n0.3\n0.4\n0.5\n0.6\n0.7\n0.8\n1.2\n1.3\n"}, {"bad.csv", "0.1\n0.2\n\n0.3x\n"},
            {"one.csv", "Result\n0.4\n"}, {"ref.csv", "0\n0.1\n0.2\n0.3\n0.4\n"}, {"low.csv", "0.1\n0.2\n0.3\n0.4\n"},
            {"headed.csv", "Cs-137 (Bq/kg)\n0.1\n0.2\n0.3\n0.4\n"}, {"bg.csv", "Background\n0\n0.1\n0.2\n0.3\n0.4\n"},
            {"typo.csv", "0.4o\n0.1\n0.2\n"},
            {"two.csv", "Point,Result\n1,0.1\n2,0.2\n3,0.3\n4,0.4\n5,0.5\n6,0.6\n7,0.7\n8,0.8\n9,1.2\n10,1.3\n"},
            {"xy.csv", "x,y,v\n1.5,1.6,0.1\n3.5,1.7,0.2\n50,50,0.3\n"}};
        for (const auto& file : files) std::ofstream(dir_ / file[0]) << file[1];
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

    std::filesystem::path dir_;
};

TEST_F(AssessCommand, ReportsTheVerdictOrRefusesTheData) {
    const struct {
        const char* what;
        std::vector<std::string> args;  // "@name" is a file of the fixture
        int status;
        std::string out;  // found in stdout
        std::string err;  // found in stderr; stdout empty
    } cases[] = {
        {"Sign passes", {"--assess", "@pass.csv"}, kExitOk, "The survey unit passes: S+ = 9 exceeds", ""},
        {"Sign fails", {"--assess", "@fail.csv"}, kExitOk, "The survey unit fails: S+ = 8 does not", ""},
        {"Sign as JSON", {"--assess", "@fail.csv", "--json"}, kExitOk,
         "\"n_used\": 10,\n    \"statistic\": 8,\n    \"critical_value\": 8,\n    \"p_value\": 0.0546875,", ""},
        {"WRS as JSON", {"--test", "wrs", "--assess", "@low.csv", "--reference", "@ref.csv", "--json"}, kExitOk,
         "\"m\": 5,\n    \"statistic\": 35,\n    \"critical_value\": 32,", ""},
        {"headers as text", {"--test", "wrs", "--assess", "@headed.csv", "--reference", "@bg.csv"}, kExitOk,
         "Assessment of the measurements\n  Survey unit column: Cs-137 (Bq/kg)\n  Reference area column: Background\n"
         "  The survey unit passes", ""},
        {"headers as JSON", {"--test", "wrs", "--assess", "@headed.csv", "--reference", "@bg.csv", "--json"}, kExitOk,
         "\"assessment\": {\n    \"header\": \"Cs-137 (Bq/kg)\",\n    \"reference_header\": \"Background\",\n    \"n\": 4,",
         ""},
        {"no header in JSON", {"--assess", "@fail.csv", "--json"}, kExitOk, "\"assessment\": {\n    \"n\": 10,", ""},
        {"mistyped first value", {"--assess", "@typo.csv"}, kExitRefused, "", "typo.csv, line 1: \"0.4o\" is not a number."},
        {"line named", {"--assess", "@bad.csv"}, kExitRefused, "", "bad.csv, line 4: \"0.3x\" is not a number."},
        {"one measurement", {"--assess", "@one.csv"}, kExitRefused, "", "one.csv: only one measurement"},
        {"WRS without reference", {"--test", "wrs", "--assess", "@low.csv"}, kExitRefused, "", "reference area's"},
        {"bad reference", {"--test", "wrs", "--assess", "@low.csv", "--reference", "@bad.csv"}, kExitRefused, "",
         "bad.csv, line 4"},
        {"missing file", {"--assess", "@none.csv"}, kExitRefused, "", "none.csv: there is no such file."},
        {"a folder", {"--test", "wrs", "--assess", "@low.csv", "--reference", "@"}, kExitRefused, "", ": it is not a regular file."},
        {"a device", {"--assess", "/dev/zero"}, kExitRefused, "",
         "The measurements could not be read from /dev/zero: it is not a regular file."},
        {"reference for Sign", {"--assess", "@pass.csv", "--reference", "@ref.csv"}, kExitRefused, "",
         "--reference is for the WRS test"},
        {"reference alone", {"--test", "wrs", "--reference", "@ref.csv"}, kExitRefused, "", "--assess, which is missing"},
        {"with a sweep", {"--assess", "@pass.csv", "--sweep", "sigma", "0.1", "1", "0.1"}, kExitRefused, "",
         "cannot be combined with --sweep"},
        {"as CSV", {"--assess", "@pass.csv", "--csv"}, kExitRefused, "", "not as CSV"},
        {"two columns, none chosen", {"--assess", "@two.csv"}, kExitRefused, "", "2 columns"},
        {"column by header", {"--assess", "@two.csv", "--column", "result"}, kExitOk, "S+ = 8 does not", ""},
        {"column by number", {"--assess", "@two.csv", "--column", "2"}, kExitOk, "S+ = 8 does not", ""},
        {"first column by number", {"--assess", "@two.csv", "--column", "1"}, kExitOk, "S+ = 0 does not", ""},
        {"column out of range", {"--assess", "@two.csv", "--column", "3"}, kExitRefused, "",
         "no column is headed \"3\""},
        {"column unnamed", {"--assess", "@two.csv", "--column", "Depth"}, kExitRefused, "", "no column is headed"},
        {"column without data", {"--column", "2"}, kExitRefused, "", "--assess, which is missing"},
        // 100 m2 laid out by seed 7 for N = 29: 25 locations, the first at (1.51, 1.64), then 2 m along the row.
        {"joined by id", {"--area", "100", "--seed", "7", "--assess", "@two.csv", "--id-column", "point", "--json"},
         kExitOk, "\"joined\": [{\"id\": \"1\", \"x\": 1.50", ""},
        {"joined by place", {"--area", "100", "--seed", "7", "--assess", "@xy.csv", "--xy-columns", "x, y"}, kExitOk,
         "  2 of 3 measurements joined to their locations.\n"
         "  Joined to no location (counted in the test all the same): (50, 50).\n"
         "  Locations without a measurement: 3, 4,", ""},
        // delta = 0.45; location 9 (1.2) over 100 / 29 m2, AF 2.154: 0.45 + 0.75 / 2.154 = 0.798; location 10
        // (1.3) over 1 m2, AF 4: 0.45 + 0.85 / 4 = 0.6625; together 0.45 + 0.348 + 0.2125 = 1.011.
        {"elevated areas pass alone, not together",
         {"--area", "100", "--seed", "7", "--scan-mdc", "1", "--area-factors", "1:4, 16:1", "--assess", "@two.csv",
          "--id-column", "point", "--elevated-area", "10:1"},
         kExitOk, "  The elevated-measurement comparison fails: each area passes alone, but not all together.\n", ""},
        {"id column without the unit's size", {"--assess", "@two.csv", "--id-column", "point"}, kExitRefused, "",
         "join the measurements to the unit's locations: give its size"},
        {"id column without data", {"--id-column", "point"}, kExitRefused, "", "--assess is missing"},
        {"ids and places", {"--area", "9", "--assess", "@xy.csv", "--id-column", "x", "--xy-columns", "x,y"},
         kExitRefused, "", "give --id-column or --xy-columns, not both"},
        {"an area of no size", {"--area", "100", "--assess", "@two.csv", "--id-column", "point", "--elevated-area",
                                "9:0"}, kExitRefused, "", "--elevated-area 9:0: An elevated area's size must be"},
        {"an id column the file lacks", {"--area", "100", "--assess", "@pass.csv", "--id-column", "point"},
         kExitRefused, "", "pass.csv, line 1: no column is headed \"point\"."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> args;
        for (const std::string& arg : c.args) args.push_back(arg[0] == '@' ? Path(arg.substr(1)) : arg);
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(cli::Run(args, out, err, {}), c.status) << err.str();
        if (c.err.empty()) {
            EXPECT_NE(out.str().find(c.out), std::string::npos) << out.str();
        } else {
            EXPECT_EQ(out.str(), "");
            EXPECT_NE(err.str().find(c.err), std::string::npos) << err.str();
        }
    }
}

}  // namespace
}  // namespace valdris::cli
