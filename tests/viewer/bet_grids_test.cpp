// The bet grids: labels and notes, combinations in the ranked order, odds
// from the right lines, missing files, every hit case, a race shown again.
#include "viewer/bet_grids.h"
#include "viewer/viewer_records.h"

#include <gtest/gtest.h>

using namespace rw;
using namespace viewertest;

namespace {
const QByteArray kId = "202412070501";
const QByteArray kOther = "202412070502";

struct Fixture {
    rwtest::AppFolder app;
    prediction::RunState state;
    viewer::RaceViewer v;
    SkipLog log{"bet grids"};
    void fill(const QByteArray& id, int runners) {
        v.List1Text = QStringLiteral("2024年12月07日05東京05回03日01R         ") + QString::fromLatin1(id);
        v.GridHorseCount = runners;
        viewer::FillBetGrids(state, v, log);
    }
};

QList<QStringList> snapshot(const GridModel& g) {
    QList<QStringList> rows;
    for (int r = 0; r < g.rows(); ++r) {
        QStringList row;
        for (int c = 0; c < g.cols(); ++c)
            row << g.text(r, c) + QLatin1Char('|') +
                       QString::number(g.back(r, c).isStandard() ? -1 : int(g.back(r, c).rgb()));
        rows << row;
    }
    return rows;
}
}  // namespace

TEST(BetGrids, FiveRunnersFillTenRowsBesideLabelsAndNotes) {
    Fixture f;
    writeRanked(f.app, kId, 5);
    writeOdds(f.app, kId);
    f.fill(kId, 5);
    EXPECT_TRUE(f.log.empty());
    for (const GridModel* g : {&f.v.UMARENGrid1, &f.v.UMATANGrid2}) {
        EXPECT_EQ(g->text(1, 0), QStringLiteral("本線\u30001 点目"));
        EXPECT_EQ(g->text(6, 0), QStringLiteral("本線\u30006 点目"));
        EXPECT_EQ(g->text(7, 0), QStringLiteral("準本線 1 点目"));
        EXPECT_EQ(g->text(13, 0), QStringLiteral("伏兵\u30001 点目"));
        EXPECT_EQ(g->text(18, 0), QStringLiteral("伏兵\u30006 点目"));
        EXPECT_EQ(g->text(19, 0), QStringLiteral("買い目として"));
        EXPECT_EQ(g->text(20, 0), QStringLiteral("強く推奨でき"));
        EXPECT_EQ(g->text(21, 0), QStringLiteral("るには本線の"));
        EXPECT_EQ(g->text(22, 0), QStringLiteral("みです。"));
        EXPECT_TRUE(g->text(23, 0).isEmpty());
        EXPECT_FALSE(g->text(10, 1).isEmpty());
        EXPECT_TRUE(g->text(11, 1).isEmpty());
        EXPECT_EQ(g->back(11, 1), kGridWhite);
        EXPECT_EQ(g->colWidth(0), 1200);
    }
    for (const GridModel* g : {&f.v.SANRENGrid3, &f.v.SANTANGrid4}) {
        EXPECT_EQ(g->text(7, 0), QStringLiteral("本線\u30007 点目"));
        EXPECT_EQ(g->text(8, 0), QStringLiteral("準本線 1 点目"));
        EXPECT_EQ(g->text(21, 0), QStringLiteral("伏兵\u30007 点目"));
        EXPECT_EQ(g->text(22, 0), QStringLiteral("買い目として"));
        EXPECT_EQ(g->text(24, 0), QStringLiteral("るのは本線の"));
        EXPECT_EQ(g->text(25, 0), QStringLiteral("みです。"));
        EXPECT_FALSE(g->text(10, 1).isEmpty());
        EXPECT_TRUE(g->text(11, 1).isEmpty());
    }
    EXPECT_EQ(f.v.UMARENGrid1.text(0, 2), QStringLiteral("実オッズ"));
    EXPECT_EQ(f.v.UMATANGrid2.text(0, 3), QStringLiteral("逆順オッズ"));
    EXPECT_EQ(f.v.SANRENGrid3.text(0, 0), QStringLiteral("３連複"));
    EXPECT_EQ(f.v.SANTANGrid4.text(0, 7), QStringLiteral("第6順Odds"));
    EXPECT_EQ(f.v.UMATANGrid2.colWidth(1), 1500);
    EXPECT_EQ(f.v.SANTANGrid4.colWidth(1), 1500);
    // The first ranked lines, with odds from their own lines.
    EXPECT_EQ(f.v.UMARENGrid1.text(1, 1), QStringLiteral("01-02"));
    EXPECT_EQ(f.v.UMARENGrid1.text(1, 2), pairOddsText(1, 2));
    EXPECT_EQ(f.v.UMATANGrid2.text(1, 1), QStringLiteral("02→01"));
    EXPECT_EQ(f.v.UMATANGrid2.text(1, 2), pairOddsText(2, 1));
    EXPECT_EQ(f.v.UMATANGrid2.text(1, 3), pairOddsText(1, 2));
    EXPECT_EQ(f.v.SANRENGrid3.text(1, 1), QStringLiteral("01-02-03"));
    EXPECT_EQ(f.v.SANRENGrid3.text(1, 2), trioOddsText(1, 2, 3));
    EXPECT_EQ(f.v.SANTANGrid4.text(1, 1), QStringLiteral("03→01→02"));
    const int orders[6][3] = {{3, 1, 2}, {3, 2, 1}, {1, 3, 2}, {1, 2, 3}, {2, 3, 1}, {2, 1, 3}};
    for (int n = 0; n < 6; ++n)
        EXPECT_EQ(f.v.SANTANGrid4.text(1, 2 + n), trioOddsText(orders[n][0], orders[n][1], orders[n][2])) << n;
    // The last 3連単 row's horses stay; the odds tables are zero again.
    EXPECT_EQ(f.state.TrioHorseA, "05");
    EXPECT_EQ(f.state.TrioHorseB, "03");
    EXPECT_EQ(f.state.TrioHorseC, "04");
    for (float o : f.v.PairOdds) ASSERT_EQ(o, 0.0f);
    for (float o : f.v.TrioOdds) ASSERT_EQ(o, 0.0f);
}

