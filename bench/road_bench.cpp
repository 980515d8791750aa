// The whole weekly road (① download, ② structure processing, ③ the expanded
// records window, ④ previous-day fix, ⑤ compute, ⑥ prediction run) pressed
// by the window-less driver in one run on the sample week, against its I/O
// floor measured in the same run on the same data: every input file read
// once and every output file written once at its size.
//
//   road_bench [--scale large|typical] [--scenario friday|monday] [--pairs N]
//              [--press DRIVER] [--driver-times yes|no]
//
// Another build's driver can be measured with --press; one without
// --step-times (--driver-times no) is pressed to each step in turn, and a
// step's times are the differences.
//
// What each step reads and writes is found once, by pressing the road in
// this process under a file watcher: a step's inputs are the files it opened
// that were there before it, its outputs the files it made or changed. The
// road's inputs are the first folder's files that any step read, its outputs
// the files that differ at the end. Then N pairs, each from a fresh copy of
// the first folder: the road's floor, the steps' floors one after another,
// and the road (raceweek-press --step-times, a process of its own: its start
// counts). Printed: the medians of elapsed and processor seconds and of each
// pair's ratio, per step and for the road, and the road's peak memory (the
// driver's own figure: the peak resident memory of its process image).
#include "common/control_names.h"
#include "common/kestrav_path.h"
#include "gui/KESF1THISWEEKNZ.h"
#include "gui/gui_ui.h"
#include "gui/install.h"
#include "sample/generator.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QSet>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

struct Step {
    const char* label;
    const char* press;
};
const Step kSteps[] = {{"① download", "Command2"},
                       {"② structure", "Command4"},
                       {"③ expanded window", "Command6"},
                       {"④ previous-day fix", "KESTRAVEXPDTHISWEEKNZ.Command3"},
                       {"⑤ compute", "KESTRAVEXPDTHISWEEKNZ.Command1"},
                       {"⑥ prediction run", "Command8"}};
constexpr int kStepCount = int(std::size(kSteps));

double now() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }
double cpuSelf() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

[[noreturn]] void die(const QString& why) {
    std::fprintf(stderr, "road_bench: %s\n", qPrintable(why));
    std::exit(1);
}

void shell(const QString& command) {
    if (std::system(command.toLocal8Bit().constData()) != 0) die(QStringLiteral("failed: ") + command);
}

// path relative to the folder -> size and change time
struct Stamp {
    qint64 size = 0;
    qint64 mtimeNs = 0;
    bool operator==(const Stamp&) const = default;
};
using Snapshot = QHash<QString, Stamp>;

Snapshot snapshot(const QString& root) {
    Snapshot s;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString p = it.next();
        struct stat st{};
        if (::stat(QFile::encodeName(p).constData(), &st) != 0) continue;
        s.insert(p.mid(root.size() + 1), {qint64(st.st_size), qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec});
    }
    return s;
}

// Files opened and closed without writing below a folder, as they happen.
class ReadWatcher {
public:
    explicit ReadWatcher(const QString& root) : root_(root), fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        if (fd_ < 0) die(QStringLiteral("no file watcher"));
        watchTree(root);
        thread_ = std::thread([this] {
            while (!stop_) {
                pollfd p{fd_, POLLIN, 0};
                if (::poll(&p, 1, 20) > 0) drain();
            }
        });
    }
    ~ReadWatcher() {
        stop_ = true;
        thread_.join();
        ::close(fd_);
    }
    // The files read since the last call (relative paths).
    QSet<QString> take() {
        drain();
        std::lock_guard lock(m_);
        if (overflow_) die(QStringLiteral("the file watcher's queue overflowed"));
        QSet<QString> out;
        out.swap(read_);
        return out;
    }

private:
    void watchTree(const QString& dir) {
        addWatch(dir);
        QDirIterator it(dir, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) addWatch(it.next());
    }
    void addWatch(const QString& dir) {
        const int wd = inotify_add_watch(fd_, QFile::encodeName(dir).constData(), IN_CLOSE_NOWRITE | IN_CREATE | IN_ONLYDIR);
        if (wd >= 0) {
            std::lock_guard lock(m_);
            dirs_[wd] = dir;
        }
    }
    void drain() {
        alignas(inotify_event) char buf[65536];
        std::lock_guard drainLock(drain_);
        for (;;) {
            const ssize_t n = ::read(fd_, buf, sizeof buf);
            if (n <= 0) return;
            for (ssize_t i = 0; i < n;) {
                const auto* e = reinterpret_cast<const inotify_event*>(buf + i);
                i += ssize_t(sizeof(inotify_event)) + e->len;
                if (e->mask & IN_Q_OVERFLOW) {
                    std::lock_guard lock(m_);
                    overflow_ = true;
                    continue;
                }
                QString dir;
                {
                    std::lock_guard lock(m_);
                    dir = dirs_.value(e->wd);
                }
                if (dir.isEmpty() || e->len == 0) continue;
                const QString path = dir + QLatin1Char('/') + QFile::decodeName(e->name);
                if ((e->mask & IN_CREATE) && (e->mask & IN_ISDIR)) {
                    addWatch(path);
                } else if (e->mask & IN_CLOSE_NOWRITE) {
                    std::lock_guard lock(m_);
                    read_.insert(path.mid(root_.size() + 1));
                }
            }
        }
    }

    QString root_;
    int fd_;
    std::mutex m_, drain_;
    QHash<int, QString> dirs_;
    QSet<QString> read_;
    bool overflow_ = false;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

