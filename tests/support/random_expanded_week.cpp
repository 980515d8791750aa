#include "support/random_expanded_week.h"

#include "common/fixed_text.h"
#include "common/kestrav_path.h"
#include "support/test_support.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace rwtest {
namespace {

QByteArray pick(QRandomGenerator& rng, const QList<QByteArray>& from) { return from[int(rng.bounded(from.size()))]; }
bool chance(QRandomGenerator& rng, int percent) { return int(rng.bounded(100)) < percent; }
QByteArray num(qint64 v, int width) { return QByteArray::number(v).rightJustified(width, '0'); }

void put(const QString& systemName, const QByteArray& bytes) {
    const QString path = rw::AppFile(systemName);
    QDir().mkpath(QFileInfo(path).path());
    writeFile(path, bytes);
}

}  // namespace

QByteArray randomRecord(QRandomGenerator& rng, int length) {
    QByteArray r(length, ' ');
    for (int i = 0; i < length - 2; ++i) r[i] = char('!' + rng.bounded(94));
    r[length - 2] = '\r';
    r[length - 1] = '\n';
    return r;
}

RandomWeek writeRandomExpandedWeek(QRandomGenerator& rng, const RandomWeekOptions& o) {
    RandomWeek week;
    QList<QByteArray> horses, dams, jockeys, raceKeys;
    for (int i = 0; i < std::max(1, o.horses); ++i) horses << "20190" + num(10000 + i * 7, 5);
    for (int i = 0; i < 3; ++i) dams << "11000" + num(300 + i, 5);
    for (int i = 0; i < 6; ++i) jockeys << num(100 + i, 5);
    // Races: year, month-day, course, meeting, day, race number.
    for (int i = 0; i < 6; ++i)
        raceKeys << "2024" + num(1100 + i % 3 * 7, 4) + num(5 + i % 2, 2) + "0402" + num(1 + i, 2);

    // UM: most horses, some twice with other contents.
    QByteArray um;
    for (const QByteArray& h : horses) {
        const int copies = chance(rng, 20) ? 0 : chance(rng, 25) ? 2 : 1;
        for (int c = 0; c < copies; ++c) {
            QByteArray r = randomRecord(rng, 1609);
            rw::putFixed(r, 1, 2, "UM");
            rw::putFixed(r, 12, 10, h);
            rw::putFixed(r, 251, 10, pick(rng, dams));
            um += r;
        }
    }
    put(QStringLiteral("UMTHISWEEKNNEW.dat"), um);

    // The dam-foal list: dams in consecutive blocks; the first block longer
    // than 21 records, so a foal lies beyond the window and the next dam's
    // foals lie inside it.
    QByteArray hnsk;
    for (int d = 0; d < dams.size(); ++d) {
        const int foals = d == 0 ? 20 + int(rng.bounded(6)) : int(rng.bounded(6));
        for (int f = 0; f < foals; ++f) {
            const QByteArray foal = chance(rng, 50) ? pick(rng, horses) : "20180" + num(rng.bounded(99999), 5);
            hnsk += dams[d] + foal + "\r\n";
        }
    }
    if (chance(rng, 30)) hnsk.chop(int(rng.bounded(1, 21)));  // a part record at the end
    put(QStringLiteral("OPTION1N\\HNSKOPTION1N.dat"), hnsk);

    // KS: the week's and the package's, sharing some jockeys; the last
    // jockey is in neither.
    for (const char* file : {"KSTHISWEEKN.dat", "OPTION1N\\KS20200101NEW.dat"}) {
        QByteArray ks;
        for (int j = 0; j < jockeys.size() - 1; ++j) {
            if (chance(rng, 40)) continue;
            QByteArray r = randomRecord(rng, 4161);
            rw::putFixed(r, 1, 2, "KS");
            rw::putFixed(r, 12, 5, jockeys[j]);
            ks += r;
        }
        put(QString::fromLatin1(file), ks);
    }

    // RA: not every race; some with a second record of another data kind.
    QByteArray ra;
    for (const QByteArray& key : raceKeys) {
        if (chance(rng, 20)) continue;
        for (char kind : {'2', '7'}) {
            if (kind == '7' && !chance(rng, 40)) continue;
            QByteArray r = randomRecord(rng, 1272);
            rw::putFixed(r, 1, 2, "RA");
            rw::putFixed(r, 3, 1, QByteArray(1, kind));
            rw::putFixed(r, 12, 16, key);
            ra += r;
        }
    }
    put(QStringLiteral("RATHISWEEKNNEW.dat"), ra);

    // Run files: none for some horses, stale last records now and then.
    for (const QByteArray& h : horses) {
        if (chance(rng, 15)) continue;
        const int runs = int(rng.bounded(0, 7));
        QByteArray file;
        int date = 20230101;
        for (int k = 0; k < runs; ++k) {
            QByteArray r = randomRecord(rng, 555);
            rw::putFixed(r, 1, 2, "SE");
            date += int(rng.bounded(1, 40));
            const bool stale = k == runs - 1 && chance(rng, 40);
            rw::putFixed(r, 4, 8, num(stale ? date - 60 : date, 8));
            rw::putFixed(r, 12, 16,
                         chance(rng, 15) ? QByteArray("2023123109010199") : pick(rng, raceKeys));
            rw::putFixed(r, 31, 10, h);
            rw::putFixed(r, 297, 5, pick(rng, jockeys));
            file += r;
        }
        put(QStringLiteral("UMAGOTOTHISWEEKN\\") + QString::fromLatin1(h) + QStringLiteral(".dat"), file);
    }
    QDir().mkpath(rw::AppFile(u"UMAGOTOEXTHISWEEKN"));
    QDir().mkpath(rw::AppFile(u"UMAGOTOTHISWEEKN"));
    // Horse files of an earlier week, some longer than this week's runs,
    // their make dates at random.
    for (const QByteArray& h : horses) {
        if (!chance(rng, 25)) continue;
        QByteArray old;
        for (int k = int(rng.bounded(0, 6)); k > 0; --k) {
            QByteArray r = randomRecord(rng, 2603);
            rw::putFixed(r, 4, 8, num(20220101 + rng.bounded(0, 3) * 10000, 8));
            old += r;
        }
        put(QStringLiteral("UMAGOTOEXTHISWEEKN\\") + QString::fromLatin1(h) + QStringLiteral("EX.dat"), old);
    }
    if (chance(rng, 50)) put(QStringLiteral("TEMPORARY"), randomRecord(rng, 2603).repeated(int(rng.bounded(1, 9))));

    // The lists, in shuffled order; a horse listed twice, a value that is
    // not a registration number.
    if (o.horses > 0) week.horseList = horses;
    for (int i = week.horseList.size() - 1; i > 0; --i) week.horseList.swapItemsAt(i, int(rng.bounded(i + 1)));
    if (!week.horseList.isEmpty() && chance(rng, 30)) week.horseList << week.horseList.first();
    if (chance(rng, 30)) week.horseList.insert(int(rng.bounded(week.horseList.size())), "../../x");
    week.damList = dams;
    QByteArray list;
    for (const QByteArray& h : week.horseList) list += "\"" + h + "\"\r\n";
    put(QStringLiteral("KETTONUMTHISWEEKN.dat"), list);
    list.clear();
    for (const QByteArray& d : week.damList) list += "\"" + d + "\"\r\n";
    put(QStringLiteral("HAHAHANNUMTHISWEEKN.dat"), list);

    if (o.statistics) {
        // Package statistics: some keys twice, some listed keys missing,
        // keys that are not listed.
        QByteArray hahauma, kyosoba;
        for (int i = 0; i < 12; ++i) {
            QByteArray d = randomRecord(rng, 402);
            rw::putFixed(d, 1, 10, chance(rng, 50) ? pick(rng, dams) : "11000" + num(900 + i, 5));
            hahauma += d;
            QByteArray h = randomRecord(rng, 228);
            rw::putFixed(h, 1, 10, chance(rng, 60) ? pick(rng, horses) : "20170" + num(i, 5));
            kyosoba += h;
        }
        put(QStringLiteral("OPTION1N\\HAHAUMA.dat"), hahauma);
        put(QStringLiteral("OPTION1N\\KYOSOBA.dat"), kyosoba);
        // Longer extracts of an earlier week.
        if (chance(rng, 50)) put(QStringLiteral("OPTION1N\\HAHAUMATHISWEEK.dat"), randomRecord(rng, 402).repeated(20));
        if (chance(rng, 50)) put(QStringLiteral("OPTION1N\\KYOSOBATHISWEEK.dat"), randomRecord(rng, 228).repeated(20));
    }
    return week;
}

std::map<QString, QByteArray> snapshotApp() { return filesUnder(rw::AppPath); }

void restoreApp(const std::map<QString, QByteArray>& files) {
    QDir root(rw::AppPath);
    for (const QString& entry : root.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        const QString p = root.filePath(entry);
        if (QFileInfo(p).isDir() && !QFileInfo(p).isSymLink())
            QDir(p).removeRecursively();
        else
            QFile::remove(p);
    }
    QDir().mkpath(root.filePath(QStringLiteral("UMAGOTOEXTHISWEEKN")));
    QDir().mkpath(root.filePath(QStringLiteral("UMAGOTOTHISWEEKN")));
    for (const auto& [name, bytes] : files) {
        const QString p = root.filePath(name);
        QDir().mkpath(QFileInfo(p).path());
        writeFile(p, bytes);
    }
}

}  // namespace rwtest
