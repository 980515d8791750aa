#include "reports/selection_file.h"

#include "common/errors.h"
#include "common/fixed_text.h"
#include "common/text_file.h"
#include "jvdata/layouts.h"
#include "prediction/race_loop.h"
#include "prediction/runner_record.h"
#include "reports/combination_texts.h"
#include "support/day_file_lines.h"
#include "support/run_state_fixture.h"
#include "support/test_support.h"

#include <QDir>
#include <gtest/gtest.h>

#include <limits>
#include <map>

using namespace rw::reports;
using rw::prediction::PcTicketKind;
using rw::prediction::RunState;
using rwtest::DayFileLine;
using rwtest::sj;
namespace rr = rw::prediction::rr;
namespace rt = rw::prediction::rt;

namespace {

constexpr char kNakayama[] = "20260307060205";
constexpr char kHanshin[] = "20260307090105";

QString goldenFile(const QString& name) { return QStringLiteral(RACEWEEK_SOURCE_DIR "/tests/reports/golden/") + name; }

// A scratch application folder with the selection files' folder in place.
struct SelectionFolder : rwtest::AppFolder {
    SelectionFolder() { QDir().mkpath(path() + "TEKICHU"); }
    QByteArray day(const char* dayKey, const char* suffix) const {
        return read("TEKICHU\\" + QString::fromLatin1(dayKey) + QLatin1String(suffix));
    }
    bool has(const char* dayKey, const char* suffix) const {
        return exists("TEKICHU\\" + QString::fromLatin1(dayKey) + QLatin1String(suffix));
    }
};

RunState fixtureRace(int k, bool results) {
    RunState s = rwtest::FixtureRun(results);
    rwtest::LoadFixtureRace(s, k);
    return s;
}

QList<QByteArray> valuesOf(const DayFileLine& l) {
    QList<QByteArray> v;
    for (qsizetype i = 0; i < l.size(); ++i) v.append(l.value(i));
    return v;
}

QList<QByteArray> sjList(std::initializer_list<const char*> utf8) {
    QList<QByteArray> out;
    for (const char* u : utf8) out.append(sj(u));
    return out;
}

QByteArray two(int n) { return QByteArray::number(n).rightJustified(2, '0'); }

// The eleven kinds in the hit table's column order.
std::array<const PcTicketKind*, 11> columns(const RunState& s) {
    const auto& p = s.PcTicketStats;
    return {&p.Tansho1, &p.Fukusho1,    &p.Tansho2,     &p.Fukusho2,    &p.UmarenF,    &p.UmarenB,
            &p.UmatanF, &p.SanrenpukuB, &p.Sanrentan12, &p.Sanrentan23, &p.Sanrentan13};
}
// The seven exotic kinds in their order.
std::array<PcTicketKind*, 7> exotics(RunState& s) {
    auto& p = s.PcTicketStats;
    return {&p.UmarenF, &p.UmarenB, &p.UmatanF, &p.SanrenpukuB, &p.Sanrentan12, &p.Sanrentan23, &p.Sanrentan13};
}

// A judged race built on fixture race 2: `horses` ranked horses, horse
// number 19 - r at rank r (so ranks and numbers never coincide), the
// registered count and SD as given, every horse unplaced ("**") until
// placed, and a payoff record of the race with every entry blank.
struct Race {
    RunState s;
    Race(int horses, const char* registered, const char* sd) {
        s = fixtureRace(2, true);
        s.HorseCount = horses;
        s.RankedHorse = QList<QByteArray>(horses + 1);
        for (int r = 1; r <= horses; ++r) s.RankedHorse[r] = two(horseAt(r));
        s.FinishPos = QList<QByteArray>(19, "**");
        rw::putFixed(s.CurrentHorse, rr::RegisteredRunners(0).pos, 2, registered);
        s.RaceTable[2][rt::SD] = sd;
        s.CurrentHR = QByteArray(719, ' ');
        s.CurrentHR.replace(0, 11, "HR720260308");
        s.CurrentHR.replace(11, 16, s.CurrentHorse.left(16));
        s.CurrentHR.replace(717, 2, "\r\n");
    }
    static int horseAt(int rank) { return 19 - rank; }
    Race& place(int rank, const char* pos) {
        s.FinishPos[horseAt(rank)] = pos;
        return *this;
    }
    // Payoff entry i of a group: the horses at the ranks, in the order given
    // (ordered kinds) or ascending (unordered kinds).
    Race& entry(const char* row, int i, QList<int> ranks, int yen, bool ascending) {
        QList<int> horses;
        for (int r : ranks) horses.append(horseAt(r));
        if (ascending) std::sort(horses.begin(), horses.end());
        QByteArray comb;
        for (int h : horses) comb += two(h);
        return raw(row, i, comb, QByteArray::number(yen).rightJustified(9, '0'));
    }
    Race& raw(const char* row, int i, QByteArrayView comb, QByteArrayView payout) {
        const bool single = std::string_view(row) == "win payouts" || std::string_view(row) == "place payouts";
        const auto c = rw::jv::findField(rw::jv::kHR, row, single ? "horse number" : "combination", i - 1);
        const auto p = rw::jv::findField(rw::jv::kHR, row, "payout", i - 1);
        rw::putFixed(s.CurrentHR, c.pos, c.width, comb);
        rw::putFixed(s.CurrentHR, p.pos, p.width, payout);
        return *this;
    }
    Race& quinella(int i, QList<int> ranks, int yen) { return entry("quinella payouts", i, ranks, yen, true); }
    Race& exacta(int i, QList<int> ranks, int yen) { return entry("exacta payouts", i, ranks, yen, false); }
    Race& trio(int i, QList<int> ranks, int yen) { return entry("trio payouts", i, ranks, yen, true); }
    Race& trifecta(int i, QList<int> ranks, int yen) { return entry("trifecta payouts", i, ranks, yen, false); }
};

QList<DayFileLine> selectionLines(const RunState& s) {
    DayLines out;
    WritePcBetLines(s, out);
    return rwtest::DayFileLines(out.bytes());
}

// The ranks a selection line names, read back through the ranking.
QList<int> ranksOfLine(const RunState& s, const DayFileLine& l) {
    QList<int> ranks;
    for (qsizetype i = 1; i < l.size(); ++i) {
        const int h = l.value(i).trimmed().toInt();
        for (int r = 1; r <= s.HorseCount; ++r)
            if (s.RankedHorse[r].toInt() == h) ranks.append(r);
    }
    return ranks;
}
QList<int> span(int from, int to) {
    QList<int> r;
    for (int i = from; i <= to; ++i) r.append(i);
    return r;
}

}  // namespace

