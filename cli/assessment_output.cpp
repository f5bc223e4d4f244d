// SPDX-License-Identifier: Apache-2.0
#include "assessment_output.h"

#include <filesystem>
#include <fstream>

#include "assessment_texts.h"
#include "measurement_text.h"
#include "number_output.h"

namespace valdris::cli {
namespace {

// A file of the most measurements with room for long numbers and other
// columns; anything longer (or endless, such as a device) is no data file.
constexpr std::size_t kLargestFile = kMostMeasurements * 128;

Outcome<std::vector<double>> ReadFile(const std::string& path) {
    using Result = Outcome<std::vector<double>>;
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) return Result::Failure(RefusalKind::FileUnreadable, path + ": is a folder, not a file.");
    std::ifstream file(path, std::ios::binary);
    if (!file) return Result::Failure(RefusalKind::FileUnreadable, path + ": the file cannot be read.");
    std::string text;
    char chunk[1 << 16];
    while (file.read(chunk, sizeof chunk) || file.gcount() > 0) {
        text.append(chunk, static_cast<std::size_t>(file.gcount()));
        if (text.size() > kLargestFile) return Result::Failure(RefusalKind::FileUnreadable, path + ": the file is too large to be measurements.");
    }
    if (file.bad()) return Result::Failure(RefusalKind::FileUnreadable, path + ": the file cannot be read.");
    return ReadMeasurements(text, path);
}

void WriteJsonValues(std::ostream& out, const std::vector<double>& values) {
    out << '[';
    for (std::size_t i = 0; i < values.size(); ++i) out << (i > 0 ? ", " : "") << ExactNumber(values[i]);
    out << ']';
}

}  // namespace

Outcome<DataAssessment> AssessFiles(const Options& options, const DesignState& design) {
    const Outcome<std::vector<double>> survey = ReadFile(*options.assess_path);
    if (!survey) return Outcome<DataAssessment>::Failure(survey.refusal());
    std::vector<double> reference;
    if (options.reference_path) {
        const Outcome<std::vector<double>> read = ReadFile(*options.reference_path);
        if (!read) return Outcome<DataAssessment>::Failure(read.refusal());
        reference = *read;
    }
    return AssessData(options.test, design, *survey, reference);
}

void WriteTextAssessment(std::ostream& out, const DataAssessment& assessment, const std::string& unit) {
    const AssessmentTexts texts = MakeAssessmentTexts(assessment, unit);
    out << "Assessment of the measurements\n"
        << "  " << texts.decision << ": " << texts.reason << '\n';
    for (const ReportLine& figure : texts.figures) out << "  " << figure.label << ": " << figure.value << '\n';
    if (texts.investigate.empty()) {
        out << "  No measurement lies above the DCGL.\n";
    } else {
        out << "  Above the DCGL, to investigate:\n";
        for (const std::string& line : texts.investigate) out << "    " << line << '\n';
    }
    if (!texts.power_note.empty()) out << "  " << texts.power_note << '\n';
}

void WriteJsonAssessment(std::ostream& out, const DataAssessment& a, const std::string& indent) {
    const std::string inner = indent + "  ";
    out << indent << "\"assessment\": {\n"
        << inner << "\"n\": " << a.n << ",\n";
    if (a.test == TestKind::WRS) {
        out << inner << "\"m\": " << a.m << ",\n";
    } else {
        out << inner << "\"n_used\": " << a.n_used << ",\n";
    }
    out << inner << "\"statistic\": " << ExactNumber(a.statistic) << ",\n"
        << inner << "\"critical_value\": " << ExactNumber(a.critical_value) << ",\n"
        << inner << "\"p_value\": " << ExactNumber(a.p_value) << ",\n"
        << inner << "\"p_value_method\": " << JsonString(a.exact_p_value ? "exact" : "normal") << ",\n"
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
