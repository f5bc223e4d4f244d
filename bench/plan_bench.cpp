// SPDX-License-Identifier: Apache-2.0
// The survey plan at the size of a large site: 1,000 units read and computed
// from their file, written, and one unit's edit (which computes that unit
// alone); 10^4 and 10^5 units read, beside the designs of the same units
// computed from memory.
#include <benchmark/benchmark.h>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <string>
#include <utility>
#include <vector>

#include "plan_file.h"
#include "plan_unit.h"
#include "site_plan.h"

namespace {

constexpr int kUnits = 1000;

using valdris::bench::SiteUnits;

std::string SitePlan(int count) { return valdris::bench::SitePlanFile(count); }
std::string ThousandUnitPlan() { return SitePlan(kUnits); }

void BM_ReadAndComputePlan(benchmark::State& state) {
    const std::string bytes = ThousandUnitPlan();
    for (auto _ : state) {
        const valdris::PlanReading reading = valdris::ReadPlan(bytes);
        if (!reading) state.SkipWithError(reading.message().c_str());
        benchmark::DoNotOptimize(reading->entry(kUnits - 1).figures.power_at_lbgr);
    }
}
BENCHMARK(BM_ReadAndComputePlan)->Unit(benchmark::kMillisecond);

// The reader's cost against the designs' own: grows with the units alone.
void BM_ReadSitePlan(benchmark::State& state) {
    const std::string bytes = SitePlan(static_cast<int>(state.range(0)));
    // One read untimed first. On the shared virtual machine a process's first
    // large pages cost the kernel far more than the ones after them (10^5
    // units: 130 ms of system time at the first read, 7 ms at each later one,
    // with the same faults); read once a repetition, 10^5 units would pay
    // that at every read and 10^4 units at one read in eight.
    benchmark::DoNotOptimize(valdris::ReadPlan(bytes).message());
    for (auto _ : state) {
        const valdris::PlanReading reading = valdris::ReadPlan(bytes);
        if (!reading) {
            state.SkipWithError(reading.message().c_str());
            break;
        }
        benchmark::DoNotOptimize(reading->size());
    }
    state.counters["file_MiB"] = static_cast<double>(bytes.size()) / (1 << 20);
}
BENCHMARK(BM_ReadSitePlan)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The anchor: the designs of the same units, as a sweep computes its rows.
void BM_DesignSiteUnits(benchmark::State& state) {
    const std::vector<valdris::PlanUnit> units = SiteUnits(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        for (const valdris::PlanUnit& unit : units) benchmark::DoNotOptimize(valdris::ComputeUnit(unit));
    }
}
BENCHMARK(BM_DesignSiteUnits)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

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

// A read in a process of its own takes fresh pages for its entries at every
// size. Repeated in one process, the C library's allocator would instead
// keep up to 32 MiB of freed blocks on its heap (its mmap threshold rises to
// the largest block freed): 10^4 units' entries (9 MiB) would come back warm
// while 10^5 units' (92 MiB) take fresh, zeroed pages every time, which
// would be counted as the reader's growth. A fixed threshold gives both
// sizes fresh pages, as the companion's reading has.
int main(int argc, char** argv) {
#ifdef __GLIBC__
    mallopt(M_MMAP_THRESHOLD, 4 << 20);
#endif
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
