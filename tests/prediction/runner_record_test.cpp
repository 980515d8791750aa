// The race key of a run slot of a runner record.
#include "common/fixed_text.h"
#include "prediction/runner_record.h"

#include <gtest/gtest.h>

using namespace rw;

TEST(RunnerRaceKey, KeyTextsOfARunSlot) {
    QByteArray runner(prediction::kRunnerRecordLength, '\0');
    const QByteArray slot2 = "2023" "1224" "06" "05" "08" "12";
    putFixed(runner, prediction::rr::RunRaceKey(2).pos, slot2.size(), slot2);
    EXPECT_EQ(prediction::RunnerRaceKey(runner, 2).raceKey16(), "2023122406050812");
    EXPECT_EQ(prediction::RunnerRaceKey(runner, 2).raceId(), "202312240612");
    EXPECT_EQ(prediction::RunnerRaceKey(runner).raceId(), QByteArray(12, '\0'));  // slot 0 never assigned
    // A record that ends inside the key gives the items it holds.
    EXPECT_EQ(prediction::RunnerRaceKey(runner.left(32 + 8), 2).raceId(), "20231224");
}
