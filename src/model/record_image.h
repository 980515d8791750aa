#pragma once
// Whole record files of ⑤ read and written with as few calls to the system
// as the file's rules allow: thousands of horse files are read or written
// once each per press, so every look at a name costs.
//
// The readers keep the rules of a file opened for random access, through
// the file layer's OpenRegularFile: a missing file is created empty,
// anything but a regular file is refused without being waited on, and
// every failure names the file and the system's reason.
#include "common/file_ops.h"
#include "common/record_file.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace rw::model {

// How the record count treats a part record at the end: the record file's
// rule (dropped, or rounded to the nearest and padded with zero bytes).
using PartRecord = RecordFile::PartRecord;

// The whole file (created empty when missing); `count` receives the number
// of records. With PartRecord::Nearest the image is cut or padded to whole
// records; with Dropped it is the file's bytes as they are. Throws
// StepFailure.
QByteArray ReadRecordImage(const QString& path, qsizetype recordLength, PartRecord part, qint64* count);

// Writes `records` from the start of a file known to be empty or missing
// (created when missing; a link in its place is not followed). False when
// that fails (a write that failed is cut back to nothing): the caller redoes
// the write through the ordinary opening, which reports the reason.
bool WriteNewRecords(const QString& path, const QList<QByteArray>& records);

// A record file read whole into one buffer per record and written back over
// itself through the same opening (created empty when missing; anything but
// a regular file refused before it is opened).
class RecordImageFile {
public:
    RecordImageFile(const QString& path, qsizetype recordLength);
    RecordImageFile(const RecordImageFile&) = delete;
    RecordImageFile& operator=(const RecordImageFile&) = delete;

    // The whole records of the file (a part record at its end left out).
    QList<QByteArray> records;
    // `records` written from the start of the file; a part record beyond
    // them stays. Throws StepFailure.
    void writeBack();

private:
    QString path_;
    FileDescriptor file_;
};

}  // namespace rw::model
