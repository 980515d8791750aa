#include "jvdata/flash_fetch.h"

#include "common/errors.h"
#include "common/kestrav_path.h"
#include "support/recording_ui.h"
#include "jvdata/records.h"
#include "support/odds_records.h"
#include "support/record_builder.h"
#include "support/scripted_jvlink.h"
#include "support/test_support.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace rw;
using namespace rw::jv;
using rw::test::ReadStep;
using rwtest::RecordBuilder;

namespace {

const QString kWeekId = QStringLiteral("JVInit(DEDERIDU1THISWEEKN/20190729)");

// The RaceKey16 of race record i: twelve races a meeting day.
QByteArray keyOf(int i, QByteArray date = "20241207") {
    return date + QByteArray::number(1 + (i - 1) / 12 % 90).rightJustified(2, '0') + "0401" +
           QByteArray::number(1 + (i - 1) % 12).rightJustified(2, '0');
}

QByteArray raceRecords(const QList<QByteArray>& dates) {
    QByteArray all;
    for (int i = 1; i <= dates.size(); ++i) all += RecordBuilder(Kind::RA, '2').raceKey(keyOf(i, dates[i - 1]));
    return all;
}

QList<QByteArray> repeated(const QByteArray& date, int n) { return QList<QByteArray>(n, date); }

class FlashFetch : public ::testing::Test {
protected:
    QStringList requests() const { return jv.log.filter(QStringLiteral("JVRTOpen")); }

    rwtest::AppFolder app;
    RecordingUi ui;
    rw::test::ScriptedJvLink jv;
    SkipLog log{"flash"};
};

}  // namespace

TEST_F(FlashFetch, WinOddsAreRequestedForTheLast97RaceRecordsNewestFirst) {
    struct Case {
        int records, first, last;
    } cases[] = {{150, 150, 54}, {30, 30, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.records);
        jv = rw::test::ScriptedJvLink();
        app.write(QStringLiteral("RATHISWEEKN.dat"), raceRecords(repeated("20241207", c.records)));
        FetchFlashWinOdds(ui, jv);
        QStringList expected;
        for (int i = c.first; i >= c.last; --i) expected << QStringLiteral("JVRTOpen(0B30,%1)").arg(QLatin1String(keyOf(i)));
        EXPECT_EQ(requests(), expected);
        EXPECT_EQ(jv.count(kWeekId), expected.size()) << "one JVInit per request";
        EXPECT_EQ(jv.log.size(), expected.size() * (1 + 1 + 6 + 1)) << "six reads each, then JVClose";
    }
}

TEST_F(FlashFetch, OnlyMinusOneStopsTheWinOddsReadsAndOnlyO1IsKept) {
    app.write(QStringLiteral("RATHISWEEKN.dat"), raceRecords(repeated("20241207", 2)));
    app.write(QStringLiteral("O1RIALTIME.dat"), "an earlier fetch\r\n");
    const QByteArray o1a = RecordBuilder(Kind::O1, '1').raceKey(keyOf(2));
    const QByteArray o1b = RecordBuilder(Kind::O1, '2').raceKey(keyOf(2));
    const QByteArray o1c = RecordBuilder(Kind::O1, '1').raceKey(keyOf(1));
    jv.addRealtime(QStringLiteral("0B30"), QString::fromLatin1(keyOf(2)),
                   {ReadStep::rec(o1a), ReadStep::code(-203), ReadStep::rec(rwtest::oddsRecord(Kind::O2, keyOf(2), 5)),
                    ReadStep::code(-502), ReadStep::rec(o1b), ReadStep::code(0), ReadStep::rec(o1a)});
    jv.addRealtime(QStringLiteral("0B30"), QString::fromLatin1(keyOf(1)), {ReadStep::rec(o1c), ReadStep::code(-1), ReadStep::rec(o1c)});
    FetchFlashWinOdds(ui, jv);
    // Race 2: six reads whatever they answer; after -203 and -502 the buffer
    // still held the record before (the O1 once more, then the O2). Race 1:
    // the -1 ends it.
    EXPECT_EQ(app.read(QStringLiteral("O1RIALTIME.dat")), o1a + o1a + o1b + o1b + o1c);
    EXPECT_EQ(jv.count(QStringLiteral("JVRead")), 6 + 2);
    EXPECT_EQ(jv.count(QStringLiteral("JVClose")), 2);
}

