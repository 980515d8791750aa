// A click on the browser's race-day list: the day grids and race tabs as
// tables of cases.
#include "reference/history_fixture.h"
#include "reference/past_day_view.h"

#include <gtest/gtest.h>

using namespace rw::reference;
using reffix::line;
using rw::GridColor;

namespace {

QString u(const char* s) { return QString::fromUtf8(s); }
const QString kDayA = u("2024年06月29日3回東京8日目") + QString(18, u' ') + "20240629050308";
const QString kKey = "20240629050308";

QByteArray dayLine() { return line({"2024年", "06月", "29日", "3回", "東京", "8日目"}); }

// "tekichu.txt" whose block b has the bet-number row `numbers`.
QByteArray hitTable(int blocks, const std::function<QByteArray(int b, int c)>& number) {
    QByteArray f = dayLine() + line({"R番号", "馬連", "馬単", "3連複", "3連単", "ワイド1", "ワイド2", "ワイド3"});
    for (int b = 0; b < blocks; ++b) {
        const QByteArray r = reffix::two(b + 1) + "R 的中";
        QByteArray label = "\"" + r + "\"", comb = "\"    当目\"", pay = "\"    配当\"", num = "\"    予人\"";
        for (int c = 1; c <= 7; ++c) {
            label += ",\"L\"";
            comb += ",\"\"";
            pay += ",\"\"";
            num += ",\"" + number(b, c) + "\"";
        }
        f += rwtest::sj(label.constData()) + "\r\n" + rwtest::sj(comb.constData()) + "\r\n" + pay + "\r\n" +
             rwtest::sj(num.constData()) + "\r\n";
    }
    return f;
}

PastDayControls click(const QString& item = kDayA) {
    PastDayControls c;
    rw::SkipLog log("click");
    List1Click(item, c, log);
    return c;
}

}  // namespace

TEST(PastDayView, TierColoursOfTheHitLabelsAtEveryBoundary) {
    const struct {
        int col;
        const char* number;
        int colour;  // QBColor of the hit label's background
    } cases[] = {
        {1, "1 2", 14},
        {1, "6 3", 14},
        {1, "7 1", 11},
        {1, "12 5", 11},
        {1, "13 2", 12},
        {1, "18 1", 12},
        {1, "19 1", 15},
        {1, "", 15},
        {1, "0 1", 15},
        {1, "6", 15},
        {1, "x 1", 15},
        {1, "3 12", 14},
        {1, "123456789012 1", 15},
        {2, "12 1", 14},
        {2, "13 1", 11},
        {2, "24 1", 11},
        {2, "25 1", 12},
        {2, "36 1", 12},
        {2, "37 1", 15},
        {3, "7 1", 14},
        {3, "8 1", 11},
        {3, "14 1", 11},
        {3, "15 1", 12},
        {3, "21 1", 12},
        {3, "22 1", 15},
        {4, "42 1", 14},
        {4, "43 1", 11},
        {4, "84 1", 11},
        {4, "85 1", 12},
        {4, "126 1", 12},
        {4, "127 1", 15},
        {5, "6 1", 14},
        {5, "7 1", 11},
        {6, "18 1", 12},
        {6, "19 1", 15},
        {7, "13 1", 12},
        {7, "1 9", 14},
    };
    rwtest::AppFolder app;
    for (const auto& k : cases) {
        for (int b : {0, 11}) {
            app.write("TEKICHU\\20240629050308tekichu.txt", hitTable(12, [&](int bb, int c) {
                          return bb == b && c == k.col ? QByteArray(k.number) : QByteArray();
                      }));
            const PastDayControls c = click();
            EXPECT_EQ(c.KakoSeiFG.back(2 + 4 * b, k.col), QbColor(k.colour)) << k.col << " " << k.number;
            EXPECT_EQ(c.KakoSeiFG.text(5 + 4 * b, k.col), u(k.number));
        }
    }
}

