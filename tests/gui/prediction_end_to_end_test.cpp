// ⑥ through the window-less driver on the typical sample weeks, after ① and
// ② and with expanded records placed by hand (until ③ ④ ⑤ run here): the
// week's races listed, a runner file and the sort, score and bet-import
// files of every race, the rate files of every course-day on official
// results, the menu's end message.
#include "common/record_file.h"
#include "common/text_file.h"
#include "jvdata/records.h"
#include "sample/generator.h"
#include "support/driver.h"
#include "support/stub_expanded.h"
#include "support/test_support.h"

#include <QDir>
#include <QHash>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <array>
#include <map>

using namespace rw;

namespace {

struct Week {
    QTemporaryDir dir;
    sample::Summary summary;
    rwtest::PressResult store, run;
    QString file(const QString& rel) const { return dir.path() + QLatin1Char('/') + rel; }
    QList<QByteArray> listed() const {
        QList<QByteArray> ids;
        for (const QByteArray& v : readValues(file(QStringLiteral("RACETHISWEEKN.dat")))) ids.append(v);
        return ids;
    }
};

std::unique_ptr<Week> pressWeek(sample::Scenario scenario) {
    auto w = std::make_unique<Week>();
    w->summary = sample::generate({sample::Scale::Typical, scenario, 1}, w->dir.path());
    w->store = rwtest::runPress(w->dir.path(), {QStringLiteral("Command2"), QStringLiteral("Command4")});
    EXPECT_GT(rwtest::WriteStubExpandedRecords(w->dir.path(), 3), 900);
    w->run = rwtest::runPress(w->dir.path(), {QStringLiteral("Command8")});
    return w;
}

void expectRaceFiles(const Week& w, const QByteArray& id) {
    const QString race = QString::fromLatin1(id);
    EXPECT_TRUE(QFile::exists(w.file("RACE/" + race + ".dat"))) << id.constData();
    for (const char* suffix : {".dat", "SORT.dat", "LUPSORT.dat", "UMARENSORT.dat", "UMATANSORT.dat", "SANRENSORT.dat",
                               "SANRENTANSORT.dat"})
        EXPECT_TRUE(QFile::exists(w.file("KAIME/" + race + QLatin1String(suffix)))) << id.constData() << suffix;
    // The bet-import files carry the course name of the sample code table.
    static const QStringList courses = {QStringLiteral("札幌"), QStringLiteral("函館"), QStringLiteral("福島"),
                                        QStringLiteral("新潟"), QStringLiteral("東京"), QStringLiteral("中山"),
                                        QStringLiteral("中京"), QStringLiteral("京都"), QStringLiteral("阪神"),
                                        QStringLiteral("小倉")};
    const QString name = race.mid(2, 6) + courses.value(race.mid(8, 2).toInt() - 1) + race.mid(10, 2) + "R.csv";
    for (const char* folder : {"UMAREN", "WIDE", "UMATAN", "SANRENPUKU", "SANRENTAN"})
        EXPECT_TRUE(QFile::exists(w.file(QLatin1String(folder) + QLatin1Char('/') + name))) << folder << " " << id.constData();
}

// The course-day (DayKey) of every race of the week, by RaceID.
QHash<QByteArray, QString> dayOfRace(const Week& w) {
    QHash<QByteArray, QString> day;
    for (const sample::WeekRace& r : w.summary.weekRaces) day[r.raceId] = QString::fromLatin1(r.raceKey16.left(14));
    return day;
}

// Normal mode: one selection day file per course-day of the listed races,
// and no results-mode file, hit table or rate file.
void expectSelectionDayFiles(const Week& w) {
    const auto day = dayOfRace(w);
    QSet<QString> days;
    for (const QByteArray& id : w.listed()) days.insert(day.value(id));
    ASSERT_FALSE(days.isEmpty());
    for (const QString& d : days) {
        const QList<QByteArray> lines = readLines(w.file("TEKICHU/" + d + "lupPC.txt"));
        ASSERT_FALSE(lines.isEmpty()) << d.toStdString();
        EXPECT_TRUE(lines[0].startsWith("\"DY\"")) << d.toStdString();
    }
    for (const QString& f : QDir(w.file(QStringLiteral("TEKICHU"))).entryList(QDir::Files))
        EXPECT_FALSE(f.contains(QStringLiteral("RCM")) || f.contains(QStringLiteral("tekichu")) ||
                     f.contains(QStringLiteral("kaiteki")))
            << f.toStdString();
}

// Results mode: every course-day's hit table holds its date line and
// column header, then three rows per race (every listed race has its own
// payoff record); read back value by value as the past-performance browser
// reads it, 6 values and then groups of 12. Where the course-day starts at
// race 1 its rate file sums what the hit table shows.
void expectSelectionHitTables(const Week& w) {
    const auto day = dayOfRace(w);
    std::map<QString, int> races;
    for (const QByteArray& id : w.listed()) ++races[day.value(id)];
    ASSERT_FALSE(races.empty());
    for (const auto& [d, n] : races) {
        SCOPED_TRACE(d.toStdString());
        EXPECT_TRUE(QFile::exists(w.file("TEKICHU/" + d + "lupRCMPC.txt")));
        EXPECT_FALSE(QFile::exists(w.file("TEKICHU/" + d + "lupPC.txt")));
        const QString table = w.file("TEKICHU/" + d + "tekichuPC.txt");
        const QList<QByteArray> lines = readLines(table);
        ASSERT_EQ(lines.size(), 2 + 3 * n);
        for (qsizetype i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i].count(',') + 1, i == 0 ? 6 : 12) << i;
        const QList<QByteArray> v = readValues(table);
        ASSERT_EQ(v.size(), 6 + 12 * (1 + 3 * n));
        auto row = [&](int r) { return v.mid(6 + 12 * r, 12); };
        EXPECT_EQ(row(0)[0], rwtest::sj(" R番号"));
        std::array<qint64, 11> hits{}, pays{}, tickets{};
        for (int race = 0; race < n; ++race) {
            const QList<QByteArray> count = row(1 + 3 * race), hit = row(2 + 3 * race), pay = row(3 + 3 * race);
            EXPECT_TRUE(count[0].endsWith(rwtest::sj("R点数  "))) << count[0].constData();
            EXPECT_EQ(hit[0], rwtest::sj("  的中目"));
            EXPECT_EQ(pay[0], rwtest::sj("  配当"));
            // The seven exotic counts are bare numbers.
            const QList<QByteArray> raw = lines[2 + 3 * race].split(',');
            for (int c = 1; c <= 11; ++c) {
                EXPECT_EQ(raw[c].startsWith('"'), c <= 4) << raw[c].constData();
                EXPECT_EQ(hit[c].isEmpty(), pay[c].isEmpty()) << c;
                hits[size_t(c - 1)] += hit[c].isEmpty() ? 0 : 1;
                pays[size_t(c - 1)] += pay[c].toLongLong();
                if (c > 4) tickets[size_t(c - 1)] += count[c].toLongLong();
            }
        }
        if (!row(1)[0].startsWith("01R")) continue;
        const QList<QByteArray> pc = readLines(w.file("TEKICHU/" + d + "kaitekiPC.txt"));
        ASSERT_EQ(pc.size(), 8);
        const QList<QByteArray> hitLine = pc[3].split(','), ticketLine = pc[5].split(','), payLine = pc[6].split(',');
        for (size_t c = 0; c < 11; ++c) {
            EXPECT_EQ(hitLine[qsizetype(c) + 1].toLongLong(), hits[c]) << c;
            EXPECT_EQ(payLine[qsizetype(c) + 1].toLongLong(), pays[c]) << c;
            if (c >= 4) EXPECT_EQ(ticketLine[qsizetype(c) + 1].toLongLong(), tickets[c]) << c;
        }
    }
}

}  // namespace

