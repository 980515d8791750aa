#include "reports/race_card.h"

#include "common/errors.h"
#include "common/fixed_text.h"
#include "common/skip.h"
#include "jvdata/layouts.h"
#include "prediction/race_writers.h"
#include "prediction/runner_record.h"
#include "reports/combination_texts.h"
#include "support/day_file_lines.h"
#include "support/run_state_fixture.h"
#include "support/test_support.h"

#include <QDir>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace rw::reports;
using rw::prediction::RunState;
using rwtest::DayFileLine;
using rwtest::sj;
namespace rr = rw::prediction::rr;

namespace {

QString goldenFile(const QString& name) {
    return QStringLiteral(RACEWEEK_SOURCE_DIR "/tests/reports/golden/") + name;
}

// A scratch application folder with the race card's folder in place.
struct CardFolder : rwtest::AppFolder {
    CardFolder() { QDir().mkpath(path() + "SHUTSUBAHYO"); }
    QByteArray card(const QByteArray& dayKey, bool results) const {
        return read("SHUTSUBAHYO\\" + QString::fromLatin1(dayKey) + (results ? "mmkRCM.txt" : "mmk.txt"));
    }
};

// The race's block alone, read back as lines.
QList<DayFileLine> blockOf(RunState& s) {
    DayLines out;
    AddRaceCardBlock(s, out);
    return rwtest::DayFileLines(out.bytes());
}

QList<QByteArray> valuesOf(const DayFileLine& l) {
    QList<QByteArray> v;
    for (qsizetype i = 0; i < l.size(); ++i) v.append(l.value(i));
    return v;
}

void setRegistered(RunState& s, const char* count) {
    rw::putFixed(s.CurrentHorse, rr::RegisteredRunners(0).pos, 2, count);
}

// A payoff record of the race with the given entries and every other entry blank.
struct Payoff {
    QByteArray image;
    explicit Payoff(const RunState& s) {
        image = QByteArray(719, ' ');
        image.replace(0, 11, "HR220241205");
        image.replace(11, 16, s.CurrentHorse.left(16));
        image.replace(717, 2, "\r\n");
    }
    Payoff& entry(const char* row, int i, QByteArrayView comb, int yen) {
        const char* item = std::string_view(row).find("win") == 0 || std::string_view(row).find("place") == 0
                               ? "horse number"
                               : "combination";
        const auto c = rw::jv::findField(rw::jv::kHR, row, item, i - 1);
        const auto p = rw::jv::findField(rw::jv::kHR, row, "payout", i - 1);
        rw::putFixed(image, c.pos, c.width, comb);
        rw::putFixed(image, p.pos, p.width, QByteArray::number(yen).rightJustified(9, '0'));
        return *this;
    }
};

RunState resultsRace(int k) {
    RunState s = rwtest::FixtureRun(true);
    rwtest::LoadFixtureRace(s, k);
    return s;
}

}  // namespace

// ---- The fixture against the hand-written files ------------------------------------

TEST(RaceCard, FixtureWeekMatchesTheHandWrittenFiles) {
    for (const bool results : {false, true}) {
        SCOPED_TRACE(results ? "results" : "normal");
        CardFolder app;
        RunState s = rwtest::FixtureRun(results);
        for (int k = 1; k <= rwtest::kFixtureRaces; ++k) {
            rwtest::LoadFixtureRace(s, k);
            WriteShutsubahyoFile(s);
        }
        for (const char* day : {"20260307060205", "20260307090105"}) {
            const QString name = QString::fromLatin1(day) + (results ? "mmkRCM.txt" : "mmk.txt");
            const QByteArray expected = rwtest::readFile(goldenFile(name));
            ASSERT_FALSE(expected.isEmpty()) << name.toStdString();
            EXPECT_EQ(app.card(day, results), expected) << name.toStdString();
        }
        EXPECT_EQ(s.LastDayKeyMmk, QStringLiteral("20260307090105"));
        EXPECT_FALSE(app.exists(results ? "SHUTSUBAHYO\\20260307060205mmk.txt" : "SHUTSUBAHYO\\20260307060205mmkRCM.txt"));
    }
}

