// One race key type builds every RaceID, DayKey and RaceKey16, from a
// JV-Data record's race key or from a key text.
#include "jvdata/race_key.h"

#include <gtest/gtest.h>

using namespace rw;
using jv::RaceKey;

TEST(RaceKey, KeyTextsOfARecord) {
    // The common head, then year, month-day, racecourse, meeting, day, race number.
    const QByteArray hr = "HR7" "20240629" "2024" "0629" "05" "03" "08" "11" + QByteArray(60, ' ');
    const RaceKey k = RaceKey::ofRecord(hr);
    EXPECT_EQ(k.raceId(), "202406290511");
    EXPECT_EQ(k.dayKey(), "20240629050308");
    EXPECT_EQ(k.raceKey16(), "2024062905030811");
    EXPECT_EQ(k.date(), "20240629");

    // A record that ends inside its key gives the items it holds.
    EXPECT_EQ(RaceKey::ofRecord(hr.left(17)).raceId(), "202406");
    for (const qsizetype length : {qsizetype(0), qsizetype(17), qsizetype(23), qsizetype(26), hr.size()})
        EXPECT_EQ(RaceKey::raceIdOfRecord(hr.left(length)), RaceKey::ofRecord(hr.left(length)).raceId()) << length;
}

TEST(RaceKey, PartsOfAKeyText) {
    const RaceKey k = RaceKey::ofKeyText("2023122406050812");
    EXPECT_EQ(k.raceKey16(), "2023122406050812");
    EXPECT_EQ(k.raceId(), "202312240612");
    EXPECT_EQ(k.course, "06");

    // A DayKey has no race number; one is set to make the RaceKey16.
    RaceKey day = RaceKey::ofKeyText("20231224060508");
    EXPECT_EQ(day.raceNo, "");
    EXPECT_EQ(day.dayKey(), "20231224060508");
    day.raceNo = "12";
    EXPECT_EQ(day.raceKey16(), "2023122406050812");
}
