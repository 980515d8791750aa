#include "week_fixture.h"

#include "support/recording_ui.h"
#include "common/errors.h"
#include "common/text_file.h"
#include "prediction/prediction_run.h"
#include "prediction/race_list.h"
#include "prediction/runner_record.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace rw::prediction;
using namespace predtest;
using rwtest::sj;

namespace {
RunState run(rwtest::AppFolder&) {
    RunState s;
    rw::RecordingUi ui;
    rw::SkipLog log("test");
    EXPECT_TRUE(RunPrediction(ui, s, RaceWriterSlots{}, log));
    return s;
}
QByteArray K(int race, const char* course = "05", const char* date = "20241207") { return key16(date, course, race); }
}  // namespace

TEST(PredictionMode, TheLastRaceRecordDecides) {
    struct Case {
        char lastKind;
        int mode;
    };
    for (const Case c : {Case{'7', 1}, Case{'6', 0}, Case{'2', 0}}) {
        rwtest::AppFolder app;
        writeWeek(app, {{K(1), {60}, {.kind = '7'}}, {K(2), {60}, {.kind = c.lastKind}}});
        EXPECT_EQ(run(app).ResultsMode, c.mode) << c.lastKind;
    }
}

TEST(PredictionMode, AnEmptyRaceFileListsNoRace) {
    rwtest::AppFolder app;
    writeWeek(app, {});
    const RunState s = run(app);
    EXPECT_EQ(s.ResultsMode, 0);
    EXPECT_EQ(s.RaceCount, 0);
    EXPECT_TRUE(s.List1.isEmpty());
    EXPECT_EQ(app.read("RACETHISWEEKN.dat"), QByteArray());
    EXPECT_EQ(app.read("RACETHISWEEKNSYOSAI.dat"), QByteArray());
    EXPECT_EQ(app.read("SOKUDO\\RACEID.txt"), QByteArray());
}

TEST(RaceList, NormalModeListsKindsTwoToSixAndARaceWithTwoKindsTwice) {
    rwtest::AppFolder app;
    writeWeek(app, {{K(1), {60}, {.kind = '1'}}, {K(2), {60}, {.kind = '7'}}, {K(3), {60, 61}, {.kind = '2'}},
                    {K(3), {}, {.kind = '5'}}, {K(12), {60}, {.kind = '5'}}});
    const RunState s = run(app);
    ASSERT_EQ(s.RaceCount, 3);
    EXPECT_EQ(s.RaceIdList, (QList<QByteArray>{"", "202412070503", "202412070503", "202412070512"}));
    EXPECT_EQ(app.read("RACETHISWEEKN.dat"), "\"202412070503\"\r\n\"202412070503\"\r\n\"202412070512\"\r\n");
    // Both entries name one runner file, with both runners.
    EXPECT_EQ(app.read("RACE\\202412070503.dat").size(), 2 * kRunnerRecordLength);
    EXPECT_EQ(s.RaceTable[1][rt::RaceNoText], "3");
    EXPECT_EQ(s.RaceTable[3][rt::RaceNoText], "12");
    EXPECT_EQ(s.RaceTable[3][rt::RaceNum], "12");
    EXPECT_EQ(s.List1[0], QStringLiteral("2024年12月07日05東京05回03日03R") + QString(9, u' ') + "202412070503");
    EXPECT_EQ(app.read("SOKUDO\\RACEID.txt"), "2024120705050303\r\n2024120705050303\r\n2024120705050312\r\n");
}

TEST(RaceList, DetailRowColumnsFromTheRaceRecordAndTheCodeTable) {
    rwtest::AppFolder app;
    QByteArray blanks12;
    for (int i = 0; i < 12; ++i) blanks12 += "\x81\x40";
    writeWeek(app, {{K(1), {60}, {.track = "24", .title = blanks12 + sj("後ろ")}},
                    {K(2), {60}, {.track = "52", .title = sj("短い名")}}});
    const RunState s = run(app);
    const QList<QByteArray> lines = rw::readLines(app.file("RACETHISWEEKNSYOSAI.dat"));
    ASSERT_EQ(lines.size(), 2);
    auto q = [](const QByteArray& v) { return "\"" + v + "\""; };
    const QByteArray common = q(sj("サラ系２歳")) + "," + q(sj("新馬")) + "," + q(sj("Ｇ１レー")) + ",";
    // Dirt track "24": the dirt going follows the weather.
    EXPECT_EQ(lines[0], "\"202412070501\",\"1\",\"1025\",\"01\",\"\"," + common + q(sj("ダ")) + ",\"1600\",\"SD\"," +
                            q(sj("晴稍重")));
    // Jump track "52": the turf going; a short title keeps its blanks up to 12 characters.
    EXPECT_EQ(lines[1], "\"202412070502\",\"2\",\"1025\",\"02\"," + q(sj("短い名") + QByteArray(9, ' ')) + "," + common +
                            q(sj("障")) + ",\"1600\",\"SD\"," + q(sj("晴良")));
    // RaceTable holds the rows read back, the weather and going then from the last runner.
    EXPECT_EQ(s.RaceTable[1][rt::RaceName], QByteArray());
    EXPECT_EQ(s.RaceTable[2][rt::TrackName], sj("障"));
    EXPECT_EQ(s.RaceTable[1][rt::WeatherGoing], sj("晴良"));
}

