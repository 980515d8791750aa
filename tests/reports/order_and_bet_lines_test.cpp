#include "reports/order_and_bet_lines.h"

#include "reports/combination_texts.h"
#include "support/day_file_lines.h"
#include "support/test_support.h"
#include "support/upload_fixture.h"

#include <gtest/gtest.h>

using namespace rw::reports;
using rw::prediction::RunState;
using rwtest::DayFileLine;
using rwtest::sj;

namespace {

QList<DayFileLine> linesOf(const DayLines& out) { return rwtest::DayFileLines(out.bytes()); }

QList<QByteArray> values(const DayFileLine& l) {
    QList<QByteArray> v;
    for (qsizetype i = 0; i < l.size(); ++i) v.append(l.value(i));
    return v;
}

QList<QByteArray> utf(std::initializer_list<const char*> items) {
    QList<QByteArray> v;
    for (const char* i : items) v.append(sj(i));
    return v;
}

}  // namespace

// ---- Predicted-order lines by the runner count ------------------------------------------------

TEST(PredictedOrderLines, LinesByTheRunnerCount) {
    struct Case {
        const char* count;
        QList<int> sizes;  // items with the tag, Q1 … in order
    } cases[] = {
        {"01", {5}},          {"04", {5}},          {"05", {6}},       {"06", {6, 2}},    {"07", {6, 3}},
        {"08", {6, 4}},       {" 8", {6, 4}},       {"09", {6, 5}},    {"10", {6, 6}},    {"11", {6, 6, 2}},
        {"12", {6, 6, 3}},    {"13", {6, 6, 4}},    {"14", {6, 6, 5}}, {"15", {6, 6, 6}}, {"16", {6, 6, 6, 2}},
        {"17", {6, 6, 6, 3}}, {"18", {6, 6, 6, 4}}, {"00", {}},        {"  ", {}},        {"19", {}},
        {"x8", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("count \"") + c.count + "\"");
        for (const bool results : {false, true}) {
            RunState s = rwtest::RankedRace(18, results);
            rwtest::SetRegisteredCount(s, c.count);
            DayLines out;
            WritePredictedOrderLines(s, out);
            const auto lines = linesOf(out);
            ASSERT_EQ(lines.size(), c.sizes.size() * (results ? 2 : 1));
            int rank = 1;
            for (qsizetype g = 0; g < c.sizes.size(); ++g) {
                const DayFileLine& q = lines[g];
                EXPECT_EQ(q.tag(), "Q" + QByteArray::number(g + 1));
                ASSERT_EQ(q.size(), c.sizes[g]);
                for (qsizetype j = 1; j < q.size(); ++j, ++rank) {
                    EXPECT_EQ(q.value(j), QByteArray::number(rank).rightJustified(2, ' '));
                    if (!results) continue;
                    const DayFileLine& a = lines[c.sizes.size() + g];
                    EXPECT_EQ(a.tag(), "ATQ" + QByteArray::number(g + 1));
                    ASSERT_EQ(a.size(), q.size());
                    EXPECT_EQ(a.value(j), rank <= 5 ? "0" + QByteArray::number(rank) : QByteArray("**"));
                }
            }
        }
    }
}

TEST(PredictedOrderLines, HorseItemsArePaddedAndPlacingsAsStored) {
    RunState s = rwtest::RankedRace(12, true);
    s.RankedHorse[1] = "07";
    s.RankedHorse[2] = "12";
    s.RankedHorse[3] = "01";
    s.RankedHorse[7] = "03";
    s.RankedHorse[11] = "02";
    s.RankedHorse[12] = "11";
    s.FinishPos[2] = "02";  // a dead heat: both show it
    s.FinishPos[11] = "02";
    DayLines out;
    WritePredictedOrderLines(s, out);
    const auto l = linesOf(out);
    ASSERT_EQ(rwtest::TagsOf(l), (QList<QByteArray>{"Q1", "Q2", "Q3", "ATQ1", "ATQ2", "ATQ3"}));
    EXPECT_EQ(values(l[0]), (QList<QByteArray>{"Q1", " 7", "12", " 1", " 4", " 5"}));
    EXPECT_EQ(values(l[2]), (QList<QByteArray>{"Q3", " 2", "11"}));
    EXPECT_EQ(values(l[3]), (QList<QByteArray>{"ATQ1", "**", "**", "01", "04", "05"}));
    EXPECT_EQ(values(l[5]), (QList<QByteArray>{"ATQ3", "02", "02"}));
}

