// SPDX-License-Identifier: Apache-2.0
#include "placed_assessment.h"

#include <set>

#include "assessment_texts.h"

namespace valdris {

PlacedAssessment AssessPlaces(const PlacedValues& data, const FieldSetup& setup, const FieldFigures& field,
                              double dcgl, const std::map<std::string, double>& sizes) {
    PlacedAssessment placed;
    if (data.values.empty()) return placed;
    const bool by_id = data.ids.size() == data.values.size();
    const bool by_place = data.places.size() == data.values.size();
    placed.placed = by_id || by_place;
    if (placed.placed && !field.layout) placed.locations_needed = true;
    if (placed.placed && field.layout) {
        placed.join = by_id ? JoinById(data.values, data.ids, *field.layout)
                            : JoinByPlace(data.values, data.places, *field.layout);
    }
    if (!setup.size || setup.area_factors.empty()) return placed;
    ElevatedComparisonInputs inputs{dcgl, setup.area_factors, setup.size->area, field.samples, {}, sizes};
    if (placed.join && *placed.join) {
        const MeasurementJoin& join = **placed.join;
        inputs.locations.resize(data.values.size());
        for (std::size_t i = 0; i < join.location.size(); ++i) {
            if (join.location[i]) inputs.locations[i] = LocationId(*join.location[i]);
        }
    }
    placed.comparison = CompareElevatedAreas(data.values, inputs);
    return placed;
}

std::vector<double> DCGLEMCOfEach(const PlacedAssessment& placed, std::size_t values, double check_dcgl_emc) {
    if (!placed.placed || !placed.comparison || !*placed.comparison) {
        return std::vector<double>(values, check_dcgl_emc);
    }
    const ElevatedComparison& comparison = **placed.comparison;
    std::vector<double> limits(values, comparison.share_dcgl_emc);
    for (const ElevatedAreaResult& area : comparison.areas) {
        if (area.measurement < values) limits[area.measurement] = area.dcgl_emc;
    }
    return limits;
}

std::optional<double> NamedDCGLEMC(const std::vector<PostedValue>& values, double dcgl,
                                   const std::vector<double>& dcgl_emc) {
    std::set<double> above, all;
    for (std::size_t i = 0; i < values.size() && i < dcgl_emc.size(); ++i) {
        if (!IsDCGLEMC(dcgl_emc[i])) continue;
        all.insert(dcgl_emc[i]);
        if (values[i].value > dcgl) above.insert(dcgl_emc[i]);
    }
    const std::set<double>& named = above.empty() ? all : above;
    if (named.empty()) return 0.0;
    if (named.size() > 1) return std::nullopt;
    return *named.begin();
}

std::vector<std::string> PlacedAssessmentLines(const PlacedAssessment& placed, const std::string& unit) {
    std::vector<std::string> lines;
    if (placed.locations_needed) {
        lines.push_back("The measurements say where they were taken; the unit's locations (its size and seed) "
                        "are needed to join them.");
    }
    if (placed.join && !*placed.join) lines.push_back(placed.join->message());
    if (placed.join && *placed.join) {
        for (std::string& line : JoinLines(**placed.join, (*placed.join)->location.size())) lines.push_back(line);
    }
    if (!placed.comparison) return lines;
    if (!*placed.comparison) {
        lines.push_back(placed.comparison->message());
        return lines;
    }
    const ElevatedComparisonTexts texts = MakeElevatedComparisonTexts(**placed.comparison, unit);
    lines.push_back(texts.verdict);
    lines.insert(lines.end(), texts.lines.begin(), texts.lines.end());
    return lines;
}

}  // namespace valdris