TEST(PastDayView, DayTableFillsAndTenRaceDaysLeaveTheRestEmpty) {
    rwtest::AppFolder app;
    app.write("TEKICHU\\20240629050308tekichu.txt", hitTable(12, [](int, int) { return QByteArray("1 2"); }));
    PastDayControls c = click();
    EXPECT_EQ(c.KakoSeiFG.text(0, 4), u("東京"));
    EXPECT_EQ(c.KakoSeiFG.text(1, 7), u("ワイド3"));
    EXPECT_EQ(c.KakoSeiFG.text(46, 0), u("12R 的中"));
    EXPECT_EQ(c.KakoSeiFG.back(46, 7), QbColor(14));
    EXPECT_EQ(c.KakoSeiFG.colWidth(2), 1100);
    EXPECT_EQ(c.KakoSeiFG.colWidth(4), 1200);
    // The next day has ten races: the last two blocks are emptied, white.
    app.write("TEKICHU\\20240629050308tekichu.txt", hitTable(10, [](int, int) { return QByteArray("1 2"); }));
    rw::SkipLog log("click");
    List1Click(kDayA, c, log);
    for (int r = 42; r <= 49; ++r)
        for (int col = 0; col < 8; ++col) EXPECT_EQ(c.KakoSeiFG.text(r, col), "") << r;
    EXPECT_EQ(c.KakoSeiFG.back(42, 1), QbColor(15));
    EXPECT_EQ(c.KakoSeiFG.back(46, 7), QbColor(15));
    EXPECT_EQ(c.KakoSeiFG.back(38, 7), QbColor(14));
}

TEST(PastDayView, RateColoursAreStrict) {
    rwtest::AppFolder app;
    QByteArray k = dayLine() + line({"　　", "回収率", "％", "　　", "的中率", "％", "　　"}) +
                   line({"券種", "本線", "準本線", "伏兵", "本線", "準本線", "伏兵"});
    k += "\"馬連\",100.0,100.1,0,30.0,30.1,0\r\n";
    app.write("TEKICHU\\20240629050308kaiteki.txt", rwtest::sj(k.constData()));
    QByteArray pc = dayLine() + line({"券種", "単勝1", "複勝1", "単勝2", "複勝2", "馬連F", "馬連B", "馬単F", "  3連複B",
                                      "  3連単12", "  3連単23", "  3連単13"});
    pc += rwtest::sj(
        "\"予想R数\",12,12,12,12,12,12,12,12,12,12,12\r\n\"的中R数\",1,1,1,1,1,1,1,1,1,1,1\r\n"
        "\"的中率\",30.0,30.1,0,0,0,0,0,0,0,0,0\r\n\"購入点数\",1,1,1,1,1,1,1,1,1,1,1\r\n"
        "\"回収金額\",1,1,1,1,1,1,1,1,1,1,1\r\n\"回収率\",100.0,100.1,0,0,0,0,0,0,0,0,0\r\n");
    app.write("TEKICHU\\20240629050308kaitekiPC.txt", pc);
    const PastDayControls c = click();
    const GridColor standard = GridColor::standard();
    EXPECT_EQ(c.TekiKaiFG.text(3, 0), u("馬連"));
    EXPECT_EQ(c.TekiKaiFG.fore(3, 1), standard);
    EXPECT_EQ(c.TekiKaiFG.fore(3, 2), QbColor(12));
    EXPECT_EQ(c.TekiKaiFG.fore(3, 4), standard);
    EXPECT_EQ(c.TekiKaiFG.fore(3, 5), QbColor(1));
    EXPECT_EQ(c.TekiKaiFG.text(0, 6), "");
    EXPECT_EQ(c.TekiKaiFG.text(8, 6), "");  // the file ends early
    EXPECT_EQ(c.Text1, RatesExplanation());
    EXPECT_EQ(c.TFTekiKaiFG.text(0, 11), u("  3連単13"));
    EXPECT_EQ(c.TFTekiKaiFG.fore(3, 1), standard);
    EXPECT_EQ(c.TFTekiKaiFG.fore(3, 2), QbColor(1));
    EXPECT_EQ(c.TFTekiKaiFG.fore(6, 1), standard);
    EXPECT_EQ(c.TFTekiKaiFG.fore(6, 2), QbColor(12));
    EXPECT_EQ(c.TFTekiKaiFG.colWidth(1), 600);
    EXPECT_EQ(c.TFTekiKaiFG.colWidth(9), 950);
}

