// SPDX-License-Identifier: Apache-2.0
// Runs the built valdris-power-cli and checks what a script would see.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <thread>
#include <string>
#include <vector>

#include "design_inputs.h"
#include "input_rules.h"
#include "plan_figures.h"

extern char** environ;

namespace valdris::cli {
namespace {

struct ProcessResult {
    int status = -1;
    std::string out;
    std::string err;
};

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The test's environment with NAME=value entries replaced or added, and
// entries given as "NAME" alone removed.
std::vector<std::string> EnvironmentWith(const std::vector<std::string>& changes) {
    std::vector<std::string> entries;
    auto name_of = [](const std::string& entry) { return entry.substr(0, entry.find('=')); };
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string name = name_of(*entry);
        const bool changed = std::any_of(changes.begin(), changes.end(),
                                         [&](const std::string& change) { return name_of(change) == name; });
        if (!changed) entries.emplace_back(*entry);
    }
    for (const std::string& change : changes) {
        if (change.find('=') != std::string::npos) entries.push_back(change);
    }
    return entries;
}

std::vector<char*> PointersTo(std::vector<std::string>& words) {
    std::vector<char*> pointers;
    for (auto& word : words) pointers.push_back(word.data());
    pointers.push_back(nullptr);
    return pointers;
}

ProcessResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& environment_changes = {}) {
    const auto dir = std::filesystem::temp_directory_path();
    const std::string tag = std::to_string(getpid());
    const auto out_path = dir / ("valdris-cli-" + tag + ".out");
    const auto err_path = dir / ("valdris-cli-" + tag + ".err");

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<std::string> words = {program};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv = PointersTo(words);
    std::vector<std::string> environment = EnvironmentWith(environment_changes);
    std::vector<char*> envp = PointersTo(environment);

    ProcessResult result;
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data()) == 0) {
        int wait_status = 0;
        waitpid(pid, &wait_status, 0);
        result.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    result.out = ReadFile(out_path);
    result.err = ReadFile(err_path);
    std::filesystem::remove(out_path);
    std::filesystem::remove(err_path);
    return result;
}

ProcessResult RunCli(const std::vector<std::string>& args, const std::vector<std::string>& environment_changes = {}) {
    return RunProgram(VALDRIS_CLI_PATH, args, environment_changes);
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::istringstream stream(text);
    for (std::string part; std::getline(stream, part, separator);) parts.push_back(part);
    return parts;
}

// The one-key-per-line JSON object of a single design, as key -> raw value.
std::vector<std::pair<std::string, std::string>> JsonMembers(const std::string& json) {
    std::vector<std::pair<std::string, std::string>> members;
    for (const std::string& line : Lines(json)) {
        const std::size_t colon = line.find("\": ");
        if (line.rfind("  \"", 0) != 0 || colon == std::string::npos) continue;
        std::string value = line.substr(colon + 3);
        if (!value.empty() && value.back() == ',') value.pop_back();
        members.emplace_back(line.substr(3, colon - 3), value);
    }
    return members;
}

std::vector<double> JsonNumbers(std::string array) {
    std::vector<double> numbers;
    for (const std::string& item : Split(array.substr(1, array.size() - 2), ',')) {
        numbers.push_back(std::strtod(item.c_str(), nullptr));
    }
    return numbers;
}