// ---- The fixture against the hand-written files ------------------------------------

TEST(SelectionFile, FixtureWeekMatchesTheHandWrittenFiles) {
    for (const bool results : {false, true}) {
        SCOPED_TRACE(results ? "results" : "normal");
        SelectionFolder app;
        RunState s = rwtest::FixtureRun(results);
        for (int k = 1; k <= rwtest::kFixtureRaces; ++k) {
            rwtest::LoadFixtureRace(s, k);
            WritePcRaceBlock(s);
        }
        const char* day = results ? "lupRCMPC.txt" : "lupPC.txt";
        const QByteArray expected = rwtest::readFile(goldenFile(QString::fromLatin1(kNakayama) + day));
        ASSERT_FALSE(expected.isEmpty());
        EXPECT_EQ(app.day(kNakayama, day), expected);
        EXPECT_EQ(s.LastDayKeyPc, QString::fromLatin1(kHanshin));
        if (results) {
            for (const char* key : {kNakayama, kHanshin}) {
                const QString name = QString::fromLatin1(key) + "tekichuPC.txt";
                const QByteArray table = rwtest::readFile(goldenFile(name));
                ASSERT_FALSE(table.isEmpty()) << name.toStdString();
                EXPECT_EQ(app.day(key, "tekichuPC.txt"), table) << name.toStdString();
            }
            EXPECT_FALSE(app.has(kNakayama, "lupPC.txt"));
        } else {
            EXPECT_FALSE(app.has(kNakayama, "tekichuPC.txt"));
            EXPECT_FALSE(app.has(kNakayama, "lupRCMPC.txt"));
        }
    }
}

TEST(SelectionFile, ResultsModeWritesTheSameSelectionLinesAsNormalMode) {
    for (int k = 1; k <= rwtest::kFixtureRaces; ++k) {
        DayLines normal, results;
        WritePcBetLines(fixtureRace(k, false), normal);
        WritePcBetLines(fixtureRace(k, true), results);
        EXPECT_EQ(normal.bytes(), results.bytes()) << k;
        EXPECT_EQ(rwtest::DayFileLines(normal.bytes()).size(), 15);
    }
}

// ---- Sizes, ticket counts and selection lines -------------------------------------------

TEST(SelectionSizes, ByRunnerCountAndSpread) {
    struct Case {
        const char* n;
        const char* sd;
        SelectionSizes sizes;
        std::array<std::int16_t, 7> tickets;
    };
    const Case cases[] = {
        {"01", "99", {4, 4, 4, 4, 4}, {6, 6, 9, 4, 12, 6, 6}},
        {"02", "", {4, 4, 4, 4, 4}, {6, 6, 9, 4, 12, 6, 6}},  // SD not read
        {"03", "xx", {4, 4, 4, 4, 4}, {6, 6, 9, 4, 12, 6, 6}},
        {" 4", "31", {4, 4, 4, 4, 4}, {6, 6, 9, 4, 12, 6, 6}},
        {"05", "31", {5, 5, 5, 5, 5}, {9, 10, 12, 10, 18, 12, 12}},
        {"06", "31", {6, 5, 5, 6, 6}, {12, 10, 12, 10, 24, 18, 18}},
        {"07", "xx", {6, 5, 5, 7, 7}, {12, 10, 12, 10, 30, 24, 24}},
        {"08", "30", {7, 6, 7, 8, 8}, {15, 15, 18, 20, 36, 30, 30}},
        {"08", "31", {6, 5, 6, 8, 8}, {12, 10, 15, 10, 36, 30, 30}},
        {"12", "30", {7, 6, 7, 9, 9}, {15, 15, 18, 20, 42, 36, 36}},
        {"16", "30", {7, 6, 7, 9, 9}, {15, 15, 18, 20, 42, 36, 36}},
        {"16", "31", {6, 5, 6, 8, 8}, {12, 10, 15, 10, 36, 30, 30}},
        {"16", " 5", {7, 6, 7, 9, 9}, {15, 15, 18, 20, 42, 36, 36}},
        {"  ", "30", {7, 6, 7, 9, 9}, {15, 15, 18, 20, 42, 36, 36}},  // blank: any other count
        {"  ", "31", {6, 5, 6, 8, 8}, {12, 10, 15, 10, 36, 30, 30}},
        {"ab", "12", {7, 6, 7, 9, 9}, {15, 15, 18, 20, 42, 36, 36}},
        {"00", "45", {6, 5, 6, 8, 8}, {12, 10, 15, 10, 36, 30, 30}},
        {"8 ", "12", {7, 6, 7, 8, 8}, {15, 15, 18, 20, 36, 30, 30}},  // read leniently
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("N \"") + c.n + "\" SD \"" + c.sd + "\"");
        const SelectionSizes z = SelectionSizesOf(c.n, c.sd);
        EXPECT_EQ(z, c.sizes);
        EXPECT_EQ(TicketCounts(z), c.tickets);
    }
}