TEST(PastDayView, SelectionHitsAndAColumnThatHitTheDayBefore) {
    rwtest::AppFolder app;
    auto selections = [](const char* payout) {
        QByteArray f = dayLine() + line({" R番号", "単勝1", "複勝1", "単勝2", "複勝2", "馬連F", "馬連B", "馬単F",
                                         "  3連複B", "  3連単12", "  3連単23", "  3連単13"});
        f += rwtest::sj("\"01R点数  \",\"1\",\"1\",\"1\",\"1\",3,3,6,7,12,12,12\r\n");
        f += rwtest::sj("\"  的中目\",\"\",\"\",\"\",\"\",\"03-05\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n");
        f += rwtest::sj(
            (std::string("\"  配当\",\"\",\"\",\"\",\"\",\"") + payout + "\",\"10010\",\"\",\"\",\"\",\"\",\"\"\r\n")
                .c_str());
        return f;
    };
    app.write("TEKICHU\\20240629050308tekichuPC.txt", selections("10000"));
    PastDayControls c = click();
    for (int r = 2; r <= 4; ++r) EXPECT_EQ(c.TanFukuFG.back(r, 5), QbColor(14)) << r;
    EXPECT_EQ(c.TanFukuFG.fore(4, 5), GridColor::standard());
    EXPECT_EQ(c.TanFukuFG.fore(4, 6), QbColor(12));
    EXPECT_EQ(c.TanFukuFG.back(4, 7), GridColor::standard());
    EXPECT_EQ(c.TanFukuFG.text(1, 8), u("  3連複B"));
    EXPECT_EQ(c.TanFukuFG.text(0, 6), "");
    // The next day shown: column 5 did not hit.
    app.write("TEKICHU\\20240629050308tekichuPC.txt", selections(""));
    rw::SkipLog log("click");
    List1Click(kDayA, c, log);
    for (int r = 2; r <= 4; ++r) EXPECT_EQ(c.TanFukuFG.back(r, 5), GridColor::standard()) << r;
    EXPECT_EQ(c.TanFukuFG.back(37, 11), GridColor::standard());
    EXPECT_EQ(c.TanFukuFG.text(37, 11), "");
}

TEST(PastDayView, RaceTabsFromTheTaggedDayFile) {
    rwtest::AppFolder app;
    reffix::writeHistory(app);
    const PastDayControls c = click();
    // Blocks in file order: races 1, 2, 5, 11, 12.
    EXPECT_EQ(c.Text2[3], u("2024年06月29日3回東京8日目  11R サラ系３歳未勝利サラ系３歳未勝利芝2000m  SD=35.2 晴良"));
    EXPECT_EQ(c.Text2[5], u("2024年06月29日3回東京8日目  "));
    EXPECT_EQ(c.RACEFG[0].text(1, 0), "1  16");
    EXPECT_EQ(c.RACEFG[0].text(16, 0), "1  01");
    EXPECT_EQ(c.RACEFG[1].text(5, 0), "1  05");  // written " 5"
    EXPECT_EQ(c.RACEFG[3].text(1, 0), "1  02");
    EXPECT_EQ(c.RACEFG[3].text(1, 6), u("テストホース"));
    EXPECT_EQ(c.RACEFG[3].text(1, 10), "2.01.50");
    EXPECT_EQ(c.RACEFG[3].text(4, 0), "");
    EXPECT_EQ(c.RACEFG[2].text(1, 0), "");  // a race without runners
    EXPECT_EQ(c.TKFG[3].text(1, 1), u("本線1点目 的中"));
    EXPECT_EQ(c.TKFG[3].text(2, 2), "03-07");
    EXPECT_EQ(c.TKFG[3].text(7, 3), "182340");
    EXPECT_EQ(c.TKFG[3].text(6, 1), "");
    EXPECT_EQ(c.TKFG[4].text(6, 3), "10000");
    EXPECT_EQ(c.RACEFG[0].text(0, 0), u("枠・馬番"));
    EXPECT_EQ(c.RACEFG[0].rowHeight(0), 500);
    EXPECT_EQ(c.RACEFG[0].colWidth(6), 1700);
    EXPECT_EQ(c.TKFG[0].text(0, 3), u("配当（円）"));
    EXPECT_EQ(c.TKFG[0].text(7, 0), u("３連単"));
    EXPECT_EQ(c.TKFG[0].colWidth(1), 1700);
    EXPECT_EQ(RaceTabCaption(0), u("1　R"));
    EXPECT_EQ(RaceTabCaption(11), u("12　R"));
}

