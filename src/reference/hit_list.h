#pragma once
// TekichuListZ: the work of its load. Every hit of every past race day
// ("TEKICHU\" + DayKey + "lupRCM.txt") goes to "TEKICHU\ATARILIST.txt"
// (one hit line per "AT" line; after a race's 馬連 hit, its 単勝, 複勝 and
// 枠連 payoff lines), and the hits paying more than 10000 yen fill the rows
// of tekichuFG from row 1, numbered across days.
//
// The days are found from one listing of "TEKICHU" (reference/day_finder.h);
// each day file is read once and the list written once. The menu's Text6
// gets every date's search text, and the window system processes events
// once per date. A statement that fails is skipped (recorded in `log`).
#include "common/grid_model.h"
#include "common/paths.h"
#include "common/skip.h"
#include "common/ui_port.h"
#include "jvdata/store_files.h"

#include <QString>

namespace rw::reference {

inline constexpr const char16_t* kHitListFile = kInFolder<jv::kTekichuFolder, u"ATARILIST.txt">;
inline constexpr int kHitGridRows = 5000;
inline constexpr int kHitGridCols = 20;

// The fixed text of the window's Label1.
QString HitListLabel();

// A fresh tekichuFG: 5000 × 20, one fixed row and column, its titles and
// column widths.
GridModel NewHitGrid();

// The load: fills `tekichuFG` (made afresh) and writes the list. Returns the
// number of big-payout hits found (rows beyond the grid included).
int TekichuListLoad(UiPort& ui, GridModel& tekichuFG, SkipLog& log);

}  // namespace rw::reference
