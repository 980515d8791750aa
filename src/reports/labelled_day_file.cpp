#include "reports/labelled_day_file.h"

#include "reports/tiered_judging.h"
#include "reports/upload_day_file.h"

namespace rw::reports {

using prediction::RunState;

void AddLabelledBlock(RunState& s, DayLines& out) {
    const bool results = s.ResultsMode != 0;
    out.add(RaceLine(s, RcForm::Named, false));
    out.add(RunnerHeader(s, DayFileKind::Labelled, results));
    AddRunnerLines(s, DayFileKind::Labelled, results, out);
    if (!ResultLinesApply(s)) return;
    WriteTwiHitLines(s, out);
    AddDayPayoffLines(s, out);
}

void WriteTwiRaceBlock(RunState& s) {
    WriteDayFileBlock(s, kLabelledDayFile, [&s](TaggedDayFile& file) { AddLabelledBlock(s, file.lines); });
}

}  // namespace rw::reports