TEST(BetGrids, EighteenRunnersFillEveryClearedRow) {
    Fixture f;
    writeRanked(f.app, kId, 18);
    writeOdds(f.app, kId);
    f.fill(kId, 18);
    EXPECT_EQ(f.v.UMARENGrid1.text(153, 1), QStringLiteral("17-18"));
    EXPECT_EQ(f.v.UMARENGrid1.text(153, 2), pairOddsText(17, 18));
    EXPECT_EQ(f.v.UMARENGrid1.text(19, 0), QStringLiteral("買い目として"));
    EXPECT_FALSE(f.v.UMARENGrid1.text(19, 1).isEmpty());
    EXPECT_TRUE(f.v.UMATANGrid2.text(154, 1).isEmpty());
    EXPECT_EQ(f.v.SANRENGrid3.text(816, 1), QStringLiteral("16-17-18"));
    EXPECT_EQ(f.v.SANRENGrid3.text(816, 2), trioOddsText(16, 17, 18));
    EXPECT_EQ(f.v.SANTANGrid4.text(816, 1), QStringLiteral("18→16→17"));
    EXPECT_EQ(f.v.SANTANGrid4.text(25, 0), QStringLiteral("みです。"));
}

TEST(BetGrids, MissingFiles) {
    Fixture f;
    // Odds only: blank white cleared areas beside the labels.
    writeOdds(f.app, kId);
    f.v.UMARENGrid1.setText(3, 1, QStringLiteral("old"));
    f.v.UMARENGrid1.setBack(3, 1, viewer::kGreen);
    f.fill(kId, 5);
    EXPECT_TRUE(f.v.UMARENGrid1.text(3, 1).isEmpty());
    EXPECT_EQ(f.v.UMARENGrid1.back(3, 1), kGridWhite);
    EXPECT_EQ(f.v.UMARENGrid1.text(3, 0), QStringLiteral("本線\u30003 点目"));
    // Ranked files without odds: every odds cell 0.
    Fixture g;
    writeRanked(g.app, kId, 5);
    g.fill(kId, 5);
    EXPECT_EQ(g.v.UMARENGrid1.text(1, 1), QStringLiteral("01-02"));
    EXPECT_EQ(g.v.UMARENGrid1.text(1, 2), QStringLiteral("0"));
    EXPECT_EQ(g.v.SANTANGrid4.text(10, 7), QStringLiteral("0"));
}

