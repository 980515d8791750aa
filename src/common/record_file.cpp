#include "common/record_file.h"

#include "common/errors.h"
#include "common/file_ops.h"
#include "common/fixed_text.h"

#include <cerrno>
#include <cmath>

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

QByteArray RecordFile::readAllBytes(const QString& path, qsizetype recordLength, PartRecord part) {
    QByteArray all;
    if (!ReadWholeFile(path, all)) return all;
    const qsizetype n = part == PartRecord::Dropped ? all.size() / recordLength
                                                    : qsizetype(std::nearbyint(double(all.size()) / double(recordLength)));
    // A part record the count drops goes; one it keeps is padded with zero bytes.
    all.resize(n * recordLength, '\0');
    return all;
}

QList<QByteArray> RecordFile::readAll(const QString& path, qsizetype recordLength, PartRecord part) {
    const QByteArray all = readAllBytes(path, recordLength, part);
    const qsizetype n = all.size() / recordLength;
    QList<QByteArray> out;
    out.reserve(n);
    for (qsizetype i = 0; i < n; ++i) out.append(QByteArray(all.constData() + i * recordLength, recordLength));
    return out;
}

}  // namespace rw
