#pragma once
// YOSOKEKKATHISWEEKNZ: the top-runner day sheets, one quoted-values file per
// race day and racecourse: the runner ranked first in "TANFUKU" ("tnfk.csv",
// "tnfkRCM.csv" on official results), the runner ranked second in
// "TANFUKU2" ("tnfk2.csv", "tnfkRCM2.csv"), with its win and place payouts
// once the results are official.
#include "prediction/run_state.h"

#include <QByteArray>
#include <QByteArrayView>

namespace rw::publish {

// The race's DayKey against the sheet's last key (a new key empties the
// file and writes the title and header lines of the mode, the same key
// appends), then the row of each runner whose predicted rank is the
// sheet's. Throws StepFailure where a statement fails (a rank, age,
// meeting or day number that is not a number; the file not writable), the
// lines made before it written.
void WriteTanfukuCsv(prediction::RunState& s);
void WriteTanfuku2Csv(prediction::RunState& s);

// The win and place payout strings of horse `horse` of the race `race`
// (year, month-day, racecourse and race number, 12 bytes): the payout
// digits (9, as stored) of the win and of the place entry of the race's
// payoff record whose horse number is the runner's, empty when none (after
// a dead heat or a demotion the entries by position belong to other
// horses). Of several records of a race the last counts. The week's payoff
// file is read and indexed once per run (WriterWork.Payoffs); as a scan of
// the whole file would, every call leaves CurrentHR holding the file's last
// record, HrRecordCount its record count (length / 719, rounded) and
// EntryIndex the count + 1. A missing file has no records.
struct RunnerPayouts {
    QByteArray win, place;
};
RunnerPayouts FindRunnerPayouts(prediction::RunState& s, QByteArrayView race, int horse);

}  // namespace rw::publish
