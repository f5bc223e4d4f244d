// SPDX-License-Identifier: Apache-2.0
#pragma once
// Does the survey unit pass? The test the design was made for, run on the
// measurements with the design's alpha, DCGL and LBGR and its own critical
// values, with the figures that go with the verdict. The panel, the report and
// the companion all take the verdict from here.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "data_tests.h"
#include "design_inputs.h"
#include "design_state.h"
#include "outcome.h"

namespace valdris {

struct DataAssessment {
    TestKind test = TestKind::Sign;
    int32_t n = 0;           // survey-unit measurements
    int32_t m = 0;           // reference-area measurements (WRS)
    int32_t n_used = 0;      // those not at the DCGL (Sign)
    double statistic = 0;    // S+ or the rank sum W
    double critical_value = 0;
    double p_value = 1;
    bool exact_p_value = true;
    // The p-value computed as the critical value is (decision_p_value.h),
    // which the verdict always agrees with, and whether it is exact.
    double decision_p_value = 1;
    bool exact_decision_p_value = true;
    // p_value lies on the other side of alpha from the verdict.
    bool p_value_disagrees = false;
    float alpha = 0;
    bool ties = false;       // WRS: tied values, so the p-value is approximate
    bool passes = false;     // statistic > critical value
    SampleSummary survey;
    std::optional<SampleSummary> reference;  // WRS
    std::vector<std::size_t> above_dcgl;     // positions (from 0) in the survey data
    std::vector<double> above_dcgl_values;
    // Which of the values above the DCGL lie above the DCGL_EMC they are
    // held against too (at least the DCGL, as every area factor is at
    // least 1); empty while none is held against one.
    std::vector<bool> above_dcgl_emc;  // beside above_dcgl
    // Nothing when the survey unit's (and reference area's) data do not vary.
    std::optional<RetrospectivePower> retrospective;
    double designed_power_at_lbgr = 0;       // the design's, at its own N and sigma
    float beta = 0;                          // the design's, for 1 - beta
};

// The verdict, or why there is none (nothing is kept then).
using AssessmentRun = Outcome<DataAssessment>;

// Marks the values above the DCGL that lie above DCGL_EMC too, each against
// its own: `dcgl_emc` beside the survey values (0: none).
void MarkAboveDCGLEMC(DataAssessment& assessment, const std::vector<double>& dcgl_emc);

// How the refusals name the two sets of measurements.
inline const std::string kSurveyDataName = "The survey unit's measurements";
inline const std::string kReferenceDataName = "The reference area's measurements";

// The rule on one set of measurements held as numbers (a plan's or a file's):
// as many as a reading takes, each finite; the message begins with `name`.
std::optional<Refusal> MeasurementDataRefusal(const std::vector<double>& values, const std::string& name);

// `design` is a finished design of the same test (its alpha, beta, DCGL,
// LBGR, shift and sized results). The reference data are read for WRS only.
// Refused: fewer than two measurements in either set, a WRS test without
// reference data, a value that is not finite, figures that overflow.
AssessmentRun AssessData(TestKind test, const DesignSummary& design, const std::vector<double>& survey,
                         const std::vector<double>& reference);

}  // namespace valdris
