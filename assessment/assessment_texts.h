// SPDX-License-Identifier: Apache-2.0
#pragma once
// The words of an assessment, for the panel, the report and the companion:
// the decision, the figures, the values to investigate and the power note.

#include <string>
#include <vector>

#include "data_assessment.h"
#include "design_report.h"
#include "elevated_comparison.h"
#include "measurement_join.h"

namespace valdris {

inline const std::string kSurveyUnitPasses = "The survey unit passes";
inline const std::string kSurveyUnitFails = "The survey unit fails";

struct AssessmentTexts {
    std::string decision;                  // kSurveyUnitPasses or kSurveyUnitFails
    std::string reason;                    // the statistic against the critical value
    std::vector<ReportLine> figures;       // counts, test, summary, power
    std::vector<ReportLine> power;         // the power lines, which end `figures` too
    std::vector<std::string> investigate;  // "Measurement 7: 1.3", one per value above the DCGL
    std::string power_note;                // empty when the power is as designed
};

// The unit of concentration, when given, follows each measured value and
// each figure made of them (mean, median, standard deviation, maximum, sigma).
AssessmentTexts MakeAssessmentTexts(const DataAssessment& assessment, const std::string& unit = {});

// " (above DCGL_EMC)" after the k-th value above the DCGL that lies above
// DCGL_EMC too; empty otherwise.
std::string AboveDCGLEMCMark(const DataAssessment& assessment, std::size_t k);

// The join in words: how many measurements were joined to locations, then
// those joined to none (they count in the test all the same) and the
// locations without a measurement, each list cut after kMostNamed names.
constexpr std::size_t kMostNamed = 50;
std::vector<std::string> JoinLines(const MeasurementJoin& join, std::size_t measurements);

// The elevated-measurement comparison in words: the verdict first, naming
// each area that fails; then delta, one line per area, and the areas
// together.
struct ElevatedComparisonTexts {
    std::string verdict;
    std::vector<std::string> lines;
};
ElevatedComparisonTexts MakeElevatedComparisonTexts(const ElevatedComparison& comparison, const std::string& unit = {});

// "0.0547"; "below 0.0001" for smaller values, which four decimals would show
// as a p-value of 0.
std::string PValueText(double p);

}  // namespace valdris