TEST(CliProcess, JsonAtTheDefaultsGivesTheExactDesign) {
    struct Case {
        const char* test;
        TestKind kind;
        const char* n;
        const char* critical_value_start;
    };
    for (const Case& c : {Case{"sign", TestKind::Sign, "29", "19"}, Case{"wrs", TestKind::WRS, "32", "1162.4751"}}) {
        const ProcessResult result = RunCli({"--test", c.test, "--json"});
        ASSERT_EQ(result.status, 0) << result.err;
        const auto members = JsonMembers(result.out);
        std::vector<std::string> keys;
        for (const auto& member : members) keys.push_back(member.first);
        EXPECT_EQ(keys, (std::vector<std::string>{"test", "quantile", "alpha", "beta", "sigma", "dcgl", "lbgr", "delta",
                                                  "dovers", "n", "critical_value", "power_at_lbgr", "can_pass",
                                                  "curve_x", "curve_power"}));
        ASSERT_EQ(members.size(), 15u);
        EXPECT_EQ(members[0].second, std::string("\"") + c.test + "\"");
        EXPECT_EQ(members[1].second, "\"specified\"");
        EXPECT_EQ(members[2].second, "0.0500000007");
        EXPECT_EQ(members[9].second, c.n);
        EXPECT_EQ(members[10].second.rfind(c.critical_value_start, 0), 0u) << members[10].second;
        EXPECT_EQ(members[12].second, "true");

        // Every printed figure reads back to the value the design computed.
        const DesignState expected = *RunDesign(c.kind, DesignInputs{});
        const auto curve_x = JsonNumbers(members[13].second);
        const auto curve_power = JsonNumbers(members[14].second);
        ASSERT_EQ(curve_x.size(), 60u);
        ASSERT_EQ(curve_power.size(), 60u);
        for (int i = 1; i <= kCurvePoints; ++i) {
            EXPECT_EQ(static_cast<float>(curve_x[i - 1]), expected.CurveX[i]) << i;
            EXPECT_EQ(curve_power[i - 1], expected.CurvePower[i]) << i;
        }
        if (c.kind == TestKind::WRS) {
            EXPECT_EQ(std::strtod(members[10].second.c_str(), nullptr), expected.WRSCriticalValue);
        }
    }
}

TEST(CliProcess, RefusalsExitWithStatusTwoAndNothingOnStdout) {
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"--alpha", "0.6"}, rules::kAlphaRange},
        {{"--alpha", "0.6", "--beta", "0.5"}, rules::kAlphaBetaBothLarge},
        {{"--beta", "1.01"}, rules::kBetaRange},
        {{"--sigma", "0"}, rules::kSigmaNotPositive},
        {{"--sigma", "10.01"}, "Values of sigma that are 10 times the DCGL indicate either\n"},
        {{"--dcgl", "0"}, "The DCGL must be a number from 0.000001 to 1000000000.\n"},
        {{"--lbgr", "-1"}, rules::kLBGRNegative},
        {{"--lbgr", "1"}, rules::kLBGRAboveDCGL},
        {{"--alpha", "abc"}, "--alpha"},
        {{"--dcgl", "1e400"}, "--dcgl"},
        {{"--test", "wrs", "--sigma", "10", "--lbgr", "0.99999"}, "The required sample size is too large"},
        {{"--sweep", "sigma", "0.1", "1", "0"}, "STEP"},
        {{"--sweep", "sigma", "0", "1e7", "1"}, "10000000 rows"},
        {{"--sweep", "lbgr", "0", "0.5", "0.1", "--alpha", "0.7"}, rules::kAlphaRange},
        {{"--frobnicate"}, "--help"},
        {{"--chart", "curve.jpg"}, "--help"},
        {{"--report", "plan.txt"}, "--report: the file name must end in .pdf"},
        {{"--sweep", "sigma", "0.1", "1", "0.1", "--report", "plan.pdf"}, "--report"},
        {{"--n", "0"}, kGivenSizeRange},
        {{"--n", "1.5"}, kGivenSizeRange},
        {{"--n", "2147483648"}, kGivenSizeRange},
        {{"--n", "twenty"}, kGivenSizeRange},
        {{"--cost-fixed", "-1"}, kCostRange},
        {{"--cost-per-sample", "1e16"}, kCostRange},
        {{"--plan", "/nonexistent/site.vplan"}, "could not be read"},
        // Endless, and read before as long as it lasted.
        {{"--plan", "/dev/zero"}, "The plan could not be read from /dev/zero: it is not a regular file."},
        {{"--plan", "site.vplan", "--n", "3"}, "--help"},
    };
    for (const Case& c : cases) {
        const ProcessResult result = RunCli(c.args);
        EXPECT_EQ(result.status, 2) << c.args[0];
        EXPECT_EQ(result.out, "") << c.args[0];
        EXPECT_NE(result.err.find(c.message), std::string::npos) << c.args[0] << ": " << result.err;
    }
}

