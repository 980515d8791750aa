#pragma once
// The flash window's "Ⅱ　速報オッズ情報": the flash odds of the week's latest
// races (at most the last 97 race records of "RATHISWEEKNNEW.dat", newest
// first, one "0B30" request each), kept as odds lines in the RIALTIME files.
#include "jvdata/store_files.h"
#include "common/skip.h"
#include "common/ui_port.h"
#include "jvdata/jvlink.h"

#include <QByteArrayView>
#include <QString>
#include <functional>
#include <string_view>

namespace rw::jv {


// How many race records a fetch requests at most.
inline constexpr int kFlashOddsRaces = 97;
// Reads per race at most.
inline constexpr int kFlashOddsReads = 6;

// Sets OddsSourceFlag to 1, writes its start and end texts into the flash
// window's Text1, empties the four flash odds files and fills them. Per race:
// JVInit (a non-zero result is shown, the request is made all the same),
// JVRTOpen("0B30", RaceKey16), up to six reads (a read of -1 ends the race;
// otherwise the buffer's kind decides: O2, O4, O5, O6 append a line, any
// other kind is dropped), JVClose. A file operation that fails is recorded
// in `log` and the fetch goes on.
void FetchFlashOdds(UiPort& ui, JvLink& JVLink1, SkipLog& log);

// Runs one statement of a fetch: true when it ran, false when it failed and
// was skipped; a fetch that does not skip lets the failure through instead.
using FetchStatement = std::function<bool(std::string_view what, const std::function<void()>& statement)>;
// Skips and records in `log`.
FetchStatement SkippingIn(SkipLog& log);
// Lets every failure end the fetch.
FetchStatement Unguarded();

// The "0B30" requests the flash odds and the flash win odds share: for the
// race records of `raceFile` (system name; opening it creates a missing one)
// from the last down to the 97th from the end, never below record 1:
// JVInit(softwareId) (a non-zero result is shown, the request is made all
// the same), JVRTOpen("0B30", the record's RaceKey16), up to six reads, each
// but a read of -1 handed to `onRead` (the record delivered, or whatever the
// component left in the buffer), a read of -1 ending the race, JVClose.
void RequestFlashOdds(UiPort& ui, JvLink& JVLink1, QStringView raceFile, const QString& softwareId,
                      const FetchStatement& statement, const std::function<void(QByteArrayView read)>& onRead);

}  // namespace rw::jv
