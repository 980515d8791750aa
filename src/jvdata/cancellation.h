#pragma once
// CHUSIRIALTIME: cancellation processing, run after structure processing
// when the menu's Option1 is chosen. Races and runs that the flash feed of
// the week's last race days reports cancelled (data kind "9") are marked in
// the NEWd files; the NEW files and every listed horse's run file are then
// rebuilt without them.
#include "common/skip.h"
#include "common/ui_port.h"
#include "jvdata/jvlink.h"

namespace rw::jv {

// 1. The race days of "RATHISWEEKNNEW.dat" (FlashRaceDates). 2. One "0B12"
// request per day (FetchFlashDays), the RA, SE and HR records appended to the
// RIALTIME files. 3. Each RA record of "RARIALTIME.dat" of data kind "9"
// overwrites the first record of "RATHISWEEKNNEWd.dat" with its race match
// key (racecourse, year, meeting, day, race number), if there is one. 4.
// "RATHISWEEKNNEW.dat" becomes the records of the NEWd file of neither kind
// "1" nor "9", in order. 5., 6. The same for "SERIALTIME.dat" and the entry
// files, matched by the race match key and the horse number. 7. The run
// files rebuilt from the new "SETHISWEEKNNEW.dat" as structure processing
// does, but a delivery replaces the first of the horse's records of the
// same run that are not newer.
// A rebuilt NEW file is written completely before it takes the old one's
// place. A step that fails is recorded in `log` and ends the processing;
// the files rewritten before it stay as they are. Returns false, having
// touched nothing, when the weekly store is already being rewritten.
bool ApplyCancellations(UiPort& ui, JvLink& JVLink1, SkipLog& log);

// The load of CHUSIRIALTIME: AppPath, "中止処理中。。" into its Text1,
// ApplyCancellations, then the end text, whatever the processing did.
void LoadCancellations(UiPort& ui, JvLink& JVLink1, SkipLog& log);

// CHUSIRIALTIME's Command1 closes the window, except while structure or
// cancellation processing rewrites the weekly store: then the click is
// ignored (and said so on stderr). The program keeps no file open between
// the statements of its tasks, so there is nothing else to close.
bool CancellationWindowMayClose();

}  // namespace rw::jv
