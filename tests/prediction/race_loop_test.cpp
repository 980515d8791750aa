#include "week_fixture.h"

#include "app/prediction_load.h"
#include "support/recording_ui.h"
#include "common/errors.h"
#include "common/paths.h"
#include "common/text_file.h"
#include "prediction/prediction_run.h"
#include "prediction/race_loop.h"
#include "prediction/run_files.h"
#include "prediction/runner_record.h"

#include <gtest/gtest.h>

using namespace rw::prediction;
using namespace predtest;
using rwtest::sj;

namespace {
QByteArray K(int race, const char* course = "05", const char* date = "20241207", const char* day = "03") {
    return key16(date, course, race, "05", day);
}
// Runs the week written into `app`, the current application folder.
RunState runWeek(rwtest::AppFolder& /*app*/, const RaceWriterSlots& writers = {}, rw::RecordingUi* ui = nullptr) {
    RunState s;
    rw::RecordingUi own;
    rw::SkipLog log("test");
    EXPECT_TRUE(RunPrediction(ui ? *ui : own, s, writers, log));
    return s;
}
qsizetype lines(const rwtest::AppFolder& app, const QString& name) { return rw::readLines(app.file(name)).size(); }
QList<float> equal(int n, float v = 60) { return QList<float>(n, v); }
}  // namespace

TEST(RaceLoop, PairsTriosAndTheLinesOfEveryFileByRunnerCount) {
    struct Case {
        int runners, umaren, wide, umatan, sanrenpuku, sanrentan;
    };
    const Case cases[] = {{18, 7, 3, 14, 10, 60}, {4, 6, 3, 12, 4, 24}, {2, 1, 1, 2, 0, 0}, {1, 0, 0, 0, 0, 0}};
    for (const Case& c : cases) {
        rwtest::AppFolder app;
        QList<float> speeds;
        for (int h = 0; h < c.runners; ++h) speeds.append(55.0f + float(h % 7));
        writeWeek(app, {{K(11, "06"), speeds}});
        const RunState s = runWeek(app);
        const int n = c.runners, pairs = n * (n - 1) / 2, trios = n * (n - 1) * (n - 2) / 6;
        EXPECT_EQ(s.PairCount, pairs);
        EXPECT_EQ(s.TrioCount, trios);
        EXPECT_EQ(lines(app, "KAIME\\202412070611.dat"), n + pairs + trios);
        EXPECT_EQ(lines(app, "KAIME\\202412070611SORT.dat"), n);
        EXPECT_EQ(lines(app, "KAIME\\202412070611LUPSORT.dat"), n);
        EXPECT_EQ(lines(app, "KAIME\\202412070611UMARENSORT.dat"), pairs);
        EXPECT_EQ(lines(app, "KAIME\\202412070611UMATANSORT.dat"), pairs);
        EXPECT_EQ(lines(app, "KAIME\\202412070611SANRENSORT.dat"), trios);
        EXPECT_EQ(lines(app, "KAIME\\202412070611SANRENTANSORT.dat"), trios);
        const QString name = QStringLiteral("241207中山11R.csv");
        int counts[5];
        int i = 0;
        for (const char* folder : {"UMAREN", "WIDE", "UMATAN", "SANRENPUKU", "SANRENTAN"}) {
            ASSERT_TRUE(app.exists(QString::fromLatin1(folder) + "\\" + name)) << folder;
            const QList<QByteArray> l = rw::readLines(app.file(QString::fromLatin1(folder) + "\\" + name));
            for (const QByteArray& line : l) EXPECT_FALSE(line.contains(",,")) << line.constData();
            counts[i++] = int(l.size());
        }
        EXPECT_EQ((std::array<int, 5>{counts[0], counts[1], counts[2], counts[3], counts[4]}),
                  (std::array<int, 5>{c.umaren, c.wide, c.umatan, c.sanrenpuku, c.sanrentan}))
            << n << " runners";
    }
}

