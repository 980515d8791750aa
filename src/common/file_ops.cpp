#include "common/file_ops.h"

#include "common/errors.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

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

// The files of the running journal, by path.
struct JournalEntry {
    bool existed = false;   // a regular file stood there before the run
    bool backedUp = false;  // its old bytes are linked beside it
    bool failed = false;    // restored: takes no more writes in this run
};
struct Journal {
    bool active = false;
    QHash<QString, JournalEntry> files;
};
Journal& journal() {
    static Journal j;
    return j;
}

QString backupOf(const QString& path) { return path + QStringLiteral(".before"); }

// Writes all of `bytes`; a write that stops short is asked again for the
// rest, so that the failure carries the system's reason (a full disk).
bool writeAll(QFileDevice& f, QByteArrayView bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const qint64 n = f.write(bytes.data() + done, bytes.size() - done);
        if (n <= 0) return false;
        done += qsizetype(n);
    }
    return true;
}

void refuseAfterFailure(const QString& path) {
    const Journal& j = journal();
    if (!j.active) return;
    const auto it = j.files.constFind(path);
    if (it != j.files.cend() && it->failed)
        failFile("write", path, QStringLiteral("an earlier write of this run failed; it keeps what it held before"));
}

// Before the file's first replace in the run: its old bytes are kept.
void keepBeforeReplace(const QString& path) {
    Journal& j = journal();
    if (!j.active || j.files.contains(path)) return;
    JournalEntry e;
    const QFileInfo info(path);
    e.existed = info.exists() && info.isFile() && !info.isSymLink();
    if (e.existed) {
        const QString backup = backupOf(path);
        std::error_code ec;
        if (RemoveFile(backup)) {
            std::filesystem::create_hard_link(fsPath(path), fsPath(backup), ec);
            e.backedUp = !ec;
        }
    }
    j.files.insert(path, e);
}

// After a failed write: the file as it was before the run.
void restoreAfterFailure(const QString& path) {
    Journal& j = journal();
    if (!j.active) return;
    const auto it = j.files.find(path);
    if (it == j.files.end()) return;  // first touched by an append: the write itself was cut back
    JournalEntry& e = *it;
    if (e.backedUp) {
        // When the file is still the old one (its replace failed), the two
        // names lead to one file and the rename does nothing: the link goes.
        std::error_code ec;
        std::filesystem::rename(fsPath(backupOf(path)), fsPath(path), ec);
        if (ec || !RemoveFile(backupOf(path))) return;
        e.backedUp = false;
    } else if (!e.existed) {
        if (!RemoveFile(path)) return;
    } else {
        return;
    }
    e.failed = true;
}
}  // namespace

RunJournal::RunJournal() : owner_(!journal().active) {
    if (owner_) journal().active = true;
}

RunJournal::~RunJournal() {
    if (!owner_) return;
    Journal& j = journal();
    for (auto it = j.files.cbegin(); it != j.files.cend(); ++it)
        if (it->backedUp) RemoveFile(backupOf(it.key()));
    j.files.clear();
    j.active = false;
}

bool RunJournal::active() { return journal().active; }

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
    RequireRegularFile(path);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) failFile("create", f);
    if (!writeAll(f, bytes)) failFile("write", f);
    f.close();
    if (f.error() != QFileDevice::NoError) failFile("write", f);
}

void ReplaceFile(const QString& path, QByteArrayView bytes, const QString& scratchPath) {
    const QString scratch = scratchPath.isEmpty() ? path + QStringLiteral(".new") : scratchPath;
    refuseAfterFailure(path);
    keepBeforeReplace(path);
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
        restoreAfterFailure(path);
        throw;
    }
}

void RequireRegularFile(const QString& path) {
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) failFile("open", path, QStringLiteral("not a regular file"));
}

void WriteOrRestore(QFileDevice& file, QByteArrayView bytes) {
    refuseAfterFailure(file.fileName());
    if (bytes.isEmpty()) return;
    const qint64 before = file.size();
    if (writeAll(file, bytes)) return;
    const QString why = file.errorString();
    if (file.size() > before) file.resize(before);
    restoreAfterFailure(file.fileName());
    failFile("write", file.fileName(), why);
}

void MakeFolders(const QString& path) {
    std::error_code ec;
    std::filesystem::create_directories(fsPath(path), ec);
    if (ec) failFile("create folder", path, QString::fromStdString(ec.message()));
}

void SetRemoveFileHook(std::function<bool(const QString&)> h) { hook() = std::move(h); }

}  // namespace rw
