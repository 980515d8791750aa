#include "jvdata/cancellation.h"

#include "common/fixed_text.h"
#include "common/kestrav_path.h"
#include "support/recording_ui.h"
#include "common/shell.h"
#include "jvdata/records.h"
#include "jvdata/structure.h"
#include "support/record_builder.h"
#include "support/scripted_jvlink.h"
#include "support/test_support.h"

#include <QDir>
#include <gtest/gtest.h>

#include <csignal>
#ifdef __linux__
#include <sys/resource.h>
#endif

using namespace rw;
using namespace rw::jv;
using rw::test::ReadStep;
using rwtest::RecordBuilder;

namespace {

const QByteArray H1 = "2019100001", H2 = "2019100002", H3 = "2019100003";
const QString kText1 = QStringLiteral("CHUSIRIALTIME.Text1");

struct Race {
    QByteArray date = "20241207";
    QByteArray course = "05";
    QByteArray race = "01";
    QByteArray key16() const { return date + course + "0401" + race; }
};

QByteArray RA(const Race& x, char kind, QByteArray tag) {
    return RecordBuilder(Kind::RA, kind, ' ').set(head::MakeDate, "20241205").raceKey(x.key16()).set(ra::RaceName, tag);
}

QByteArray SE(const Race& x, char kind, QByteArray horseNo, QByteArray reg, QByteArray tag, QByteArray make = "20241205") {
    return RecordBuilder(Kind::SE, kind, ' ')
        .set(head::MakeDate, make)
        .raceKey(x.key16())
        .set(se::HorseNumber, horseNo)
        .set(se::RegistrationNumber, reg)
        .set(se::HorseName, tag);
}

QList<QByteArray> split(const QByteArray& bytes, Kind k) {
    QList<QByteArray> out;
    const int len = imageLength(k);
    for (qsizetype i = 0; i + len <= bytes.size(); i += len) out.append(bytes.mid(i, len));
    return out;
}

// Tag and data kind of every record: "A2", "B9" …
QList<QByteArray> tags(const QByteArray& bytes, Kind k) {
    QList<QByteArray> out;
    const Field f = k == Kind::RA ? ra::RaceName : se::HorseName;
    for (const QByteArray& r : split(bytes, k)) out.append(trimmedRight(member(r, f.pos, f.width)) + r[2]);
    return out;
}

class Cancellation : public ::testing::Test {
protected:
    // The weekly store as structure processing leaves it: NEW equal to NEWd.
    void store(const QList<QByteArray>& races, const QList<QByteArray>& entries, const QList<QByteArray>& horses) {
        app.write(QStringLiteral("RATHISWEEKNNEW.dat"), races.join());
        app.write(QStringLiteral("RATHISWEEKNNEWd.dat"), races.join());
        app.write(QStringLiteral("SETHISWEEKNNEW.dat"), entries.join());
        app.write(QStringLiteral("SETHISWEEKNNEWd.dat"), entries.join());
        QByteArray list;
        for (const QByteArray& h : horses) list += "\"" + h + "\"\r\n";
        app.write(QStringLiteral("KETTONUMTHISWEEKN.dat"), list);
        QDir(app.path()).mkpath(QStringLiteral("UMAGOTOTHISWEEKN"));
    }
    void day(const QByteArray& date, const QList<QByteArray>& records) {
        std::deque<ReadStep> steps;
        for (const QByteArray& r : records) steps.push_back(ReadStep::rec(r));
        steps.push_back(ReadStep::code(-203));
        jv.addRealtime(QStringLiteral("0B12"), QString::fromLatin1(date), steps);
    }
    bool run() {
        SkipLog log("cancellation");
        const bool ran = ApplyCancellations(ui, jv, log);
        skipped = log.skipped();
        return ran;
    }
    QList<QByteArray> file(const char* name, Kind k) { return tags(app.read(QLatin1String(name)), k); }
    QList<QByteArray> runs(const QByteArray& h) {
        return tags(app.read(QStringLiteral("UMAGOTOTHISWEEKN\\") + QLatin1String(h) + QStringLiteral(".dat")), Kind::SE);
    }

