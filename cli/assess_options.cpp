// SPDX-License-Identifier: Apache-2.0
#include "assess_options.h"

#include <algorithm>
#include <vector>

#include "measurement_text.h"
#include "options.h"
#include "plain_text.h"

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

std::optional<std::string> SetColumn(Options& options, const std::string& column) {
    if (column.find_first_not_of(" \t") == std::string::npos) {
        return "--column needs a column's header or number, for example --column 2";
    }
    options.column = column;
    return std::nullopt;
}

std::string ChosenColumn(const std::string& text, const std::string& choice) {
    const std::vector<std::string> headers = ColumnHeaders(text);
    const auto same = [&](const std::string& header) { return Lower(Trimmed(header)) == Lower(Trimmed(choice)); };
    if (std::any_of(headers.begin(), headers.end(), same)) return choice;
    const std::string number = Trimmed(choice);
    if (number.empty() || number.size() > 9 || number.find_first_not_of("0123456789") != std::string::npos) {
        return choice;
    }
    const std::size_t k = std::stoul(number);
    return k >= 1 && k <= headers.size() ? headers[k - 1] : choice;
}

std::optional<std::string> AssessOptionsConflict(const Options& options) {
    if (options.column && !options.assess_path) return "--column chooses a column of --assess, which is missing";
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
  --column NAME|NUMBER  in a file with several columns under a header line,
                        the column of the measurements: its header, or its
                        number counted from 1            e.g. --column 2
  A file with a value that is not a finite number, an empty file or one
  measurement alone is refused whole, with the line named (exit status 2).
  Whether the unit passes or fails, the exit status is 0.

)";
}

}  // namespace valdris::cli
