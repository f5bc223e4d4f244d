// SPDX-License-Identifier: Apache-2.0
#include "check_options.h"

#include "design_check.h"
#include "options.h"
#include "sample_grid.h"

namespace valdris::cli {

std::optional<std::string> SetQuantile(Options& options, const std::string& value) {
    if (value != "specified" && value != "exact") return "--quantile must be specified or exact, not \"" + value + "\"";
    options.check.exact_quantile = value == "exact";
    return std::nullopt;
}

std::optional<std::string> CheckOptionsConflict(const Options& options) {
    const CheckOptions& check = options.check;
    if (check.seed && !check.check) return "--check-seed sets the seed of --check, which is missing";
    if (check.check && options.format == OutputFormat::Csv) {
        return "--check reports as text or JSON, not as CSV";
    }
    if (check.exact_quantile && options.assess_path) {
        return "--quantile exact changes the design, while --assess judges data by the specified one: "
               "use one of them";
    }
    if (check.exact_quantile && options.plan.plan_path) {
        return "--quantile exact cannot be combined with --plan: a plan's units keep the specified design";
    }
    return std::nullopt;
}

Outcome<uint64_t> ReadCheckSeed(const CheckOptions& options) {
    if (!options.seed) return kDefaultCheckSeed;
    return ReadSeed(*options.seed);
}

std::string CheckHelpText() {
    return R"(Checking a design (what it really delivers beside its formulas):
  --check               adds the true Type I error of the critical value, the
                        power at the LBGR for normal and for lognormal
                        measurements (WRS: simulated), the smallest N that
                        reaches 1 - beta with an exact critical value and no
                        margin, and N from exact normal quantiles
                                                         e.g. --test wrs --check
  --check-seed S        the simulation's seed, 0 to 9007199254740991 [1]
                                                         e.g. --check-seed 7
  --quantile specified|exact
                        the design's normal quantile: its rational
                        approximation, or exact [specified]
                                                         e.g. --quantile exact

)";
}

}  // namespace valdris::cli