    rwtest::AppFolder app;
    RecordingUi ui;
    rw::test::ScriptedJvLink jv;
    std::vector<std::string> skipped;
};

const Race A{"20241207", "05", "01"}, B{"20241207", "05", "02"}, C{"20241208", "05", "01"};

}  // namespace

TEST_F(Cancellation, ACancelledRaceAndItsRunsLeaveTheNewFilesAndTheRunFiles) {
    store({RA(A, '2', "A"), RA(B, '2', "B"), RA(C, '2', "C")},
          {SE(A, '2', "01", H1, "a1"), SE(A, '2', "02", H2, "a2"), SE(B, '2', "01", H3, "b1"), SE(B, '2', "02", H1, "b2"),
           SE(C, '2', "01", H2, "c1")},
          {H1, H2, H3});
    day("20241208", {RA(C, '7', "C"), SE(C, '7', "01", H2, "c1"), RecordBuilder(Kind::HR, '1').raceKey(C.key16())});
    day("20241207", {RA(A, '7', "A"), RA(B, '9', "B"), SE(A, '7', "01", H1, "a1"), SE(B, '9', "01", H3, "b1"),
                     SE(B, '9', "02", H1, "b2")});
    EXPECT_TRUE(run());
    EXPECT_TRUE(skipped.empty());
    EXPECT_EQ(jv.log.filter(QStringLiteral("JVRTOpen")),
              (QStringList{QStringLiteral("JVRTOpen(0B12,20241208)"), QStringLiteral("JVRTOpen(0B12,20241207)")}));
    EXPECT_EQ(jv.count(QStringLiteral("JVInit(DEDERIDU1/20190729)")), 2);

    EXPECT_EQ(file("RATHISWEEKNNEWd.dat", Kind::RA), (QList<QByteArray>{"A2", "B9", "C2"}));
    EXPECT_EQ(file("RATHISWEEKNNEW.dat", Kind::RA), (QList<QByteArray>{"A2", "C2"}));
    EXPECT_EQ(file("SETHISWEEKNNEWd.dat", Kind::SE), (QList<QByteArray>{"a12", "a22", "b19", "b29", "c12"}));
    EXPECT_EQ(file("SETHISWEEKNNEW.dat", Kind::SE), (QList<QByteArray>{"a12", "a22", "c12"}));
    EXPECT_EQ(runs(H1), QList<QByteArray>{"a12"});
    EXPECT_EQ(runs(H2), (QList<QByteArray>{"a22", "c12"}));
    EXPECT_EQ(runs(H3), QList<QByteArray>{});
    EXPECT_EQ(ui.eventTurns, 3) << "events once per entry of the rebuilt file";
}

TEST_F(Cancellation, ACancellationOfARaceNotInTheStoreChangesNothing) {
    store({RA(A, '2', "A")}, {SE(A, '2', "01", H1, "a1")}, {H1});
    const Race other{"20241207", "06", "01"};
    day("20241207", {RA(other, '9', "X"), SE(other, '9', "01", H1, "x1"), SE(A, '9', "02", H1, "a2")});
    const auto before = rwtest::filesUnder(app.path());
    run();
    auto after = rwtest::filesUnder(app.path());
    EXPECT_EQ(after.erase(QStringLiteral("RARIALTIME.dat")) + after.erase(QStringLiteral("SERIALTIME.dat")), 2u);
    after.erase(QStringLiteral("UMAGOTOTHISWEEKN/2019100001.dat"));
    EXPECT_EQ(after, before);
    EXPECT_EQ(runs(H1), QList<QByteArray>{"a12"});
}