struct FileSet {
    QStringList read;              // relative paths
    QList<std::pair<QString, qint64>> written;  // relative path, size
    qint64 readBytes = 0, writtenBytes = 0;
};

// One copy of the first folder to work on.
void restore(const QString& pristine, const QString& work) {
    QDir(work).removeRecursively();
    shell(QStringLiteral("cp -a '%1' '%2'").arg(pristine, work));
    ::sync();
}

struct Times {
    double elapsed = 0, cpu = 0;
};

Times floorRun(const QString& root, const FileSet& f) {
    const double t0 = now(), c0 = cpuSelf();
    std::vector<char> buf;
    for (const QString& rel : f.read) {
        const int fd = ::open(QFile::encodeName(root + QLatin1Char('/') + rel).constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) continue;  // made and removed again within the step
        struct stat st{};
        ::fstat(fd, &st);
        buf.resize(size_t(st.st_size) + 1);
        qint64 got = 0;
        while (true) {
            const ssize_t n = ::read(fd, buf.data() + got, buf.size() - size_t(got));
            if (n <= 0) break;
            got += n;
        }
        ::close(fd);
    }
    for (const auto& [rel, size] : f.written) {
        const QString p = root + QLatin1Char('/') + rel;
        const int fd = ::open(QFile::encodeName(p).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0) {
            QDir().mkpath(QFileInfo(p).path());
            const int again = ::open(QFile::encodeName(p).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
            if (again < 0) die(QStringLiteral("cannot write ") + p);
            ::close(again);
            continue;  // the folder's making is the road's too; timed from the next pair
        }
        buf.assign(size_t(size), 'x');
        if (::write(fd, buf.data(), buf.size()) != ssize_t(buf.size())) die(QStringLiteral("cannot write ") + p);
        ::close(fd);
    }
    return {now() - t0, cpuSelf() - c0};
}

struct RoadRun {
    Times total;
    Times steps[kStepCount];
    long maxRssKb = 0;
    bool rssIsDriversOwn = false;
};

QByteArray g_press = RACEWEEK_BIN_DIR "/raceweek-press";
bool g_stepTimes = true;  // the driver times its steps itself

// The driver on the first `steps` steps of the road.
RoadRun pressRoad(const QString& work, int steps = kStepCount) {
    QByteArrayList args = {g_press, "--app-dir", QFile::encodeName(work)};
    if (g_stepTimes) args << "--step-times";
    for (int k = 0; k < steps; ++k) args << kSteps[k].press;
    std::vector<char*> argv;
    for (QByteArray& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    char errName[] = "/tmp/road_bench_errXXXXXX";
    const int errFd = ::mkstemp(errName);
    ::unlink(errName);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&fa, errFd, 2);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const double t0 = now();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &fa, nullptr, argv.data(), environ) != 0) die(QStringLiteral("cannot start the driver"));
    int status = 0;
    rusage u{};
    wait4(pid, &status, 0, &u);
    RoadRun r;
    r.total = {now() - t0, double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6};
    // The child's ru_maxrss is no measure of the road: the kernel carries the
    // peak of the memory image an exec replaces into it, and posix_spawn's
    // child execs from this harness's own image (shared until the exec), so
    // it is at least the harness's peak. The driver's own figure is taken
    // instead; a driver that does not give one leaves this upper bound.
    r.maxRssKb = u.ru_maxrss;
    r.rssIsDriversOwn = false;
    posix_spawn_file_actions_destroy(&fa);
    ::lseek(errFd, 0, SEEK_SET);
    QByteArray err;
    char buf[4096];
    for (ssize_t n; (n = ::read(errFd, buf, sizeof buf)) > 0;) err.append(buf, n);
    ::close(errFd);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) die(QStringLiteral("the driver failed: ") + QString::fromUtf8(err));
    int k = 0;
    for (const QByteArray& line : err.split('\n')) {
        if (line.startsWith("PeakMemory: ")) {
            r.maxRssKb = line.mid(12).trimmed().toLong();
            r.rssIsDriversOwn = true;
        }
        if (!line.startsWith("StepTime: ")) continue;
        const QByteArrayList f = line.split('\t');
        if (k < kStepCount && f.size() >= 3) r.steps[k++] = {f[1].toDouble(), f[2].toDouble()};
    }
    if (g_stepTimes && k != kStepCount) die(QStringLiteral("the driver timed %1 steps").arg(k));
    return r;
}

