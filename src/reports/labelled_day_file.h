#pragma once
// YOSOKEKKATHISWEEKNZ: the labelled day file "TEKICHU\<DayKey>twi.txt"
// ("twiRCM.txt" in results mode), a tagged day file that starts anew on a
// new DayKey, for the user to read. A race's block:
//   RC (named; 12 items in both modes)
//   RR with the spelled-out labels 連番 枠番 馬番 予順 (人気 入線), HS in
//   predicted order
//   under the result-lines rule: AT lines naming the kind (馬連, ワイド, 馬単,
//   3連複, 3連単), KK "1" … "5", KS "1", KS "2", KS "3" when a trifecta was
//   paid, as in the upload day file
#include "prediction/run_state.h"
#include "reports/tagged_day_file.h"

namespace rw::reports {

// The writer of slot 4. Throws StepFailure where a statement fails; the
// lines made before it stay in the day file.
void WriteTwiRaceBlock(prediction::RunState& s);

// The race's block after the head lines.
void AddLabelledBlock(prediction::RunState& s, DayLines& out);

}  // namespace rw::reports