TEST(RaceLoop, EqualSpeedsRankInTheOrderOfTheQuicksort) {
    rwtest::AppFolder app;
    writeWeek(app, {{K(1), equal(2)}, {K(2), equal(5)}});
    RaceWriterSlots w;
    QList<QList<QByteArray>> ranked;
    w[WriterSlot::WriteShutsubahyoFile] = [&](RunState& s) { ranked.append(s.RankedHorse.mid(1)); };
    runWeek(app, w);
    ASSERT_EQ(ranked.size(), 2);
    EXPECT_EQ(ranked[0], (QList<QByteArray>{"02", "01"}));
    EXPECT_EQ(ranked[1], (QList<QByteArray>{"04", "05", "03", "01", "02"}));
    // 馬単 and 3連単 keep the smaller number first on equal speeds.
    for (const QByteArray& l : rw::readLines(app.file("KAIME\\202412070502UMATANSORT.dat"))) {
        const QByteArray combo = l.split(',')[2];
        EXPECT_LT(combo.mid(1, 2), combo.mid(3, 2)) << l.constData();
    }
    for (const QByteArray& l : rw::readLines(app.file("KAIME\\202412070502SANRENTANSORT.dat"))) {
        const QByteArray combo = l.split(',')[2];
        EXPECT_TRUE(combo.mid(1, 2) < combo.mid(3, 2) && combo.mid(3, 2) < combo.mid(5, 2)) << l.constData();
    }
}

TEST(RaceLoop, RunnersAtSixtyToSixtyFourKilometresPerHour) {
    rwtest::AppFolder app;
    writeWeek(app, {{K(1), {60, 61, 62, 63, 64}}});
    const RunState s = runWeek(app);
    EXPECT_EQ(rw::readLines(app.file("KAIME\\202412070501UMARENSORT.dat"))[0], "\"202412070501\",\"Umaren\",\"0405\",127");
    EXPECT_EQ(rw::readLines(app.file("KAIME\\202412070501UMATANSORT.dat"))[0], "\"202412070501\",\"Umatan\",\"0504\",127");
    EXPECT_EQ(rw::readLines(app.file("KAIME\\202412070501SANRENSORT.dat"))[0],
              "\"202412070501\",\"Sanrenpuke\",\"030405\",189");
    EXPECT_EQ(rw::readLines(app.file("KAIME\\202412070501SANRENTANSORT.dat"))[0],
              "\"202412070501\",\"sanrentan\",\"050403\",189");
    EXPECT_EQ(s.PairBetsAsc[1], "0405");
    EXPECT_EQ(s.TrioBetsAsc[1], "030405");
    const QList<QByteArray> score = rw::readLines(app.file("KAIME\\202412070501.dat"));
    EXPECT_EQ(score[0], "\"202412070501\",1,60,60,0");
    EXPECT_EQ(score[5], "\"202412070501\",\"Umaren\",\"0102\",121,121,0");
    EXPECT_EQ(score[15], "\"202412070501\",\"Sanrenpuku\",\"010203\",183,183,0");
}

TEST(RaceLoop, SpeedToTimeTextExamples) {
    EXPECT_EQ(SpeedToTimeText(60.0f, "1600"), "1.36.00");
    EXPECT_EQ(SpeedToTimeText(58.5f, "1200"), "1.13.84");
    EXPECT_EQ(SpeedToTimeText(59.1f, "2000"), "2.01.82");
    EXPECT_THROW(SpeedToTimeText(0.0f, "1600"), rw::StepFailure);
    EXPECT_THROW(SpeedToTimeText(60.0f, "    "), rw::StepFailure);
}

TEST(RaceLoop, HorseTextsBeforeAndAfterTheRace) {
    rwtest::AppFolder app;
    RunOptions before;
    before.raceTime = "0000", before.arrival = "00", before.finish = "00", before.popularity = "00";
    RunOptions after;  // 1345, 03, 03, 02, 345
    writeWeek(app, {{K(1), {60.0f}, {}, before}, {K(2), {60.0f, 0.0f}, {}, after}});
    RaceWriterSlots w;
    QList<QList<QByteArray>> seen;
    w[WriterSlot::WriteShutsubahyoFile] = [&](RunState& s) {
        seen.append({s.ActualTimeText[1], s.ActualLast3FText[1], s.ArrivalOrder[1], s.FinishPos[1], s.Popularity[1],
                     s.PredLast3FText[1], s.PredTimeText[1]});
        if (s.HorseCount == 2) seen.append({s.PredTimeText[2], s.PredLast3FText[2]});
    };
    runWeek(app, w);
    ASSERT_EQ(seen.size(), 3);
    // Result(3) is the composite speed + 2: 62.0 km/h on the flat gives 34.83.
    EXPECT_EQ(seen[0], (QList<QByteArray>{"    ", "", " 0", "**", " 0", "34.83", "1.36.00"}));
    EXPECT_EQ(seen[1], (QList<QByteArray>{"1.34.5 ", "34.5 ", " 3", "03", " 2", "34.83", "1.36.00"}));
    EXPECT_EQ(seen[2], (QList<QByteArray>{"", "10.80"}));  // speed 0: no time; Result(3) 2.0
}

