// SPDX-License-Identifier: Apache-2.0
#include "data_assessment.h"

#include <algorithm>
#include <cmath>

#include "decision_p_value.h"
#include "elevated_comparison.h"
#include "measurement_text.h"
#include "valdris_power.h"

namespace valdris {
namespace {

const Refusal kNoReference{
    RefusalKind::ReferenceMissing,
    "The WRS test compares the survey unit with a reference area: the reference area's measurements are missing.",
    MessageIcon::Exclamation};
const Refusal kNotComputable{
    RefusalKind::AssessmentNotComputable,
    "The measurements are too large to assess: a figure of the test is not a finite number; nothing is reported.",
    MessageIcon::Exclamation};

std::optional<Refusal> NonFiniteRefusal(const std::vector<double>& values, const std::string& name) {
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (!std::isfinite(values[i])) {
            return Refusal{RefusalKind::MeasurementNotFinite, name + ": measurement " + std::to_string(i + 1) + " is not a finite number.",
                           MessageIcon::Exclamation};
        }
    }
    return std::nullopt;
}

bool AllFinite(const DataAssessment& a) {
    const auto summary_finite = [](const SampleSummary& s) {
        return std::isfinite(s.mean) && std::isfinite(s.median) && std::isfinite(s.sd) && std::isfinite(s.max);
    };
    if (!std::isfinite(a.statistic) || !std::isfinite(a.critical_value) || !std::isfinite(a.p_value)) return false;
    if (!summary_finite(a.survey) || (a.reference && !summary_finite(*a.reference))) return false;
    if (a.retrospective && !(std::isfinite(a.retrospective->dovers) && std::isfinite(a.retrospective->power_at_lbgr))) {
        return false;
    }
    return std::isfinite(a.designed_power_at_lbgr);
}

bool AssessSign(const DesignSummary& design, const std::vector<double>& survey, DataAssessment& a) {
    const std::optional<SignTestOnData> test = RunSignTestOnData(survey, design.DCGL, design.Alpha);
    if (!test) return false;
    a.n = test->n;
    a.n_used = test->n_used;
    a.statistic = test->s_plus;
    a.critical_value = test->critical_value;
    a.p_value = test->p_value;
    a.decision_p_value = test->decision_p_value;
    a.exact_decision_p_value = a.n_used < kSignExactCriticalValueBelow;
    a.passes = test->passes;
    a.retrospective = SignRetrospectivePower(a.n_used, design.Alpha, design.Delta, a.survey.sd);
    a.designed_power_at_lbgr = ShownPowerAtLBGR(TestKind::Sign, design);
    return true;
}

void AssessWRS(const DesignSummary& design, const std::vector<double>& survey, const std::vector<double>& reference,
               DataAssessment& a) {
    const WRSTestOnData test = RunWRSTestOnData(survey, reference, design.DCGL, design.Alpha);
    a.n = test.n;
    a.m = test.m;
    a.statistic = test.rank_sum;
    a.critical_value = test.critical_value;
    a.p_value = test.p_value;
    a.exact_p_value = test.exact_p_value;
    a.decision_p_value = test.decision_p_value;
    a.exact_decision_p_value = test.m <= kWRSExactSizeLimit && test.n <= kWRSExactSizeLimit;
    a.ties = test.ties;
    a.passes = test.passes;
    a.reference = Summarize(reference);
    // The larger spread of the two areas: the power must hold for both.
    const double sigma = std::max(a.survey.sd, a.reference->sd);
    a.retrospective = WRSRetrospectivePower(a.n, a.m, design.Alpha, design.Delta, sigma);
    a.designed_power_at_lbgr = ShownPowerAtLBGR(TestKind::WRS, design);
}

}  // namespace

std::optional<Refusal> MeasurementDataRefusal(const std::vector<double>& values, const std::string& name) {
    if (auto refusal = MeasurementCountRefusal(values.size(), name)) return *refusal;
    return NonFiniteRefusal(values, name);
}

AssessmentRun AssessData(TestKind test, const DesignSummary& design, const std::vector<double>& survey,
                         const std::vector<double>& reference) {
    if (auto refusal = MeasurementDataRefusal(survey, kSurveyDataName)) return *refusal;
    if (test == TestKind::WRS) {
        if (reference.empty()) return kNoReference;
        if (auto refusal = MeasurementDataRefusal(reference, kReferenceDataName)) return *refusal;
    }

    DataAssessment a;
    a.test = test;
    a.beta = design.Beta;
    a.survey = Summarize(survey);
    a.above_dcgl = PositionsAboveDCGL(survey, design.DCGL);
    for (const std::size_t i : a.above_dcgl) a.above_dcgl_values.push_back(survey[i]);
    if (test == TestKind::Sign) {
        if (!AssessSign(design, survey, a)) return kNotComputable;
    } else {
        AssessWRS(design, survey, reference, a);
    }
    if (!AllFinite(a)) return kNotComputable;
    a.alpha = design.Alpha;
    a.p_value_disagrees = PValueDisagrees(a.passes, a.p_value, design.Alpha);
    return a;
}

void MarkAboveDCGLEMC(DataAssessment& assessment, const std::vector<double>& dcgl_emc) {
    assessment.above_dcgl_emc.clear();
    for (std::size_t k = 0; k < assessment.above_dcgl.size(); ++k) {
        const std::size_t i = assessment.above_dcgl[k];
        const double limit = i < dcgl_emc.size() ? dcgl_emc[i] : 0;
        assessment.above_dcgl_emc.push_back(ExceedsDCGLEMC(assessment.above_dcgl_values[k], limit));
    }
}

}  // namespace valdris
