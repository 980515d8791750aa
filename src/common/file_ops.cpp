#include "common/file_ops.h"

#include "common/errors.h"

#include <QFile>
#include <QHash>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <filesystem>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

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

// The name as the system takes it.
QByteArray nativePath(const QString& p) { return QFile::encodeName(p); }

QString reasonOf(int error) { return qt_error_string(error); }

// Nothing stands at the name (or a folder on its way is missing or is not
// a folder).
bool isMissing(int error) { return error == ENOENT || error == ENOTDIR; }

QString notRegularReason() { return QStringLiteral("not a regular file"); }

// Moves every part of `parts` through `io` (a readv or writev, or a
// positioned one, over at most IOV_MAX parts from a given one on, told how
// many bytes went before), going on where a short transfer stopped, so that
// a failure carries the system's reason (a full disk). Returns the bytes
// moved; `error` is 0 when all moved, the system's error, or `nothing` when
// a call moved no byte. Empty parts are left out beforehand.
template <class Io>
qint64 transferAll(std::vector<iovec>& parts, Io io, int nothing, int* error) {
    qint64 moved = 0;
    size_t first = 0;
    *error = 0;
    while (first < parts.size()) {
        ssize_t done = io(parts.data() + first, int(std::min<size_t>(parts.size() - first, IOV_MAX)), moved);
        if (done < 0 && errno == EINTR) continue;
        if (done <= 0) {
            *error = done < 0 ? errno : nothing;
            break;
        }
        moved += done;
        while (first < parts.size() && size_t(done) >= parts[first].iov_len) {
            done -= ssize_t(parts[first].iov_len);
            ++first;
        }
        if (done > 0) {
            parts[first].iov_base = static_cast<char*>(parts[first].iov_base) + done;
            parts[first].iov_len -= size_t(done);
        }
    }
    return moved;
}

// Writes every part at `offset` (at the descriptor's position when it is
// negative); a write that takes nothing counts as a full disk.
qint64 writeParts(int fd, std::vector<iovec>& parts, qint64 offset, int* error) {
    return transferAll(
        parts,
        [&](iovec* p, int n, qint64 before) {
            return offset < 0 ? ::writev(fd, p, n) : ::pwritev(fd, p, n, off_t(offset + before));
        },
        ENOSPC, error);
}

// Writes all of `bytes` as writeParts does. Returns the bytes written and,
// on failure, the system's error.
qint64 writeFully(int fd, QByteArrayView bytes, qint64 offset, int* error) {
    std::vector<iovec> parts;
    if (!bytes.isEmpty()) parts.push_back({const_cast<char*>(bytes.data()), size_t(bytes.size())});
    return writeParts(fd, parts, offset, error);
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
    const QByteArray native = nativePath(path);
    struct stat st;
    e.existed = ::lstat(native.constData(), &st) == 0 && S_ISREG(st.st_mode);
    if (e.existed) {
        // A link left behind by an earlier run goes first.
        const QString backup = backupOf(path);
        const QByteArray nativeBackup = nativePath(backup);
        e.backedUp = ::link(native.constData(), nativeBackup.constData()) == 0;
        if (!e.backedUp && errno == EEXIST && RemoveFile(backup))
            e.backedUp = ::link(native.constData(), nativeBackup.constData()) == 0;
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
        if (::rename(nativePath(backupOf(path)).constData(), nativePath(path).constData()) != 0 ||
            !RemoveFile(backupOf(path)))
            return;
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
    const QByteArray native = nativePath(path);
    if (hook()) {
        // Nothing there (not even a broken link) is nothing to delete.
        struct stat st;
        if (::lstat(native.constData(), &st) != 0 && isMissing(errno)) return true;
        if (hook()(path)) return true;
        if (reason) *reason = QStringLiteral("deletion refused");
        return false;
    }
    // The name itself goes (a link, not what it leads to); one that is not
    // there is already gone.
    if (::unlink(native.constData()) == 0 || isMissing(errno)) return true;
    if (reason) *reason = reasonOf(errno);
    return false;
}

void RemoveOrEmpty(const QString& path) {
    if (!RemoveFile(path)) WriteWholeFile(path, {});
}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

bool FileDescriptor::close(QString* reason) {
    if (fd_ < 0) return true;
    // The descriptor is gone whatever close says; it is not closed twice.
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) == 0 || errno == EINTR) return true;
    if (reason) *reason = reasonOf(errno);
    return false;
}

