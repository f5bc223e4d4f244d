// SPDX-License-Identifier: Apache-2.0
#include "assess_options.h"

#include "options.h"

namespace valdris::cli {

std::optional<std::string> SetAssessPath(Options& options, const std::string& path) {
    if (path.empty()) return "--assess needs the name of a file of measurements";
    options.assess_path = path;
    return std::nullopt;
}

std::optional<std::string> SetReferencePath(Options& options, const std::string& path) {
    if (path.empty()) return "--reference needs the name of a file of measurements";
    options.reference_path = path;
    return std::nullopt;
}

std::optional<std::string> AssessOptionsConflict(const Options& options) {
    if (options.reference_path && !options.assess_path) {
        return "--reference gives the reference area's measurements for --assess, which is missing";
    }
    if (!options.assess_path) return std::nullopt;
    if (options.reference_path && options.test == TestKind::Sign) {
        return "--reference is for the WRS test: add --test wrs, or leave the reference out";
    }
    if (options.sweep) return "--assess judges the data of one design and cannot be combined with --sweep";
    if (options.format == OutputFormat::Csv) return "--assess reports as text or JSON, not as CSV";
    return std::nullopt;
}

std::string AssessHelpText() {
    return R"(Assessing collected data (the test the design was made for, with its own
critical value; the report adds the decision, the p-value, mean, median,
standard deviation, maximum, the values above the DCGL and the power at the
LBGR with the sigma of the measurements):
  --assess FILE         the survey unit's measurements: one number per line,
                        or a CSV/TSV file with one column, or with a header
                        line; negative values allowed  e.g. --assess unit.csv
  --reference FILE      the reference area's measurements, for --test wrs
                                                         e.g. --reference ref.csv
  A file with a value that is not a finite number, an empty file or one
  measurement alone is refused whole, with the line named (exit status 2).
  Whether the unit passes or fails, the exit status is 0.

)";
}

}  // namespace valdris::cli
