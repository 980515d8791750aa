// The past-performance browser's load and the hit list's load on a large
// history (the small test history copied under the DayKeys of earlier race
// weekends, over a thousand days, with stray names), against:
// - a plain probing scan of the same folder: all 1,562,400 candidate names of
//   each window opened in turn, as the loops stand (ProbingScan);
// - a floor that reads every file the two loads read once and writes as many
//   bytes to as many files as they write (ReadWriteFloor).
// Both loads run in one benchmark iteration (BothLoads), and apart.
#include "common/kestrav_path.h"
#include "support/recording_ui.h"
#include "common/file_ops.h"
#include "reference/hit_list.h"
#include "reference/history_fixture.h"
#include "reference/past_days.h"
#include "support/literal_day_scan.h"
#include "support/past_history.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <benchmark/benchmark.h>

namespace {

struct History {
    rwtest::AppFolder app;
    int days = 0;
    QList<QString> inputs;                          // every file the loads read
    QList<std::pair<QString, QByteArray>> outputs;  // every file they write
    History() {
        reffix::writeHistory(app);
        const QString tekichu = app.file("TEKICHU\\");
        const QList<QByteArray> source = rwtest::DayKeysIn(tekichu);
        // The fixture's newest date is 2024-06-29; move it to 2028 first.
        const rwtest::HistoryCopy copy = rwtest::CopyHistory(tekichu, source, -7 * 235, 262);
        rwtest::WriteStrayNames(tekichu, "20240629050308");
        days = int(rwtest::DayKeysIn(tekichu).size());
        rw::RecordingUi ui;
        rw::SkipLog log("bench");
        QStringList list1;
        rw::reference::KakoSeisekiLoad(ui, list1, log);
        rw::GridModel grid;
        rw::reference::TekichuListLoad(ui, grid, log);
        QDirIterator it(tekichu, QDir::Files);
        while (it.hasNext()) {
            const QString f = it.next();
            if (f.endsWith("tekichu.txt") || f.endsWith("lupRCM.txt")) inputs.append(f);
        }
        QDirIterator out(app.file("SOKUDO\\"), QDir::Files);
        while (out.hasNext()) {
            const QString f = out.next();
            outputs.append({f, rwtest::readFile(f)});
        }
        for (const char* f : {"TEKICHU\\RACEIDYMDLKN.txt", "TEKICHU\\ATARILIST.txt"})
            outputs.append({app.file(f), app.read(f)});
        (void)copy;
    }
};

History& history() {
    static History h;
    return h;
}

void counters(benchmark::State& state) {
    state.counters["days"] = history().days;
    state.counters["files_read"] = double(history().inputs.size());
    state.counters["files_written"] = double(history().outputs.size());
}

void BothLoads(benchmark::State& state) {
    History& h = history();
    for (auto _ : state) {
        rw::RecordingUi ui;
        rw::SkipLog log("bench");
        QStringList list1;
        rw::reference::KakoSeisekiLoad(ui, list1, log);
        rw::GridModel grid;
        rw::reference::TekichuListLoad(ui, grid, log);
        benchmark::DoNotOptimize(list1.size());
    }
    (void)h;
    counters(state);
}
BENCHMARK(BothLoads)->Unit(benchmark::kMillisecond)->UseRealTime();

void BrowserLoad(benchmark::State& state) {
    history();
    for (auto _ : state) {
        rw::RecordingUi ui;
        rw::SkipLog log("bench");
        QStringList list1;
        rw::reference::KakoSeisekiLoad(ui, list1, log);
    }
    counters(state);
}
BENCHMARK(BrowserLoad)->Unit(benchmark::kMillisecond)->UseRealTime();

void HitListLoad(benchmark::State& state) {
    history();
    for (auto _ : state) {
        rw::RecordingUi ui;
        rw::SkipLog log("bench");
        rw::GridModel grid;
        rw::reference::TekichuListLoad(ui, grid, log);
    }
    counters(state);
}
BENCHMARK(HitListLoad)->Unit(benchmark::kMillisecond)->UseRealTime();

void ProbingScan(benchmark::State& state) {
    history();
    for (auto _ : state) {
        rw::RecordingUi ui, hitUi;
        benchmark::DoNotOptimize(rwtest::literalDayScan(ui, hitUi).items.size());
    }
    counters(state);
}
BENCHMARK(ProbingScan)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

void ReadWriteFloor(benchmark::State& state) {
    History& h = history();
    QTemporaryDir scratch;
    for (auto _ : state) {
        qint64 bytes = 0;
        for (const QString& f : h.inputs) bytes += rwtest::readFile(f).size();
        int i = 0;
        for (const auto& [name, content] : h.outputs)
            rw::WriteWholeFile(scratch.path() + "/" + QString::number(i++), content);
        benchmark::DoNotOptimize(bytes);
    }
    counters(state);
}
BENCHMARK(ReadWriteFloor)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
