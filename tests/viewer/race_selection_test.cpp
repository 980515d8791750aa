// A click on the race list: header text and colour, the race list file,
// where the payoffs come from (pending races or not, flash payoffs none, one
// or several, the week's payoff present or not), the ranks, the runner
// count, a re-click after flash payoffs were stored.
#include "support/recording_ui.h"
#include "common/control_names.h"
#include "viewer/race_selection.h"
#include "viewer/viewer_records.h"

#include <gtest/gtest.h>

using namespace rw;
using namespace viewertest;

namespace {
const QByteArray kA = "202412070501";  // the race clicked
const QByteArray kB = "202412070502";

struct Click {
    rwtest::AppFolder app;
    RecordingUi ui;
    prediction::RunState state;
    viewer::RaceViewer v;
    Click() {
        state.List1 = {QStringLiteral("2024年12月07日05東京05回03日01R         ") + QString::fromLatin1(kA),
                       QStringLiteral("2024年12月07日05東京05回03日02R         ") + QString::fromLatin1(kB)};
        for (int i = 1; i <= 2; ++i) {
            prediction::RaceRow row;
            namespace rt = prediction::rt;
            row[rt::RaceName] = rwtest::sj("２歳未勝利");
            row[rt::RaceTypeName] = rwtest::sj("サラ系２歳");
            row[rt::ConditionName] = rwtest::sj("未勝利");
            row[rt::GradeName] = "";
            row[rt::TrackName] = rwtest::sj("芝");
            row[rt::Distance] = "1600";
            row[rt::SD] = "12";
            row[rt::WeatherGoing] = rwtest::sj("晴良");
            state.RaceTable.append(row);
        }
        // A bet grid cell that only a FillBetGrids call overwrites.
        v.UMARENGrid1.setText(1, 1, QStringLiteral("kept"));
    }
    void writeRa(const QList<QByteArray>& records) { app.write("RATHISWEEKNNEW.dat", records.join()); }
    void run(int index = 0) {
        SkipLog log("click");
        viewer::List1_Click(ui, state, v, index, log);
    }
    std::uint32_t colour() const { return ui.colors.value(ctl::PredictionText1); }
};

QByteArray winPaying(const QByteArray& id, const QByteArray& horse, int pay) {
    QByteArray r = hr(id, "05");
    setEntry(r, kWin, 1, horse, pay, 1);
    return r;
}
}  // namespace

TEST(RaceSelection, HeaderRunsTheTextsTogether) {
    Click c;
    c.run();
    EXPECT_EQ(c.ui.text(ctl::PredictionText1),
              c.state.List1[0] + QStringLiteral("２歳未勝利サラ系２歳未勝利芝1600m SD=12 晴良"));
    EXPECT_EQ(c.colour(), viewer::kHeaderGreen);
}

TEST(RaceSelection, PayoffSourcesAndCalls) {
    struct Case {
        const char* name;
        bool pending;
        int flashRecords;  // of the race clicked (another race's record between them)
        bool weekly;       // the week's payoff file holds the race
        std::uint32_t colour;
        QString win;    // 単勝 of the payout grid after the click
        bool betGrids;  // FillBetGrids ran
    };
    const std::vector<Case> cases = {
        {"pending, no flash, weekly", true, 0, true, viewer::kHeaderGreen, "", true},
        {"pending, no flash, no weekly", true, 0, false, viewer::kHeaderGreen, "", true},
        {"pending, one flash, weekly", true, 1, true, viewer::kHeaderYellow, "01", true},
        {"pending, one flash, no weekly", true, 1, false, viewer::kHeaderYellow, "01", true},
        {"pending, three flash: the last wins", true, 3, true, viewer::kHeaderYellow, "03", true},
        {"pending, three flash, no weekly", true, 3, false, viewer::kHeaderYellow, "03", true},
        {"official, no flash, weekly", false, 0, true, viewer::kHeaderGreen, "09", true},
        {"official, no flash, no weekly: grids kept", false, 0, false, viewer::kHeaderGreen, "", false},
        {"official, flash ignored, weekly", false, 2, true, viewer::kHeaderGreen, "09", true},
        {"official, flash ignored, no weekly", false, 2, false, viewer::kHeaderGreen, "", false},
    };
    for (const Case& k : cases) {
        Click c;
        // Race B is pending or official; race A is official when B is, and
        // keeps its kind-"2" record beside its kind-"7" one.
        c.writeRa({ra(kA, '2', "05"), ra(kA, '7', "05"), ra(kB, k.pending ? '2' : '7', "06")});
        QList<QByteArray> flash;
        for (int i = 1; i <= k.flashRecords; ++i) {
            flash.append(winPaying(kA, two(i), 100 * i));
            flash.append(winPaying(kB, "18", 999));
        }
        c.app.write("HRRIALTIME.dat", flash.join());
        QList<QByteArray> weekly{winPaying(kB, "17", 777)};
        if (k.weekly) weekly.prepend(winPaying(kA, "09", 900));
        c.app.write("HRTHISWEEKN.dat", weekly.join());
        c.run();
        EXPECT_EQ(c.colour(), k.colour) << k.name;
        EXPECT_EQ(c.v.HAITOGrid1.text(1, 1), k.win) << k.name;
        EXPECT_EQ(c.v.HAITOGrid1.text(0, 0), QStringLiteral("券種")) << k.name;
        EXPECT_EQ(c.v.UMARENGrid1.text(1, 1) != QStringLiteral("kept"), k.betGrids) << k.name;
        EXPECT_EQ(c.app.read("RACETHISWEEKN.dat"), k.pending ? QByteArray("\"" + kB + "\"\r\n") : QByteArray())
            << k.name;
        // After a payoff scan CurrentHR holds that file's last record.
        const QByteArray last = k.pending ? (flash.isEmpty() ? QByteArray() : flash.last()) : weekly.last();
        if (!last.isEmpty()) {
            EXPECT_EQ(c.state.CurrentHR, last) << k.name;
        }
    }
}

