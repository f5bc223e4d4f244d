// SPDX-License-Identifier: Apache-2.0
#include "assessment_view.h"

#include "concentration_unit.h"
#include "number_text.h"

namespace valdris {
namespace {

std::string Counted(std::size_t count, const std::string& one, const std::string& many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// The column the set was read from, when its text had a header: the user
// sees which column was taken for the measurements.
std::string ColumnOf(const MeasurementSet& data) {
    if (data.header().empty()) return {};
    return " (column \"" + data.header() + "\")";
}

// The picture in words: what is drawn against which line, and how many lie
// on the far side of it.
std::string PlotDescription(const PlanEntry& entry, bool reference) {
    const PlanUnit& unit = entry.unit;
    std::string text = Counted(unit.survey_data.size(), "survey unit measurement", "survey unit measurements") +
                       ColumnOf(unit.survey_data);
    if (reference) {
        text += " and " + Counted(unit.reference_data.size(), "reference value", "reference values") +
                ColumnOf(unit.reference_data) + " increased by the DCGL";
    }
    text += " against the DCGL " + WriteNumber(entry.figures.state.DCGL);
    if (entry.assessment && *entry.assessment) {
        text += "; " + Counted((*entry.assessment)->above_dcgl.size(), "lies", "lie") + " above it";
    }
    return text + ".";
}

}  // namespace

PlacedAssessment PlaceUnitMeasurements(const PlanEntry& entry) {
    const PlanUnit& unit = entry.unit;
    const PlacedValues data{unit.survey_data.values(), unit.survey_data.ids(), unit.survey_data.places()};
    return AssessPlaces(data, unit.field, entry.field, entry.figures.state.DCGL, unit.elevated_area_sizes);
}

AssessmentView MakeAssessmentView(const PlanEntry& entry) {
    AssessmentView view;
    const PlanUnit& unit = entry.unit;
    const bool wrs = unit.test == TestKind::WRS;
    view.reference_shown = wrs || !unit.reference_data.empty();
    view.plot_shown = !unit.survey_data.empty();
    view.plot_reference = wrs && !unit.reference_data.empty();
    if (view.plot_shown) view.plot_description = PlotDescription(entry, view.plot_reference);
    view.dcgl = entry.figures.state.DCGL;
    if (entry.field.check) view.dcgl_emc = entry.field.check->dcgl_emc;
    const PlacedAssessment placed = PlaceUnitMeasurements(entry);
    if (placed.join && *placed.join) view.posted = (*placed.join)->posted;
    if (!view.posted.empty()) {
        view.posting_description = Counted(view.posted.size(), "measurement", "measurements") +
                                   " where they were taken, marked against the DCGL " + WriteNumber(view.dcgl) +
                                   (view.dcgl_emc > 0 ? " and the DCGL_EMC " + ReadableNumber(view.dcgl_emc) : "") + ".";
    }
    if (!entry.assessment) {
        view.status = kNoMeasurementsYet;
    } else if (*entry.assessment) {
        view.texts = MakeAssessmentTexts(**entry.assessment);
    } else {
        view.status = entry.assessment->message();
    }
    if (placed.comparison && *placed.comparison) {
        for (const ElevatedAreaResult& area : (*placed.comparison)->areas) {
            if (!area.location.empty()) view.sizable_areas.push_back(area);
        }
    }
    view.area_lines = PlacedAssessmentLines(placed, DesignUnit(unit.concentration_unit, !unit.nuclides.empty()));
    return view;
}

}  // namespace valdris
