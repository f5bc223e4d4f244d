// SPDX-License-Identifier: Apache-2.0
// Speed of one design of each test against the engine's frozen earlier form
// (tests/stats/reference_engine), at the window's defaults and at the
// costliest sizes (exact WRS distribution up to n = 20, exact binomial power
// curve at n = 50), and of sweep rows as the companion writes them. Each
// case runs as /engine and /reference; their ratio is the figure to read.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "data_tests.h"
#include "design_inputs.h"
#include "reference_engine.h"
#include "reference_run.h"
#include "sweep_report.h"
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

template <auto Design>
void BM_Design(benchmark::State& run, float sigma, double dovers) {
    DesignState state = Inputs(sigma, dovers);
    for (auto _ : run) {
        benchmark::DoNotOptimize(Design(state));
        benchmark::ClobberMemory();
    }
    run.counters["n"] = state.SignN + state.WRSN;
}

using DesignBenchmark = void (*)(benchmark::State&, float, double);

struct DesignCase {
    const char* name;
    DesignBenchmark engine;
    DesignBenchmark reference;
    float sigma;
    double dovers;
};

const DesignCase kDesignCases[] = {
    {"SignDefaults", BM_Design<valdris::DesignSignTest>, BM_Design<valdris::reference::DesignSignTest>, 0.5f, 1},
    // n = 50: the normal critical value with the exact binomial curve.
    {"SignFiftySamples", BM_Design<valdris::DesignSignTest>, BM_Design<valdris::reference::DesignSignTest>, 0.71f,
     double(0.5f) / double(0.71f)},
    {"WRSDefaults", BM_Design<valdris::DesignWRSTest>, BM_Design<valdris::reference::DesignWRSTest>, 0.5f, 1},
    {"WRSExactTenSamples", BM_Design<valdris::DesignWRSTest>, BM_Design<valdris::reference::DesignWRSTest>, 0.5f, 3},
    // D/s = 1.367 gives 20 samples per area, the largest exact case.
    {"WRSExactTwentySamples", BM_Design<valdris::DesignWRSTest>, BM_Design<valdris::reference::DesignWRSTest>,
     0.5f, 1.367},
};

const bool kDesignsRegistered = [] {
    for (const auto& c : kDesignCases) {
        benchmark::RegisterBenchmark((std::string(c.name) + "/engine").c_str(), c.engine, c.sigma, c.dovers);
        benchmark::RegisterBenchmark((std::string(c.name) + "/reference").c_str(), c.reference, c.sigma, c.dovers);
    }
    return true;
}();

// A stream that keeps nothing: the rows are formatted, not stored.
class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

// Rows of a sigma sweep from 0.1 to 1.1 in steps of 1e-6 (the companion's
// benchmark sweep), taken in a scattered order, written as JSON.
template <bool kReference>
void BM_SweepRows(benchmark::State& run, valdris::TestKind test) {
    NullBuffer buffer;
    std::ostream out(&buffer);
    const valdris::DesignEngine& engine = kReference ? valdris::reference::kReferenceEngine : valdris::kEngine;
    valdris::cli::SweepWriter writer(out, valdris::cli::OutputFormat::Json, test,
                                     valdris::cli::SweptInput::Sigma, engine);
    writer.Begin();
    valdris::DesignInputs inputs;
    int64_t row = 0;
    for (auto _ : run) {
        inputs.sigma = 0.1 + static_cast<double>((row * 7919) % 1000000) * 1e-6;
        ++row;
        writer.Row({inputs.sigma, valdris::RunDesign(test, inputs, std::nullopt, engine)});
    }
    writer.End();
    run.SetItemsProcessed(run.iterations());
}

const bool kSweepsRegistered = [] {
    using valdris::TestKind;
    benchmark::RegisterBenchmark("SweepRowsSign/engine", BM_SweepRows<false>, TestKind::Sign);
    benchmark::RegisterBenchmark("SweepRowsSign/reference", BM_SweepRows<true>, TestKind::Sign);
    benchmark::RegisterBenchmark("SweepRowsWRS/engine", BM_SweepRows<false>, TestKind::WRS);
    benchmark::RegisterBenchmark("SweepRowsWRS/reference", BM_SweepRows<true>, TestKind::WRS);
    return true;
}();

// The largest exact rank-sum p-value of collected data, 49 values per area:
// the first of a pair (its distribution counted) and a later one (the kept
// distribution's tail summed).
void BM_WRSExactPValueFirstCall(benchmark::State& st) {
    for (auto _ : st) benchmark::DoNotOptimize(valdris::CountedRankSumUpperTail(49, 49, 2600));
}
BENCHMARK(BM_WRSExactPValueFirstCall)->Unit(benchmark::kMillisecond);
void BM_WRSExactPValueRepeatedCall(benchmark::State& st) {
    benchmark::DoNotOptimize(valdris::ExactRankSumUpperTail(49, 49, 2600));
    for (auto _ : st) benchmark::DoNotOptimize(valdris::ExactRankSumUpperTail(49, 49, 2600));
}
BENCHMARK(BM_WRSExactPValueRepeatedCall)->Unit(benchmark::kMicrosecond);

// The Sign test on a million measurements: counting and the exact tail.
void BM_SignOnMillionMeasurements(benchmark::State& st) {
    std::vector<double> survey(1000000);
    for (std::size_t i = 0; i < survey.size(); ++i) survey[i] = static_cast<double>(i % 1000) / 600;
    for (auto _ : st) benchmark::DoNotOptimize(valdris::RunSignTestOnData(survey, 1.0, 0.05f));
}
BENCHMARK(BM_SignOnMillionMeasurements);

}  // namespace

BENCHMARK_MAIN();
