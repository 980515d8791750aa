#include "common/file_ops.h"

#include "common/errors.h"

#include <QFile>
#include <QFileInfo>

namespace rw {
namespace {
std::function<bool(const QString&)>& hook() {
    static std::function<bool(const QString&)> h;
    return h;
}
}  // namespace

bool RemoveFile(const QString& path) {
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink()) return true;
    if (hook()) return hook()(path);
    return QFile::remove(path);
}

void RemoveOrEmpty(const QString& path) {
    if (!RemoveFile(path)) WriteWholeFile(path, {});
}

void WriteWholeFile(const QString& path, QByteArrayView bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        fail("cannot create " + path.toStdString() + ": " + f.errorString().toStdString());
    if (f.write(bytes.data(), bytes.size()) != bytes.size())
        fail("cannot write " + path.toStdString() + ": " + f.errorString().toStdString());
    f.close();
    if (f.error() != QFileDevice::NoError) fail("cannot write " + path.toStdString() + ": " + f.errorString().toStdString());
}

void SetRemoveFileHook(std::function<bool(const QString&)> h) { hook() = std::move(h); }

}  // namespace rw
