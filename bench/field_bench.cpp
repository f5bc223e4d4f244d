// SPDX-License-Identifier: Apache-2.0
// The locations file of about a million locations through the safe writer:
// written as it is made, against the whole text made first and then written,
// and against the same bytes written from memory (the writing alone).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <string>

#include "field_texts.h"
#include "safe_write.h"

namespace {

const valdris::SampleLayout& MillionLocations() {
    static const valdris::SampleLayout layout =
        *valdris::LayOutSamples(valdris::GridType::Square, *valdris::SizeFromRectangle(10000, 10000), 990000, 5);
    return layout;
}

std::string Target() { return "/tmp/valdris-field-bench-" + std::to_string(getpid()) + ".csv"; }

void Report(benchmark::State& state, const std::string& failure) {
    if (!failure.empty()) state.SkipWithError(failure.c_str());
    state.counters["locations"] = static_cast<double>(MillionLocations().points.size());
}

void BM_LocationsStreamed(benchmark::State& state) {
    const valdris::SampleLayout& layout = MillionLocations();
    const std::string path = Target();
    std::string failure;
    for (auto _ : state) {
        failure = valdris::WriteStreamSafely(
            path, [&layout](const valdris::ByteSink& write) { return valdris::StreamLocationsCsv(layout, write); });
    }
    unlink(path.c_str());
    Report(state, failure);
}
BENCHMARK(BM_LocationsStreamed)->Unit(benchmark::kMillisecond);

void BM_LocationsMadeWhole(benchmark::State& state) {
    const valdris::SampleLayout& layout = MillionLocations();
    const std::string path = Target();
    std::string failure;
    for (auto _ : state) failure = valdris::WriteBytesSafely(path, valdris::LocationsCsv(layout));
    unlink(path.c_str());
    Report(state, failure);
}
BENCHMARK(BM_LocationsMadeWhole)->Unit(benchmark::kMillisecond);

void BM_SameBytesFromMemory(benchmark::State& state) {
    const std::string bytes = valdris::LocationsCsv(MillionLocations());
    const std::string path = Target();
    std::string failure;
    for (auto _ : state) failure = valdris::WriteBytesSafely(path, bytes);
    unlink(path.c_str());
    Report(state, failure);
    state.counters["MiB"] = static_cast<double>(bytes.size()) / (1 << 20);
}
BENCHMARK(BM_SameBytesFromMemory)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
