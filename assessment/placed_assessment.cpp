// SPDX-License-Identifier: Apache-2.0
#include "placed_assessment.h"

#include "assessment_texts.h"

namespace valdris {

PlacedAssessment AssessPlaces(const PlacedValues& data, const FieldSetup& setup, const FieldFigures& field,
                              double dcgl, const std::map<std::string, double>& sizes) {
    PlacedAssessment placed;
    if (data.values.empty()) return placed;
    const bool by_id = data.ids.size() == data.values.size();
    const bool by_place = data.places.size() == data.values.size();
    if ((by_id || by_place) && !field.layout) placed.locations_needed = true;
    if ((by_id || by_place) && field.layout) {
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
