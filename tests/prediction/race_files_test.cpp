// The race loop's own files built from the run's state alone: the score
// file enumerates its pairs and trios anew from the horses, so it comes out
// the same whenever it is built; the builders leave the counters alone.
#include "prediction/race_files.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace rw::prediction;

namespace {
RunState threeHorses() {
    RunState s;
    s.HorseCount = 3;
    s.PredSpeed = {0, 60.0f, 61.5f, 59.0f};
    s.ResidualValue = {0, 0.5f, -0.25f, 1.0f};
    s.CompositeSpeed = {0, 60.5f, 61.25f, 60.0f};
    s.CurIndex = 7, s.CurSubIndex = 8, s.EntryIndex = 9;
    return s;
}
}  // namespace

TEST(RaceFiles, ScoreFileFromTheHorsesAlone) {
    const RunState s = threeHorses();
    EXPECT_EQ(ScoreFileBytes(s, "202412070611"),
              "\"202412070611\",1,60.5,60,0.5\r\n"
              "\"202412070611\",2,61.25,61.5,-0.25\r\n"
              "\"202412070611\",3,60,59,1\r\n"
              "\"202412070611\",\"Umaren\",\"0102\",121.75,121.5,0.25\r\n"
              "\"202412070611\",\"Umaren\",\"0103\",120.5,119,1.5\r\n"
              "\"202412070611\",\"Umaren\",\"0203\",121.25,120.5,0.75\r\n"
              "\"202412070611\",\"Sanrenpuku\",\"010203\",181.75,180.5,1.25\r\n");
    EXPECT_EQ(std::make_tuple(s.CurIndex, s.CurSubIndex, s.EntryIndex), std::make_tuple(7, 8, 9));
}

TEST(RaceFiles, SortAndBetLinesOfTheRankedCombinations) {
    RunState s = threeHorses();
    s.PairCount = 3;
    s.PairBetsAsc = {"", "0102", "0203", "0103"};
    s.PairBets = {"", "0201", "0203", "0103"};  // turned faster first
    s.PairScore = {0, 121.75f, 121.25f, 120.5f};
    s.TrioCount = 1;
    s.TrioBetsAsc = {"", "010203"};
    s.TrioBets = {"", "020103"};
    s.TrioScore = {0, 181.75f};
    EXPECT_EQ(UmarenSortBytes(s, "202412070611"),
              "\"202412070611\",\"Umaren\",\"0102\",121.75\r\n"
              "\"202412070611\",\"Umaren\",\"0203\",121.25\r\n"
              "\"202412070611\",\"Umaren\",\"0103\",120.5\r\n");
    EXPECT_EQ(SanrentanSortBytes(s, "202412070611"), "\"202412070611\",\"sanrentan\",\"020103\",181.75\r\n");
    EXPECT_EQ(WideBetBytes(s, "202412070611"),
              "20241207,06,11,05,01-02,100\r\n20241207,06,11,05,02-03,100\r\n20241207,06,11,05,01-03,100\r\n");
    EXPECT_EQ(UmatanBetBytes(s, "202412070611").left(56), "20241207,06,11,06,02-01,100\r\n20241207,06,11,06,01-02,100");
    EXPECT_EQ(SanrentanBetBytes(s, "202412070611").count("\r\n"), 6);
    EXPECT_EQ(std::make_tuple(s.CurIndex, s.CurSubIndex, s.EntryIndex), std::make_tuple(7, 8, 9));
}

TEST(RaceFiles, BetImportLineCutsTheRaceIdAsMidDoes) {
    EXPECT_EQ(BetImportLine("202412070611", "04", "01-02"), "20241207,06,11,04,01-02,100");
    EXPECT_EQ(BetImportLine("2024120706", "08", "01-02-03"), "20241207,06,,08,01-02-03,100");
    EXPECT_EQ(BetImportLine("20241", "05", ""), "20241,,,05,,100");
}