TEST(CliProcess, GivenSizeAndCosts) {
    struct Case {
        std::vector<std::string> args;
        std::string critical_value, power_start;
        std::optional<std::string> cost;
    };
    const std::vector<Case> cases = {
        {{"--n", "29"}, "19", "0.989008", std::nullopt},
        {{"--n", "20"}, "14", "0.915830", std::nullopt},
        {{"--n", "15"}, "11", "0.795183", std::nullopt},
        {{"--cost-fixed", "1000", "--cost-per-sample", "200"}, "19", "0.989008", "6800"},
        {{"--test", "wrs", "--cost-fixed", "1000", "--cost-per-sample", "200"}, "1162.4751", "0.9", "13800"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        args.push_back("--json");
        const ProcessResult result = RunCli(args);
        ASSERT_EQ(result.status, 0) << result.err;
        std::map<std::string, std::string> members;
        for (const auto& member : JsonMembers(result.out)) members.insert(member);
        EXPECT_EQ(members["critical_value"].rfind(c.critical_value, 0), 0u) << members["critical_value"];
        EXPECT_EQ(members["power_at_lbgr"].rfind(c.power_start, 0), 0u) << members["power_at_lbgr"];
        EXPECT_EQ(members.count("cost") ? std::optional<std::string>(members["cost"]) : std::nullopt, c.cost);
    }
    const ProcessResult text = RunCli({"--n", "20", "--cost-per-sample", "2.5"});
    for (const char* piece : {"Given Sample Size\n  Survey Unit: 20\n  Designed: 29\n",
                              "Power at the LBGR: 0.915831 (below 1 - beta)\n", "Cost: 50\n"}) {
        EXPECT_NE(text.out.find(piece), std::string::npos) << piece;
    }
    // A given N is marked as given, with the designed N; a power short of
    // 1 - beta is flagged; neither is said of a designed N.
    struct Marks {
        std::vector<std::string> args;
        std::map<std::string, std::string> members;  // "" for absent
    };
    const std::vector<Marks> marks = {
        {{"--n", "20"}, {{"n_given", "true"}, {"n_designed", "29"}, {"power_below_target", "true"}}},
        {{"--n", "40"}, {{"n_given", "true"}, {"n_designed", "29"}, {"power_below_target", ""}}},
        {{}, {{"n_given", ""}, {"n_designed", ""}, {"power_below_target", ""}}},
    };
    for (const Marks& m : marks) {
        std::vector<std::string> args = m.args;
        args.push_back("--json");
        std::map<std::string, std::string> members;
        for (const auto& member : JsonMembers(RunCli(args).out)) members.insert(member);
        for (const auto& [key, value] : m.members) EXPECT_EQ(members[key], value) << key;
    }
}

// A unit whose text is longer than the writer's room of units (a name of
// 300,000 characters) comes out whole and in its place.
TEST(CliProcess, APlanUnitLongerThanTheWritersRoomComesOutWhole) {
    const auto path = std::filesystem::temp_directory_path() / ("cli-long-" + std::to_string(::getpid()) + ".vplan");
    const std::string inputs = R"("radionuclide": "", "test": "sign", "alpha": 0.05, "beta": 0.05, "sigma": 0.4, "dcgl": 1, "lbgr": 0.5)";
    const std::string long_name(300000, 'L');
    std::ofstream(path) << R"({"valdris_power_plan": 1, "units": [{"name": "A", )" << inputs << R"(}, {"name": ")"
                        << long_name << R"(", )" << inputs << R"(}, {"name": "C", )" << inputs << "}]}";
    const ProcessResult plan = RunCli({"--plan", path.string(), "--json"});
    std::filesystem::remove(path);
    ASSERT_EQ(plan.status, 0) << plan.err;
    const std::size_t first = plan.out.find("    {\n");
    const std::size_t second = plan.out.find("    {\n", first + 1);
    ASSERT_NE(second, std::string::npos);
    const std::string unit_a = plan.out.substr(first, second - first);
    std::string expected = "{\n  \"units\": [\n" + unit_a + unit_a + unit_a;
    expected.replace(expected.find("\"A\"", expected.find("\"A\"") + 1), 3, "\"" + long_name + "\"");
    expected.replace(expected.rfind("\"A\""), 3, "\"C\"");
    expected.replace(expected.rfind("},\n"), 3, "}\n");
    EXPECT_TRUE(plan.out == expected + "  ]\n}\n") << plan.out.size() << " bytes against " << expected.size() + 6;
}

