#include "prediction/runner_record.h"

#include "common/kestrav_path.h"
#include "common/paths.h"

namespace rw::prediction {

QString RunnerFile(QByteArrayView raceId) {
    return AppFile(QString::fromUtf16(kRaceFolder) + u'\\' + checkedRaceId(raceId) + QStringLiteral(".dat"));
}

}  // namespace rw::prediction
