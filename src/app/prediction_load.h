#pragma once
// YOSOKEKKATHISWEEKNZ: the menu's ⑥ and the load of the prediction window:
// the run with every per-race writer of the system in its slot.
#include "common/skip.h"
#include "common/ui_port.h"
#include "prediction/run_state.h"

#include <functional>

namespace rw::app {

// The load of YOSOKEKKATHISWEEKNZ: the prediction run with the installed
// writers. False when the weekly store was busy (nothing was done).
bool LoadPredictionWindow(UiPort& ui, prediction::RunState& state, SkipLog& log);

// The menu's "⑥　***　予想・結果　***" after ZansaFlag: the start message in
// Text5, a turn of events, the new prediction window (`openWindow` creates,
// loads and shows it), the end message. A press while the weekly store is
// being rewritten (a run still in its event turns, ②, cancellation
// processing) is refused, saying so in Text5. Returns whether the press ran.
bool PredictionButton(UiPort& ui, const std::function<void()>& openWindow);

}  // namespace rw::app
