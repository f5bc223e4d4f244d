// SPDX-License-Identifier: Apache-2.0
#include "assessment_texts.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "concentration_unit.h"
#include "number_text.h"
#include "result_texts.h"

namespace valdris {
namespace {

constexpr int kPValueDecimals = 4;
constexpr double kSmallestPValueShown = 0.0001;
constexpr int kShiftDecimals = 2;

std::string Count(int32_t count) { return std::to_string(count); }

std::string StatisticName(TestKind test) { return test == TestKind::Sign ? "S+" : "W"; }

// Rounded down to two decimals: a rank sum is a multiple of a half, so it
// exceeds the value shown exactly when it exceeds the critical value, and
// the sentence never reads "723 exceeds 723".
std::string CriticalValueShown(double critical_value) {
    return WriteNumber(std::floor(critical_value * 100) / 100);
}

std::string Reason(const DataAssessment& a) {
    const std::string statistic = StatisticName(a.test) + " = " + WriteNumber(a.statistic);
    const std::string critical = CriticalValueShown(a.critical_value);
    return a.passes ? statistic + " exceeds the critical value " + critical + "."
                    : statistic + " does not exceed the critical value " + critical + ".";
}

std::string PValueMethod(const DataAssessment& a) {
    if (a.test == TestKind::Sign) return " (exact binomial)";
    if (a.exact_p_value) return " (exact)";
    return a.ties ? " (normal approximation, corrected for ties)" : " (normal approximation)";
}

std::string DecisionPValueMethod(const DataAssessment& a) {
    if (!a.exact_decision_p_value) return " (normal approximation, as the critical value)";
    return a.test == TestKind::Sign ? " (exact binomial)" : " (exact)";
}

// The p-value of the data's own method, shown beside the decision's when
// the two are computed differently.
std::string OtherPValueLabel(const DataAssessment& a) {
    if (a.exact_p_value) return "Exact p-value";
    return a.ties ? "Tie-corrected p-value" : "Continuity-corrected p-value";
}

bool SameMethod(const DataAssessment& a) {
    if (a.test == TestKind::Sign) return a.exact_decision_p_value;
    return a.exact_decision_p_value && a.exact_p_value;
}

void AddPValues(std::vector<ReportLine>& figures, const DataAssessment& a) {
    figures.push_back({"p-value", PValueText(a.decision_p_value) + DecisionPValueMethod(a)});
    if (!SameMethod(a)) figures.push_back({OtherPValueLabel(a), PValueText(a.p_value) + PValueMethod(a)});
    if (!a.p_value_disagrees) return;
    std::string other = OtherPValueLabel(a);
    other[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(other[0])));
    const std::string alpha = WriteNumber(a.alpha);
    const std::string which = "The " + other + ", " + PValueText(a.p_value) + ", is ";
    figures.push_back({"p-value Note",
                       a.passes ? which + "not below alpha = " + alpha +
                                      ": alone it would fail the survey unit; the verdict follows the critical value."
                                : which + "below alpha = " + alpha +
                                      ": alone it would pass the survey unit; the verdict follows the critical value."});
}

void AddSummary(std::vector<ReportLine>& figures, const std::string& area, const SampleSummary& s,
                const std::string& unit) {
    figures.push_back({area + " Mean", WithUnit(ReadableNumber(s.mean), unit)});
    figures.push_back({area + " Median", WithUnit(ReadableNumber(s.median), unit)});
    figures.push_back({area + " Standard Deviation", WithUnit(ReadableNumber(s.sd), unit)});
    figures.push_back({area + " Maximum", WithUnit(ReadableNumber(s.max), unit)});
}

std::vector<ReportLine> PowerLines(const DataAssessment& a, const std::string& unit);

std::vector<ReportLine> Figures(const DataAssessment& a, const std::string& unit) {
    std::vector<ReportLine> figures;
    figures.push_back({"Survey Unit Measurements", Count(a.n)});
    if (a.test == TestKind::Sign) {
        figures.push_back({"Measurements Not at the DCGL", Count(a.n_used)});
        figures.push_back({"S+ (Measurements Below the DCGL)", WriteNumber(a.statistic)});
    } else {
        figures.push_back({"Reference Area Measurements", Count(a.m)});
        figures.push_back({"W (Rank Sum of the Reference Area)", WriteNumber(a.statistic)});
    }
    figures.push_back({"Critical Value", CriticalValueShown(a.critical_value)});
    AddPValues(figures, a);
    AddSummary(figures, "Survey Unit", a.survey, unit);
    if (a.reference) AddSummary(figures, "Reference Area", *a.reference, unit);
    const std::vector<ReportLine> power = PowerLines(a, unit);
    figures.insert(figures.end(), power.begin(), power.end());
    return figures;
}

// The power the measurements leave beside the power designed.
std::vector<ReportLine> PowerLines(const DataAssessment& a, const std::string& unit) {
    std::vector<ReportLine> figures;
    if (a.retrospective) {
        figures.push_back({"Sigma of the Measurements", WithUnit(ReadableNumber(a.retrospective->sigma), unit)});
        figures.push_back({"D/s of the Measurements", WriteNumber(RoundHalfEven(a.retrospective->dovers, kShiftDecimals))});
        figures.push_back({"Power at the LBGR with this Sigma (N = " + Count(a.retrospective->n) + ")",
                           ProbabilityText(a.retrospective->power_at_lbgr)});
    }
    figures.push_back({"Power at the LBGR as Designed", ProbabilityText(a.designed_power_at_lbgr)});
    return figures;
}

std::string PowerNote(const DataAssessment& a) {
    if (!a.retrospective) {
        return "The measurements do not vary, so they give no sigma and no retrospective power.";
    }
    const double wanted = 1.0 - static_cast<double>(a.beta);
    if (!(a.retrospective->power_at_lbgr < wanted)) return {};
    return "The power at the LBGR with the sigma of the measurements, " +
           ProbabilityText(a.retrospective->power_at_lbgr) + ", is below 1 - beta = " + WriteNumber(1.0f - a.beta) +
           ": a survey unit at the LBGR would fail more often than the design allows.";
}

// An id as a file gave it, safe on a terminal: control characters as "?",
// and cut after 40 bytes where a UTF-8 character begins.
std::string ShownId(const std::string& id) {
    constexpr std::size_t kLongest = 40;
    std::size_t end = id.size();
    if (end > kLongest) {
        end = kLongest;
        while (end > 0 && (static_cast<unsigned char>(id[end]) & 0xC0) == 0x80) --end;
    }
    std::string shown = id.substr(0, end);
    for (char& c : shown) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    }
    return end < id.size() ? shown + "..." : shown;
}

