#pragma once
// Running the window-less driver and reading what the sample week holds.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace rwtest {

struct PressResult {
    int exitCode = -1;
    QString out;  // UTF-8 standard output
    QString err;
    // The value of a "Tag: text" line of the output ("Text1"), or a null string.
    QString line(const QString& tag) const;
};

// build/bin/raceweek-press --app-dir appDir args…; with a file-size limit
// (bytes, see file_size_limit.h) the driver runs as on a disk that fills.
PressResult runPress(const QString& appDir, const QStringList& args, qint64 fileSizeLimit = -1);

// The records of a .jvd or odds line file, each with its CR LF.
QList<QByteArray> splitRecords(const QByteArray& data);
// Every record the data folder delivers for a request code ("TOKURACETCVNRCVN"),
// in delivery order: the 4-character folders in order, files by name.
QList<QByteArray> storedRecords(const QString& appDir, const QString& dataSpec);

}  // namespace rwtest
