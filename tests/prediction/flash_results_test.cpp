#include "prediction/flash_results.h"

#include "common/kestrav_path.h"
#include "support/recording_ui.h"
#include "jvdata/records.h"
#include "prediction/runner_record.h"
#include "support/record_builder.h"
#include "support/runner_files.h"
#include "support/scripted_jvlink.h"
#include "support/test_support.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace rw;
using namespace rw::jv;
using rw::test::ReadStep;
using rwtest::RecordBuilder;
namespace rr = rw::prediction::rr;
using rw::prediction::ApplyFlashEntries;
using rw::prediction::ApplyFlashWinOdds;
using rw::prediction::kRunnerRecordLength;

namespace {

const QByteArray kRace = "2024120805040111";  // Sunday, course 05, race 11
const QByteArray kOther = "2024120805040112";
const QString kRunners = QStringLiteral("RACE\\202412080511.dat");
const QString kOtherRunners = QStringLiteral("RACE\\202412080512.dat");

struct Result {
    QByteArray horse, arrival, time, popularity, odds, last3f;
};

QByteArray flashEntry(const QByteArray& key16, const Result& r, char kind = '7') {
    return RecordBuilder(Kind::SE, kind)
        .raceKey(key16)
        .set(se::HorseNumber, r.horse)
        .set(se::ArrivalOrder, r.arrival)
        .set(se::Time, r.time)
        .set(se::WinPopularity, r.popularity)
        .set(se::WinOdds, r.odds)
        .set(se::Last3F, r.last3f);
}

struct Win {
    QByteArray horse, odds, popularity;
};

QByteArray winOdds(const QByteArray& key16, const QList<Win>& entries) {
    RecordBuilder b(Kind::O1, '1', ' ');
    b.raceKey(key16);
    for (int i = 0; i < entries.size(); ++i)
        b.set(odds::WinHorse(i), entries[i].horse).set(odds::WinOdds(i), entries[i].odds).set(odds::WinPopularity(i), entries[i].popularity);
    return b;
}

// The runner file with the five slot-0 items of horse `h` set.
QByteArray withResult(QByteArray file, int h, const Result& r) {
    auto put = [&](const rw::prediction::Field& f, const QByteArray& v) {
        file.replace(qsizetype(h - 1) * kRunnerRecordLength + f.offset(), f.width, v);
    };
    put(rr::ArrivalOrder(0), r.arrival);
    put(rr::RaceTime(0), r.time);
    put(rr::WinPopularity(0), r.popularity);
    put(rr::WinOdds(0), r.odds);
    put(rr::Last3FTime(0), r.last3f);
    return file;
}

class FlashResults : public ::testing::Test {
protected:
    void SetUp() override {
        app.write(kRunners, rwtest::runnerFile(kRace, 10));
        app.write(kOtherRunners, rwtest::runnerFile(kOther, 8));
    }
    // The week: one race record in both race files; the feed delivers the
    // given O1 records for it and the given records for its day.
    void feed(const QList<QByteArray>& o1, const QList<QByteArray>& day) {
        app.write(QStringLiteral("RATHISWEEKN.dat"), RecordBuilder(Kind::RA, '2').raceKey(kRace));
        app.write(QStringLiteral("RATHISWEEKNNEW.dat"), RecordBuilder(Kind::RA, '2').raceKey(kRace));
        std::deque<ReadStep> odds, results;
        for (const QByteArray& r : o1) odds.push_back(ReadStep::rec(r));
        odds.push_back(ReadStep::code(-1));
        for (const QByteArray& r : day) results.push_back(ReadStep::rec(r));
        jv.addRealtime(QStringLiteral("0B30"), QString::fromLatin1(kRace), odds);
        jv.addRealtime(QStringLiteral("0B12"), QStringLiteral("20241208"), results);
    }
    void load() {
        SkipLog log("flash results");
        rw::prediction::LoadFlashResults(ui, jv, log);
        skipped = log.skipped();
    }

    rwtest::AppFolder app;
    RecordingUi ui;
    rw::test::ScriptedJvLink jv;
    std::vector<std::string> skipped;
};

}  // namespace

