#include "prediction/race_writers.h"

#include <string>

namespace rw::prediction {

void CallRaceWriters(RunState& state, const RaceWriterSlots& writers, SkipLog& log) {
    for (int i = 0; i < kRaceWriterCount; ++i) {
        const RaceWriter& write = writers.writer[size_t(i)];
        if (!write) continue;
        std::string what(kRaceWriterNames[size_t(i)]);
        what += " (race " + std::to_string(state.RaceIndex) + ")";
        log.step(what, [&] { write(state); });
    }
}

}  // namespace rw::prediction
