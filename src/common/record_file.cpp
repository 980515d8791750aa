#include "common/record_file.h"

#include "common/errors.h"
#include "common/file_ops.h"
#include "common/fixed_text.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace rw {

void RecordFile::open(const QString& path, qsizetype recordLength) {
    close();
    if (recordLength <= 0) fail("record length must be positive");
    file_ = OpenRegularFile(path, FileAccess::ReadWrite);
    path_ = path;
    length_ = recordLength;
}

void RecordFile::close() {
    file_.close();
    path_.clear();
}

qint64 RecordFile::count() const {
    if (!isOpen()) return 0;
    struct stat st;
    if (::fstat(file_.get(), &st) != 0) return 0;
    return qint64(st.st_size) / length_;
}

QByteArray RecordFile::read(qint64 n) const {
    if (!isOpen()) fail("record file not open");
    if (n < 1) fail("bad record number " + std::to_string(n));
    QByteArray out(length_, '\0');
    qsizetype got = 0;
    while (got < length_) {
        const ssize_t r = ::pread(file_.get(), out.data() + got, size_t(length_ - got), off_t((n - 1) * length_ + got));
        if (r < 0 && errno == EINTR) continue;
        if (r < 0) failFile("read", path_, qt_error_string(errno));
        if (r == 0) break;
        got += qsizetype(r);
    }
    return out;  // bytes beyond the end of the file stay zero
}

void RecordFile::write(qint64 n, QByteArrayView image) {
    if (!isOpen()) fail("record file not open");
    if (n < 1) fail("bad record number " + std::to_string(n));
    if (image.size() == length_) {
        WriteAtOrRestore(file_, path_, (n - 1) * length_, image);
        return;
    }
    WriteAtOrRestore(file_, path_, (n - 1) * length_, fixedBytes(image, length_));
}

void RecordFile::writeRecords(qint64 first, QByteArrayView images) {
    if (!isOpen()) fail("record file not open");
    if (first < 1 || images.size() % length_ != 0) fail("bad records for " + path_.toStdString());
    WriteAtOrRestore(file_, path_, (first - 1) * length_, images);
}

qint64 RecordFile::append(QByteArrayView image) {
    if (!isOpen()) fail("record file not open");
    // One look at the file gives both the record number and the length a
    // failed write cuts it back to.
    struct stat st;
    if (::fstat(file_.get(), &st) != 0) failFile("write", path_, qt_error_string(errno));
    const qint64 n = qint64(st.st_size) / length_ + 1;
    WriteAtOrRestore(file_, path_, (n - 1) * length_,
                     image.size() == length_ ? QByteArray::fromRawData(image.data(), image.size()) : fixedBytes(image, length_),
                     qint64(st.st_size));
    return n;
}

qint64 RecordFile::countOf(const QString& path, qsizetype recordLength) {
    struct stat st;
    if (recordLength <= 0 || ::stat(QFile::encodeName(path).constData(), &st) != 0) return 0;
    return qint64(st.st_size) / recordLength;
}

qint64 RecordFile::recordsIn(qint64 bytes, qsizetype recordLength, PartRecord part) {
    if (bytes <= 0) return 0;
    return part == PartRecord::Dropped ? bytes / recordLength : qint64(std::nearbyint(double(bytes) / double(recordLength)));
}

namespace {
FileAccess accessFor(RecordFile::Missing missing) {
    return missing == RecordFile::Missing::Created ? FileAccess::ReadWrite : FileAccess::Read;
}
}  // namespace

QByteArray RecordFile::readAllBytes(const QString& path, qsizetype recordLength, PartRecord part, Missing missing) {
    QByteArray all;
    if (!ReadWholeFile(path, all, accessFor(missing))) return all;
    const qsizetype n = qsizetype(recordsIn(all.size(), recordLength, part));
    // A part record the count drops goes; one it keeps is padded with zero bytes.
    all.resize(n * recordLength, '\0');
    return all;
}

namespace {

// The records of `left` bytes that `read` gives (the bytes it read, or a
// negative count when the read failed, after which `failRead` throws), in
// pieces of whole records of about a megabyte; a small file is one piece.
template <class Read, class FailRead>
void eachRecord(Read&& read, FailRead&& failRead, qint64 left, qsizetype recordLength, RecordFile::PartRecord part,
                const std::function<void(QByteArrayView)>& each) {
    if (recordLength <= 0) fail("record length must be positive");
    constexpr qint64 kPiece = 1 << 20;
    left = std::max<qint64>(0, left);
    const qint64 perPiece = std::max<qint64>(1, kPiece / recordLength) * recordLength;
    QByteArray piece(qsizetype(std::min(perPiece, left)), Qt::Uninitialized);
    qint64 total = 0, held = 0;  // bytes read; bytes at the piece's start not yet handed on
    while (left > 0) {
        const qint64 want = std::min<qint64>(left, piece.size() - held);
        const qint64 got = read(piece.data() + held, want);
        if (got < 0) failRead();
        total += got;
        held += got;
        left -= got;
        const qint64 whole = held / recordLength * recordLength;
        for (qint64 at = 0; at < whole; at += recordLength) each(QByteArrayView(piece.constData() + at, recordLength));
        held -= whole;
        if (held > 0 && whole > 0) std::memmove(piece.data(), piece.constData() + whole, size_t(held));
        if (got < want) break;  // the file ended sooner
    }
    const qint64 count = RecordFile::recordsIn(total, recordLength, part);
    if (held > 0 && count > total / recordLength) {
        QByteArray last(piece.constData(), qsizetype(held));
        last.append(QByteArray(recordLength - held, '\0'));
        each(last);
    }
}

// The records of the regular file at `path` as it is now; a missing one as
// `missing` says. `opened` learns the file's length first.
void eachRecordOf(const QString& path, qsizetype recordLength, RecordFile::PartRecord part, RecordFile::Missing missing,
                  const std::function<void(QByteArrayView)>& each, const std::function<void(qint64)>& opened = {}) {
    qint64 size = 0;
    const FileDescriptor file = OpenRegularFile(path, accessFor(missing), &size);
    if (!file.isOpen()) return;
    if (opened) opened(size);
    int error = 0;
    eachRecord(
        [&](char* to, qint64 want) -> qint64 {
            // A whole piece, unless the file ends sooner.
            qint64 got = 0;
            while (got < want) {
                const ssize_t n = ::read(file.get(), to + got, size_t(want - got));
                if (n < 0 && errno == EINTR) continue;
                if (n < 0) {
                    error = errno;
                    return -1;
                }
                if (n == 0) break;
                got += n;
            }
            return got;
        },
        [&] { failFile("read", path, qt_error_string(error)); }, size, recordLength, part, each);
}

}  // namespace

QList<QByteArray> RecordFile::readAll(const QString& path, qsizetype recordLength, PartRecord part, Missing missing) {
    QList<QByteArray> out;
    eachRecordOf(
        path, recordLength, part, missing, [&](QByteArrayView rec) { out.append(rec.toByteArray()); },
        [&](qint64 size) {
            if (recordLength > 0) out.reserve(qsizetype(size / recordLength) + 1);
        });
    return out;
}

void RecordFile::readEach(const QString& path, qsizetype recordLength, PartRecord part,
                          const std::function<void(QByteArrayView)>& each, Missing missing) {
    eachRecordOf(path, recordLength, part, missing, each);
}

}  // namespace rw
