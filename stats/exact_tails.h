// SPDX-License-Identifier: Apache-2.0
#pragma once
// Exact tails of the null and alternative distributions a design check
// needs: the binomial upper tail for any success probability, and the null
// distribution of the Mann-Whitney count for two equal samples.

#include <cstdint>
#include <vector>

namespace valdris {

// P(X >= s) for X ~ Binomial(n, p), in long double, summed from s outwards
// (or its complement from s - 1 downwards when s lies below the mean) until
// the terms no longer count; a relative error near 1e-15 for n up to 10^7.
double BinomialUpperTail(int32_t n, int64_t s, double p);

// The smallest k with P(S > k) < alpha for S ~ Binomial(n, 1/2): the Sign
// test's critical value counted exactly in double, without the single
// precision of the design's threshold.
int32_t ExactSignCriticalValue(int32_t n, double alpha);

// P(U <= u), u = 0 .. N^2, of the Mann-Whitney count U for two samples of N
// under the null hypothesis, for every N from 0 to largest; by the
// recursion on the larger of all values (Mann and Whitney, 1947, eq. 2),
// a weighted sum of positive terms, so nothing cancels.
std::vector<std::vector<double>> EqualSizeRankSumCdfs(int32_t largest);

// The smallest whole rank sum k with P(W > k) < alpha, from such a
// distribution; W = U + N (N + 1) / 2.
double ExactRankSumCriticalValue(const std::vector<double>& cdf, int32_t n, double alpha);

}  // namespace valdris
