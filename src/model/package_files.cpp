#include "model/package_files.h"

namespace rw::model {

QString SurfaceWord(Surface s) {
    switch (s) {
    case Surface::Turf: return QStringLiteral("Siba");
    case Surface::Dirt: return QStringLiteral("Dirt");
    case Surface::Jump: return QStringLiteral("Shog");
    }
    return {};
}

ModelFileNames ModelFiles(Surface s) {
    const QString w = SurfaceWord(s);
    const QString period = QStringLiteral("201401N2018.dat");
    const QString dir = QString::fromUtf16(kPackageFolder) + u'\\';
    ModelFileNames f;
    f.totalData = dir + QStringLiteral("QA1") + w + QStringLiteral("TotalData") + period;
    f.codes = dir + w + QStringLiteral("ItemCategory") + period;
    f.soha = dir + QStringLiteral("QA1") + w + QStringLiteral("SohaWeightData") + period;
    if (s == Surface::Jump) {
        f.agari = f.soha;
        f.pace = f.soha;
    } else {
        f.agari = dir + QStringLiteral("QA1") + w + QStringLiteral("AgariWeightData") + period;
        f.pace = dir + QStringLiteral("QA1") + w + QStringLiteral("PaceWeightData") + period;
    }
    f.sampleCounts = dir + w + QStringLiteral("ItemCategoryCount") + period;
    return f;
}

}  // namespace rw::model
