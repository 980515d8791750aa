// The hit list's load on a small history: the list byte for byte against a
// hand-written golden file, the grid as a table of cases.
#include "common/kestrav_path.h"
#include "support/recording_ui.h"
#include "reference/hit_list.h"
#include "reference/history_fixture.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace rw::reference;

namespace {

QByteArray golden(const char* name) {
    return rwtest::readFile(QStringLiteral(RACEWEEK_SOURCE_DIR "/tests/reference/golden/") + name);
}

QString u(const char* s) { return QString::fromUtf8(s); }

}  // namespace

TEST(HitList, LoadMatchesTheGoldenListAndTheGridHoldsTheBigHits) {
    rwtest::AppFolder app;
    reffix::writeHistory(app);
    for (int round = 0; round < 2; ++round) {
        rw::RecordingUi ui;
        rw::SkipLog log("hit list");
        rw::GridModel grid;
        EXPECT_EQ(TekichuListLoad(ui, grid, log), 4);
        EXPECT_EQ(app.read("TEKICHU\\ATARILIST.txt"), golden("ATARILIST.txt"));
        EXPECT_EQ(ui.eventTurns, 1860);
        EXPECT_TRUE(log.empty());
        ASSERT_EQ(grid.rows(), 5000);
        ASSERT_EQ(grid.cols(), 20);
        const struct {
            int row, col;
            const char* text;
        } cells[] = {
            {0, 0, "年  本数"},
            {0, 7, "レース名"},
            {0, 19, "本数"},
            {1, 0, " 2024年 1"},
            {1, 1, "06月"},
            {1, 2, "29日"},
            {1, 3, "東京"},
            {1, 4, "03回"},
            {1, 5, "08日"},
            {1, 6, "11R"},
            {1, 7, "サラ系３歳未勝利"},
            {1, 8, "３連単"},
            {1, 9, "182340"},
            {1, 10, "準本線5点目 的中"},
            {1, 11, " 03-05-07"},
            {1, 12, "サラ系３歳未勝利"},
            {1, 13, "サラ系３歳未勝利"},
            {1, 14, ""},
            {1, 15, "芝"},
            {1, 16, "2000"},
            {1, 17, "35.2"},
            {1, 18, "晴良"},
            {1, 19, "1"},
            {2, 0, " 2024年 2"},
            {2, 3, "阪神"},
            {2, 8, "３連複"},
            {2, 9, "10001"},
            {3, 3, ""},
            {3, 8, "馬単"},
            {3, 9, "15000"},
            {3, 19, "3"},
            {4, 2, "01日"},
            {4, 9, "20000"},
            {5, 0, ""},
            {5, 9, ""},
        };
        for (const auto& c : cells) EXPECT_EQ(grid.text(c.row, c.col), u(c.text)) << c.row << "," << c.col;
        const struct {
            int col, width;
        } widths[] = {{0, 1700},  {1, 600},   {7, 2200}, {8, -1},  {9, -1},   {10, 1700}, {11, 1700},
                      {12, 1700}, {13, 1700}, {14, 600}, {16, -1}, {18, 600}, {19, -1}};
        for (const auto& w : widths) EXPECT_EQ(grid.colWidth(w.col), w.width) << w.col;
    }
}

TEST(HitList, HitsBeyondTheGridAreListedAndCountedButNotShown) {
    rwtest::AppFolder app;
    app.write("JRACODE\\CodeTable.csv", reffix::codeTable());
    QByteArray day = reffix::rc(1, "1600") + reffix::rr() + reffix::q1();
    for (int i = 1; i <= 5001; ++i)
        day += reffix::at(i, "7", "本線1点目 的中", "01-02-03", QByteArray::number(10000 + i).constData());
    app.write("TEKICHU\\20240629050308lupRCM.txt", day);
    rw::RecordingUi ui;
    rw::SkipLog log("hit list");
    rw::GridModel grid;
    EXPECT_EQ(TekichuListLoad(ui, grid, log), 5001);
    EXPECT_EQ(grid.text(4999, 19), "4999");
    EXPECT_EQ(grid.text(4999, 9), "14999");
    EXPECT_EQ(app.read("TEKICHU\\ATARILIST.txt").count("\r\n"), 5001);
    EXPECT_TRUE(log.empty());
}

TEST(HitList, NoFoldersAndBadFiles) {
    QTemporaryDir parent;
    const QString appDir = parent.path() + "/app/";
    QDir().mkpath(appDir);
    rw::SetProgramFolder(appDir);
    rw::RecordingUi ui;
    rw::SkipLog log("hit list");
    rw::GridModel grid;
    EXPECT_EQ(TekichuListLoad(ui, grid, log), 0);
    EXPECT_FALSE(log.empty());  // the list could not be created
    EXPECT_EQ(rwtest::filesUnder(parent.path()).size(), 0u);
    EXPECT_EQ(grid.text(1, 0), "");
    rw::SetProgramFolder({});

    rwtest::AppFolder app;  // a truncated day file and a folder named like one
    app.write("TEKICHU\\20240629050308lupRCM.txt", reffix::rc(1, "1600") + "\"AT\",\"1\",\"7\",\"x");
    QDir().mkpath(app.file("TEKICHU\\20240629090308lupRCM.txt"));
    rw::SkipLog log2("hit list");
    EXPECT_EQ(TekichuListLoad(ui, grid, log2), 0);
    EXPECT_EQ(app.read("TEKICHU\\ATARILIST.txt").count("\r\n"), 1);
}
