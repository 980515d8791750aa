// The model-weight viewer's load on a package at full capacity (30 items of
// 6000 categories each, every surface) against its floor, reading the
// surface's model files once, value by value. The counter "x_read" of a
// load is its time per run divided by the floor's, measured in the same run
// (the floor runs first). The turf load reads six files; the jump load
// reads its soha file three times.
#include "support/factor_package.h"
#include "support/test_support.h"

#include "common/kestrav_path.h"
#include "support/recording_ui.h"
#include "common/skip.h"
#include "common/text_file.h"
#include "model/package_files.h"
#include "reference/factor_viewer.h"

#include <benchmark/benchmark.h>

#include <chrono>

using namespace rw;

namespace {

double g_readSeconds = 0;

double secondsSince(std::chrono::steady_clock::time_point t) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count();
}

const rwtest::AppFolder& package() {
    static const auto* app = [] {
        auto* a = new rwtest::AppFolder;
        rwtest::writeFullPackage(*a, model::kMaxCategories);
        return a;
    }();
    return *app;
}

void BM_ReadFilesOnce(benchmark::State& state) {
    package();
    const model::ModelFileNames f = model::ModelFiles(model::Surface::Turf);
    qsizetype values = 0;
    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        values = 0;
        for (const QString& name : {f.totalData, f.codes, f.sampleCounts, f.agari, f.pace, f.soha})
            values += readValues(AppFile(name)).size();
        benchmark::DoNotOptimize(values);
        total += secondsSince(start);
    }
    g_readSeconds = total / double(state.iterations());
    state.counters["values"] = double(values);
}

void BM_ViewerLoad(benchmark::State& state, model::Surface s) {
    package();
    RecordingUi ui;
    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        reference::FactorViewerModels view(s);
        SkipLog log("viewer");
        reference::LoadFactorViewer(s, ui, view, log);
        total += secondsSince(start);
        if (!log.empty()) state.SkipWithError("the package did not load whole");
        benchmark::DoNotOptimize(view.items[30].rows());
    }
    state.counters["rows"] = 30.0 * model::kMaxCategories;
    if (g_readSeconds > 0) state.counters["x_read"] = total / double(state.iterations()) / g_readSeconds;
}

}  // namespace

BENCHMARK(BM_ReadFilesOnce)
    ->Name("read the turf model files once")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2.0);
BENCHMARK_CAPTURE(BM_ViewerLoad, turf, model::Surface::Turf)
    ->Name("turf viewer load, 30 x 6000")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2.0);
BENCHMARK_CAPTURE(BM_ViewerLoad, jump, model::Surface::Jump)
    ->Name("jump viewer load, 30 x 6000")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2.0);
