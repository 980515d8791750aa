#pragma once
// YOSOKEKKATHISWEEKNZ.List1_Click: a click on the race list shows the race.
// The race's files are read first, as they are at the click; then, in
// order: the header in Text1 (green); the payout grid prepared; the race
// list file "RACETHISWEEKN.dat" rewritten from the pending races of
// "RATHISWEEKNNEW.dat"; the payoffs: while races are pending, the bet grids
// once per race record of the selected race and then payout and bet grids
// once per flash payoff record of it in "HRRIALTIME.dat" (Text1 yellow),
// otherwise payout and bet grids once per payoff record of it in
// "HRTHISWEEKN.dat"; the predicted ranks from KAIME\<RaceID>SORT.dat; the
// runner records of RACE\<RaceID>.dat handed row by row to the runner
// tables. Every file is read anew at every click, so payoffs stored since
// the last click show; no events are processed meanwhile.
//
// A race is pending when its race records hold a data kind "2" record and
// no kind "7" one (a race whose results are official keeps its kind-"2"
// record beside the kind-"7" one). A missing or unreadable "SORT.dat"
// leaves the ranks empty; its lines beyond the 18th are ignored. A
// registered-runner field that is not a number reads leniently (0 when it
// has no leading number). A runner file that cannot be opened gives no
// runner rows.
#include "common/skip.h"
#include "common/ui_port.h"
#include "prediction/run_state.h"
#include "viewer/race_viewer.h"

namespace rw::viewer {

// The click on item `listIndex` (from 0) of List1, whose items are
// state.List1. Failed statements are recorded in `log` and skipped.
void List1_Click(UiPort& ui, prediction::RunState& state, RaceViewer& viewer, int listIndex, SkipLog& log);

// The race list file's lines: the RaceIDs of the pending race records, in
// record order, from the race records' images (1272 bytes each).
QList<QByteArray> PendingRaceIds(const QList<QByteArray>& raceRecords);

}  // namespace rw::viewer
