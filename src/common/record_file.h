#pragma once
// Random-access files of fixed-length records: record n (from 1) at byte
// (n - 1) * length; the record count is the file length divided by the
// record length (truncated); appending writes record count + 1. Opening a
// missing file creates it empty. A file rewritten record by record is not
// shortened: callers that need a shorter file delete it first.
#include "common/file_ops.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <functional>
#include <memory>

namespace rw {

class RecordFile {
public:
    RecordFile() = default;
    RecordFile(const QString& path, qsizetype recordLength) { open(path, recordLength); }
    RecordFile(RecordFile&&) noexcept = default;
    RecordFile& operator=(RecordFile&&) noexcept = default;

    // Throws StepFailure when the file cannot be opened or created.
    void open(const QString& path, qsizetype recordLength);
    void close();
    bool isOpen() const { return file_.isOpen(); }

    qsizetype recordLength() const { return length_; }
    qint64 count() const;

    // Record n. Where the file ends before the record does, the missing bytes
    // are zero bytes. Throws StepFailure for n < 1 or a failed read.
    QByteArray read(qint64 n) const;
    // Writes record n; the image is padded with blanks or cut to the record
    // length. Throws StepFailure on failure.
    void write(qint64 n, QByteArrayView image);
    // Writes records first, first + 1, … from `images`, whose length is a
    // whole number of records, in one write. Throws StepFailure on failure.
    void writeRecords(qint64 first, QByteArrayView images);
    // Writes record count + 1 and returns its number.
    qint64 append(QByteArrayView image);

    // Record count of a file without opening (or creating) it; 0 when missing.
    static qint64 countOf(const QString& path, qsizetype recordLength);
    // How the whole-file read counts a trailing part record: dropped, as
    // count() says, or as the system counts the records of a file it reads
    // whole (its length over the record length rounded to the nearest, ties
    // to even), kept padded with zero bytes when that count includes it.
    enum class PartRecord { Dropped, Nearest };
    // The records that many bytes count as under that rule.
    static qint64 recordsIn(qint64 bytes, qsizetype recordLength, PartRecord part);
    // What the whole-file readers do with a missing file: give no records,
    // or create it empty first, as opening it for records would (one open,
    // one look: the file is opened for reading and writing).
    enum class Missing { GivesNone, Created };
    // The whole file read at once, split into records. Throws StepFailure
    // with the system's reason.
    static QList<QByteArray> readAll(const QString& path, qsizetype recordLength,
                                     PartRecord part = PartRecord::Dropped, Missing missing = Missing::GivesNone);
    // The same records as one block of bytes, record i (from 0) at
    // i * recordLength, for callers that only look at them; the count is
    // bytes.size() / recordLength.
    static QByteArray readAllBytes(const QString& path, qsizetype recordLength,
                                   PartRecord part = PartRecord::Dropped, Missing missing = Missing::GivesNone);
    // The records readAll would give, handed to `each` one by one instead of
    // kept; the file is read in pieces, never copied whole, so a file
    // scanned once costs no more memory than a piece.
    static void readEach(const QString& path, qsizetype recordLength, PartRecord part,
                         const std::function<void(QByteArrayView)>& each, Missing missing = Missing::GivesNone);

private:
    FileDescriptor file_;
    QString path_;
    qsizetype length_ = 0;
};

}  // namespace rw
