#include "model/record_image.h"

#include "common/file_ops.h"

#include <QFile>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#ifndef _WIN32
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>
#endif

namespace rw::model {

namespace {

// The ordinary opening: looked at, opened as the random-access file is
// (which creates it), read through that one opening; it says why it fails.
QByteArray readThroughQFile(const QString& path) {
    RequireRegularFile(path);
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite)) failFile("open", f);
    QByteArray all = f.readAll();
    if (f.error() != QFileDevice::NoError) failFile("read", f);
    return all;
}

#ifndef _WIN32
// One look at the name, one opening, one read for a file that stays as it
// was looked at; false where anything is out of the ordinary, which the
// ordinary opening then reports.
bool readDirect(const QByteArray& name, QByteArray& out) {
    struct stat st {};
    qsizetype expected = 0;
    if (::stat(name.constData(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) return false;
        expected = qsizetype(st.st_size);
    } else if (errno != ENOENT) {
        return false;
    }
    const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666);
    if (fd < 0) return false;
    // One byte more than expected: a read that fills less has met the end.
    qsizetype capacity = expected + 1, got = 0;
    out.resize(capacity);
    bool ok = true;
    for (;;) {
        const ssize_t n = ::read(fd, out.data() + got, size_t(capacity - got));
        if (n < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        if (n == 0) break;
        got += qsizetype(n);
        if (got < capacity) break;
        capacity *= 2;
        out.resize(capacity);
    }
    ::close(fd);
    out.resize(got);
    return ok;
}
#endif

#ifndef _WIN32
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
#endif

qint64 countOf(qint64 bytes, qsizetype recordLength, PartRecord part) {
    if (part == PartRecord::Dropped) return bytes / recordLength;
    return bytes <= 0 ? 0 : qint64(std::nearbyint(double(bytes) / double(recordLength)));
}

}  // namespace

QByteArray ReadRecordImage(const QString& path, qsizetype recordLength, PartRecord part, qint64* count) {
    if (recordLength <= 0) fail("record length must be positive");
    QByteArray all;
    bool read = false;
#ifndef _WIN32
    read = readDirect(QFile::encodeName(path), all);
#endif
    if (!read) all = readThroughQFile(path);
    *count = countOf(all.size(), recordLength, part);
    if (part == PartRecord::Nearest) all.resize(*count * recordLength, '\0');
    return all;
}

RecordImageFile::RecordImageFile(const QString& path, qsizetype recordLength) : path_(path), length_(recordLength) {
    if (recordLength <= 0) fail("record length must be positive");
#ifndef _WIN32
    // One look at the name, one opening, one read straight into the records.
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    bool direct = true;
    qint64 size = 0;
    if (::stat(name.constData(), &st) == 0) {
        direct = S_ISREG(st.st_mode);
        size = qint64(st.st_size);
    } else {
        direct = errno == ENOENT;
    }
    if (direct) fd_ = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666);
    if (fd_ >= 0) {
        const qsizetype n = qsizetype(size / recordLength);
        std::vector<iovec> parts;
        parts.reserve(size_t(n));
        records.reserve(n);
        for (qsizetype i = 0; i < n; ++i) {
            records.append(QByteArray(recordLength, Qt::Uninitialized));
            parts.push_back({records.back().data(), size_t(recordLength)});
        }
        // An error, or a file cut short meanwhile, reads again the ordinary way.
        if (transferAll(parts, [&](iovec* p, int n) { return ::readv(fd_, p, n); })) return;
        ::close(fd_);
        fd_ = -1;
        records.clear();
    }
#endif
    RequireRegularFile(path);
    file_ = std::make_unique<QFile>(path);
    if (!file_->open(QIODevice::ReadWrite | QIODevice::Unbuffered)) failFile("open", *file_);
    const QByteArray all = file_->readAll();
    if (file_->error() != QFileDevice::NoError) failFile("read", *file_);
    const qsizetype n = all.size() / recordLength;
    records.reserve(n);
    for (qsizetype i = 0; i < n; ++i) records.append(all.mid(i * recordLength, recordLength));
}

RecordImageFile::~RecordImageFile() {
#ifndef _WIN32
    if (fd_ >= 0) ::close(fd_);
#endif
}

void RecordImageFile::writeBack() {
    if (records.isEmpty()) return;
#ifndef _WIN32
    if (fd_ >= 0) {
        std::vector<iovec> parts = partsOf(records);
        off_t at = 0;
        const bool written = transferAll(parts, [&](iovec* p, int n) {
            const ssize_t done = ::pwritev(fd_, p, n, at);
            if (done > 0) at += done;
            return done;
        });
        if (!written) failFile("write", path_, errno ? qt_error_string(errno) : QStringLiteral("nothing written"));
        return;
    }
#endif
    QByteArray all;
    all.reserve(records.size() * length_);
    for (const QByteArray& r : records) all += r;
    if (!file_->seek(0) || file_->write(all) != all.size()) failFile("write", *file_);
}

bool CreateNewFile(const QString& path) {
#ifndef _WIN32
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0) return false;
    ::close(fd);
    return true;
#else
    Q_UNUSED(path);
    return false;
#endif
}

bool WriteNewRecords(const QString& path, const QList<QByteArray>& records) {
#ifndef _WIN32
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0) return false;
    std::vector<iovec> parts = partsOf(records);
    bool ok = transferAll(parts, [&](iovec* p, int n) { return ::writev(fd, p, n); });
    if (!ok && ::ftruncate(fd, 0) != 0) ok = false;
    if (::close(fd) != 0) ok = false;
    return ok;
#else
    Q_UNUSED(path);
    Q_UNUSED(records);
    return false;
#endif
}

}  // namespace rw::model
