// ② structure processing on the large sample week against a plain copy of
// the same bytes: reading the week files and writing as many bytes to as
// many files as ② writes. The counters "x_copy" and "x_copy_cpu" of the
// structure run are its elapsed and processor time per run divided by the
// copy's. ② with the menu's Option1 adds cancellation processing (the flash
// feed of the week's last three race days, the NEW files and every run file
// rebuilt); its "x_structure" is its time divided by ②'s own.
//
// The week: the large sample (three race days at three racecourses, three
// years of past runs, official results), downloaded through the file-backed
// JV-Link as ① does.
#include "sample_week.h"

#include "common/file_ops.h"
#include "common/record_file.h"
#include "jvdata/cancellation.h"
#include "jvdata/records.h"
#include "jvdata/store_files.h"
#include "jvdata/structure.h"
#include "jvdata/week_download.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <benchmark/benchmark.h>

#include <algorithm>

using namespace rw;
using namespace rw::jv;

namespace {

struct LargeWeek : rwbench::SampleWeek {
    QByteArray seWeek;  // SETHISWEEKN.dat as downloaded (② rewrites it)
    QList<QString> inputs;
    QList<std::pair<QString, qint64>> outputs;  // relative name, size after ②
    qint64 inputBytes = 0, outputBytes = 0;

    LargeWeek() : SampleWeek(rw::sample::Scale::Large, rw::sample::Scenario::Monday) {
        run("download", [](UiPort& ui, JvLink& jv, SkipLog& log) {
            DownloadState state;
            DownloadThisWeek(ui, jv, state, log);
        });
        seWeek = rwtest::readFile(path(QString::fromUtf16(kSeWeekFile)));
        QDir().mkpath(path(QString::fromUtf16(kRunFileFolder)));
        for (const char16_t* f : {kRaWeekFile, kSeWeekFile, kUmWeekFile}) inputs.append(QString::fromUtf16(f));
        for (const QString& f : inputs) inputBytes += QFileInfo(path(f)).size();

        runStructure();
        // What ② writes: the NEW files, the lists, the rewritten week file
        // and every run file.
        for (const char16_t* name : {kRaNewFile, kRaNewdFile, kSeWeekFile, kSeNewFile, kSeNewdFile, kUmNewFile,
                                     kHorseListFile, kDamListFile}) {
            const QString f = QString::fromUtf16(name);
            outputs.append({f, QFileInfo(path(f)).size()});
        }
        const QString runFolder = QString::fromUtf16(kRunFileFolder);
        QDirIterator it(path(runFolder), QDir::Files);
        while (it.hasNext()) {
            const QString p = it.next();
            outputs.append({runFolder + QLatin1Char('/') + QFileInfo(p).fileName(), QFileInfo(p).size()});
        }
        for (const auto& o : outputs) outputBytes += o.second;
        restoreWeek();
    }

    void restoreWeek() const { WriteWholeFile(path(QString::fromUtf16(kSeWeekFile)), seWeek); }

