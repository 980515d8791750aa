#include "common/file_ops.h"

#include "common/errors.h"

#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace rw {
namespace {
std::function<bool(const QString&)>& hook() {
    static std::function<bool(const QString&)> h;
    return h;
}

std::filesystem::path fsPath(const QString& p) {
#ifdef _WIN32
    return std::filesystem::path(p.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(p).toStdString());
#endif
}
}  // namespace

std::string fileError(std::string_view action, const QString& path, const QString& reason) {
    std::string text = "cannot ";
    text += action;
    text += ' ';
    text += path.toStdString();
    text += ": ";
    text += reason.isEmpty() ? std::string("unknown reason") : reason.toStdString();
    return text;
}

void failFile(std::string_view action, const QString& path, const QString& reason) {
    fail(fileError(action, path, reason));
}

void failFile(std::string_view action, const QFileDevice& file) {
    failFile(action, file.fileName(), file.errorString());
}

bool RemoveFile(const QString& path, QString* reason) {
    {
        // One look at the name itself: nothing there (not even a broken link)
        // is nothing to delete.
        std::error_code ec;
        const auto type = std::filesystem::symlink_status(fsPath(path), ec).type();
        if (type == std::filesystem::file_type::not_found || type == std::filesystem::file_type::none) return true;
    }
    if (hook()) {
        if (hook()(path)) return true;
        if (reason) *reason = QStringLiteral("deletion refused");
        return false;
    }
    QFile f(path);
    if (f.remove()) return true;
    if (reason) *reason = f.errorString();
    return false;
}

void RemoveOrEmpty(const QString& path) {
    if (!RemoveFile(path)) WriteWholeFile(path, {});
}

void WriteWholeFile(const QString& path, QByteArrayView bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) failFile("create", f);
    if (f.write(bytes.data(), bytes.size()) != bytes.size()) failFile("write", f);
    f.close();
    if (f.error() != QFileDevice::NoError) failFile("write", f);
}

void ReplaceFile(const QString& path, QByteArrayView bytes, const QString& scratchPath) {
    const QString scratch = scratchPath.isEmpty() ? path + QStringLiteral(".new") : scratchPath;
    try {
        // A scratch file left behind (or a link there) must not be written
        // through: it goes first.
        if (QString why; !RemoveFile(scratch, &why)) failFile("delete", scratch, why);
        WriteWholeFile(scratch, bytes);
        std::error_code ec;
        std::filesystem::rename(fsPath(scratch), fsPath(path), ec);
        if (ec) failFile("replace", path, QString::fromStdString(ec.message()));
    } catch (...) {
        RemoveFile(scratch);
        throw;
    }
}

void MakeFolders(const QString& path) {
    std::error_code ec;
    std::filesystem::create_directories(fsPath(path), ec);
    if (ec) failFile("create folder", path, QString::fromStdString(ec.message()));
}

void SetRemoveFileHook(std::function<bool(const QString&)> h) { hook() = std::move(h); }

}  // namespace rw
