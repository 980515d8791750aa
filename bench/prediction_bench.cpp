// ⑥ the prediction run on the large sample week, Friday (normal mode) and
// Monday (results mode), against an I/O floor measured in the same run:
// reading the run's inputs once and writing as many bytes to as many files
// as the run writes. "x_floor" is the run's elapsed time per run divided by
// the floor's; "x_floor_cpu" the same for processor time. The phases up to
// the runner files (1-8) are timed on their own against their own floor,
// and the whole run twice: with its own files only (the writer slots
// empty) and with every per-race writer of the system in its slot, as the
// prediction window runs it.
//
// The week: the large sample taken along the real road: ① and ②, the
// expanded-records window's load, ④ and ⑤ (the horses' expanded records
// with the compute pass's speeds).
#include "sample_week.h"

#include "common/file_ops.h"
#include "common/fixed_text.h"
#include "common/kestrav_path.h"
#include "common/record_file.h"
#include "jvdata/records.h"
#include "jvdata/structure.h"
#include "jvdata/week_download.h"
#include "app/prediction_load.h"
#include "app/startup.h"
#include "model/compute_button.h"
#include "model/expanded_record.h"
#include "model/expanded_state.h"
#include "model/expanded_window.h"
#include "model/previous_day_fix.h"
#include "prediction/prediction_run.h"
#include "prediction/race_list.h"
#include "prediction/runner_files.h"

#include <QDateTime>
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

// Every file of the folder with its size and time of last change.
std::map<QString, std::pair<qint64, qint64>> snapshot(const QString& root) {
    std::map<QString, std::pair<qint64, qint64>> out;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo f(it.next());
        out[QDir(root).relativeFilePath(f.filePath())] = {f.size(), f.lastModified().toMSecsSinceEpoch()};
    }
    return out;
}

struct PredictionWeek : rwbench::SampleWeek {
    Files listing, own, all;  // phases 1 to 8; the run without writers; the run with them

    explicit PredictionWeek(sample::Scenario scenario) : SampleWeek(sample::Scale::Large, scenario) {
        for (const QString& f : WorkingFolders()) QDir().mkpath(path(f));  // made at start-up
        run("download", [](UiPort& ui, JvLink& jv, SkipLog& log) {
            DownloadState state;
            DownloadThisWeek(ui, jv, state, log);
        });
        run("structure", [](UiPort& ui, JvLink&, SkipLog& log) {
            if (!RunStructureProcessing(ui, log)) std::abort();
        });
        model::ExpandedState ex;
        run("expanded-records window", [&](UiPort&, JvLink&, SkipLog& log) { model::LoadExpandedWindow(ex, log); });
        run("previous-day fix", [&](UiPort& ui, JvLink&, SkipLog&) {
            if (!model::RunPreviousDayFix(ui, ex)) std::abort();
        });
        run("compute", [&](UiPort& ui, JvLink&, SkipLog& log) {
            if (!model::RunComputeButton(ui, ex, log)) std::abort();
        });

        const QStringList inputs =
            QStringList{QStringLiteral("RATHISWEEKNNEW.dat"), QStringLiteral("SETHISWEEKNNEW.dat"),
                        QStringLiteral("HRTHISWEEKN.dat"), QStringLiteral("JRACODE/CodeTable.csv")};
        qint64 in = 0;
        for (const QString& f : inputs) in += QFileInfo(path(f)).size();
        QDirIterator horses(path(QStringLiteral("UMAGOTOEXTHISWEEKN")), QDir::Files);
        QStringList exFiles;
        while (horses.hasNext()) {
            const QFileInfo f(horses.next());
            exFiles << QStringLiteral("UMAGOTOEXTHISWEEKN/") + f.fileName();
            in += f.size();
        }
        for (Files* f : {&listing, &own, &all}) f->inputs = inputs + exFiles, f->in = in;
        // What each run writes: the files it creates or rewrites.
        auto written = [&](Files& f, auto&& once) {
            const auto before = snapshot(app.path());
            once();
            for (const auto& [rel, sizeTime] : snapshot(app.path())) {
                const auto b = before.find(rel);
                if (b == before.end() || b->second != sizeTime)
                    f.outputs.append({rel, sizeTime.first}), f.out += sizeTime.first;
            }
        };
        written(listing, [&] { runListing(); });
        written(own, [&] { runPrediction(false); });
        written(all, [&] { runPrediction(true); });
    }

    void runPrediction(bool writers) {
        rw::SkipLog log("prediction");
        prediction::RunState s;
        if (writers ? !app::LoadPredictionWindow(ui, s, log) : !prediction::RunPrediction(ui, s, {}, log)) std::abort();
        if (!log.empty()) {
            log.report();
            std::abort();
        }
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

enum class Scope { Listing, Own, All };

const Files& filesOf(const PredictionWeek& w, Scope p) {
    return p == Scope::Listing ? w.listing : p == Scope::Own ? w.own : w.all;
}

void BM_Floor(benchmark::State& state, bool monday, Scope scope) {
    PredictionWeek& w = week(monday);
    const Files& f = filesOf(w, scope);
    double s = 0, c = 0;
    timed(
        state, [&] { floorOnce(w, f); }, s, c);
    g_floor[std::to_string(monday) + std::to_string(int(scope))] = {s, c};
    state.counters["files_written"] = double(f.outputs.size());
    state.counters["MB_in"] = double(f.in) / 1e6;
    state.counters["MB_out"] = double(f.out) / 1e6;
}

void BM_Run(benchmark::State& state, bool monday, Scope scope) {
    PredictionWeek& w = week(monday);
    double s = 0, c = 0;
    timed(
        state, [&] { scope == Scope::Listing ? w.runListing() : w.runPrediction(scope == Scope::All); }, s, c);
    const auto fl = g_floor[std::to_string(monday) + std::to_string(int(scope))];
    if (fl.first > 0) state.counters["x_floor"] = s / fl.first;
    if (fl.second > 0) state.counters["x_floor_cpu"] = c / fl.second;
}

}  // namespace

// clang-format off
BENCHMARK_CAPTURE(BM_Floor, friday_phases, false, Scope::Listing)->Name("floor of phases 1-8, Friday")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK_CAPTURE(BM_Run, friday_phases, false, Scope::Listing)->Name("phases 1-8, large Friday week")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK_CAPTURE(BM_Floor, friday_own, false, Scope::Own)->Name("floor of the run without writers, Friday")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK_CAPTURE(BM_Run, friday_own, false, Scope::Own)->Name("prediction run without writers, large Friday week")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK_CAPTURE(BM_Floor, friday, false, Scope::All)->Name("floor of the run with every writer, Friday")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK_CAPTURE(BM_Run, friday, false, Scope::All)->Name("prediction run with every writer, large Friday week")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK_CAPTURE(BM_Floor, monday_own, true, Scope::Own)->Name("floor of the run without writers, Monday")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK_CAPTURE(BM_Run, monday_own, true, Scope::Own)->Name("prediction run without writers, large Monday week")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK_CAPTURE(BM_Floor, monday, true, Scope::All)->Name("floor of the run with every writer, Monday")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK_CAPTURE(BM_Run, monday, true, Scope::All)->Name("prediction run with every writer, large Monday week")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
// clang-format on