// Each unit of a plan gives what a single design with its inputs gives.
TEST(CliProcess, PlanUnitsAreTheSingleDesigns) {
    const auto path = std::filesystem::temp_directory_path() / ("cli-plan-" + std::to_string(::getpid()) + ".vplan");
    {
        std::ofstream file(path);
        file << R"({"valdris_power_plan": 1, "units": [
  {"name": "North, yard", "radionuclide": "Cs-137", "test": "sign", "alpha": 0.025, "beta": 0.1, "sigma": 0.3,
   "dcgl": 2, "lbgr": 1.2, "n": 20, "survey_data": [1.5, 2.5, 1, -0.5, 1.9, 2.2, 1.1, 0.7]},
  {"name": "South", "radionuclide": "", "test": "wrs", "alpha": 0.05, "beta": 0.05, "sigma": 0.5, "dcgl": 1,
   "lbgr": 0.5, "cost_fixed": 1000, "cost_per_sample": 200, "survey_data": [0.9, 1.3, 0.8, 1.1, 0.5],
   "reference_data": [0.2, 0.4, 0.1, 0.3]},
  {"name": "East", "radionuclide": "", "test": "sign", "alpha": 0.05, "beta": 0.05, "sigma": 0.4, "dcgl": 1,
   "lbgr": 0.5}]})";
    }
    const auto data = [&](const char* name, const char* values) {
        const auto file = path.string() + name;
        std::ofstream(file) << values;
        return file;
    };
    const std::string survey_a = data(".a.csv", "1.5\n2.5\n1\n-0.5\n1.9\n2.2\n1.1\n0.7\n");
    const std::string survey_b = data(".b.csv", "0.9\n1.3\n0.8\n1.1\n0.5\n");
    const std::string reference_b = data(".r.csv", "0.2\n0.4\n0.1\n0.3\n");
    const std::vector<std::vector<std::string>> singles = {
        {"--alpha", "0.025", "--beta", "0.1", "--sigma", "0.3", "--dcgl", "2", "--lbgr", "1.2", "--n", "20",
         "--assess", survey_a},
        {"--test", "wrs", "--cost-fixed", "1000", "--cost-per-sample", "200", "--assess", survey_b, "--reference",
         reference_b},
        {"--sigma", "0.4"}};  // the DCGL of the unit before it: the same curve of x values
    const ProcessResult plan = RunCli({"--plan", path.string(), "--json"});
    ASSERT_EQ(plan.status, 0) << plan.err;
    std::string expected = "{\n  \"units\": [\n";
    const char* names[] = {"North, yard", "South", "East"};
    for (std::size_t i = 0; i < singles.size(); ++i) {
        std::vector<std::string> args = singles[i];
        args.push_back("--json");
        const std::string single = RunCli(args).out;
        std::string members;
        for (const std::string& line : Lines(single.substr(2, single.size() - 4))) members += "    " + line + "\n";
        expected += std::string("    {\n      \"name\": \"") + names[i] + "\",\n" + members +
                    (i + 1 == singles.size() ? "    }\n" : "    },\n");
    }
    EXPECT_EQ(plan.out, expected + "  ]\n}\n");

    const ProcessResult csv = RunCli({"--plan", path.string(), "--csv"});
    ASSERT_EQ(csv.status, 0) << csv.err;
    const auto rows = Lines(csv.out);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[1].rfind("\"North, yard\",Cs-137,Sign,0.025,0.1,0.3,2,1.2,", 0), 0u) << rows[1];
    // No size: no final N, no spacing; a designed N with its power.
    EXPECT_EQ(rows[2].substr(rows[2].rfind(",13800")), ",13800,,,,,");

    const ProcessResult text = RunCli({"--plan", path.string()});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(Lines(text.out).size(), 7u);  // the table, a blank line, each verdict
    EXPECT_NE(text.out.find("\nSouth: The survey unit "), std::string::npos) << text.out;
    for (const auto& file : {survey_a, survey_b, reference_b}) std::filesystem::remove(file);

    // The plan report alone: the table's page, then each unit's design page
    // and the page of its measurements.
    const std::string report = path.string() + ".pdf";
    const ProcessResult reported = RunCli({"--plan", path.string(), "--report", report});
    ASSERT_EQ(reported.status, 0) << reported.err;
    EXPECT_EQ(reported.out, "");
    const std::string pdf = ReadFile(report);
    int pages = 0;
    for (std::size_t at = pdf.find("/Type /Page"); at != std::string::npos; at = pdf.find("/Type /Page", at + 1)) {
        if (pdf.compare(at, 12, "/Type /Pages") != 0) ++pages;
    }
    EXPECT_EQ(pages, 6);
    std::filesystem::remove(report);

    std::ofstream(path) << R"({"valdris_power_plan": 1, "units": [{"name": "A"}]})";
    const ProcessResult refused = RunCli({"--plan", path.string(), "--json"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.out, "");
    EXPECT_NE(refused.err.find("Unit 1 (\"A\"): the key \"radionuclide\" is missing."), std::string::npos) << refused.err;
    std::filesystem::remove(path);
}

