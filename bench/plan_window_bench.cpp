// SPDX-License-Identifier: Apache-2.0
// The plan's table at 100,000 units, set up as the plan window sets it up
// (offscreen): a plan opened into it and painted, one cell's edit, its undo,
// and a sort by a column of numbers, each with the repaint it causes; beside
// each, the anchor of the same work without a view (the plan's own edit and
// undo, a sort of the column's numbers). Also the sample map of 100,000
// locations: a resize of its panel against one whole drawing of the map.
#include <QCoreApplication>
#include <QHeaderView>
#include <QPainter>
#include <QTableView>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <functional>
#include <vector>

#include "drawing_view.h"
#include "painter_surface.h"
#include "plan_table.h"
#include "plan_table_model.h"
#include "sample_map.h"
#include "site_plan.h"

namespace {

constexpr int kUnits = 100000;
constexpr int kEditedRow = 5000;

const valdris::SurveyPlan& SitePlan() {
    static const valdris::SurveyPlan plan = *valdris::ReadPlan(valdris::bench::SitePlanFile(kUnits));
    return plan;
}

// The model, the sorting proxy and the view, wired as in the plan window.
struct PlanTable {
    valdris::PlanTableModel model;
    valdris::PlanSortModel sorter;
    QTableView view;

    PlanTable() {
        sorter.setSourceModel(&model);
        view.setModel(&sorter);
        view.setSortingEnabled(true);
        view.sortByColumn(-1, Qt::AscendingOrder);
        valdris::FitPlanColumnsOnce(&view);
        view.horizontalHeader()->setStretchLastSection(true);
        view.resize(1200, 700);
        view.show();
        model.SetPlan(SitePlan());
        QCoreApplication::processEvents();
    }
};

void BM_OpenInTable(benchmark::State& state) {
    PlanTable table;
    for (auto _ : state) {
        state.PauseTiming();
        valdris::SurveyPlan copy = SitePlan();
        state.ResumeTiming();
        table.model.SetPlan(std::move(copy));
        table.view.repaint();
    }
}
BENCHMARK(BM_OpenInTable)->Unit(benchmark::kMillisecond);

// Alternating values so that every edit is a change.
const char* LBGRText(bool high) { return high ? "0.6" : "0.4"; }

void BM_EditInTable(benchmark::State& state) {
    PlanTable table;
    const QModelIndex cell = table.model.index(kEditedRow, int(valdris::PlanColumn::LBGR));
    bool high = false;
    for (auto _ : state) {
        high = !high;
        table.model.setData(cell, LBGRText(high));
        table.view.repaint();
    }
}
BENCHMARK(BM_EditInTable)->Unit(benchmark::kMicrosecond);

void BM_EditPlanAlone(benchmark::State& state) {
    valdris::SurveyPlan plan = SitePlan();
    bool high = false;
    for (auto _ : state) {
        high = !high;
        benchmark::DoNotOptimize(plan.Edit(kEditedRow, valdris::PlanField::LBGR, LBGRText(high)));
    }
}
BENCHMARK(BM_EditPlanAlone)->Unit(benchmark::kMicrosecond);

// An undo and its redo, each repainted.
void BM_UndoInTable(benchmark::State& state) {
    PlanTable table;
    table.model.setData(table.model.index(kEditedRow, int(valdris::PlanColumn::LBGR)), "0.6");
    for (auto _ : state) {
        table.model.Plan().Undo();
        table.view.repaint();
        table.model.Plan().Redo();
        table.view.repaint();
    }
}
BENCHMARK(BM_UndoInTable)->Unit(benchmark::kMicrosecond);

void BM_UndoPlanAlone(benchmark::State& state) {
    valdris::SurveyPlan plan = SitePlan();
    plan.Edit(kEditedRow, valdris::PlanField::LBGR, "0.6");
    for (auto _ : state) {
        plan.Undo();
        plan.Redo();
    }
}
BENCHMARK(BM_UndoPlanAlone)->Unit(benchmark::kMicrosecond);

// Up and down in turn, so that every sort moves every row.
void BM_SortInTable(benchmark::State& state) {
    PlanTable table;
    bool down = false;
    for (auto _ : state) {
        down = !down;
        table.view.sortByColumn(int(valdris::PlanColumn::PowerAtLBGR), down ? Qt::DescendingOrder : Qt::AscendingOrder);
        table.view.repaint();
    }
}
BENCHMARK(BM_SortInTable)->Unit(benchmark::kMillisecond);

void BM_SortNumbersAlone(benchmark::State& state) {
    const valdris::SurveyPlan& plan = SitePlan();
    bool down = false;
    for (auto _ : state) {
        down = !down;
        std::vector<double> numbers;
        numbers.reserve(plan.size());
        for (const valdris::PlanEntry& entry : plan.entries()) numbers.push_back(entry.figures.power_at_lbgr);
        if (down) {
            std::stable_sort(numbers.begin(), numbers.end(), std::greater<>());
        } else {
            std::stable_sort(numbers.begin(), numbers.end());
        }
        benchmark::DoNotOptimize(numbers.data());
    }
}
BENCHMARK(BM_SortNumbersAlone)->Unit(benchmark::kMillisecond);

const valdris::SampleLayout& HundredThousandLocations() {
    static const valdris::SampleLayout layout =
        *valdris::LayOutSamples(valdris::GridType::Triangular, *valdris::SizeFromRectangle(4000, 2500), kUnits, 11);
    return layout;
}

// A panel's resize step: shown at once from the picture it keeps.
void BM_MapResize(benchmark::State& state) {
    valdris::DrawingView view("map", QSize(100, 100));
    view.resize(900, 600);
    view.show();
    const valdris::SampleLayout& layout = HundredThousandLocations();
    view.SetDrawing([&layout](valdris::ChartSurface& surface) { DrawSampleMap(layout, surface); }, "map");
    view.repaint();
    bool wide = false;
    for (auto _ : state) {
        wide = !wide;
        view.resize(wide ? 960 : 900, 600);
        view.repaint();
    }
    state.counters["locations"] = static_cast<double>(layout.points.size());
}
BENCHMARK(BM_MapResize)->Unit(benchmark::kMillisecond);

// The anchor: the whole map drawn once, as every paint used to draw it.
void BM_MapDrawing(benchmark::State& state) {
    QImage image(900, 600, QImage::Format_RGB32);
    const valdris::SampleLayout& layout = HundredThousandLocations();
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        valdris::PainterSurface surface(painter, QSizeF(image.size()));
        DrawSampleMap(layout, surface);
    }
}
BENCHMARK(BM_MapDrawing)->Unit(benchmark::kMillisecond);

}  // namespace
