// One race key type builds every RaceID, DayKey and RaceKey16, from a
// JV-Data record's race key or from a run slot of a runner record.
#include "common/fixed_text.h"
#include "jvdata/records.h"
#include "prediction/race_key.h"
#include "prediction/runner_record.h"

#include <gtest/gtest.h>

using namespace rw;
using prediction::RaceKey;

TEST(RaceKey, KeyTextsOfARecordAndOfARunnerSlot) {
    // The common head, then year, month-day, racecourse, meeting, day, race number.
    const QByteArray hr = "HR7" "20240629" "2024" "0629" "05" "03" "08" "11" + QByteArray(60, ' ');
    const RaceKey k = RaceKey::ofRecord(hr);
    EXPECT_EQ(k.raceId(), "202406290511");
    EXPECT_EQ(k.dayKey(), "20240629050308");
    EXPECT_EQ(k.raceKey16(), "2024062905030811");
    EXPECT_EQ(k.date(), "20240629");

    QByteArray runner(prediction::kRunnerRecordLength, '\0');
    const QByteArray slot2 = "2023" "1224" "06" "05" "08" "12";
    putFixed(runner, prediction::rr::RunRaceKey(2).pos, slot2.size(), slot2);
    EXPECT_EQ(RaceKey::ofRunner(runner, 2).raceKey16(), "2023122406050812");
    EXPECT_EQ(RaceKey::ofRunner(runner, 2).raceId(), "202312240612");
    EXPECT_EQ(RaceKey::ofRunner(runner).raceId(), QByteArray(12, '\0'));  // slot 0 never assigned

    // A record that ends inside its key gives the parts it holds.
    EXPECT_EQ(RaceKey::ofRecord(hr.left(17)).raceId(), "202406");
    for (const qsizetype length : {qsizetype(0), qsizetype(17), qsizetype(23), qsizetype(26), hr.size()})
        EXPECT_EQ(RaceKey::raceIdOfRecord(hr.left(length)), RaceKey::ofRecord(hr.left(length)).raceId()) << length;
}
