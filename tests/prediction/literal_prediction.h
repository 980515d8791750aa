#pragma once
// The prediction run transcribed step by step as its description gives it
// (with the mended behaviour): records read one at a time, linear matching
// and code lookups, every file line its own open, append and close. The
// reference the run's indexed, write-once form must match file for file.
#include "prediction/race_writers.h"
#include "prediction/run_state.h"

namespace predtest {

void LiteralPrediction(rw::prediction::RunState& s, const rw::prediction::RaceWriterSlots& writers);

}  // namespace predtest
