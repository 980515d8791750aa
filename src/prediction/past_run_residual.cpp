#include "prediction/past_run_residual.h"

#include "common/errors.h"
#include "common/fixed_text.h"
#include "prediction/runner_record.h"

#include <cmath>
#include <string>

namespace rw::prediction {
namespace {

bool isTrackClass(int c) { return c >= 1 && c <= 3; }

// Result(7, CurSubIndex) of CurrentHorse; a slot outside the block fails.
float residualOfSlot(const RunState& s) {
    const int slot = s.CurSubIndex;
    if (slot < 0 || slot >= kWeightSlots)
        fail("past-run slot " + std::to_string(slot) + " outside 0.." + std::to_string(kWeightSlots - 1));
    return getSingle(s.CurrentHorse, rr::Result(slot, 7).pos);
}

}  // namespace

bool ResidualAccepted(float v) {
    // The product in double, as the limit is stated in metres per minute.
    return std::fabs(double(v) * 16.666) < 100.0;
}

void AccumulatePastRunResidual(RunState& s) {
    if (s.TodayClass != s.RunClass || !isTrackClass(s.TodayClass)) return;
    const float v = residualOfSlot(s);
    if (!ResidualAccepted(v)) return;
    s.ResidualSum = float(s.ResidualSum + v);
    ++s.ResidualCount;
}

void AccumulatePastRunResidualAnyClass(RunState& s) {
    if (!isTrackClass(s.TodayClass) || !isTrackClass(s.RunClass)) return;
    const float v = residualOfSlot(s);
    if (!ResidualAccepted(v)) return;
    s.ResidualSum = float(s.ResidualSum + v);
    ++s.ResidualCount;
}

void MaxPastRunResidual(RunState& s) {
    if (s.TodayClass != s.RunClass || !isTrackClass(s.TodayClass)) return;
    const float v = residualOfSlot(s);
    if (!ResidualAccepted(v)) return;
    if (v > s.ResidualSum) s.ResidualSum = v;
}

}  // namespace rw::prediction
