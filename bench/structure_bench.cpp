// ② structure processing on a large week against a plain copy of the same
// bytes: reading the week files and writing as many bytes to as many files
// as ② writes. The counters "x_copy" and "x_copy_cpu" of the structure run
// are its elapsed and processor time per run divided by the copy's.
//
// The week: ~3,000 horses, each with 24 past runs over three years (kind
// "7", one in ten also delivered earlier as kind "2") and this week's entry
// delivered as kinds "1" and "2"; the race records of every race run; the
// horse master with some horses twice. Records arrive shuffled.
#include "app/kestrav_path.h"
#include "common/fixed_text.h"
#include "common/paths.h"
#include "common/recording_ui.h"
#include "common/skip.h"
#include "jvdata/records.h"
#include "jvdata/structure.h"

#include <QDate>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <set>
#include <tuple>

#include <sys/resource.h>
#include <unistd.h>

using namespace rw;
using namespace rw::jv;

namespace {

constexpr int kHorses = 3000;
constexpr int kPastRuns = 24;

QByteArray blank(Kind k) {
    const int len = imageLength(k);
    QByteArray r(len, ' ');
    r.replace(0, 2, QByteArray(layout(k).code.data(), 2));
    r[len - 2] = '\r';
    r[len - 1] = '\n';
    return r;
}

void put(QByteArray& r, const Field& f, QByteArrayView v) { putFixed(r, f.pos, f.width, v); }

struct RaceRef {
    QDate date;
    int course;
    int race;
    auto tie() const { return std::tuple(date, course, race); }
    bool operator<(const RaceRef& o) const { return tie() < o.tie(); }
};

QByteArray ymd(const QDate& d) { return d.toString(QStringLiteral("yyyyMMdd")).toLatin1(); }
QByteArray two(int v) { return QByteArray::number(v).rightJustified(2, '0'); }

void putRace(QByteArray& r, const RaceRef& x, char kind, const QDate& made) {
    put(r, head::DataKind, QByteArray(1, kind));
    put(r, head::MakeDate, ymd(made));
    put(r, head::Year, ymd(x.date).left(4));
    put(r, head::MonthDay, ymd(x.date).mid(4));
    put(r, head::Racecourse, two(x.course));
    put(r, head::Meeting, "03");
    put(r, head::Day, "08");
    put(r, head::RaceNumber, two(x.race));
}

struct LargeWeek {
    QTemporaryDir dir;
    QByteArray seWeek;  // SETHISWEEKN.dat as downloaded (② rewrites it)
    QList<QString> inputs;
    QList<std::pair<QString, qint64>> outputs;  // relative name, size after ②
    qint64 inputBytes = 0, outputBytes = 0;

    QString path(const QString& rel) const { return dir.path() + QLatin1Char('/') + rel; }

    LargeWeek() {
        std::mt19937 rng(629);
        const QDate thisSat(2024, 6, 29);
        std::vector<RaceRef> pool;
        for (QDate d = thisSat.addDays(-7 * 156); d < thisSat; d = d.addDays(7))
            for (int day = 0; day < 2; ++day)
                for (int c = 0; c < 3; ++c)
                    for (int race = 1; race <= 12; ++race) pool.push_back({d.addDays(day), 1 + (d.day() + c * 3) % 10, race});
        std::vector<RaceRef> thisWeek;
        for (int day = 0; day < 2; ++day)
            for (int c : {5, 9, 3})
                for (int race = 1; race <= 12; ++race) thisWeek.push_back({thisSat.addDays(day), c, race});

        QList<QByteArray> ra, se, um;
        std::set<RaceRef> used;
        for (int h = 0; h < kHorses; ++h) {
            const QByteArray reg = QByteArray::number(2018100000LL + h * 37);
            auto entry = [&](const RaceRef& x, char kind, const QDate& made) {
                QByteArray r = blank(Kind::SE);
                putRace(r, x, kind, made);
                put(r, se::HorseNumber, two(1 + int(rng() % 18)));
                put(r, se::RegistrationNumber, reg);
                put(r, se::Time, "1345");
                se.append(r);
                used.insert(x);
            };
            std::set<QDate> dates;
            for (int k = 0; k < kPastRuns; ++k) {
                RaceRef x = pool[rng() % pool.size()];
                if (!dates.insert(x.date).second) continue;
                entry(x, '7', x.date.addDays(3));
                if (rng() % 10 == 0) entry(x, '2', x.date.addDays(-2));
            }
            const RaceRef now = thisWeek[rng() % thisWeek.size()];
            entry(now, '1', now.date.addDays(-3));
            entry(now, '2', now.date.addDays(-1));
            QByteArray u = blank(Kind::UM);
            put(u, head::DataKind, "1");
            put(u, head::MakeDate, "20240627");
            put(u, um::RegistrationNumber, reg);
            put(u, um::DamNumber, QByteArray::number(2005100000LL + rng() % 2000));
            um.append(u);
            if (h % 30 == 0) um.append(u);
        }
        for (const RaceRef& x : used) {
            QByteArray r = blank(Kind::RA);
            const bool current = x.date >= thisSat;
            putRace(r, x, current ? '2' : '7', current ? x.date.addDays(-1) : x.date.addDays(3));
            put(r, ra::Distance, "1600");
            ra.append(r);
        }
        std::shuffle(ra.begin(), ra.end(), rng);
        std::shuffle(se.begin(), se.end(), rng);
        std::shuffle(um.begin(), um.end(), rng);

        auto joined = [](const QList<QByteArray>& l) {
            QByteArray b;
            for (const auto& r : l) b += r;
            return b;
        };
        seWeek = joined(se);
        QDir().mkpath(path(QStringLiteral("OPTION1N")));
        QDir().mkpath(path(QStringLiteral("UMAGOTOTHISWEEKN")));
        write(QStringLiteral("OPTION1N/KYOSOBA.dat"), "package");
        write(QStringLiteral("RATHISWEEKN.dat"), joined(ra));
        write(QStringLiteral("SETHISWEEKN.dat"), seWeek);
        write(QStringLiteral("UMTHISWEEKN.dat"), joined(um));
        inputs = {QStringLiteral("RATHISWEEKN.dat"), QStringLiteral("SETHISWEEKN.dat"), QStringLiteral("UMTHISWEEKN.dat")};
        for (const QString& f : inputs) inputBytes += QFileInfo(path(f)).size();

        SetProgramFolder(dir.path());
        AppPath = GetAppPath();
        runStructure();
        // What ② writes: the NEW files, the lists, the rewritten week file
        // and every run file.
        for (const QString& f :
             {QStringLiteral("RATHISWEEKNNEW.dat"), QStringLiteral("RATHISWEEKNNEWd.dat"), QStringLiteral("SETHISWEEKN.dat"),
              QStringLiteral("SETHISWEEKNNEW.dat"), QStringLiteral("SETHISWEEKNNEWd.dat"), QStringLiteral("UMTHISWEEKNNEW.dat"),
              QStringLiteral("KETTONUMTHISWEEKN.dat"), QStringLiteral("HAHAHANNUMTHISWEEKN.dat")})
            outputs.append({f, QFileInfo(path(f)).size()});
        QDirIterator it(path(QStringLiteral("UMAGOTOTHISWEEKN")), QDir::Files);
        while (it.hasNext()) {
            const QString p = it.next();
            outputs.append({QStringLiteral("UMAGOTOTHISWEEKN/") + QFileInfo(p).fileName(), QFileInfo(p).size()});
        }
        for (const auto& o : outputs) outputBytes += o.second;
        restoreWeek();
    }