TEST(SelectionSizes, AnSdThatIsNotANumberFailsWhereItIsRead) {
    for (const char* n : {"08", "12", "  "})
        for (const char* sd : {"  ", "ab", "-3", ""})
            EXPECT_THROW(SelectionSizesOf(n, sd), rw::StepFailure) << n << " " << sd;
}

TEST(SelectionLines, RankListsByRunnerCountAndSpread) {
    struct Case {
        const char* n;
        const char* sd;
        int a, b, c, d;
    };
    const Case cases[] = {
        {"04", "40", 4, 4, 4, 4}, {"05", "40", 5, 5, 5, 5}, {"06", "40", 6, 5, 6, 6},
        {"07", "10", 6, 5, 7, 7}, {"08", "30", 7, 6, 8, 8}, {"08", "31", 6, 5, 8, 8},
        {"16", "30", 7, 6, 9, 9}, {"16", "31", 6, 5, 8, 8}, {"  ", "30", 7, 6, 9, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("N \"") + c.n + "\" SD \"" + c.sd + "\"");
        Race race(16, c.n, c.sd);
        const auto lines = selectionLines(race.s);
        ASSERT_EQ(lines.size(), 15);
        EXPECT_EQ(rwtest::TagsOf(lines), (QList<QByteArray>{"TF1", "TF2", "UF1", "UF2", "UBX", "S11", "S12", "S1A",
                                                            "S21", "S22", "S2A", "S31", "S32", "S3A", "SBX"}));
        const QList<QList<int>> expected{{1},          {2}, {1, 2, 3},    span(1, c.a), span(1, c.b),
                                         {1},          {2}, span(3, c.c), {2},          {3},
                                         span(4, c.d), {1}, {3},          span(4, c.d), span(1, c.b)};
        for (int i = 0; i < 15; ++i) EXPECT_EQ(ranksOfLine(race.s, lines[i]), expected[i]) << lines[i].tag().data();
    }
}

TEST(SelectionLines, HorseNumbersArePaddedToTwoCharacters) {
    Race race(12, "12", "12");  // rank 1 horse 18 … rank 12 horse 7
    race.s.RankedHorse[2] = "05";
    race.s.RankedHorse[11] = "17";
    const auto lines = selectionLines(race.s);
    EXPECT_EQ(lines[0].raw, (QList<QByteArray>{"\"TF1\"", "\"18\""}));
    EXPECT_EQ(lines[1].raw, (QList<QByteArray>{"\"TF2\"", "\" 5\""}));
    EXPECT_EQ(valuesOf(lines[2]), (QList<QByteArray>{"UF1", "18", " 5", "16"}));
}

TEST(SelectionLines, FiveRunnersOfTheEdgeCase) {
    Race race(5, "05", "  ");
    for (const auto& [rank, horse] : std::map<int, const char*>{{1, "03"}, {2, "07"}, {3, "01"}, {4, "05"}, {5, "02"}})
        race.s.RankedHorse[rank] = horse;
    const auto lines = selectionLines(race.s);
    std::map<QByteArray, QList<QByteArray>> got;
    for (const auto& l : lines) got[l.tag()] = valuesOf(l).mid(1);
    const QList<QByteArray> all{" 3", " 7", " 1", " 5", " 2"};
    EXPECT_EQ(got["TF1"], QList<QByteArray>{" 3"});
    EXPECT_EQ(got["TF2"], QList<QByteArray>{" 7"});
    EXPECT_EQ(got["UF1"], (QList<QByteArray>{" 3", " 7", " 1"}));
    for (const char* tag : {"UF2", "UBX", "SBX"}) EXPECT_EQ(got[tag], all) << tag;
    for (const char* tag : {"S11", "S31"}) EXPECT_EQ(got[tag], QList<QByteArray>{" 3"}) << tag;
    for (const char* tag : {"S12", "S21"}) EXPECT_EQ(got[tag], QList<QByteArray>{" 7"}) << tag;
    for (const char* tag : {"S22", "S32"}) EXPECT_EQ(got[tag], QList<QByteArray>{" 1"}) << tag;
    EXPECT_EQ(got["S1A"], (QList<QByteArray>{" 1", " 5", " 2"}));
    for (const char* tag : {"S2A", "S3A"}) EXPECT_EQ(got[tag], (QList<QByteArray>{" 5", " 2"})) << tag;
}

