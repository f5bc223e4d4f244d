// SPDX-License-Identifier: Apache-2.0
// Two-sample Wilcoxon Rank Sum test: sample size of each area, critical
// value of the rank-sum statistic and power curve. The sample size is
// Noether's formula for the rank-sum test, increased by 20 %; the
// critical value is exact (the distribution of the rank sum counted by
// recursion) for small samples and normal beyond; the power uses the mean
// and variance of the Mann-Whitney count, whose variance needs a bivariate
// normal probability:
//   H. B. Mann and D. R. Whitney, "On a test of whether one of two random
//   variables is stochastically larger than the other", Annals of
//   Mathematical Statistics 18(1), 50-60, 1947;
//   G. E. Noether, "Sample size determination for some common nonparametric
//   tests", Journal of the American Statistical Association 82(398),
//   645-647, 1987.

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>

#include "design_steps.h"
#include "joint_tail.h"
#include "normal_cdf.h"
#include "quantile_choice.h"
#include "valdris_power.h"
#include "vector_state.h"

namespace valdris {
namespace {

using design_steps::ToInt32;

// Returned for an empty sample, which has no critical value.
constexpr double kNoCriticalValue = -1111;
// Frequency tables large enough for two samples of 20 (401 and 221 used).
constexpr int kFrequencySize = 501;
constexpr int kWorkSize = 251;

// The sample size scales D/s by 0.707, 1/sqrt(2) to three places, while the
// curve divides by the longer constant below; each keeps its own, since one
// constant for both would move sizes that lie on a rounding step.
constexpr double kShiftScale = 0.707;
constexpr double kSqrtTwo = 1.4142135623731;
// 1.2 (twenty percent margin) times one half per area.
constexpr double kSizeFactor = 0.6;
constexpr double kBivnorCorrelation = 0.5;

// z_alpha is the quantile of alpha: a design has it already from its size.
double NormalApproximateCriticalValue(int32_t a, int32_t b, double z_alpha) {
    // Formed in 64 bits: a + b + 1 overflows 32 bits for sizes near 2^31.
    const double a_plus_b_plus_1 = static_cast<double>(static_cast<int64_t>(a) + b + 1);
    const double mean = a_plus_b_plus_1 * a / 2;
    const double var = static_cast<double>(a) * b * a_plus_b_plus_1 / 12;
    return z_alpha * std::sqrt(var) + mean;
}

// Frequencies of U, the number of (reference, survey) pairs in which the
// reference value is larger, over all C(a+b, a) equally likely arrangements;
// on return f[i] counts arrangements with U = i - 1, for i = 1 .. a*b + 1.
// Single precision throughout: the larger counts are not exact, and the
// critical value is read off these rounded counts.
void CountRankSumArrangements(int32_t mn, int32_t mx, float* f) {
    float w[kWorkSize] = {};
    const int32_t values = mn * mx + 1;
    for (int32_t i = 1; i <= mx + 1; ++i) f[i] = 1;
    if (mn <= 1) return;
    for (int32_t i = mx + 2; i <= values; ++i) f[i] = 0;
    w[1] = 0;
    int32_t s = mx;
    for (int32_t i = 2; i <= mn; ++i) {
        w[i] = 0;
        s = s + mx;
        int32_t hi = s + 2;
        const int32_t last = s / 2 + 1;
        int32_t k = i;
        for (int32_t j = 1; j <= last; ++j) {
            k = k + 1;
            hi = hi - 1;
            const float sum = f[j] + w[j];
            f[j] = sum;
            w[k] = sum - f[hi];  // f[hi] may be the f[j] just written
            f[hi] = sum;
        }
    }
}

// The rank-sum distribution for samples of mn and mx, as cumulative shares
// (f[i] for U <= i - 1, i = 1 .. mn*mx + 1), in single precision as counted.
// It depends on the two sizes only, so each pair is counted once per process
// and shared: a sweep or a window repeats the same few sizes design after
// design. Published with a compare-and-swap so concurrent first designs are
// safe; a loser's copy is dropped, being identical.
const float* CumulativeShares(int32_t mn, int32_t mx) {
    static std::atomic<const float*> tables[kWRSExactSizeLimit + 1][kWRSExactSizeLimit + 1] = {};
    std::atomic<const float*>& slot = tables[mn][mx];
    if (const float* known = slot.load(std::memory_order_acquire)) return known;

    float* f = new float[kFrequencySize]();
    CountRankSumArrangements(mn, mx, f);
    const int32_t values = mn * mx + 1;
    float total = 0;
    for (int32_t i = 1; i <= values; ++i) {
        total = total + f[i];
        f[i] = total;
    }
    for (int32_t i = 1; i <= values; ++i) f[i] = f[i] / total;

    const float* expected = nullptr;
    if (slot.compare_exchange_strong(expected, f, std::memory_order_acq_rel)) return f;
    delete[] f;
    return expected;
}

double ExactCriticalValue(int32_t a, int32_t b, float alpha) {
    const int32_t mn = std::min(a, b);
    if (mn < 1) return kNoCriticalValue;
    const int32_t mx = std::max(a, b);
    const int32_t values = a * b + 1;
    const float* f = CumulativeShares(mn, mx);

    const float threshold = 1.0f - alpha;
    double critical = a * (a + 1) / 2;  // the smallest possible rank sum
    for (int32_t i = 1; i <= values; ++i) {
        if (f[i] > threshold) break;
        critical = critical + 1;
    }
    return critical;
}

double WRSSampleSize(double za, double zb, double pr) {
    const double zsum = za + zb;
    const double off_half = pr - 0.5;
    const double x = (kSizeFactor * (zsum * zsum)) / (3 * (off_half * off_half));
    return design_steps::AtLeastOneSample(RoundHalfEven(x + 0.5));
}

// What the pass probability takes from the size nd and the critical value,
// the same at every point of a curve.
struct RankSumTerms {
    double nd_squared;        // nd * nd
    double variance_weight;   // (nd + nd - 2) * (nd * nd)
    double centred_critical;  // (critical - 0.5) - (nd * 0.5) * (nd + 1)
};

RankSumTerms MakeRankSumTerms(double nd, double critical) {
    return {nd * nd, (nd + nd - 2) * (nd * nd), (critical - 0.5) - (nd * 0.5) * (nd + 1)};
}

// Probability that the rank sum of nd reference values exceeds the critical
// value when the survey unit lies shift standard deviations below the DCGL,
// p2 being the joint probability at that shift. The variance is
// (p2 - p1^2) (nd + nd - 2) nd^2 + nd^2 p1 (1 - p1); the mean is
// nd (nd + 1) / 2 + nd^2 p1, with a continuity correction of 0.5.
double PassProbability(const RankSumTerms& terms, double shift, double p2) {
    const double p1 = detail::NormalCdfInPlace(shift / kSqrtTwo);
    const double variance = (p2 - p1 * p1) * terms.variance_weight + (terms.nd_squared * p1) * (1 - p1);
    const double z = (terms.centred_critical - terms.nd_squared * p1) / std::sqrt(variance);
    return 1 - detail::NormalCdfInPlace(z);
}

// The argument of the joint probability at a shift.
double JointLimit(double shift) { return -shift / std::sqrt(2.0); }

// The joint tail's constants depend on the fixed correlation alone: formed
// once per process, not once per design.
const detail::EqualLimitsJointTail& JointTail() {
    static const detail::EqualLimitsJointTail joint = detail::MakeEqualLimitsJointTail(kBivnorCorrelation);
    return joint;
}

// The computed points of the curve in phases, the joint probabilities of all
// points first (their series side by side), then the rest, so that the
// independent work of neighbouring points overlaps. The joint probability is
// BIVNOR(h, h, 0.5) by its specialised path.
void FillComputedPowers(double nd, double critical, const design_steps::ComputedPoints& points,
                        DesignState& out) {
    const detail::EqualLimitsJointTail& joint = JointTail();
    double h[kCurvePoints];
    for (int j = 0; j < points.count; ++j) h[j] = JointLimit(points.shift[j]);
    double p2[kCurvePoints];
    detail::JointTailsAtEqualLimits(h, points.count, joint, p2);
    const RankSumTerms terms = MakeRankSumTerms(nd, critical);
    for (int j = 0; j < points.count; ++j) {
        out.CurvePower[points.index[j]] =
            design_steps::WithinProbabilityRange(PassProbability(terms, points.shift[j], p2[j]));
    }
}

double CriticalValue(int32_t a, int32_t b, float alpha, double z_alpha) {
    if (a > kWRSExactSizeLimit || b > kWRSExactSizeLimit) return NormalApproximateCriticalValue(a, b, z_alpha);
    return ExactCriticalValue(a, b, alpha);
}

void DesignForSize(DesignState& state, int32_t n, double critical) {
    state.WRSN = n;
    state.WRSCriticalValue = critical;
    const auto points = design_steps::LayOutPowerCurve(state.DCGL, state.Sigma, state);
    FillComputedPowers(n, state.WRSCriticalValue, points, state);
}

}  // namespace

double CalcWRSCriticalValue(int32_t a, int32_t b, float alpha) {
    return WRSCriticalValueWith(a, b, alpha, NormalQuantile);
}

double WRSCriticalValueWith(int32_t a, int32_t b, float alpha, QuantileFunction quantile) {
    const bool exact = a <= kWRSExactSizeLimit && b <= kWRSExactSizeLimit;
    return CriticalValue(a, b, alpha, exact ? 0.0 : quantile(alpha));
}

double WRSExactCumulativeShare(int32_t a, int32_t b, int32_t u) {
    if (u < 0) return 0;
    if (u >= a * b) return 1;
    return CumulativeShares(std::min(a, b), std::max(a, b))[u + 1];
}

double WRSJointProbability(double shift) {
    return BIVNOR(JointLimit(shift), JointLimit(shift), kBivnorCorrelation);
}

double WRSPower(int32_t n, double critical, double shift) {
    const RankSumTerms terms = MakeRankSumTerms(n, critical);
    return design_steps::PowerWithCertainEnds(shift, [&](double s) {
        const double h = JointLimit(s);
        double p2 = 0;
        detail::JointTailsAtEqualLimits(&h, 1, JointTail(), &p2);
        return PassProbability(terms, s, p2);
    });
}

DesignOutcome DesignWRSTestForSize(DesignState& state, int32_t n) {
    return DesignWRSTestForSizeWith(state, n, NormalQuantile);
}

DesignOutcome DesignWRSTestForSizeWith(DesignState& state, int32_t n, QuantileFunction quantile) {
    ClearUpperVectorState();
    DesignForSize(state, n, WRSCriticalValueWith(n, n, state.Alpha, quantile));
    return DesignOutcome::Ok;
}

DesignOutcome DesignWRSTest(DesignState& state) { return DesignWRSTestWith(state, NormalQuantile); }

DesignOutcome DesignWRSTestWith(DesignState& state, QuantileFunction quantile) {
    ClearUpperVectorState();
    const double za = quantile(state.Alpha);
    const double zb = quantile(state.Beta);
    const double pr = NormalCdf(state.DoverS * kShiftScale);

    const auto n = ToInt32(WRSSampleSize(za, zb, pr));
    if (!n) return DesignOutcome::SampleSizeOutOfRange;
    DesignForSize(state, *n, CriticalValue(*n, *n, state.Alpha, za));
    return DesignOutcome::Ok;
}

}  // namespace valdris