TEST(PredictedOrderLines, PlacingLinesFollowTheModeWhateverThePayoffRecord) {
    RunState s = rwtest::RankedRace(8, true);
    s.CurrentHR.fill(' ');  // another race's record: the placing lines stay
    DayLines out;
    WritePredictedOrderLines(s, out);
    EXPECT_EQ(rwtest::TagsOf(linesOf(out)), (QList<QByteArray>{"Q1", "Q2", "ATQ1", "ATQ2"}));
}

TEST(PredictedOrderLines, MissingRanksGiveNoItemAndTheLinesGoOn) {
    // Runner records end at horse 14 while the registered count reads 16.
    RunState s = rwtest::RankedRace(14, true);
    rwtest::SetRegisteredCount(s, "16");
    DayLines out;
    WritePredictedOrderLines(s, out);
    const auto l = linesOf(out);
    ASSERT_EQ(rwtest::TagsOf(l), (QList<QByteArray>{"Q1", "Q2", "Q3", "Q4", "ATQ1", "ATQ2", "ATQ3", "ATQ4"}));
    EXPECT_EQ(values(l[2]), (QList<QByteArray>{"Q3", "11", "12", "13", "14"}));
    EXPECT_EQ(values(l[3]), QList<QByteArray>{"Q4"});  // the tag alone
    EXPECT_EQ(values(l[6]), (QList<QByteArray>{"ATQ3", "**", "**", "**", "**"}));
    EXPECT_EQ(values(l[7]), QList<QByteArray>{"ATQ4"});

    // Fewer than four runners: Q1 lists those there are.
    for (int n : {1, 2, 3}) {
        RunState t = rwtest::RankedRace(n, true);
        DayLines o;
        WritePredictedOrderLines(t, o);
        const auto m = linesOf(o);
        ASSERT_EQ(m.size(), 2) << n;
        EXPECT_EQ(m[0].size(), n + 1) << n;
        EXPECT_EQ(m[1].size(), n + 1) << n;
    }
}

// ---- Bet lines by the runner count and the race number ------------------------------------------

TEST(BetLines, LineCountsByTheRunnerCountComparedAsText) {
    struct Case {
        const char* count;
        int pairs, trios;
    } cases[] = {{"00", 6, 4},   {"04", 6, 4},   {"05", 6, 7},   {"06", 12, 14},
                 {"07", 18, 21}, {"16", 18, 21}, {"  ", 18, 21}, {" 8", 18, 21}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("count \"") + c.count + "\"");
        for (const bool results : {false, true}) {
            RunState s = rwtest::RankedRace(18, results);
            rwtest::SetRegisteredCount(s, c.count);
            DayLines m, p;
            WriteKaimeM(s, m);
            EXPECT_EQ(s.WriterWork.OfferedLineCount, c.trios);
            EXPECT_EQ(s.CurSubIndex, c.trios + 1);
            WriteKaimeP(s, p);
            const auto ml = linesOf(m), pl = linesOf(p);
            ASSERT_EQ(ml.size(), c.pairs + c.trios);
            ASSERT_EQ(pl.size(), c.pairs + c.trios);
            const char* const mTags[] = {"MUH", "MUJ", "MUF", "MSH", "MSJ", "MSF"};
            const char* const pTags[] = {"PUH", "PUJ", "PUF", "PSH", "PSJ", "PSF"};
            for (int k = 0; k < c.pairs + c.trios; ++k) {
                const bool pair = k < c.pairs;
                const int i = pair ? k + 1 : k - c.pairs + 1;
                const int block = pair ? 6 : 7, tier = (i - 1) / block;
                const QByteArray n = QByteArray::number(i - tier * block);
                EXPECT_EQ(ml[k].tag(), mTags[(pair ? 0 : 3) + tier] + n) << k;
                EXPECT_EQ(pl[k].tag(), pTags[(pair ? 0 : 3) + tier] + n) << k;
                EXPECT_EQ(ml[k].value(1), QByteArray::number(i));
                EXPECT_EQ(ml[k].size(), 3);
                EXPECT_EQ(pl[k].size(), pair ? 5 : 9);
            }
        }
    }
}

