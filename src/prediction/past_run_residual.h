#pragma once
// YOSOKEKKATHISWEEKNZ: the past-run residual accumulation of one runner,
// one call per past-run slot. The caller owns the loop: it sets CurSubIndex
// (the slot), TodayClass and RunClass (1 turf, 2 dirt, 3 any other track)
// before each call, starts ResidualSum and ResidualCount as it wishes and
// reads them afterwards.
//
// The residual v of a slot is Result(7, slot) of CurrentHorse: the run's
// measured speed minus its composite speed, km/h. It is accepted when
// |v × 16.666| (metres per minute) is below 100, strictly: 6.0 km/h is
// accepted, 6.0003 is not. A slot outside 0..69 fails before anything
// changes. The two variants are offered beside the plain accumulation;
// nothing in the weekly run calls them.
#include "prediction/run_state.h"

namespace rw::prediction {

// Same class only (TodayClass = RunClass, one of 1, 2, 3): an accepted v is
// added to ResidualSum and counts 1 in ResidualCount.
void AccumulatePastRunResidual(RunState& s);

// Any class: TodayClass and RunClass each one of 1, 2, 3, not necessarily
// equal; an accepted v is added and counted.
void AccumulatePastRunResidualAnyClass(RunState& s);

// Same class only: an accepted v above ResidualSum (strictly) replaces it;
// ResidualCount never changes. Started from 0, the sum ends as the largest
// accepted residual above 0.
void MaxPastRunResidual(RunState& s);

// The acceptance test on its own.
bool ResidualAccepted(float v);

}  // namespace rw::prediction