FileDescriptor TryOpenRegularFile(const QString& path, FileAccess access, qint64* size, int* error,
                                  bool* notRegular) {
    *error = 0;
    *notRegular = false;
    const QByteArray native = nativePath(path);
    // Non-blocking, so that a FIFO is refused instead of waited on; it
    // changes nothing for a regular file.
    int flags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    switch (access) {
    case FileAccess::Read: flags |= O_RDONLY; break;
    case FileAccess::ReadWrite: flags |= O_RDWR | O_CREAT; break;
    case FileAccess::Write:
    case FileAccess::Append: flags |= O_WRONLY | O_CREAT | O_APPEND; break;
    }
    int fd;
    do {
        fd = ::open(native.constData(), flags, 0666);
    } while (fd < 0 && errno == EINTR);
    struct stat st;
    if (fd < 0) {
        *error = errno;
        // Whatever the open said (a FIFO without a reader, a folder opened
        // for writing), a name that leads to something other than a regular
        // file is refused as such.
        *notRegular = !isMissing(*error) && ::stat(native.constData(), &st) == 0 && !S_ISREG(st.st_mode);
        return {};
    }
    FileDescriptor file(fd);
    if (::fstat(fd, &st) != 0) {
        *error = errno;
        return {};
    }
    if (!S_ISREG(st.st_mode)) {
        *notRegular = true;
        return {};
    }
    // Emptied only once it is known to be a regular file.
    if (access == FileAccess::Write && st.st_size > 0) {
        if (::ftruncate(fd, 0) != 0) {
            *error = errno;
            return {};
        }
        st.st_size = 0;
    }
    if (size) *size = qint64(st.st_size);
    return file;
}

FileDescriptor OpenRegularFile(const QString& path, FileAccess access, qint64* size, std::string_view action) {
    int error = 0;
    bool notRegular = false;
    FileDescriptor file = TryOpenRegularFile(path, access, size, &error, &notRegular);
    if (notRegular) failFile("open", path, notRegularReason());
    if (!file.isOpen() && !(access == FileAccess::Read && isMissing(error))) failFile(action, path, reasonOf(error));
    return file;
}

bool ReadWholeFile(const QString& path, QByteArray& bytes, FileAccess access) {
    bytes.clear();
    qint64 size = 0;
    const FileDescriptor file = OpenRegularFile(path, access, &size);
    if (!file.isOpen()) return false;
    // One read asking for a byte more than the file holds: a shorter answer
    // is the end of the file; a file that grew meanwhile is read on.
    qsizetype have = 0;
    qsizetype want = qsizetype(size) + 1;
    for (;;) {
        bytes.resize(have + want);
        const ssize_t n = ::read(file.get(), bytes.data() + have, size_t(want));
        if (n < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            bytes.clear();
            failFile("read", path, reasonOf(error));
        }
        have += qsizetype(n);
        if (n < want) break;
        want = qMax<qsizetype>(want, 1 << 16);
    }
    bytes.resize(have);
    return true;
}

namespace {
std::vector<iovec> partsOf(const QList<QByteArray>& records) {
    std::vector<iovec> parts;
    parts.reserve(size_t(records.size()));
    for (const QByteArray& r : records)
        if (!r.isEmpty()) parts.push_back({const_cast<char*>(r.constData()), size_t(r.size())});
    return parts;
}
}  // namespace

void ReadRecordsInto(const FileDescriptor& file, const QString& path, QList<QByteArray>& records) {
    std::vector<iovec> parts;
    parts.reserve(size_t(records.size()));
    for (QByteArray& r : records)
        if (!r.isEmpty()) parts.push_back({r.data(), size_t(r.size())});
    constexpr int kEndedEarly = -1;
    int error = 0;
    transferAll(
        parts, [&](iovec* p, int n, qint64) { return ::readv(file.get(), p, n); }, kEndedEarly, &error);
    if (error) failFile("read", path, error == kEndedEarly ? QStringLiteral("the file ends early") : reasonOf(error));
}

int WriteRecords(int fd, const QList<QByteArray>& records, qint64 offset) {
    std::vector<iovec> parts = partsOf(records);
    int error = 0;
    writeParts(fd, parts, offset, &error);
    return error;
}

