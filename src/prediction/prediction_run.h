#pragma once
// YOSOKEKKATHISWEEKNZ: the prediction run ⑥, the load of the prediction
// window. Lists the week's races, writes one runner file per race, ranks the
// runners of every race, builds the pair and trio bets, writes the score,
// sort and bet-import files, hands every race to the per-race writers and,
// on official results, writes the course-days' rate files. The state it
// leaves stays with the window for the race viewer.
//
// Skip and continue: every statement that fails (a file that cannot be
// read or written, an index outside a table, a division by zero, a text
// that is not a number) is abandoned, recorded in the log (reported on
// stderr by the caller), and the run goes on; its target keeps its value.
#include "common/skip.h"
#include "common/ui_port.h"
#include "prediction/race_writers.h"
#include "prediction/run_state.h"

namespace rw::prediction {

// The whole run. Returns false, having touched nothing, when the weekly
// store is being rewritten by another task (②, cancellation processing or
// another ⑥ still running in its event turns).
bool RunPrediction(UiPort& ui, RunState& s, const RaceWriterSlots& writers, SkipLog& log);

}  // namespace rw::prediction
