// SPDX-License-Identifier: Apache-2.0
// Speed of one recalculation of each design, at the window's defaults and at
// the costliest sizes (exact WRS distribution at n = 20, exact binomial power
// curve at n = 50).

#include <benchmark/benchmark.h>

#include <vector>

#include "data_tests.h"
#include "valdris_power.h"

namespace {

using valdris::DesignState;

DesignState Inputs(float sigma, double dovers) {
    DesignState state;
    state.Alpha = 0.05f;
    state.Beta = 0.05f;
    state.Sigma = sigma;
    state.DCGL = 1;
    state.LBGR = 0.5;
    state.Delta = 0.5f;
    state.DoverS = dovers;
    return state;
}

void BM_SignDefaults(benchmark::State& st) {
    DesignState state = Inputs(0.5f, 1);
    for (auto _ : st) benchmark::DoNotOptimize(valdris::DesignSignTest(state));
}
BENCHMARK(BM_SignDefaults);

void BM_SignFiftySamples(benchmark::State& st) {
    DesignState state = Inputs(0.71f, double(0.5f) / double(0.71f));
    for (auto _ : st) benchmark::DoNotOptimize(valdris::DesignSignTest(state));
}
BENCHMARK(BM_SignFiftySamples);

void BM_WRSDefaults(benchmark::State& st) {
    DesignState state = Inputs(0.5f, 1);
    for (auto _ : st) benchmark::DoNotOptimize(valdris::DesignWRSTest(state));
}
BENCHMARK(BM_WRSDefaults);

void BM_WRSExactTenSamples(benchmark::State& st) {
    DesignState state = Inputs(0.5f, 3);
    for (auto _ : st) benchmark::DoNotOptimize(valdris::DesignWRSTest(state));
}
BENCHMARK(BM_WRSExactTenSamples);

// D/s = 1.367 gives 20 samples per area, the largest exact case.
void BM_WRSExactTwentySamples(benchmark::State& st) {
    DesignState state = Inputs(0.5f, 1.367);
    for (auto _ : st) benchmark::DoNotOptimize(valdris::DesignWRSTest(state));
    st.counters["WRSN"] = state.WRSN;
}
BENCHMARK(BM_WRSExactTwentySamples);

// The largest exact rank-sum p-value of collected data: 49 values per area.
void BM_WRSExactPValueLargest(benchmark::State& st) {
    for (auto _ : st) benchmark::DoNotOptimize(valdris::ExactRankSumUpperTail(49, 49, 2600));
}
BENCHMARK(BM_WRSExactPValueLargest);

// The Sign test on a million measurements: counting and the exact tail.
void BM_SignOnMillionMeasurements(benchmark::State& st) {
    std::vector<double> survey(1000000);
    for (std::size_t i = 0; i < survey.size(); ++i) survey[i] = static_cast<double>(i % 1000) / 600;
    for (auto _ : st) benchmark::DoNotOptimize(valdris::RunSignTestOnData(survey, 1.0, 0.05f));
}
BENCHMARK(BM_SignOnMillionMeasurements);

}  // namespace

BENCHMARK_MAIN();
