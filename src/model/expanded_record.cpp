#include "model/expanded_record.h"

#include "common/kestrav_path.h"
#include "common/paths.h"

namespace rw::model {

QString ExpandedRecordFile(QByteArrayView registrationNumber) {
    return AppFile(QString::fromUtf16(kExFolder) + u'\\' + checkedRegistrationNumber(registrationNumber) +
                   QStringLiteral("EX.dat"));
}

}  // namespace rw::model
