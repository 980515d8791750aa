#pragma once
// KESHRRIALTIME: the flash results and win odds of the week's races, written
// into the current-race slot of the runner records in RACE; and the flash
// window's "Ⅲ　速報着順等情報" that opens it.
#include "common/skip.h"
#include "common/ui_port.h"
#include "jvdata/jvlink.h"

#include <QString>
#include <functional>

namespace rw::prediction {

// The flash window's Command2: "速報払戻等取得を開始します。。。。。" in the flash
// window's Text1, one turn of events, OddsSourceFlag = 1, `showWindow` (it
// shows KESHRRIALTIME, whose load does the work when it is not open yet),
// then "速報払戻等取得及び処理完了".
void RunFlashResults(UiPort& ui, const std::function<void()>& showWindow);

// The load of KESHRRIALTIME: AppPath, FetchFlashWinOdds, FetchFlashResults
// (a failure inside either ends that fetch only and is recorded in `log`),
// then ApplyFlashEntries and ApplyFlashWinOdds.
void LoadFlashResults(UiPort& ui, jv::JvLink& JVLink1, SkipLog& log);

// Every record of "SERIALTIME.dat", first to last: in the runner record of
// its horse number in its race's runner file, ArrivalOrder, RaceTime,
// WinPopularity, WinOdds and Last3FTime of slot 0 are set from the entry's
// arrival order, time, win popularity, win odds and last-three-furlong
// time, left-aligned; no other byte of the file changes. A record is
// skipped (and recorded in `log`) when its RaceID is not twelve digits, its
// race has no runner file (flash data may come before the runner files, or
// be of a race day already past) or its horse number is not one of the
// file's records: no file is created or extended.
void ApplyFlashEntries(SkipLog& log);

// Every line of "O1RIALTIME.dat", in order: for each of its 28 win entries
// whose horse number is not 0 (blank reads as 0), WinPopularity and WinOdds
// of slot 0 of that runner record are set from the entry; the same skips
// as ApplyFlashEntries. Applied after the entries, so the win odds of the
// last line of a race stand.
void ApplyFlashWinOdds(SkipLog& log);

}  // namespace rw::prediction
