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
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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

}  // namespace

TEST(PredictionEndToEnd, FridayWeekListsItsSeventyTwoRacesInNormalMode) {
    const auto w = pressWeek(sample::Scenario::Friday);
    ASSERT_EQ(w->run.exitCode, 0) << w->run.err.toStdString();
    EXPECT_EQ(w->run.line(QStringLiteral("Text5")), QStringLiteral("予想･結果終了"));
    const QList<QByteArray> ids = w->listed();
    EXPECT_EQ(ids.size(), 72);
    EXPECT_EQ(QDir(w->file(QStringLiteral("RACE"))).entryList(QDir::Files).size(), 72);
    for (const QByteArray& id : ids) expectRaceFiles(*w, id);
    // Day files only: no hit table or rate file before the results.
    for (const QString& f : QDir(w->file(QStringLiteral("TEKICHU"))).entryList(QDir::Files))
        EXPECT_FALSE(f.contains(QStringLiteral("tekichu")) || f.contains(QStringLiteral("kaiteki"))) << f.toStdString();
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
    // The rate files of every course-day of the week.
    QSet<QString> days;
    for (const sample::WeekRace& r : w->summary.weekRaces)
        if (!r.cancelled) days.insert(QString::fromLatin1(r.raceKey16.left(14)));
    ASSERT_FALSE(days.isEmpty());
    int ratedLines = 0;  // the judging fills the totals the rates come from
    for (const QString& day : days) {
        const QList<QByteArray> k = readLines(w->file("TEKICHU/" + day + "kaiteki.txt"));
        ASSERT_EQ(k.size(), 9) << day.toStdString();
        for (int line = 3; line < 9; ++line) ratedLines += k[line].endsWith(",0,0,0,0,0,0") ? 0 : 1;
        const QList<QByteArray> pc = readLines(w->file("TEKICHU/" + day + "kaitekiPC.txt"));
        ASSERT_EQ(pc.size(), 8) << day.toStdString();
        const QList<QByteArray> races = pc[2].split(',');
        ASSERT_EQ(races.size(), 12);
        for (int c = 2; c < 12; ++c) EXPECT_EQ(races[c], races[1]);
    }
    EXPECT_GT(ratedLines, 0);
}
