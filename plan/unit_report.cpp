// SPDX-License-Identifier: Apache-2.0
#include "unit_report.h"

#include <algorithm>

#include "assessment_texts.h"
#include "assessment_view.h"
#include "concentration_unit.h"
#include "field_texts.h"
#include "figure_notes.h"
#include "number_text.h"
#include "result_texts.h"
#include "scan_mdc_units.h"

namespace valdris {
namespace {

// "Survey Unit Measurements (Bq/kg)": the unit once, not after each value.
std::string WithUnitInBrackets(const std::string& title, const std::string& unit) {
    return unit.empty() ? title : title + " (" + unit + ")";
}

// The first kMostListedValues of `total` items, item(k) giving the k-th,
// and how many more there are.
template <typename Item>
void List(ReportSection& section, std::size_t total, Item item, const std::string& what) {
    const std::size_t shown = std::min(total, kMostListedValues);
    section.listed.reserve(shown);
    for (std::size_t k = 0; k < shown; ++k) section.listed.push_back(item(k));
    if (shown < total) {
        section.listed_note = "The first " + std::to_string(shown) + " of " + std::to_string(total) + " " + what +
                              " are listed; the plan file holds them all.";
    }
}

ReportSection Verdict(const AssessmentRun& run, double dcgl, const std::string& unit) {
    ReportSection section;
    section.title = "Assessment of the Measurements";
    section.picture = SectionPicture::DataPlot;
    section.caption = "The measurements in order of size, each at the share of the measurements at or below it, "
                      "against the DCGL of " + WithUnit(WriteNumber(dcgl), unit) + " (the red line).";
    if (!run) {
        section.lead.push_back("No verdict yet: " + run.message());
        return section;
    }
    const AssessmentTexts texts = MakeAssessmentTexts(*run, unit);
    section.lead.push_back(texts.decision + ": " + texts.reason);
    section.lines = texts.figures;
    if (!texts.power_note.empty()) section.notes.push_back(texts.power_note);
    section.notes.push_back(texts.investigate.empty() ? "No measurement lies above the DCGL."
                                                      : std::to_string(texts.investigate.size()) +
                                                            " of the measurements lie above the DCGL and are "
                                                            "listed for investigation below.");
    return section;
}

// "Measurement 7: 1.3" as the assessment's texts write it.
ReportSection Investigate(const DataAssessment& assessment, const std::string& unit) {
    ReportSection section;
    section.title = WithUnitInBrackets("Measurements Above the DCGL, to Investigate", unit);
    const std::vector<double>& values = assessment.above_dcgl_values;
    List(section, values.size(),
         [&](std::size_t k) { return std::to_string(assessment.above_dcgl[k] + 1) + ": " + WriteNumber(values[k]) +
                                AboveDCGLEMCMark(assessment, k); },
         "measurements above the DCGL");
    return section;
}

ReportSection Values(const std::string& title, const std::vector<double>& values, const std::string& unit) {
    ReportSection section;
    section.title = WithUnitInBrackets(title, unit);
    List(section, values.size(), [&](std::size_t k) { return std::to_string(k + 1) + ": " + WriteNumber(values[k]); },
         "measurements");
    return section;
}

ReportSection Lines(std::string title, std::vector<ReportLine> lines) {
    ReportSection section;
    section.title = std::move(title);
    section.lines = std::move(lines);
    return section;
}

// The sample locations (with their map), the elevated-area check and the
// sum of fractions, each when the unit has it.
void AddField(std::vector<ReportSection>& sections, const PlanEntry& entry, const std::string& design_unit) {
    const PlanUnit& unit = entry.unit;
    const FieldFigures& field = entry.field;
    if (field.layout) {
        ReportSection section = Lines("Sample Locations", SampleLayoutLines(*field.layout));
        const std::string note = MoreLocationsNote(*field.layout);
        if (!note.empty()) section.notes.push_back(note);
        section.picture = SectionPicture::SampleMap;
        section.caption = "The unit to scale, each location numbered as the exported list numbers it.";
        sections.push_back(std::move(section));
    } else if (unit.field.size) {
        sections.push_back(Lines("Sample Locations",
                                 {{"Grid", GridTypeCaption(unit.field.grid)},
                                  {"Spacing", LengthText(GridSpacing(unit.field.grid, unit.field.size->area,
                                                                     field.samples))}}));
    }
    const std::optional<SumOfFractions> sum = SumOfFractionsOf(unit);
    if (field.check) {
        std::vector<ReportLine> lines;
        // On a sum of fractions the MDC typed is of gross activity; the
        // check's lines give it over the gross-activity DCGL.
        if (sum && sum->gross_dcgl && unit.field.scan_mdc) {
            lines.push_back({ScanMDCTitle(true, {}), WithUnit(WriteNumber(*unit.field.scan_mdc), unit.concentration_unit)});
            lines.push_back({"Gross-activity DCGL", WithUnit(WriteNumber(*sum->gross_dcgl), unit.concentration_unit)});
        }
        for (ReportLine& line : ElevatedAreaLines(*field.check, design_unit)) lines.push_back(std::move(line));
        sections.push_back(Lines("Elevated Areas", std::move(lines)));
    }
    if (sum) {
        sections.push_back(Lines("Sum of Fractions", SumOfFractionsLines(unit.nuclides, *sum, unit.concentration_unit)));
    }
}

// A given N is said to be given: the design page's method gives the
// designed N, which stands beside it, and a power short of 1 - beta is said.
std::optional<ReportSection> GivenSize(const DesignFigures& figures) {
    if (!figures.size_given && !PowerBelowTarget(figures)) return std::nullopt;
    ReportSection section;
    section.title = "Sample Size";
    section.lines.push_back({"N", SizeCellText(figures)});
    if (PowerBelowTarget(figures)) {
        section.lines.push_back({"Power at the LBGR", ProbabilityText(figures.power_at_lbgr) + ", below 1 - beta = " +
                                                          PowerTargetText(figures)});
    }
    if (figures.size_given) {
        section.notes.push_back("The sample size was given; the method on the design page is how the designed "
                                "size is found.");
    }
    return section;
}

}  // namespace

std::vector<ReportSection> UnitReportSections(const PlanEntry& entry) {
    std::vector<ReportSection> sections;
    const PlanUnit& unit = entry.unit;
    if (auto given = GivenSize(entry.figures)) sections.push_back(std::move(*given));
    const std::string concentration = DesignUnit(unit.concentration_unit, !unit.nuclides.empty());
    AddField(sections, entry, concentration);
    if (entry.assessment) {
        sections.push_back(Verdict(*entry.assessment, entry.figures.state.DCGL, concentration));
        if (const AssessmentView view = MakeAssessmentView(entry); !view.posted.empty()) {
            ReportSection posting;
            posting.title = "Measurements Where They Were Taken";
            posting.picture = SectionPicture::PostingPlot;
            posting.caption = view.posting_description;
            sections.push_back(std::move(posting));
        }
        if (*entry.assessment && !(*entry.assessment)->above_dcgl.empty()) {
            sections.push_back(Investigate(**entry.assessment, concentration));
        }
    }
    std::vector<std::string> placed = PlacedAssessmentLines(PlaceUnitMeasurements(entry), concentration);
    if (!placed.empty()) {
        ReportSection section;
        section.title = "Measurements at Their Locations";
        section.notes = std::move(placed);
        sections.push_back(std::move(section));
    }
    if (!unit.survey_data.empty()) {
        sections.push_back(Values("Survey Unit Measurements", unit.survey_data, concentration));
    }
    if (!unit.reference_data.empty()) {
        sections.push_back(Values("Reference Area Measurements", unit.reference_data, concentration));
    }
    return sections;
}

}  // namespace valdris
