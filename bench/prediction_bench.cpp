// ⑥ the prediction run on the large sample week, Friday (normal mode) and
// Monday (results mode), against an I/O floor measured in the same run:
// reading the run's inputs once and writing as many bytes to as many files
// as the run writes. "x_floor" is the run's elapsed time per run divided by
// the floor's; "x_floor_cpu" the same for processor time. The phases up to
// the runner files (1-8) are timed on their own against their own floor.
//
// "with writers" runs the same ⑥ with the per-race writers the program
// installs (race card, day sheets, win file, blocks, pages, external index);
// its floor adds every file those writers leave.
//
// The week: the large sample after ① and ②. Until the expanded-record steps
// run here, every horse of the week gets one expanded record per run of its
// run file (as ⑤ writes them), with model speeds drawn from a fixed seed.
#include "sample_week.h"
#include "app/race_writers.h"
#include "app/startup.h"
#include "support/stub_expanded.h"

#include "common/file_ops.h"
#include "common/fixed_text.h"
#include "common/kestrav_path.h"
#include "common/record_file.h"
#include "jvdata/records.h"
#include "jvdata/structure.h"
#include "jvdata/week_download.h"
#include "model/expanded_record.h"
#include "prediction/prediction_run.h"
#include "prediction/race_list.h"
#include "prediction/runner_files.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <benchmark/benchmark.h>

#include <map>

using namespace rw;
using namespace rw::jv;

namespace {

struct Files {
    QList<QString> inputs;
    QList<std::pair<QString, qint64>> outputs;
    qint64 in = 0, out = 0;
};

QStringList filesBelow(const QString& root, const QStringList& folders) {
    QStringList out;
    for (const QString& f : folders) {
        QDirIterator it(root + f, QDir::Files);
        while (it.hasNext()) out.append(f + QLatin1Char('/') + QFileInfo(it.next()).fileName());
    }
    return out;
}

struct PredictionWeek : rwbench::SampleWeek {
    Files all, listing, writers;  // the whole run; phases 1 to 8; the run with the installed writers

    explicit PredictionWeek(sample::Scenario scenario) : SampleWeek(sample::Scale::Large, scenario) {
        run("download", [](UiPort& ui, JvLink& jv, SkipLog& log) {
            DownloadState state;
            DownloadThisWeek(ui, jv, state, log);
        });
        QDir().mkpath(path(QStringLiteral("UMAGOTOTHISWEEKN")));
        run("structure", [](UiPort& ui, JvLink&, SkipLog& log) {
            if (!RunStructureProcessing(ui, log)) std::abort();
        });
        writeExpandedRecords();
        for (const char* d : {"RACE", "KAIME", "UMAREN", "WIDE", "UMATAN", "SANRENPUKU", "SANRENTAN", "TEKICHU", "SOKUDO"})
            QDir().mkpath(path(QLatin1String(d)));
        runPrediction();
        const QStringList inputs = QStringList{QStringLiteral("RATHISWEEKNNEW.dat"), QStringLiteral("SETHISWEEKNNEW.dat"),
                                               QStringLiteral("HRTHISWEEKN.dat"), QStringLiteral("JRACODE/CodeTable.csv")} +
                                   filesBelow(app.path(), {QStringLiteral("UMAGOTOEXTHISWEEKN")});
        const QStringList lists = {QStringLiteral("RACETHISWEEKN.dat"), QStringLiteral("RACETHISWEEKNSYOSAI.dat"),
                                   QStringLiteral("SOKUDO/RACEID.txt")};
        for (const QString& f : inputs) {
            all.inputs.append(f), listing.inputs.append(f);
            all.in += QFileInfo(path(f)).size();
        }
        listing.in = all.in;
        for (const QString& f : lists + filesBelow(app.path(), {QStringLiteral("RACE")}))
            listing.outputs.append({f, QFileInfo(path(f)).size()});
        for (const QString& f : lists + filesBelow(app.path(), {QStringLiteral("RACE"), QStringLiteral("KAIME"),
                                                                QStringLiteral("UMAREN"), QStringLiteral("WIDE"),
                                                                QStringLiteral("UMATAN"), QStringLiteral("SANRENPUKU"),
                                                                QStringLiteral("SANRENTAN"), QStringLiteral("TEKICHU")}))
            all.outputs.append({f, QFileInfo(path(f)).size()});
        for (const auto& o : all.outputs) all.out += o.second;
        for (const auto& o : listing.outputs) listing.out += o.second;

        // The writers' run: its outputs are the week lists and every file
        // in an output folder, found by emptying those folders first and
        // keeping what the run writes again.
        for (const QString& f : rw::WorkingFolders()) QDir().mkpath(path(f));
        writers.inputs = all.inputs;
        writers.in = all.in;
        const auto output = [&](const QString& f) {
            if (lists.contains(f)) return true;
            if (!f.contains(QLatin1Char('/'))) return false;
            for (const char* d :
                 {"JVDATA/", "OPTION1N/", "JRACODE/", "UMAGOTOTHISWEEKN/", "UMAGOTOEXTHISWEEKN/", "FLOOR/"})
                if (f.startsWith(QLatin1String(d))) return false;
            return true;
        };
        const auto every = [&] {
            QStringList files;
            QDirIterator it(app.path(), QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext()) files.append(QDir(app.path()).relativeFilePath(it.next()));
            return files;
        };
        for (const QString& f : every())
            if (output(f)) QFile::remove(path(f));
        writerSkips = runWithWriters();
        for (const QString& f : every())
            if (output(f)) writers.outputs.append({f, QFileInfo(path(f)).size()});
        for (const auto& o : writers.outputs) writers.out += o.second;
    }

