#include "support/road_week.h"

#include "common/text_file.h"
#include "support/test_support.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>

#include <stdexcept>

// Found by argument-dependent lookup from the list operators of QDataStream.
namespace rw::sample {
static QDataStream& operator<<(QDataStream& s, const WeekRace& r) {
    return s << r.raceKey16 << r.raceId << r.date << r.course << r.dayIndex << r.raceNumber << r.runners << r.distance
             << r.trackCode << r.announcedEarly << r.cancelled << r.deadHeat << r.scratched << r.scratchOdds;
}
static QDataStream& operator>>(QDataStream& s, WeekRace& r) {
    return s >> r.raceKey16 >> r.raceId >> r.date >> r.course >> r.dayIndex >> r.raceNumber >> r.runners >>
           r.distance >> r.trackCode >> r.announcedEarly >> r.cancelled >> r.deadHeat >> r.scratched >> r.scratchOdds;
}
}  // namespace rw::sample

namespace rwtest {

namespace {

using rw::sample::Summary;
using rw::sample::WeekRace;

template <class K, class V>
QMap<K, V> toQMap(const std::map<K, V>& m) {
    return QMap<K, V>(m);
}

QByteArray saveSummary(const Summary& w) {
    QByteArray out;
    QDataStream s(&out, QIODevice::WriteOnly);
    s << w.raceDates << w.weekRaces << w.weekHorses << w.horses << w.retiredHorses << w.jockeys << w.packageJockeys
      << w.pastDeadHeatRace << w.pastRaces << w.pastRuns << toQMap(w.counts) << w.files << toQMap(w.modelCategories)
      << w.modelLeftOut;
    return out;
}

Summary loadSummary(const QByteArray& bytes) {
    Summary w;
    QDataStream s(bytes);
    QMap<QString, qint64> counts;
    QMap<QString, int> categories;
    s >> w.raceDates >> w.weekRaces >> w.weekHorses >> w.horses >> w.retiredHorses >> w.jockeys >> w.packageJockeys >>
        w.pastDeadHeatRace >> w.pastRaces >> w.pastRuns >> counts >> w.files >> categories >> w.modelLeftOut;
    if (s.status() != QDataStream::Ok) throw std::runtime_error("road week: unreadable summary");
    w.counts = counts.toStdMap();
    w.modelCategories = categories.toStdMap();
    return w;
}

QByteArray savePress(const PressResult& r) {
    QByteArray out;
    QDataStream s(&out, QIODevice::WriteOnly);
    s << r.exitCode << r.out << r.err;
    return out;
}

PressResult loadPress(const QByteArray& bytes) {
    PressResult r;
    QDataStream s(bytes);
    s >> r.exitCode >> r.out >> r.err;
    return r;
}

// What the pressed folder depends on: the driver and this test program (it
// holds the sample generator). A rebuild of either presses the road again.
QByteArray buildStamp() {
    QCryptographicHash h(QCryptographicHash::Sha1);
    for (const QString& p : {QStringLiteral(RACEWEEK_BIN_DIR "/raceweek-press"),
                             QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget()}) {
        const QFileInfo f(p);
        h.addData(p.toUtf8());
        h.addData(QByteArray::number(f.size()));
        h.addData(QByteArray::number(f.lastModified().toMSecsSinceEpoch()));
    }
    h.addData(RoadPresses().join(QLatin1Char(' ')).toUtf8());
    return h.result().toHex().left(12);
}

QString scaleName(rw::sample::Scale s) {
    switch (s) {
    case rw::sample::Scale::Small: return QStringLiteral("small");
    case rw::sample::Scale::Typical: return QStringLiteral("typical");
    case rw::sample::Scale::Large: return QStringLiteral("large");
    }
    return {};
}

void copyFolder(const QString& from, const QString& to) {
    QProcess cp;
    cp.start(QStringLiteral("cp"), {QStringLiteral("-a"), from + QStringLiteral("/."), to});
    if (!cp.waitForFinished(600000) || cp.exitStatus() != QProcess::NormalExit || cp.exitCode() != 0)
        throw std::runtime_error("road week: cannot copy " + from.toStdString());
}

void writeOrThrow(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw std::runtime_error("road week: cannot write " + path.toStdString());
}

}  // namespace

QStringList RoadPresses() {
    return {QStringLiteral("Command2"),
            QStringLiteral("Command4"),
            QStringLiteral("Command6"),
            QStringLiteral("KESTRAVEXPDTHISWEEKNZ.Command3"),
            QStringLiteral("KESTRAVEXPDTHISWEEKNZ.Command1"),
            QStringLiteral("Command8")};
}

QList<QByteArray> RoadWeek::listed() const { return rw::readValues(file(QStringLiteral("RACETHISWEEKN.dat"))); }

const rw::sample::WeekRace& RoadWeek::race(const QByteArray& raceId) const {
    for (const WeekRace& r : summary.weekRaces)
        if (r.raceId == raceId) return r;
    throw std::out_of_range("no race " + raceId.toStdString() + " in the sample week");
}

PressResult RoadWeek::press(const QStringList& presses, qint64 fileSizeLimit) const {
    return runPress(path(), presses, fileSizeLimit);
}

std::unique_ptr<RoadWeek> PressedRoadWeek(rw::sample::Scale scale, rw::sample::Scenario scenario) {
    // In the sanitized build the leak checker lists its suppressions on
    // stderr, which the road's checks want empty.
    if (qEnvironmentVariableIsSet("LSAN_OPTIONS") && !qgetenv("LSAN_OPTIONS").contains("print_suppressions"))
        qputenv("LSAN_OPTIONS", qgetenv("LSAN_OPTIONS") + ":print_suppressions=0");

    const QString root = QStringLiteral(RACEWEEK_BIN_DIR "/../road-cache");
    if (!QDir().mkpath(root)) throw std::runtime_error("road week: no cache folder");
    const QString stamp = QString::fromLatin1(buildStamp());
    const QString name =
        scaleName(scale) +
        (scenario == rw::sample::Scenario::Friday ? QStringLiteral("-friday-") : QStringLiteral("-monday-")) + stamp;
    const QString folder = root + QLatin1Char('/') + name;

    auto w = std::make_unique<RoadWeek>();
    if (!w->dir.isValid()) throw std::runtime_error("road week: no temporary folder");
    QLockFile lock(root + QStringLiteral("/lock"));
    lock.setStaleLockTime(0);  // a pressing test that died leaves no live lock
    if (!lock.lock()) throw std::runtime_error("road week: cannot lock the cache");
    if (!QFileInfo::exists(folder + QStringLiteral(".press"))) {
        // Older presses of the road are of another build: make room.
        for (const QFileInfo& old : QDir(root).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
            if (old.fileName() == QLatin1String("lock") || old.fileName().contains(stamp)) continue;
            if (old.isDir()) QDir(old.filePath()).removeRecursively();
            else
                QFile::remove(old.filePath());
        }
        QDir(folder).removeRecursively();
        if (!QDir().mkpath(folder)) throw std::runtime_error("road week: cannot make " + folder.toStdString());
        const Summary summary = rw::sample::generate({scale, scenario, 1}, folder);
        const PressResult road = runPress(folder, RoadPresses());
        writeOrThrow(folder + QStringLiteral(".summary"), saveSummary(summary));
        // Written last: its presence says the folder is complete.
        writeOrThrow(folder + QStringLiteral(".press"), savePress(road));
    }
    copyFolder(folder, w->path());
    lock.unlock();
    w->summary = loadSummary(readFile(folder + QStringLiteral(".summary")));
    w->road = loadPress(readFile(folder + QStringLiteral(".press")));
    return w;
}

}  // namespace rwtest
