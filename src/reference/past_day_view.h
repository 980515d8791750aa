#pragma once
// KakoSeisekiZ: a click on its race-day list. The chosen day's files in
// "TEKICHU" fill the four day grids (hits, tier rates and explanation,
// selections' hits and rates) and the twelve race tabs (header text, hit
// table, horse table). The click only reads; every cell a layout fills is
// written again or emptied, every highlight set or taken back, so nothing
// of an earlier day shows through. Failed statements are skipped.
#include "common/grid_model.h"
#include "common/skip.h"

#include <QString>
#include <array>
#include <cstdint>

namespace rw::reference {

inline constexpr int kRaceTabs = 12;

// A QBColor number as a grid colour; 0 is the grid's standard colour.
GridColor QbColor(int n);

// The controls the click fills, sized as the window designs them.
struct PastDayControls {
    GridModel KakoSeiFG{50, 8, 2, 1};
    GridModel TekiKaiFG{9, 7, 2, 1};
    QString Text1;
    GridModel TanFukuFG{38, 12, 2, 1};
    GridModel TFTekiKaiFG{7, 12, 1, 1};
    std::array<QString, kRaceTabs> Text2;
    std::array<GridModel, kRaceTabs> TKFG;
    std::array<GridModel, kRaceTabs> RACEFG;
    PastDayControls();
};

// The explanation of TekiKaiFG's rates.
QString RatesExplanation();

// The race tab captions: "1　R" … "12　R".
QString RaceTabCaption(int index);

// List1_Click with `item` the selected item's text (empty when none is
// selected). An item whose last 14 characters are not a DayKey names no
// file: every grid is emptied as for a day without files.
void List1Click(const QString& item, PastDayControls& c, SkipLog& log);

}  // namespace rw::reference
