// The odds tables of the typical sample week, against writing the same
// table bytes once to as many files. The week goes through the system's own
// road first: the week's download, structure processing, both odds
// downloads and the flash odds fetch, all from the sample's JV-Link data.
// The counters "x_write" and "x_write_cpu" of a table run are its elapsed and
// processor time per run divided by the plain write's (measured first, in
// the same run). Every timed run starts after the writes of the one before
// have reached the disk.
#include "sample_week.h"

#include "common/file_ops.h"
#include "common/text_file.h"
#include "jvdata/flash_odds.h"
#include "jvdata/jvlink.h"
#include "jvdata/odds_download.h"
#include "jvdata/odds_tables.h"
#include "jvdata/store_files.h"
#include "jvdata/structure.h"
#include "jvdata/week_download.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <benchmark/benchmark.h>

using namespace rw;
using namespace rw::jv;

namespace {

struct TypicalWeek : rwbench::SampleWeek {
    // The tables one load writes, with their bytes.
    QList<std::pair<QString, QByteArray>> tables;
    qint64 tableBytes = 0;
    int sourceLines = 0;

    TypicalWeek() : SampleWeek(sample::Scale::Typical, sample::Scenario::Friday) {
        QDir().mkpath(path(QString::fromUtf16(kKaimeFolder)));
        run("download", [](UiPort& ui, JvLink& jv, SkipLog& log) {
            DownloadState week;
            DownloadThisWeek(ui, jv, week, log);
        });
        run("structure", [](UiPort& ui, JvLink&, SkipLog& log) { RunStructureProcessing(ui, log); });
        run("odds downloads", [](UiPort& ui, JvLink& jv, SkipLog& log) {
            OddsDownloadState odds;
            DownloadWeekOdds(ui, jv, odds, log);
            DownloadWeekTrifectaOdds(ui, jv, odds, log);
        });
        run("flash odds", [](UiPort& ui, JvLink& jv, SkipLog& log) { FetchFlashOdds(ui, jv, log); });
        for (const char16_t* f : {kO2WeekFile, kO4WeekFile, kO5WeekFile, kO6WeekFile})
            sourceLines += int(readLines(path(QString::fromUtf16(f))).size());

        OddsGrids grids;
        SkipLog build("odds tables");
        const int written = BuildOddsTables(grids, 0, build);
        QDirIterator it(path(QString::fromUtf16(kKaimeFolder)), QDir::Files);
        while (it.hasNext()) {
            const QString p = it.next();
            tables.append({QFileInfo(p).fileName(), rwtest::readFile(p)});
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

void writeOnce(const TypicalWeek& w) {
    for (const auto& [name, bytes] : w.tables) WriteWholeFile(w.path(QStringLiteral("COPY/") + name), bytes);
}

void BM_WriteTableBytes(benchmark::State& state) {
    TypicalWeek& w = week();
    QDir().mkpath(w.path(QStringLiteral("COPY")));
    writeOnce(w);
    double total = 0, cpu = 0;
    for (auto _ : state) {
        state.PauseTiming();
        rwbench::settle();
        state.ResumeTiming();
        const rwbench::Stopwatch watch;
        writeOnce(w);
        total += watch.elapsed();
        cpu += watch.cpu();
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
        rwbench::settle();
        state.ResumeTiming();
        SkipLog log("odds tables");
        const rwbench::Stopwatch watch;
        written = BuildOddsTables(grids, flag, log);
        total += watch.elapsed();
        cpu += watch.cpu();
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
