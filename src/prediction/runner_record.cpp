#include "prediction/runner_record.h"

#include "common/fixed_text.h"
#include "common/kestrav_path.h"
#include "common/paths.h"

namespace rw::prediction {

jv::RaceKey RunnerRaceKey(QByteArrayView r, int slot) {
    return jv::RaceKey::ofKeyText(member(r, rr::RunRaceKey(slot)));
}

QString RunnerFile(QByteArrayView raceId) {
    return AppFile(inFolder(kRaceFolder, checkedRaceId(raceId) + QStringLiteral(".dat")));
}

}  // namespace rw::prediction
