// SPDX-License-Identifier: Apache-2.0
#include "field_output.h"

#include <sstream>

#include "concentration_unit.h"
#include "field_texts.h"
#include "locations_export.h"
#include "number_output.h"
#include "safe_write.h"

namespace valdris::cli {

namespace {

std::string OrNull(const std::optional<std::string>& value) { return value ? *value : "null"; }

std::string GridJson(const FieldInputs& inputs, const FieldFigures& results) {
    const double area = inputs.setup.size->area;
    const SharedOptional<SampleLayout>& layout = results.layout;
    std::ostringstream json;
    json << "{\"type\": " << JsonString(GridTypeName(inputs.setup.grid)) << ", \"area\": " << ExactNumber(area)
         << ", \"samples\": " << results.samples << ", \"triangular_spacing\": "
         << ExactNumber(GridSpacing(GridType::Triangular, area, results.samples))
         << ", \"square_spacing\": " << ExactNumber(GridSpacing(GridType::Square, area, results.samples))
         << ", \"seed\": " << OrNull(layout ? std::optional(std::to_string(layout->seed)) : std::nullopt)
         << ", \"start\": "
         << OrNull(layout ? std::optional("[" + ExactNumber(layout->start.x) + ", " + ExactNumber(layout->start.y) + "]")
                          : std::nullopt)
         << ", \"locations\": " << OrNull(layout ? std::optional(std::to_string(layout->points.size())) : std::nullopt);
    if (const std::optional<SiteGrid>& site = inputs.setup.site) {
        // Over a drawn boundary: its system, how the grid was turned and
        // started, and the random points added where too few fit.
        json << ", \"crs\": " << (site->boundary.crs.empty() ? "null" : JsonString(site->boundary.crs))
             << ", \"grid_angle\": " << ExactNumber(site->angle) << ", \"origin\": "
             << OrNull(layout ? std::optional("[" + ExactNumber(layout->origin.x) + ", " +
                                              ExactNumber(layout->origin.y) + "]")
                              : std::nullopt)
             << ", \"spacing\": " << OrNull(layout ? std::optional(ExactNumber(layout->spacing)) : std::nullopt)
             << ", \"added_points\": "
             << OrNull(layout ? std::optional(std::to_string(layout->added_points)) : std::nullopt);
    }
    json << "}";
    return json.str();
}

std::string CheckJson(const ElevatedAreaCheck& check) {
    std::ostringstream json;
    json << "{\"grid_area\": " << ExactNumber(check.grid_area) << ", \"area_factor\": " << ExactNumber(check.area_factor)
         << ", \"dcgl_emc\": " << ExactNumber(check.dcgl_emc) << ", \"scan_mdc\": " << ExactNumber(check.scan_mdc)
         << ", \"scan_mdc_adequate\": " << (check.adequate ? "true" : "false")
         << ", \"n_ea\": " << OrNull(check.n_ea ? std::optional(std::to_string(*check.n_ea)) : std::nullopt)
         << ", \"n_final\": " << check.n_final << "}";
    return json.str();
}

// The LBGR is the one the design ran with, from the concentrations or as entered.
std::string SumJson(const std::vector<Nuclide>& nuclides, const SumOfFractions& sum, double lbgr) {
    std::ostringstream json;
    json << "{\"nuclides\": [";
    for (std::size_t k = 0; k < nuclides.size(); ++k) {
        const Nuclide& nuclide = nuclides[k];
        json << (k > 0 ? ", " : "") << "{\"name\": " << JsonString(nuclide.name)
             << ", \"dcgl\": " << ExactNumber(nuclide.dcgl) << ", \"sigma\": " << ExactNumber(nuclide.sigma);
        if (nuclide.concentration) json << ", \"concentration\": " << ExactNumber(*nuclide.concentration);
        json << "}";
    }
    json << "], \"sigma\": " << ExactNumber(sum.sigma) << ", \"lbgr\": " << ExactNumber(lbgr);
    if (sum.lbgr) {
        json << ", \"gross_dcgl\": " << OrNull(sum.gross_dcgl ? std::optional(ExactNumber(*sum.gross_dcgl)) : std::nullopt);
    }
    json << "}";
    return json.str();
}

void WriteSection(std::ostream& out, const std::string& title, const std::vector<ReportLine>& lines) {
    out << '\n' << title << '\n';
    for (const ReportLine& line : lines) out << "  " << line.label << ": " << line.value << '\n';
}

}  // namespace

std::string FieldJsonMembers(const FieldInputs& inputs, const FieldFigures& results, double lbgr,
                             const std::string& indent) {
    std::vector<std::string> members;
    if (inputs.setup.size) members.push_back(indent + "\"grid\": " + GridJson(inputs, results));
    if (results.check) members.push_back(indent + "\"emc\": " + CheckJson(*results.check));
    if (inputs.sum) members.push_back(indent + "\"sum_of_fractions\": " + SumJson(inputs.nuclides, *inputs.sum, lbgr));
    std::string joined;
    for (const std::string& member : members) joined += (joined.empty() ? "" : ",\n") + member;
    return joined;
}

bool WriteLocationsFile(const FieldFigures& results, const std::string& path, std::string& error) {
    if (!results.layout) {
        error = "The locations could not be written to " + path + ": no locations were laid out.";
        return false;
    }
    // A name without a known extension is a CSV file, as it always was.
    const Outcome<Done> written =
        WriteLocations(*results.layout, LocationsFormatOf(path).value_or(LocationsFormat::Csv), path);
    if (!written) error = written.message();
    return static_cast<bool>(written);
}

void WriteFieldText(std::ostream& out, const FieldInputs& inputs, const FieldFigures& results,
                    const std::string& unit) {
    if (!inputs.nuclides.empty()) {
        WriteSection(out, "Sum of fractions", SumOfFractionsLines(inputs.nuclides, *inputs.sum, unit));
    }
    if (results.check) {
        WriteSection(out, "Elevated areas", ElevatedAreaLines(*results.check, DesignUnit(unit, inputs.sum.has_value())));
    }
    if (results.layout) {
        WriteSection(out, "Sample locations", SampleLayoutLines(*results.layout));
        const std::string note = MoreLocationsNote(*results.layout);
        if (!note.empty()) out << "  " << note << '\n';
    } else if (inputs.setup.size) {
        WriteSection(out, "Sample locations",
                     {{"Grid", GridTypeCaption(inputs.setup.grid)},
                      {"Spacing", LengthText(GridSpacing(inputs.setup.grid, inputs.setup.size->area, results.samples))}});
    }
}

}  // namespace valdris::cli