TEST(CliProcess, TextSummaryShowsWhatTheWindowShows) {
    const ProcessResult sign = RunCli({});
    ASSERT_EQ(sign.status, 0) << sign.err;
    for (const char* piece : {"Survey Unit: 29\n", "Critical Value: 19\n", "D/s = 1\n", "  50.0  0.989008\n"}) {
        EXPECT_NE(sign.out.find(piece), std::string::npos) << piece;
    }
    EXPECT_EQ(sign.out.find("Reference:"), std::string::npos);

    const ProcessResult wrs = RunCli({"--test", "wrs"});
    ASSERT_EQ(wrs.status, 0) << wrs.err;
    for (const char* piece : {"Reference: 32\n", "Critical Value: 1162\n", "  100.0  0.050734\n"}) {
        EXPECT_NE(wrs.out.find(piece), std::string::npos) << piece;
    }
}

TEST(CliProcess, CsvGivesTheCurveUnderAHeader) {
    const ProcessResult result = RunCli({"--csv", "--sigma", "0.71"});
    ASSERT_EQ(result.status, 0) << result.err;
    const auto lines = Lines(result.out);
    ASSERT_EQ(lines.size(), 61u);
    EXPECT_EQ(lines[0], "x,power");
    EXPECT_EQ(Split(lines[40], ',')[0], "0.999999583");
}