TEST(RaceLoop, SpeedZeroGivesAnEmptyTimeAndZeroPoint) {
    rwtest::AppFolder app;
    writeWeek(app, {{K(1), {60.0f, -1, 61.0f}}});  // horse 2 is a gap: no expanded record
    RaceWriterSlots w;
    QList<QByteArray> seen;
    w[WriterSlot::WriteShutsubahyoFile] = [&](RunState& s) { seen = {s.PredTimeText[2], s.PredLast3FText[2]}; };
    runWeek(app, w);
    EXPECT_EQ(seen, (QList<QByteArray>{"", "0."}));
    // The never-assigned items reach the sort files as blanks.
    const QByteArray sort = app.read("KAIME\\202412070501SORT.dat");
    EXPECT_FALSE(sort.contains('\0'));
    EXPECT_EQ(rw::readLines(app.file("KAIME\\202412070501SORT.dat"))[1].toStdString(),
              "2,\" \",\" 2\",\" 3\",\"\",\"  \",\"         \",\"  . \",\"A\",\"A\",\"A\",\"A\",\"    \",\"\",\" 0\"");
}

TEST(RaceLoop, SpreadAndSpeedInMetresPerMinute) {
    rwtest::AppFolder app;
    writeWeek(app, {{K(1), {60, 61, 62}}, {K(2), {59.9f, 60.75f}}, {K(3), equal(3)}, {K(4), {}}});
    const RunState s = runWeek(app);
    EXPECT_EQ(s.RaceTable[1][rt::SD], "13");
    EXPECT_EQ(s.RaceTable[3][rt::SD], " 0");
    EXPECT_EQ(s.RaceTable[4][rt::SD], " 0");
    const QList<QByteArray> sort = rw::readLines(app.file("KAIME\\202412070502SORT.dat"));
    EXPECT_TRUE(sort[0].endsWith("\" 998\"")) << sort[0].constData();
    EXPECT_TRUE(sort[1].endsWith("\"1012\"")) << sort[1].constData();
}

TEST(RaceLoop, FixedArraysKeepEarlierRacesBeyondTheFieldAndGrowPastEighteen) {
    rwtest::AppFolder app;
    QList<float> sixteen = equal(16), twenty = equal(20);
    writeWeek(app, {{K(1), twenty, {}, {.finish = "05"}}, {K(2), sixteen, {}, {.finish = "02"}},
                    {K(3), equal(8), {}, {.finish = "07"}}});
    const RunState s = runWeek(app);
    ASSERT_EQ(s.FinishPos.size(), 21);
    EXPECT_EQ(s.FinishPos[8], "**");
    EXPECT_EQ(s.FinishPos[9], "02");
    EXPECT_EQ(s.FinishPos[16], "02");
    EXPECT_EQ(s.FinishPos[20], "05");
    EXPECT_EQ(s.PredRank[20], " 7");  // equal speeds: the quicksort's order
}

TEST(RaceLoop, BetImportFileNameAndFirstLine) {
    rwtest::AppFolder app;
    QList<float> speeds = equal(12, 55);
    speeds[2] = 64, speeds[11] = 63;
    writeWeek(app, {{K(11, "06"), speeds}});
    runWeek(app);
    EXPECT_EQ(rw::readLines(app.file(QStringLiteral("UMAREN\\241207中山11R.csv")))[0], "20241207,06,11,04,03-12,100");
    EXPECT_EQ(rw::readLines(app.file(QStringLiteral("UMATAN\\241207中山11R.csv"))).mid(0, 2),
              (QList<QByteArray>{"20241207,06,11,06,03-12,100", "20241207,06,11,06,12-03,100"}));
    EXPECT_EQ(BetImportLine("202412070611", "01", "05"), "20241207,06,11,01,05,100");
}

// A course name read from a record names no file when any character of it
// could not stand in a file name, DEL among them.
TEST(RaceLoop, BetImportFileRefusesCourseNamesNoFileCanHold) {
    rwtest::AppFolder app;
    EXPECT_EQ(BetImportFile(u"UMAREN", "202412070611", "Tokyo"),
              app.file(QStringLiteral("UMAREN\\241207Tokyo11R.csv")));
    for (const char* bad : {"Tok\x7Fyo", "Tok\x1Fyo", "Tok/yo", "..", "Tok|yo"})
        EXPECT_THROW(BetImportFile(u"UMAREN", "202412070611", bad), rw::StepFailure) << rw::printable(bad);
}

