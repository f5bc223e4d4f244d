// SPDX-License-Identifier: Apache-2.0
// The companion's unit in the field: the grid, the elevated-area check and
// the sum of fractions in JSON, and their refusals.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include "field_messages.h"
#include "field_texts.h"
#include "plan_file.h"
#include "plan_run.h"
#include "run.h"

namespace valdris::cli {
namespace {

using nlohmann::json;

struct RunResult {
    int status;
    std::string out;
    std::string err;
};

RunResult RunWith(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int status = Run(args, out, err, {});
    return {status, out.str(), err.str()};
}

// The Sign test at sigma 0.36 needs N = 20.
json JsonOf(std::vector<std::string> args) {
    args.insert(args.end(), {"--sigma", "0.36", "--json"});
    const RunResult result = RunWith(args);
    EXPECT_EQ(result.status, 0) << result.err;
    return json::parse(result.out);
}

const std::vector<std::string> kTable = {"--area-factors", "1:10,10:3,100:1.5,1000:1.1"};

TEST(CliField, ElevatedAreaCheckInJson) {
    struct Case { std::string mdc; json emc; int samples; };
    const Case cases[] = {
        {"2.5", json::parse(R"({"grid_area": 100, "area_factor": 1.5, "dcgl_emc": 1.5, "scan_mdc": 2.5,
                                "scan_mdc_adequate": false, "n_ea": 110, "n_final": 110})"), 110},
        {"1.5", json::parse(R"({"grid_area": 100, "area_factor": 1.5, "dcgl_emc": 1.5, "scan_mdc": 1.5,
                                "scan_mdc_adequate": true, "n_ea": null, "n_final": 20})"), 20},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"--area", "2000", "--scan-mdc", c.mdc};
        args.insert(args.end(), kTable.begin(), kTable.end());
        const json out = JsonOf(args);
        EXPECT_EQ(out["n"], 20);
        EXPECT_EQ(out["emc"], c.emc) << c.mdc;
        EXPECT_EQ(out["grid"]["samples"], c.samples);  // the grid takes the final N
    }
}

TEST(CliField, GridInJson) {
    const json area = JsonOf({"--area", "2000"})["grid"];
    EXPECT_EQ(LengthText(area["triangular_spacing"]), "10.75");
    EXPECT_EQ(area["square_spacing"], 10.0);
    EXPECT_TRUE(area["seed"].is_null() && area["start"].is_null() && area["locations"].is_null());

    for (const char* grid : {"triangular", "square"}) {
        const json first = JsonOf({"--width", "50", "--height", "40", "--seed", "42", "--grid", grid})["grid"];
        const SampleLayout layout =
            *LayOutSamples(*GridTypeFromName(grid), *SizeFromRectangle(50, 40), 20, 42);
        EXPECT_EQ(first["type"], grid);
        EXPECT_EQ(first["area"], 2000.0);
        EXPECT_EQ(first["seed"], 42);
        EXPECT_EQ(first["start"], json::array({layout.start.x, layout.start.y}));
        EXPECT_EQ(first["locations"], layout.points.size());
        EXPECT_EQ(JsonOf({"--width", "50", "--height", "40", "--seed", "42", "--grid", grid})["grid"], first);
    }
    // A rectangle without a seed gets a fresh one, reported so the run can be repeated.
    const json drawn = JsonOf({"--width", "50", "--height", "40"})["grid"];
    EXPECT_TRUE(drawn["seed"].is_number_unsigned() && drawn["locations"].is_number());
}

TEST(CliField, SumOfFractionsInJson) {
    const json full = JsonOf({"--nuclide", "Co-60:5:0.5:1", "--nuclide", "Cs-137:10:2:3"});
    EXPECT_EQ(full["dcgl"], 1.0);
    EXPECT_EQ(full["sigma"].get<float>(), 0.2236068f);
    EXPECT_EQ(full["lbgr"], 0.5);
    const json& sum = full["sum_of_fractions"];
    EXPECT_EQ(sum["nuclides"][1], json::parse(R"({"name": "Cs-137", "dcgl": 10, "sigma": 2, "concentration": 3})"));
    EXPECT_EQ(static_cast<float>(sum["sigma"].get<double>()), 0.2236068f);
    EXPECT_EQ(sum["lbgr"], 0.5);
    EXPECT_EQ(sum["gross_dcgl"], 8.0);

    const json partial = JsonOf({"--nuclide", "Co-60:5:0.5:1", "--nuclide", "Cs-137:10:2", "--lbgr", "0.4"});
    EXPECT_EQ(partial["lbgr"], 0.4);
    EXPECT_EQ(partial["sum_of_fractions"]["lbgr"], 0.4);
    EXPECT_FALSE(partial["sum_of_fractions"].contains("gross_dcgl"));
}

TEST(CliField, RefusalsExitWithStatusTwoAndNothingOnStdout) {
    const std::string table = "1:10,10:3";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--area", "0"}, field::kAreaUnusable},
        {{"--area", "abc"}, "--area"},
        {{"--width", "5"}, "--width and --height go together"},
        {{"--width", "1e5", "--height", "1e5"}, field::kRectangleUnusable},
        {{"--area", "5", "--width", "5", "--height", "5"}, "not both"},
        {{"--seed", "1"}, "--seed lays out"},
        {{"--grid", "square"}, "--grid lays out"},
        {{"--area", "5", "--seed", "-1"}, field::kSeedUnusable},
        {{"--area", "5", "--grid", "hex"}, "--grid must be"},
        {{"--area", "5", "--scan-mdc", "2"}, "go together"},
        {{"--scan-mdc", "2", "--area-factors", table}, "--scan-mdc checks"},
        {{"--area", "5", "--scan-mdc", "0", "--area-factors", table}, field::kScanMDCUnusable},
        {{"--area", "5", "--scan-mdc", "2", "--area-factors", "1:10"}, field::kAreaFactorsTooFew},
        {{"--area", "5", "--scan-mdc", "2", "--area-factors", "1:10,x:3"}, "area:factor"},
        {{"--area", "1e9", "--scan-mdc", "1e300", "--area-factors", table}, field::kTooManyElevatedAreaSamples},
        {{"--width", "1e9", "--height", "1e-6", "--seed", "1"}, field::kTooManyLocations},
        {{"--nuclide", "Co-60:5"}, "NAME:DCGL:SIGMA"},
        {{"--nuclide", "Co-60:0:1"}, "The DCGL of Co-60"},
        {{"--nuclide", "Co-60:5:1:1", "--nuclide", "Co-60:5:1"}, "listed twice"},
        {{"--nuclide", "Co-60:5:1:5"}, "LBGR must be less than the DCGL"},  // the fractions sum to 1
        {{"--nuclide"}, "--nuclide needs a value"},
        {{"--area", "5", "--sweep", "sigma", "0.1", "1", "0.1"}, "--sweep and --plan"},
        {{"--area", "5", "--points", "p.csv"}, "--points writes the locations"},
        {{"--boundary", "site.geojson", "--area", "5"}, "--boundary gives the unit's area"},
        {{"--area", "5", "--grid-angle", "30"}, "--grid-angle lays the grid over a drawn boundary"},
        {{"--origin", "1,2"}, "--origin lays the grid over a drawn boundary"},
        {{"--boundary", "site.geojson", "--shortfall", "less"}, "--shortfall must be random or tighten"},
        {{"--locations", "gpx"}, "--locations writes a plan's locations"},
        {{"--plan", "site.vplan", "--locations", "shp"}, "--locations must be csv, geojson, kml or gpx"},
    };
    for (const auto& [args, message] : cases) {
        const RunResult result = RunWith(args);
        EXPECT_EQ(result.status, 2) << args[0];
        EXPECT_EQ(result.out, "") << args[0];
        EXPECT_NE(result.err.find(message), std::string::npos) << args[0] << ": " << result.err;
    }
}

// The locations go through the safe writer: whole, never through a link, a
// read-only file kept; a file that cannot be written ends the run with 1.
TEST(CliField, PointsFile) {
    char folder_template[] = "/tmp/valdris-points-XXXXXX";
    const std::string folder = mkdtemp(folder_template);
    std::ofstream(folder + "/kept.csv") << "old";
    ASSERT_EQ(chmod((folder + "/kept.csv").c_str(), 0444), 0);
    ASSERT_EQ(symlink((folder + "/elsewhere.csv").c_str(), (folder + "/link.csv").c_str()), 0);
    const SampleLayout layout = *LayOutSamples(GridType::Triangular, *SizeFromRectangle(50, 40), 20, 42);
    const struct { const char* name; int status; const char* reason; } cases[] = {
        {"points.csv", 0, ""},
        {"link.csv", 1, "symbolic link"},
        {"kept.csv", 1, "read-only"},
        {"no-such-folder/points.csv", 1, "No such file"},
    };
    for (const auto& c : cases) {
        const std::string path = folder + "/" + c.name;
        const RunResult result =
            RunWith({"--sigma", "0.36", "--width", "50", "--height", "40", "--seed", "42", "--points", path});
        EXPECT_EQ(result.status, c.status) << c.name;
        EXPECT_NE(result.err.find(c.reason), std::string::npos) << result.err;
        EXPECT_EQ(result.out.empty(), c.status != 0) << c.name;  // the summary holds the seed
    }
    std::ifstream written(folder + "/points.csv");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(written), {}), LocationsCsv(layout));
    std::ifstream kept(folder + "/kept.csv");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "old");
    EXPECT_NE(access((folder + "/elsewhere.csv").c_str(), F_OK), 0);
    for (const char* name : {"points.csv", "kept.csv", "link.csv"}) unlink((folder + "/" + name).c_str());
    rmdir(folder.c_str());
}