    void write(const QString& rel, const QByteArray& b) const {
        QFile f(path(rel));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(b) != b.size()) std::abort();
    }
    void restoreWeek() const { write(QStringLiteral("SETHISWEEKN.dat"), seWeek); }

    static void runStructure() {
        RecordingUi ui;
        SkipLog log("structure");
        if (!RunStructureProcessing(ui, log) || !log.empty()) {
            log.report();
            std::abort();
        }
    }
};

LargeWeek& week() {
    static LargeWeek w;
    return w;
}

double g_copySeconds = 0, g_copyCpuSeconds = 0;

struct Cpu {
    double user = 0, sys = 0;
    static Cpu now() {
        rusage u{};
        getrusage(RUSAGE_SELF, &u);
        return {double(u.ru_utime.tv_sec) + double(u.ru_utime.tv_usec) / 1e6,
                double(u.ru_stime.tv_sec) + double(u.ru_stime.tv_usec) / 1e6};
    }
};

// Read the week files, write the same bytes to as many files as ② does.
void copyOnce(const LargeWeek& w) {
    QByteArray all;
    for (const QString& f : w.inputs) {
        QFile in(w.path(f));
        if (!in.open(QIODevice::ReadOnly)) std::abort();
        all += in.readAll();
    }
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

// Each timed run starts with nothing left to write back from the one
// before, and with its output files already there, as ② finds its own.
void settle() { ::sync(); }

void BM_PlainCopy(benchmark::State& state) {
    LargeWeek& w = week();
    copyOnce(w);
    double total = 0, cpu = 0, user = 0;
    for (auto _ : state) {
        state.PauseTiming();
        settle();
        state.ResumeTiming();
        const auto t0 = std::chrono::steady_clock::now();
        const Cpu c0 = Cpu::now();
        copyOnce(w);
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        const Cpu c1 = Cpu::now();
        user += c1.user - c0.user;
        cpu += (c1.user + c1.sys) - (c0.user + c0.sys);
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
        settle();
        state.ResumeTiming();
        const auto t0 = std::chrono::steady_clock::now();
        const Cpu c0 = Cpu::now();
        LargeWeek::runStructure();
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        const Cpu c1 = Cpu::now();
        user += c1.user - c0.user;
        cpu += (c1.user + c1.sys) - (c0.user + c0.sys);
    }
    state.counters["user_s"] = user / double(state.iterations());
    state.counters["sys_s"] = (cpu - user) / double(state.iterations());
    const double seconds = total / double(state.iterations());
    const double cpuPerRun = cpu / double(state.iterations());
    state.counters["SE_records"] = double(w.seWeek.size() / imageLength(Kind::SE));
    state.counters["files_written"] = double(w.outputs.size());
    if (g_copySeconds > 0) state.counters["x_copy"] = seconds / g_copySeconds;
    if (g_copyCpuSeconds > 0) state.counters["x_copy_cpu"] = cpuPerRun / g_copyCpuSeconds;
}

}  // namespace

BENCHMARK(BM_PlainCopy)->Name("plain copy of the same bytes")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_StructureProcessing)->Name("structure processing, large week")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
