// SPDX-License-Identifier: Apache-2.0
// The companion's face of the design check: "can_pass" on every design and
// the smallest passable size, --quantile exact, --check in JSON and text,
// sweeps that carry it, and the command lines it refuses.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "options.h"
#include "run.h"

namespace valdris::cli {
namespace {

struct Case {
    const char* what;
    std::vector<std::string> args;
    int status;
    std::vector<std::string> found;  // in stdout, or in stderr when refused
    std::vector<std::string> absent = {};  // not in stdout
};

TEST(CheckCommand, WritesWhatWasAskedOrRefuses) {
    const Case cases[] = {
        {"a design that can pass", {"--json"}, kExitOk, {"\"quantile\": \"specified\",", "\"can_pass\": true,"},
         {"smallest_passable_n", "\"check\""}},
        {"Sign that cannot pass", {"--beta", "0.5", "--lbgr", "0", "--json"}, kExitOk,
         {"\"n\": 4,", "\"critical_value\": 4,", "\"power_at_lbgr\": 0,", "\"can_pass\": false,",
          "\"smallest_passable_n\": 5,", "\"curve_power\": [0, 0, 0"}},
        {"WRS that cannot pass", {"--test", "wrs", "--alpha", "0.1", "--beta", "0.5", "--sigma", "0.25"}, kExitOk,
         {"Power at the LBGR: 0.000000 (below 1 - beta)\nNo data can pass this design: the rank sum W cannot exceed",
          "smallest sample size that can pass is 3 in each area."}},
        {"a given N that cannot pass", {"--n", "2", "--alpha", "0.01", "--sigma", "0.05", "--json"}, kExitOk,
         {"\"power_at_lbgr\": 0,", "\"smallest_passable_n\": 7,"}},
        {"exact quantile", {"--quantile", "exact", "--beta", "0.1", "--alpha", "0.1", "--json"}, kExitOk,
         {"\"quantile\": \"exact\",", "\"n\": 18,"}},
        {"exact quantile as text", {"--quantile", "exact", "--sigma", "5", "--alpha", "0.01", "--beta", "0.01"},
         kExitOk, {"Survey Unit: 4095\n", "Normal Quantile: exact\n"}},
        {"check as JSON", {"--check", "--json"}, kExitOk,
         {"\"check\": {\"type1_error\": 0.030714172869920", "\"type1_method\": \"exact\"", "\"power_normal_se\": 0,",
          "\"n_exact_quantile\": 29,", "\"replications\": 0, \"seed\": 1}"}},
        {"check as text", {"--check", "--check-seed", "7", "--test", "wrs", "--sigma", "0.25"}, kExitOk,
         {"Design check\n  True Type I Error: ", "(simulated, 20000 runs)", "  Seed: 7\n"}},
        {"a sweep with the check", {"--check", "--json", "--sweep", "sigma", "0.5", "0.6", "0.1"}, kExitOk,
         {"\"can_pass\": true, \"check\": {\"type1_error\":"}},
        {"check as CSV", {"--check", "--csv"}, kExitRefused, {"--check reports as text or JSON"}},
        {"seed without check", {"--check-seed", "3"}, kExitRefused, {"--check-seed sets the seed of --check"}},
        {"unknown quantile", {"--quantile", "tabled"}, kExitRefused, {"--quantile must be specified or exact"}},
        {"seed out of range", {"--check", "--check-seed", "-1"}, kExitRefused, {"The seed must be a whole number"}},
    };
    for (const Case& c : cases) {
        std::ostringstream out, err;
        ASSERT_EQ(cli::Run(c.args, out, err, {}), c.status) << c.what << ": " << err.str();
        const std::string text = c.status == kExitOk ? out.str() : err.str();
        for (const std::string& piece : c.found) EXPECT_NE(text.find(piece), std::string::npos) << c.what << ": " << piece << "\n" << text;
        for (const std::string& piece : c.absent) EXPECT_EQ(out.str().find(piece), std::string::npos) << c.what << ": " << piece;
        if (c.status != kExitOk) {
            EXPECT_TRUE(out.str().empty()) << c.what;
        }
    }
}

}  // namespace
}  // namespace valdris::cli
