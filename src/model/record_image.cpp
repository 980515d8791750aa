#include "model/record_image.h"

#include "common/file_ops.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <vector>

#include <fcntl.h>
#include <sys/uio.h>
#include <unistd.h>

namespace rw::model {

namespace {

// Moves every part of `parts` through `io` (readv, writev or pwritev over
// the parts from a given one on, at most IOV_MAX at a time), going on where
// a short transfer stopped. False at an error (errno says which) or at a
// transfer of nothing.
template <class Io>
bool transferAll(std::vector<iovec>& parts, Io io) {
    size_t first = 0;
    while (first < parts.size()) {
        ssize_t done = io(parts.data() + first, int(std::min<size_t>(parts.size() - first, IOV_MAX)));
        if (done < 0 && errno == EINTR) continue;
        if (done == 0) errno = 0;
        if (done <= 0) return false;
        while (first < parts.size() && size_t(done) >= parts[first].iov_len) {
            done -= ssize_t(parts[first].iov_len);
            ++first;
        }
        if (done > 0) {
            parts[first].iov_base = static_cast<char*>(parts[first].iov_base) + done;
            parts[first].iov_len -= size_t(done);
        }
    }
    return true;
}

std::vector<iovec> partsOf(const QList<QByteArray>& records) {
    std::vector<iovec> parts;
    parts.reserve(size_t(records.size()));
    for (const QByteArray& r : records)
        if (!r.isEmpty()) parts.push_back({const_cast<char*>(r.constData()), size_t(r.size())});
    return parts;
}

}  // namespace

QByteArray ReadRecordImage(const QString& path, qsizetype recordLength, PartRecord part, qint64* count) {
    if (recordLength <= 0) fail("record length must be positive");
    // Opened as the random-access file is (a missing file is created), with
    // one read asking for a byte more than the file holds: a shorter answer
    // is its end.
    qint64 size = 0;
    const FileDescriptor file = OpenRegularFile(path, FileAccess::ReadWrite, &size);
    QByteArray all;
    qsizetype have = 0, want = qsizetype(size) + 1;
    for (;;) {
        all.resize(have + want);
        const ssize_t n = ::read(file.get(), all.data() + have, size_t(want));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) failFile("read", path, qt_error_string(errno));
        have += qsizetype(n);
        if (n < want) break;
        want = std::max<qsizetype>(want, 1 << 16);
    }
    all.resize(have);
    *count = RecordFile::recordsIn(all.size(), recordLength, part);
    if (part == PartRecord::Nearest) all.resize(*count * recordLength, '\0');
    return all;
}

RecordImageFile::RecordImageFile(const QString& path, qsizetype recordLength) : path_(path) {
    if (recordLength <= 0) fail("record length must be positive");
    // One opening (a missing file is created), one read straight into the
    // records.
    qint64 size = 0;
    file_ = OpenRegularFile(path, FileAccess::ReadWrite, &size);
    const qsizetype n = qsizetype(size / recordLength);
    std::vector<iovec> parts;
    parts.reserve(size_t(n));
    records.reserve(n);
    for (qsizetype i = 0; i < n; ++i) {
        records.append(QByteArray(recordLength, Qt::Uninitialized));
        parts.push_back({records.back().data(), size_t(recordLength)});
    }
    if (!transferAll(parts, [&](iovec* p, int k) { return ::readv(file_.get(), p, k); }))
        failFile("read", path, errno ? qt_error_string(errno) : QStringLiteral("the file ends early"));
}

void RecordImageFile::writeBack() {
    if (records.isEmpty()) return;
    std::vector<iovec> parts = partsOf(records);
    off_t at = 0;
    const bool written = transferAll(parts, [&](iovec* p, int n) {
        const ssize_t done = ::pwritev(file_.get(), p, n, at);
        if (done > 0) at += done;
        return done;
    });
    if (!written) failFile("write", path_, errno ? qt_error_string(errno) : QStringLiteral("nothing written"));
}

bool CreateNewFile(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

bool WriteNewRecords(const QString& path, const QList<QByteArray>& records) {
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0) return false;
    std::vector<iovec> parts = partsOf(records);
    bool ok = transferAll(parts, [&](iovec* p, int n) { return ::writev(fd, p, n); });
    if (!ok && ::ftruncate(fd, 0) != 0) ok = false;
    if (::close(fd) != 0) ok = false;
    return ok;
}

}  // namespace rw::model
