// SPDX-License-Identifier: Apache-2.0
#include "checked_design.h"

#include <cmath>

#include "number_text.h"
#include "rounding.h"

namespace valdris {
namespace {

constexpr int kCheckDecimals = 4;

std::string Four(double value) { return WriteNumber(RoundHalfEven(value, kCheckDecimals)); }

std::string PowerText(double power, double se, int32_t replications) {
    if (std::isnan(power)) return "not simulated above " + std::to_string(kCheckLargestSimulatedSize) + " a side";
    if (replications == 0) return Four(power) + " (exact)";
    return Four(power) + " +- " + Four(se) + " (simulated, " + std::to_string(replications) + " runs)";
}

}  // namespace

CheckedDesign CheckDesign(TestKind test, const DesignSummary& state, uint64_t seed) {
    CheckRequest request;
    const bool sign = test == TestKind::Sign;
    request.n = sign ? state.SignN : state.WRSN;
    request.critical = sign ? static_cast<double>(state.SignCriticalValue) : state.WRSCriticalValue;
    request.alpha = state.Alpha;
    request.beta = state.Beta;
    request.dovers = state.DoverS;
    request.sigma = state.Sigma;
    request.dcgl = state.DCGL;
    request.lbgr = state.LBGR;
    request.seed = seed;

    CheckedDesign checked;
    checked.check = sign ? CheckSignDesign(request) : CheckWRSDesign(request);
    DesignState exact;
    static_cast<DesignSummary&>(exact) = state;
    if (EngineDesignExactQuantile(test, exact, std::nullopt) == DesignOutcome::Ok) {
        checked.n_exact_quantile = sign ? exact.SignN : exact.WRSN;
    }
    return checked;
}

std::string Type1Method(const DesignCheck& check) { return check.type1_exact ? "exact" : "normal"; }

std::vector<ReportLine> CheckLines(const CheckedDesign& checked) {
    const DesignCheck& c = checked.check;
    std::vector<ReportLine> lines;
    lines.push_back({"True Type I Error",
                     Four(c.type1_error) +
                         (c.type1_exact ? " (exact)" : " (normal approximation with continuity correction)")});
    lines.push_back({"Power at the LBGR, Normal Data", PowerText(c.power_normal, c.power_normal_se, c.replications)});
    lines.push_back({"Power at the LBGR, Lognormal Data",
                     c.power_lognormal ? PowerText(*c.power_lognormal, *c.power_lognormal_se, c.replications)
                                       : "none (no lognormal has a mean of 0)"});
    lines.push_back({"Smallest N Reaching 1 - Beta",
                     c.n_min ? std::to_string(*c.n_min) + " (critical value " + WriteNumber(*c.n_min_critical_value) +
                                   ", no margin)"
                             : "none up to " + std::to_string(c.searched_to)});
    lines.push_back({"N with Exact Quantiles",
                     checked.n_exact_quantile ? std::to_string(*checked.n_exact_quantile) : "too large"});
    if (c.replications > 0) lines.push_back({"Seed", std::to_string(c.seed)});
    return lines;
}

void AddCheckToReport(DesignReport& report, const CheckedDesign& checked) {
    for (const ReportLine& line : CheckLines(checked)) report.method.push_back({"Design Check: " + line.label, line.value});
}

std::string CannotPassNote(TestKind test, float alpha, std::optional<int32_t> smallest) {
    const std::string statistic = test == TestKind::Sign ? "S+" : "the rank sum W";
    std::string note = "No data can pass this design: " + statistic +
                       " cannot exceed its critical value, so every power is 0.";
    if (smallest) {
        note += " At alpha = " + WriteNumber(alpha) + " the smallest sample size that can pass is " +
                std::to_string(*smallest) + (test == TestKind::WRS ? " in each area." : ".");
    }
    return note;
}

}  // namespace valdris
