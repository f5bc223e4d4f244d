// SPDX-License-Identifier: Apache-2.0
#include "assess_options.h"

#include <algorithm>
#include <vector>

#include "measurement_text.h"
#include "options.h"
#include "elevated_comparison.h"
#include "number_text.h"
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

std::optional<std::string> SetIdColumn(Options& options, const std::string& column) {
    if (Trimmed(column).empty()) return "--id-column needs the header of the locations' ids, for example --id-column id";
    options.id_column = column;
    return std::nullopt;
}

std::optional<std::string> SetXYColumns(Options& options, const std::string& columns) {
    const std::size_t comma = columns.find(',');
    if (comma == std::string::npos || Trimmed(columns.substr(0, comma)).empty() ||
        Trimmed(columns.substr(comma + 1)).empty()) {
        return "--xy-columns needs the headers of x and y, for example --xy-columns x,y";
    }
    options.xy_columns = columns;
    return std::nullopt;
}

std::optional<std::string> AddElevatedArea(Options& options, const std::string& area) {
    const std::size_t colon = area.rfind(':');
    if (colon == std::string::npos || colon == 0) {
        return "--elevated-area needs a location and its size, for example --elevated-area 7:2.5";
    }
    options.elevated_areas.push_back(area);
    return std::nullopt;
}

PlaceColumns PlaceColumnsOf(const Options& options) {
    PlaceColumns place;
    if (options.id_column) place.id = *options.id_column;
    if (options.xy_columns) {
        const std::size_t comma = options.xy_columns->find(',');
        place.x = Trimmed(options.xy_columns->substr(0, comma));
        place.y = Trimmed(options.xy_columns->substr(comma + 1));
    }
    return place;
}

Outcome<std::map<std::string, double>> ElevatedAreaSizes(const Options& options) {
    std::map<std::string, double> sizes;
    for (const std::string& area : options.elevated_areas) {
        const std::size_t colon = area.rfind(':');
        const std::string location = Trimmed(area.substr(0, colon));
        const std::optional<double> size = StrictNumber(Trimmed(area.substr(colon + 1)));
        const std::string named = "--elevated-area " + area + ": ";
        if (!size) return Refusal{RefusalKind::CommandLine, named + "the size is not a number.", MessageIcon::Exclamation};
        if (auto refusal = ElevatedAreaSizeRefusal(*size)) {
            return Refusal{RefusalKind::CommandLine, named + refusal->text, MessageIcon::Exclamation};
        }
        if (!sizes.emplace(location, *size).second) {
            return Refusal{RefusalKind::CommandLine, named + "location " + location + " is given twice.",
                           MessageIcon::Exclamation};
        }
    }
    return sizes;
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
    if ((options.id_column || options.xy_columns) && !options.assess_path) {
        return "--id-column and --xy-columns say where the measurements of --assess were taken; --assess is missing";
    }
    if (options.id_column && options.xy_columns) return "give --id-column or --xy-columns, not both";
    if (!options.elevated_areas.empty() && !options.assess_path) {
        return "--elevated-area gives the size of an area found in the measurements of --assess, which is missing";
    }
    if (!options.assess_path) return std::nullopt;
    if ((options.id_column || options.xy_columns) && !options.field.HasSize()) {
        return "--id-column and --xy-columns join the measurements to the unit's locations: give its size "
               "(--area, or --width and --height)";
    }
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
  --id-column NAME      the column of each measurement's location id ("7" is
                        location 7 of the --points list); needs the unit's
                        size, and joins the measurements to its locations
                                                         e.g. --id-column id
  --xy-columns X,Y      or the columns of where each was taken: joined to the
                        nearest location within half the grid spacing
                                                         e.g. --xy-columns x,y
  --elevated-area ID:SIZE  the size (m2) of the elevated area at location ID,
                        found by investigating it (repeatable); else each
                        area is the unit's area over N   e.g. --elevated-area 7:2.5
  A measurement joined to no location still counts in the test; those, and
  the locations without a measurement, are named. With --area-factors, each
  measurement above the DCGL is compared with the DCGL_EMC of its area, and
  each area by delta/DCGL + (value - delta)/DCGL_EMC < 1 (delta: the mean of
  the measurements not above the DCGL), alone and all areas together.
  A file with a value that is not a finite number, an empty file or one
  measurement alone is refused whole, with the line named (exit status 2).
  Whether the unit passes or fails, the exit status is 0.

)";
}

}  // namespace valdris::cli
