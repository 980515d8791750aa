// The odds tables of the typical sample week, against writing the same
// table bytes once to as many files. The week goes through the system's own
// road first: the week's download, structure processing, both odds
// downloads and the flash odds fetch, all from the sample's JV-Link data.
// The counters "x_write" and "x_write_cpu" of a table run are its elapsed and
// processor time per run divided by the plain write's (measured first, in
// the same run). Every timed run starts after the writes of the one before
// have reached the disk.
#include "app/kestrav_path.h"
#include "common/recording_ui.h"
#include "common/skip.h"
#include "jvdata/flash_odds.h"
#include "jvdata/jvlink.h"
#include "jvdata/odds_download.h"
#include "jvdata/odds_tables.h"
#include "jvdata/structure.h"
#include "jvdata/week_download.h"
#include "sample/generator.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include <unistd.h>

using namespace rw;
using namespace rw::jv;

namespace {

struct TypicalWeek {
    QTemporaryDir dir;
    // The tables one load writes, with their bytes.
    QList<std::pair<QString, QByteArray>> tables;
    qint64 tableBytes = 0;
    int sourceLines = 0;

    QString path(const QString& rel) const { return dir.path() + QLatin1Char('/') + rel; }

    TypicalWeek() {
        sample::Options o;
        o.scale = sample::Scale::Typical;
        o.scenario = sample::Scenario::Friday;
        sample::generate(o, dir.path());
        QDir().mkpath(path(QStringLiteral("KAIME")));
        SetProgramFolder(dir.path());
        AppPath = GetAppPath();

        RecordingUi ui;
        SkipLog log("odds bench setup");
        auto jv = createJvLink();
        DownloadState week;
        DownloadThisWeek(ui, *jv, week, log);
        RunStructureProcessing(ui, log);
        OddsDownloadState odds;
        DownloadWeekOdds(ui, *jv, odds, log);
        DownloadWeekTrifectaOdds(ui, *jv, odds, log);
        FetchFlashOdds(ui, *jv, log);
        if (!ui.messages.isEmpty() || !log.empty()) {
            log.report();
            for (const QString& m : ui.messages) std::fprintf(stderr, "message: %s\n", qPrintable(m));
            std::abort();
        }
        for (const char* f : {"O2THISWEEKN.dat", "O4THISWEEKN.dat", "O5THISWEEKN.dat", "O6THISWEEKN.dat"}) {
            QFile in(path(QLatin1String(f)));
            if (!in.open(QIODevice::ReadOnly)) std::abort();
            sourceLines += int(in.readAll().count("\r\n"));
        }

        OddsGrids grids;
        SkipLog build("odds tables");
        const int written = BuildOddsTables(grids, 0, build);
        QDirIterator it(path(QStringLiteral("KAIME")), QDir::Files);
        while (it.hasNext()) {
            const QString p = it.next();
            QFile in(p);
            if (!in.open(QIODevice::ReadOnly)) std::abort();
            tables.append({QFileInfo(p).fileName(), in.readAll()});
            tableBytes += tables.last().second.size();
        }
        // One table per source line: each race has one line per kind.
        if (written != tables.size() || written != sourceLines || !build.empty()) std::abort();
    }
};

TypicalWeek& week() {
    static TypicalWeek w;
    return w;
}

double g_writeSeconds = 0, g_writeCpuSeconds = 0;

double cpuSeconds() { return double(std::clock()) / CLOCKS_PER_SEC; }

void writeOnce(const TypicalWeek& w) {
    for (const auto& [name, bytes] : w.tables) {
        QFile out(w.path(QStringLiteral("COPY/") + name));
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size()) std::abort();
    }
}

void BM_WriteTableBytes(benchmark::State& state) {
    TypicalWeek& w = week();
    QDir().mkpath(w.path(QStringLiteral("COPY")));
    writeOnce(w);
    double total = 0, cpu = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ::sync();
        state.ResumeTiming();
        const auto t0 = std::chrono::steady_clock::now();
        const double c0 = cpuSeconds();
        writeOnce(w);
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        cpu += cpuSeconds() - c0;
    }
    g_writeSeconds = total / double(state.iterations());
    g_writeCpuSeconds = cpu / double(state.iterations());
    state.counters["files"] = double(w.tables.size());
    state.counters["MB"] = double(w.tableBytes) / 1e6;
}

void BM_OddsTables(benchmark::State& state) {
    TypicalWeek& w = week();
    const auto flag = std::int16_t(state.range(0));
    OddsGrids grids;
    double total = 0, cpu = 0;
    int written = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ::sync();
        state.ResumeTiming();
        SkipLog log("odds tables");
        const auto t0 = std::chrono::steady_clock::now();
        const double c0 = cpuSeconds();
        written = BuildOddsTables(grids, flag, log);
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        cpu += cpuSeconds() - c0;
    }
    if (written != w.tables.size()) std::abort();
    state.counters["files"] = double(written);
    state.counters["source_lines"] = double(w.sourceLines);
    if (g_writeSeconds > 0) state.counters["x_write"] = total / double(state.iterations()) / g_writeSeconds;
    if (g_writeCpuSeconds > 0) state.counters["x_write_cpu"] = cpu / double(state.iterations()) / g_writeCpuSeconds;
}

}  // namespace

BENCHMARK(BM_WriteTableBytes)->Name("write the same table bytes once")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_OddsTables)->Name("odds tables, this week's odds (flag 0)")->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_OddsTables)->Name("odds tables, flash odds (flag 1)")->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
