#pragma once
// YOSOKEKKATHISWEEKNZ: where a click on the race list hands the race's
// runners to the factor and residual tables (RACEDETAILGrid1 and
// RACEDETAILGrid2). The click calls PrepareRunnerTables once, then
// FillRunnerRow for every runner record w = 1 … HorseCount with
// state.CurIndex = w and the record in state.CurrentHorse. Each call runs as
// one skip-and-continue statement of the click.
#include "prediction/run_state.h"
#include "viewer/race_viewer.h"

namespace rw::viewer {

// Layout and emptying of both tables before the runner loop; `raceId` is
// the selected race.
void PrepareRunnerTables(prediction::RunState& state, RaceViewer& viewer, const QByteArray& raceId);
// Row state.CurIndex of both tables from state.CurrentHorse.
void FillRunnerRow(prediction::RunState& state, RaceViewer& viewer);

}  // namespace rw::viewer
