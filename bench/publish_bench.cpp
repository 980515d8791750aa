// The seven per-race exports and web writers over the large sample week
// (official results, so the day sheets look up payouts), against writing
// the bytes they leave once to as many files. The counters "x_write" and
// "x_write_cpu" of the writers' run are its elapsed and processor time per
// run divided by the plain write's (measured first, in the same run).
//
// The week: the large sample, downloaded through the file-backed JV-Link as
// ① does (its payoff file and code table); the races' run states are filled
// by hand from the sample's description of every race, as the prediction
// run would leave them for its writers.
#include "sample_week.h"

#include "common/file_ops.h"
#include "jvdata/week_download.h"
#include "prediction/code_table.h"
#include "publish/day_sheets.h"
#include "publish/print_page.h"
#include "publish/site_page.h"
#include "publish/speed_index.h"
#include "publish/win_import.h"
#include "publish/wordpress_blocks.h"
#include "publish/race_fixture.h"

#include <QDir>
#include <QDirIterator>

#include <benchmark/benchmark.h>

using namespace rw;
using namespace rw::jv;
using rw::prediction::RunState;

namespace {

const char* const kFolders[] = {"TANFUKU", "TANFUKU2", "TANSHO", "SOKUDO", "ravelmont_wp", "ravelmont_yosou"};

struct LargeWeek : rwbench::SampleWeek {
    RunState base;                // code table and race table of the week
    QList<RunState> races;        // per race: what the writers read of it
    QList<std::pair<QString, QByteArray>> outputs;
    qint64 outputBytes = 0;

    LargeWeek() : SampleWeek(rw::sample::Scale::Large, rw::sample::Scenario::Monday) {
        run("download", [](UiPort& ui, JvLink& jv, SkipLog& log) {
            DownloadState state;
            DownloadThisWeek(ui, jv, state, log);
        });
        for (const char* f : kFolders) QDir().mkpath(path(QLatin1String(f)));
        prediction::LoadCodeTable(base.CodeTable);
        base.ResultsMode = 1;
        sample::Options o;
        o.scale = sample::Scale::Large;
        o.scenario = sample::Scenario::Monday;
        const sample::Summary summary = sample::generate(o, app.path());
        int index = 0;
        for (const sample::WeekRace& r : summary.weekRaces) {
            rwtest::publish::Race race;
            race.key16 = r.raceKey16;
            race.distance = "1600";
            for (int h = 1; h <= r.runners; ++h) {
                const int rank = (h * 7) % r.runners + 1;  // a permutation of 1..runners for the usual field sizes
                race.runners.push_back({"1", "サンプルホース", "牡", "04", "56.0", "騎手", "調教師", rank,
                                        55.0f + 0.1f * float(h)});
            }
            static const char* const pairs[] = {"0102", "0103", "0203", "0104", "0204", "0304"};
            static const char* const trios[] = {"010203", "010204", "010304", "020304", "010205", "010305", "020305"};
            race.pairs.assign(std::begin(pairs), std::end(pairs));
            race.trios.assign(std::begin(trios), std::end(trios));
            RunState s;
            rwtest::publish::LoadRace(s, race, ++index);
            base.RaceTable = s.RaceTable.size() > base.RaceTable.size() ? s.RaceTable : base.RaceTable;
            base.RaceTable[index] = s.RaceTable[index];
            races.append(s);
        }
        runWriters();
        for (const char* f : kFolders) {
            QDirIterator it(path(QLatin1String(f)), QDir::Files);
            while (it.hasNext()) {
                const QString p = it.next();
                outputs.append({QString::fromLatin1(f) + u'/' + QFileInfo(p).fileName(), rwtest::readFile(p)});
                outputBytes += outputs.last().second.size();
            }
        }
    }

    // One run's writers over every race; stops the bench when one fails.
    void runWriters() {
        RunState s = base;
        SkipLog log("writers");
        for (const RunState& race : races) {
            static_cast<prediction::HorseArrays&>(s) = race;
            static_cast<prediction::BetLists&>(s) = race;
            s.CurrentHorse = race.CurrentHorse;
            s.RaceIndex = race.RaceIndex;
            s.HorseCount = race.HorseCount;
            for (auto w : {publish::WriteTanfukuCsv, publish::WriteTanfuku2Csv, publish::WriteTanshoCsv,
                           publish::WriteWordPressBlocks, publish::WriteSitePage, publish::WritePrintPage,
                           publish::WriteSokudoDayCsv})
                log.step("writer", [&] { w(s); });
        }
        if (!log.empty()) {
            for (const std::string& s : log.skipped()) std::fprintf(stderr, "skipped %s\n", s.c_str());
            std::abort();
        }
    }
};

LargeWeek& week() {
    static LargeWeek w;
    return w;
}

double g_writeSeconds = 0, g_writeCpuSeconds = 0;

void BM_WriteOutputBytes(benchmark::State& state) {
    LargeWeek& w = week();
    QDir().mkpath(w.path(QStringLiteral("COPY")));
    double total = 0, cpu = 0;
    for (auto _ : state) {
        state.PauseTiming();
        rwbench::settle();
        state.ResumeTiming();
        const rwbench::Stopwatch watch;
        for (const auto& [name, bytes] : w.outputs)
            WriteWholeFile(w.path(QStringLiteral("COPY/") + QString(name).replace(u'/', u'_')), bytes);
        total += watch.elapsed();
        cpu += watch.cpu();
    }
    g_writeSeconds = total / double(state.iterations());
    g_writeCpuSeconds = cpu / double(state.iterations());
    state.counters["files"] = double(w.outputs.size());
    state.counters["MB"] = double(w.outputBytes) / 1e6;
}

void BM_Writers(benchmark::State& state) {
    LargeWeek& w = week();
    double total = 0, cpu = 0;
    for (auto _ : state) {
        state.PauseTiming();
        rwbench::settle();
        state.ResumeTiming();
        const rwbench::Stopwatch watch;
        w.runWriters();
        total += watch.elapsed();
        cpu += watch.cpu();
    }
    state.counters["races"] = double(w.races.size());
    if (g_writeSeconds > 0) state.counters["x_write"] = total / double(state.iterations()) / g_writeSeconds;
    if (g_writeCpuSeconds > 0) state.counters["x_write_cpu"] = cpu / double(state.iterations()) / g_writeCpuSeconds;
}

}  // namespace

BENCHMARK(BM_WriteOutputBytes)->Name("write the writers' bytes once")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_Writers)->Name("seven writers over the large week")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
