#include "common/kestrav_path.h"
#include "support/recording_ui.h"
#include "jvdata/flash_odds.h"
#include "support/odds_records.h"
#include "support/scripted_jvlink.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

using namespace rw;
using namespace rw::jv;
using rwtest::ReadStep;
using rwtest::oddsRecord;

namespace {

const QString kText1 = QStringLiteral("KESP2RIALTIME.Text1");
const QString kStart = QString::fromUtf8("速報オッズ取得を開始します。。。。。。");
const QString kDone = QString::fromUtf8("速報オッズ取得完了");

// The RaceKey16 of race record i of the test week: one race per record.
QByteArray keyOf(int i) {
    return "20241207" + QByteArray::number(1 + (i - 1) / 12).rightJustified(2, '0') + "0401" +
           QByteArray::number(1 + (i - 1) % 12).rightJustified(2, '0');
}

class FlashOdds : public ::testing::Test {
protected:
    void races(int n) {
        QByteArray all;
        for (int i = 1; i <= n; ++i) all += rwtest::RecordBuilder(Kind::RA, '2').raceKey(keyOf(i)).bytes();
        app.write(QString::fromUtf16(kRaNewFile), all);
    }
    void run() {
        SkipLog log("flash odds");
        FetchFlashOdds(ui, jv, log);
        skipped = log.skipped().size();
    }
    QStringList requests() const { return jv.log.filter(QStringLiteral("JVRTOpen")); }
    QByteArray file(const char16_t* name) { return app.read(QString::fromUtf16(name)); }

    rwtest::AppFolder app;
    RecordingUi ui;
    rwtest::ScriptedJvLink jv;
    size_t skipped = 0;
};

QString rtOpen(int i) { return QStringLiteral("JVRTOpen(0B30,%1)").arg(QLatin1String(keyOf(i))); }

}  // namespace

TEST_F(FlashOdds, TheLast97RacesNewestFirst) {
    struct Case {
        int records, first, last;
    } cases[] = {{150, 150, 54}, {40, 40, 1}, {97, 97, 1}, {98, 98, 2}, {1, 1, 1}};
    for (const Case& c : cases) {
        jv = rwtest::ScriptedJvLink();
        races(c.records);
        run();
        QStringList expected;
        for (int i = c.first; i >= c.last; --i) expected << rtOpen(i);
        EXPECT_EQ(requests(), expected) << c.records;
        EXPECT_EQ(ui.text(kText1), kDone);
    }
    // Per race: JVInit, JVRTOpen, six reads (only -1 ends them), JVClose.
    QStringList race{QStringLiteral("JVInit(DEDERIDU1/20190729)"), rtOpen(1)};
    for (int r = 0; r < 6; ++r) race << QStringLiteral("JVRead");
    race << QStringLiteral("JVClose");
    EXPECT_EQ(jv.log, race);
}

TEST_F(FlashOdds, MissingRaceFileIsCreatedEmptyAndNothingIsRequested) {
    OddsSourceFlag = 0;
    app.write(QStringLiteral("O6RIALTIME.dat"), "earlier fetch\r\n");
    run();
    EXPECT_TRUE(app.exists(QStringLiteral("RATHISWEEKNNEW.dat")));
    EXPECT_TRUE(file(u"RATHISWEEKNNEW.dat").isEmpty());
    EXPECT_TRUE(jv.log.isEmpty());
    EXPECT_EQ(OddsSourceFlag, 1);
    for (const char16_t* f : {kO2FlashFile, kO4FlashFile, kO5FlashFile, kO6FlashFile}) {
        EXPECT_TRUE(app.exists(QString::fromUtf16(f)));
        EXPECT_TRUE(file(f).isEmpty());
    }
    EXPECT_EQ(ui.textLog, (QStringList{kText1 + QStringLiteral(": ") + kStart, kText1 + QStringLiteral(": ") + kDone}));
    EXPECT_EQ(ui.eventTurns, 1);
    EXPECT_EQ(skipped, 0u);
}

TEST_F(FlashOdds, EachKindGoesToItsFileOtherKindsAddNoLine) {
    races(3);
    const QByteArray o1 = rwtest::RecordBuilder(Kind::O1).raceKey(keyOf(3));
    const QByteArray o2 = oddsRecord(Kind::O2, keyOf(3), 6), o4 = oddsRecord(Kind::O4, keyOf(3), 6),
                     o5 = oddsRecord(Kind::O5, keyOf(3), 6), o6 = oddsRecord(Kind::O6, keyOf(3), 6);
    const QByteArray o2b = oddsRecord(Kind::O2, keyOf(1), 5);
    jv.addRealtime(QStringLiteral("0B30"), QString::fromLatin1(keyOf(3)),
                   {ReadStep::rec(o1), ReadStep::rec(o2), ReadStep::rec(o4), ReadStep::rec(o5), ReadStep::rec(o6),
                    ReadStep::code(-1), ReadStep::rec(o2)});
    // A -1 at the first read adds nothing for that race.
    jv.addRealtime(QStringLiteral("0B30"), QString::fromLatin1(keyOf(2)), {ReadStep::code(-1), ReadStep::rec(o2)});
    jv.addRealtime(QStringLiteral("0B30"), QString::fromLatin1(keyOf(1)), {ReadStep::rec(o2b), ReadStep::code(-1)});
    run();
    EXPECT_EQ(file(kO2FlashFile), o2 + o2b);
    EXPECT_EQ(file(kO4FlashFile), o4);
    EXPECT_EQ(file(kO5FlashFile), o5);
    EXPECT_EQ(file(kO6FlashFile), o6);
    EXPECT_EQ(jv.count(QStringLiteral("JVRead")), 6 + 1 + 2);
    EXPECT_EQ(jv.count(QStringLiteral("JVClose")), 3);
}

TEST_F(FlashOdds, AtMostSixReadsAndTheBufferDecidesAfterOtherResults) {
    races(1);
    const QByteArray o4 = oddsRecord(Kind::O4, keyOf(1), 4);
    jv.addRealtime(QStringLiteral("0B30"), QString::fromLatin1(keyOf(1)),
                   {ReadStep::rec(o4), ReadStep::rec(o4), ReadStep::rec(o4), ReadStep::rec(o4), ReadStep::rec(o4),
                    ReadStep::code(-203), ReadStep::rec(o4)});
    run();
    // The sixth read delivered no record but left the fifth in the buffer:
    // it is appended again (the tables then write the same values again).
    EXPECT_EQ(jv.count(QStringLiteral("JVRead")), 6);
    EXPECT_EQ(file(kO4FlashFile), o4.repeated(6));
}

TEST_F(FlashOdds, FailedInitIsShownAndTheRequestsGoOn) {
    races(2);
    jv.initResult = -301;
    run();
    EXPECT_EQ(ui.messages, (QStringList{QString::fromUtf8("JVInitエラー。RC=-301"), QString::fromUtf8("JVInitエラー。RC=-301")}));
    EXPECT_EQ(requests(), (QStringList{rtOpen(2), rtOpen(1)}));
}
