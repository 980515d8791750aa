#include "model/speeds.h"

#include "common/errors.h"
#include "ex_fixture.h"

#include <gtest/gtest.h>

using namespace rw::model;
using rwtest::exRecord;

namespace {

struct SpeedCase {
    const char* what;
    const char* track;
    const char* distance;
    const char* time;
    const char* last3f;
    const char* agari;
    const char* pace;
    const char* soha;
};

}  // namespace

TEST(MeasuredSpeeds, TextsOfEachCase) {
    const SpeedCase cases[] = {
        {"flat mile", "11", "1600", "1345", "345", "6260869", "6000000", "6095238"},
        {"jump: 200 m final section", "54", "3000", "3200", "345", "2086956", "6090634", "5400000"},
        {"last three furlongs 000", "11", "1600", "1345", "000", "0000000", "0000000", "6095238"},
        {"no last three furlongs", "11", "1600", "1345", "   ", "       ", "       ", "6095238"},
        {"track 30: neither flat nor jump", "30", "1600", "1345", "345", "0000000", "0000000", "6095238"},
        {"track 50: neither flat nor jump", "50", "1600", "1345", "345", "0000000", "0000000", "6095238"},
        {"track 00", "00", "1600", "1345", "345", "0000000", "0000000", "6095238"},
        {"run time 0000", "11", "1600", "0000", "   ", "       ", "       ", "0000000"},
        {"run time blank", "11", "1600", "    ", "   ", "       ", "       ", "0000000"},
        // One single division for 上がり: a double quotient would end in 2.
        {"上がり in single", "11", "1600", "1345", "303", "7128713", "5607476", "6095238"},
        // q = (D − 600) / (T − L3), then q × 36, each in single: one double
        // step would end in 3.
        {"ペース step order", "11", "1000", "0550", "337", "6409495", "6760562", "6545454"},
        // 走破: q = D / T, then q × 36: one double step would end in 8.
        {"走破 step order", "11", "1000", "0568", "   ", "       ", "       ", "6338027"},
        // Slower than the final section: a negative pace wraps.
        {"negative pace wraps", "11", "1000", "0550", "600", "3600000", "8800000", "6545454"},
    };
    for (const SpeedCase& c : cases) {
        const QByteArray r = exRecord({{ex::TrackCode, c.track},
                                       {ex::Distance, c.distance},
                                       {ex::RaceTime, c.time},
                                       {ex::Last3FTime, c.last3f}});
        EXPECT_EQ(AgariSpeed(r), c.agari) << c.what;
        EXPECT_EQ(PaceSpeed(r), c.pace) << c.what;
        EXPECT_EQ(SohaSpeed(r), c.soha) << c.what;
    }
}

TEST(MeasuredSpeeds, SpeedTextAndItsReading) {
    EXPECT_EQ(SevenDigitSpeedText(62.608696f), "6260869");
    EXPECT_EQ(SevenDigitSpeedText(0.0f), "0000000");
    EXPECT_EQ(SevenDigitSpeedText(-0.5f), "9950000");
    EXPECT_EQ(SevenDigitSpeedText(123.5f), "2350000");  // the hundreds digit is lost
    EXPECT_DOUBLE_EQ(SpeedValue("6260869"), 62.60869);
    EXPECT_EQ(SpeedValue("       "), 0.0);
    EXPECT_EQ(SpeedValue(QByteArray(7, '\0')), 0.0);
}

TEST(MeasuredSpeeds, GarbledTimesFail) {
    const QByteArray equalTimes = exRecord({{ex::RaceTime, "0345"}, {ex::Last3FTime, "345"}});
    EXPECT_THROW(PaceSpeed(equalTimes), rw::StepFailure);
    EXPECT_EQ(AgariSpeed(equalTimes), "6260869");
    EXPECT_THROW(AgariSpeed(exRecord({{ex::Last3FTime, "3a5"}})), rw::StepFailure);
    EXPECT_THROW(PaceSpeed(exRecord({{ex::Distance, "    "}})), rw::StepFailure);
    EXPECT_THROW(SohaSpeed(exRecord({{ex::Distance, "16a0"}})), rw::StepFailure);
    EXPECT_THROW(SohaSpeed(exRecord({{ex::RaceTime, "1a45"}})), rw::StepFailure);
    // No distance is read where the speed is 0 by rule.
    EXPECT_EQ(PaceSpeed(exRecord({{ex::Distance, "    "}, {ex::TrackCode, "30"}})), "0000000");
}
