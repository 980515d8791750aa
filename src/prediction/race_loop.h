#pragma once
// YOSOKEKKATHISWEEKNZ: the race loop of the prediction run. For every
// listed race: its payoff record, the per-day reset of the hit totals; the
// race's state (per-horse values, spread, predicted order, the pair and
// trio bets ranked and turned); then the race's own files in the system's
// order, each built from that state (prediction/race_files.h) and written
// once, complete; the loop counters handed to the writers; the per-race
// writers; and, on official results, the course-day's rates and rate files.
#include "common/skip.h"
#include "common/ui_port.h"
#include "prediction/race_files.h"
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
// (TrioFastestFirst).
void OrderTrioBySpeed(RunState& s);

// The course-day's rates from the totals and R (the race number), and the
// two rate files of the DayKey of CurrentHorse. Results mode only; a race
// without runner record writes nothing.
void WriteDayRateFiles(RunState& s);

}  // namespace rw::prediction
