// The win bet-import file and the external-index files against golden files
// written by hand, with the edge cases of their line formats.
#include "race_fixture.h"

#include "common/errors.h"
#include "publish/speed_index.h"
#include "publish/win_import.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace rw;
using namespace rw::publish;
using namespace rwtest::publish;
using rw::prediction::RunState;

namespace {

class WinAndIndex : public ::testing::Test {
protected:
    void SetUp() override {
        MakeExportFolders(app);
        FillTestCodeTable(s);
    }
    rwtest::AppFolder app;
    RunState s;
};

// Race 11 at Tokyo, nine runners: horse 7 ranked first, horse 9 second.
Race tokyo11() {
    Race r;
    r.key16 = "2024060205020311";
    for (int h = 1; h <= 9; ++h) {
        const int rank = h == 7 ? 1 : h == 9 ? 2 : h < 7 ? h + 2 : 9;
        r.runners.push_back({"1", "ウマ", "牡", "03", "56.0", "武豊", "国枝栄", rank});
    }
    return r;
}

TEST_F(WinAndIndex, WinFileHoldsRankOneThenRankTwoUnderTheJapaneseCourseName) {
    LoadRace(s, tokyo11());
    WriteTanshoCsv(s);
    EXPECT_EQ(app.read(QStringLiteral("TANSHO/240602東京11R.csv")), golden("tansho_tokyo11.csv"));
    // Called again for the same race: the file stays as the first call left it.
    app.write(QStringLiteral("TANSHO/240602東京11R.csv"), "kept");
    WriteTanshoCsv(s);
    EXPECT_EQ(app.read(QStringLiteral("TANSHO/240602東京11R.csv")), "kept");
}

TEST_F(WinAndIndex, PlaceTwinWritesTicketTwoIntoItsOwnFolder) {
    LoadRace(s, tokyo11());
    WriteFukushoCsv(s);
    EXPECT_EQ(app.read(QStringLiteral("FUKUSHO/240602東京11R.csv")),
              "20240602,05,11,02,07,100\r\n20240602,05,11,02,09,100\r\n");
    EXPECT_EQ(s.LastRaceKeyFukusho, QStringLiteral("202406020511"));
    EXPECT_TRUE(s.LastRaceKeyTansho.isEmpty());
}

TEST_F(WinAndIndex, SingleRunnerGivesOneLineAndNoRunnersAnEmptyFile) {
    LoadRace(s, OneRunnerRace(2));
    WriteTanshoCsv(s);
    EXPECT_EQ(app.read(QStringLiteral("TANSHO/240601中山02R.csv")), "20240601,06,02,01,01,100\r\n");
    Race empty = OneRunnerRace(3);
    empty.runners.clear();
    LoadRace(s, empty, 2);
    WriteTanshoCsv(s);
    ASSERT_TRUE(app.exists(QStringLiteral("TANSHO/240601中山03R.csv")));
    EXPECT_TRUE(app.read(QStringLiteral("TANSHO/240601中山03R.csv")).isEmpty());
}

TEST_F(WinAndIndex, UnknownCourseLeavesTheCoursePartEmptyAndAHostileNameNamesNoFile) {
    Race r = OneRunnerRace(4, "20240601070301");
    LoadRace(s, r);
    WriteTanshoCsv(s);
    EXPECT_TRUE(app.exists(QStringLiteral("TANSHO/24060104R.csv")));
    prediction::FillCodeTable(s.CodeTable, {"2001", "07", "", "", "..\\..\\x", "", "", ""});
    LoadRace(s, OneRunnerRace(5, "20240601070301"), 2);
    EXPECT_THROW(WriteTanshoCsv(s), StepFailure);
    EXPECT_EQ(rwtest::filesUnder(app.path() + "TANSHO").size(), 1u);
}

TEST_F(WinAndIndex, ExternalIndexOfADateWithTwoCoursesAndASixteenRunnerRace) {
    app.write(QStringLiteral("SOKUDO/HR20240601.csv"), "earlier run\r\n");
    LoadRace(s, RaceA(), 1);
    WriteSokudoDayCsv(s);
    LoadRace(s, OneRunnerRace(1, "20240601090301"), 2);
    WriteSokudoDayCsv(s);
    Race sixteen = OneRunnerRace(3);
    sixteen.runners.clear();
    for (int h = 1; h <= 16; ++h)
        sixteen.runners.push_back({"1", "ウマ", "牡", "03", "56.0", "武豊", "国枝栄", 17 - h, 50.0f + 0.5f * float(h)});
    LoadRace(s, sixteen, 3);
    WriteSokudoDayCsv(s);
    Race empty = OneRunnerRace(4);  // no runners: no line
    empty.runners.clear();
    LoadRace(s, empty, 4);
    WriteSokudoDayCsv(s);
    EXPECT_EQ(app.read(QStringLiteral("SOKUDO/HR20240601.csv")), golden("HR20240601.csv"));
    EXPECT_EQ(s.LastDateKeySokudo, QStringLiteral("20240601"));
    // The next date starts its own file.
    LoadRace(s, OneRunnerRace(1, "20240602060302"), 5);
    WriteSokudoDayCsv(s);
    EXPECT_EQ(app.read(QStringLiteral("SOKUDO/HR20240602.csv")), "2024060206030201,60000,01\r\n");
}

TEST_F(WinAndIndex, SpeedIndexLineRoundsDownInSinglePrecision) {
    EXPECT_EQ(SpeedIndexLine("2024060106030101", {{59.999f, 1}, {60.1239f, 12}}),
              "2024060106030101,59999,01,60123,12\r\n");
    EXPECT_EQ(SpeedIndexLine("2024060106030101", {{60.1239f, 3}}, 100), "2024060106030101,6012,03\r\n");
    EXPECT_TRUE(SpeedIndexLine("2024060106030101", {}).isEmpty());
}

TEST_F(WinAndIndex, ARankThatIsNoNumberLeavesNoPartOfALine) {
    LoadRace(s, OneRunnerRace(1));
    WriteSokudoDayCsv(s);
    Race r = RaceA();
    r.key16 = "2024060106030102";
    LoadRace(s, r, 2);
    s.PredRank[4] = "??";
    EXPECT_THROW(WriteSokudoDayCsv(s), StepFailure);
    EXPECT_EQ(app.read(QStringLiteral("SOKUDO/HR20240601.csv")), "2024060106030101,60000,01\r\n");
}

TEST_F(WinAndIndex, PerRaceVariantWritesOneLineScaledByAHundred) {
    LoadRace(s, RaceA());
    WriteSokudoRaceCsv(s);
    EXPECT_EQ(app.read(QStringLiteral("SOKUDO/2024060106030101.csv")),
              "2024060106030101,6012,02,6150,01,5999,03,5825,05,5850,04\r\n");
    app.write(QStringLiteral("SOKUDO/2024060106030101.csv"), "kept");
    WriteSokudoRaceCsv(s);
    EXPECT_EQ(app.read(QStringLiteral("SOKUDO/2024060106030101.csv")), "kept");
}

}  // namespace
