#pragma once
// YOSOKEKKATHISWEEKNZ: the four bet grids (馬連 UMARENGrid1 with the ワイド
// hits, 馬単 UMATANGrid2, 3連複 SANRENGrid3, 3連単 SANTANGrid4): every
// ranked combination of the selected race in the order of its ranked file
// (KAIME\<RaceID>UMARENSORT.dat …), tier labels and a note in column 0,
// the odds of the race's odds tables (KAIME\<RaceID>UMARENODDS.dat …) and,
// when CurrentHR is a payoff record of the selected race, the paid
// combinations coloured.
//
// Failures are skipped statement by statement and recorded in `log`: a
// missing ranked file leaves the grid's area blank, a missing odds file
// shows 0 odds. A combination whose horses are not two-digit numbers
// up to 18 leaves that row's odds cells empty; odds lines beyond the table
// are ignored. A ranked file lists at most the grid's cleared rows (153
// pairs, 816 trios), whatever GridHorseCount says.
#include "common/skip.h"
#include "prediction/run_state.h"
#include "viewer/race_viewer.h"

namespace rw::viewer {

// Reads viewer.GridHorseCount, viewer.List1Text and state.CurrentHR; writes
// the four grids, state.TrioHorseA to TrioHorseC; the odds tables are zero
// again when it returns.
void FillBetGrids(prediction::RunState& state, RaceViewer& viewer, SkipLog& log);

}  // namespace rw::viewer
