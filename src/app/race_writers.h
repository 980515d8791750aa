#pragma once
// YOSOKEKKATHISWEEKNZ: the one place where the prediction run's eleven
// per-race writer slots are filled with the writers of reports and publish.
#include "prediction/race_writers.h"

namespace rw::app {

// The slots in the system's order; a writer not built yet leaves its slot
// empty, and the run is complete without it.
prediction::RaceWriterSlots InstallRaceWriters();

}  // namespace rw::app
