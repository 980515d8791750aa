#include "prediction/run_files.h"

#include "common/cp932.h"
#include "common/errors.h"
#include "common/kestrav_path.h"
#include "common/paths.h"

namespace rw::prediction {

QString KaimeFile(QByteArrayView raceId, const char16_t* suffix) {
    return AppFile(inFolder(jv::kKaimeFolder, checkedRaceId(raceId) + QString::fromUtf16(suffix)));
}

QString BetImportFile(const char16_t* folder, QByteArrayView raceId, QByteArrayView courseName) {
    const QString id = checkedRaceId(raceId);
    const QString course = checkedNamePart(courseName, "course name");
    return AppFile(inFolder(folder, id.mid(2, 6) + course + id.mid(10, 2) + QStringLiteral("R.csv")));
}

QString TekichuDayFile(QByteArrayView dayKey, const char16_t* suffix) {
    return AppFile(inFolder(jv::kTekichuFolder, checkedDayKey(dayKey) + QString::fromUtf16(suffix)));
}

}  // namespace rw::prediction
