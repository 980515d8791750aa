#pragma once
// KESTRAVEXPDTHISWEEKNZ: the compute pass, the last step of ⑤. For each
// horse of state.WeekList (1..WeekListCount) it completes the horse's
// expanded run records: measured speeds and the 30 item categories of the
// latest four runs, category indexes, weights and predicted speeds of every
// run in the model's scope. Failures go to `log`.
#include "common/skip.h"
#include "common/ui_port.h"
#include "model/expanded_state.h"

namespace rw::model {

void ComputeRunFactors(UiPort& ui, ExpandedState& state, SkipLog& log);

}  // namespace rw::model
