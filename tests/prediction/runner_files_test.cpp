#include "week_fixture.h"

#include "support/recording_ui.h"
#include "prediction/prediction_run.h"
#include "prediction/runner_files.h"
#include "prediction/runner_record.h"

#include "common/text_file.h"

#include <gtest/gtest.h>

using namespace rw::prediction;
using namespace predtest;
using rw::getSingle;
using rw::member;

namespace {
QByteArray runsOf(int m, const QByteArray& reg, RunOptions o = {}) {
    QByteArray out;
    for (int j = 1; j <= m; ++j)
        out += exRecord(key16("20240601", "05", 1 + j % 12, "01", QByteArray::number(10 + j % 90).constData()), 1, reg, o);
    return out;
}
QList<QByteArray> split(const QByteArray& bytes, int len) {
    QList<QByteArray> r;
    for (qsizetype i = 0; i + len <= bytes.size(); i += len) r.append(bytes.mid(i, len));
    return r;
}
QByteArray fresh() {
    QByteArray r(kRunnerRecordLength, '\0');
    rw::putFixed(r, rr::RecordEnd.pos, 2, "\r\n");
    return r;
}
QByteArrayView at(const QByteArray& r, rw::recordlayout::Field f) { return member(r, f.pos, f.width); }
}  // namespace

TEST(RunnerFiles, ThreeExpandedRecordsFillSlotsZeroToTwoAndLeaveTheRestEmpty) {
    const QList<QByteArray> ex = split(runsOf(3, regNo(1)), 2603);
    QByteArray r = fresh();
    FillRunnerRecord(r, ex);
    for (int slot = 0; slot < 3; ++slot) {
        const QByteArray& e = ex[2 - slot];
        EXPECT_EQ(at(r, rr::RunRaceKey(slot)), member(e, ex::RaceKey16.pos, 16)) << slot;
        EXPECT_EQ(at(r, rr::JockeyShortName(slot)), member(e, ex::JockeyShortName.pos, 8));
        EXPECT_EQ(getSingle(r, rr::AgariW(slot, 23).pos), 23.25f);
        EXPECT_EQ(getSingle(r, rr::Result(slot, 6).pos), 60.0f);
    }
    for (int slot = 3; slot < kRunSlots; ++slot) {
        EXPECT_EQ(at(r, rr::RunRaceKey(slot)), QByteArray(16, '\0')) << slot;
        EXPECT_EQ(at(r, rr::TrackCode(slot)), QByteArray(2, '\0'));
    }
    for (int slot = 3; slot < kWeightSlots; ++slot)
        EXPECT_EQ(at(r, rr::Result(slot, 0)).toByteArray() + at(r, rr::PaceW(slot, 23)).toByteArray(), QByteArray(8, 0));
    EXPECT_EQ(at(r, rr::Age), "03");
    EXPECT_EQ(at(r, rr::DamSireName), QByteArray(36, '\0'));
    EXPECT_EQ(at(r, rr::SampleCounts(4)), "0000012");
    EXPECT_EQ(at(r, rr::Residual), QByteArray(4, '\0'));
    EXPECT_EQ(at(r, rr::RecordEnd), "\r\n");
}

TEST(RunnerFiles, SeventyExpandedRecordsPutRecordsSixToSeventyIntoSlotsSixtyFourToZero) {
    const QList<QByteArray> ex = split(runsOf(70, regNo(1)), 2603);
    QByteArray r = fresh();
    FillRunnerRecord(r, ex);
    EXPECT_EQ(at(r, rr::RunRaceKey(64)), member(ex[5], ex::RaceKey16.pos, 16));
    EXPECT_EQ(at(r, rr::RunRaceKey(0)), member(ex[69], ex::RaceKey16.pos, 16));
    EXPECT_EQ(at(r, rr::RunRaceKey(1)), member(ex[68], ex::RaceKey16.pos, 16));
    EXPECT_EQ(getSingle(r, rr::Result(65, 6).pos), 0.0f);
}

