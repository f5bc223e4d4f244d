// SPDX-License-Identifier: Apache-2.0
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "module_file.h"
#include "number_output.h"
#include "options.h"
#include "run.h"
#include "sweep.h"

namespace valdris::cli {
namespace {

TEST(ParseOptions, ReadsEveryOption) {
    const auto parsed = ParseOptions({"--test", "WRS", "--alpha", "0.01", "--beta=0.1", "--sigma", "0.3",
                                      "--dcgl", "2", "--lbgr", "-1", "--lbgr", "1.2", "--csv",
                                      "--chart", "out.SVG"});
    ASSERT_TRUE(parsed) << parsed.message();
    const Options& options = *parsed;
    EXPECT_EQ(options.test, TestKind::WRS);
    EXPECT_EQ(options.alpha, "0.01");
    EXPECT_EQ(options.beta, "0.1");
    EXPECT_EQ(options.sigma, "0.3");
    EXPECT_EQ(options.dcgl, "2");
    EXPECT_EQ(options.lbgr, "1.2");  // the last of a repeated option counts
    EXPECT_EQ(options.format, OutputFormat::Csv);
    EXPECT_EQ(options.chart_path, "out.SVG");
}

TEST(ParseOptions, RefusesWrongCommandLines) {
    const std::vector<std::vector<std::string>> cases = {
        {"--frobnicate"}, {"extra"},          {"--alpha"},        {"--test", "t"},  {"--test"},
        {"--json", "--csv"}, {"--text", "--csv"}, {"--json=1"},    {"--chart", "x.jpg"}, {"--chart"},    {"--sweep", "sigma", "1", "2"},
        {"--sweep", "beta", "1", "2", "1"},   {"--sweep", "sigma", "0.1", "1", "0.1", "--chart", "a.png"},
        {"--n"}, {"--plan", "a.vplan", "--sweep", "sigma", "0.1", "1", "0.1"}, {"--plan", "a.vplan", "--chart", "a.png"},
        {"--plan", "a.vplan", "--cost-fixed", "1"},
        {"--unit"}, {"--unit", "Bq/\nkg"}, {"--unit", std::string(31, 'u')}, {"--plan", "a.vplan", "--unit", "Bq/kg"},
        {"--unit", "Bq/kg", "--sweep", "sigma", "0.1", "1", "0.1"},
    };
    for (const auto& args : cases) {
        const auto parsed = ParseOptions(args);
        EXPECT_FALSE(parsed) << args[0];
        EXPECT_FALSE(parsed.message().empty()) << args[0];
    }
}

std::vector<double> Values(const Outcome<SweepPlan>& plan) {
    std::vector<double> values;
    for (std::int64_t i = 0; plan && i < plan->rows(); ++i) values.push_back(plan->Value(i));
    return values;
}

TEST(PlanSweep, MultipliesTheStepAndIncludesTheEnd) {
    EXPECT_EQ(Values(PlanSweep(0.1, 0.3, 0.1)), (std::vector<double>{0.1, 0.2, 0.3}));
    EXPECT_EQ(Values(PlanSweep(1, 1, 5)), (std::vector<double>{1}));
    const auto tenths = Values(PlanSweep(0, 1, 0.1));
    ASSERT_EQ(tenths.size(), 11u);
    EXPECT_EQ(tenths[3], 0.3);
    EXPECT_EQ(tenths[10], 1.0);
    const auto largest = PlanSweep(0, kMaxSweepRows - 1, 1);
    ASSERT_TRUE(largest) << largest.message();
    EXPECT_EQ(largest->rows(), kMaxSweepRows);
    EXPECT_EQ(largest->Value(kMaxSweepRows - 1), kMaxSweepRows - 1);
}

TEST(PlanSweep, RefusesRangesThatMakeNoSense) {
    const double kInf = std::numeric_limits<double>::infinity();
    const std::vector<std::array<double, 3>> cases = {
        {0, 1, 0}, {0, 1, -0.1}, {1, 0, 0.1}, {0, kMaxSweepRows, 1}, {-1e308, 1e308, 1}, {0, 1, 1e-300}, {0, kInf, 1}};
    for (const auto& c : cases) {
        const auto plan = PlanSweep(c[0], c[1], c[2]);
        EXPECT_FALSE(plan) << c[0] << ' ' << c[1] << ' ' << c[2];
        EXPECT_FALSE(plan.message().empty());
    }
}

TEST(NumberOutput, MachineFormsReadBackAndEscape) {
    EXPECT_EQ(ExactNumber(0.05f), "0.0500000007");
    EXPECT_EQ(ExactNumber(0.1), "0.10000000000000001");
    EXPECT_EQ(ExactNumber(1.0), "1");
    EXPECT_EQ(std::stod(ExactNumber(1.0 / 3)), 1.0 / 3);
    EXPECT_EQ(JsonString("a\"b\\c\r\n"), "\"a\\\"b\\\\c\\r\\n\"");
    EXPECT_EQ(OneLine("first\r\nsecond"), "first second");
}

}  // namespace
}  // namespace valdris::cli

