#include "viewer/runner_rows.h"

#include "common/errors.h"
#include "common/skip.h"
#include "viewer/runner_tables.h"

namespace rw::viewer {
namespace {
// The tables fill cell by cell; a cell that failed is reported as the
// failure of the click's statement once the rest is filled.
void reportFirst(const SkipLog& log) {
    if (!log.empty()) fail(log.skipped().front());
}
}  // namespace

void PrepareRunnerTables(prediction::RunState&, RaceViewer& viewer, const QByteArray& raceId) {
    SkipLog log("runner tables");
    PrepareRunnerTables(viewer.RACEDETAILGrid1, viewer.RACEDETAILGrid2, QString::fromLatin1(raceId), log);
    reportFirst(log);
}

void FillRunnerRow(prediction::RunState& state, RaceViewer& viewer) {
    SkipLog log("runner row");
    FillRunnerRow(viewer.RACEDETAILGrid1, viewer.RACEDETAILGrid2, state, log);
    reportFirst(log);
}

}  // namespace rw::viewer