TEST(BetGrids, HitCases) {
    struct Case {
        const char* name;
        std::function<void(QByteArray&)> pay;
        const GridModel viewer::ViewerGrids::*grid;
        int row;
        QString col1;
        std::vector<std::pair<int, GridColor>> colours;  // every other cell of the row white
    };
    // 5 runners: pair row 1 is 01-02 (馬単 02→01), trio row 1 is 01-02-03
    // (3連単 03→01→02: a=03, b=01, c=02).
    const GridColor g = viewer::kGreen, y = viewer::kYellow, m = viewer::kMagenta;
    const std::vector<Case> cases = {
        {"wide only: yellow",
         [](QByteArray& r) { setEntry(r, kWide, 3, "0102", 150, 2); },
         &viewer::ViewerGrids::UMARENGrid1,
         1,
         "01-02",
         {{1, y}, {2, y}}},
        {"quinella and wide: green",
         [](QByteArray& r) {
             setEntry(r, kWide, 1, "0102", 150, 2);
             setEntry(r, kQuinella, 1, "0102", 450, 2);
         },
         &viewer::ViewerGrids::UMARENGrid1,
         1,
         "01-02",
         {{1, g}, {2, g}}},
        {"exacta in order",
         [](QByteArray& r) { setEntry(r, kExacta, 1, "0201", 900, 3); },
         &viewer::ViewerGrids::UMATANGrid2,
         1,
         "\u3000\u3000正順\u3000\u300002→01",
         {{1, g}, {2, g}}},
        {"exacta reversed",
         [](QByteArray& r) { setEntry(r, kExacta, 1, "0102", 900, 3); },
         &viewer::ViewerGrids::UMATANGrid2,
         1,
         "\u3000\u3000逆順\u3000\u300002→01",
         {{1, m}, {3, m}}},
        {"exacta dead heat both ways",
         [](QByteArray& r) {
             setEntry(r, kExacta, 1, "0201", 900, 3);
             setEntry(r, kExacta, 2, "0102", 800, 2);
         },
         &viewer::ViewerGrids::UMATANGrid2,
         1,
         "\u3000\u3000逆順\u3000\u300002→01",
         {{1, m}, {2, g}, {3, m}}},
        {"trio",
         [](QByteArray& r) { setEntry(r, kTrio, 1, "010203", 1200, 4); },
         &viewer::ViewerGrids::SANRENGrid3,
         1,
         "01-02-03",
         {{1, g}, {2, g}}},
    };
    for (const Case& c : cases) {
        Fixture f;
        writeRanked(f.app, kId, 5);
        f.state.CurrentHR = hr(kId, "05");
        c.pay(f.state.CurrentHR);
        f.fill(kId, 5);
        const GridModel& grid = f.v.*c.grid;
        EXPECT_EQ(grid.text(c.row, 1), c.col1) << c.name;
        for (int col = 1; col < grid.cols(); ++col) {
            GridColor want = kGridWhite;
            for (const auto& [cc, colour] : c.colours)
                if (cc == col) want = colour;
            EXPECT_EQ(grid.back(c.row, col), want) << c.name << " column " << col;
        }
        // Another row stays plain and white.
        EXPECT_EQ(grid.back(2, 1), kGridWhite) << c.name;
    }
    // Each 3連単 order: row 1 is a=03, b=01, c=02.
    const QByteArray paid[6] = {"030102", "030201", "010302", "010203", "020301", "020103"};
    for (int n = 1; n <= 6; ++n) {
        Fixture f;
        writeRanked(f.app, kId, 5);
        f.state.CurrentHR = hr(kId, "05");
        setEntry(f.state.CurrentHR, kTrifecta, 4, paid[n - 1], 25000, 60);
        f.fill(kId, 5);
        const GridModel& grid = f.v.SANTANGrid4;
        EXPECT_EQ(grid.text(1, 1), QStringLiteral(" 第%1順03→01→02").arg(n));
        for (int col = 1; col <= 7; ++col) {
            const GridColor want = col == 1 || col == n + 1 ? (n == 1 ? g : m) : kGridWhite;
            EXPECT_EQ(grid.back(1, col), want) << "order " << n << " column " << col;
        }
    }
}