TEST(SelectionLines, ARankTheRaceDoesNotHaveIsLeftOutAndTheLineKeepsItsTag) {
    Race race(3, "03", "  ");
    const auto lines = selectionLines(race.s);
    ASSERT_EQ(lines.size(), 15);
    std::map<QByteArray, qsizetype> items;
    for (const auto& l : lines) items[l.tag()] = l.size();
    EXPECT_EQ(items["UF1"], 4);
    EXPECT_EQ(items["UF2"], 4);  // ranks 1 to 4: three horses
    EXPECT_EQ(items["S1A"], 2);  // ranks 3 and 4: one horse
    EXPECT_EQ(items["S2A"], 1);  // rank 4 alone: the tag alone
    EXPECT_EQ(items["S3A"], 1);
    EXPECT_EQ(lines[14].tag(), "SBX");

    // A single runner: TF2 and S12 name no horse.
    Race one(1, "01", "  ");
    const auto l1 = selectionLines(one.s);
    EXPECT_EQ(l1[1].size(), 1);
    EXPECT_EQ(l1[3].size(), 2);
}

// ---- Judging: single kinds ---------------------------------------------------------------

TEST(SelectionJudging, WinOnADeadHeatTakesTheHorsesOwnEntry) {
    Race race(12, "12", "12");
    race.s.RankedHorse[1] = "07";
    race.s.RankedHorse[12] = "18";
    race.raw("win payouts", 1, "03", "000000290").raw("win payouts", 2, "07", "000000350");
    race.s.PcTicketStats.Tansho1.HitCount = 4;
    race.s.PcTicketStats.Tansho1.PaySum = 1000;
    EvaluatePcBetHits(race.s);
    const PcTicketKind& t = race.s.PcTicketStats.Tansho1;
    EXPECT_EQ(t.HitText, "07");
    EXPECT_EQ(t.PayText, "350");
    EXPECT_EQ(t.HitCount, 5);
    EXPECT_EQ(t.PaySum, 1350);
}

TEST(SelectionJudging, PlaceInTheFourthEntryAndTheRankTwoKinds) {
    Race race(12, "12", "12");  // rank 1 horse 18, rank 2 horse 17
    race.raw("place payouts", 1, "03", "000000120")
        .raw("place payouts", 2, "05", "000000160")
        .raw("place payouts", 3, "09", "000000210")
        .raw("place payouts", 4, "18", "000000480")
        .raw("place payouts", 5, "17", "000000530")
        .raw("win payouts", 1, "17", "000001530");
    EvaluatePcBetHits(race.s);
    const auto& p = race.s.PcTicketStats;
    EXPECT_EQ(p.Fukusho1.HitText, "18");
    EXPECT_EQ(p.Fukusho1.PayText, "480");
    EXPECT_EQ(p.Fukusho2.HitText, "17");
    EXPECT_EQ(p.Fukusho2.PayText, "530");
    EXPECT_EQ(p.Tansho2.HitText, "17");
    EXPECT_EQ(p.Tansho2.PayText, "1530");
    EXPECT_EQ(p.Tansho1.HitText, "");
    EXPECT_EQ(p.Tansho1.HitCount, 0);
}

TEST(SelectionJudging, AMissLeavesTextsEmptyAndSumsButStillCountsTickets) {
    Race race(12, "12", "30");
    auto& p = race.s.PcTicketStats;
    for (PcTicketKind* k : exotics(race.s)) {
        k->HitText = "old";
        k->PayText = "999";
        k->HitCount = 2;
        k->PaySum = 700;
        k->TicketSum = 100;
    }
    p.Tansho1.HitText = "old";
    EvaluatePcBetHits(race.s);
    const std::array<std::int16_t, 7> counts{15, 15, 18, 20, 42, 36, 36};
    for (size_t i = 0; i < 7; ++i) {
        const PcTicketKind& k = *exotics(race.s)[i];
        EXPECT_EQ(k.HitText, "");
        EXPECT_EQ(k.PayText, "");
        EXPECT_EQ(k.HitCount, 2);
        EXPECT_EQ(k.PaySum, 700);
        EXPECT_EQ(k.TicketCount, counts[i]);
        EXPECT_EQ(k.TicketSum, 100 + counts[i]);
    }
    EXPECT_EQ(p.Tansho1.HitText, "");
}

