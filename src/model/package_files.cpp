#include "model/package_files.h"

#include "common/paths.h"

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
    auto file = [&](const QString& name) { return inFolder(kPackageFolder, name + period); };
    ModelFileNames f;
    f.totalData = file(QStringLiteral("QA1") + w + QStringLiteral("TotalData"));
    f.codes = file(w + QStringLiteral("ItemCategory"));
    f.soha = file(QStringLiteral("QA1") + w + QStringLiteral("SohaWeightData"));
    if (s == Surface::Jump) {
        f.agari = f.soha;
        f.pace = f.soha;
    } else {
        f.agari = file(QStringLiteral("QA1") + w + QStringLiteral("AgariWeightData"));
        f.pace = file(QStringLiteral("QA1") + w + QStringLiteral("PaceWeightData"));
    }
    f.sampleCounts = file(w + QStringLiteral("ItemCategoryCount"));
    return f;
}

}  // namespace rw::model