TEST(RaceList, ResultsModeListsOneRacePerPayoffWithOneAlignedDetailRowEach) {
    rwtest::AppFolder app;
    // Races 1 and 2 have a kind "2" and a kind "7" record; the payoffs come
    // in another order, and one payoff has no race record.
    writeWeek(app,
              {{K(1), {60}, {.kind = '2'}}, {K(1), {}, {.kind = '7', .distance = "2000"}}, {K(2), {61}, {.kind = '2'}},
               {K(2), {}, {.kind = '7', .distance = "1800"}}},
              true, {K(2), K(9), K(1)});
    const RunState s = run(app);
    ASSERT_EQ(s.ResultsMode, 1);
    ASSERT_EQ(s.RaceCount, 3);
    EXPECT_EQ(s.RaceIdList, (QList<QByteArray>{"", "202412070502", "202412070509", "202412070501"}));
    EXPECT_EQ(s.RaceTable[1][rt::RaceId], "202412070502");
    EXPECT_EQ(s.RaceTable[1][rt::Distance], "1800");  // from the last race record
    for (int c = rt::RaceId; c <= rt::Distance; ++c)  // no race record: no detail values
        EXPECT_EQ(s.RaceTable[2][size_t(c)], QByteArray());
    EXPECT_EQ(s.RaceTable[3][rt::RaceId], "202412070501");
    EXPECT_EQ(s.RaceTable[3][rt::Distance], "2000");
    EXPECT_EQ(rw::readLines(app.file("RACETHISWEEKNSYOSAI.dat")).size(), 2);
    EXPECT_EQ(app.read("SOKUDO\\RACEID.txt"), "2024120705050302\r\n2024120705050301\r\n");
    EXPECT_TRUE(s.List1[1].endsWith(QString(10, u' ') + "202412070509"));
    EXPECT_TRUE(app.exists("RACE\\202412070509.dat"));
}

TEST(RaceList, ARaceIdThatIsNotTwelveDigitsIsNotListed) {
    rwtest::AppFolder app;
    writeWeek(app, {{"2024120X05050301", {60}}, {K(2), {60}}});
    RunState s;
    rw::RecordingUi ui;
    rw::SkipLog log("test");
    RunPrediction(ui, s, RaceWriterSlots{}, log);
    EXPECT_EQ(s.RaceIdList, (QList<QByteArray>{"", "202412070502"}));
    ASSERT_FALSE(log.empty());
    EXPECT_NE(log.skipped()[0].find("2024120X0501"), std::string::npos);
}

TEST(RaceList, ASecondRunProducesTheSameFiles) {
    rwtest::AppFolder app;
    writeWeek(app, {{K(1), {60, 62, -1, 58}}, {K(2), {61, 61}}, {K(3), {}}});
    run(app);
    const auto first = rwtest::filesUnder(app.path());
    run(app);
    EXPECT_TRUE(first == rwtest::filesUnder(app.path()));
}

TEST(PredictionMode, ARaceFileThatCannotBeReadIsNamed) {
    rwtest::AppFolder app;
    writeWeek(app, {{K(1), {60}, {.kind = '7'}}});
    const QString path = app.file(QStringLiteral("RATHISWEEKNNEW.dat"));
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QDir().mkpath(path));  // a folder where the race file belongs
    RunState s;
    s.ResultsMode = 1;
    try {
        DecideResultsMode(s);
        ADD_FAILURE() << "a folder read as the race file";
    } catch (const rw::StepFailure& e) {
        EXPECT_NE(std::string(e.what()).find("RATHISWEEKNNEW.dat"), std::string::npos) << e.what();
    }
    EXPECT_EQ(s.ResultsMode, 0);
}