TEST(RaceCard, LeavesTheLastTrioLineInSLineTriosAndTheCountersWhereItsLoopsEnd) {
    RunState s = resultsRace(3);
    DayLines out;
    AddRaceCardBlock(s, out);
    // c "08": S3, trios 15 to 21 in ascending horse numbers.
    const std::array<QByteArray, 7> expected{"010405", "030506", "050607", "040506", "030507", "030405", "040507"};
    EXPECT_EQ(s.SLineTrios, expected);
    EXPECT_EQ(s.CurIndex, 9);
    EXPECT_EQ(s.CurSubIndex, s.TrioCount + 1);  // the trifecta scan
    EXPECT_EQ(s.EntryIndex, 6);                 // blank later entries never stop it

    RunState n = rwtest::FixtureRun(false);
    rwtest::LoadFixtureRace(n, 3);
    AddRaceCardBlock(n, out);
    const std::array<QByteArray, 7> predicted{"050104", "050603", "050607", "050604", "050307", "050304", "050704"};
    EXPECT_EQ(n.SLineTrios, predicted);
}

// ---- The frame -------------------------------------------------------------------------

TEST(RaceCardFrame, TheFirstRaceCreatesOverAnOldFileAndTheSecondAppendsWithoutHeadLines) {
    CardFolder app;
    app.write("SHUTSUBAHYO\\20260307060205mmk.txt", "old file of an earlier run\r\n");
    RunState s = rwtest::FixtureRun(false);
    rwtest::LoadFixtureRace(s, 1);
    WriteShutsubahyoFile(s);
    auto lines = rwtest::DayFileLines(app.card("20260307060205", false));
    EXPECT_EQ(lines[0].tag(), "DY");
    EXPECT_EQ(TagsOf(lines).count("DY"), 1);

    rwtest::LoadFixtureRace(s, 2);
    WriteShutsubahyoFile(s);
    lines = rwtest::DayFileLines(app.card("20260307060205", false));
    EXPECT_EQ(TagsOf(lines).count("DY"), 1);
    EXPECT_EQ(TagsOf(lines).count("PL"), 1);
    EXPECT_EQ(TagsOf(lines).count("RC"), 2);
    EXPECT_EQ(TagsOf(lines).count("HS"), 5 + 12);
}

TEST(RaceCardFrame, ACourseDayThatComesBackStartsItsFileAnew) {
    CardFolder app;
    RunState s = rwtest::FixtureRun(false);
    for (int k : {1, 3, 2}) {  // course-days A, B, A
        rwtest::LoadFixtureRace(s, k);
        WriteShutsubahyoFile(s);
    }
    const auto a = rwtest::DayFileLines(app.card("20260307060205", false));
    EXPECT_EQ(TagsOf(a).mid(0, 3), (QList<QByteArray>{"DY", "PL", "RC"}));
    ASSERT_EQ(LinesTagged(a, "RC").size(), 1);
    EXPECT_EQ(LinesTagged(a, "RC")[0].value(3), "02");  // only the third race
    EXPECT_EQ(LinesTagged(a, "HS").size(), 12);
    const auto b = rwtest::DayFileLines(app.card("20260307090105", false));
    EXPECT_EQ(LinesTagged(b, "RC").size(), 1);
    EXPECT_EQ(LinesTagged(b, "HS").size(), 8);
}

TEST(RaceCardFrame, ARacecourseWithoutACodeTableRowHasNoValueForItsName) {
    CardFolder app;
    RunState s = rwtest::FixtureRun(false);
    rw::prediction::FillCodeTable(s.CodeTable, {"2001", "09", "", "", sj("阪神"), "", "", ""});
    rwtest::LoadFixtureRace(s, 1);
    WriteShutsubahyoFile(s);
    const auto lines = rwtest::DayFileLines(app.card("20260307060205", false));
    EXPECT_EQ(lines[1].raw, (QList<QByteArray>{"\"PL\"", "\"1\"", "\"2\"", "", "\"5\"", "\"11\""}));

    // A row whose name is empty is a value: the empty text.
    rw::prediction::FillCodeTable(s.CodeTable, {"2001", "06", "", "", "", "", "", ""});
    s.LastDayKeyMmk.clear();
    WriteShutsubahyoFile(s);
    EXPECT_EQ(rwtest::DayFileLines(app.card("20260307060205", false))[1].raw[3], "\"\"");
}

