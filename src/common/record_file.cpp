#include "common/record_file.h"

#include "common/errors.h"
#include "common/file_ops.h"
#include "common/fixed_text.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace rw {

void RecordFile::open(const QString& path, qsizetype recordLength) {
    close();
    if (recordLength <= 0) fail("record length must be positive");
    RequireRegularFile(path);
    auto f = std::make_unique<QFile>(path);
    if (!f->open(QIODevice::ReadWrite | QIODevice::Unbuffered)) failFile("open", *f);
    file_ = std::move(f);
    length_ = recordLength;
}

void RecordFile::close() {
    if (file_) file_->close();
    file_.reset();
}

qint64 RecordFile::count() const {
    if (!isOpen()) return 0;
    return file_->size() / length_;
}

QByteArray RecordFile::read(qint64 n) const {
    if (!isOpen()) fail("record file not open");
    if (n < 1) fail("bad record number " + std::to_string(n));
    QByteArray out(length_, '\0');
    if (!file_->seek((n - 1) * length_)) failFile("seek in", *file_);
    const qint64 got = file_->read(out.data(), length_);
    if (got < 0) failFile("read", *file_);
    return out;  // bytes beyond the end of the file stay zero
}

void RecordFile::write(qint64 n, QByteArrayView image) {
    if (!isOpen()) fail("record file not open");
    if (n < 1) fail("bad record number " + std::to_string(n));
    QByteArray rec = image.size() == length_ ? image.toByteArray() : fixedBytes(image, length_);
    if (!file_->seek((n - 1) * length_)) failFile("write", *file_);
    WriteOrRestore(*file_, rec);
}

void RecordFile::writeRecords(qint64 first, QByteArrayView images) {
    if (!isOpen()) fail("record file not open");
    if (first < 1 || images.size() % length_ != 0) fail("bad records for " + file_->fileName().toStdString());
    if (!file_->seek((first - 1) * length_)) failFile("write", *file_);
    WriteOrRestore(*file_, images);
}

qint64 RecordFile::append(QByteArrayView image) {
    const qint64 n = count() + 1;
    write(n, image);
    return n;
}

qint64 RecordFile::countOf(const QString& path, qsizetype recordLength) {
    QFileInfo fi(path);
    if (!fi.exists() || recordLength <= 0) return 0;
    return fi.size() / recordLength;
}

namespace {

// A file opened for a whole read; none when it is missing. One look at the
// name: anything but a file is refused.
std::unique_ptr<QFile> openWhole(const QString& path) {
    {
        const QFileInfo info(path);
        if (!info.exists()) return nullptr;
        if (!info.isFile()) failFile("open", path, QStringLiteral("not a regular file"));
    }
    auto f = std::make_unique<QFile>(path);
    if (!f->open(QIODevice::ReadOnly | QIODevice::Unbuffered)) failFile("open", *f);
    return f;
}

}  // namespace

QList<QByteArray> RecordFile::readAll(const QString& path, qsizetype recordLength, PartRecord part) {
    QList<QByteArray> out;
    const auto f = openWhole(path);
    if (!f) return out;
    if (recordLength > 0) out.reserve(qsizetype(f->size() / recordLength) + 1);
    readEach(*f, recordLength, part, [&](QByteArrayView rec) { out.append(rec.toByteArray()); });
    return out;
}

void RecordFile::readEach(const QString& path, qsizetype recordLength, PartRecord part,
                          const std::function<void(QByteArrayView)>& each) {
    if (const auto f = openWhole(path)) readEach(*f, recordLength, part, each);
}

void RecordFile::readEach(QFile& f, qsizetype recordLength, PartRecord part,
                          const std::function<void(QByteArrayView)>& each) {
    if (recordLength <= 0) fail("record length must be positive");
    // The bytes the file has now, as a whole read takes them, in pieces of
    // whole records; a small file is one piece.
    constexpr qint64 kPiece = 1 << 20;
    qint64 left = std::max<qint64>(0, f.size() - f.pos());
    const qint64 perPiece = std::max<qint64>(1, kPiece / recordLength) * recordLength;
    QByteArray piece(qsizetype(std::min(perPiece, left)), Qt::Uninitialized);
    qint64 total = 0, held = 0;  // bytes read; bytes at the piece's start not yet handed on
    while (left > 0) {
        const qint64 want = std::min<qint64>(left, piece.size() - held);
        const qint64 got = f.read(piece.data() + held, want);
        if (got < 0) failFile("read", f);
        total += got;
        held += got;
        left -= got;
        const qint64 whole = held / recordLength * recordLength;
        for (qint64 at = 0; at < whole; at += recordLength) each(QByteArrayView(piece.constData() + at, recordLength));
        held -= whole;
        if (held > 0 && whole > 0) std::memmove(piece.data(), piece.constData() + whole, size_t(held));
        if (got < want) break;  // the file ended sooner
    }
    const qint64 count = part == PartRecord::Dropped ? total / recordLength
                                                     : qint64(std::nearbyint(double(total) / double(recordLength)));
    if (held > 0 && count > total / recordLength) {
        QByteArray last(piece.constData(), qsizetype(held));
        last.append(QByteArray(recordLength - held, '\0'));
        each(last);
    }
}

}  // namespace rw