TEST(CliProcess, SweepGivesOneRowPerValueWithRefusedRowsExplained) {
    const ProcessResult result = RunCli({"--sweep", "lbgr", "0.8", "1.2", "0.1", "--csv"});
    ASSERT_EQ(result.status, 0) << result.err;
    const auto lines = Lines(result.out);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], "lbgr,dovers,n,critical_value,power_at_lbgr,refusal");
    EXPECT_EQ(Split(lines[2], ',')[0], "0.90000000000000002");
    EXPECT_EQ(Split(lines[2], ',').size(), 5u);  // no refusal field text
    for (int row = 3; row <= 5; ++row) {
        const auto fields = Split(lines[row], ',');
        ASSERT_EQ(fields.size(), 6u) << lines[row];
        EXPECT_EQ(fields[5], rules::kLBGRAboveDCGL);
    }

    const ProcessResult json = RunCli({"--test", "wrs", "--sweep", "sigma", "0.1", "0.3", "0.1", "--json"});
    ASSERT_EQ(json.status, 0) << json.err;
    const auto rows = Lines(json.out);
    ASSERT_EQ(rows.size(), 5u);  // brackets and three objects
    EXPECT_EQ(rows[0], "[");
    EXPECT_EQ(rows[1].back(), ',');
    EXPECT_EQ(rows[2].back(), ',');
    EXPECT_EQ(rows[3].back(), '}');
    EXPECT_EQ(rows[4], "]");
    EXPECT_EQ(rows[3].rfind("  {\"sigma\": 0.300000012, \"dovers\": ", 0), 0u) << rows[3];
    const auto expected = RunDesign(TestKind::WRS, DesignInputs{0.05, 0.05, 0.3, 1, 0.5});
    EXPECT_NE(rows[3].find("\"n\": " + std::to_string(expected->WRSN) + ","), std::string::npos) << rows[3];
}

// Nearly ten million rows: the first must come out at once, and a reader
// that goes away must end the run rather than leave it computing the rest.
TEST(CliProcess, SweepRowsAreWrittenAsTheyAreComputed) {
    int pipe_ends[2];
    ASSERT_EQ(pipe(pipe_ends), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], 1);
    posix_spawn_file_actions_addclose(&actions, pipe_ends[0]);
    std::vector<std::string> words = {VALDRIS_CLI_PATH, "--json", "--sweep", "sigma", "0.1", "10", "0.000001"};
    std::vector<char*> argv = PointersTo(words);
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, VALDRIS_CLI_PATH, &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    close(pipe_ends[1]);

    const auto start = std::chrono::steady_clock::now();
    std::string head;
    char chunk[256];
    while (head.find('}') == std::string::npos) {
        const ssize_t got = read(pipe_ends[0], chunk, sizeof chunk);
        if (got <= 0) break;
        head.append(chunk, static_cast<std::size_t>(got));
    }
    close(pipe_ends[0]);
    int wait_status = 0;
    waitpid(pid, &wait_status, 0);
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    EXPECT_EQ(head.rfind("[\n  {\"sigma\": 0.100000001, \"dovers\": ", 0), 0u) << head;
    const bool ended_by_closed_pipe = WIFSIGNALED(wait_status) ? WTERMSIG(wait_status) == SIGPIPE
                                                               : WEXITSTATUS(wait_status) == 1;
    EXPECT_TRUE(ended_by_closed_pipe) << wait_status;
    EXPECT_LT(seconds, 20.0);
}

TEST(CliProcess, HelpListsEveryOptionAndVersionNamesTheProgram) {
    const ProcessResult result = RunCli({"--help"});
    EXPECT_EQ(result.status, 0);
    for (const char* option : {"--test", "--alpha", "--beta", "--sigma", "--dcgl", "--lbgr", "--text", "--json",
                               "--csv", "--chart", "--sweep", "--help", "--version", "10000000 rows"}) {
        EXPECT_NE(result.out.find(option), std::string::npos) << option;
    }
    for (const char* option : {"--version", "-V"}) {
        const ProcessResult version = RunCli({option, "--alpha", "9"});
        EXPECT_EQ(version.status, 0) << option;
        EXPECT_EQ(version.out.rfind("valdris-power-cli (VALDRIS Power) ", 0), 0u) << version.out;
        EXPECT_EQ(Lines(version.out).size(), 1u) << version.out;
    }
}

