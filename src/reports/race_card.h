#pragma once
// YOSOKEKKATHISWEEKNZ: the race card, "SHUTSUBAHYO\<DayKey>mmk.txt"
// ("mmkRCM.txt" in results mode), a tagged day file written by the first of
// the per-race writers. A race's block, after the frame's DY and PL:
//   RC (plain; 12 items, 13 in results mode)
//   K1 K2 K3   pairs 1-6, 7-12, 13-18 of PairBets, or placeholders "  -  ",
//              by the registered runner count c compared as text
//   KK KS AT CM  only under the result-lines rule: payoffs, hits, trifecta
//   HS         one per horse number (16 items, 19 in results mode)
//   S1 S2 S3   trios 1-7, 8-14, 15-21 (TrioBetsAsc in results mode, else
//              TrioBets), or placeholders "  -  -  ", by c
// A bet position beyond the race's pairs or trios shows its placeholder.
// The keys of the last trio line with trios are left in SLineTrios (entries
// 1 to 7 at [0] to [6]) for the web page writer; an entry without a trio is
// empty.
#include "prediction/run_state.h"
#include "reports/tagged_day_file.h"

#include <QByteArray>

namespace rw::reports {

// The writer of slot 1: the race's block appended to its course-day's race
// card. Throws StepFailure where a statement fails; the lines made before
// it stay in the file.
void WriteShutsubahyoFile(prediction::RunState& s);

// The race's block after the head lines (RC to S3).
void AddRaceCardBlock(prediction::RunState& s, DayLines& out);

// The trifecta comment lines CM of the race (under the result-lines rule):
// one per tiered trio that won in one of its orders, else one line with the
// winning combination; none when the first trifecta combination reads 0 (a
// blank or zero entry: no trifecta sold).
void WriteSanrentanComment(prediction::RunState& s, DayLines& out);

// A speed in km/h shown in metres per minute: v × 16.666 truncated, a blank
// in front, the last four characters (1002, " 998", " 0"). A speed that is
// not a finite number fails.
QByteArray MetresPerMinuteText(float kmh);

inline constexpr char kPairPlaceholder[] = "  -  ";
inline constexpr char kTrioPlaceholder[] = "  -  -  ";

}  // namespace rw::reports