TEST_F(FlashResults, AnEntryChangesOnlyTheFiveCurrentRaceItemsOfItsHorse) {
    const Result r{"07", "03", "1345", "02", "0045", "345"};
    const QByteArray before = app.read(kRunners);
    app.write(QStringLiteral("SERIALTIME.dat"), flashEntry(kRace, r));
    SkipLog log("flash results");
    ApplyFlashEntries(log);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(app.read(kRunners), withResult(before, 7, r));
    EXPECT_EQ(rwtest::runnerItem(app.read(kRunners), 7, rr::RaceTime(0)), "1345");
    EXPECT_EQ(app.read(kOtherRunners), rwtest::runnerFile(kOther, 8));
}

TEST_F(FlashResults, TheWinOddsOfTheRaceOverrideTheEntriesPopularityAndOdds) {
    const QByteArray before = app.read(kRunners);
    const Result r7{"07", "01", "1339", "04", "0087", "338"}, r2{"02", "02", "1341", "01", "0021", "340"};
    feed({winOdds(kRace, {{"02", "0019", "01"}, {"07", "0102", "05"}})}, {flashEntry(kRace, r7), flashEntry(kRace, r2)});
    load();
    EXPECT_TRUE(skipped.empty());
    QByteArray expected = withResult(withResult(before, 7, r7), 2, r2);
    expected = withResult(expected, 7, {"07", "01", "1339", "05", "0102", "338"});
    expected = withResult(expected, 2, {"02", "02", "1341", "01", "0019", "340"});
    EXPECT_EQ(app.read(kRunners), expected);
}

TEST_F(FlashResults, WinEntriesWithoutAHorseNumberChangeNothing) {
    const QByteArray before = app.read(kRunners);
    feed({winOdds(kRace, {{"  ", "0010", "01"}, {"00", "0020", "02"}, {"", "", ""}})}, {});
    load();
    EXPECT_TRUE(skipped.empty());
    EXPECT_EQ(app.read(kRunners), before);
}

TEST_F(FlashResults, WithoutEntriesTheWinOddsAreStillApplied) {
    const QByteArray before = app.read(kRunners);
    feed({winOdds(kRace, {{"10", "0456", "09"}})}, {RecordBuilder(Kind::RA, '7').raceKey(kRace)});
    load();
    EXPECT_EQ(app.read(QStringLiteral("SERIALTIME.dat")), QByteArray());
    QByteArray expected = before;
    expected.replace(9 * kRunnerRecordLength + rr::WinPopularity(0).offset(), 2, "09");
    expected.replace(9 * kRunnerRecordLength + rr::WinOdds(0).offset(), 4, "0456");
    EXPECT_EQ(app.read(kRunners), expected);
}

TEST_F(FlashResults, ASecondFetchAppendsTheFlashRecordsAgainAndLeavesTheRunnerFilesAsTheFirst) {
    const QByteArray hr = RecordBuilder(Kind::HR, '1').raceKey(kRace);
    const QByteArray ra = RecordBuilder(Kind::RA, '7').raceKey(kRace);
    const QByteArray se = flashEntry(kRace, {"03", "05", "1400", "06", "0150", "360"});
    feed({winOdds(kRace, {{"03", "0149", "06"}})}, {ra, se, hr});
    load();
    const QByteArray once = app.read(kRunners);
    EXPECT_NE(once, rwtest::runnerFile(kRace, 10));
    load();
    EXPECT_EQ(app.read(kRunners), once);
    EXPECT_EQ(app.read(QStringLiteral("RARIALTIME.dat")), ra + ra);
    EXPECT_EQ(app.read(QStringLiteral("SERIALTIME.dat")), se + se);
    EXPECT_EQ(app.read(QStringLiteral("HRRIALTIME.dat")), hr + hr);
    EXPECT_EQ(app.read(QStringLiteral("O1RIALTIME.dat")), winOdds(kRace, {{"03", "0149", "06"}})) << "the last fetch only";
}