TEST_F(FlashFetch, WinOddsWithoutRaceRecordsRequestNothing) {
    FetchFlashWinOdds(ui, jv);
    EXPECT_TRUE(jv.log.isEmpty());
    EXPECT_TRUE(app.exists(QStringLiteral("O1RIALTIME.dat")));
    EXPECT_TRUE(app.exists(QStringLiteral("RATHISWEEKN.dat"))) << "opened, so created";
}

TEST_F(FlashFetch, RaceDaysNewestFirstAtMostThreeWithinTheWalk) {
    const QByteArray fri = "20241206", sat = "20241207", sun = "20241208", mon = "20241209";
    struct Case {
        const char* name;
        QList<QByteArray> dates;
        QList<QByteArray> days;
    } cases[] = {
        {"Saturday then Sunday", repeated(sat, 36) + repeated(sun, 36), {sun, sat}},
        {"three days", repeated(fri, 5) + repeated(sat, 5) + repeated(sun, 5), {sun, sat, fri}},
        {"four days, the three last", repeated(fri, 5) + repeated(sat, 5) + repeated(sun, 5) + repeated(mon, 5), {mon, sun, sat}},
        {"one last record on the newest day", repeated(sat, 10) + QList<QByteArray>{sun}, {sun, sat}},
        {"one day", repeated(sat, 24), {sat}},
        {"one record", {sat}, {sat}},
        {"no record", {}, {}},
        {"the walk reaches record 1 of 98", QList<QByteArray>{fri} + repeated(sat, 97), {sat, fri}},
        {"but not record 1 of 99", QList<QByteArray>{fri} + repeated(sat, 98), {sat}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        app.write(QStringLiteral("RATHISWEEKNNEW.dat"), raceRecords(c.dates));
        EXPECT_EQ(FlashRaceDates(u"RATHISWEEKNNEW.dat"), c.days);
    }
}

TEST_F(FlashFetch, RaceDayReadsKeepRaceEntryAndPayoffImages) {
    const QByteArray ra = RecordBuilder(Kind::RA, '7').raceKey(keyOf(1));
    const QByteArray se1 = RecordBuilder(Kind::SE, '7').raceKey(keyOf(1)).set(se::HorseNumber, "01");
    const QByteArray se2 = RecordBuilder(Kind::SE, '9').raceKey(keyOf(2)).set(se::HorseNumber, "02");
    const QByteArray hr = RecordBuilder(Kind::HR, '1').raceKey(keyOf(1));
    const QByteArray shortSe = se1.left(100);  // cut short by the component: blank-padded
    const QByteArray o1 = RecordBuilder(Kind::O1, '1').raceKey(keyOf(1));
    jv.addRealtime(QStringLiteral("0B12"), QStringLiteral("20241208"),
                   {ReadStep::rec(ra), ReadStep::code(-1), ReadStep::rec(se1), ReadStep::code(-502), ReadStep::rec(o1),
                    ReadStep::rec(hr), ReadStep::rec(shortSe), ReadStep::code(0), ReadStep::rec(se2)});
    jv.addRealtime(QStringLiteral("0B12"), QStringLiteral("20241207"), {ReadStep::rec(se2), ReadStep::code(-203), ReadStep::rec(se1)});
    app.write(QStringLiteral("SERIALTIME.dat"), RecordBuilder(Kind::SE, '2').bytes());  // an earlier fetch stays
    FetchFlashDays(ui, jv, QStringLiteral("ID/1"), {"20241208", "20241207"}, log);

    EXPECT_EQ(app.read(QStringLiteral("RARIALTIME.dat")), ra);
    EXPECT_EQ(app.read(QStringLiteral("HRRIALTIME.dat")), hr);
    EXPECT_EQ(app.read(QStringLiteral("SERIALTIME.dat")),
              RecordBuilder(Kind::SE, '2').bytes() + se1 + ToFixed(Kind::SE, shortSe) + se2);
    EXPECT_EQ(ToFixed(Kind::SE, shortSe).size(), 555);
    EXPECT_EQ(jv.log, (QStringList{QStringLiteral("JVInit(ID/1)"), QStringLiteral("JVRTOpen(0B12,20241208)")} +
                       QStringList(8, QStringLiteral("JVRead")) +
                       QStringList{QStringLiteral("JVClose"), QStringLiteral("JVInit(ID/1)"), QStringLiteral("JVRTOpen(0B12,20241207)"),
                                   QStringLiteral("JVRead"), QStringLiteral("JVRead"), QStringLiteral("JVClose")}));
    EXPECT_TRUE(log.empty());
}

TEST_F(FlashFetch, ARaceDayThatKeepsAnsweringWithoutRecordsEndsAfterABound) {
    for (std::int32_t code : {-1, -502}) {
        SCOPED_TRACE(code);
        jv = rw::test::ScriptedJvLink();
        SkipLog dayLog("flash");
        std::deque<ReadStep> steps(kFlashDayIdleReads + 50, ReadStep::code(code));
        steps.push_front(ReadStep::rec(RecordBuilder(Kind::RA, '7').raceKey(keyOf(1))));
        jv.addRealtime(QStringLiteral("0B12"), QStringLiteral("20241208"), steps);
        jv.addRealtime(QStringLiteral("0B12"), QStringLiteral("20241207"), {ReadStep::code(-203)});
        FetchFlashDays(ui, jv, QStringLiteral("ID/1"), {"20241208", "20241207"}, dayLog);
        EXPECT_EQ(jv.count(QStringLiteral("JVRead")), 1 + kFlashDayIdleReads + 1);
        EXPECT_EQ(requests().size(), 2) << "the next day is still requested";
        ASSERT_EQ(dayLog.skipped().size(), 1u);
        EXPECT_NE(dayLog.skipped()[0].find("without a record"), std::string::npos);
    }
}

// A race day's file that the component names as damaged is recorded, so
// that the press says so; the reads go on.
TEST_F(FlashFetch, ADamagedRaceDayFileIsRecorded) {
    const QByteArray ra = RecordBuilder(Kind::RA, '7').raceKey(keyOf(1));
    jv.addRealtime(QStringLiteral("0B12"), QStringLiteral("20241208"),
                   {ReadStep::code(kReadDamaged403), ReadStep::rec(ra), ReadStep::code(-203)});
    FetchFlashDays(ui, jv, QStringLiteral("ID/1"), {"20241208"}, log);
    EXPECT_EQ(app.read(QStringLiteral("RARIALTIME.dat")), ra);
    ASSERT_EQ(log.skipped().size(), 1u);
    EXPECT_NE(log.skipped()[0].find("0B12 20241208"), std::string::npos) << log.skipped()[0];
    EXPECT_NE(log.skipped()[0].find("damaged"), std::string::npos) << log.skipped()[0];
}

TEST_F(FlashFetch, AFileThatCannotBeWrittenEndsTheRequests) {
    QDir(app.path()).mkpath(QStringLiteral("SERIALTIME.dat"));  // a folder in the file's place
    jv.addRealtime(QStringLiteral("0B12"), QStringLiteral("20241208"),
                   {ReadStep::rec(RecordBuilder(Kind::RA, '7').raceKey(keyOf(1))),
                    ReadStep::rec(RecordBuilder(Kind::SE, '7').raceKey(keyOf(1))),
                    ReadStep::rec(RecordBuilder(Kind::HR, '1').raceKey(keyOf(1)))});
    EXPECT_THROW(FetchFlashDays(ui, jv, QStringLiteral("ID/1"), {"20241208", "20241207"}, log), StepFailure);
    EXPECT_EQ(requests(), QStringList{QStringLiteral("JVRTOpen(0B12,20241208)")});
    EXPECT_EQ(jv.log.last(), QStringLiteral("JVClose"));
    EXPECT_EQ(app.read(QStringLiteral("RARIALTIME.dat")).size(), 1272);
    EXPECT_FALSE(app.exists(QStringLiteral("HRRIALTIME.dat")));
}

TEST_F(FlashFetch, ResultsRequestTheRaceDaysOfTheSortedRaceFileWithTheWeeksIdentifier) {
    app.write(QStringLiteral("RATHISWEEKNNEW.dat"), raceRecords(repeated("20241207", 3) + repeated("20241208", 3)));
    app.write(QStringLiteral("RATHISWEEKN.dat"), raceRecords(repeated("20241201", 3)));  // not this one
    jv.initResult = -201;
    FetchFlashResults(ui, jv, log);
    EXPECT_EQ(requests(), (QStringList{QStringLiteral("JVRTOpen(0B12,20241208)"), QStringLiteral("JVRTOpen(0B12,20241207)")}));
    EXPECT_EQ(jv.count(kWeekId), 2);
    EXPECT_EQ(ui.messages, QStringList(2, QString::fromUtf8("JVInitエラー。RC=-201")));
}
