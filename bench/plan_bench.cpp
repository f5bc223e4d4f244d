// SPDX-License-Identifier: Apache-2.0
// The survey plan at the size of a large site: 1,000 units read and computed
// from their file, written, and one unit's edit (which computes that unit
// alone).
#include <benchmark/benchmark.h>

#include <string>

#include "plan_file.h"

namespace {

constexpr int kUnits = 1000;

// Units of both tests with varied inputs, a tenth with a given size.
std::string ThousandUnitPlan() {
    valdris::SurveyPlan plan;
    for (int i = 0; i < kUnits; ++i) {
        valdris::PlanUnit unit;
        unit.name = "Unit " + std::to_string(i + 1);
        unit.test = i % 2 == 0 ? valdris::TestKind::Sign : valdris::TestKind::WRS;
        unit.sigma = 0.2f + 0.001f * static_cast<float>(i % 300);
        unit.lbgr = 0.3 + 0.0005 * (i % 400);
        if (i % 10 == 0) unit.given_n = 15 + i % 40;
        unit.costs = {1000.0, 200.0};
        plan.Add(unit);
    }
    return valdris::WritePlan(plan);
}

void BM_ReadAndComputePlan(benchmark::State& state) {
    const std::string bytes = ThousandUnitPlan();
    for (auto _ : state) {
        const valdris::PlanReading reading = valdris::ReadPlan(bytes);
        if (!reading) state.SkipWithError(reading.message().c_str());
        benchmark::DoNotOptimize(reading->entry(kUnits - 1).figures.power_at_lbgr);
    }
}
BENCHMARK(BM_ReadAndComputePlan)->Unit(benchmark::kMillisecond);

void BM_WritePlan(benchmark::State& state) {
    const valdris::SurveyPlan plan = *valdris::ReadPlan(ThousandUnitPlan());
    for (auto _ : state) benchmark::DoNotOptimize(valdris::WritePlan(plan));
}
BENCHMARK(BM_WritePlan)->Unit(benchmark::kMillisecond);

// Alternating values so that every edit is a change.
void BM_EditOneUnit(benchmark::State& state) {
    valdris::SurveyPlan plan = *valdris::ReadPlan(ThousandUnitPlan());
    bool high = false;
    for (auto _ : state) {
        high = !high;
        benchmark::DoNotOptimize(plan.Edit(kUnits / 2 + 1, valdris::PlanField::LBGR, high ? "0.6" : "0.4"));
    }
}
BENCHMARK(BM_EditOneUnit)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
