// SPDX-License-Identifier: Apache-2.0
// The engine as it stood before its restructuring for speed, frozen: the
// bit-identity test and the engine benchmark compare the engine with it.
// Not linked into any program; do not change it.
// Two-sample Wilcoxon Rank Sum test: sample size of each area, critical
// value of the rank-sum statistic and power curve.

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "reference_design_steps.h"
#include "reference_engine.h"

namespace valdris::reference {
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

double NormalApproximateCriticalValue(int32_t a, int32_t b, float alpha) {
    // Formed in 64 bits: a + b + 1 overflows 32 bits for sizes near 2^31.
    const double a_plus_b_plus_1 = static_cast<double>(static_cast<int64_t>(a) + b + 1);
    const double mean = a_plus_b_plus_1 * a / 2;
    const double var = static_cast<double>(a) * b * a_plus_b_plus_1 / 12;
    return NormalQuantile(alpha) * std::sqrt(var) + mean;
}

// Frequencies of U, the number of (reference, survey) pairs in which the
// reference value is larger, over all C(a+b, a) equally likely arrangements;
// on return f[i] counts arrangements with U = i - 1, for i = 1 .. a*b + 1.
// Single precision throughout: the larger counts are not exact, and the
// critical value is read off these rounded counts.
void CountRankSumArrangements(int32_t mn, int32_t mx, float (&f)[kFrequencySize]) {
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

double ExactCriticalValue(int32_t a, int32_t b, float alpha) {
    const int32_t mn = std::min(a, b);
    if (mn < 1) return kNoCriticalValue;
    const int32_t mx = std::max(a, b);
    const int32_t values = a * b + 1;

    float f[kFrequencySize] = {};
    CountRankSumArrangements(mn, mx, f);

    float total = 0;
    for (int32_t i = 1; i <= values; ++i) {
        total = total + f[i];
        f[i] = total;
    }

    const float threshold = 1.0f - alpha;
    double critical = a * (a + 1) / 2;  // the smallest possible rank sum
    for (int32_t i = 1; i <= values; ++i) {
        f[i] = f[i] / total;
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

// Probability that the rank sum of nd reference values exceeds the critical
// value when the survey unit lies shift standard deviations below the DCGL.
double PassProbability(double nd, double critical, double shift) {
    const double p2 = WRSJointProbability(shift);
    const double p1 = NormalCdf(shift / kSqrtTwo);
    const double variance =
        (p2 - p1 * p1) * ((nd + nd - 2) * (nd * nd)) + (nd * nd * p1) * (1 - p1);
    // Mean nd (nd + 1) / 2 + nd^2 p1, with a continuity correction of 0.5.
    const double z =
        ((critical - 0.5) - (nd * 0.5) * (nd + 1) - (nd * nd) * p1) / std::sqrt(variance);
    return 1 - NormalCdf(z);
}

}  // namespace

double CalcWRSCriticalValue(int32_t a, int32_t b, float alpha) {
    if (a > kWRSExactSizeLimit || b > kWRSExactSizeLimit) {
        return NormalApproximateCriticalValue(a, b, alpha);
    }
    return ExactCriticalValue(a, b, alpha);
}

double WRSJointProbability(double shift) {
    const double h = -shift / std::sqrt(2.0);
    return BIVNOR(h, h, kBivnorCorrelation);
}

double WRSPower(int32_t n, double critical, double shift) {
    const double nd = n;
    return design_steps::PowerWithCertainEnds(
        shift, [&](double s) { return PassProbability(nd, critical, s); });
}

DesignOutcome DesignWRSTestForSize(DesignState& state, int32_t n) {
    DesignState next = state;
    next.WRSN = n;
    next.WRSCriticalValue = CalcWRSCriticalValue(n, n, state.Alpha);
    const double nd = n;
    const double critical = next.WRSCriticalValue;
    design_steps::FillPowerCurve(state.DCGL, state.Sigma, next, [&](double shift) {
        return PassProbability(nd, critical, shift);
    });
    state = next;
    return DesignOutcome::Ok;
}

DesignOutcome DesignWRSTest(DesignState& state) {
    const double za = NormalQuantile(state.Alpha);
    const double zb = NormalQuantile(state.Beta);
    const double pr = NormalCdf(state.DoverS * kShiftScale);

    const auto n = ToInt32(WRSSampleSize(za, zb, pr));
    if (!n) return DesignOutcome::SampleSizeOutOfRange;
    return DesignWRSTestForSize(state, *n);
}

}  // namespace valdris::reference