TEST_F(Cancellation, OnlyTheFirstRecordOfARaceIsReplaced) {
    // A race with kinds "2" and "7": the cancellation takes the place of the
    // first; the second stays in both files. Two cancellations of the same
    // race replace the same record.
    store({RA(A, '2', "A"), RA(A, '7', "A"), RA(B, '2', "B")}, {}, {});
    day("20241207", {RA(A, '9', "X"), RA(A, '9', "Y")});
    run();
    EXPECT_EQ(file("RATHISWEEKNNEWd.dat", Kind::RA), (QList<QByteArray>{"Y9", "A7", "B2"}));
    EXPECT_EQ(file("RATHISWEEKNNEW.dat", Kind::RA), (QList<QByteArray>{"A7", "B2"}));
}

TEST_F(Cancellation, NoKindOneOrNineInEitherNewFileAndWithoutFlashDataTheyAreRebuiltFromNewd) {
    app.write(QStringLiteral("UMAGOTOTHISWEEKN\\2019100001.dat"), SE(C, '2', "09", H1, "stale"));
    store({RA(A, '1', "A"), RA(B, '2', "B"), RA(C, '9', "C")},
          {SE(A, '1', "01", H1, "a1"), SE(B, '2', "01", H1, "b1"), SE(C, '9', "01", H1, "c1")}, {H1});
    app.write(QStringLiteral("RATHISWEEKNNEW.dat"), RA(B, '2', "old") + RA(C, '2', "old"));
    app.write(QStringLiteral("SETHISWEEKNNEW.dat"), "");
    EXPECT_TRUE(run());
    EXPECT_EQ(jv.count(QStringLiteral("JVRead")), 2) << "the feed has nothing for either day";
    EXPECT_EQ(file("RATHISWEEKNNEW.dat", Kind::RA), QList<QByteArray>{"B2"});
    EXPECT_EQ(file("SETHISWEEKNNEW.dat", Kind::SE), QList<QByteArray>{"b12"});
    EXPECT_EQ(file("RATHISWEEKNNEWd.dat", Kind::RA), (QList<QByteArray>{"A1", "B2", "C9"}));
    EXPECT_EQ(runs(H1), QList<QByteArray>{"b12"});
}

TEST_F(Cancellation, RunTwiceTheSameStore) {
    store({RA(A, '2', "A"), RA(B, '2', "B")}, {SE(A, '2', "01", H1, "a1"), SE(B, '2', "01", H2, "b1")}, {H1, H2});
    day("20241207", {RA(B, '9', "B"), SE(B, '9', "01", H2, "b1"), SE(A, '7', "01", H1, "a1")});
    run();
    const auto once = rwtest::filesUnder(app.path());
    run();
    auto twice = rwtest::filesUnder(app.path());
    EXPECT_EQ(twice[QStringLiteral("RARIALTIME.dat")], once.at(QStringLiteral("RARIALTIME.dat")).repeated(2));
    EXPECT_EQ(twice[QStringLiteral("SERIALTIME.dat")], once.at(QStringLiteral("SERIALTIME.dat")).repeated(2));
    for (const char* f : {"RATHISWEEKNNEW.dat", "RATHISWEEKNNEWd.dat", "SETHISWEEKNNEW.dat", "SETHISWEEKNNEWd.dat",
                          "UMAGOTOTHISWEEKN/2019100001.dat", "UMAGOTOTHISWEEKN/2019100002.dat"})
        EXPECT_EQ(twice[QLatin1String(f)], once.at(QLatin1String(f))) << f;
}