    size_t writerSkips = 0;
    size_t runWithWriters() {
        rw::SkipLog log("prediction with writers");
        prediction::RunState s;
        if (!prediction::RunPrediction(ui, s, rw::app::InstallRaceWriters(), log)) std::abort();
        return log.skipped().size();
    }

    void writeExpandedRecords() {
        if (rwtest::WriteStubExpandedRecords(app.path(), 7) == 0) std::abort();
    }

    void runPrediction() {
        rw::SkipLog log("prediction");
        prediction::RunState s;
        if (!prediction::RunPrediction(ui, s, {}, log)) std::abort();
    }
    void runListing() {
        rw::SkipLog log("prediction phases 1-8");
        prediction::RunState s;
        prediction::RunWork work;
        AppPath = GetAppPath();
        prediction::LoadCodeTable(s.CodeTable);
        prediction::DecideResultsMode(s);
        prediction::EmptyWeekListFiles(log);
        prediction::BuildRaceList(s, work, log);
        prediction::CreateRunnerRecords(s, work, log);
        prediction::LoadRaceTable(s, work);
        prediction::FillRunnerRecords(s, work, log);
    }
};

PredictionWeek& week(bool monday) {
    if (monday) {
        static PredictionWeek mon(sample::Scenario::Monday);
        return mon;
    }
    static PredictionWeek friday(sample::Scenario::Friday);
    return friday;
}

// Every input read once, as whole files; every output written with its
// size from one buffer.
void floorOnce(const PredictionWeek& w, const Files& f) {
    static const QByteArray chunk(1 << 20, 'x');
    qint64 seen = 0;
    for (const QString& in : f.inputs) seen += rwtest::readFile(w.path(in)).size();
    if (seen != f.in) std::abort();
    QDir().mkpath(w.path(QStringLiteral("FLOOR")));
    for (const auto& [rel, size] : f.outputs) {
        QFile out(w.path(QStringLiteral("FLOOR/") + QString(rel).replace(QLatin1Char('/'), QLatin1Char('_'))));
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) std::abort();
        for (qint64 left = size; left > 0;) {
            const qint64 n = std::min(left, qint64(chunk.size()));
            if (out.write(chunk.constData(), n) != n) std::abort();
            left -= n;
        }
    }
}

