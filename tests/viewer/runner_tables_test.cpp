// The factor and residual tables of the race viewer, filled from small
// runner records without a screen.
#include "common/cp932.h"
#include "common/fixed_text.h"
#include "prediction/runner_record.h"
#include "viewer/runner_tables.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>

namespace {

using namespace rw;
using namespace rw::viewer;
namespace rr = rw::prediction::rr;
using rw::prediction::Field;

constexpr GridColor kYellow = GridColor::rgb(0xFFFF00);
constexpr GridColor kCyan = GridColor::rgb(0x00FFFF);
constexpr GridColor kGreen = GridColor::rgb(0x00FF00);
constexpr GridColor kBlue = GridColor::rgb(0x0000FF);
constexpr GridColor kMagenta = GridColor::rgb(0xFF00FF);
constexpr GridColor kRed = GridColor::rgb(0xFF0000);

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

// A runner record of zero bytes with the members a case sets.
struct Horse {
    QByteArray rec = QByteArray(prediction::kRunnerRecordLength, '\0');
    Horse& set(Field f, QByteArrayView v) {
        putFixed(rec, f.pos, f.width, v);
        return *this;
    }
    Horse& single(Field f, float v) {
        putSingle(rec, f.pos, v);
        return *this;
    }
};

Horse typicalHorse(int horseNo) {
    Horse h;
    h.set(rr::RunRaceKey(0), "2026030706020501")
        .set(rr::FrameNo(0), "3")
        .set(rr::HorseNo(0), QByteArray::number(horseNo).rightJustified(2, '0'))
        .set(rr::RegistrationNo(0), "2021104567")
        .set(rr::HorseName, cp932::fromUtf8("サンプルホース"))
        .set(rr::ArrivalOrder(0), "04")
        .set(rr::WinPopularity(0), "06")
        .set(rr::WinOdds(0), "0123")
        .set(rr::RaceTime(0), "1345")
        .set(rr::Last3FTime(0), "345")
        .set(rr::Distance(0), "1600")
        .set(rr::JockeyShortName(0), cp932::fromUtf8("騎手一"))
        .set(rr::TrainerShortName(0), cp932::fromUtf8("調教師一"))
        .set(rr::SireName, cp932::fromUtf8("父馬一"))
        .set(rr::DamSireName, cp932::fromUtf8("母父馬一"))
        .single(rr::Result(0, 6), 60.0f)
        .single(rr::Result(0, 3), 60.0f)
        .single(rr::Result(0, 4), 60.0f);
    return h;
}

struct Tables {
    GridModel factor = DesignFactorTable();
    GridModel residual = DesignResidualTable();
    prediction::RunState s;
    SkipLog log{"tables"};

    // A click's preparation and the rows of `horses` (horse numbers from 1);
    // horse w ranks w unless the case gave PredRank.
    void show(const QList<Horse>& horses, bool ranksGiven = false) {
        PrepareRunnerTables(factor, residual, QStringLiteral("202603070601"), log);
        s.HorseCount = int(horses.size());
        s.Grades = decltype(s.Grades)(s.HorseCount + 1);
        for (int w = 1; w <= s.HorseCount; ++w) {
            s.CurIndex = w;
            s.CurrentHorse = horses[w - 1].rec;
            if (!ranksGiven) s.PredRank[w] = QByteArray::number(w).rightJustified(2, ' ');
            FillRunnerRow(factor, residual, s, log);
        }
    }
};

TEST(RunnerTables, DesignSizes) {
    const GridModel f = DesignFactorTable(), r = DesignResidualTable();
    EXPECT_EQ(f.rows(), 19);
    EXPECT_EQ(f.cols(), 25);
    EXPECT_EQ(r.rows(), 19);
    EXPECT_EQ(r.cols(), 80);
    EXPECT_EQ(f.fixedRows(), 1);
    EXPECT_EQ(f.fixedCols(), 1);
    EXPECT_EQ(r.fixedRows(), 1);
    EXPECT_EQ(r.fixedCols(), 1);
}

TEST(RunnerTables, PopularityMinusRankInColumnFourOfBothTables) {
    struct Case {
        const char* pop;
        const char* rank;
        const char* factorText;
        GridColor factorBack;
        const char* residualText;
    } cases[] = {
        {"03", " 8", "-5", kGridWhite, "-5"}, {"09", " 2", "7", kYellow, "7"},
        {"01", " 8", "-7", kRed, "-7"},       {"--", " 7", "-7", kRed, "--"},
        {"--", " 3", "-3", kGridWhite, "--"}, {"**", " 2", "-2", kGridWhite, "**"},
        {"05", " 1", "4", kYellow, "4"},      {"07", " 4", "3", kGridWhite, "3"},
        {"  ", "18", "-18", kRed, "-18"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.pop) + " / " + c.rank);
        Tables t;
        t.s.PredRank[1] = c.rank;
        t.show({typicalHorse(1).set(rr::WinPopularity(0), c.pop)}, true);
        EXPECT_EQ(t.factor.text(1, 4), QString::fromLatin1(c.factorText));
        EXPECT_EQ(t.factor.back(1, 4), c.factorBack);
        EXPECT_EQ(t.residual.text(1, 4), QString::fromLatin1(c.residualText));
        EXPECT_EQ(t.residual.back(1, 4), kGridWhite);
    }
}

