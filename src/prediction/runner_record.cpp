#include "prediction/runner_record.h"

#include "common/kestrav_path.h"
#include "common/paths.h"

namespace rw::prediction {

QString RunnerFile(QByteArrayView raceId) {
    return AppFile(inFolder(kRaceFolder, checkedRaceId(raceId) + QStringLiteral(".dat")));
}

}  // namespace rw::prediction
