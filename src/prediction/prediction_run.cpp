#include "prediction/prediction_run.h"

#include "common/kestrav_path.h"
#include "common/record_file.h"
#include "jvdata/layouts.h"
#include "jvdata/store_files.h"
#include "jvdata/structure.h"
#include "prediction/race_list.h"
#include "prediction/race_loop.h"
#include "prediction/runner_files.h"
#include "prediction/run_work.h"

namespace rw::prediction {

bool RunPrediction(UiPort& ui, RunState& s, const RaceWriterSlots& writers, SkipLog& log) {
    // The run rewrites the week's runner, sort and bet files and lets events
    // run once per race: it owns the weekly store as ② does.
    jv::WeeklyStoreGuard guard;
    if (!guard.acquired()) return false;

    AppPath = GetAppPath();
    s.LastDayKeyLup.clear();
    s.LastDayKeyMmk.clear();
    s.LastDayKeyTwi.clear();
    s.RaceIndex = 0;
    RunWork work;

    log.step("load the code table", [&] { LoadCodeTable(s.CodeTable); });
    log.step("decide the mode", [&] { DecideResultsMode(s); });
    EmptyWeekListFiles(log);
    BuildRaceList(s, work, log);
    CreateRunnerRecords(s, work, log);
    LoadRaceTable(s, work);
    FillRunnerRecords(s, work, log);
    if (work.payoffs.isEmpty())
        log.step("read HRTHISWEEKN.dat", [&] {
            work.payoffs = RecordFile::readAll(AppFile(jv::kHrWeekFile), jv::kHR.imageLength);
        });
    EmptyScoreFiles(s, log);
    RunRaceLoop(ui, s, work, writers, log);
    return true;
}

}  // namespace rw::prediction