TEST(RunnerTables, ArrivalRankAndPopularityColours) {
    const GridColor none = kGridWhite;
    struct Case {
        const char* code;
        GridColor arrival, rank, popularity;
    } cases[] = {
        {"01", kYellow, kYellow, kYellow}, {"02", kCyan, kCyan, kCyan},      {"03", kGreen, kGreen, kGreen},
        {"04", none, kBlue, kBlue},        {"05", none, kMagenta, kMagenta}, {"06", none, none, none},
        {"18", none, none, none},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        Tables t;
        t.s.PredRank[1] = QByteArray::number(QByteArray(c.code).toInt()).rightJustified(2, ' ');
        t.show({typicalHorse(1).set(rr::ArrivalOrder(0), c.code).set(rr::WinPopularity(0), c.code)}, true);
        for (GridModel* g : {&t.factor, &t.residual}) {
            EXPECT_EQ(g->text(1, 1), QString::fromLatin1(c.code));
            EXPECT_EQ(g->text(1, 2), QString::fromLatin1(c.code));
            EXPECT_EQ(g->text(1, 3), QString::fromLatin1(c.code));
            EXPECT_EQ(g->back(1, 1), c.arrival);
            EXPECT_EQ(g->back(1, 2), c.rank);
            EXPECT_EQ(g->back(1, 3), c.popularity);
        }
    }
}