TEST(BetGrids, APayoffOfAnotherRaceColoursNothing) {
    Fixture f;
    writeRanked(f.app, kId, 5);
    f.state.CurrentHR = hr(kOther, "05");
    setEntry(f.state.CurrentHR, kQuinella, 1, "0102", 450, 2);
    f.fill(kId, 5);
    EXPECT_EQ(f.v.UMARENGrid1.text(1, 1), QStringLiteral("01-02"));
    EXPECT_EQ(f.v.UMARENGrid1.back(1, 1), kGridWhite);
}

TEST(BetGrids, AnotherRaceAndBackGivesIdenticalGrids) {
    Fixture f;
    writeRanked(f.app, kId, 18);
    writeOdds(f.app, kId);
    writeRanked(f.app, kOther, 7);
    f.state.CurrentHR = hr(kId);
    setEntry(f.state.CurrentHR, kWide, 1, "0102", 150, 2);
    setEntry(f.state.CurrentHR, kTrifecta, 1, "030102", 150, 2);
    f.fill(kId, 18);
    const auto a = {snapshot(f.v.UMARENGrid1), snapshot(f.v.UMATANGrid2), snapshot(f.v.SANRENGrid3),
                    snapshot(f.v.SANTANGrid4)};
    f.fill(kOther, 7);
    EXPECT_NE(snapshot(f.v.UMARENGrid1), *a.begin());
    f.fill(kId, 18);
    const auto b = {snapshot(f.v.UMARENGrid1), snapshot(f.v.UMATANGrid2), snapshot(f.v.SANRENGrid3),
                    snapshot(f.v.SANTANGrid4)};
    EXPECT_TRUE(std::equal(a.begin(), a.end(), b.begin()));
}

TEST(BetGrids, IndexesFromFilesNeverReachOutsideTheTables) {
    Fixture f;
    const QString k = QStringLiteral("KAIME\\") + QString::fromLatin1(kId);
    f.app.write(k + "UMARENSORT.dat",
                "\"x\",\"Umaren\",\"1920\",1\r\n\"x\",\"Umaren\",\"0102\",1\r\n\"x\",\"Umaren\",\"a1b2\",1\r\n"
                "\"x\",\"Umaren\",\"-1\",1\r\n\"x\",\"Umaren\",\"99\",1\r\n");
    f.app.write(k + "SANRENTANSORT.dat", "\"x\",\"sanrentan\",\"011920\",1\r\n\"x\",\"sanrentan\",\"010203\",1\r\n");
    // More lines than a table holds, and one line that is not a number.
    writeOdds(f.app, kId, 500);
    f.app.write(k + "SANRENODDS.dat", "abc\r\n");
    f.fill(kId, 5);
    const GridModel& u = f.v.UMARENGrid1;
    EXPECT_EQ(u.text(1, 1), QStringLiteral("19-20"));
    EXPECT_TRUE(u.text(1, 2).isEmpty());
    EXPECT_EQ(u.text(2, 2), pairOddsText(1, 2));
    EXPECT_TRUE(u.text(3, 2).isEmpty());
    EXPECT_TRUE(u.text(4, 2).isEmpty());
    EXPECT_TRUE(u.text(5, 2).isEmpty());
    EXPECT_EQ(f.v.SANTANGrid4.text(1, 1), QStringLiteral("01→19→20"));
    for (int c = 2; c <= 7; ++c) EXPECT_TRUE(f.v.SANTANGrid4.text(1, c).isEmpty());
    EXPECT_EQ(f.v.SANTANGrid4.text(2, 2), trioOddsText(1, 2, 3));
    EXPECT_FALSE(f.log.empty());
}

TEST(BetGrids, ARankedFileLongerThanTheGridStopsAtItsClearedRows) {
    Fixture f;
    const QString k = QStringLiteral("KAIME\\") + QString::fromLatin1(kId);
    QByteArray lines;
    for (int i = 0; i < 200; ++i) lines += "\"x\",\"Umaren\",\"0102\",1\r\n";
    f.app.write(k + "UMARENSORT.dat", lines);
    f.fill(kId, 3);
    EXPECT_EQ(f.v.UMARENGrid1.text(153, 1), QStringLiteral("01-02"));
    EXPECT_EQ(f.v.UMARENGrid1.rows(), 154);
}
