// SPDX-License-Identifier: Apache-2.0
// One recalculation of the design window with the default inputs: the design
// routine, the result fields and the chart redrawn into its retained image,
// then painted (offscreen). It runs on every accepted input and every chart
// click, so it must stay well inside what a user perceives as immediate.
// Also the engine alone right after the window has painted, against its
// frozen earlier form: painting can leave the processor's vector state in a
// shape that slows the engine's arithmetic, which the engine clears.

#include <QCoreApplication>
#include <QRadioButton>
#include <benchmark/benchmark.h>

#include <chrono>

#include "design_inputs.h"
#include "frm_sample_size_and_power.h"
#include "power_chart_view.h"
#include "reference_engine.h"
#include "valdris_power.h"
#include "recording_messages.h"

namespace {

void RecalculateWith(benchmark::State& run, bool wrs) {
    valdris::testing::RecordingMessages messages;
    valdris::frmSampleSizeandPower window(messages);
    window.show();
    (wrs ? window.OptWRSTest : window.OptSignTest)->setChecked(true);
    QCoreApplication::processEvents();
    for (auto _ : run) {
        window.Form().Recalculate();
        window.PicChart->repaint();
    }
    QCoreApplication::processEvents();
    if (!messages.shown.empty()) run.SkipWithError("the default design showed a message");
}

void BM_RecalculateSign(benchmark::State& run) { RecalculateWith(run, false); }
void BM_RecalculateWRS(benchmark::State& run) { RecalculateWith(run, true); }

// The design's own time (manually clocked) right after each paint.
template <auto Design>
void BM_DesignAfterPaint(benchmark::State& run) {
    valdris::testing::RecordingMessages messages;
    valdris::frmSampleSizeandPower window(messages);
    window.show();
    QCoreApplication::processEvents();
    valdris::DesignState state = valdris::PrepareState(valdris::DesignInputs{});
    for (auto _ : run) {
        window.PicChart->repaint();
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(Design(state));
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        run.SetIterationTime(took.count());
    }
}

BENCHMARK(BM_DesignAfterPaint<valdris::DesignSignTest>)->Name("SignAfterPaint/engine")->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DesignAfterPaint<valdris::reference::DesignSignTest>)->Name("SignAfterPaint/reference")
    ->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DesignAfterPaint<valdris::DesignWRSTest>)->Name("WRSAfterPaint/engine")->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DesignAfterPaint<valdris::reference::DesignWRSTest>)->Name("WRSAfterPaint/reference")
    ->UseManualTime()->Unit(benchmark::kMicrosecond);

BENCHMARK(BM_RecalculateSign)->Unit(benchmark::kMicrosecond)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_RecalculateWRS)->Unit(benchmark::kMicrosecond)->Repetitions(7)->ReportAggregatesOnly(true);

}  // namespace
