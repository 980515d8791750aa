#include "model/record_image.h"

#include "common/file_ops.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>

namespace rw::model {

QByteArray ReadRecordImage(const QString& path, qsizetype recordLength, PartRecord part, qint64* count) {
    if (recordLength <= 0) fail("record length must be positive");
    // Opened as the random-access file is: a missing file is created.
    QByteArray all;
    ReadWholeFile(path, all, FileAccess::ReadWrite);
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
    records.reserve(n);
    for (qsizetype i = 0; i < n; ++i) records.append(QByteArray(recordLength, Qt::Uninitialized));
    ReadRecordsInto(file_, path, records);
}

void RecordImageFile::writeBack() {
    if (records.isEmpty()) return;
    if (const int error = WriteRecords(file_.get(), records, 0)) failFile("write", path_, qt_error_string(error));
}

bool WriteNewRecords(const QString& path, const QList<QByteArray>& records) {
    // Not through the file layer's opening: a link in its place is not
    // followed, and anything odd there is left to the caller's ordinary
    // opening, which reports it.
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0) return false;
    FileDescriptor file(fd);
    bool ok = WriteRecords(fd, records, -1) == 0;
    if (!ok && ::ftruncate(fd, 0) != 0) ok = false;
    if (!file.close()) ok = false;
    return ok;
}

}  // namespace rw::model
