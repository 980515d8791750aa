// The compute pass of ⑤ (ComputeRunFactors) on the large sample week against
// an I/O floor measured in the same run: reading and writing every horse's
// expanded record file once, and reading the model files and the
// statistics files once. The counters "x_floor" and "x_floor_cpu" of the
// pass are its elapsed and processor time per run divided by the floor's.
//
// "x_floor_paired" and "x_floor_cpu_paired" are the medians of the ratios
// of each pass to a floor run just before it, which a busy machine
// disturbs less.
//
// The week: the large sample (three race days at three racecourses, three
// years of past runs, official results), downloaded as ① does, sorted by
// ②, and built by ⑤'s builder; the horse files are put back as the builder
// left them before every timed pass.
#include "sample_week.h"

#include "common/kestrav_path.h"
#include "common/record_file.h"
#include "jvdata/store_files.h"
#include "jvdata/structure.h"
#include "jvdata/week_download.h"
#include "model/compute_button.h"
#include "model/compute_pass.h"
#include "model/expanded_build.h"
#include "model/expanded_record.h"
#include "model/package_files.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

using namespace rw;
using namespace rw::model;

namespace {

struct LargeWeek : rwbench::SampleWeek {
    ExpandedState state;
    QList<std::pair<QString, QByteArray>> built;  // each horse file as the builder left it
    QStringList packageFiles;                     // the model and statistics files the pass reads
    qint64 exBytes = 0, exRecords = 0, packageBytes = 0;

    LargeWeek() : SampleWeek(rw::sample::Scale::Large, rw::sample::Scenario::Monday) {
        QDir().mkpath(path(QString::fromUtf16(jv::kRunFileFolder)));  // made at start-up
        QDir().mkpath(path(QString::fromUtf16(kExFolder)));
        run("download", [](UiPort& ui, jv::JvLink& jv, SkipLog& log) {
            jv::DownloadState s;
            jv::DownloadThisWeek(ui, jv, s, log);
        });
        run("structure", [](UiPort& ui, jv::JvLink&, SkipLog& log) {
            if (!jv::RunStructureProcessing(ui, log)) std::abort();
        });
        // The window's load, then ⑤ once, then the build again: the horse
        // files as the pass finds them.
        for (Surface s : kSurfaces) {
            FactorModel& m = s == Surface::Turf ? state.TurfModel : s == Surface::Dirt ? state.DirtModel : state.JumpModel;
            if (const auto failure = LoadFactorModel(s, m)) {
                std::fprintf(stderr, "model: %s\n", qPrintable(failure->text()));
                std::abort();
            }
        }
        run("compute button", [&](UiPort& ui, jv::JvLink&, SkipLog& log) { RunComputeButton(ui, state, log); });
        run("build", [&](UiPort& ui, jv::JvLink&, SkipLog& log) { BuildExpandedRecords(ui, state, log); });
        QDirIterator it(path(QStringLiteral("UMAGOTOEXTHISWEEKN")), QDir::Files);
        while (it.hasNext()) {
            const QString p = it.next();
            built.append({p, rwtest::readFile(p)});
            exBytes += built.back().second.size();
        }
        exRecords = exBytes / kExRecordLength;
        for (Surface s : kSurfaces) {
            const ModelFileNames f = ModelFiles(s);
            for (const QString& n : {f.totalData, f.codes, f.agari, f.pace, f.soha, f.sampleCounts})
                if (!packageFiles.contains(AppFile(n))) packageFiles << AppFile(n);
        }
        for (const char16_t* n : {kSireStatsFile, kHorseExtractFile, kJockeyStatsFile, kTrainerStatsFile})
            packageFiles << AppFile(QStringView(n));
        for (const QString& p : packageFiles) packageBytes += QFileInfo(p).size();
    }

    void restoreBuilt() const {
        for (const auto& [p, bytes] : built) rwtest::writeFile(p, bytes);
    }
};

LargeWeek& week() {
    static LargeWeek w;
    return w;
}

double g_floorSeconds = 0, g_floorCpuSeconds = 0;

// Every horse file read and written once, every file of the package the
// pass reads read once.
void floorOnce(const LargeWeek& w) {
    qint64 sum = 0;
    for (const QString& p : w.packageFiles) sum += rwtest::readFile(p).size();
    for (const auto& [p, unused] : w.built) {
        QFile f(p);
        if (!f.open(QIODevice::ReadWrite)) std::abort();
        const QByteArray all = f.readAll();
        f.seek(0);
        if (f.write(all) != all.size()) std::abort();
        sum += all.size();
    }
    benchmark::DoNotOptimize(sum);
}

void BM_IoFloor(benchmark::State& state) {
    LargeWeek& w = week();
    w.restoreBuilt();
    floorOnce(w);
    double total = 0, cpu = 0;
    for (auto _ : state) {
        state.PauseTiming();
        rwbench::settle();
        state.ResumeTiming();
        const rwbench::Stopwatch watch;
        floorOnce(w);
        total += watch.elapsed();
        cpu += watch.cpu();
    }
    g_floorSeconds = total / double(state.iterations());
    g_floorCpuSeconds = cpu / double(state.iterations());
    state.counters["horse_files"] = double(w.built.size());
    state.counters["MB_ex"] = double(w.exBytes) / 1e6;
    state.counters["MB_package"] = double(w.packageBytes) / 1e6;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

void BM_ComputeRunFactors(benchmark::State& state) {
    LargeWeek& w = week();
    double total = 0, cpu = 0;
    std::vector<double> ratio, ratioCpu;  // each pass against a floor run just before it
    for (auto _ : state) {
        state.PauseTiming();
        w.restoreBuilt();
        rwbench::settle();
        const rwbench::Stopwatch floorWatch;
        floorOnce(w);
        const double floorSeconds = floorWatch.elapsed(), floorCpu = floorWatch.cpu();
        w.restoreBuilt();
        rwbench::settle();
        state.ResumeTiming();
        const rwbench::Stopwatch watch;
        w.run("compute pass", [&](UiPort& ui, jv::JvLink&, SkipLog& log) { ComputeRunFactors(ui, w.state, log); });
        const double seconds = watch.elapsed(), passCpu = watch.cpu();
        total += seconds;
        cpu += passCpu;
        ratio.push_back(seconds / floorSeconds);
        ratioCpu.push_back(passCpu / std::max(floorCpu, 1e-3));
    }
    const double seconds = total / double(state.iterations());
    state.counters["records"] = double(w.exRecords);
    state.counters["horses"] = double(w.state.WeekListCount);
    if (g_floorSeconds > 0) state.counters["x_floor"] = seconds / g_floorSeconds;
    if (g_floorCpuSeconds > 0) state.counters["x_floor_cpu"] = cpu / double(state.iterations()) / g_floorCpuSeconds;
    state.counters["x_floor_paired"] = median(ratio);
    state.counters["x_floor_cpu_paired"] = median(ratioCpu);
}

}  // namespace

BENCHMARK(BM_IoFloor)->Name("I/O floor: horse files and package read and written once")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_ComputeRunFactors)->Name("compute pass, large week")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