TEST(RaceLoop, WritersFindTheRaceCompleteOnDiskAndTheCountersPinned) {
    rwtest::AppFolder app;
    writeWeek(app, {{K(1), equal(4)}, {K(2), equal(3)}}, true, {K(2), K(1)});
    RaceWriterSlots w;
    QList<QList<qint64>> seen;
    w[WriterSlot::WriteShutsubahyoFile] = [&](RunState& s) {
        const QByteArray id = s.RaceIdList[s.RaceIndex];
        seen.append({s.RaceIndex, s.HorseCount, s.CurIndex, s.CurSubIndex, s.EntryIndex,
                     rw::member(s.CurrentHR, 26, 2).toInt(), rw::member(s.CurrentHorse, rr::HorseNo(0).pos, 2).toInt(),
                     qint64(rw::readLines(app.file("KAIME\\" + QString::fromLatin1(id) + "SANRENTANSORT.dat")).size()),
                     qint64(rw::readLines(app.file("KAIME\\" + QString::fromLatin1(id) + ".dat")).size())});
        s.CurIndex = s.CurSubIndex = s.EntryIndex = -5;
    };
    rw::RecordingUi ui;
    runWeek(app, w, &ui);
    ASSERT_EQ(seen.size(), 2);
    // Normal mode: payoff record RaceIndex belongs to another race.
    EXPECT_EQ(seen[0], (QList<qint64>{1, 4, 11, 5, 5, 2, 4, 4, 4 + 6 + 4}));
    EXPECT_EQ(seen[1], (QList<qint64>{2, 3, 11, 4, 4, 1, 3, 1, 3 + 3 + 1}));
    EXPECT_EQ(ui.texts.value(QStringLiteral("KESF1THISWEEKNZ.Text5")), QStringLiteral("20241207東京02R予想中"));
    EXPECT_EQ(ui.eventTurns, 2);
}

namespace {
// Stub judging writers: the rank-1 horse wins races 1, 5 and 9 paying 510
// each; 馬連 本線 hits twice paying 1,200 and 800.
RaceWriterSlots judging() {
    RaceWriterSlots w;
    w[WriterSlot::WriteTekichuUpload] = [](RunState& s) {
        const int race = rw::member(s.CurrentHR, 26, 2).toInt();
        if (race == 3 || race == 7) {
            s.TierHitTotals.Umaren.TierHits[1] += 1;
            s.TierHitTotals.Umaren.TierPay[1] += race == 3 ? 1200 : 800;
        }
    };
    w[WriterSlot::WritePcRaceBlock] = [](RunState& s) {
        const int race = rw::member(s.CurrentHR, 26, 2).toInt();
        if (race == 1 || race == 5 || race == 9) s.PcTicketStats.Tansho1.HitCount += 1, s.PcTicketStats.Tansho1.PaySum += 510;
    };
    return w;
}
QList<QByteArray> ratesOf(const rwtest::AppFolder& app, const char* day, const char* file) {
    return rw::readLines(app.file(QStringLiteral("TEKICHU\\") + QLatin1String(day) + QLatin1String(file)));
}
}  // namespace

TEST(RateFiles, ACourseDayOfTwelveRaces) {
    rwtest::AppFolder app;
    QList<Race> races;
    for (int r = 1; r <= 12; ++r) races.append({K(r), equal(3), {.kind = r == 12 ? '7' : '2'}});
    writeWeek(app, races);
    runWeek(app, judging());
    const QList<QByteArray> pc = ratesOf(app, "20241207050503", "kaitekiPC.txt");
    ASSERT_EQ(pc.size(), 8);
    EXPECT_EQ(pc[0], sj("\"2024年\",\"12月\",\"07日\",\"5回\",\"東京\",\"3日目\""));
    EXPECT_EQ(pc[2], sj("\"予想R数\",12,12,12,12,12,12,12,12,12,12,12"));
    EXPECT_EQ(pc[3], sj("\"的中R数\",3,0,0,0,0,0,0,0,0,0,0"));
    EXPECT_EQ(pc[4], sj("\"的中率\",25,0,0,0,0,0,0,0,0,0,0"));
    EXPECT_EQ(pc[5], sj("\"購入点数\",12,12,12,12,0,0,0,0,0,0,0"));
    EXPECT_EQ(pc[7], sj("\"回収率\",127.5,0,0,0,0,0,0,0,0,0,0"));
    const QList<QByteArray> k = ratesOf(app, "20241207050503", "kaiteki.txt");
    ASSERT_EQ(k.size(), 9);
    EXPECT_EQ(k[3], sj("\"馬連\",27.7,0,0,16.6,0,0"));
    EXPECT_EQ(k[8], sj("\"ワイド\",0,0,0,0,0,0"));
}

