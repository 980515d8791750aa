#pragma once
// YOSOKEKKATHISWEEKNZ: the payout grid HAITOGrid1 on the tab "配当": one row
// per ticket kind, three cells (combination, payout, popularity) per payoff
// entry of the record in CurrentHR.
#include "prediction/run_state.h"
#include "viewer/race_viewer.h"

namespace rw::viewer {

// Once per click, before any payoff is looked up: captions, the width of
// column 1, rows 1 to 8 emptied.
void PreparePayoutGrid(GridModel& grid);

// Rows 1 to 8 from the payoff record `hr` (CurrentHR): every entry emptied,
// then each present entry written (a win or place entry is present when its
// horse number is not 0, any other when its payout is not 0; numbers read
// leniently, so no content fails).
void FillPayoutGrid(GridModel& grid, const QByteArray& hr);

}  // namespace rw::viewer