TEST(PastDayView, HorseColoursRowsAndCodesOutOfRangeAndThirteenBlocks) {
    rwtest::AppFolder app;
    QByteArray f;
    for (int race = 1; race <= 13; ++race) {
        if (race == 5) continue;  // a day without race 5
        f += reffix::rc(race, "1600") + reffix::rr();
        f += reffix::hs(1, "3", "1.35.00", 3, 1) + reffix::hs(2, "4", "1.35.10", 6, 2) +
             reffix::hs(19, "5", "1.35.20", 1, 1) + reffix::hs(3, "6", "1.36.00", 4, 5) + reffix::q1();
        f += reffix::at(1, "2", "本線1点目 的中", "03-04", "300") +
             reffix::at(2, "3", "本線2点目 的中", "03-06", "400") +
             reffix::at(3, "4", "本線3点目 的中", "04-06", "500") +
             reffix::at(4, "5", "本線4点目 的中", "05-06", "600") + reffix::at(5, "8", "x", "y", "z") +
             reffix::at(6, "5", "本線1点目 的中", "03-04", "1230");
    }
    app.write("TEKICHU\\20240629050308lupRCM.txt", f);
    const PastDayControls c = click();
    const rw::GridModel& g = c.RACEFG[0];
    EXPECT_EQ(g.text(1, 1), "01");
    EXPECT_EQ(g.text(1, 2), "03");
    EXPECT_EQ(g.text(1, 3), "01");
    EXPECT_EQ(g.back(1, 1), QbColor(14));
    EXPECT_EQ(g.back(1, 2), QbColor(10));
    EXPECT_EQ(g.back(1, 3), QbColor(14));
    EXPECT_EQ(g.text(2, 2), "06");
    EXPECT_EQ(g.back(2, 2), QbColor(15));
    EXPECT_EQ(g.back(2, 3), QbColor(11));
    EXPECT_EQ(g.back(3, 2), QbColor(9));
    EXPECT_EQ(g.back(3, 3), QbColor(13));
    EXPECT_EQ(g.text(18, 0), "");  // rank 19 has no row
    EXPECT_EQ(c.TKFG[0].text(2, 3), "300");
    EXPECT_EQ(c.TKFG[0].text(4, 3), "500");
    EXPECT_EQ(c.TKFG[0].text(5, 3), "1230");  // the 馬単 line replaces the fourth ワイド
    EXPECT_EQ(c.TKFG[0].text(1, 1), "");
    EXPECT_TRUE(c.Text2[4].contains(" 06R "));  // tab 5 shows race 6
    EXPECT_TRUE(c.Text2[11].contains(" 13R "));
    EXPECT_EQ(c.RACEFG[11].text(1, 1), "01");
}

TEST(PastDayView, MissingFilesAndAnEmptyListClick) {
    rwtest::AppFolder app;
    PastDayControls c = click();
    EXPECT_EQ(c.KakoSeiFG.text(0, 0), "");
    EXPECT_EQ(c.Text1, RatesExplanation());
    EXPECT_EQ(c.Text2[0], u("2024年06月29日3回東京8日目  "));
    PastDayControls none = click(QString());
    EXPECT_EQ(none.Text2[0], "");
    EXPECT_EQ(none.TKFG[0].text(1, 0), u("馬連"));
    EXPECT_EQ(rwtest::filesUnder(app.path()).size(), 0u);
}
