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

// " and the DCGL_EMC 3", or " and each area's DCGL_EMC" where the areas'
// differ, as the plot's legend names them.
std::string DCGLEMCWords(const std::vector<PostedValue>& posted, double dcgl, const std::vector<double>& dcgl_emc) {
    const std::optional<double> named = NamedDCGLEMC(posted, dcgl, dcgl_emc);
    if (!named) return " and each area's DCGL_EMC";
    return *named > 0 ? " and the DCGL_EMC " + ReadableNumber(*named) : "";
}

// The joined measurements, each with the DCGL_EMC its investigate line and
// its area's comparison hold it against, and the plot in words.
void PostMeasurements(const PlanEntry& entry, const PlacedAssessment& placed, const MeasurementJoin& join,
                      AssessmentView& view) {
    view.posted = join.posted;
    if (view.posted.empty()) return;
    const std::vector<double> limits = UnitDCGLEMCs(entry.unit, entry.field, placed);
    for (std::size_t i = 0; i < join.location.size() && i < limits.size(); ++i) {
        if (join.location[i]) view.dcgl_emc.push_back(limits[i]);
    }
    view.posting_description = Counted(view.posted.size(), "measurement", "measurements") +
                               " where they were taken, marked against the DCGL " + WriteNumber(view.dcgl) +
                               DCGLEMCWords(view.posted, view.dcgl, view.dcgl_emc) + ".";
}

}  // namespace

PlacedAssessment PlaceUnitMeasurements(const PlanEntry& entry) {
    return PlaceUnitMeasurements(entry.unit, entry.field, entry.figures.state.DCGL);
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
    const PlacedAssessment placed = PlaceUnitMeasurements(entry);
    if (placed.join && *placed.join) PostMeasurements(entry, placed, **placed.join, view);
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
