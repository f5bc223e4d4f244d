// SPDX-License-Identifier: Apache-2.0
// The engine as it stood before its restructuring for speed, frozen: the
// bit-identity test and the engine benchmark compare the engine with it.
// Not linked into any program; do not change it.
// One-sample Sign test: sample size, critical value and power curve, and the
// cumulative binomial probability they rest on.

#include <cmath>
#include <cstdint>

#include "reference_design_steps.h"
#include "reference_engine.h"

namespace valdris::reference {
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

// Smallest i with P(X <= i) > 1 - alpha under p = 0.5, or n if none.
int32_t ExactCriticalValue(int32_t n, float alpha) {
    const float threshold = 1.0f - alpha;
    int32_t critical = 0;
    for (int32_t i = 0; i <= n; ++i) {
        critical = i;
        if (BinomialCdf(n, i, 0.5) > threshold) break;
    }
    return critical;
}

// n/2 + z_alpha sqrt(n)/2, rounded with halves upwards.
double ApproximateCriticalValue(int32_t n, float alpha) {
    return std::floor(n * 0.5 + NormalQuantile(alpha) * std::sqrt(n * 0.25) + 0.5);
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
        term = (static_cast<double>(trials_plus_one - k) * p * term) / ((1 - p) * k);
        sum = term + sum;
    }
    return sum;
}

std::optional<int32_t> SignCriticalValue(int32_t n, float alpha) {
    if (n < kSignExactCriticalValueBelow) return ExactCriticalValue(n, alpha);
    return ToInt32(ApproximateCriticalValue(n, alpha));
}

double SignPower(int32_t n, int32_t critical, double shift) {
    return design_steps::PowerWithCertainEnds(
        shift, [&](double s) { return PassProbability(n, critical, NormalCdf(s)); });
}

DesignOutcome DesignSignTestForSize(DesignState& state, int32_t n) {
    const auto critical = SignCriticalValue(n, state.Alpha);
    if (!critical) return DesignOutcome::SampleSizeOutOfRange;

    DesignState next = state;
    next.SignN = n;
    next.SignCriticalValue = *critical;
    design_steps::FillPowerCurve(state.DCGL, state.Sigma, next, [&](double shift) {
        return PassProbability(n, *critical, NormalCdf(shift));
    });
    state = next;
    return DesignOutcome::Ok;
}

DesignOutcome DesignSignTest(DesignState& state) {
    const double z_alpha = NormalQuantile(state.Alpha);
    const double z_beta = NormalQuantile(state.Beta);
    // Probability that one measurement lies below the DCGL at the LBGR.
    const double p = NormalCdf(state.DoverS);

    const auto n = ToInt32(SignSampleSize(z_alpha, z_beta, p));
    if (!n) return DesignOutcome::SampleSizeOutOfRange;
    return DesignSignTestForSize(state, *n);
}

}  // namespace valdris::reference
