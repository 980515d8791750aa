#pragma once
// YOSOKEKKATHISWEEKNZ: the race's win bet-import file in "TANSHO", named as
// the run's other bet-import files (date as YYMMDD, the racecourse's
// Japanese name, race number, "R.csv"): the win ticket of the runner ranked
// first, then of the runner ranked second. Its place twin in "FUKUSHO" is
// not called by the run.
#include "prediction/run_state.h"

namespace rw::publish {

// Nothing when the race's RaceID equals LastRaceKeyTansho; otherwise the key
// is kept and the file written anew: one BetImportLine (ticket "01") per
// runner ranked 1, then per runner ranked 2. Throws StepFailure for a rank
// that is not a number or a course name that cannot be a file name, the
// lines made before it written.
void WriteTanshoCsv(prediction::RunState& s);
// The same with ticket "02" into "FUKUSHO", keyed by LastRaceKeyFukusho.
void WriteFukushoCsv(prediction::RunState& s);

}  // namespace rw::publish