TEST(RunnerTables, StoredFieldForms) {
    struct Case {
        const char* time;
        const char* last3f;
        const char* odds;
        const char* timeText;
        const char* last3fText;
        const char* oddsText;
    } cases[] = {
        {"1345", "345", "0123", "1.34.50", "34.5", "12.3"}, {"2010", "401", "9999", "2.01.00", "40.1", "999.9"},
        {"0589", "000", "0010", "0.58.90", "0", "1"},       {"    ", "ab ", "    ", " .  . 0", "0", "0"},
        {"1345", "34a", "----", "1.34.50", "3.4", "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.time);
        Tables t;
        t.show({typicalHorse(1)
                    .set(rr::RaceTime(0), c.time)
                    .set(rr::Last3FTime(0), c.last3f)
                    .set(rr::WinOdds(0), c.odds)});
        EXPECT_EQ(t.factor.text(1, 8), QString::fromLatin1(c.timeText));
        EXPECT_EQ(t.factor.text(1, 9), QString::fromLatin1(c.last3fText));
        EXPECT_EQ(t.factor.text(1, 5), QString::fromLatin1(c.oddsText));
    }
}

TEST(RunnerTables, TimeCellsThroughThePredictedTimeText) {
    struct Case {
        float composite, agari, pace, residual;
        const char* distance;
        const char* col10;
        const char* col11;
        const char* col12;
        const char* res6;
        const char* res7;
        const char* res8;
    } cases[] = {
        // 1000 m at 60 km/h: 1000 / 60 in single precision falls just
        // below 16 2/3, so the predicted pace time reads 0.59.99.
        {60.0f, 60.0f, 60.0f, 0.0f, "1600", "1.36.00", "36.00", "0.59.99", "60", "1.36.00", "1.36.00"},
        {57.5f, 62.5f, 54.0f, 0.5f, "2000", "2.05.21", "34.56", "1.33.33", "58", "2.04.13", "2.05.21"},
        {0.0f, 0.0f, 0.0f, 0.0f, "1600", "", "", "", "0", "", ""},
        {60.0f, 60.0f, 60.0f, 0.0f, "abcd", "", "36.00", "", "60", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.col10);
        Tables t;
        t.show({typicalHorse(1)
                    .set(rr::Distance(0), c.distance)
                    .single(rr::Result(0, 6), c.composite)
                    .single(rr::Result(0, 3), c.agari)
                    .single(rr::Result(0, 4), c.pace)
                    .single(rr::Residual, c.residual)});
        EXPECT_EQ(t.factor.text(1, 10), QString::fromLatin1(c.col10));
        EXPECT_EQ(t.factor.text(1, 11), QString::fromLatin1(c.col11));
        EXPECT_EQ(t.factor.text(1, 12), QString::fromLatin1(c.col12));
        EXPECT_EQ(t.residual.text(1, 6), QString::fromLatin1(c.res6));
        EXPECT_EQ(t.residual.text(1, 7), QString::fromLatin1(c.res7));
        EXPECT_EQ(t.residual.text(1, 8), QString::fromLatin1(c.res8));
    }
}

TEST(RunnerTables, ThreeDecimalSpeedRoundsDownInSinglePrecision) {
    struct Case {
        float x;
        const char* text;
    } cases[] = {
        {60.123456f, "60.123"}, {-0.25f, "-0.25"}, {0.0f, "0"},    {-0.2504f, "-0.251"},
        {59.9999f, "59.999"},   {1.0f, "1"},       {0.0005f, "0"}, {-0.0005f, "-0.001"},
        {123.456f, "123.456"},  {62.5f, "62.5"},
    };
    for (const Case& c : cases) EXPECT_EQ(ThreeDecimalSpeed(c.x), QByteArray(c.text)) << c.x;
}

TEST(RunnerTables, SpeedColumnsOfTheFactorTable) {
    Tables t;
    t.show({typicalHorse(1)
                .single(rr::AgariW(0, 6), 1.5f)
                .single(rr::PaceW(0, 6), -0.25f)
                .single(rr::AgariW(0, 23), 2.125f)
                .single(rr::PaceW(0, 23), 3.0f)
                .single(rr::AgariW(0, 19), -1.0f)
                .single(rr::PaceW(0, 19), 0.0625f)
                .single(rr::AgariW(0, 21), 10.5f)
                .single(rr::PaceW(0, 21), -2.5f)});
    const char* expected[25] = {nullptr};
    expected[14] = "1.5", expected[15] = "-0.25", expected[17] = "2.125", expected[18] = "3";
    expected[20] = "-1", expected[21] = "0.062", expected[23] = "10.5", expected[24] = "-2.5";
    for (int c : {14, 15, 17, 18, 20, 21, 23, 24})
        EXPECT_EQ(t.factor.text(1, c), QString::fromLatin1(expected[c])) << c;
    EXPECT_EQ(t.factor.text(1, 13), u("騎手一") + QString(2, u' '));
    EXPECT_EQ(t.factor.text(1, 16), u("父馬一") + QString(30, u' '));
    EXPECT_EQ(t.factor.text(1, 19), u("調教師一"));
    EXPECT_EQ(t.factor.text(1, 22), u("母父馬一") + QString(28, u' '));
    EXPECT_EQ(t.factor.text(1, 7), u("騎A・調A・父父A・母父A・生A"));
    EXPECT_EQ(t.factor.text(1, 0), u("3    01"));
    EXPECT_EQ(t.residual.text(1, 0), u("3    01"));
}

TEST(RunnerTables, NameCellIsEighteenCharactersRegistrationNumberAndFileSuffix) {
    struct Case {
        const char* name;
        const char* cell;
    } cases[] = {
        {"アイウエオカキクケ", "アイウエオカキクケ         2021104567EX.dat"},
        {"ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉ", "ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂ2021104567EX.dat"},
        {"", "                  2021104567EX.dat"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Tables t;
        t.show({typicalHorse(1).set(rr::HorseName, cp932::fromUtf8(c.name))});
        EXPECT_EQ(t.factor.text(1, 6), u(c.cell));
        EXPECT_EQ(t.residual.text(1, 5), u(c.cell));
    }
    EXPECT_EQ(u("アイウエオカキクケ         2021104567EX.dat").right(16), u("2021104567EX.dat"));
}

TEST(RunnerTables, ResidualSlotsColouredByRacecourseAndTrack) {
    struct Case {
        int slot;
        const char* course;
        const char* track;
        float residual;
        const char* text;
        GridColor back;
    } cases[] = {
        {1, "05", "11", 0.5f, "0.5", kGreen},    {2, "10", "24", -1.25f, "-1.25", kYellow},
        {3, "01", "52", 2.0f, "2", kCyan},       {4, "45", "11", 0.75f, "0.75", kGridWhite},
        {5, "11", "23", 1.0f, "1", kGridWhite},  {6, "01", "60", 0.125f, "0.125", kGridWhite},
        {7, "  ", "  ", 0.0f, "0", kGridWhite},  {8, "09", "00", 0.0f, "0", kGreen},
        {9, "02", "22", 0.0f, "0", kGreen},      {10, "03", "29", 0.0f, "0", kYellow},
        {11, "04", "30", 0.0f, "0", kCyan},      {12, "06", "59", 0.0f, "0", kCyan},
        {13, "00", "11", 0.0f, "0", kGridWhite}, {64, "07", "17", 3.5f, "3.5", kGreen},
        {63, "A1", "17", 0.0f, "0", kGridWhite},
    };
    Horse h = typicalHorse(1);
    for (const Case& c : cases)
        h.set(rr::CourseCode(c.slot), c.course)
            .set(rr::TrackCode(c.slot), c.track)
            .single(rr::Result(c.slot, 7), c.residual);
    h.single(rr::Result(0, 7), -0.3333f).single(rr::Residual, 0.25f);
    Tables t;
    t.show({h});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.slot);
        EXPECT_EQ(t.residual.text(1, 10 + c.slot), QString::fromLatin1(c.text));
        EXPECT_EQ(t.residual.back(1, 10 + c.slot), c.back);
        EXPECT_EQ(t.residual.text(0, 10 + c.slot), u("前") + QString::number(c.slot) + u("残差"));
    }
    EXPECT_EQ(t.residual.text(1, 9), QStringLiteral("-0.334"));
    EXPECT_EQ(t.residual.text(1, 10), QStringLiteral("0.25"));
    EXPECT_EQ(t.residual.text(1, 6), QStringLiteral("60.25"));
    for (int c = 75; c < 80; ++c) {
        EXPECT_EQ(t.residual.text(0, c), QString());
        EXPECT_EQ(t.residual.text(1, c), QString());
    }
}

