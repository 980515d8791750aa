#pragma once
// KESHRRIALTIME and CHUSIRIALTIME: their requests to the flash feed. The
// flash-results window keeps the flash win odds of the week's latest races
// in "O1RIALTIME.dat"; both windows append the flash race, entry and payoff
// records of the week's last race days to the RIALTIME record files.
#include "common/skip.h"
#include "common/ui_port.h"
#include "jvdata/jvlink.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

namespace rw::jv {

// Race days requested at most.
inline constexpr int kFlashRaceDays = 3;
// The race-day walk looks at the last 98 race records at most.
inline constexpr int kFlashDayWalk = 97;
// A component that keeps answering a race day's reads with results that
// neither deliver a record nor end the data: after this many such results
// in a row the reads of that day end.
inline constexpr int kFlashDayIdleReads = 1000;

// The race days of the week's last races (year and month-day, 8 characters),
// newest first: the day of the last record of the race file (system name;
// opening it creates a missing one), then, walking from the last record
// back to the 97th from the end but never below record 2, the day of record
// i - 1 whenever it differs from that of record i; at most three. None when
// the file holds no record. Throws StepFailure when the file cannot be read.
QList<QByteArray> FlashRaceDates(QStringView raceFile);

// One "0B12" request per day, in the order given: JVInit(softwareId) (a
// non-zero result is shown, the request is made all the same),
// JVRTOpen("0B12", day), reads until 0 or -203, JVClose. A record of kind
// RA, SE or HR is appended as its image to "RARIALTIME.dat",
// "SERIALTIME.dat" or "HRRIALTIME.dat" (open, record count + 1, close); any
// other kind is dropped; every other result reads on, up to
// kFlashDayIdleReads of them in a row (recorded in `log`). A file that
// cannot be written throws StepFailure and ends the requests.
void FetchFlashDays(UiPort& ui, JvLink& JVLink1, const QString& softwareId, const QList<QByteArray>& days,
                    SkipLog& log);

// Empties "O1RIALTIME.dat" and fills it with the O1 records of the "0B30"
// requests for the race records of "RATHISWEEKN.dat" (at most the last 97,
// newest first, at most six reads each; only -1 ends the reads of a race),
// one odds line each; other kinds are dropped. Every failure ends the fetch
// (StepFailure).
void FetchFlashWinOdds(UiPort& ui, JvLink& JVLink1);

// The flash results of the week's last race days: FlashRaceDates of
// "RATHISWEEKNNEW.dat", then FetchFlashDays with the identifier of the
// week's odds. Every failure ends the fetch (StepFailure).
void FetchFlashResults(UiPort& ui, JvLink& JVLink1, SkipLog& log);

}  // namespace rw::jv
