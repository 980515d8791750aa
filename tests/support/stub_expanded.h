#pragma once
// Expanded-record files placed by hand, for the steps after ⑤ while the
// expanded records are not built here: every horse of the week gets one
// expanded record per run of its run file in UMAGOTOTHISWEEKN (the last one
// this week's), with the run's key, numbers and times, a flat track of
// 1600 m, fine and good going, the race's highest horse number among the
// week's horses as its registered runner count, and model speeds drawn from
// `seed`.
#include <QString>

namespace rwtest {

// Writes "UMAGOTOEXTHISWEEKN\<number>EX.dat" for every run file; returns the
// number of files written.
int WriteStubExpandedRecords(const QString& appDir, unsigned seed);

}  // namespace rwtest
