// SPDX-License-Identifier: Apache-2.0
// One-sample Sign test: sample size, critical value and power curve, and the
// cumulative binomial probability they rest on. The sample size is Noether's
// formula for the Sign test, increased by 20 % and rounded up (a margin for
// lost measurements); the critical value and the power come from the binomial
// distribution, exact for small samples and by its normal approximation
// beyond:
//   G. E. Noether, "Sample size determination for some common nonparametric
//   tests", Journal of the American Statistical Association 82(398),
//   645-647, 1987.

#include <cmath>
#include <cstdint>

#include "design_steps.h"
#include "quantile_choice.h"
#include "valdris_power.h"
#include "vector_state.h"

namespace valdris {
namespace {

using design_steps::ToInt32;

// Twenty percent more samples than the textbook size, as a margin for
// missing or unusable measurements.
constexpr double kSampleAllowance = 1.2;

// (z_beta + z_alpha)^2 / (4 (p - 0.5)^2), rounded up, then 20 percent added
// and rounded up again; "rounded up" is add one half and round half to even.
// The textbook size is at least one sample, so the smallest design has two.
double SignSampleSize(double z_alpha, double z_beta, double p) {
    const double zsum = z_beta + z_alpha;
    const double off_half = p - 0.5;
    const double base = (zsum * zsum) / ((off_half * off_half) * 4.0) + 0.5;
    const double whole = design_steps::AtLeastOneSample(RoundHalfEven(base));
    return RoundHalfEven(whole * kSampleAllowance + 0.5);
}

// The binomial probability of k successes from that of k - 1, by their
// ratio; trials_left is n + 1 - k and failure 1 - p, both formed by the
// caller. Every binomial sum of the engine steps with this, in this order.
inline double NextBinomialTerm(double trials_left, double p, double failure, double k,
                               double term) {
    return (trials_left * p * term) / (failure * k);
}

// Smallest i with P(X <= i) > 1 - alpha under p = 0.5, or n if none. One
// cumulative pass: BinomialCdf(n, i, 0.5) for i < n is the sum up to i - 1
// and one more term, formed exactly as BinomialCdf forms it.
int32_t ExactCriticalValue(int32_t n, float alpha) {
    const float threshold = 1.0f - alpha;
    const double p = 0.5;
    const double failure = 1 - p;
    double term = std::pow(failure, static_cast<double>(n));
    double sum = term;
    const int64_t trials_plus_one = static_cast<int64_t>(n) + 1;
    for (int32_t i = 0; i < n; ++i) {
        if (i >= 1) {
            term = NextBinomialTerm(static_cast<double>(trials_plus_one - i), p, failure, i, term);
            sum = term + sum;
        }
        if (sum > threshold) return i;
    }
    // At i = n the probability is 1; whether or not it passes, n is the value.
    return n < 0 ? 0 : n;
}

// n/2 + z_alpha sqrt(n)/2, rounded with halves upwards.
double ApproximateCriticalValue(int32_t n, float alpha, QuantileFunction quantile) {
    return std::floor(n * 0.5 + quantile(alpha) * std::sqrt(n * 0.25) + 0.5);
}

// Probability of passing when one measurement lies below the DCGL with
// probability q.
double PassProbability(int32_t n, int32_t critical, double q) {
    if (n > kSignExactPowerUpTo) {
        // Normal approximation, without continuity correction.
        const double nq = n * q;
        return 1 - NormalCdf((critical - nq) / std::sqrt(nq * (1 - q)));
    }
    return 1 - BinomialCdf(n, critical, q);
}

// The exact binomial powers of all computed points together. Their
// recurrences are independent, so they advance in lockstep, one term of
// every point per step, each point in the order BinomialCdf uses; the
// processor then overlaps the divisions instead of waiting on each.
void FillExactPowers(int32_t n, int32_t critical, const design_steps::ComputedPoints& points,
                     DesignState& out) {
    double q[kCurvePoints];
    for (int j = 0; j < points.count; ++j) q[j] = NormalCdf(points.shift[j]);

    // A lane per point whose sum runs the recurrence; BinomialCdf settles
    // the others (critical outside [0, n), or q = 1) without one.
    const bool runs = critical >= 0 && critical < n;
    int lane_point[kCurvePoints];
    // One spare lane to make the count even.
    double lane_q[kCurvePoints + 1], failure[kCurvePoints + 1], term[kCurvePoints + 1],
        sum[kCurvePoints + 1];
    int lanes = 0;
    for (int j = 0; j < points.count; ++j) {
        if (!runs || q[j] >= 1) {
            out.CurvePower[points.index[j]] =
                design_steps::WithinProbabilityRange(1 - BinomialCdf(n, critical, q[j]));
            continue;
        }
        lane_point[lanes] = points.index[j];
        lane_q[lanes] = q[j];
        failure[lanes] = 1 - q[j];
        term[lanes] = std::pow(failure[lanes], static_cast<double>(n));
        sum[lanes] = term[lanes];
        ++lanes;
    }
    const int64_t trials_plus_one = static_cast<int64_t>(n) + 1;
    // Lanes in pairs, the spare one inert (its term stays 0), so that the
    // compiler can put each pair into one vector register.
    if (lanes % 2 != 0) {
        lane_q[lanes] = 0.5;
        failure[lanes] = 0.5;
        term[lanes] = 0;
        sum[lanes] = 0;
    }
    const int pairs = (lanes + 1) / 2;
    for (int32_t k = 1; k <= critical && lanes > 0; ++k) {
        const double trials_left = static_cast<double>(trials_plus_one - k);
        const double kd = k;
        for (int g = 0; g < pairs; ++g) {
            for (int e = 0; e < 2; ++e) {
                const int l = 2 * g + e;
                term[l] = NextBinomialTerm(trials_left, lane_q[l], failure[l], kd, term[l]);
                sum[l] = term[l] + sum[l];
            }
        }
    }
    for (int l = 0; l < lanes; ++l) {
        out.CurvePower[lane_point[l]] = design_steps::WithinProbabilityRange(1 - sum[l]);
    }
}

// The powers by the normal approximation, in two phases over the points.
void FillApproximatePowers(int32_t n, int32_t critical, const design_steps::ComputedPoints& points,
                           DesignState& out) {
    double q[kCurvePoints];
    for (int j = 0; j < points.count; ++j) q[j] = NormalCdf(points.shift[j]);
    for (int j = 0; j < points.count; ++j) {
        out.CurvePower[points.index[j]] =
            design_steps::WithinProbabilityRange(PassProbability(n, critical, q[j]));
    }
}

// The design for n samples with a critical value that fits; cannot fail.
void FillSignDesign(DesignState& state, int32_t n, int32_t critical) {
    state.SignN = n;
    state.SignCriticalValue = critical;
    const auto points = design_steps::LayOutPowerCurve(state.DCGL, state.Sigma, state);
    if (n > kSignExactPowerUpTo) {
        FillApproximatePowers(n, critical, points, state);
    } else {
        FillExactPowers(n, critical, points, state);
    }
}

}  // namespace

double BinomialCdf(int32_t n, int32_t m, double p) {
    if (m < 0) return 0;
    // Every outcome is counted; the recurrence would also run past n.
    if (m >= n) return 1;
    // Every trial succeeds, so no count up to m < n is possible; the
    // recurrence would divide by 1 - p = 0.
    if (p >= 1) return 0;

    // Successive binomial probabilities by their ratio; only the latest one
    // is needed, so no table is kept.
    double term = std::pow(1 - p, static_cast<double>(n));
    double sum = term;
    const int64_t trials_plus_one = static_cast<int64_t>(n) + 1;
    for (int32_t k = 1; k <= m; ++k) {
        term = NextBinomialTerm(static_cast<double>(trials_plus_one - k), p, 1 - p, k, term);
        sum = term + sum;
    }
    return sum;
}

std::optional<int32_t> SignCriticalValue(int32_t n, float alpha) {
    return SignCriticalValueWith(n, alpha, NormalQuantile);
}

std::optional<int32_t> SignCriticalValueWith(int32_t n, float alpha, QuantileFunction quantile) {
    if (n < kSignExactCriticalValueBelow) return ExactCriticalValue(n, alpha);
    return ToInt32(ApproximateCriticalValue(n, alpha, quantile));
}

double SignPower(int32_t n, int32_t critical, double shift) {
    return design_steps::PowerWithCertainEnds(
        shift, [&](double s) { return PassProbability(n, critical, NormalCdf(s)); });
}

DesignOutcome DesignSignTestForSize(DesignState& state, int32_t n) {
    return DesignSignTestForSizeWith(state, n, NormalQuantile);
}

DesignOutcome DesignSignTestForSizeWith(DesignState& state, int32_t n, QuantileFunction quantile) {
    ClearUpperVectorState();
    const auto critical = SignCriticalValueWith(n, state.Alpha, quantile);
    if (!critical) return DesignOutcome::SampleSizeOutOfRange;
    FillSignDesign(state, n, *critical);
    return DesignOutcome::Ok;
}

DesignOutcome DesignSignTest(DesignState& state) { return DesignSignTestWith(state, NormalQuantile); }

namespace {

std::optional<int32_t> SignSampleSizeOf(const DesignSummary& state, QuantileFunction quantile) {
    const double z_alpha = quantile(state.Alpha);
    const double z_beta = quantile(state.Beta);
    // Probability that one measurement lies below the DCGL at the LBGR.
    const double p = NormalCdf(state.DoverS);
    return ToInt32(SignSampleSize(z_alpha, z_beta, p));
}

}  // namespace

DesignOutcome DesignSignTestWith(DesignState& state, QuantileFunction quantile) {
    ClearUpperVectorState();
    const auto n = SignSampleSizeOf(state, quantile);
    if (!n) return DesignOutcome::SampleSizeOutOfRange;
    return DesignSignTestForSizeWith(state, *n, quantile);
}

// The design's curve is finite wherever it has a size: each power is a
// binomial tail or its normal approximation at a shift within six standard
// deviations, whose probability keeps 1 - q above zero.
std::optional<int32_t> SignDesignedSizeWith(const DesignSummary& state, QuantileFunction quantile) {
    ClearUpperVectorState();
    const auto n = SignSampleSizeOf(state, quantile);
    if (!n || !SignCriticalValueWith(*n, state.Alpha, quantile)) return std::nullopt;
    return n;
}

}  // namespace valdris
