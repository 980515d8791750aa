#pragma once
// YOSOKEKKATHISWEEKNZ: the race loop of the prediction run. For every
// listed race: its payoff record, the per-day reset of the hit totals, the
// per-horse values and the score file, the race's spread, the predicted
// order and the sort files, the pair and trio bets with their sort and
// bet-import files, the per-race writers and, on official results, the
// course-day's rate files. Every file of a race is assembled in memory and
// written once, complete, before the writers are called.
#include "common/skip.h"
#include "common/ui_port.h"
#include "prediction/race_writers.h"
#include "prediction/run_state.h"
#include "prediction/run_work.h"

#include <optional>

namespace rw::prediction {

// The score files of every listed race emptied.
void EmptyScoreFiles(const RunState& s, SkipLog& log);

// The loop over RaceIndex = 1 .. RaceCount.
void RunRaceLoop(UiPort& ui, RunState& s, RunWork& work, const RaceWriterSlots& writers, SkipLog& log);

// The predicted race time "M.SS.hh" of a speed (km/h) over a distance text
// (metres), every intermediate in single precision. Throws StepFailure for
// a speed of 0 or a distance that is not a number.
QByteArray SpeedToTimeText(float speed, QByteArrayView distance);

// The population standard deviation of values[1..n] (sums in single
// precision, the root in double); nullopt when n is 0.
std::optional<double> PopulationStdDev(const QList<float>& values, int n);

// Grades(CurIndex, 0..4) from the sample counts of CurrentHorse.
void SetReliabilityGrades(RunState& s);

// TrioHorseA/B/C: the trio at position CurIndex of TrioBets, fastest first
// (equal speeds keep ascending horse numbers).
void OrderTrioBySpeed(RunState& s);

// One line of a bet-import file (without line end): date, course, race,
// ticket code, combination, "100". Also the exports' win file line.
QByteArray BetImportLine(QByteArrayView raceId, QByteArrayView ticketCode, QByteArrayView combination);

// The course-day's rates from the totals and R (the race number), and the
// two rate files of the DayKey of CurrentHorse. Results mode only; a race
// without runner record writes nothing.
void WriteDayRateFiles(RunState& s);

}  // namespace rw::prediction