TEST(SelectionJudging, ARankTheRaceDoesNotHaveIsNotPlaced) {
    // One runner: a blank 単勝 entry (which reads 0) is not rank 2's horse.
    Race one(1, "01", "  ");
    one.place(1, "01").raw("win payouts", 1, "18", "000000110");
    EvaluatePcBetHits(one.s);
    EXPECT_EQ(one.s.PcTicketStats.Tansho1.PayText, "110");
    EXPECT_EQ(one.s.PcTicketStats.Tansho2.HitCount, 0);

    // Three runners: the 3連単 third legs from rank 4 hold no horse.
    Race race(3, "03", "  ");
    race.place(1, "01").place(2, "02").place(3, "03");
    race.quinella(1, {1, 2}, 300).exacta(1, {1, 2}, 500).trio(1, {1, 2, 3}, 400).trifecta(1, {1, 2, 3}, 900);
    EvaluatePcBetHits(race.s);
    const auto& p = race.s.PcTicketStats;
    EXPECT_EQ(p.UmarenF.PayText, "300");
    EXPECT_EQ(p.UmarenB.PayText, "300");
    EXPECT_EQ(p.UmatanF.PayText, "500");
    EXPECT_EQ(p.SanrenpukuB.PayText, "400");
    EXPECT_EQ(p.Sanrentan12.PayText, "900");
    EXPECT_EQ(p.Sanrentan23.HitCount, 0);
    EXPECT_EQ(p.Sanrentan13.HitCount, 0);
    std::array<std::int16_t, 7> counts;
    for (size_t i = 0; i < 7; ++i) counts[i] = exotics(race.s)[i]->TicketCount;
    EXPECT_EQ(counts, (std::array<std::int16_t, 7>{6, 6, 9, 4, 12, 6, 6}));
}

// ---- Judging: the exotic kinds -----------------------------------------------------------

