#pragma once
// YOSOKEKKATHISWEEKNZ: the one place where the prediction run's eleven
// per-race writer slots are filled with the writers of reports and publish.
#include "prediction/race_writers.h"

namespace rw::app {

// Every slot filled, in the system's order.
prediction::RaceWriterSlots InstallRaceWriters();

}  // namespace rw::app