    void runStructure() {
        run("structure", [](UiPort& ui, JvLink&, SkipLog& log) {
            if (!RunStructureProcessing(ui, log)) std::abort();
        });
    }
    void runCancellations() {
        run("cancellations", [](UiPort& ui, JvLink& jv, SkipLog& log) {
            if (!ApplyCancellations(ui, jv, log)) std::abort();
        });
    }
    // Each run starts without the flash records of the one before.
    void removeFlashRecords() const {
        for (const char* f : {"RARIALTIME.dat", "SERIALTIME.dat", "HRRIALTIME.dat"}) RemoveFile(path(QLatin1String(f)));
    }
};

LargeWeek& week() {
    static LargeWeek w;
    return w;
}

double g_copySeconds = 0, g_copyCpuSeconds = 0, g_structureSeconds = 0;

// Read the week files, write the same bytes to as many files as ② does.
void copyOnce(const LargeWeek& w) {
    QByteArray all;
    for (const QString& f : w.inputs) all += rwtest::readFile(w.path(f));
    qint64 from = 0;
    for (const auto& [rel, size] : w.outputs) {
        QFile out(w.path(QStringLiteral("COPY_") + QString(rel).replace(QLatin1Char('/'), QLatin1Char('_'))));
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
        qint64 left = size;
        while (left > 0) {
            const qint64 n = std::min(left, qint64(all.size()) - from);
            out.write(all.constData() + from, n);
            left -= n;
            from = (from + n) % all.size();
        }
    }
}

void BM_PlainCopy(benchmark::State& state) {
    LargeWeek& w = week();
    copyOnce(w);
    double total = 0, cpu = 0, user = 0;
    for (auto _ : state) {
        state.PauseTiming();
        rwbench::settle();
        state.ResumeTiming();
        const rwbench::Stopwatch watch;
        copyOnce(w);
        total += watch.elapsed();
        user += watch.user();
        cpu += watch.cpu();
    }
    state.counters["user_s"] = user / double(state.iterations());
    state.counters["sys_s"] = (cpu - user) / double(state.iterations());
    g_copySeconds = total / double(state.iterations());
    g_copyCpuSeconds = cpu / double(state.iterations());
    state.counters["files_written"] = double(w.outputs.size());
    state.counters["MB_in"] = double(w.inputBytes) / 1e6;
    state.counters["MB_out"] = double(w.outputBytes) / 1e6;
}

void BM_StructureProcessing(benchmark::State& state) {
    LargeWeek& w = week();
    double total = 0, cpu = 0, user = 0;
    for (auto _ : state) {
        state.PauseTiming();
        w.restoreWeek();  // ② takes kind "1" out of the week file
        rwbench::settle();
        state.ResumeTiming();
        const rwbench::Stopwatch watch;
        w.runStructure();
        total += watch.elapsed();
        user += watch.user();
        cpu += watch.cpu();
    }
    state.counters["user_s"] = user / double(state.iterations());
    state.counters["sys_s"] = (cpu - user) / double(state.iterations());
    const double seconds = total / double(state.iterations());
    const double cpuPerRun = cpu / double(state.iterations());
    state.counters["SE_records"] = double(w.seWeek.size() / imageLength(Kind::SE));
    state.counters["files_written"] = double(w.outputs.size());
    if (g_copySeconds > 0) state.counters["x_copy"] = seconds / g_copySeconds;
    if (g_copyCpuSeconds > 0) state.counters["x_copy_cpu"] = cpuPerRun / g_copyCpuSeconds;
    g_structureSeconds = seconds;
}

void BM_StructureWithCancellations(benchmark::State& state) {
    LargeWeek& w = week();
    double total = 0, cpu = 0, user = 0;
    for (auto _ : state) {
        state.PauseTiming();
        w.restoreWeek();
        w.removeFlashRecords();
        rwbench::settle();
        state.ResumeTiming();
        const rwbench::Stopwatch watch;
        w.runStructure();
        w.runCancellations();
        total += watch.elapsed();
        user += watch.user();
        cpu += watch.cpu();
    }
    state.counters["user_s"] = user / double(state.iterations());
    state.counters["sys_s"] = (cpu - user) / double(state.iterations());
    const double seconds = total / double(state.iterations());
    state.counters["flash_SE_records"] = double(RecordFile::countOf(w.path(QStringLiteral("SERIALTIME.dat")), imageLength(Kind::SE)));
    if (g_copySeconds > 0) state.counters["x_copy"] = seconds / g_copySeconds;
    if (g_structureSeconds > 0) state.counters["x_structure"] = seconds / g_structureSeconds;
}

}  // namespace

BENCHMARK(BM_PlainCopy)->Name("plain copy of the same bytes")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_StructureProcessing)->Name("structure processing, large week")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_StructureWithCancellations)
    ->Name("structure processing with cancellations (Option1), large week")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2.0);