TEST(RunnerFiles, AgeIsTheLastTwoDigitsOfTheYears) {
    for (auto [birth, age] : {std::pair{"2014", "10"}, std::pair{"2021", "03"}}) {
        RunOptions o;
        o.birthYear = birth;
        QByteArray r = fresh();
        FillRunnerRecord(r, {exRecord(key16("20241207", "05", 1), 1, regNo(1), o)});
        EXPECT_EQ(at(r, rr::Age), age);
    }
}

TEST(RunnerFiles, HorseNumbersOneTwoFourGiveFourRecordsWithAZeroGap) {
    rwtest::AppFolder app;
    const QByteArray key = key16("20241207", "05", 1);
    writeWeek(app, {{key, {60, 61, -1, 62}, {}, {.track = "24"}}});
    RunState s;
    rw::RecordingUi ui;
    rw::SkipLog log("test");
    RunPrediction(ui, s, RaceWriterSlots{}, log);
    const QByteArray file = app.read("RACE\\202412070501.dat");
    ASSERT_EQ(file.size(), 4 * kRunnerRecordLength);
    const QList<QByteArray> recs = split(file, kRunnerRecordLength);
    EXPECT_EQ(recs[2], QByteArray(kRunnerRecordLength, '\0'));  // its CR LF included
    for (int i : {0, 1, 3}) {
        EXPECT_EQ(at(recs[i], rr::RecordEnd), "\r\n");
        EXPECT_EQ(at(recs[i], rr::HorseNo(0)), QByteArray::number(101 + i).right(2));
        EXPECT_EQ(at(recs[i], rr::RegistrationNo(0)), at(recs[i], rr::RegistrationNo(0)).toByteArray());
        EXPECT_EQ(at(recs[i], rr::HorseName).first(12), rwtest::sj("テストホース"));
    }
    // Built byte for byte: the identity from the entry, the rest from the expanded records.
    QByteArray expected = fresh();
    rw::putFixed(expected, rr::FrameNo(0).pos, 1, "2");
    rw::putFixed(expected, rr::HorseNo(0).pos, 2, "04");
    rw::putFixed(expected, rr::RegistrationNo(0).pos, 10, regNo(3));
    rw::putFixed(expected, rr::HorseName.pos, 36, rwtest::sj("テストホース4"));
    RunOptions o;
    o.composite = 62;
    o.track = "24";
    FillRunnerRecord(expected, {exRecord(key, 4, regNo(3), o)});
    EXPECT_EQ(recs[3], expected);
    // Dirt track "24": weather and the dirt going of the last horse.
    EXPECT_EQ(s.RaceTable[1][rt::WeatherGoing], rwtest::sj("晴重"));
}

TEST(RunnerFiles, WeatherAndGoingFromSlotZeroWithTheDirtRangeToFortyNine) {
    CodeTable codes;
    FillCodeTable(codes, rw::splitValues(codeTable()));
    for (auto [track, going] : {std::pair{"22", "良"}, std::pair{"23", "重"}, std::pair{"49", "重"}, std::pair{"52", "良"}}) {
        RunOptions o;
        o.track = track;
        QByteArray r = fresh();
        FillRunnerRecord(r, {exRecord(key16("20241207", "05", 1), 1, regNo(1), o)});
        EXPECT_EQ(RunnerWeatherGoing(codes, r), rwtest::sj("晴") + rwtest::sj(going)) << track;
    }
}

TEST(RunnerFiles, ARegistrationNumberThatIsNotTenDigitsNamesNoFile) {
    rwtest::AppFolder app;
    makeFolders(app);
    const QByteArray key = key16("20241207", "05", 1);
    app.write("RATHISWEEKNNEW.dat", raRecord(key));
    app.write("SETHISWEEKNNEW.dat", seRecord(key, 1, "..\\..\\x12") + seRecord(key, 2, regNo(2)));
    RunState s;
    rw::RecordingUi ui;
    rw::SkipLog log("test");
    RunPrediction(ui, s, RaceWriterSlots{}, log);
    EXPECT_EQ(app.read("RACE\\202412070501.dat").size(), 2 * kRunnerRecordLength);
    bool reported = false;
    for (const auto& l : log.skipped()) reported |= l.find("is not 10 digits") != std::string::npos;
    EXPECT_TRUE(reported);
}