TEST(RunnerTables, CaptionsLayoutAndCellZeroZero) {
    Tables t;
    t.show({typicalHorse(1)});
    const char* factorCaptions[25] = {"202603070601",
                                      "入線",
                                      "予想順位",
                                      "単勝人気",
                                      "予想人気",
                                      "単勝オッズ",
                                      "馬名",
                                      "信頼度",
                                      "実タイム",
                                      "実上3Fタイム",
                                      "合成タイム",
                                      "予上3Fタイム",
                                      "予ペ-スタイム",
                                      "騎手",
                                      "騎手上がり時速",
                                      "騎手ペース時速",
                                      "父馬",
                                      "父馬上がり時速",
                                      "父馬ペース時速",
                                      "調教師",
                                      "調教師上がり時速",
                                      "調教師ペース時速",
                                      "母父馬",
                                      "母父馬上がり時速",
                                      "母父馬ペース時速"};
    for (int c = 0; c < 25; ++c) EXPECT_EQ(t.factor.text(0, c), u(factorCaptions[c])) << c;
    const char* residualCaptions[11] = {"202603070601", "入線",           "予想順位",        "単勝人気",
                                        "人気-予想",    "馬名",           "推定時速",        "推定タイム",
                                        "合成タイム",   "実-合成(時速）", "残差平均（時速）"};
    for (int c = 0; c < 11; ++c) EXPECT_EQ(t.residual.text(0, c), u(residualCaptions[c])) << c;
    EXPECT_EQ(t.residual.text(0, 74), u("前64残差"));

    const int factorWidths[25] = {-1,   500,  500,  500,  500,  1700, 2500, 1000, 1000, 1000, 1000, 1000, 1000,
                                  1000, 1000, 1700, 1000, 1000, 1000, 1000, 1000, 1700, 1000, -1,   -1};
    for (int c = 0; c < 25; ++c) EXPECT_EQ(t.factor.colWidth(c), factorWidths[c]) << c;
    EXPECT_EQ(t.factor.rowHeight(0), 500);
    EXPECT_EQ(t.residual.rowHeight(0), 500);
    const int residualWidths[7] = {-1, 500, 500, 500, 1000, 1700, 1000};
    for (int c = 0; c < 80; ++c) EXPECT_EQ(t.residual.colWidth(c), c < 7 ? residualWidths[c] : 1000) << c;

    // Cell (0, 0) of the factor table is the selected race until a runner
    // record rewrites it from its own race key; a race without runners
    // keeps the residual table's previous captions.
    GridModel f = DesignFactorTable(), r = DesignResidualTable();
    SkipLog log("prepare");
    PrepareRunnerTables(f, r, QStringLiteral("202603070999"), log);
    EXPECT_EQ(f.text(0, 0), QStringLiteral("202603070999"));
    PrepareRunnerTables(t.factor, t.residual, QStringLiteral("202603070999"), log);
    EXPECT_EQ(t.factor.text(0, 0), QStringLiteral("202603070999"));
    EXPECT_EQ(t.residual.text(0, 0), QStringLiteral("202603070601"));
    EXPECT_EQ(t.factor.text(1, 6), QString());
    EXPECT_TRUE(log.empty());
}

