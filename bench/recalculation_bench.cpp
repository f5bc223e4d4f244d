// SPDX-License-Identifier: Apache-2.0
// One recalculation of the design window with the default inputs: the design
// routine, the result fields and the chart redrawn into its retained image.
// It runs on every accepted input and every chart click, so it must stay well
// inside what a user perceives as immediate.

#include <QApplication>
#include <QRadioButton>
#include <benchmark/benchmark.h>

#include "frm_sample_size_and_power.h"
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
    }
    QCoreApplication::processEvents();
    if (!messages.shown.empty()) run.SkipWithError("the default design showed a message");
}

void BM_RecalculateSign(benchmark::State& run) { RecalculateWith(run, false); }
void BM_RecalculateWRS(benchmark::State& run) { RecalculateWith(run, true); }

BENCHMARK(BM_RecalculateSign)->Unit(benchmark::kMicrosecond)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_RecalculateWRS)->Unit(benchmark::kMicrosecond)->Repetitions(7)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
