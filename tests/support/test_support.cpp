#include "support/test_support.h"

#include "common/kestrav_path.h"
#include "common/cp932.h"
#include "common/paths.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

namespace rwtest {

AppFolder::AppFolder() {
    if (!dir_.isValid()) throw std::runtime_error("no temporary folder");
    rw::SetProgramFolder(dir_.path());
    rw::AppPath = rw::GetAppPath();
}

AppFolder::~AppFolder() {
    rw::SetProgramFolder(QString());
    rw::AppPath.clear();
}

QString AppFolder::file(const QString& systemName) const { return rw::joinPath(path(), systemName); }
QByteArray AppFolder::read(const QString& n) const { return readFile(file(n)); }
void AppFolder::write(const QString& n, const QByteArray& b) const {
    QDir().mkpath(QFileInfo(file(n)).path());
    writeFile(file(n), b);
}
bool AppFolder::exists(const QString& n) const { return QFileInfo::exists(file(n)); }

QByteArray readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

std::map<QString, QByteArray> filesUnder(const QString& dir) {
    std::map<QString, QByteArray> out;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString p = it.next();
        out[QDir(dir).relativeFilePath(p)] = readFile(p);
    }
    return out;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) throw std::runtime_error("cannot write test file");
    f.write(bytes);
}

QByteArray sj(const char* utf8) { return rw::cp932::encode(QString::fromUtf8(utf8)); }

}  // namespace rwtest
