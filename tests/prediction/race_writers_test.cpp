#include "prediction/race_writers.h"

#include "common/errors.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace rw::prediction;

TEST(RaceWriters, SlotsRunInOrderAndAFailingWriterDoesNotStopTheNext) {
    RaceWriterSlots w;
    std::vector<int> calls;
    for (int i = 0; i < kRaceWriterCount; ++i)
        if (i != 4) w.writer[size_t(i)] = [&calls, i](RunState&) { calls.push_back(i); };
    w[WriterSlot::WriteTanshoCsv] = [&calls](RunState& s) {
        calls.push_back(6);
        s.CurrentHR[0] = 'X';
        rw::fail("cannot open TANSHO file");
    };
    w[WriterSlot::WriteWordPressBlocks] = [&calls](RunState& s) {
        calls.push_back(s.CurrentHR[0] == 'X' ? 70 : 7);  // sees what the failed writer left
    };
    RunState s;
    s.RaceIndex = 3;
    rw::SkipLog log("test");
    CallRaceWriters(s, w, log);
    EXPECT_EQ(calls, (std::vector<int>{0, 1, 2, 3, 5, 6, 70, 8, 9, 10}));
    ASSERT_EQ(log.skipped().size(), 1u);
    EXPECT_NE(log.skipped()[0].find("WriteTanshoCsv (race 3)"), std::string::npos);
}

TEST(RaceWriters, EmptySlotsDoNothing) {
    RunState s;
    rw::SkipLog log("test");
    CallRaceWriters(s, RaceWriterSlots{}, log);
    EXPECT_TRUE(log.empty());
}
