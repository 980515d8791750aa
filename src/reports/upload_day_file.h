#pragma once
// YOSOKEKKATHISWEEKNZ: the upload day file "TEKICHU\<DayKey>lup.txt"
// ("lupRCM.txt" in results mode), a tagged day file that starts anew on a
// new DayKey, and in results mode its race hit table
// "TEKICHU\<DayKey>tekichu.txt", started anew with it. A race's block:
//   RC (named; 12 items, 13 in results mode), RR, HS in predicted order
//   Q1 … Q4, ATQ1 … ATQ4 (results mode), MUH … MSF, PUH … PSF
//   under the result-lines rule: AT (the tiered judging), KK "1" … "5",
//   KS "1", KS "2", and KS "3" when a trifecta was paid
// The hit table: a date line and a column header when it starts, then four
// rows per race ("01R 的中", "    当目", "    配当", "    予人") from the race's
// TicketHitSummary in the columns 馬連, 馬単, 3連複, 3連単, ワイド1-3. A race
// whose payoff record belongs to another race is not judged and writes no
// rows (the summary would be another race's).
#include "prediction/run_state.h"
#include "reports/tagged_day_file.h"

namespace rw::reports {

// The writer of slot 2. Throws StepFailure where a statement fails; the
// lines made before it stay in the day file.
void WriteTekichuUpload(prediction::RunState& s);

// The race's block after the head lines, and its hit table rows.
void AddUploadBlock(prediction::RunState& s, DayLines& out, DayLines* hitRows);

// The hit table's head lines for the race's course-day.
void AddHitTableHead(const prediction::RunState& s, DayLines& out);

// KK "1" … "5", KS "1", KS "2" and, when the first trifecta combination
// reads as a number other than 0, KS "3": the payoffs of CurrentHR as the
// upload and labelled day files show them.
void AddDayPayoffLines(const prediction::RunState& s, DayLines& out);

}  // namespace rw::reports
