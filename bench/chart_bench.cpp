// SPDX-License-Identifier: Apache-2.0
// The cost of one whole power chart drawing, as every recalculation does it:
// onto a QImage of the window's chart size, and onto the recording surface,
// which leaves the drawing routine alone.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "chart_geometry.h"
#include "painter_surface.h"
#include "design_inputs.h"
#include "power_chart.h"
#include "recording_surface.h"
#include "valdris_power.h"

namespace {

valdris::DesignState DefaultDesign() {
    valdris::DesignState state = valdris::PrepareState(valdris::DesignInputs{});  // the window's defaults
    valdris::DesignSignTest(state);
    return state;
}

void BM_DrawPowerChartOnImage(benchmark::State& bench) {
    const valdris::DesignState state = DefaultDesign();
    QImage image(valdris::kChartDrawingWidthPx, valdris::kChartDrawingHeightPx, QImage::Format_RGB32);
    QPainter painter(&image);
    valdris::PainterSurface surface(painter, image.size());
    for (auto _ : bench) {
        valdris::DrawPowerChart(state, surface);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawPowerChartOnImage)->Unit(benchmark::kMicrosecond);

void BM_DrawPowerChartRecorded(benchmark::State& bench) {
    const valdris::DesignState state = DefaultDesign();
    valdris::RecordingSurface surface(7755, 4635, 390, 195);
    for (auto _ : bench) {
        surface.Forget();
        valdris::DrawPowerChart(state, surface);
        benchmark::DoNotOptimize(surface.Operations().data());
    }
}
BENCHMARK(BM_DrawPowerChartRecorded)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    // Fonts need a QGuiApplication; the offscreen platform needs no display.
    int qt_argc = 3;
    char program[] = "chart_bench";
    char platform_option[] = "-platform";
    char offscreen[] = "offscreen";
    char* qt_argv[] = {program, platform_option, offscreen, nullptr};
    QGuiApplication app(qt_argc, qt_argv);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
