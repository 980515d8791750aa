#include "common/record_file.h"

#include "common/errors.h"
#include "common/file_ops.h"
#include "common/fixed_text.h"

#include <QFileInfo>
#include <cmath>

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

QList<QByteArray> RecordFile::readAll(const QString& path, qsizetype recordLength, PartRecord part) {
    QList<QByteArray> out;
    QFile f(path);
    {
        // One look at the name: missing gives none, anything but a file is refused.
        const QFileInfo info(path);
        if (!info.exists()) return out;
        if (!info.isFile()) failFile("open", path, QStringLiteral("not a regular file"));
    }
    if (!f.open(QIODevice::ReadOnly)) failFile("open", f);
    const QByteArray all = f.readAll();
    if (f.error() != QFileDevice::NoError) failFile("read", f);
    const qsizetype n = part == PartRecord::Dropped ? all.size() / recordLength
                                                    : qsizetype(std::nearbyint(double(all.size()) / double(recordLength)));
    out.reserve(n);
    for (qsizetype i = 0; i < n; ++i) {
        QByteArray rec = all.mid(i * recordLength, recordLength);
        if (rec.size() < recordLength) rec.append(QByteArray(recordLength - rec.size(), '\0'));
        out.append(std::move(rec));
    }
    return out;
}

}  // namespace rw
