// SPDX-License-Identifier: Apache-2.0
// Speed of one design check (design/checked_design.h): the Sign test at the
// window's defaults and at a large size, the WRS test at its defaults (32 a
// side, exact counts) and near 100 a side (the simulation's costliest size
// for the interactive target of 0.2 s).

#include <benchmark/benchmark.h>

#include "checked_design.h"
#include "design_inputs.h"

namespace {

using valdris::DesignInputs;
using valdris::TestKind;

void BM_Check(benchmark::State& bench, TestKind test, double sigma) {
    DesignInputs inputs;
    inputs.sigma = sigma;
    const auto run = valdris::RunDesign(test, inputs);
    for (auto _ : bench) benchmark::DoNotOptimize(valdris::CheckDesign(test, *run));
    bench.counters["n"] = test == TestKind::Sign ? run->SignN : run->WRSN;
}

// D/s 1 and 0.2 for Sign; D/s 1 (32 a side) and 0.55 (about 100 a side) for WRS.
BENCHMARK_CAPTURE(BM_Check, SignDefaults, TestKind::Sign, 0.5)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Check, SignDs02, TestKind::Sign, 2.5)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Check, WRSDefaults, TestKind::WRS, 0.5)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Check, WRSHundredASide, TestKind::WRS, 0.91)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
