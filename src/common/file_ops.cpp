#include "common/file_ops.h"

#include "common/errors.h"

#include <QFile>

namespace rw {
namespace {
std::function<bool(const QString&)>& hook() {
    static std::function<bool(const QString&)> h;
    return h;
}
}  // namespace

bool RemoveFile(const QString& path) {
    if (!QFile::exists(path)) return true;
    if (hook()) return hook()(path);
    return QFile::remove(path);
}

void RemoveOrEmpty(const QString& path) {
    if (RemoveFile(path)) return;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        fail("cannot delete or empty " + path.toStdString());
}

void SetRemoveFileHook(std::function<bool(const QString&)> h) { hook() = std::move(h); }

}  // namespace rw