TEST_F(Cancellation, RunFilesKeepTheFirstMatchWhereStructureProcessingKeepsTheLast) {
    // The same run at two courses (the course is no part of a run): a newer
    // delivery, an older one, and one as new as the first.
    const Race a{"20241207", "05", "11"}, b{"20241207", "06", "11"};
    const QList<QByteArray> entries = {SE(a, '2', "04", H1, "A", "20241207"), SE(a, '7', "04", H1, "B", "20241204"),
                                       SE(b, '7', "04", H1, "C", "20241207")};
    store({RA(a, '2', "a")}, entries, {H1});
    run();
    EXPECT_EQ(runs(H1), (QList<QByteArray>{"C7", "B7"}));
    SkipLog log("structure");
    FillHorseRunFiles(ui, log, RunMatch::Last);
    EXPECT_EQ(runs(H1), (QList<QByteArray>{"A2", "C7"}));
}

TEST_F(Cancellation, NothingIsDoneWhileTheStoreIsBeingRewritten) {
    store({RA(A, '2', "A")}, {SE(A, '2', "01", H1, "a1")}, {H1});
    day("20241207", {RA(A, '9', "A")});
    const auto before = rwtest::filesUnder(app.path());
    {
        WeeklyStoreGuard structureRunning;
        EXPECT_FALSE(run());
        EXPECT_FALSE(CancellationWindowMayClose());
    }
    EXPECT_TRUE(jv.log.isEmpty());
    EXPECT_EQ(rwtest::filesUnder(app.path()), before);
    EXPECT_TRUE(CancellationWindowMayClose());
    EXPECT_TRUE(run());
}

TEST_F(Cancellation, TheLoadWritesItsTextsAroundTheProcessing) {
    store({}, {}, {});
    SkipLog log("cancellation");
    LoadCancellations(ui, jv, log);
    EXPECT_EQ(ui.textLog, (QStringList{kText1 + QString::fromUtf8(": 中止処理中。。"),
                                       kText1 + QString::fromUtf8(": 中止処理終了コマンドボタンはソフトを完全に終了する時まではクリックしないで下さい。")}));
    EXPECT_TRUE(jv.log.isEmpty()) << "no race record, no request";
}

TEST_F(Cancellation, AFailedRebuildLeavesTheOldFileAndEndsTheProcessing) {
#ifndef __linux__
    GTEST_SKIP() << "needs a file size limit";
#else
    QList<QByteArray> races, entries;
    for (const char* r : {"01", "02", "03", "04", "05", "06"}) races.append(RA(Race{"20241207", "05", r}, '2', r));
    entries = {SE(A, '2', "01", H1, "a1"), SE(B, '2', "01", H1, "b1")};
    store(races, entries, {H1});
    app.write(QStringLiteral("UMAGOTOTHISWEEKN\\2019100001.dat"), SE(A, '2', "01", H1, "before"));
    day("20241207", {RA(B, '9', "B"), SE(B, '9', "01", H1, "b1")});
    // The disk fills up: no file may grow beyond four race records, so the
    // flash records and the mark fit, the rebuilt race file does not.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 4 * 1272;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    SkipLog log("cancellation");
    LoadCancellations(ui, jv, log);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldSignal);

    EXPECT_EQ(app.read(QStringLiteral("RATHISWEEKNNEW.dat")), races.join()) << "the old file, whole";
    EXPECT_EQ(file("RATHISWEEKNNEWd.dat", Kind::RA)[1], "B9");
    EXPECT_EQ(QDir(app.path()).entryList(QDir::Files).filter(QStringLiteral("RATHISWEEKNNEW")).size(), 2)
        << "nothing left beside it";
    // The processing ended there: the entries and run files are untouched.
    EXPECT_EQ(app.read(QStringLiteral("SETHISWEEKNNEWd.dat")), entries.join());
    EXPECT_EQ(runs(H1), QList<QByteArray>{"before2"});
    ASSERT_EQ(log.skipped().size(), 1u);
    EXPECT_EQ(log.skipped()[0].rfind("race rebuild", 0), 0u) << log.skipped()[0];
    EXPECT_EQ(ui.textLog.last(), kText1 + QString::fromUtf8(": 中止処理終了コマンドボタンはソフトを完全に終了する時まではクリックしないで下さい。"));
#endif
}
