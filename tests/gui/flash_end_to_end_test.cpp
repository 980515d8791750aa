// Flash results and cancellation processing end to end on the typical
// Friday sample week pressed along the real road (① ② ③ ④ ⑤ ⑥), through the
// window-less driver: the flash results of the week's races reach the
// runner files ⑥ made, changing only their five slot-0 items; cancellation
// processing removes the sample's cancelled race, and a following ⑥ no
// longer lists it.
#include "common/record_file.h"
#include "common/text_file.h"
#include "jvdata/records.h"
#include "prediction/runner_record.h"
#include "sample/generator.h"
#include "support/driver.h"
#include "support/road_week.h"
#include "support/test_support.h"

#include <QDir>
#include <QSet>
#include <gtest/gtest.h>

#include <map>

using namespace rw::jv;
using rw::RecordFile;
namespace rr = rw::prediction::rr;

namespace {

using rwtest::readFile;
using rwtest::splitRecords;

QByteArray at(const QByteArray& rec, const Field& f) { return rec.mid(f.pos - 1, f.width); }

class FlashEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        road = rwtest::PressedRoadWeek(rw::sample::Scale::Typical, rw::sample::Scenario::Friday);
        ASSERT_EQ(road->road.exitCode, 0) << road->road.err.toStdString();
        ASSERT_TRUE(road->road.err.isEmpty()) << road->road.err.toStdString();
        week = road->summary;
        ASSERT_FALSE(week.weekRaces.isEmpty());
    }
    QString file(const QString& rel) const { return road->file(rel); }
    rwtest::PressResult press(const QStringList& presses) {
        rwtest::PressResult r = road->press(presses);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        return r;
    }
    QString runnerFile(const rw::sample::WeekRace& race) const {
        return file(QStringLiteral("RACE/") + QLatin1String(race.raceId) + QStringLiteral(".dat"));
    }

    std::unique_ptr<rwtest::RoadWeek> road;
    rw::sample::Summary week;
};

}  // namespace

TEST_F(FlashEndToEnd, FlashResultsReachTheRunnerFilesOfTheWeeksRaces) {
    std::map<QByteArray, QByteArray> made, expected;  // RaceID -> runner file as ⑥ made it, as the flash leaves it
    for (const rw::sample::WeekRace& race : week.weekRaces) {
        made[race.raceId] = expected[race.raceId] = readFile(runnerFile(race));
        ASSERT_FALSE(made[race.raceId].isEmpty()) << race.raceId.constData();
    }
    auto set = [&](const QByteArray& raceId, QByteArrayView horse, const rw::prediction::Field& f,
                   const QByteArray& v) {
        const int h = horse.toInt();
        if (h < 1 || !expected.count(raceId)) return;
        ASSERT_LE(qsizetype(h) * rw::prediction::kRunnerRecordLength, expected[raceId].size()) << raceId.constData();
        expected[raceId].replace(qsizetype(h - 1) * rw::prediction::kRunnerRecordLength + f.offset(), f.width, v);
    };
    // The flash entries of the week's two race days…
    int entries = 0;
    for (const QByteArray& date : week.raceDates)
        for (const QByteArray& se :
             splitRecords(readFile(file(QStringLiteral("JVDATA/0B12/") + QLatin1String(date) + ".jvd")))) {
            if (!se.startsWith("SE")) continue;
            const QByteArray id =
                at(se, head::Year) + at(se, head::MonthDay) + at(se, head::Racecourse) + at(se, head::RaceNumber);
            const QByteArray horse = at(se, se::HorseNumber);
            set(id, horse, rr::ArrivalOrder(0), at(se, se::ArrivalOrder));
            set(id, horse, rr::RaceTime(0), at(se, se::Time));
            set(id, horse, rr::WinPopularity(0), at(se, se::WinPopularity));
            set(id, horse, rr::WinOdds(0), at(se, se::WinOdds));
            set(id, horse, rr::Last3FTime(0), at(se, se::Last3F));
            ++entries;
        }
    // …then the flash win odds of the races of the last 97 downloaded race
    // records.
    const QList<QByteArray> downloaded = RecordFile::readAll(file(QStringLiteral("RATHISWEEKN.dat")), 1272);
    QSet<QByteArray> requested;
    for (qsizetype i = downloaded.size() - 1; i >= 0 && i >= downloaded.size() - 97; --i)
        requested.insert(at(downloaded[i], head::RaceKey16));
    for (const rw::sample::WeekRace& race : week.weekRaces) {
        if (!requested.contains(race.raceKey16)) continue;
        const QByteArray o1 =
            splitRecords(readFile(file(QStringLiteral("JVDATA/0B30/") + QLatin1String(race.raceKey16) + ".jvd")))
                .value(0);
        ASSERT_TRUE(o1.startsWith("O1"));
        for (int e = 0; e < 28; ++e) {
            const QByteArray horse = at(o1, odds::WinHorse(e));
            set(race.raceId, horse, rr::WinPopularity(0), at(o1, odds::WinPopularity(e)));
            set(race.raceId, horse, rr::WinOdds(0), at(o1, odds::WinOdds(e)));
        }
    }
    ASSERT_GT(entries, 500);

    const rwtest::PressResult r = press({QStringLiteral("Command12"), QStringLiteral("KESP2RIALTIME.Command2"),
                                         QStringLiteral("KESHRRIALTIME.Command1")});
    EXPECT_FALSE(r.out.contains(QStringLiteral("MsgBox:"))) << r.out.toStdString();
    EXPECT_FALSE(r.err.contains(QStringLiteral("skipped"))) << r.err.toStdString();
    int changed = 0;
    for (const rw::sample::WeekRace& race : week.weekRaces) {
        const QByteArray now = readFile(runnerFile(race));
        EXPECT_EQ(now, expected[race.raceId]) << race.raceId.constData();
        changed += now != made[race.raceId];
    }
    EXPECT_EQ(changed, week.weekRaces.size());
    EXPECT_EQ(RecordFile::countOf(file(QStringLiteral("SERIALTIME.dat")), 555), entries);
    EXPECT_EQ(RecordFile::countOf(file(QStringLiteral("RARIALTIME.dat")), 1272), week.weekRaces.size());
}

