// The top-runner day sheets against hand-written golden files, and the
// indexed payout look-up against a literal scan of the payoff file.
#include "race_fixture.h"

#include "common/errors.h"
#include "jvdata/records.h"
#include "publish/day_sheets.h"
#include "support/literal_payoff_scan.h"
#include "support/record_builder.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace rw;
using namespace rw::publish;
using namespace rwtest::publish;
using rw::prediction::RunState;

namespace {

// A field of runners "ホースＡ".. with the given ranks and arrival orders.
Race field(int n, const char* start, std::vector<int> ranks, std::vector<const char*> arrivals,
           std::vector<const char*> popularity) {
    static const char* const names[] = {"ホースＡ", "ホースＢ", "ホースＣ", "ホースＤ", "ホースＥ"};
    static const char* const frames[] = {"1", "2", "3", "4", "5"};
    Race r;
    r.key16 = QByteArray("20240601060301") + QByteArray::number(n).rightJustified(2, '0');
    r.start = start;
    for (size_t i = 0; i < ranks.size(); ++i)
        r.runners.push_back({frames[i], names[i], "牡", "04", "56.0", "騎手", "調教師", ranks[i], 60.0f, popularity[i],
                             arrivals[i]});
    return r;
}

std::vector<Race> sheetDay() {
    Race r1 = RaceA();
    Race r2 = OneRunnerRace(2);
    return {r1, r2, field(3, "1200", {2, 4, 1, 3}, {" 3", " 4", " 2", " 1"}, {" 2", " 4", " 1", " 3"}),
            field(4, "1300", {3, 2, 4, 1}, {" 1", " 4", " 2", " 3"}, {" 1", " 2", " 4", " 3"}),
            field(5, "1400", {3, 2, 5, 1, 4}, {" 3", " 1", " 5", " 1", " 4"}, {" 3", " 2", " 5", " 1", " 4"})};
}

// A payoff record: win and place entries as (horse number, payout).
using Entries = std::vector<std::pair<const char*, const char*>>;
QByteArray payoff(const QByteArray& key16, const Entries& win, const Entries& place) {
    rwtest::RecordBuilder b(jv::Kind::HR, '7');
    b.raceKey(key16);
    for (size_t i = 0; i < win.size(); ++i) {
        b.set(jv::hr::Payout("win payouts", int(i), "horse number"), win[i].first);
        b.set(jv::hr::Payout("win payouts", int(i), "payout"), win[i].second);
    }
    for (size_t i = 0; i < place.size(); ++i) {
        b.set(jv::hr::Payout("place payouts", int(i), "horse number"), place[i].first);
        b.set(jv::hr::Payout("place payouts", int(i), "payout"), place[i].second);
    }
    return b;
}

QByteArray sheetDayPayoffs() {
    const QByteArray day = "20240601060301";
    return payoff(day + "01", {{"02", "000000990"}}, {{"02", "000000990"}})  // replaced by a later record
           + payoff(day + "02", {{"01", "000000100"}}, {{"01", "000000100"}}) +
           payoff(day + "01", {{"02", "000000180"}}, {{"02", "000000110"}, {"01", "000000150"}, {"03", "000000200"}}) +
           payoff(day + "03", {{"04", "000000450"}}, {{"04", "000000160"}, {"03", "000000210"}}) +
           payoff(day + "04", {{"01", "000000300"}}, {{"01", "000000130"}, {"03", "000000150"}, {"04", "000000170"}}) +
           // a dead heat for first: the rank-1 runner (4) stands second among the entries
           payoff(day + "05", {{"02", "000000240"}, {"04", "000000260"}},
                  {{"02", "000000120"}, {"04", "000000130"}, {"01", "000000150"}}) +
           payoff("20240602060302" "01", {{"01", "000000500"}}, {{"01", "000000500"}});
}

class DaySheets : public ::testing::Test {
protected:
    void SetUp() override {
        MakeExportFolders(app);
        FillTestCodeTable(s);
    }
    void runDay(int mode) {
        s.ResultsMode = std::int16_t(mode);
        int index = 0;
        for (const Race& r : sheetDay()) {
            LoadRace(s, r, ++index);
            WriteTanfukuCsv(s);
            WriteTanfuku2Csv(s);
        }
    }
    rwtest::AppFolder app;
    RunState s;
};

TEST_F(DaySheets, ResultsModeSheetsCarryPayoutsByHorseNumber) {
    app.write(QStringLiteral("HRTHISWEEKN.dat"), sheetDayPayoffs());
    runDay(1);
    EXPECT_EQ(app.read(QStringLiteral("TANFUKU/20240601060301tnfkRCM.csv")), golden("tnfk_results.csv"));
    EXPECT_EQ(app.read(QStringLiteral("TANFUKU2/20240601060301tnfkRCM2.csv")), golden("tnfk2_results.csv"));
    // As after a scan of the whole file: the file's last record and count.
    EXPECT_EQ(s.CurrentHR, sheetDayPayoffs().right(719));
    EXPECT_EQ(s.WriterWork.HrRecordCount, 7);
    EXPECT_EQ(s.WriterWork.WinPay1, "000000260");
    EXPECT_EQ(s.WriterWork.PlacePay2, "000000120");
}

TEST_F(DaySheets, PredictionModeSheetsHaveNoPayoutsAndShorterTrainerNames) {
    runDay(0);
    EXPECT_EQ(app.read(QStringLiteral("TANFUKU/20240601060301tnfk.csv")), golden("tnfk_prediction.csv"));
    EXPECT_EQ(app.read(QStringLiteral("TANFUKU2/20240601060301tnfk2.csv")), golden("tnfk2_prediction.csv"));
}

TEST_F(DaySheets, ANewDayStartingWithASingleRunnerStillGetsTitleAndHeaderInSheetTwo) {
    app.write(QStringLiteral("TANFUKU2/20240601060301tnfk2.csv"), "earlier run\r\n");
    LoadRace(s, OneRunnerRace(1));
    WriteTanfukuCsv(s);
    WriteTanfuku2Csv(s);
    const QByteArray sheet2 = app.read(QStringLiteral("TANFUKU2/20240601060301tnfk2.csv"));
    EXPECT_EQ(sheet2, golden("tnfk2_prediction.csv").left(golden("tnfk2_prediction.csv").indexOf("\"0950\"")));
    EXPECT_EQ(s.WriterWork.RowWritten, 0);
    EXPECT_EQ(app.read(QStringLiteral("TANFUKU/20240601060301tnfk.csv")).count("\r\n"), 3);
}

TEST_F(DaySheets, TwoCoursesOnOneDateHaveTheirOwnFiles) {
    LoadRace(s, OneRunnerRace(1));
    WriteTanfukuCsv(s);
    LoadRace(s, OneRunnerRace(1, "20240601090301"), 2);
    WriteTanfukuCsv(s);
    LoadRace(s, OneRunnerRace(2), 3);  // back at Nakayama: its file starts again
    WriteTanfukuCsv(s);
    EXPECT_EQ(app.read(QStringLiteral("TANFUKU/20240601090301tnfk.csv")).count("\r\n"), 3);
    const QByteArray nakayama = app.read(QStringLiteral("TANFUKU/20240601060301tnfk.csv"));
    EXPECT_EQ(nakayama.count("\r\n"), 3);
    EXPECT_TRUE(nakayama.contains(rwtest::sj("第02R")));
}

TEST_F(DaySheets, ARankThatIsNoNumberKeepsTheLinesBeforeIt) {
    Race r = RaceA();
    LoadRace(s, r);
    s.PredRank[1] = "x1";
    EXPECT_THROW(WriteTanfukuCsv(s), StepFailure);
    EXPECT_EQ(app.read(QStringLiteral("TANFUKU/20240601060301tnfk.csv")).count("\r\n"), 2);
    EXPECT_EQ(s.LastDayKeyTanfuku, QStringLiteral("20240601060301"));
}

TEST_F(DaySheets, ADayKeyThatIsNotDigitsNamesNoFile) {
    Race r = RaceA();
    r.key16 = "2024../.06030101";
    LoadRace(s, r);
    EXPECT_THROW(WriteTanfukuCsv(s), StepFailure);
    EXPECT_TRUE(rwtest::filesUnder(app.path() + "TANFUKU").empty());
}

// Small random weeks: several payoff records per race, entries naming
// random horses (dead heats and repeats included), records of races not
// run, sometimes a short last record. Every row's payouts, CurrentHR and
// the record count equal a literal scan of the whole file.
TEST(PayoutIndex, EqualsALiteralScanOfThePayoffFile) {
    QRandomGenerator rng(20240601);
    for (int week = 0; week < 40; ++week) {
        rwtest::AppFolder app;
        const int races = 1 + int(rng.bounded(5));
        QByteArray file;
        const int records = int(rng.bounded(12));
        auto randomEntries = [&](int n) {
            Entries e;
            static const char* const horses[] = {"01", "02", "03", "04", "05", "06", "00", "  "};
            static const char* const pays[] = {"000000110", "000000250", "000001230", "000000000", "         "};
            for (int i = 0; i < n; ++i) e.push_back({horses[rng.bounded(8)], pays[rng.bounded(5)]});
            return e;
        };
        for (int i = 0; i < records; ++i) {
            const QByteArray key = "20240601060301" + QByteArray::number(1 + rng.bounded(races + 1)).rightJustified(2, '0');
            file += payoff(key, randomEntries(1 + int(rng.bounded(3))), randomEntries(1 + int(rng.bounded(5))));
        }
        if (rng.bounded(3) == 0) file.chop(int(rng.bounded(600)));
        app.write(QStringLiteral("HRTHISWEEKN.dat"), file);
        RunState indexed, literal;
        for (int r = 1; r <= races; ++r) {
            const QByteArray race = "202406010601" + QByteArray::number(r).rightJustified(2, '0');
            for (int h = 1; h <= 6; ++h) {
                const RunnerPayouts got = FindRunnerPayouts(indexed, race, h);
                const rwtest::LiteralPayouts want = rwtest::LiteralRunnerPayouts(literal, race, h);
                ASSERT_EQ(got.win, want.win) << "week " << week << " race " << r << " horse " << h;
                ASSERT_EQ(got.place, want.place) << "week " << week << " race " << r << " horse " << h;
                ASSERT_EQ(indexed.CurrentHR, literal.CurrentHR);
                ASSERT_EQ(indexed.WriterWork.HrRecordCount, literal.WriterWork.HrRecordCount);
                ASSERT_EQ(indexed.EntryIndex, literal.EntryIndex);
            }
        }
    }
}

}  // namespace
