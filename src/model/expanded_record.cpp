#include "model/expanded_record.h"

#include "common/kestrav_path.h"
#include "common/paths.h"

namespace rw::model {

QString ExpandedRecordFile(QByteArrayView registrationNumber) {
    return AppFile(inFolder(kExFolder, checkedRegistrationNumber(registrationNumber) + QString::fromUtf16(kExFileEnding)));
}

}  // namespace rw::model
