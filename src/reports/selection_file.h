#pragma once
// YOSOKEKKATHISWEEKNZ: the selection day file "TEKICHU\<DayKey>lupPC.txt"
// ("lupRCMPC.txt" in results mode), a tagged day file written by the third
// of the per-race writers, and in results mode its hit table
// "TEKICHU\<DayKey>tekichuPC.txt", created and emptied with it.
//
// A race's block in the day file, after the frame's DY and PL:
//   RC      plain form (12 items, 13 in results mode)
//   RR, HS  the selection columns (11 items, 14 in results mode)
//   TF1 … SBX  the fifteen selection lines: horse numbers by predicted rank
// The day file gets no payoff or hit lines. Under the result-lines rule the
// eleven selections are judged and the hit table gets three rows for the
// race: the ticket counts (the seven exotic counts as bare numbers), the
// hits and the payouts, in the columns 単勝1 複勝1 単勝2 複勝2 馬連F 馬連B
// 馬単F 3連複B 3連単12 3連単23 3連単13.
//
// The selections, by predicted rank (a, b, a′, c, d from SelectionSizes):
//   単勝1/複勝1, 単勝2/複勝2  win and place on ranks 1 and 2
//   馬連F  ranks 1-3 with ranks 1-a          馬連B   box of ranks 1-b
//   馬単F  winner from 1-3, second from 1-a′  3連複B  box of ranks 1-b
//   3連単12, 23, 13  axes ranks 1 and 2, 2 and 3, 1 and 3; third leg ranks
//          3-c, 4-d, 4-d (six tickets per third-leg horse)
// A rank the race does not have holds no horse: a selection line leaves it
// out (and keeps its tag), the judging counts it as not placed, and the
// ticket counts still follow the size table.
#include "prediction/run_state.h"
#include "reports/tagged_day_file.h"

#include <QByteArray>
#include <QByteArrayView>
#include <array>
#include <cstdint>

namespace rw::reports {

// The writer of slot 3. Throws StepFailure where a statement fails; the
// lines made before it stay in the day file and the hit table.
void WritePcRaceBlock(prediction::RunState& s);

// The race's block after the head lines (RC to SBX) into `day`, and under
// the result-lines rule the judging and the race's three rows into `hits`.
void AddPcRaceBlock(prediction::RunState& s, DayLines& day, DayLines& hits);

// The hit table's two head lines: the date line (6 items) and the column
// header (12 items).
void AddPcHitTableHead(const prediction::RunState& s, const QByteArray& dayKey, DayLines& out);

// The fifteen selection lines of the race.
void WritePcBetLines(const prediction::RunState& s, DayLines& out);

// Judges the eleven selections of the race against FinishPos and CurrentHR:
// HitText and PayText of every kind anew, TicketCount of the exotic kinds,
// and the course-day's HitCount, PaySum and TicketSum added to. Fails on an
// SD that is not a number (when the sizes read it), a payout of a hit that
// is not a number, a combination that does not format, and a running sum
// that would outgrow its width (HitCount, PaySum 32 bits, TicketSum 16);
// the kinds judged before keep what they hold.
//
// On an exotic hit the text and payout come from the first of the kind's
// payoff entries whose combination is one of the selection's tickets, entry
// 1 when none is: after a dead heat the first entry can be a combination the
// selection does not hold.
void EvaluatePcBetHits(prediction::RunState& s);

// The last ranks of the varying legs and boxes.
struct SelectionSizes {
    int a;       // 馬連F second leg, "UF2"
    int b;       // 馬連B and 3連複B boxes, "UBX", "SBX"
    int aPrime;  // 馬単F second leg
    int c;       // 3連単12 third leg, "S1A"
    int d;       // 3連単23 and 3連単13 third legs, "S2A", "S3A"
    bool operator==(const SelectionSizes&) const = default;
};

// The sizes by the registered runner count (two characters, read
// leniently: blank or not a whole number 1 to 8 is "any other count") and
// the spread SD (RaceTable column 10), read as a whole number for a count
// of 8 and any other count only; above 30 is wide, 30 itself is not. An SD
// that is then not a number fails.
SelectionSizes SelectionSizesOf(QByteArrayView registered, QByteArrayView sd);
SelectionSizes SelectionSizesOf(const prediction::RunState& s);

// The tickets of the seven exotic kinds: 馬連F, 馬連B, 馬単F, 3連複B,
// 3連単12, 3連単23, 3連単13.
std::array<std::int16_t, 7> TicketCounts(const SelectionSizes& z);

}  // namespace rw::reports
