#pragma once
// KESTRAVEXPDTHISWEEKNZ: the load of the expanded-records window. Sets
// AppPath and reads TurfModel, DirtModel and JumpModel from the package, in
// that order. A surface whose files fail (missing, short, a value that is
// not a number, a count outside 0 to 6000) keeps what was read before the
// failing file and the failure (file, reason) goes to `log`; the other
// surfaces are read all the same and the window opens.
#include "common/skip.h"
#include "model/expanded_state.h"

namespace rw::model {

void LoadExpandedWindow(ExpandedState& state, SkipLog& log);

}  // namespace rw::model