std::map<std::string, std::pair<double, double>> g_floor;  // elapsed, cpu per run

void timedFloor(benchmark::State& state, PredictionWeek& w, const Files& f, const std::string& key);

template <class F>
void timed(benchmark::State& state, F&& once, double& seconds, double& cpuSeconds) {
    double total = 0, cpu = 0, user = 0;
    for (auto _ : state) {
        state.PauseTiming();
        rwbench::settle();
        state.ResumeTiming();
        const rwbench::Stopwatch watch;
        once();
        total += watch.elapsed();
        user += watch.user();
        cpu += watch.cpu();
    }
    state.counters["user_s"] = user / double(state.iterations());
    state.counters["sys_s"] = (cpu - user) / double(state.iterations());
    seconds = total / double(state.iterations());
    cpuSeconds = cpu / double(state.iterations());
}

void BM_Floor(benchmark::State& state, bool monday, bool phases) {
    PredictionWeek& w = week(monday);
    const Files& f = phases ? w.listing : w.all;
    timedFloor(state, w, f, std::to_string(monday) + std::to_string(phases));
}

void timedFloor(benchmark::State& state, PredictionWeek& w, const Files& f, const std::string& key) {
    double s = 0, c = 0;
    timed(state, [&] { floorOnce(w, f); }, s, c);
    g_floor[key] = {s, c};
    state.counters["files_written"] = double(f.outputs.size());
    state.counters["MB_in"] = double(f.in) / 1e6;
    state.counters["MB_out"] = double(f.out) / 1e6;
}

void BM_Run(benchmark::State& state, bool monday, bool phases) {
    PredictionWeek& w = week(monday);
    double s = 0, c = 0;
    timed(state, [&] { phases ? w.runListing() : w.runPrediction(); }, s, c);
    const auto fl = g_floor[std::to_string(monday) + std::to_string(phases)];
    if (fl.first > 0) state.counters["x_floor"] = s / fl.first;
    if (fl.second > 0) state.counters["x_floor_cpu"] = c / fl.second;
}

void BM_WritersFloor(benchmark::State& state, bool monday) {
    PredictionWeek& w = week(monday);
    timedFloor(state, w, w.writers, std::to_string(monday) + "w");
    state.counters["files_read"] = double(w.writers.inputs.size());
    state.counters["skipped_at_setup"] = double(w.writerSkips);
}

void BM_RunWithWriters(benchmark::State& state, bool monday) {
    PredictionWeek& w = week(monday);
    double s = 0, c = 0;
    size_t skips = 0;
    timed(state, [&] { skips = w.runWithWriters(); }, s, c);
    const auto fl = g_floor[std::to_string(monday) + "w"];
    if (fl.first > 0) state.counters["x_floor"] = s / fl.first;
    if (fl.second > 0) state.counters["x_floor_cpu"] = c / fl.second;
    state.counters["skipped"] = double(skips);
}

}  // namespace

BENCHMARK_CAPTURE(BM_Floor, friday_phases, false, true)->Name("floor of phases 1-8, Friday")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK_CAPTURE(BM_Run, friday_phases, false, true)->Name("phases 1-8, large Friday week")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK_CAPTURE(BM_Floor, friday, false, false)->Name("floor of the whole run, Friday")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK_CAPTURE(BM_Run, friday, false, false)->Name("prediction run, large Friday week")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK_CAPTURE(BM_Floor, monday, true, false)->Name("floor of the whole run, Monday")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK_CAPTURE(BM_Run, monday, true, false)->Name("prediction run, large Monday week")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK_CAPTURE(BM_WritersFloor, friday, false)->Name("floor of the run with writers, Friday")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK_CAPTURE(BM_RunWithWriters, friday, false)->Name("prediction run with writers, large Friday week")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK_CAPTURE(BM_WritersFloor, monday, true)->Name("floor of the run with writers, Monday")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK_CAPTURE(BM_RunWithWriters, monday, true)->Name("prediction run with writers, large Monday week")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