// A plan's unit in the field gives what a single run with its options gives.
TEST(CliField, PlanUnitsAsSingleRuns) {
    PlanUnit sized;
    sized.name = "Yard";
    sized.sigma = 0.36f;
    sized.field.size = *SizeFromRectangle(50, 40);
    sized.field.seed = 42;
    sized.field.scan_mdc = 2.5;
    sized.field.area_factors = {{1, 10}, {10, 3}, {100, 1.5}, {1000, 1.1}};
    PlanUnit mixed;
    mixed.name = "Shed";
    mixed.nuclides = {{"Co-60", 5, 0.5, 1.0}, {"Cs-137", 10, 2, 3.0}};
    SurveyPlan plan;
    ASSERT_TRUE(plan.Add(sized) && plan.Add(mixed));
    std::ostringstream out;
    WritePlanJson(out, plan);
    const json units = json::parse(out.str())["units"];

    std::vector<std::string> args = {"--width", "50", "--height", "40", "--seed", "42", "--scan-mdc", "2.5"};
    args.insert(args.end(), kTable.begin(), kTable.end());
    const json single = JsonOf(args);
    EXPECT_EQ(units[0]["grid"], single["grid"]);
    EXPECT_EQ(units[0]["emc"], single["emc"]);
    const json nuclides = JsonOf({"--nuclide", "Co-60:5:0.5:1", "--nuclide", "Cs-137:10:2:3"});
    EXPECT_EQ(units[1]["sum_of_fractions"], nuclides["sum_of_fractions"]);
    EXPECT_EQ(units[1]["n"], nuclides["n"]);

    std::ostringstream text;
    WritePlanText(text, plan);
    EXPECT_NE(text.str().find("Yard\n\nElevated areas\n"), std::string::npos) << text.str();
    EXPECT_NE(text.str().find("Shed\n\nSum of fractions\n"), std::string::npos) << text.str();
}