// "a, b, c" of the first kMostNamed names, "and 7 more" after them.
std::string Named(const std::vector<std::string>& names) {
    std::string text;
    const std::size_t shown = std::min(names.size(), kMostNamed);
    for (std::size_t k = 0; k < shown; ++k) text += (k ? ", " : "") + ShownId(names[k]);
    if (shown < names.size()) text += " and " + std::to_string(names.size() - shown) + " more";
    return text;
}

// "location 7", or "measurement 12" for a value joined to no location.
std::string AreaName(const ElevatedAreaResult& area) {
    if (area.location.empty()) return "measurement " + std::to_string(area.measurement + 1);
    return "location " + area.location;
}

std::string Capitalised(std::string text) {
    if (!text.empty()) text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    return text;
}

std::string AreaLine(const ElevatedAreaResult& area, const ElevatedComparison& c, const std::string& unit) {
    return Capitalised(AreaName(area)) + ": " + WithUnit(WriteNumber(area.mean), unit) + " over " +
           ReadableNumber(area.size) + " m2" + (area.size_given ? " (as investigated)" : " (one location's share)") +
           ", area factor " + ReadableNumber(area.area_factor) + ", DCGL_EMC " +
           WithUnit(ReadableNumber(area.dcgl_emc), unit) + (area.above_dcgl_emc ? " (above DCGL_EMC)" : "") + "; " +
           ReadableNumber(c.delta) + " / " + WriteNumber(c.dcgl) + " + (" + WriteNumber(area.mean) + " - " +
           ReadableNumber(c.delta) + ") / " + ReadableNumber(area.dcgl_emc) + " = " + ReadableNumber(area.sum) +
           (area.passes ? ", below 1." : ", not below 1: fails.");
}

}  // namespace

