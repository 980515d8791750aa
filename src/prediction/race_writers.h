#pragma once
// YOSOKEKKATHISWEEKNZ: the hand-off of every race to the eleven per-race
// writers. The writers live in reports and publish, above this folder, so
// the run receives them as slots, filled in one place of the application
// (app/race_writers.h); an empty slot does nothing.
//
// A writer is a procedure of the run's state and nothing else: it reads the
// race from the state (RaceIndex, HorseCount, RaceTable, HorseArrays,
// BetLists, CurrentHR, CurrentHorse …), uses CurIndex, CurSubIndex and
// EntryIndex as its own counters and throws (StepFailure) where a statement
// of it fails; that abandons the rest of that writer only.
#include "common/skip.h"
#include "prediction/run_state.h"

#include <array>
#include <functional>
#include <string_view>

namespace rw::prediction {

using RaceWriter = std::function<void(RunState&)>;

// The writers in the order they are called for every race.
enum class WriterSlot : int {
    WriteShutsubahyoFile = 0,  // race-card file in SHUTSUBAHYO
    WriteTekichuUpload,        // upload day file in TEKICHU; judging, "tekichu.txt"
    WritePcRaceBlock,          // selection file; selection judging, "tekichuPC.txt"
    WriteTwiRaceBlock,         // labelled day file
    WriteTanfukuCsv,           // rank-1 runner's day sheet in TANFUKU
    WriteTanfuku2Csv,          // rank-2 runner's day sheet in TANFUKU2
    WriteTanshoCsv,            // win bet-import file in TANSHO
    WriteWordPressBlocks,      // WordPress blocks in ravelmont_wp
    WriteSitePage,             // web page in ravelmont_yosou
    WritePrintPage,            // print page in ravelmont_wp
    WriteSokudoDayCsv,         // external-index line in SOKUDO
};
inline constexpr int kRaceWriterCount = 11;

inline constexpr std::array<std::string_view, kRaceWriterCount> kRaceWriterNames{
    "WriteShutsubahyoFile", "WriteTekichuUpload", "WritePcRaceBlock",     "WriteTwiRaceBlock",
    "WriteTanfukuCsv",      "WriteTanfuku2Csv",   "WriteTanshoCsv",       "WriteWordPressBlocks",
    "WriteSitePage",        "WritePrintPage",     "WriteSokudoDayCsv"};

struct RaceWriterSlots {
    std::array<RaceWriter, kRaceWriterCount> writer;  // by slot, 0-based
    RaceWriter& operator[](WriterSlot s) { return writer[size_t(s)]; }
    const RaceWriter& operator[](WriterSlot s) const { return writer[size_t(s)]; }
};

// Calls the eleven slots in order, each as one skip-and-continue step: a
// writer that throws is recorded in `log` (named with the race) and the
// next one runs. Empty slots are passed over.
void CallRaceWriters(RunState& state, const RaceWriterSlots& writers, SkipLog& log);

}  // namespace rw::prediction
