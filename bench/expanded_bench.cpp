// ③'s builder and ⑤ on the large sample week (about 2,100 horses, 31,000
// runs; package statistics of 120,000 horses and 36,000 dams), each against
// its I/O floor in the same run: reading once every file the step reads and
// writing its output bytes to as many files. The counters "x_floor" and
// "x_floor_cpu" are the step's elapsed and processor time per run divided
// by its floor's.
//
// The week: the large sample (Monday, results official), downloaded through
// the file-backed JV-Link and sorted by structure processing as ① and ② do.
// ⑤'s compute pass is the one of this build.
#include "sample_week.h"

#include "common/file_ops.h"
#include "common/kestrav_path.h"
#include "common/paths.h"
#include "common/record_file.h"
#include "common/text_file.h"
#include "jvdata/store_files.h"
#include "jvdata/structure.h"
#include "jvdata/week_download.h"
#include "model/compute_button.h"
#include "model/expanded_build.h"
#include "model/package_files.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <benchmark/benchmark.h>

#include <algorithm>

using namespace rw;
using namespace rw::jv;
using namespace rw::model;

namespace {

struct Floor {
    QStringList inputs;                         // relative names
    QList<std::pair<QString, qint64>> outputs;  // relative name, size
    qint64 inputBytes = 0, outputBytes = 0;
};

struct LargeWeek : rwbench::SampleWeek {
    QList<QByteArray> horses;
    Floor build, press;

    LargeWeek() : SampleWeek(rw::sample::Scale::Large, rw::sample::Scenario::Monday) {
        run("download", [](UiPort& ui, JvLink& jv, SkipLog& log) {
            DownloadState state;
            DownloadThisWeek(ui, jv, state, log);
        });
        QDir().mkpath(path(QString::fromUtf16(kRunFileFolder)));
        QDir().mkpath(path(QString::fromUtf16(kExFolder)));
        run("structure", [](UiPort& ui, JvLink&, SkipLog& log) {
            if (!RunStructureProcessing(ui, log)) std::abort();
        });
        horses = readValues(path(QString::fromUtf16(kHorseListFile)));
        runPress();

        // The builder reads the tables, the dam-foal list and every run file,
        // and writes every horse file.
        for (const char16_t* f : {kUmNewFile, kKsWeekFile, kRaNewFile}) build.inputs << QString::fromUtf16(f);
        build.inputs << QString::fromUtf16(kPackageJockeyFile) << QString::fromUtf16(kDamFoalFile);
        for (const QByteArray& h : horses) {
            const QString reg = QString::fromLatin1(h);
            build.inputs << QString::fromUtf16(kRunFileFolder) + u'/' + reg + QStringLiteral(".dat");
            const QString ex = QString::fromUtf16(kExFolder) + u'/' + reg + QStringLiteral("EX.dat");
            build.outputs.append({ex, QFileInfo(path(ex)).size()});
        }
        // ⑤ also reads the two lists and the two package files, and writes
        // the two extracts.
        press = build;
        press.inputs << QString::fromUtf16(kDamListFile) << QString::fromUtf16(kHorseListFile)
                     << QString::fromUtf16(kDamStatsFile) << QString::fromUtf16(kHorseStatsFile);
        for (const char16_t* f : {kDamExtractFile, kHorseExtractFile}) {
            const QString name = nativeName(QString::fromUtf16(f));
            press.outputs.append({name, QFileInfo(path(name)).size()});
        }
        for (Floor* f : {&build, &press}) {
            for (QString& i : f->inputs) i = nativeName(i);
            for (const QString& i : f->inputs) f->inputBytes += QFileInfo(path(i)).size();
            for (const auto& o : f->outputs) f->outputBytes += o.second;
        }
        QDir().mkpath(path(QStringLiteral("FLOOR")));
    }