TEST_F(FlashEndToEnd, CancellationProcessingRemovesTheCancelledRaceAndTheNextRunNoLongerListsIt) {
    ASSERT_EQ(road->listed().size(), 72);
    const rwtest::PressResult r = press({QStringLiteral("--option1"), QStringLiteral("Command2"),
                                         QStringLiteral("Command4"), QStringLiteral("Command8")});
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    EXPECT_EQ(r.line(QStringLiteral("Text5")), QStringLiteral("予想･結果終了"));
    QList<rw::sample::WeekRace> cancelled;
    for (const rw::sample::WeekRace& race : week.weekRaces)
        if (race.cancelled) cancelled.append(race);
    ASSERT_EQ(cancelled.size(), 1);
    const rw::sample::WeekRace& gone = cancelled[0];
    auto raceKeys = [&](const char* name, int length) {
        QList<QByteArray> keys;
        for (const QByteArray& rec : RecordFile::readAll(file(QLatin1String(name)), length))
            keys.append(at(rec, head::RaceKey16) + rec[2]);
        return keys;
    };
    const QList<QByteArray> races = raceKeys("RATHISWEEKNNEW.dat", 1272),
                            marked = raceKeys("RATHISWEEKNNEWd.dat", 1272);
    EXPECT_EQ(races.size(), marked.size() - 1);
    EXPECT_FALSE(races.contains(gone.raceKey16 + '2'));
    EXPECT_TRUE(marked.contains(gone.raceKey16 + '9'));
    const QList<QByteArray> entries = raceKeys("SETHISWEEKNNEW.dat", 555), runs = raceKeys("SETHISWEEKNNEWd.dat", 555);
    EXPECT_EQ(runs.count(gone.raceKey16 + '9'), gone.runners);
    for (const QByteArray& k : entries) EXPECT_FALSE(k.startsWith(gone.raceKey16));
    for (const QByteArray& k : entries + races) EXPECT_FALSE(k.endsWith('1') || k.endsWith('9')) << k.constData();
    EXPECT_EQ(entries.size(), runs.size() - gone.runners);
    // The cancelled race's horses no longer run in it.
    int horses = 0;
    for (const QByteArray& rec : RecordFile::readAll(file(QStringLiteral("SETHISWEEKNNEWd.dat")), 555)) {
        if (at(rec, head::RaceKey16) != gone.raceKey16) continue;
        const QString runFile =
            file(QStringLiteral("UMAGOTOTHISWEEKN/") + QLatin1String(at(rec, se::RegistrationNumber)) + ".dat");
        for (const QByteArray& run : RecordFile::readAll(runFile, 555))
            EXPECT_NE(at(run, head::RaceKey16), gone.raceKey16);
        ++horses;
    }
    EXPECT_EQ(horses, gone.runners);
    // ⑥ lists the week without it.
    const QList<QByteArray> listed = road->listed();
    EXPECT_EQ(listed.size(), 71);
    EXPECT_FALSE(listed.contains(gone.raceId));
    EXPECT_EQ(rw::readLines(file(QStringLiteral("RACETHISWEEKNSYOSAI.dat"))).size(), 71);
}