TEST(RateFiles, ACourseWithoutACodeTableRowIsNothingBetweenTheCommas) {
    rwtest::AppFolder app;
    writeWeek(app, {{K(1, "07"), equal(3), {.kind = '7'}}});
    runWeek(app, judging());
    // As the race card writes it: no value, not an empty quoted text.
    const QByteArray head = sj("\"2024年\",\"12月\",\"07日\",\"5回\",,\"3日目\"");
    EXPECT_EQ(ratesOf(app, "20241207070503", "kaiteki.txt").value(0), head);
    EXPECT_EQ(ratesOf(app, "20241207070503", "kaitekiPC.txt").value(0), head);
}

TEST(RateFiles, ResetAtRaceOneOnlyAndADayStartingAtRaceTwoContinues) {
    rwtest::AppFolder app;
    QList<Race> races;
    for (int r = 1; r <= 9; ++r) races.append({K(r), equal(3)});
    for (int r = 2; r <= 5; ++r) races.append({K(r, "06"), equal(3), {.kind = r == 5 ? '7' : '2'}});
    writeWeek(app, races);
    runWeek(app, judging());
    // Three wins in the first day; the second day starts at race 2, so its
    // totals continue: still 3 hits, now over R = 5.
    EXPECT_EQ(ratesOf(app, "20241207050503", "kaitekiPC.txt")[3], sj("\"的中R数\",3,0,0,0,0,0,0,0,0,0,0"));
    EXPECT_EQ(ratesOf(app, "20241207060503", "kaitekiPC.txt")[3], sj("\"的中R数\",4,0,0,0,0,0,0,0,0,0,0"));
    EXPECT_EQ(ratesOf(app, "20241207060503", "kaitekiPC.txt")[2], sj("\"予想R数\",5,5,5,5,5,5,5,5,5,5,5"));
}

TEST(RateFiles, NormalModeWritesNone) {
    rwtest::AppFolder app;
    writeWeek(app, {{K(1), equal(3)}});
    runWeek(app, judging());
    EXPECT_TRUE(rwtest::filesUnder(app.path() + "TEKICHU").empty());
}

TEST(RateFiles, ARaceWithoutRunnerRecordRewritesNoOtherDaysFiles) {
    rwtest::AppFolder app;
    // Race 1 of course 05 has runners; race 1 of course 06 has none and is
    // the last: it must not rewrite course 05's files with zeros.
    writeWeek(app, {{K(1), equal(3)}, {K(1, "06"), {}, {.kind = '7'}}});
    RaceWriterSlots w = judging();
    runWeek(app, w);
    EXPECT_EQ(ratesOf(app, "20241207050503", "kaitekiPC.txt")[3], sj("\"的中R数\",1,0,0,0,0,0,0,0,0,0,0"));
    EXPECT_FALSE(app.exists("TEKICHU\\20241207060503kaiteki.txt"));
}

TEST(PredictionGuard, ASecondRunDuringTheEventTurnsIsIgnored) {
    rwtest::AppFolder app;
    writeWeek(app, {{K(1), equal(3)}, {K(2), equal(3)}});
    rw::RecordingUi ui;
    int ignored = 0;
    ui.onEvents = [&] {
        RunState other;
        rw::SkipLog log("second");
        if (!RunPrediction(ui, other, {}, log)) ++ignored;
        if (!rw::app::PredictionButton(ui, [] { FAIL() << "opened during a run"; })) ++ignored;
        EXPECT_TRUE(ui.texts.value(QStringLiteral("KESF1THISWEEKNZ.Text5")).startsWith(QStringLiteral("他の処理の実行中")));
    };
    runWeek(app, {}, &ui);
    EXPECT_EQ(ignored, 4);
    // Once the run is over, the button runs again.
    ui.onEvents = nullptr;
    bool opened = false;
    EXPECT_TRUE(rw::app::PredictionButton(ui, [&] { opened = true; }));
    EXPECT_TRUE(opened);
    EXPECT_EQ(ui.texts.value(QStringLiteral("KESF1THISWEEKNZ.Text5")), QStringLiteral("予想･結果終了"));
}
