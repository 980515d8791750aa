#include "common/kestrav_path.h"

#include "common/paths.h"

#include <QCoreApplication>
#include <QDir>

namespace rw {

QString AppPath;
std::int16_t OddsSourceFlag = 0;
QString SelectedCellText;

namespace {
QString AppPathCache;
QString ProgramFolderOverride;
}  // namespace

QString GetAppPath() {
    if (AppPathCache.isEmpty()) {
        QString folder = ProgramFolderOverride;
        if (folder.isEmpty()) folder = QCoreApplication::applicationDirPath();
        folder = QDir::cleanPath(QDir(folder).absolutePath());
        if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
        AppPathCache = folder;
    }
    return AppPathCache;
}

void SetProgramFolder(const QString& folder) {
    ProgramFolderOverride = folder;
    AppPathCache.clear();
}

QString AppFile(QStringView systemName) {
    if (AppPath.isEmpty()) AppPath = GetAppPath();
    return joinPath(AppPath, systemName);
}

}  // namespace rw