TEST_F(FlashResults, FlashValuesNeverNameOrExtendAFile) {
    // A race without runner file (before the prediction run, or a day
    // already past), a RaceID that is not digits, horse numbers outside the
    // file's records: each skipped and reported, nothing created or grown.
    const QByteArray noFile = "2024120705040101";
    const QByteArray hostile = RecordBuilder(Kind::SE, '7').raceKey(kRace).set(head::Racecourse, "..").set(se::HorseNumber, "01");
    QList<QByteArray> entries = {flashEntry(noFile, {"01", "01", "1300", "01", "0010", "330"}), hostile};
    for (const char* h : {"11", "00", "ab", "-1"}) entries.append(flashEntry(kRace, {h, "01", "1300", "01", "0010", "330"}));
    QByteArray all;
    for (const QByteArray& e : entries) all += e;
    app.write(QStringLiteral("SERIALTIME.dat"), all);
    app.write(QStringLiteral("O1RIALTIME.dat"), winOdds(noFile, {{"01", "0010", "01"}}) + winOdds(kRace, {{"11", "0010", "01"}, {"99", "0010", "01"}}));
    const auto before = rwtest::filesUnder(app.path());

    SkipLog log("flash results");
    ApplyFlashEntries(log);
    ApplyFlashWinOdds(log);
    EXPECT_EQ(rwtest::filesUnder(app.path()), before);
    EXPECT_FALSE(QFileInfo::exists(app.file(QStringLiteral("RACE\\202412070501.dat"))));
    // The entries: the hostile RaceID, four horse numbers, then the race
    // without runner file once; the win odds: two horse numbers, that race.
    const std::vector<std::string>& s = log.skipped();
    ASSERT_EQ(s.size(), 6u + 3u);
    EXPECT_NE(s[0].find("is not 12 digits"), std::string::npos) << s[0];
    for (size_t i : {1, 2, 3, 4, 6, 7}) EXPECT_NE(s[i].find("is not a record"), std::string::npos) << s[i];
    for (size_t i : {5, 8}) EXPECT_NE(s[i].find("race 202412070501 has no runner file; 1 of its"), std::string::npos) << s[i];
}

TEST_F(FlashResults, AFailureInsideOneFetchEndsThatFetchOnly) {
    feed({winOdds(kRace, {{"05", "0077", "03"}})}, {flashEntry(kRace, {"05", "01", "1333", "03", "0077", "333"})});
    QDir(app.path()).mkpath(QStringLiteral("O1RIALTIME.dat"));  // cannot be emptied: no win odds request
    load();
    EXPECT_TRUE(jv.log.filter(QStringLiteral("0B30")).isEmpty());
    EXPECT_EQ(jv.log.filter(QStringLiteral("JVRTOpen")), QStringList{QStringLiteral("JVRTOpen(0B12,20241208)")});
    EXPECT_EQ(rwtest::runnerItem(app.read(kRunners), 5, rr::RaceTime(0)), "1333");
    ASSERT_FALSE(skipped.empty());
    EXPECT_EQ(skipped[0].rfind("FetchFlashWinOdds", 0), 0u) << skipped[0];
}

// A win odds file that is missing, or that cannot be opened, is skipped;
// the second names the file and the system's reason.
TEST_F(FlashResults, AWinOddsFileThatCannotBeOpenedIsSkippedNamingIt) {
    SkipLog missing("flash results");
    ApplyFlashWinOdds(missing);
    ASSERT_EQ(missing.skipped().size(), 1u);
    EXPECT_NE(missing.skipped()[0].find("the file is missing"), std::string::npos) << missing.skipped()[0];

    QDir(app.path()).mkpath(QStringLiteral("O1RIALTIME.dat"));
    SkipLog folder("flash results");
    ApplyFlashWinOdds(folder);
    ASSERT_EQ(folder.skipped().size(), 1u);
    EXPECT_NE(folder.skipped()[0].find("O1RIALTIME.dat: not a regular file"), std::string::npos) << folder.skipped()[0];
}

TEST_F(FlashResults, ThePressWritesItsTextsAroundTheWindow) {
    OddsSourceFlag = 0;
    QStringList seen;
    rw::prediction::RunFlashResults(ui, [&] {
        seen = ui.textLog;
        EXPECT_EQ(OddsSourceFlag, 1);
        EXPECT_EQ(ui.eventTurns, 1);
    });
    const QString text1 = QStringLiteral("KESP2RIALTIME.Text1: ");
    EXPECT_EQ(seen, QStringList{text1 + QString::fromUtf8("速報払戻等取得を開始します。。。。。")});
    EXPECT_EQ(ui.textLog, seen + QStringList{text1 + QString::fromUtf8("速報払戻等取得及び処理完了")});
}
