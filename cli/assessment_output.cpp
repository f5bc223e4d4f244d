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

}  // namespace

Outcome<FileAssessment> AssessFiles(const Options& options, const DesignState& design) {
    const MeasurementReading survey = ReadFile(*options.assess_path, options.column);
    if (!survey) return survey.refusal();
    Measurements reference;
    if (options.reference_path) {
        MeasurementReading read = ReadFile(*options.reference_path, options.column);
        if (!read) return read.refusal();
        reference = std::move(*read);
    }
    const AssessmentRun run = AssessData(options.test, design, survey->values, reference.values);
    if (!run) return run.refusal();
    return FileAssessment{*run, {survey->header, reference.header}};
}

void WriteTextAssessment(std::ostream& out, const DataAssessment& assessment, const std::string& unit,
                         const DataHeaders& headers) {
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
}

void WriteJsonAssessment(std::ostream& out, const DataAssessment& a, const std::string& indent,
                         const DataHeaders& headers) {
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
    out << ",\n" << inner << "\"retrospective\": ";
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