TEST(RaceCardFrame, NormalAndResultsFilesLieSideBySide) {
    CardFolder app;
    RunState normal = rwtest::FixtureRun(false);
    rwtest::LoadFixtureRace(normal, 1);
    WriteShutsubahyoFile(normal);
    const QByteArray before = app.card("20260307060205", false);
    RunState results = resultsRace(1);  // a later run
    WriteShutsubahyoFile(results);
    EXPECT_EQ(app.card("20260307060205", false), before);
    EXPECT_FALSE(app.card("20260307060205", true).isEmpty());
}

TEST(RaceCardFrame, ADayKeyThatIsNotFourteenDigitsFailsAndNamesNoFile) {
    for (const char* course : {"..", "/x", "0 ", "\x81\x40"}) {
        CardFolder app;
        RunState s = rwtest::FixtureRun(false);
        rwtest::LoadFixtureRace(s, 1);
        rw::putFixed(s.CurrentHorse, rr::CourseCode(0).pos, 2, course);
        try {
            WriteShutsubahyoFile(s);
            ADD_FAILURE() << "no failure for " << course;
        } catch (const rw::StepFailure& e) {
            EXPECT_NE(std::string(e.what()).find("day key"), std::string::npos) << e.what();
        }
        EXPECT_TRUE(rwtest::filesUnder(app.path()).empty());
        EXPECT_TRUE(s.LastDayKeyMmk.isEmpty());
    }
}

// ---- Sizes by the registered runner count ------------------------------------------

TEST(RaceCard, LinesAreSizedByTheRegisteredCountComparedAsText) {
    const QByteArray P = kPairPlaceholder, T = kTrioPlaceholder;
    struct Case {
        const char* c;
        int pairLines, trioLines;  // lines holding bets
        bool shortFirst;           // S1 with four trios
        int slineFrom;             // first trio position left in SLineTrios
    } cases[] = {
        {"04", 1, 1, true, 1}, {"00", 1, 1, true, 1}, {"05", 1, 1, false, 1}, {"06", 2, 2, false, 8},
        {"12", 3, 3, false, 15}, {"  ", 3, 3, false, 15}, {"1 ", 3, 3, false, 15}, {"0A", 3, 3, false, 15},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("c \"") + c.c + "\"");
        for (const bool results : {false, true}) {
            RunState s = rwtest::FixtureRun(results);
            rwtest::LoadFixtureRace(s, 2);  // 66 pairs, 220 trios
            setRegistered(s, c.c);
            s.SLineTrios.fill("left by an earlier race");
            const auto lines = blockOf(s);
            for (int k = 1; k <= 3; ++k) {
                const auto l = LinesTagged(lines, "K" + QByteArray::number(k));
                ASSERT_EQ(l.size(), 1);
                ASSERT_EQ(l[0].size(), 8);
                for (int j = 1; j <= 6; ++j) {
                    const int i = 6 * (k - 1) + j;
                    const QByteArray want = k <= c.pairLines ? FormatUmaren(s.PairBets[i]) : P;
                    EXPECT_EQ(l[0].value(1 + j), want) << "K" << k << " item " << j;
                }
            }
            const QList<QByteArray>& L = results ? s.TrioBetsAsc : s.TrioBets;
            for (int k = 1; k <= 3; ++k) {
                const auto l = LinesTagged(lines, "S" + QByteArray::number(k));
                ASSERT_EQ(l.size(), 1);
                ASSERT_EQ(l[0].size(), 9);
                for (int j = 1; j <= 7; ++j) {
                    const int i = 7 * (k - 1) + j;
                    const bool trio = k <= c.trioLines && !(k == 1 && c.shortFirst && j > 4);
                    EXPECT_EQ(l[0].value(1 + j), trio ? FormatSanrenpuku(L[i]) : T) << "S" << k << " item " << j;
                }
            }
            for (int j = 1; j <= 7; ++j) {
                const bool none = c.shortFirst && j > 4;  // no earlier race's trio is kept
                EXPECT_EQ(s.SLineTrios[size_t(j - 1)], none ? QByteArray() : L[c.slineFrom + j - 1]) << j;
            }
        }
    }
}

