#pragma once
// KESTRAVEXPDTHISWEEKNZ: ④ the previous-day fix. Sets the week's entries
// and, once the results are official, the week's races to the state known
// the day before:
//
// FixPreviousDayEntries: for every value of "KETTONUMTHISWEEKN.dat", the
//   last record of its run file: body weight "440" for a first start, else
//   the three bytes of the record before as stored; time difference "0000";
//   the jockey code and short name taken from their "before change" items
//   when the code before change is not 0, the weight carried likewise (values
//   read with blanks ignored). An empty run file is left alone. A value that
//   is not ten digits names no file: it is reported and skipped.
// FixPreviousDayRaces: results mode only when the last record of
//   "RATHISWEEKNNEW.dat" has data kind "7" (an empty file is normal mode):
//   "RACETHISWEEKN.dat" rewritten with one quoted RaceID per record of
//   "HRTHISWEEKN.dat", in its order with its duplicates; weather and both
//   going codes "1" in every race record whose RaceID has a payoff record.
//   ProgressBar1 ends at 100 after the race records in both modes.
//
// RunPreviousDayFix (Command3_Click): ProgressBar1 to 0 of 100, both steps,
// then "前日固定終了" in Text1. There is no skip-and-continue: a failure ends
// the fix before its message and is reported on stderr. A press while the
// weekly store is being rewritten (② or ⑤ letting events through) does
// nothing but say so in Text1 and on stderr. Returns whether the fix ran to its end.
#include "common/skip.h"
#include "common/ui_port.h"
#include "model/expanded_state.h"

namespace rw::model {

void FixPreviousDayEntries(ExpandedState& state, SkipLog& log);
void FixPreviousDayRaces(UiPort& ui, ExpandedState& state);
bool RunPreviousDayFix(UiPort& ui, ExpandedState& state);

}  // namespace rw::model
