#pragma once
// The compute pass of ⑤ read step by step, as the reference the faster pass
// must match byte for byte: the horse file read and written record by
// record, after each speed and each item; the surface's model files read
// again for every record (counts and codes in pass 2, the whole model into
// state.CurrentModel in pass 3); categories and statistics searched from
// the first one. Like the pass, it abandons only a horse that fails and
// records the failure in `log`.
#include "common/skip.h"
#include "model/expanded_state.h"

namespace rwtest {

void literalComputeRunFactors(rw::model::ExpandedState& state, rw::SkipLog& log);

}  // namespace rwtest