TEST(RaceCard, BetPositionsTheRaceDoesNotHaveShowPlaceholders) {
    RunState s = rwtest::FixtureRun(false);
    rwtest::LoadFixtureRace(s, 1);  // 5 runners: 10 pairs, 10 trios
    setRegistered(s, "12");
    s.SLineTrios.fill("x");
    const auto lines = blockOf(s);
    const auto k2 = valuesOf(LinesTagged(lines, "K2")[0]);
    EXPECT_EQ(k2.mid(2), (QList<QByteArray>{" 1- 4", " 5- 2", " 5- 4", " 2- 4", kPairPlaceholder, kPairPlaceholder}));
    const auto s2 = valuesOf(LinesTagged(lines, "S2")[0]);
    EXPECT_EQ(s2[2], FormatSanrenpuku(s.TrioBets[8]));
    EXPECT_EQ(s2[4], FormatSanrenpuku(s.TrioBets[10]));
    EXPECT_EQ(s2[5], kTrioPlaceholder);
    const auto s3 = valuesOf(LinesTagged(lines, "S3")[0]);
    EXPECT_EQ(s3.mid(2), QList<QByteArray>(7, kTrioPlaceholder));
    EXPECT_EQ(s.SLineTrios, (std::array<QByteArray, 7>{}));  // the last line with trios by count had none
}

// ---- Modes ------------------------------------------------------------------------------

