// SPDX-License-Identifier: Apache-2.0
// A million measurements: read from their text, each against a plain
// std::from_chars pass over the same lines, and judged by the Sign test,
// against a sort of the same values (the test ranks nothing, but sorting is
// the cheapest way to a median, which the verdict's summary needs).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "data_assessment.h"
#include "design_inputs.h"
#include "measurement_text.h"

namespace {

constexpr std::size_t kValues = 1000000;

// Concentrations as an instrument writes them: a header, then one value a
// line with four to six significant digits.
std::string MeasurementText() {
    std::mt19937_64 random(20261209);
    std::uniform_real_distribution<double> value(0.0, 2.0);
    std::string text = "Cs-137 (Bq/kg)\n";
    char buffer[32];
    for (std::size_t i = 0; i < kValues; ++i) {
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, value(random), std::chars_format::fixed, 4);
        text.append(buffer, end.ptr);
        text += '\n';
    }
    return text;
}

const std::string& Text() {
    static const std::string text = MeasurementText();
    return text;
}

const std::vector<double>& Values() {
    static const std::vector<double> values = valdris::ReadMeasurements(Text(), "bench")->values;
    return values;
}

void BM_ReadMeasurements(benchmark::State& state) {
    for (auto _ : state) {
        const valdris::MeasurementReading reading = valdris::ReadMeasurements(Text(), "bench");
        if (!reading) {
            state.SkipWithError(reading.message().c_str());
            break;
        }
        benchmark::DoNotOptimize(reading->values.data());
    }
}
BENCHMARK(BM_ReadMeasurements)->Unit(benchmark::kMillisecond);

// The anchor: the header skipped, then each line's number converted and kept.
void BM_FromCharsAnchor(benchmark::State& state) {
    const std::string& text = Text();
    for (auto _ : state) {
        std::vector<double> values;
        const char* p = text.data() + text.find('\n') + 1;
        const char* const end = text.data() + text.size();
        while (p < end) {
            const char* eol = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
            double value = 0;
            std::from_chars(p, eol, value);
            values.push_back(value);
            p = eol + 1;
        }
        benchmark::DoNotOptimize(values.data());
    }
}
BENCHMARK(BM_FromCharsAnchor)->Unit(benchmark::kMillisecond);

void BM_AssessSign(benchmark::State& state) {
    const valdris::DesignState design = *valdris::RunDesign(valdris::TestKind::Sign, valdris::DesignInputs{});
    for (auto _ : state) {
        const valdris::AssessmentRun run = valdris::AssessData(valdris::TestKind::Sign, design, Values(), {});
        if (!run) {
            state.SkipWithError(run.message().c_str());
            break;
        }
        benchmark::DoNotOptimize(run->statistic);
    }
}
BENCHMARK(BM_AssessSign)->Unit(benchmark::kMillisecond);

// The anchor: a copy of the values sorted.
void BM_SortAnchor(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<double> values = Values();
        std::sort(values.begin(), values.end());
        benchmark::DoNotOptimize(values.data());
    }
}
BENCHMARK(BM_SortAnchor)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