// The dynamic loader lists what a run would load without running it.
TEST(CliProcess, ComputingADesignLoadsNoToolkit) {
    const ProcessResult loaded = RunCli({"--json"}, {"LD_TRACE_LOADED_OBJECTS=1"});
    ASSERT_EQ(loaded.status, 0) << loaded.err;
    EXPECT_NE(loaded.out.find("libc.so"), std::string::npos) << loaded.out;
    EXPECT_EQ(loaded.out.find("libQt"), std::string::npos) << loaded.out;
}

TEST(CliProcess, ChartIsWrittenOrTheFailureReported) {
    const auto path = std::filesystem::temp_directory_path() / ("valdris-cli-" + std::to_string(getpid()) + ".svg");
    const ProcessResult written = RunCli({"--chart", path.string(), "--json"});
    EXPECT_EQ(written.status, 0) << written.err;
    EXPECT_EQ(written.out.rfind("{\n  \"test\": \"sign\"", 0), 0u) << written.out;
    EXPECT_NE(ReadFile(path).find("<svg"), std::string::npos);
    std::filesystem::remove(path);

    // Off screen whatever the environment names (as in an ssh session with
    // no display), and silent when all went well.
    const auto png = path.string() + ".png";
    const ProcessResult quiet = RunCli({"--chart", png}, {"QT_QPA_PLATFORM=xcb", "DISPLAY", "WAYLAND_DISPLAY",
                                                          "XDG_RUNTIME_DIR"});
    EXPECT_EQ(quiet.status, 0) << quiet.err;
    EXPECT_EQ(quiet.out, "");
    EXPECT_EQ(quiet.err, "");
    EXPECT_EQ(ReadFile(png).rfind("\x89PNG", 0), 0u);
    std::filesystem::remove(png);

    const ProcessResult failed = RunCli({"--chart", "/nonexistent-directory/curve.png"});
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.out, "");
    EXPECT_NE(failed.err.find("valdris-power-cli: "), std::string::npos) << failed.err;

    // A companion without its drawing module still computes, and says why it
    // cannot draw.
    const auto alone = std::filesystem::temp_directory_path() / ("valdris-cli-alone-" + std::to_string(getpid()));
    std::filesystem::create_directory(alone);
    std::filesystem::copy_file(VALDRIS_CLI_PATH, alone / "valdris-power-cli");
    const std::string program = (alone / "valdris-power-cli").string();
    EXPECT_EQ(RunProgram(program, {"--json"}).status, 0);
    const ProcessResult undrawn = RunProgram(program, {"--chart", (alone / "c.png").string()});
    EXPECT_EQ(undrawn.status, 1);
    EXPECT_NE(undrawn.err.find("the drawing module could not be loaded"), std::string::npos) << undrawn.err;
    EXPECT_FALSE(std::filesystem::exists(alone / "c.png"));
    std::filesystem::remove_all(alone);
}

// The report carries the inputs as typed and the results; a name that is a
// link or no regular file is refused for the chart and the report alike, and
// nothing is written through it.
TEST(CliProcess, ReportIsWrittenAndUnsafeNamesRefused) {
    const auto dir = std::filesystem::temp_directory_path() / ("valdris-cli-files-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const auto report = dir / "plan.pdf";
    const ProcessResult written =
        RunCli({"--test", "wrs", "--sigma", " .5", "--radionuclide", "Sr-90", "--report", report.string()});
    ASSERT_EQ(written.status, 0) << written.err;
    const std::string pdf = ReadFile(report);
    EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u);

    const auto target = dir / "target";
    std::ofstream(target) << "keep";
    std::filesystem::create_symlink(target, dir / "link.png");
    std::filesystem::create_symlink(target, dir / "link.pdf");
    std::filesystem::create_symlink("/dev/full", dir / "device.png");
    std::filesystem::create_directory(dir / "folder.svg");
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--chart", (dir / "link.png").string()},
                                                 {"--report", (dir / "link.pdf").string()},
                                                 {"--chart", (dir / "folder.svg").string()},
                                                 {"--chart", (dir / "device.png").string()}}) {
        const ProcessResult refused = RunCli(args);
        EXPECT_EQ(refused.status, 1) << args[1];
        EXPECT_EQ(refused.out, "") << args[1];
        EXPECT_NE(refused.err.find("could not be written to " + args[1] + ": "), std::string::npos) << refused.err;
    }
    EXPECT_EQ(ReadFile(target), "keep");
    std::filesystem::remove_all(dir);
}