TEST(RaceSelection, TwoRaceRecordsOfTheRaceFillTheBetGridsForEach) {
    Click c;
    c.writeRa({ra(kA, '2', "10"), ra(kA, '7', "12"), ra(kB, '2', "06")});
    c.run();
    // The last call's registered runners remain: the kind-"7" record's.
    EXPECT_EQ(c.v.GridHorseCount, 12);
    EXPECT_EQ(c.state.CurrentRA, ra(kB, '2', "06"));
    EXPECT_EQ(c.app.read("RACETHISWEEKN.dat"), "\"" + kB + "\"\r\n");
}

TEST(RaceSelection, AllResultsOfficialShowTheWeeksPayoffsInGreen) {
    Click c;
    c.writeRa({ra(kA, '2', "05"), ra(kA, '7', "05"), ra(kB, '2', "06"), ra(kB, '7', "06")});
    c.app.write("HRRIALTIME.dat", winPaying(kA, "04", 400));
    c.app.write("HRTHISWEEKN.dat", winPaying(kA, "09", 900));
    c.run();
    EXPECT_EQ(c.colour(), viewer::kHeaderGreen);
    EXPECT_EQ(c.v.HAITOGrid1.text(1, 1), QStringLiteral("09"));
    EXPECT_EQ(c.app.read("RACETHISWEEKN.dat"), QByteArray());
}

TEST(RaceSelection, AReClickShowsFlashPayoffsStoredMeanwhile) {
    Click c;
    c.writeRa({ra(kA, '2', "05"), ra(kB, '2', "06")});
    c.run();
    EXPECT_EQ(c.colour(), viewer::kHeaderGreen);
    EXPECT_TRUE(c.v.HAITOGrid1.text(1, 1).isEmpty());
    c.app.write("HRRIALTIME.dat", winPaying(kA, "04", 400));
    c.run();
    EXPECT_EQ(c.colour(), viewer::kHeaderYellow);
    EXPECT_EQ(c.v.HAITOGrid1.text(1, 1), QStringLiteral("04"));
    EXPECT_EQ(c.v.HAITOGrid1.text(1, 2), QStringLiteral("400"));
    EXPECT_EQ(c.app.read("RACETHISWEEKN.dat"), "\"" + kA + "\"\r\n\"" + kB + "\"\r\n");
}

TEST(RaceSelection, RanksAndRunners) {
    Click c;
    c.writeRa({ra(kA, '7', "03")});
    QByteArray sort;
    for (int h = 1; h <= 20; ++h) {
        sort += "\"" + kA + "\",\"" + two(h) + "\",\"x\",\"" + QByteArray::number(h % 10).rightJustified(2, ' ') + "\"";
        for (int i = 4; i < 15; ++i) sort += ",\"v\"";
        sort += "\r\n";
    }
    c.app.write("KAIME\\" + QString::fromLatin1(kA) + "SORT.dat", sort);
    c.app.write("RACE\\" + QString::fromLatin1(kA) + ".dat", QByteArray(3 * 24022, ' '));
    c.run();
    EXPECT_EQ(c.state.PredRank[1], " 1");
    EXPECT_EQ(c.state.PredRank[10], " 0");
    EXPECT_EQ(c.state.PredRank[18], " 8");
    EXPECT_EQ(c.state.PredRank.size(), 19);  // lines beyond the 18th ignored
    EXPECT_EQ(c.v.SortTable[2][1], "02");
    EXPECT_EQ(c.state.HorseCount, 3);
    EXPECT_EQ(c.state.CurIndex, 3);
    EXPECT_EQ(c.state.Grades.size(), 4);
    // Another race without its files: no ranks, no runners.
    c.run(1);
    EXPECT_TRUE(c.state.PredRank[1].isEmpty());
    EXPECT_EQ(c.state.HorseCount, 0);
    EXPECT_EQ(c.state.Grades.size(), 1);
}

TEST(RaceSelection, PendingRaceIdsCountOnlyRacesWithoutOfficialResults) {
    const QList<QByteArray> ids =
        viewer::PendingRaceIds({ra(kA, '2'), ra(kB, '2'), ra(kA, '7'), ra("202412080101", '2')});
    EXPECT_EQ(ids, (QList<QByteArray>{kB, "202412080101"}));
}