std::vector<std::string> JoinLines(const MeasurementJoin& join, std::size_t measurements) {
    std::vector<std::string> lines;
    lines.push_back(std::to_string(join.posted.size()) + " of " + std::to_string(measurements) +
                    " measurements joined to their locations.");
    if (!join.unmatched.empty()) {
        lines.push_back("Joined to no location (counted in the test all the same): " + Named(join.unmatched) + ".");
    }
    if (!join.missing.empty()) lines.push_back("Locations without a measurement: " + Named(join.missing) + ".");
    return lines;
}

ElevatedComparisonTexts MakeElevatedComparisonTexts(const ElevatedComparison& c, const std::string& unit) {
    ElevatedComparisonTexts texts;
    if (c.areas.empty()) {
        texts.verdict = "No measurement lies above the DCGL: there is no elevated area to compare.";
        return texts;
    }
    std::vector<std::string> failing;
    for (const ElevatedAreaResult& area : c.areas) {
        if (!area.passes) failing.push_back(AreaName(area));
    }
    if (!failing.empty()) {
        texts.verdict = "The elevated-measurement comparison fails at " + Named(failing) + ".";
    } else if (!c.passes) {
        texts.verdict = "The elevated-measurement comparison fails: each area passes alone, but not all together.";
    } else {
        texts.verdict = "The elevated-measurement comparison passes.";
    }
    texts.lines.push_back("Mean outside the elevated areas (delta): " + WithUnit(ReadableNumber(c.delta), unit));
    for (const ElevatedAreaResult& area : c.areas) texts.lines.push_back(AreaLine(area, c, unit));
    if (c.areas.size() < 2) return texts;
    texts.lines.push_back("All " + std::to_string(c.areas.size()) + " areas together: " + ReadableNumber(c.combined) +
                          (c.passes ? ", below 1." : ", not below 1."));
    return texts;
}

std::string PValueText(double p) {
    if (p < kSmallestPValueShown) return "below " + WriteNumber(kSmallestPValueShown);
    return WriteNumber(RoundHalfEven(p, kPValueDecimals));
}

std::string AboveDCGLEMCMark(const DataAssessment& assessment, std::size_t k) {
    const bool above = k < assessment.above_dcgl_emc.size() && assessment.above_dcgl_emc[k];
    return above ? " (above DCGL_EMC)" : "";
}

AssessmentTexts MakeAssessmentTexts(const DataAssessment& assessment, const std::string& unit) {
    AssessmentTexts texts;
    texts.decision = assessment.passes ? kSurveyUnitPasses : kSurveyUnitFails;
    texts.reason = Reason(assessment);
    texts.figures = Figures(assessment, unit);
    texts.power = PowerLines(assessment, unit);
    for (std::size_t k = 0; k < assessment.above_dcgl.size(); ++k) {
        texts.investigate.push_back("Measurement " + std::to_string(assessment.above_dcgl[k] + 1) + ": " +
                                    WithUnit(WriteNumber(assessment.above_dcgl_values[k]), unit) +
                                    AboveDCGLEMCMark(assessment, k));
    }
    texts.power_note = PowerNote(assessment);
    return texts;
}

}  // namespace valdris
