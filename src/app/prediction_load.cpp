#include "app/prediction_load.h"

#include "app/race_writers.h"
#include "common/control_names.h"
#include "common/file_ops.h"
#include "jvdata/structure.h"
#include "prediction/prediction_run.h"

namespace rw::app {

bool LoadPredictionWindow(UiPort& ui, prediction::RunState& state, SkipLog& log) {
    // A write that fails during the run leaves its file as it was before.
    RunJournal journal;
    return prediction::RunPrediction(ui, state, InstallRaceWriters(), log);
}

bool PredictionButton(UiPort& ui, const std::function<void()>& openWindow) {
    if (jv::WeeklyStoreGuard::busy()) {
        jv::SayPressRefused(ui, ctl::MenuText5, "prediction");
        return false;
    }
    ui.setText(ctl::MenuText5,
               QStringLiteral("予想･結果を開始しました。しばらくお待ちください。。数分かかります。"));
    ui.processEvents();
    openWindow();
    ui.setText(ctl::MenuText5, QStringLiteral("予想･結果終了"));
    return true;
}

}  // namespace rw::app
