#pragma once
// YOSOKEKKATHISWEEKNZ (and the past-performance browser, which rebuilds the
// same files): the external-index files of "SOKUDO" read by the outside
// race-analysis program: one file per race date ("HR" + date + ".csv"), one
// SpeedIndexLine per race.
#include "prediction/run_state.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

namespace rw::publish {

// One runner of a SpeedIndexLine, in horse-number order.
struct SpeedIndexEntry {
    float compositeSpeed = 0;  // km/h
    int rank = 0;              // predicted rank, 1..18
};

// The race's line with CR LF: the RaceKey16, a comma, then per runner the
// speed text (compositeSpeed × scale in single precision, rounded down) and
// the rank with a leading zero, all joined by commas. A race without
// runners has no line (empty result).
QByteArray SpeedIndexLine(QByteArrayView raceKey16, const QList<SpeedIndexEntry>& runners, int scale = 1000);

// The race's line into its date's file: a race date other than
// LastDateKeySokudo empties the file first, the same date appends. The
// ranks are read before anything is written, so a rank that is not a
// number (StepFailure) leaves no part of a line.
void WriteSokudoDayCsv(prediction::RunState& s);
// The per-race variant, not called by the run: "SOKUDO\" + RaceKey16 +
// ".csv" written anew with the speed × 100, unless the RaceKey16 equals
// LastRaceKeySokudo.
void WriteSokudoRaceCsv(prediction::RunState& s);

}  // namespace rw::publish