TEST(SelectionJudging, HitTestsOfTheExoticKinds) {
    struct Case {
        const char* what;
        int horses;
        const char* n;
        const char* sd;
        std::map<int, const char*> placings;  // rank -> FinishPos
        const char* hits;                     // 馬連F 馬連B 馬単F 3連複B 3連単12 3連単23 3連単13
    };
    const Case cases[] = {
        {"rank 2 wins, rank 6 second, SD 25", 12, "12", "25", {{2, "01"}, {6, "02"}, {9, "03"}}, "1110000"},
        {"rank 2 wins, rank 7 second, SD 35", 12, "12", "35", {{2, "01"}, {7, "02"}, {9, "03"}}, "0000000"},
        {"ranks 4 and 5 first and second, b 6", 12, "12", "25", {{4, "01"}, {5, "02"}, {10, "03"}}, "0100000"},
        {"ranks 4 and 5 first and second, b 5", 12, "12", "35", {{4, "01"}, {5, "02"}, {10, "03"}}, "0100000"},
        {"ranks 4 and 5 first and second, b 4", 12, "04", "25", {{4, "01"}, {5, "02"}, {10, "03"}}, "0000000"},
        {"7 runners, rank 1 wins, rank 6 second", 7, "07", "  ", {{1, "01"}, {6, "02"}, {7, "03"}}, "1000000"},
        {"10 runners SD 30, rank 5 wins, 1 and 2 next", 10, "10", "30", {{5, "01"}, {1, "02"}, {2, "03"}}, "1101100"},
        {"10 runners SD 30, rank 10 wins, 1 and 2 next", 10, "10", "30", {{10, "01"}, {1, "02"}, {2, "03"}}, "0000000"},
        {"rank 2 wins, ranks 1 and 3 next", 12, "12", "25", {{2, "01"}, {1, "02"}, {3, "03"}}, "1111100"},
        {"ranks 2, 3 and 4 in order", 12, "12", "25", {{2, "01"}, {3, "02"}, {4, "03"}}, "1111010"},
        {"ranks 1, 4 and 3 in order", 12, "12", "25", {{1, "01"}, {4, "02"}, {3, "03"}}, "1111001"},
        {"dead heat for third in a third leg", 12, "12", "25", {{1, "01"}, {2, "02"}, {4, "03"}, {5, "03"}}, "1110000"},
        {"dead heat for second inside ranks 1-3",
         8,
         "08",
         " 8",
         {{2, "01"}, {1, "02"}, {3, "02"}, {4, "04"}},
         "0001000"},
        {"rank 1 wins, rank 8 second, N 8 SD 30", 8, "08", "30", {{1, "01"}, {8, "02"}}, "0000000"},
        {"rank 1 wins, rank 7 second, N 8 SD 30", 8, "08", "30", {{1, "01"}, {7, "02"}}, "1010000"},
        {"rank 1 wins, rank 7 second, N 8 SD 31", 8, "08", "31", {{1, "01"}, {7, "02"}}, "0000000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Race race(c.horses, c.n, c.sd);
        // Entry 1 of each kind: the first three ranks in finishing order.
        QList<std::pair<QByteArray, int>> order;
        for (const auto& [rank, pos] : c.placings) {
            race.place(rank, pos);
            order.append({pos, rank});
        }
        std::stable_sort(order.begin(), order.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
        race.quinella(1, {order[0].second, order[1].second}, 1100).exacta(1, {order[0].second, order[1].second}, 2200);
        if (order.size() > 2 && order[2].first <= "03") {
            const QList<int> trio{order[0].second, order[1].second, order[2].second};
            race.trio(1, trio, 3300).trifecta(1, trio, 4400);
        }
        EvaluatePcBetHits(race.s);
        const char* pays[7] = {"1100", "1100", "2200", "3300", "4400", "4400", "4400"};
        for (size_t i = 0; i < 7; ++i) {
            const PcTicketKind& k = *exotics(race.s)[i];
            const bool hit = c.hits[i] == '1';
            EXPECT_EQ(k.HitCount, hit ? 1 : 0) << "kind " << i;
            EXPECT_EQ(k.PayText, hit ? QByteArray(pays[i]) : QByteArray()) << "kind " << i;
        }
    }
}

TEST(SelectionJudging, HitTextsAreFormattedCombinations) {
    Race race(12, "12", "25");  // rank r is horse 19 - r
    race.place(2, "01").place(1, "02").place(3, "03");
    race.quinella(1, {2, 1}, 1100).exacta(1, {2, 1}, 2200).trio(1, {2, 1, 3}, 3300).trifecta(1, {2, 1, 3}, 44400);
    EvaluatePcBetHits(race.s);
    const auto& p = race.s.PcTicketStats;
    EXPECT_EQ(p.UmarenF.HitText, "17-18");
    EXPECT_EQ(p.UmarenB.HitText, "17-18");
    EXPECT_EQ(p.UmatanF.HitText, sj("17→18"));
    EXPECT_EQ(p.SanrenpukuB.HitText, "16-17-18");
    EXPECT_EQ(p.Sanrentan12.HitText, sj("17→18→16"));
    EXPECT_EQ(p.Sanrentan12.PayText, "44400");
}

// ---- The dead-heat mend ------------------------------------------------------------------

TEST(SelectionDeadHeat, AHitIsPaidFromTheFirstEntryTheSelectionHolds) {
    // Rank 1 wins; ranks 2 and 10 dead-heat for second. The formations hold
    // rank 1 with rank 2 but not with rank 10, whose pair is entry 1.
    Race race(12, "12", "25");
    race.place(1, "01").place(2, "02").place(10, "02");
    race.quinella(1, {1, 10}, 610).quinella(2, {1, 2}, 1030);
    race.exacta(1, {1, 10}, 1320).exacta(2, {1, 2}, 2450);
    EvaluatePcBetHits(race.s);
    const auto& p = race.s.PcTicketStats;
    EXPECT_EQ(p.UmarenF.HitText, "17-18");
    EXPECT_EQ(p.UmarenF.PayText, "1030");
    EXPECT_EQ(p.UmarenF.PaySum, 1030);
    EXPECT_EQ(p.UmarenB.HitText, "17-18");
    EXPECT_EQ(p.UmarenB.PaySum, 1030);
    EXPECT_EQ(p.UmatanF.HitText, sj("18→17"));
    EXPECT_EQ(p.UmatanF.PaySum, 2450);
}

TEST(SelectionDeadHeat, ThirdPlaceDeadHeatsForTheTrioBoxAndATrifectaWithTwoAxes) {
    // Rank 1 wins, rank 4 second, ranks 3 and 10 dead-heat for third.
    Race race(12, "12", "25");
    race.place(1, "01").place(4, "02").place(3, "03").place(10, "03");
    race.quinella(1, {1, 4}, 900).exacta(1, {1, 4}, 1800);
    race.trio(1, {1, 4, 10}, 5000).trio(2, {1, 4, 3}, 4000);
    race.trifecta(1, {1, 4, 10}, 50000).trifecta(2, {1, 4, 3}, 40000);
    EvaluatePcBetHits(race.s);
    const auto& p = race.s.PcTicketStats;
    EXPECT_EQ(p.SanrenpukuB.HitText, "15-16-18");
    EXPECT_EQ(p.SanrenpukuB.PayText, "4000");
    EXPECT_EQ(p.Sanrentan13.HitText, sj("18→15→16"));  // axes 1 and 3, rank 4 in the third leg
    EXPECT_EQ(p.Sanrentan13.PayText, "40000");
    EXPECT_EQ(p.Sanrentan12.HitCount, 0);
    EXPECT_EQ(p.Sanrentan23.HitCount, 0);
}

TEST(SelectionDeadHeat, WithoutADeadHeatOrWithoutAHeldEntryTheFirstEntryPays) {
    Race race(12, "12", "25");
    race.place(1, "01").place(2, "02");
    race.quinella(1, {1, 2}, 700).exacta(1, {1, 2}, 1400);
    EvaluatePcBetHits(race.s);
    EXPECT_EQ(race.s.PcTicketStats.UmarenF.PayText, "700");

    // The placings say hit, but no entry is a combination of the selection
    // (horses 1 and 2 are not in the ranking): entry 1 all the same.
    Race odd(12, "12", "25");
    odd.place(1, "01").place(2, "02");
    odd.raw("quinella payouts", 1, "0102", "000000800").raw("quinella payouts", 2, "0103", "000000900");
    odd.exacta(1, {1, 2}, 1600);
    EvaluatePcBetHits(odd.s);
    EXPECT_EQ(odd.s.PcTicketStats.UmarenF.HitText, " 1- 2");
    EXPECT_EQ(odd.s.PcTicketStats.UmarenF.PayText, "800");
}

// ---- Judging failures --------------------------------------------------------------------

TEST(SelectionJudging, FailuresAreDetectedAndLeaveWhatWasJudged) {
    {  // an SD that is not a number: the single kinds stay judged
        Race race(12, "12", "ab");
        race.raw("win payouts", 1, "18", "000000250");
        EXPECT_THROW(EvaluatePcBetHits(race.s), rw::StepFailure);
        EXPECT_EQ(race.s.PcTicketStats.Tansho1.PayText, "250");
        EXPECT_EQ(race.s.PcTicketStats.UmarenF.TicketSum, 0);
    }
    {  // a payout that is not a number, read for a hit
        Race race(12, "12", "12");
        race.raw("win payouts", 1, "18", "0000x0250");
        EXPECT_THROW(EvaluatePcBetHits(race.s), rw::StepFailure);
        EXPECT_EQ(race.s.PcTicketStats.Tansho1.HitCount, 0);
    }
    {  // HitCount at its 32-bit limit
        Race race(12, "12", "12");
        race.raw("win payouts", 1, "18", "000000250");
        race.s.PcTicketStats.Tansho1.HitCount = std::numeric_limits<std::int32_t>::max();
        EXPECT_THROW(EvaluatePcBetHits(race.s), rw::StepFailure);
        EXPECT_EQ(race.s.PcTicketStats.Tansho1.HitCount, std::numeric_limits<std::int32_t>::max());
    }
    {  // PaySum outgrowing 32 bits keeps its value; the hit is counted
        Race race(12, "12", "12");
        race.raw("win payouts", 1, "18", "999999999");
        race.s.PcTicketStats.Tansho1.PaySum = 2000000000;
        EXPECT_THROW(EvaluatePcBetHits(race.s), rw::StepFailure);
        EXPECT_EQ(race.s.PcTicketStats.Tansho1.PaySum, 2000000000);
        EXPECT_EQ(race.s.PcTicketStats.Tansho1.HitCount, 1);
    }
    {  // TicketSum outgrowing 16 bits: the kinds before it keep their sums
        Race race(12, "12", "12");
        race.s.PcTicketStats.UmatanF.TicketSum = 32767 - 17;
        EXPECT_THROW(EvaluatePcBetHits(race.s), rw::StepFailure);
        EXPECT_EQ(race.s.PcTicketStats.UmarenF.TicketSum, 15);
        EXPECT_EQ(race.s.PcTicketStats.UmarenB.TicketSum, 15);
        EXPECT_EQ(race.s.PcTicketStats.UmatanF.TicketSum, 32767 - 17);
        EXPECT_EQ(race.s.PcTicketStats.UmatanF.TicketCount, 18);
        EXPECT_EQ(race.s.PcTicketStats.SanrenpukuB.TicketSum, 0);
    }
}

// ---- The hit table ---------------------------------------------------------------------

TEST(SelectionHitTable, TheCountRowOfARaceWhereNothingHit) {
    for (const char* raceNo : {"01", "10"}) {
        Race race(12, "12", "30");
        rw::putFixed(race.s.CurrentHorse, rr::RaceNo(0).pos, 2, raceNo);
        rw::putFixed(race.s.CurrentHR, rw::jv::findField(rw::jv::kHR, "race key", "race number").pos, 2, raceNo);
        DayLines day, hits;
        AddPcRaceBlock(race.s, day, hits);
        const QList<QByteArray> rows = hits.bytes().split('\n');
        ASSERT_EQ(rows.size(), 4);
        EXPECT_EQ(rows[0],
                  "\"" + QByteArray(raceNo) + sj("R点数  ") + "\",\"1\",\"1\",\"1\",\"1\",15,15,18,20,42,36,36\r");
        EXPECT_EQ(rows[1], "\"" + sj("  的中目") + "\"" + QByteArray(",\"\"").repeated(11) + "\r");
        EXPECT_EQ(rows[2], "\"" + sj("  配当") + "\"" + QByteArray(",\"\"").repeated(11) + "\r");
        // The day file gets no payoff or hit lines.
        for (const auto& l : rwtest::DayFileLines(day.bytes()))
            EXPECT_TRUE(l.tag() == "RC" || l.tag() == "RR" || l.tag() == "HS" || l.tag().size() == 3) << l.tag().data();
    }
}

TEST(SelectionHitTable, HeadLines) {
    RunState s = fixtureRace(3, true);
    DayLines out;
    AddPcHitTableHead(s, kHanshin, out);
    const auto lines = rwtest::DayFileLines(out.bytes());
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(valuesOf(lines[0]), sjList({"2026年", "03月", "07日", "1回", "阪神", "5日目"}));
    EXPECT_EQ(lines[1].size(), 12);
    // No code-table row: the name has no value.
    rw::prediction::FillCodeTable(s.CodeTable, {"2001", "06", "", "", sj("中山"), "", "", ""});
    DayLines none;
    AddPcHitTableHead(s, kHanshin, none);
    EXPECT_EQ(rwtest::DayFileLines(none.bytes())[0].raw[4], "");
}

TEST(SelectionHitTable, APayoffRecordOfAnotherRaceWritesTheBlockButNoRows) {
    SelectionFolder app;
    RunState s = rwtest::FixtureRun(true);
    rwtest::LoadFixtureRace(s, 1);
    WritePcRaceBlock(s);
    rwtest::LoadFixtureRace(s, 2);
    s.CurrentHR = rwtest::FixturePayoffRecord(1);  // race 1's record
    const auto before = s.PcTicketStats.Fukusho1;
    WritePcRaceBlock(s);
    EXPECT_EQ(s.PcTicketStats.Fukusho1.HitCount, before.HitCount);
    auto day = rwtest::DayFileLines(app.day(kNakayama, "lupRCMPC.txt"));
    EXPECT_EQ(rwtest::TagsOf(day).count("RC"), 2);
    EXPECT_EQ(rwtest::TagsOf(day).count("SBX"), 2);
    EXPECT_EQ(rwtest::TagsOf(day).count("HS"), 5 + 12);
    EXPECT_EQ(rwtest::DayFileLines(app.day(kNakayama, "tekichuPC.txt")).size(), 2 + 3);

    // The next race of the course-day appends to both files.
    rwtest::LoadFixtureRace(s, 2);
    WritePcRaceBlock(s);
    day = rwtest::DayFileLines(app.day(kNakayama, "lupRCMPC.txt"));
    EXPECT_EQ(rwtest::TagsOf(day).count("DY"), 1);
    EXPECT_EQ(rwtest::TagsOf(day).count("RC"), 3);
    const auto table = rwtest::DayFileLines(app.day(kNakayama, "tekichuPC.txt"));
    ASSERT_EQ(table.size(), 2 + 3 + 3);
    EXPECT_EQ(table[5].value(0), sj("02R点数  "));
}

TEST(SelectionHitTable, ANewRunStartsTheFilesAnewAndLeavesTheOtherModesFile) {
    SelectionFolder app;
    app.write(QStringLiteral("TEKICHU\\") + kNakayama + "tekichuPC.txt", "old\r\n");
    app.write(QStringLiteral("TEKICHU\\") + kNakayama + "lupPC.txt", "normal run\r\n");
    RunState s = fixtureRace(1, true);
    WritePcRaceBlock(s);
    const auto table = rwtest::DayFileLines(app.day(kNakayama, "tekichuPC.txt"));
    ASSERT_EQ(table.size(), 5);
    EXPECT_EQ(table[0].size(), 6);
    EXPECT_EQ(app.day(kNakayama, "lupPC.txt"), "normal run\r\n");
    EXPECT_EQ(rwtest::DayFileLines(app.day(kNakayama, "lupRCMPC.txt"))[0].tag(), "DY");
}

TEST(SelectionHitTable, AFailedJudgingKeepsTheDayFileBlockAndWritesNoRows) {
    SelectionFolder app;
    RunState s = fixtureRace(2, true);
    s.RaceTable[2][rt::SD] = "ab";
    EXPECT_THROW(WritePcRaceBlock(s), rw::StepFailure);
    const auto day = rwtest::DayFileLines(app.day(kNakayama, "lupRCMPC.txt"));
    EXPECT_EQ(rwtest::TagsOf(day).count("HS"), 12);
    EXPECT_EQ(rwtest::TagsOf(day).count("TF1"), 0);  // the lines read SD first
    EXPECT_EQ(rwtest::DayFileLines(app.day(kNakayama, "tekichuPC.txt")).size(), 2);
    EXPECT_EQ(s.LastDayKeyPc, QString::fromLatin1(kNakayama));
}

// ---- Running sums over a course-day and the rate file ------------------------------------

TEST(SelectionSums, ACourseDayOfFixtureRacesAndItsRateFile) {
    SelectionFolder app;
    RunState s = rwtest::FixtureRun(true);
    for (int k : {1, 2}) {
        rwtest::LoadFixtureRace(s, k);
        WritePcRaceBlock(s);
    }
    // Worked out by hand from the fixture's placings and payoffs.
    struct Sum {
        int hits, pay, tickets;
    };
    const Sum expected[11] = {{1, 250, 0},  {2, 260, 0},   {0, 0, 0},     {1, 130, 0}, {1, 520, 24}, {1, 520, 25},
                              {1, 900, 30}, {1, 1240, 30}, {1, 4870, 60}, {0, 0, 48},  {0, 0, 48}};
    const auto cols = columns(s);
    for (size_t c = 0; c < 11; ++c) {
        EXPECT_EQ(cols[c]->HitCount, expected[c].hits) << c;
        EXPECT_EQ(cols[c]->PaySum, expected[c].pay) << c;
        EXPECT_EQ(cols[c]->TicketSum, expected[c].tickets) << c;
    }
    rw::prediction::WriteDayRateFiles(s);
    const QList<QByteArray> pc = rw::readLines(app.file(QStringLiteral("TEKICHU\\") + kNakayama + "kaitekiPC.txt"));
    ASSERT_EQ(pc.size(), 8);
    EXPECT_EQ(pc[2], sj("\"予想R数\",2,2,2,2,2,2,2,2,2,2,2"));
    EXPECT_EQ(pc[3], sj("\"的中R数\",1,2,0,1,1,1,1,1,1,0,0"));
    EXPECT_EQ(pc[4], sj("\"的中率\",50,100,0,50,50,50,50,50,50,0,0"));
    EXPECT_EQ(pc[5], sj("\"購入点数\",2,2,2,2,24,25,30,30,60,48,48"));
    EXPECT_EQ(pc[6], sj("\"回収金額\",250,260,0,130,520,520,900,1240,4870,0,0"));
    EXPECT_EQ(pc[7], sj("\"回収率\",125,130,0,65,21.6,20.8,30,41.3,81.1,0,0"));
}