TEST(RunnerTables, TwelveRunnersAfterSixteenLeaveRowsEmptyAndWhite) {
    Tables t;
    QList<Horse> sixteen, twelve;
    for (int w = 1; w <= 16; ++w)
        sixteen.append(
            typicalHorse(w).set(rr::ArrivalOrder(0), "01").set(rr::CourseCode(1), "05").set(rr::TrackCode(1), "11"));
    for (int w = 1; w <= 12; ++w) twelve.append(typicalHorse(w));
    t.show(sixteen);
    EXPECT_EQ(t.factor.back(16, 1), kYellow);
    EXPECT_EQ(t.residual.back(16, 11), kGreen);
    t.show(twelve);
    for (int r = 13; r <= 18; ++r) {
        for (int c = 0; c < 25; ++c) EXPECT_EQ(t.factor.text(r, c), QString()) << r << "," << c;
        for (int c = 1; c < 25; ++c) EXPECT_EQ(t.factor.back(r, c), kGridWhite) << r << "," << c;
        for (int c = 0; c < 80; ++c) EXPECT_EQ(t.residual.text(r, c), QString()) << r << "," << c;
        for (int c = 1; c < 80; ++c) EXPECT_EQ(t.residual.back(r, c), kGridWhite) << r << "," << c;
    }
    EXPECT_EQ(t.factor.text(12, 0), u("3    12"));
    EXPECT_EQ(t.factor.back(12, 1), kGridWhite);
    EXPECT_TRUE(t.log.empty());
}

TEST(RunnerTables, ARunnerBeyondTheTableFailsItsCellsAndWritesNothing) {
    Tables t;
    QList<Horse> many;
    for (int w = 1; w <= 19; ++w) many.append(typicalHorse(w));
    t.s.PredRank.resize(20);
    t.show(many);
    EXPECT_FALSE(t.log.empty());
    EXPECT_EQ(t.factor.rows(), 19);
    EXPECT_EQ(t.factor.text(18, 0), u("3    18"));
}

TEST(RunnerTables, TabCaptions) {
    EXPECT_EQ(FactorTabCaption1(), u("馬名をクリックすればその馬の全過去走の予想因子詳細がご覧になれます。"));
    EXPECT_EQ(
        FactorTabCaption2(),
        u("信頼度はサンプル数を表しAが一番多くFはゼロ、左端より騎手・調教師・父馬・母父馬・生産牧場の信頼度となります"));
}

}  // namespace
