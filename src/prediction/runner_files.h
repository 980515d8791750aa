#pragma once
// YOSOKEKKATHISWEEKNZ: the runner files "RACE\" + RaceID + ".dat", one
// RaceHorseRecord per horse number: the entries' identities, then each
// horse's expanded run records copied into its run slots (the newest, this
// week's entry, into slot 0). Built in memory and written once per file.
#include "common/skip.h"
#include "prediction/run_state.h"
#include "prediction/run_work.h"

namespace rw::prediction {

// One record per entry of "SETHISWEEKNNEW.dat" whose race is listed, at its
// horse number, with frame number, horse number, registration number and
// horse name in slot 0 and CR LF at its end; everything else zero bytes. A
// gap in the horse numbers leaves a record of zero bytes. An entry whose
// horse number is not a whole number from 1 is not placed (reported).
void CreateRunnerRecords(RunState& s, RunWork& work, SkipLog& log);

// Completes every runner record from "UMAGOTOEXTHISWEEKN\" + number +
// "EX.dat" (the last 65 expanded records, newest into slot 0), sets
// Residual to 0.0, replaces RaceTable column 11 of each listed race with
// the weather and going of its last horse, and writes every runner file
// once. A registration number that is not ten digits names no file
// (reported; a never-assigned one silently); a missing file copies no run.
void FillRunnerRecords(RunState& s, RunWork& work, SkipLog& log);

// The copy of one runner record from a horse's expanded records (oldest
// first), as FillRunnerRecords makes it.
void FillRunnerRecord(QByteArray& runner, const QList<QByteArray>& expanded);

// RaceTable column 11 from slot 0 of a runner record: weather name and the
// turf going name ("00"-"22" and jump tracks) or the dirt going name
// ("23"-"49").
QByteArray RunnerWeatherGoing(const CodeTable& codes, QByteArrayView runner);

}  // namespace rw::prediction