TEST(PredictionEndToEnd, FridayWeekListsItsSeventyTwoRacesInNormalMode) {
    const auto w = pressWeek(sample::Scenario::Friday);
    ASSERT_EQ(w->run.exitCode, 0) << w->run.err.toStdString();
    EXPECT_EQ(w->run.line(QStringLiteral("Text5")), QStringLiteral("予想･結果終了"));
    const QList<QByteArray> ids = w->listed();
    EXPECT_EQ(ids.size(), 72);
    EXPECT_EQ(QDir(w->file(QStringLiteral("RACE"))).entryList(QDir::Files).size(), 72);
    for (const QByteArray& id : ids) expectRaceFiles(*w, id);
    expectSelectionDayFiles(*w);
    EXPECT_EQ(readLines(w->file(QStringLiteral("RACETHISWEEKNSYOSAI.dat"))).size(), 72);
}

TEST(PredictionEndToEnd, MondayWeekListsOneRacePerPayoffRecordInResultsMode) {
    const auto w = pressWeek(sample::Scenario::Monday);
    ASSERT_EQ(w->run.exitCode, 0) << w->run.err.toStdString();
    EXPECT_EQ(w->run.line(QStringLiteral("Text5")), QStringLiteral("予想･結果終了"));
    QList<QByteArray> payoffs;
    for (const QByteArray& hr : RecordFile::readAll(w->file(QStringLiteral("HRTHISWEEKN.dat")), 719))
        payoffs.append(hr.mid(11, 8) + hr.mid(19, 2) + hr.mid(25, 2));
    EXPECT_EQ(w->listed(), payoffs);
    // Detail rows only for races with a race record, one per listed race.
    EXPECT_LE(readLines(w->file(QStringLiteral("RACETHISWEEKNSYOSAI.dat"))).size(), payoffs.size());
    for (const QByteArray& id : w->listed()) expectRaceFiles(*w, id);
    // The rate files of every course-day of the week; rates 0 until the
    // judging writers fill the totals.
    QSet<QString> days;
    for (const sample::WeekRace& r : w->summary.weekRaces)
        if (!r.cancelled) days.insert(QString::fromLatin1(r.raceKey16.left(14)));
    ASSERT_FALSE(days.isEmpty());
    for (const QString& day : days) {
        const QList<QByteArray> k = readLines(w->file("TEKICHU/" + day + "kaiteki.txt"));
        ASSERT_EQ(k.size(), 9) << day.toStdString();
        for (int line = 3; line < 9; ++line) EXPECT_TRUE(k[line].endsWith(",0,0,0,0,0,0")) << k[line].constData();
        const QList<QByteArray> pc = readLines(w->file("TEKICHU/" + day + "kaitekiPC.txt"));
        ASSERT_EQ(pc.size(), 8) << day.toStdString();
        const QList<QByteArray> races = pc[2].split(',');
        ASSERT_EQ(races.size(), 12);
        for (int c = 2; c < 12; ++c) EXPECT_EQ(races[c], races[1]);
    }
    expectSelectionHitTables(*w);
}