TEST(BetLines, ThePairAndTrioTextsOfTheCases) {
    RunState s = rwtest::RankedRace(18, false);
    s.PairBets[8] = "1205";
    s.PairBetsAsc[8] = "0512";
    s.TrioBets[15] = "070312";
    s.TrioBetsAsc[15] = "030712";
    rwtest::SetRaceNumber(s, "10");
    DayLines m, p;
    WriteKaimeM(s, m);
    WriteKaimeP(s, p);
    const auto ml = linesOf(m), pl = linesOf(p);
    EXPECT_EQ(values(ml[7]), (QList<QByteArray>{"MUJ2", "8", "12- 5"}));
    EXPECT_EQ(values(pl[7]), (QList<QByteArray>{"PUJ2", "8", " 5-12", sj("12→ 5"), sj(" 5→12")}));
    EXPECT_EQ(values(ml[18 + 14]), (QList<QByteArray>{"MSF1", "15", " 7- 3-12"}));
    EXPECT_EQ(values(pl[18 + 14]), (QList<QByteArray>{"PSF1", "15", " 3- 7-12", sj(" 7→ 3→12"), sj(" 7→12→ 3"),
                                                      sj(" 3→ 7→12"), sj(" 3→12→ 7"), sj("12→ 7→ 3"), sj("12→ 3→ 7")}));

    rwtest::SetRaceNumber(s, "08");
    DayLines m8, p8;
    WriteKaimeM(s, m8);
    WriteKaimeP(s, p8);
    EXPECT_EQ(values(linesOf(m8)[18 + 14]), (QList<QByteArray>{"MSF1", "15", " 3- 7-12"}));
    EXPECT_EQ(linesOf(p8)[18 + 14].raw, pl[18 + 14].raw);
}

TEST(BetLines, TrioFormsByTheRaceNumberComparedAsText) {
    struct Case {
        const char* race;
        bool predictedFirstTiers, predictedLastTier, longForm;
    } cases[] = {{"01", true, false, true},  {"08", true, false, true},   {"09", true, true, true},
                 {"12", true, true, true},   {"13", false, false, false}, {"00", false, false, false},
                 {"  ", false, false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("race \"") + c.race + "\"");
        RunState s = rwtest::RankedRace(18, false);
        // Predicted order differs from ascending: reverse every trio key.
        for (int i = 1; i <= s.TrioCount; ++i) {
            const QByteArray k = s.TrioBets[i];
            s.TrioBets[i] = k.mid(4, 2) + k.mid(2, 2) + k.left(2);
        }
        rwtest::SetRaceNumber(s, c.race);
        DayLines m, p;
        WriteKaimeM(s, m);
        WriteKaimeP(s, p);
        const auto ml = linesOf(m), pl = linesOf(p);
        for (int i = 1; i <= 21; ++i) {
            const bool predicted = i <= 14 ? c.predictedFirstTiers : c.predictedLastTier;
            const QByteArray& key = predicted ? s.TrioBets[i] : s.TrioBetsAsc[i];
            EXPECT_EQ(ml[17 + i].value(2), FormatSanrenpuku(key)) << i;
            EXPECT_EQ(pl[17 + i].size(), c.longForm ? 9 : 3) << i;
        }
    }
}

TEST(BetLines, APositionTheListsDoNotHoldWritesNoLine) {
    RunState s = rwtest::RankedRace(3, true);  // 3 pairs, 1 trio; count "03" offers 6 and 4
    DayLines m, p;
    WriteKaimeM(s, m);
    WriteKaimeP(s, p);
    EXPECT_EQ(rwtest::TagsOf(linesOf(m)), (QList<QByteArray>{"MUH1", "MUH2", "MUH3", "MSH1"}));
    EXPECT_EQ(rwtest::TagsOf(linesOf(p)), (QList<QByteArray>{"PUH1", "PUH2", "PUH3", "PSH1"}));
    EXPECT_EQ(s.CurSubIndex, 5);
}

TEST(BetLines, NormalAndResultsModeGiveTheSameLines) {
    RunState a = rwtest::RankedRace(12, false), b = rwtest::RankedRace(12, true);
    DayLines ma, pa, mb, pb;
    WriteKaimeM(a, ma);
    WriteKaimeP(a, pa);
    WriteKaimeM(b, mb);
    WriteKaimeP(b, pb);
    EXPECT_EQ(ma.bytes(), mb.bytes());
    EXPECT_EQ(pa.bytes(), pb.bytes());
}

// ---- The labelled lines ----------------------------------------------------------------------------

