#pragma once
// YOSOKEKKATHISWEEKNZ: the week's races. Decides normal or results mode,
// lists the races (from the race records, or in results mode from the
// payoff records), writes the three week-list files and reads the detail
// rows back into RaceTable.
#include "common/skip.h"
#include "prediction/run_state.h"
#include "prediction/run_work.h"

namespace rw::prediction {

// ResultsMode = 1 when the last record of "RATHISWEEKNNEW.dat" has data kind
// "7", else 0 (also for an empty or missing file).
void DecideResultsMode(RunState& s);

// The list files "RACETHISWEEKN.dat", "RACETHISWEEKNSYOSAI.dat" and
// "SOKUDO\RACEID.txt" emptied.
void EmptyWeekListFiles(SkipLog& log);

// Lists the week's races into RaceIdList, RaceCount, List1 and CourseName,
// and writes the three week-list files once, in their final state.
// Normal mode: every race record of data kind "2" to "6", in file order.
// Results mode: one race per payoff record, in file order; each listed race
// gets one detail row and one key line, in list order, from its last race
// record, and none when it has no race record. A record whose RaceID is not
// twelve digits is not listed (reported in `log`). Every listed race's
// runner file starts empty (work.runners).
void BuildRaceList(RunState& s, RunWork& work, SkipLog& log);

// RaceTable rows 1..RaceCount from the detail rows as the file holds them;
// a race without detail row keeps an empty row.
void LoadRaceTable(RunState& s, const RunWork& work);

// The detail row of a race record, as its line of
// "RACETHISWEEKNSYOSAI.dat" (without line end); sets CourseName.
QByteArray RaceDetailLine(RunState& s, QByteArrayView ra);

}  // namespace rw::prediction
