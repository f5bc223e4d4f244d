// SPDX-License-Identifier: Apache-2.0
#pragma once
// The Sign and Wilcoxon Rank Sum tests on the measurements a survey collected,
// with the critical values of the designs (one decision rule for the design
// and the verdict), exact or approximate p-values, summary statistics and the
// retrospective power at the LBGR once sigma is known from the data.
//
// References:
//   M. Hollander, D. A. Wolfe, E. Chicken, Nonparametric Statistical Methods,
//     3rd ed., Wiley, 2014: the sign test (ch. 3.4), the rank sum test with
//     mid-ranks, its exact null distribution and the tie-corrected normal
//     approximation (ch. 4.1).
//   E. L. Lehmann, Nonparametrics: Statistical Methods Based on Ranks,
//     Holden-Day, 1975 (rev. Springer, 2006): the null distribution of the
//     rank sum by counting subsets of ranks (ch. 1.3), ties (ch. 1.4).
//   B. P. Welford, Note on a method for calculating corrected sums of squares
//     and products, Technometrics 4 (1962) 419-420: the standard deviation.
//
// The measurements must be finite; the caller refuses anything else.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace valdris {

// The exact null distribution of the rank sum is counted when both samples
// are smaller than this and nothing is tied.
constexpr int32_t kWRSExactPValueBelow = 50;

struct SignTestOnData {
    int32_t n = 0;        // measurements
    int32_t n_used = 0;   // those not equal to the DCGL
    int32_t s_plus = 0;   // those below the DCGL
    int32_t critical_value = 0;
    double p_value = 1;   // P(S+ >= s_plus) under Binomial(n_used, 1/2)
    double decision_p_value = 1;  // as the critical value is computed (decision_p_value.h)
    bool passes = false;  // s_plus > critical_value
};

// d = DCGL - x, zeros dropped. Nothing when the critical value does not fit
// 32 bits (or there are more than 2^31 - 1 measurements).
std::optional<SignTestOnData> RunSignTestOnData(const std::vector<double>& survey, double dcgl, float alpha);

// P(S >= s) for S ~ Binomial(n, 1/2), from log-gamma in long double: a
// relative error of about 1e-15 for n up to a million.
double SignUpperTail(int32_t n, int32_t s);

struct WRSTestOnData {
    int32_t n = 0;             // survey-unit measurements
    int32_t m = 0;             // reference-area measurements
    double rank_sum = 0;       // W: the adjusted reference values' mid-ranks
    double critical_value = 0; // the design's, for m reference and n survey
    double p_value = 1;        // P(W >= rank_sum)
    double decision_p_value = 1;  // as the critical value is computed (decision_p_value.h)
    bool exact_p_value = false;
    bool ties = false;
    bool passes = false;       // rank_sum > critical_value
};

// Each reference value is increased by the DCGL and ranked with the survey
// unit's values. Values closer than a few units in the last place of the
// data's largest magnitude count as tied: the addition rounds, and a
// reference value of 0.2 with a DCGL of 0.1 must tie with a survey value of
// 0.3 (0.30000000000000004 in binary).
WRSTestOnData RunWRSTestOnData(const std::vector<double>& survey, const std::vector<double>& reference,
                               double dcgl, float alpha);

// P(W >= w) for the rank sum of m values among m + n without ties, counted
// over all C(m + n, m) rank sets in long double (64-bit significand on x86:
// counts up to C(98, 49) ~ 2.5e28 are rounded, a relative error below 1e-16
// each, so the p-value carries about 15 significant digits). The counts of a
// pair of sizes below kWRSExactPValueBelow are made at its first use and kept
// for the process, so a later p-value of the same sizes sums the tail only.
double ExactRankSumUpperTail(int32_t m, int32_t n, double w);
// The same tail counted afresh and nothing kept: what the first p-value of
// a pair costs, and the way for sizes that are never kept.
double CountedRankSumUpperTail(int32_t m, int32_t n, double w);

// P(W >= w) by the normal approximation with a continuity correction of 0.5;
// tie_sum is the sum of t^3 - t over the groups of tied values.
double NormalRankSumUpperTail(int32_t m, int32_t n, double w, double tie_sum);

struct SampleSummary {
    int32_t count = 0;
    double mean = 0;
    double median = 0;
    double sd = 0;  // sample standard deviation (n - 1); 0 for one value
    double max = 0;
};

// Of at least one value.
SampleSummary Summarize(const std::vector<double>& values);

// Positions (from 0) of the values above the DCGL, in the order given.
std::vector<std::size_t> PositionsAboveDCGL(const std::vector<double>& values, double dcgl);

struct RetrospectivePower {
    double sigma = 0;          // from the data
    double dovers = 0;         // delta / sigma
    int32_t n = 0;             // the size the power is for
    double critical_value = 0; // a design of that size's
    double power_at_lbgr = 0;
};

// The power at the LBGR of a design of the actual size with sigma taken from
// the data: the Sign test of n_used measurements, or the WRS test of the
// smaller of the two counts in each area. delta = DCGL - LBGR as the design
// holds it. Nothing when sigma is not positive (the data do not vary, so no
// shift is defined) or the critical value does not fit. A size whose
// critical value no data can exceed has power 0.
std::optional<RetrospectivePower> SignRetrospectivePower(int32_t n_used, float alpha, double delta, double sigma);
std::optional<RetrospectivePower> WRSRetrospectivePower(int32_t n, int32_t m, float alpha, double delta,
                                                        double sigma);

}  // namespace valdris
