// SPDX-License-Identifier: Apache-2.0
#include "assessment_output.h"

#include "assess_options.h"
#include "assessment_texts.h"
#include "measurement_text.h"
#include "number_output.h"
#include "whole_file.h"

namespace valdris::cli {
namespace {

MeasurementReading ReadFile(const std::string& path, const std::optional<std::string>& column) {
    const Outcome<std::string> text = ReadWholeFile(path);
    if (!text) return Refusal{RefusalKind::FileUnreadable, UnreadFileText("The measurements", path, text.message()), MessageIcon::Exclamation};
    return ReadMeasurements(*text, path, column ? ChosenColumn(*text, *column) : std::string());
}

void WriteJsonValues(std::ostream& out, const std::vector<double>& values) {
    out << '[';
    for (std::size_t i = 0; i < values.size(); ++i) out << (i > 0 ? ", " : "") << ExactNumber(values[i]);
    out << ']';
}

// The survey file with where each value was taken, as the options name it.
Outcome<FileAssessment> ReadSurveyFile(const Options& options) {
    const PlaceColumns place = PlaceColumnsOf(options);
    const std::string& path = *options.assess_path;
    FileAssessment read;
    if (place.empty()) {
        MeasurementReading survey = ReadFile(path, options.column);
        if (!survey) return survey.refusal();
        read.survey = std::move(survey->values);
        read.headers.survey = std::move(survey->header);
        return read;
    }
    const Outcome<std::string> text = ReadWholeFile(path);
    if (!text) return Refusal{RefusalKind::FileUnreadable, UnreadFileText("The measurements", path, text.message()), MessageIcon::Exclamation};
    PlacedReading placed =
        ReadPlacedMeasurements(*text, path, options.column ? ChosenColumn(*text, *options.column) : std::string(), place);
    if (!placed) return placed.refusal();
    read.survey = std::move(placed->measurements.values);
    read.headers.survey = std::move(placed->measurements.header);
    read.ids = std::move(placed->ids);
    read.places = std::move(placed->places);
    return read;
}

void WriteJsonTexts(std::ostream& out, const std::vector<std::string>& texts) {
    out << '[';
    for (std::size_t i = 0; i < texts.size(); ++i) out << (i > 0 ? ", " : "") << JsonString(texts[i]);
    out << ']';
}

void WriteJsonJoin(std::ostream& out, const MeasurementJoin& join, const std::string& inner) {
    out << inner << "\"joined\": [";
    for (std::size_t i = 0; i < join.posted.size(); ++i) {
        const PostedValue& p = join.posted[i];
        out << (i > 0 ? ", " : "") << "{\"id\": " << JsonString(p.id) << ", \"x\": " << ExactNumber(p.at.x)
            << ", \"y\": " << ExactNumber(p.at.y) << ", \"value\": " << ExactNumber(p.value) << '}';
    }
    out << "],\n" << inner << "\"unmatched\": ";
    WriteJsonTexts(out, join.unmatched);
    out << ",\n" << inner << "\"missing\": ";
    WriteJsonTexts(out, join.missing);
    out << ",\n";
}

void WriteJsonComparison(std::ostream& out, const ElevatedComparison& c, const std::string& inner) {
    out << inner << "\"elevated_areas\": {\"delta\": " << ExactNumber(c.delta)
        << ", \"combined\": " << ExactNumber(c.combined) << ", \"decision\": " << JsonString(c.passes ? "pass" : "fail")
        << ", \"areas\": [";
    for (std::size_t i = 0; i < c.areas.size(); ++i) {
        const ElevatedAreaResult& a = c.areas[i];
        out << (i > 0 ? ", " : "") << "{\"measurement\": " << a.measurement + 1 << ", \"location\": "
            << (a.location.empty() ? std::string("null") : JsonString(a.location))
            << ", \"value\": " << ExactNumber(a.mean) << ", \"size\": " << ExactNumber(a.size)
            << ", \"size_given\": " << (a.size_given ? "true" : "false")
            << ", \"area_factor\": " << ExactNumber(a.area_factor) << ", \"dcgl_emc\": " << ExactNumber(a.dcgl_emc)
            << ", \"above_dcgl_emc\": " << (a.above_dcgl_emc ? "true" : "false")
            << ", \"sum\": " << ExactNumber(a.sum) << ", \"decision\": " << JsonString(a.passes ? "pass" : "fail")
            << '}';
    }
    out << "]},\n";
}

void WriteJsonPlaced(std::ostream& out, const PlacedAssessment& placed, const std::string& inner) {
    if (placed.join && *placed.join) WriteJsonJoin(out, **placed.join, inner);
    if (placed.join && !*placed.join) out << inner << "\"join_refusal\": " << JsonString(placed.join->message()) << ",\n";
    if (placed.comparison && *placed.comparison) WriteJsonComparison(out, **placed.comparison, inner);
    if (placed.comparison && !*placed.comparison) {
        out << inner << "\"elevated_areas\": {\"refusal\": " << JsonString(placed.comparison->message()) << "},\n";
    }
}

}  // namespace

void PlaceMeasurements(FileAssessment& assessment, const FieldSetup& setup, const FieldFigures& field, double dcgl,
                       const std::map<std::string, double>& sizes) {
    const PlacedValues data{assessment.survey, assessment.ids, assessment.places};
    assessment.placed = AssessPlaces(data, setup, field, dcgl, sizes);
}

Outcome<FileAssessment> AssessFiles(const Options& options, const DesignSummary& design) {
    Outcome<FileAssessment> survey = ReadSurveyFile(options);
    if (!survey) return survey.refusal();
    Measurements reference;
    if (options.reference_path) {
        MeasurementReading read = ReadFile(*options.reference_path, options.column);
        if (!read) return read.refusal();
        reference = std::move(*read);
    }
    const AssessmentRun run = AssessData(options.test, design, survey->survey, reference.values);
    if (!run) return run.refusal();
    survey->assessment = *run;
    survey->headers.reference = reference.header;
    return std::move(*survey);
}

void WriteTextAssessment(std::ostream& out, const DataAssessment& assessment, const std::string& unit,
                         const DataHeaders& headers, const PlacedAssessment* placed) {
    const AssessmentTexts texts = MakeAssessmentTexts(assessment, unit);
    out << "Assessment of the measurements\n";
    if (!headers.survey.empty()) out << "  Survey unit column: " << headers.survey << '\n';
    if (!headers.reference.empty()) out << "  Reference area column: " << headers.reference << '\n';
    out << "  " << texts.decision << ": " << texts.reason << '\n';
    for (const ReportLine& figure : texts.figures) out << "  " << figure.label << ": " << figure.value << '\n';
    if (texts.investigate.empty()) {
        out << "  No measurement lies above the DCGL.\n";
    } else {
        out << "  Above the DCGL, to investigate:\n";
        for (const std::string& line : texts.investigate) out << "    " << line << '\n';
    }
    if (!texts.power_note.empty()) out << "  " << texts.power_note << '\n';
    if (placed == nullptr) return;
    for (const std::string& line : PlacedAssessmentLines(*placed, unit)) out << "  " << line << '\n';
}

void WriteJsonAssessment(std::ostream& out, const DataAssessment& a, const std::string& indent,
                         const DataHeaders& headers, const PlacedAssessment* placed) {
    const std::string inner = indent + "  ";
    out << indent << "\"assessment\": {\n";
    if (!headers.survey.empty()) out << inner << "\"header\": " << JsonString(headers.survey) << ",\n";
    if (!headers.reference.empty()) out << inner << "\"reference_header\": " << JsonString(headers.reference) << ",\n";
    out << inner << "\"n\": " << a.n << ",\n";
    if (a.test == TestKind::WRS) {
        out << inner << "\"m\": " << a.m << ",\n";
    } else {
        out << inner << "\"n_used\": " << a.n_used << ",\n";
    }
    out << inner << "\"statistic\": " << ExactNumber(a.statistic) << ",\n"
        << inner << "\"critical_value\": " << ExactNumber(a.critical_value) << ",\n"
        << inner << "\"p_value\": " << ExactNumber(a.p_value) << ",\n"
        << inner << "\"p_value_method\": " << JsonString(a.exact_p_value ? "exact" : "normal") << ",\n"
        << inner << "\"decision_p_value\": " << ExactNumber(a.decision_p_value) << ",\n"
        << inner << "\"p_value_disagrees\": " << (a.p_value_disagrees ? "true" : "false") << ",\n"
        << inner << "\"decision\": " << JsonString(a.passes ? "pass" : "fail") << ",\n"
        << inner << "\"mean\": " << ExactNumber(a.survey.mean) << ",\n"
        << inner << "\"median\": " << ExactNumber(a.survey.median) << ",\n"
        << inner << "\"sd\": " << ExactNumber(a.survey.sd) << ",\n"
        << inner << "\"max\": " << ExactNumber(a.survey.max) << ",\n"
        << inner << "\"above_dcgl\": ";
    WriteJsonValues(out, a.above_dcgl_values);
    out << ",\n";
    if (placed != nullptr) WriteJsonPlaced(out, *placed, inner);
    out << inner << "\"retrospective\": ";
    if (a.retrospective) {
        out << "{\"sigma\": " << ExactNumber(a.retrospective->sigma)
            << ", \"dovers\": " << ExactNumber(a.retrospective->dovers)
            << ", \"power_at_lbgr\": " << ExactNumber(a.retrospective->power_at_lbgr) << "}\n";
    } else {
        out << "null\n";  // the measurements do not vary: no sigma to judge by
    }
    out << indent << "}";
}

}  // namespace valdris::cli