// For a driver that does not time its steps: the road pressed to each step,
// each from a fresh copy; a step's times are the differences.
RoadRun pressRoadByPrefixes(const QString& pristine, const QString& work) {
    RoadRun whole;
    Times before;
    for (int k = 1; k <= kStepCount; ++k) {
        restore(pristine, work);
        const RoadRun r = pressRoad(work, k);
        whole.steps[k - 1] = {r.total.elapsed - before.elapsed, r.total.cpu - before.cpu};
        before = r.total;
        if (k == kStepCount) {
            whole.total = r.total;
            whole.maxRssKb = r.maxRssKb;
            whole.rssIsDriversOwn = r.rssIsDriversOwn;
        }
    }
    return whole;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    if (v.empty()) return 0;
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    rw::sample::Options o;
    o.scale = rw::sample::Scale::Large;
    o.scenario = rw::sample::Scenario::Friday;
    int pairs = 5;
    for (int i = 1; i + 1 < argc; i += 2) {
        const QString a = QString::fromLocal8Bit(argv[i]), v = QString::fromLocal8Bit(argv[i + 1]);
        if (a == QLatin1String("--scale") && rw::sample::parseScale(v)) o.scale = *rw::sample::parseScale(v);
        else if (a == QLatin1String("--scenario") && rw::sample::parseScenario(v)) o.scenario = *rw::sample::parseScenario(v);
        else if (a == QLatin1String("--pairs")) pairs = std::max(1, v.toInt());
        else if (a == QLatin1String("--press")) g_press = QFile::encodeName(v);
        else if (a == QLatin1String("--driver-times") && (v == QLatin1String("yes") || v == QLatin1String("no"))) g_stepTimes = v == QLatin1String("yes");
        else die(QStringLiteral("usage: road_bench [--scale large|typical] [--scenario friday|monday] [--pairs N]\n"
                                "                  [--press DRIVER] [--driver-times yes|no]"));
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QApplication app(argc, argv);

    QTemporaryDir tmp;
    if (!tmp.isValid()) die(QStringLiteral("no scratch folder"));
    const QString pristine = tmp.path() + QStringLiteral("/first"), work = tmp.path() + QStringLiteral("/work");
    QDir().mkpath(pristine);
    rw::sample::generate(o, pristine);

    // What each step reads and writes: the road pressed here once.
    FileSet steps[kStepCount], road;
    restore(pristine, work);
    const Snapshot first = snapshot(work);
    {
        rw::SetProgramFolder(work + QLatin1Char('/'));
        rw::gui::InstallDesktopHandlers(/*interactive=*/false);
        auto& ui = rw::gui::Ui();
        ui.autoAnswer = true;
        rw::gui::KESF1THISWEEKNZ menu;
        menu.Form_Load();
        menu.show();
        app.processEvents();
        ReadWatcher watcher(work);
        watcher.take();
        Snapshot before = snapshot(work);
        QSet<QString> roadRead;
        for (int k = 0; k < kStepCount; ++k) {
            const QString name = QString::fromLatin1(kSteps[k].press);
            auto* b = qobject_cast<QAbstractButton*>(
                ui.findControl(name.contains(QLatin1Char('.')) ? name : rw::ctl::MenuWindow + QLatin1Char('.') + name));
            if (!b) die(QStringLiteral("no button ") + name);
            b->click();
            app.processEvents();
            const QSet<QString> read = watcher.take();
            const Snapshot after = snapshot(work);
            for (const QString& rel : read)
                if (before.contains(rel)) {
                    steps[k].read << rel;
                    steps[k].readBytes += before.value(rel).size;
                    if (first.contains(rel)) roadRead.insert(rel);
                }
            for (auto it = after.cbegin(); it != after.cend(); ++it)
                if (!before.contains(it.key()) || !(before.value(it.key()) == it.value())) {
                    steps[k].written.append({it.key(), it.value().size});
                    steps[k].writtenBytes += it.value().size;
                }
            before = after;
        }
        for (const QString& rel : roadRead) {
            road.read << rel;
            road.readBytes += first.value(rel).size;
        }
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            if (!first.contains(it.key()) || !(first.value(it.key()) == it.value())) {
                road.written.append({it.key(), it.value().size});
                road.writtenBytes += it.value().size;
            }
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != &menu && !w->parentWidget()) delete w;
    }
    // The floor's folders exist as the road leaves them, so that its
    // writing makes no folder.
    auto prepareFolders = [&](const FileSet& f) {
        for (const auto& [rel, size] : f.written) QDir().mkpath(QFileInfo(work + QLatin1Char('/') + rel).path());
    };

    std::printf("road_bench: %s week, %d pairs\n", o.scale == rw::sample::Scale::Large ? "large" : o.scale == rw::sample::Scale::Typical ? "typical" : "small", pairs);
    for (int k = 0; k < kStepCount; ++k)
        std::printf("  %-22s reads %5lld files %8.1f MB, writes %5lld files %8.1f MB\n", kSteps[k].label,
                    (long long)steps[k].read.size(), steps[k].readBytes / 1e6, (long long)steps[k].written.size(),
                    steps[k].writtenBytes / 1e6);
    std::printf("  %-22s reads %5lld files %8.1f MB, writes %5lld files %8.1f MB\n", "road", (long long)road.read.size(),
                road.readBytes / 1e6, (long long)road.written.size(), road.writtenBytes / 1e6);

    std::vector<double> roadE, roadC, floorE, floorC, ratioE, ratioC, rss;
    bool rssOwn = true;
    std::vector<double> stepE[kStepCount], stepC[kStepCount], sFloorE[kStepCount], sFloorC[kStepCount],
        sRatioE[kStepCount], sRatioC[kStepCount];
    for (int p = 0; p < pairs; ++p) {
        restore(pristine, work);
        prepareFolders(road);
        const Times fl = floorRun(work, road);
        Times sf[kStepCount];
        restore(pristine, work);
        for (int k = 0; k < kStepCount; ++k) prepareFolders(steps[k]);
        for (int k = 0; k < kStepCount; ++k) sf[k] = floorRun(work, steps[k]);
        RoadRun r;
        if (g_stepTimes) {
            restore(pristine, work);
            r = pressRoad(work);
        } else {
            r = pressRoadByPrefixes(pristine, work);
        }
        roadE.push_back(r.total.elapsed), roadC.push_back(r.total.cpu);
        floorE.push_back(fl.elapsed), floorC.push_back(fl.cpu);
        ratioE.push_back(r.total.elapsed / fl.elapsed), ratioC.push_back(r.total.cpu / std::max(fl.cpu, 1e-3));
        rss.push_back(double(r.maxRssKb) / 1024);
        rssOwn = rssOwn && r.rssIsDriversOwn;
        for (int k = 0; k < kStepCount; ++k) {
            stepE[k].push_back(r.steps[k].elapsed), stepC[k].push_back(r.steps[k].cpu);
            sFloorE[k].push_back(sf[k].elapsed), sFloorC[k].push_back(sf[k].cpu);
            sRatioE[k].push_back(r.steps[k].elapsed / std::max(sf[k].elapsed, 1e-4));
            sRatioC[k].push_back(r.steps[k].cpu / std::max(sf[k].cpu, 1e-3));
        }
        std::printf("  pair %d: road %.3f s (%.3f s processor), floor %.3f s (%.3f s): %.2fx, %.2fx\n", p + 1,
                    r.total.elapsed, r.total.cpu, fl.elapsed, fl.cpu, ratioE.back(), ratioC.back());
        std::fflush(stdout);
    }
    std::printf("\nmedians of %d pairs          elapsed s  floor s   ratio | processor s  floor s   ratio\n", pairs);
    // A step that reads and writes next to nothing has no ratio worth printing.
    auto ratio = [](double r, double floor, double least) {
        char buf[32];
        if (floor < least) std::snprintf(buf, sizeof buf, "%8s", "-");
        else std::snprintf(buf, sizeof buf, "%7.2fx", r);
        return std::string(buf);
    };
    for (int k = 0; k < kStepCount; ++k)
        std::printf("  %-24s %9.3f %8.3f %s | %11.3f %8.3f %s\n", kSteps[k].label, median(stepE[k]), median(sFloorE[k]),
                    ratio(median(sRatioE[k]), median(sFloorE[k]), 1e-3).c_str(), median(stepC[k]), median(sFloorC[k]),
                    ratio(median(sRatioC[k]), median(sFloorC[k]), 1e-3).c_str());
    std::printf("  %-24s %9.3f %8.3f %7.2fx | %11.3f %8.3f %7.2fx\n", "road (whole run)", median(roadE), median(floorE),
                median(ratioE), median(roadC), median(floorC), median(ratioC));
    if (rssOwn) std::printf("  road peak memory: %.1f MB (median)\n", median(rss));
    else std::printf("  road peak memory: at most %.1f MB (median; the driver gives no figure of its own, this one includes the harness's peak)\n", median(rss));
    return 0;
}