    void runPress() {
        run("compute", [](UiPort& ui, JvLink&, SkipLog& log) {
            ExpandedState state;
            if (!RunComputeButton(ui, state, log)) std::abort();
        });
    }
    void runBuild() {
        run("build", [this](UiPort& ui, JvLink&, SkipLog& log) {
            ExpandedState state;
            state.WeekList = horses;
            state.WeekListCount = int(horses.size());
            BuildExpandedRecords(ui, state, log);
        });
    }
    // The horse files as ⑤ leaves them before its build: empty.
    void emptyHorseFiles() const {
        for (const QByteArray& h : horses) WriteWholeFile(ExpandedRecordFile(h), {});
    }
};

LargeWeek& week() {
    static LargeWeek w;
    return w;
}

// Reads every input once and writes the output sizes to as many files.
void floorOnce(const LargeWeek& w, const Floor& f) {
    QByteArray all;
    all.reserve(f.inputBytes);
    for (const QString& i : f.inputs) all += rwtest::readFile(w.path(i));
    if (all.isEmpty()) all = QByteArray(1, ' ');
    qint64 from = 0;
    int n = 0;
    for (const auto& [rel, size] : f.outputs) {
        QFile out(w.path(QStringLiteral("FLOOR/%1").arg(n++)));
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
        qint64 left = size;
        while (left > 0) {
            const qint64 k = std::min(left, qint64(all.size()) - from);
            out.write(all.constData() + from, k);
            left -= k;
            from = (from + k) % all.size();
        }
    }
}

struct Times {
    double floor = 0, floorCpu = 0;
} g_build, g_press;

template <class Body, class Prepare>
void timed(benchmark::State& state, Prepare&& prepare, Body&& body, double* seconds, double* cpuSeconds) {
    double total = 0, cpu = 0, user = 0;
    for (auto _ : state) {
        state.PauseTiming();
        prepare();
        rwbench::settle();
        state.ResumeTiming();
        const rwbench::Stopwatch watch;
        body();
        total += watch.elapsed();
        user += watch.user();
        cpu += watch.cpu();
    }
    const double it = double(state.iterations());
    state.counters["user_s"] = user / it;
    state.counters["sys_s"] = (cpu - user) / it;
    *seconds = total / it;
    *cpuSeconds = cpu / it;
}

// The builder's floor, like the builder, writes into files emptied before
// the clock starts; ⑤'s floor, like ⑤, writes over the last run's files.
void emptyFloorFiles(const LargeWeek& w, const Floor& f) {
    for (int n = 0; n < int(f.outputs.size()); ++n) WriteWholeFile(w.path(QStringLiteral("FLOOR/%1").arg(n)), {});
}

void BM_BuildFloor(benchmark::State& state) {
    LargeWeek& w = week();
    timed(state, [&] { emptyFloorFiles(w, w.build); }, [&] { floorOnce(w, w.build); }, &g_build.floor, &g_build.floorCpu);
    state.counters["files_read"] = double(w.build.inputs.size());
    state.counters["files_written"] = double(w.build.outputs.size());
    state.counters["MB_in"] = double(w.build.inputBytes) / 1e6;
    state.counters["MB_out"] = double(w.build.outputBytes) / 1e6;
}

void BM_Build(benchmark::State& state) {
    LargeWeek& w = week();
    double s = 0, c = 0;
    timed(state, [&] { w.emptyHorseFiles(); }, [&] { w.runBuild(); }, &s, &c);
    state.counters["horses"] = double(w.horses.size());
    state.counters["records"] = double(w.build.outputBytes / kExRecordLength);
    if (g_build.floor > 0) state.counters["x_floor"] = s / g_build.floor;
    if (g_build.floorCpu > 0) state.counters["x_floor_cpu"] = c / g_build.floorCpu;
}

void BM_PressFloor(benchmark::State& state) {
    LargeWeek& w = week();
    timed(state, [] {}, [&] { floorOnce(w, w.press); }, &g_press.floor, &g_press.floorCpu);
    state.counters["files_read"] = double(w.press.inputs.size());
    state.counters["files_written"] = double(w.press.outputs.size());
    state.counters["MB_in"] = double(w.press.inputBytes) / 1e6;
    state.counters["MB_out"] = double(w.press.outputBytes) / 1e6;
}

void BM_Press(benchmark::State& state) {
    LargeWeek& w = week();
    double s = 0, c = 0;
    timed(state, [] {}, [&] { w.runPress(); }, &s, &c);
    if (g_press.floor > 0) state.counters["x_floor"] = s / g_press.floor;
    if (g_press.floorCpu > 0) state.counters["x_floor_cpu"] = c / g_press.floorCpu;
}

}  // namespace

BENCHMARK(BM_BuildFloor)->Name("builder's I/O floor, large week")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_Build)->Name("BuildExpandedRecords, large week")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_PressFloor)->Name("compute button's I/O floor, large week")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_Press)->Name("compute button, large week")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