// The table is written as it is made, its widths found first: every column
// as wide as its widest cell, names and texts to the left, numbers to the
// right, no space at a line's end.
TEST(CliField, PlanTextTableAlignsEachColumnToItsWidestCell) {
    const PlanReading plan = ReadPlan(R"({"valdris_power_plan": 1, "units": [
        {"name": "A", "radionuclide": "Co-60", "test": "sign", "alpha": 0.05, "beta": 0.05, "sigma": 0.5, "dcgl": 1,
         "lbgr": 0.5},
        {"name": "North yard, east", "radionuclide": "", "test": "wrs", "alpha": 0.05, "beta": 0.1, "sigma": 0.3,
         "dcgl": 2, "lbgr": 1.2, "n": 40, "cost_fixed": 100, "cost_per_sample": 25.5}]})");
    ASSERT_TRUE(plan) << plan.message();
    std::ostringstream text;
    WritePlanText(text, *plan);
    const std::string table =
        "Name              Radionuclide  Test  Alpha  Beta  Sigma  DCGL  LBGR   D/s         N (Survey Unit)  "
        "N (Reference Area)  Critical Value  Power at LBGR  Cost  Final N  Spacing\n"
        "A                 Co-60         Sign   0.05  0.05    0.5     1   0.5     1                      29  "
        "                                19         0.9890\n"
        "North yard, east                WRS    0.05   0.1    0.3     2   1.2  2.67  40 (given; designed 8)  "
        "                40            1790         1.0000  2140\n";
    EXPECT_EQ(text.str().substr(0, table.size()), table);
}

TEST(CliField, HelpNamesTheFieldOptions) {
    const std::string help = RunWith({"--help"}).out;
    for (const char* option : {"--area", "--width", "--height", "--grid", "--seed", "--scan-mdc", "--area-factors",
                               "--nuclide", "--points", "--boundary", "--feature", "--grid-angle", "--origin",
                               "--shortfall", "--locations"}) {
        EXPECT_NE(help.find(option), std::string::npos) << option;
    }
}

}  // namespace
}  // namespace valdris::cli
