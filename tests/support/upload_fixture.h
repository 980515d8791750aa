#pragma once
// A race of n runners for the tests of the order, bet and hit lines: the
// fixture's second race with its horses replaced by horse r at rank r, so
// that the ranked lists are lexicographic in horse numbers: pair 1 is 01-02,
// pair 17 is 01-18, pair 18 is 02-03 …; trio 1 is 01-02-03.
#include "prediction/run_state.h"

#include <QByteArray>

namespace rwtest {

// Results mode or not; registered runner count two digits of n; FinishPos
// "01" … "05" for horses 1 to 5, "**" for the others; CurrentHR the race's
// own record with no entries.
rw::prediction::RunState RankedRace(int n, bool results);

// The position of a pair or trio key (ascending horse numbers) in the lists.
int PairPosition(const rw::prediction::RunState& s, QByteArrayView ascKey);
int TrioPosition(const rw::prediction::RunState& s, QByteArrayView ascKey);

void SetRegisteredCount(rw::prediction::RunState& s, QByteArrayView count);
void SetRaceNumber(rw::prediction::RunState& s, QByteArrayView raceNo);

}  // namespace rwtest