TEST(RaceCard, ModesAndTheResultLinesRule) {
    struct Case {
        const char* name;
        bool results;
        int payoffOfRace;  // 0: zero bytes
        int rc, hs;
        bool resultLines;
        const char* firstTrio;
    } cases[] = {
        {"normal", false, 0, 12, 16, false, " 5- 2- 8"},
        {"normal with a payoff record of the race", false, 3, 12, 16, false, " 5- 2- 8"},
        {"results, own payoff record", true, 3, 13, 19, true, " 2- 5- 8"},
        {"results, another race's payoff record", true, 1, 13, 19, false, " 2- 5- 8"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RunState s = rwtest::FixtureRun(c.results);
        rwtest::LoadFixtureRace(s, 3);
        s.CurrentHR = c.payoffOfRace ? rwtest::FixturePayoffRecord(c.payoffOfRace) : QByteArray(719, '\0');
        const auto lines = blockOf(s);
        EXPECT_EQ(LinesTagged(lines, "RC")[0].size(), c.rc);
        for (const auto& hs : LinesTagged(lines, "HS")) EXPECT_EQ(hs.size(), c.hs);
        for (const char* tag : {"KK", "KS", "AT", "CM"})
            EXPECT_EQ(LinesTagged(lines, tag).isEmpty(), !c.resultLines) << tag;
        EXPECT_EQ(LinesTagged(lines, "S1")[0].value(2), c.firstTrio);
        // Result lines stand between the pair lines and the runner lines.
        const auto tags = TagsOf(lines);
        EXPECT_EQ(tags.indexOf("HS"), c.resultLines ? tags.lastIndexOf("CM") + 1 : 4);
    }
}

TEST(RaceCard, TheRuleComparesYearDateCourseAndRaceNumberButNotMeetingOrDay) {
    RunState s = resultsRace(3);
    auto apply = [&](int pos, QByteArrayView v) {
        s.CurrentHR = rwtest::FixturePayoffRecord(3);
        s.CurrentHR.replace(pos - 1, v.size(), v.toByteArray());
        return ResultLinesApply(s);
    };
    EXPECT_TRUE(apply(22, "99"));   // meeting
    EXPECT_TRUE(apply(24, "99"));   // day
    EXPECT_FALSE(apply(12, "2025"));
    EXPECT_FALSE(apply(16, "0308"));
    EXPECT_FALSE(apply(20, "06"));
    EXPECT_FALSE(apply(26, "02"));
    s.CurrentHR = rwtest::FixturePayoffRecord(3);
    s.ResultsMode = 2;  // results form, but no result lines
    EXPECT_FALSE(ResultLinesApply(s));
    EXPECT_EQ(LinesTagged(blockOf(s), "HS")[0].size(), 19);
}

// ---- Hit lines -----------------------------------------------------------------------

TEST(RaceCard, HitLinesCountMatchesBeyondTheTiers) {
    struct Case {
        const char* name;
        std::function<void(RunState&, Payoff&)> set;
        QList<QList<QByteArray>> at;  // the AT lines' values
    };
    const Case cases[] = {
        {"馬連 at 25, ワイド at 3",
         [](RunState& s, Payoff& p) {
             p.entry("quinella payouts", 1, s.PairBetsAsc[25], 4000).entry("wide payouts", 1, s.PairBetsAsc[3], 700);
         },
         {{"AT", "2", "2", sj("本線3 的中"), " 7- 9", "700"}}},
        {"ワイド at 3, 8 and 25",
         [](RunState& s, Payoff& p) {
             p.entry("wide payouts", 1, s.PairBetsAsc[25], 900)
                 .entry("wide payouts", 2, s.PairBetsAsc[8], 500)
                 .entry("wide payouts", 3, s.PairBetsAsc[3], 300);
         },
         {{"AT", "1", "2", sj("本線3 的中"), " 7- 9", "300"}, {"AT", "2", "3", sj("準本2 的中"), " 3- 7", "500"}}},
        {"馬単 reversed",
         [](RunState& s, Payoff& p) {
             s.PairBets[2] = "0307";
             s.PairBets[8] = "0000";  // the race's own 7-3
             p.entry("exacta payouts", 1, "0703", 1500);
         },
         {{"AT", "1", "5", sj("本線逆順的中"), " 7- 3", "1500"}}},
        {"馬単 forward in the third tier",
         [](RunState& s, Payoff& p) { p.entry("exacta payouts", 1, s.PairBets[14], 2500); },
         {{"AT", "1", "5", sj("伏兵正順的中"), "12- 4", "2500"}}},
        {"3連複 at 8",
         [](RunState& s, Payoff& p) { p.entry("trio payouts", 1, s.TrioBetsAsc[8], 3300); },
         {{"AT", "1", "6", sj("準本1 的中"), " 7-10-12", "3300"}}},
        {"3連複 at 21 and 22",
         [](RunState& s, Payoff& p) {
             p.entry("trio payouts", 1, s.TrioBetsAsc[22], 10).entry("trio payouts", 2, s.TrioBetsAsc[21], 20);
         },
         {{"AT", "1", "6", sj("伏兵7 的中"), " 1- 7- 9", "20"}}},
        {"a blank entry never matches", [](RunState& s, Payoff&) { s.PairBetsAsc[1] = "    "; }, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RunState s = resultsRace(2);
        Payoff p(s);
        c.set(s, p);
        s.CurrentHR = p.image;
        QList<QList<QByteArray>> at;
        for (const auto& l : LinesTagged(blockOf(s), "AT")) at.append(valuesOf(l));
        EXPECT_EQ(at, c.at);
    }
}

TEST(RaceCard, PayoffLinesOfADeadHeatForFirstAndOfBlankEntries) {
    RunState s = resultsRace(2);
    Payoff p(s);
    p.entry("win payouts", 1, "06", 320).entry("win payouts", 2, "08", 410).entry("win payouts", 3, "09", 1);
    p.entry("place payouts", 5, "01", 1).entry("quinella payouts", 3, "0102", 1).entry("wide payouts", 6, "0102", 1);
    s.CurrentHR = p.image;
    const auto kk = valuesOf(LinesTagged(blockOf(s), "KK")[0]);
    ASSERT_EQ(kk.size(), 32);
    EXPECT_EQ(kk.mid(2, 4), (QList<QByteArray>{" 6", "320", " 8", "410"}));
    EXPECT_EQ(kk.mid(6), QList<QByteArray>(26, ""));  // later entries are never written

    p.entry("win payouts", 2, "  ", 0);
    rw::putFixed(p.image, rw::jv::findField(rw::jv::kHR, "win payouts", "payout", 1).pos, 9, "");
    s.CurrentHR = p.image;
    EXPECT_EQ(valuesOf(LinesTagged(blockOf(s), "KK")[0]).mid(4, 2), (QList<QByteArray>{"", ""}));

    // Zero-filled entries are numbers: a blank and 0, then 0.
    p.entry("win payouts", 2, "00", 0);
    s.CurrentHR = p.image;
    EXPECT_EQ(valuesOf(LinesTagged(blockOf(s), "KK")[0]).mid(4, 2), (QList<QByteArray>{" 0", "0"}));
}

TEST(RaceCard, RunnerLinesGoByHorseNumber) {
    RunState s = resultsRace(2);
    const auto hs = LinesTagged(blockOf(s), "HS");
    ASSERT_EQ(hs.size(), 12);
    EXPECT_EQ(hs[2].value(1), "3");
    EXPECT_EQ(hs[2].value(3), " 3");
    EXPECT_EQ(hs[11].value(1), "12");
    EXPECT_EQ(hs[11].value(3), "12");
}

TEST(RaceCard, SpeedTexts) {
    EXPECT_EQ(MetresPerMinuteText(60.125f), "1002");    // 1002.07…
    EXPECT_EQ(MetresPerMinuteText(59.9f), " 998");
    EXPECT_EQ(MetresPerMinuteText(0.0f), " 0");
    EXPECT_EQ(MetresPerMinuteText(700.0f), "1666");     // 11666 keeps its last four characters
    EXPECT_EQ(MetresPerMinuteText(-1.0f), " -16");
    EXPECT_THROW(MetresPerMinuteText(std::numeric_limits<float>::quiet_NaN()), rw::StepFailure);
    EXPECT_THROW(MetresPerMinuteText(std::numeric_limits<float>::infinity()), rw::StepFailure);
    EXPECT_THROW(MetresPerMinuteText(std::numeric_limits<float>::max()), rw::StepFailure);
}

// ---- Trifecta comments ------------------------------------------------------------------

TEST(TrifectaComments, TableOfCases) {
    struct Case {
        const char* name;
        int trioPosition;     // where the trio 5, 1, 2 (A, B, C) stands; 0: nowhere
        QByteArray winner;    // first 3連単 combination
        QList<QByteArray> cm; // the comment texts
    };
    const Case cases[] = {
        {"no trifecta paid", 3, "000000", {}},
        {"blank first entry: none sold", 3, "      ", {}},
        {"order 3 at position 3", 3, "010502", {sj("本線3第3順的中 1- 5- 2 860円")}},
        {"order 3 at position 9", 9, "010502", {sj("準本線2第3順 的中 1- 5- 2 860円")}},
        {"beyond the tiers", 30, "010502", {sj(" 1- 5- 2 860円")}},
        {"order 1 at position 16", 16, "050102", {sj("伏兵2第1順的中  5- 1- 2 860円")}},
        {"order 2 in the second tier", 8, "050201", {sj("準本線1第2順的中 5- 2- 1 860円")}},
        {"order 6 in the first tier", 1, "020105", {sj("本線1第6順的中 2- 1- 5 860円")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RunState s = resultsRace(2);  // 220 trios, none holding 1, 2 and 5 before position 30
        for (int i = 1; i <= 30; ++i) s.TrioBets[i] = "070809";
        if (c.trioPosition) s.TrioBets[c.trioPosition] = "050102";
        Payoff p(s);
        p.entry("trifecta payouts", 1, c.winner, 860);
        s.CurrentHR = p.image;
        DayLines out;
        WriteSanrentanComment(s, out);
        QList<QByteArray> cm;
        for (const auto& l : rwtest::DayFileLines(out.bytes())) {
            ASSERT_EQ(l.size(), 3);
            EXPECT_EQ(l.tag(), "CM");
            EXPECT_EQ(l.value(1), "1");
            cm.append(l.value(2));
        }
        EXPECT_EQ(cm, c.cm);
    }
}

TEST(TrifectaComments, DeadHeatEntriesAddLinesAndAZeroEntryEndsATriosScan) {
    RunState s = resultsRace(2);
    s.TrioBets[2] = "050102";
    s.TrioBets[4] = "030405";
    Payoff p(s);
    p.entry("trifecta payouts", 1, "010502", 860).entry("trifecta payouts", 2, "000000", 0);
    p.entry("trifecta payouts", 3, "030405", 990);  // after the zero entry: never examined
    s.CurrentHR = p.image;
    DayLines out;
    WriteSanrentanComment(s, out);
    const auto lines = rwtest::DayFileLines(out.bytes());
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines[0].value(2), sj("本線2第3順的中 1- 5- 2 860円"));
    EXPECT_EQ(s.EntryIndex, 1);  // where the last trio's scan stopped, from 0
}

// ---- Failures -------------------------------------------------------------------------------

TEST(RaceCardFailures, AFormatterFailureMidBlockKeepsEarlierLinesAndTheRunGoesOn) {
    CardFolder app;
    RunState s = rwtest::FixtureRun(true);
    rw::prediction::RaceWriterSlots writers;
    writers[rw::prediction::WriterSlot::WriteShutsubahyoFile] = WriteShutsubahyoFile;
    QList<int> nextWriterSaw;
    writers[rw::prediction::WriterSlot::WriteTekichuUpload] = [&](RunState& st) { nextWriterSaw.append(st.RaceIndex); };
    rw::SkipLog log("YOSOKEKKATHISWEEKNZ");

    rwtest::LoadFixtureRace(s, 1);
    s.CurrentHR.replace(rw::jv::findField(rw::jv::kHR, "place payouts", "payout", 1).offset(), 9, "00000A130");
    rw::prediction::CallRaceWriters(s, writers, log);
    rwtest::LoadFixtureRace(s, 2);
    rw::prediction::CallRaceWriters(s, writers, log);

    ASSERT_EQ(log.skipped().size(), 1u);
    EXPECT_NE(log.skipped()[0].find("WriteShutsubahyoFile (race 1)"), std::string::npos);
    EXPECT_NE(log.skipped()[0].find("00000A130"), std::string::npos);
    EXPECT_EQ(nextWriterSaw, (QList<int>{1, 2}));
    const auto tags = TagsOf(rwtest::DayFileLines(app.card("20260307060205", true)));
    const QList<QByteArray> expected{"DY", "PL", "RC", "K1", "K2", "K3",  // race 1 up to its payoff lines
                                     "RC", "K1", "K2", "K3", "KK", "KS", "AT", "AT", "CM"};
    EXPECT_EQ(tags.mid(0, expected.size()), expected);
    EXPECT_EQ(tags.count("HS"), 12);
}

TEST(RaceCardFailures, BadInputFailsTheWriterWithAMessage) {
    struct Case {
        const char* name;
        std::function<void(RunState&)> spoil;
        const char* message;
    };
    const Case cases[] = {
        {"a speed that is not a number", [](RunState& s) { s.CompositeSpeed[4] = std::nanf(""); }, "speed"},
        {"an infinite actual speed", [](RunState& s) { s.ActualSpeed[2] = INFINITY; }, "speed"},
        {"more horses than the arrays hold", [](RunState& s) { s.HorseCount = 13; }, "index 13"},
        {"a pair count beyond the pair list", [](RunState& s) { s.PairBets.resize(5); }, "index 5"},
        {"a race index outside the race table", [](RunState& s) { s.RaceIndex = 9; }, "index 9"},
        {"a short payoff record", [](RunState& s) { s.CurrentHR.truncate(300); }, "payoff record image of 300 bytes"},
        {"a short runner record", [](RunState& s) { s.CurrentHorse.truncate(10); }, "runner record image of 10 bytes"},
        {"an age that is not a number", [](RunState& s) { s.HorseAge[7] = "3a"; }, "horse age"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CardFolder app;
        RunState s = resultsRace(2);
        c.spoil(s);
        rw::SkipLog log("YOSOKEKKATHISWEEKNZ");
        rw::prediction::RaceWriterSlots writers;
        writers[rw::prediction::WriterSlot::WriteShutsubahyoFile] = WriteShutsubahyoFile;
        rw::prediction::CallRaceWriters(s, writers, log);
        ASSERT_EQ(log.skipped().size(), 1u);
        EXPECT_NE(log.skipped()[0].find(c.message), std::string::npos) << log.skipped()[0];
    }
}

TEST(RaceCardFailures, AFolderThatCannotBeOpenedFailsWithItsName) {
    rwtest::AppFolder app;  // no SHUTSUBAHYO folder
    RunState s = rwtest::FixtureRun(false);
    rwtest::LoadFixtureRace(s, 1);
    try {
        WriteShutsubahyoFile(s);
        ADD_FAILURE();
    } catch (const rw::StepFailure& e) {
        EXPECT_NE(std::string(e.what()).find("20260307060205mmk.txt"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(s.LastDayKeyMmk.isEmpty());  // the next race tries to start the file again
}