// A chart that cannot be written (a file size limit stands in for a full
// disk): exit 1 and one line naming the cause, none from the image library.
TEST(CliProcess, AFullDiskIsReportedOnce) {
    const std::string png = std::filesystem::temp_directory_path() / ("valdris-full-" + std::to_string(getpid()) + ".png");
    const ProcessResult full = RunProgram(
        "/bin/sh", {"-c", "trap '' XFSZ; ulimit -f 1; exec \"$0\" \"$@\"", VALDRIS_CLI_PATH, "--chart", png});
    EXPECT_EQ(full.status, 1);
    EXPECT_EQ(Lines(full.err).size(), 1u) << full.err;
    EXPECT_NE(full.err.find(std::strerror(EFBIG)), std::string::npos) << full.err;
    EXPECT_FALSE(std::filesystem::exists(png));
}

// Two runs a second apart give the same report, dated by SOURCE_DATE_EPOCH.
TEST(CliProcess, ReportsReproduceByteForByte) {
    const std::string path = std::filesystem::temp_directory_path() / ("valdris-again-" + std::to_string(getpid()));
    std::string reports[2];
    for (std::string& report : reports) {
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
        ASSERT_EQ(RunCli({"--report", path + ".pdf"}, {"SOURCE_DATE_EPOCH=1700000000"}).status, 0);
        report = ReadFile(path + ".pdf");
    }
    EXPECT_NE(reports[0].find("/CreationDate (D:20231114221320"), std::string::npos);
    EXPECT_TRUE(reports[0] == reports[1]);
    std::filesystem::remove(path + ".pdf");
}

// A module cut short, or one that someone else could have changed, gives the
// message that the companion cannot draw, instead of a crash or running
// their code.
TEST(CliProcess, AnUnsafeDrawingModuleIsRefused) {
    namespace fs = std::filesystem;
    const fs::path module = fs::path(VALDRIS_CLI_PATH).parent_path() / "valdris-power-draw.so";
    const struct {
        const char* name;
        bool cut;
        mode_t module_mode;
        mode_t folder_mode;
        const char* problem;
    } cases[] = {
        {"cut", true, 0755, 0755, "it is damaged"},
        {"group", false, 0775, 0755, "group or others may change it"},
        {"folder", false, 0755, 0777, "group or others may change its folder"},
    };
    for (const auto& c : cases) {
        const fs::path dir =
            fs::temp_directory_path() / ("valdris-cli-module-" + std::string(c.name) + std::to_string(getpid()));
        fs::create_directories(dir);
        fs::copy_file(VALDRIS_CLI_PATH, dir / "valdris-power-cli");
        fs::copy_file(module, dir / "valdris-power-draw.so");
        if (c.cut) fs::resize_file(dir / "valdris-power-draw.so", fs::file_size(module) / 3);
        chmod((dir / "valdris-power-draw.so").c_str(), c.module_mode);
        chmod(dir.c_str(), c.folder_mode);
        const ProcessResult refused =
            RunProgram((dir / "valdris-power-cli").string(), {"--chart", (dir / "c.png").string()});
        EXPECT_EQ(refused.status, 1) << c.name;
        EXPECT_NE(refused.err.find("the drawing module could not be loaded: " +
                                   (dir / "valdris-power-draw.so").string() + ": " + c.problem),
                  std::string::npos)
            << refused.err;
        EXPECT_FALSE(fs::exists(dir / "c.png")) << c.name;
        fs::remove_all(dir);
    }
}

}  // namespace
}  // namespace valdris::cli