namespace valdris::cli {
namespace {

// The companion writes each input as the window's report does, however it
// was typed: in --text and in the report alike; a unit of concentration
// follows each concentration, except those in sums of fractions.
TEST(CompanionRun, WritesEachInputOneWay) {
    const std::vector<std::string> typed = {"--alpha", "1E-06", "--sigma", ".5", "--dcgl", "1.0", "--lbgr", "5e-1"};
    const struct {
        std::vector<std::string> more;
        std::vector<std::string> both;       // in the text and the report
        std::vector<std::string> text_only;  // in the text alone
    } cases[] = {
        {{}, {"Alpha: 0.000001\n", "Sigma: 0.5\n", "DCGL: 1\n", "LBGR: 0.5\n"}, {}},
        {{"--unit", "Bq/kg"},
         {"Alpha: 0.000001\n", "Sigma: 0.5 Bq/kg\n", "DCGL: 1 Bq/kg\n", "LBGR: 0.5 Bq/kg\n"}, {}},
        {{"--unit", "Bq/kg", "--nuclide", "Co-60:5:0.5:1", "--nuclide", "Cs-137:10:2:3"},
         {"DCGL: 1\n", "LBGR: 0.5\n"},
         {"Co-60: DCGL 5 Bq/kg, sigma 0.5 Bq/kg, concentration 1 Bq/kg\n", "Gross-activity DCGL: 8 Bq/kg\n"}},
    };
    for (const auto& c : cases) {
        std::string report_inputs;
        const ReportWriter keep = [&](const DesignReport& report, const DesignState&, const std::string&,
                                      std::string&) {
            for (const ReportLine& line : report.inputs) report_inputs += line.label + ": " + line.value + "\n";
            return true;
        };
        std::vector<std::string> args = typed;
        args.insert(args.end(), c.more.begin(), c.more.end());
        args.insert(args.end(), {"--report", "plan.pdf", "--text"});
        std::ostringstream out, err;
        ASSERT_EQ(valdris::cli::Run(args, out, err, nullptr, keep), 0) << err.str();
        for (const std::string& line : c.both) {
            EXPECT_NE(out.str().find(line), std::string::npos) << line << out.str();
            EXPECT_NE(report_inputs.find(line), std::string::npos) << line << report_inputs;
        }
        for (const std::string& line : c.text_only) EXPECT_NE(out.str().find(line), std::string::npos) << line;
    }
}

// What may be handed to the dynamic loader as the drawing module: the real
// one, and nothing that would crash or hang the companion.
TEST(ModuleFileProblem, TakesOnlyAWholeModule) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("valdris-module-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const fs::path module = VALDRIS_DRAWING_MODULE_PATH;
    fs::copy_file(module, dir / "cut.so");
    fs::resize_file(dir / "cut.so", fs::file_size(module) / 2);
    std::ofstream(dir / "text.so") << "not a module\n";
    ASSERT_EQ(mkfifo((dir / "fifo.so").c_str(), 0600), 0);
    const std::pair<fs::path, const char*> cases[] = {
        {module, ""}, {dir / "cut.so", "damaged"}, {dir / "text.so", "not a shared object"},
        {dir / "fifo.so", "not a regular file"}, {dir, "not a regular file"},
    };
    for (const auto& [path, problem] : cases) {
        const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        const std::string found = ModuleFileProblem(fd);
        close(fd);
        EXPECT_TRUE(*problem ? found.find(problem) != std::string::npos : found.empty()) << path << ": " << found;
    }
    fs::remove_all(dir);
}

}  // namespace
}  // namespace valdris::cli