TEST(LabelledLines, TagsByTierAndGroup) {
    struct Case {
        const char* count;
        int pairs, trios;
    } cases[] = {{"05", 6, 7}, {"06", 12, 14}, {"16", 18, 21}, {"  ", 18, 21}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("count \"") + c.count + "\"");
        RunState s = rwtest::RankedRace(18, true);
        rwtest::SetRegisteredCount(s, c.count);
        DayLines m, p;
        WriteKaimeMLabelled(s, m);
        WriteKaimePLabelled(s, p);
        const auto ml = linesOf(m), pl = linesOf(p);
        ASSERT_EQ(ml.size(), c.pairs + c.trios);
        ASSERT_EQ(pl.size(), c.pairs + c.trios);
        const char* const words[] = {"本線", "準本線", "伏兵"};
        for (int k = 0; k < c.pairs + c.trios; ++k) {
            const bool pair = k < c.pairs;
            const int i = pair ? k + 1 : k - c.pairs + 1;
            const int block = pair ? 6 : 7, tier = (i - 1) / block;
            const QByteArray tag = sj(words[tier]) + QByteArray::number(i - tier * block);
            EXPECT_EQ(ml[k].tag(), tag) << k;
            EXPECT_EQ(pl[k].tag(), tag) << k;
            EXPECT_EQ(pl[k].value(1), QByteArray::number(i)) << k;
        }
        EXPECT_EQ(pl.last().tag(), c.trios == 21 ? sj("伏兵7") : pl.last().tag());
    }
}

TEST(LabelledLines, ApartFromTheTagTheLinesAreTheUploadFilesLines) {
    for (const char* race : {"08", "09", "13"}) {
        RunState s = rwtest::RankedRace(18, true);
        for (int i = 1; i <= s.TrioCount; ++i) {
            const QByteArray k = s.TrioBets[i];
            s.TrioBets[i] = k.mid(2, 2) + k.left(2) + k.mid(4, 2);
        }
        rwtest::SetRaceNumber(s, race);
        DayLines a, b, c, d;
        WriteKaimeM(s, a);
        WriteKaimeMLabelled(s, b);
        WriteKaimeP(s, c);
        WriteKaimePLabelled(s, d);
        for (auto [x, y] : {std::pair{&a, &b}, std::pair{&c, &d}}) {
            const auto u = linesOf(*x), l = linesOf(*y);
            ASSERT_EQ(u.size(), l.size());
            for (qsizetype i = 0; i < u.size(); ++i) EXPECT_EQ(u[i].raw.mid(1), l[i].raw.mid(1)) << race << " " << i;
        }
    }
    RunState s = rwtest::RankedRace(18, true);
    s.PairBets[1] = "0703";
    s.PairBetsAsc[1] = "0307";
    DayLines p;
    WriteKaimePLabelled(s, p);
    EXPECT_EQ(values(linesOf(p)[0]), (QList<QByteArray>{sj("本線1"), "1", " 3- 7", sj(" 7→ 3"), sj(" 3→ 7")}));
}

TEST(LabelledLines, RankAndResultLinesByTheRunnerCount) {
    struct Case {
        const char* count;
        int horses;
        QList<QByteArray> tags;
        QList<int> sizes;
    } cases[] = {
        {"06", 18, utf({"上位5頭", "中位5頭", "上位結果", "中位結果"}), {6, 2, 6, 2}},
        {"18",
         18,
         utf({"上位5頭", "中位5頭", "下位5頭", "最下位", "上位結果", "中位結果", "中位結果", "最下結果"}),
         {6, 6, 6, 4, 6, 6, 6, 4}},
        {"12", 18, utf({"上位5頭", "中位5頭", "下位5頭", "上位結果", "中位結果", "中位結果"}), {6, 6, 3, 6, 6, 3}},
        {"03", 18, utf({"上位5頭", "上位結果"}), {5, 5}},
        {"03", 3, utf({"上位5頭", "上位結果"}), {4, 4}},  // the ranks the race has
        {"19", 18, {}, {}},
        {"00", 18, {}, {}},
        {" 8", 18, utf({"上位5頭", "中位5頭", "上位結果", "中位結果"}), {6, 4, 6, 4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("count \"") + c.count + "\"");
        RunState s = rwtest::RankedRace(c.horses, true);
        rwtest::SetRegisteredCount(s, c.count);
        DayLines out;
        WritePredictedOrderLinesLabelled(s, out);
        const auto l = linesOf(out);
        EXPECT_EQ(rwtest::TagsOf(l), c.tags);
        for (qsizetype i = 0; i < l.size() && i < c.sizes.size(); ++i) EXPECT_EQ(l[i].size(), c.sizes[i]) << i;

        s.ResultsMode = 0;
        DayLines normal;
        WritePredictedOrderLinesLabelled(s, normal);
        EXPECT_EQ(linesOf(normal).size(), c.tags.size() / 2);
    }
}