namespace {
// A failed write of `path` that added `added` bytes to a file of `before`
// bytes: the file is cut back, the run journal gives it its old bytes when
// it keeps them, and the failure goes on.
[[noreturn]] void restoreAfterWrite(int fd, const QString& path, qint64 before, qint64 added, int error) {
    if (added > 0) {
        struct stat st;
        if (::fstat(fd, &st) == 0 && qint64(st.st_size) > before) (void)::ftruncate(fd, off_t(before));
    }
    restoreAfterFailure(path);
    failFile("write", path, reasonOf(error));
}
}  // namespace

void AppendOrRestore(const FileDescriptor& file, const QString& path, QByteArrayView bytes) {
    refuseAfterFailure(path);
    if (bytes.isEmpty()) return;
    int error = 0;
    const qint64 done = writeFully(file.get(), bytes, -1, &error);
    if (!error) return;
    // Every byte of this write went to the end of the file, so it held
    // `done` bytes less before it; only a failure needs to know.
    struct stat st;
    const qint64 before = ::fstat(file.get(), &st) == 0 ? qint64(st.st_size) - done : 0;
    restoreAfterWrite(file.get(), path, before, done, error);
}

void WriteAtOrRestore(const FileDescriptor& file, const QString& path, qint64 offset, QByteArrayView bytes) {
    refuseAfterFailure(path);
    if (bytes.isEmpty()) return;
    struct stat st;
    if (::fstat(file.get(), &st) != 0) failFile("write", path, reasonOf(errno));
    WriteAtOrRestore(file, path, offset, bytes, qint64(st.st_size));
}

void WriteAtOrRestore(const FileDescriptor& file, const QString& path, qint64 offset, QByteArrayView bytes,
                      qint64 sizeBefore) {
    refuseAfterFailure(path);
    if (bytes.isEmpty()) return;
    int error = 0;
    const qint64 done = writeFully(file.get(), bytes, offset, &error);
    if (error) restoreAfterWrite(file.get(), path, sizeBefore, done, error);
}

void WriteWholeFile(const QString& path, QByteArrayView bytes) {
    FileDescriptor file = OpenRegularFile(path, FileAccess::Write, nullptr, "create");
    int error = 0;
    writeFully(file.get(), bytes, -1, &error);
    if (error) failFile("write", path, reasonOf(error));
    if (QString why; !file.close(&why)) failFile("write", path, why);
}

FileDescriptor CreateNewFile(const QString& path, int* error) {
    const QByteArray native = nativePath(path);
    int fd;
    do {
        fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
    } while (fd < 0 && errno == EINTR);
    if (error) *error = fd < 0 ? errno : 0;
    return FileDescriptor(fd);
}

namespace {
// A new scratch file: created where nothing stands, so that whatever was
// left there (a file, a link) is deleted and never written through.
FileDescriptor createScratch(const QString& scratch) {
    for (int attempt = 0;; ++attempt) {
        int error = 0;
        FileDescriptor file = CreateNewFile(scratch, &error);
        if (file.isOpen()) return file;
        if (error != EEXIST || attempt == 2) failFile("create", scratch, reasonOf(error));
        if (QString why; !RemoveFile(scratch, &why)) failFile("delete", scratch, why);
    }
}
}  // namespace

void ReplaceFile(const QString& path, QByteArrayView bytes, const QString& scratchPath) {
    const QString scratch = scratchPath.isEmpty() ? path + QStringLiteral(".new") : scratchPath;
    refuseAfterFailure(path);
    keepBeforeReplace(path);
    try {
        FileDescriptor file = createScratch(scratch);
        int error = 0;
        writeFully(file.get(), bytes, -1, &error);
        if (error) failFile("write", scratch, reasonOf(error));
        if (QString why; !file.close(&why)) failFile("write", scratch, why);
        if (::rename(nativePath(scratch).constData(), nativePath(path).constData()) != 0)
            failFile("replace", path, reasonOf(errno));
    } catch (...) {
        RemoveFile(scratch);
        restoreAfterFailure(path);
        throw;
    }
}

void RequireRegularFile(const QString& path) {
    struct stat st;
    if (::stat(nativePath(path).constData(), &st) == 0 && !S_ISREG(st.st_mode))
        failFile("open", path, notRegularReason());
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
