#pragma once
// Deleting, writing and replacing whole files, and the failure of a file
// operation. All deletions of the weekly store go through here, so that a
// deletion the file system refuses can be reproduced in tests.
#include "common/errors.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <exception>
#include <functional>
#include <string>
#include <string_view>

class QFileDevice;

namespace rw {

// "cannot <action> <path>: <reason>", the reason in the system's own words
// (the text the file system gave for the failure).
std::string fileError(std::string_view action, const QString& path, const QString& reason);
// Throws StepFailure with fileError() for the file's last error.
[[noreturn]] void failFile(std::string_view action, const QFileDevice& file);
[[noreturn]] void failFile(std::string_view action, const QString& path, const QString& reason);

// Deletes the file (a link itself, not what it leads to); true when it no
// longer exists afterwards (also when it never existed). When it fails,
// `reason` (if given) receives the system's reason.
bool RemoveFile(const QString& path, QString* reason = nullptr);
// Deletes the file, or, when it cannot be deleted, empties it; throws
// StepFailure when neither works.
void RemoveOrEmpty(const QString& path);

// The file holds exactly `bytes` afterwards (created or emptied first), or
// StepFailure is thrown.
void WriteWholeFile(const QString& path, QByteArrayView bytes);

// Replaces the whole file with `bytes`: they are written beside it, to
// `scratch` (by default the file's name with ".new" added), which then takes
// the file's place in one rename. The file therefore holds its old bytes or
// its new ones, never a part; a link in its place is replaced, not written
// through. On failure the scratch file is removed and StepFailure is thrown.
void ReplaceFile(const QString& path, QByteArrayView bytes, const QString& scratch = {});

// Runs `build`, then `write`, which puts what was built into its file. When
// `build` fails part-way, what it made is still written before the failure
// goes on, as a file written line by line would hold the lines made before
// it; when that write fails too, the failure names both.
template <class Build, class Write>
void BuildThenWrite(Build&& build, Write&& write) {
    try {
        build();
    } catch (const std::exception& e) {
        std::string also;
        try {
            write();
        } catch (const std::exception& w) {
            also = w.what();
        }
        if (also.empty()) throw;
        fail(std::string(e.what()) + "; " + also);
    }
    write();
}

// Throws StepFailure ("cannot open PATH: not a regular file") when
// something other than a regular file (a folder, a FIFO, a device) stands
// at `path`; a missing path, a regular file and a link to one pass. Files
// are checked before they are opened, so that a FIFO cannot hold a reader
// or a writer until it is killed.
void RequireRegularFile(const QString& path);

// Writes all of `bytes` at the file's current position. When the write
// fails, a file that grew is cut back to its length before the write, so
// it never keeps a part of the bytes; then StepFailure is thrown. The file
// must be unbuffered.
void WriteOrRestore(QFileDevice& file, QByteArrayView bytes);

// A run's safety net for the files it rewrites and appends to, so that a
// write failing halfway through the run (a full disk) leaves no file with
// less than it held before the run. While a RunJournal lives, the first
// ReplaceFile of a file in the run keeps its old bytes under a link beside
// it (its name with ".before" added); when a later write to that file
// fails (ReplaceFile, WriteOrRestore), the file gets its old bytes back, or
// is removed when it did not exist before the run, and every further write
// to it in the run fails. The end of the run removes the links. One run at
// a time; a second journal while one lives adds nothing.
class RunJournal {
public:
    RunJournal();
    ~RunJournal();
    RunJournal(const RunJournal&) = delete;
    RunJournal& operator=(const RunJournal&) = delete;
    static bool active();

private:
    bool owner_;
};

// A file opened by the file layer itself (a system descriptor), closed when
// it goes.
class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() { close(); }
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    int get() const { return fd_; }
    // False, with the system's reason in `reason` (if given), when the
    // system reports a failure of the close (a write it had deferred).
    bool close(QString* reason = nullptr);

private:
    int fd_ = -1;
};

// What a file is opened for. Write empties the file; Write and Append add
// at its end only; every mode but Read creates a missing file.
enum class FileAccess { Read, ReadWrite, Write, Append };

// Opens the regular file at `path` (a link to one is followed) with one
// open and one look at the opened file. Something else there (a folder, a
// FIFO, a device) is refused with "cannot open PATH: not a regular file"
// and never waited on; any other failure throws StepFailure naming
// `action`, the file and the system's reason. For Read, a missing path
// gives a closed descriptor instead. `size` (if given) receives the file's
// length as opened.
FileDescriptor OpenRegularFile(const QString& path, FileAccess access, qint64* size = nullptr,
                               std::string_view action = "open");

// The same without throwing: a closed descriptor when it fails, with the
// system's error in `error` (ENOENT or ENOTDIR when nothing stands there)
// and `notRegular` telling whether something other than a regular file
// stands there.
FileDescriptor TryOpenRegularFile(const QString& path, FileAccess access, qint64* size, int* error,
                                  bool* notRegular);

// The whole regular file at `path` read at once into `bytes`, opened for
// `access`; false (and `bytes` empty) when nothing stands there, which only
// Read leaves so (ReadWrite creates the file empty). Throws StepFailure as
// OpenRegularFile does, or for a failed read.
bool ReadWholeFile(const QString& path, QByteArray& bytes, FileAccess access = FileAccess::Read);

// Creates the file where nothing stands, a link there included: a closed
// descriptor when that fails, with the system's error in `error` (if given;
// EEXIST when something already stands there).
FileDescriptor CreateNewFile(const QString& path, int* error = nullptr);

// Fills every record of `records` (each already at its length), in order,
// from the file's position, in as few calls to the system as it allows.
// Throws StepFailure naming `path` and the system's reason, or "the file
// ends early".
void ReadRecordsInto(const FileDescriptor& file, const QString& path, QList<QByteArray>& records);
// Writes `records`, in order, at byte `offset` of the open file `fd` (at
// its position when `offset` is negative), likewise; a write that stops
// short is asked again for the rest. 0, or the system's error (ENOSPC for
// a write that takes nothing).
int WriteRecords(int fd, const QList<QByteArray>& records, qint64 offset);

// Adds all of `bytes` at the end of `file` (opened Write or Append; `path`
// names it). When the write fails, the file is cut back to its length
// before it and StepFailure is thrown, as WriteOrRestore does.
void AppendOrRestore(const FileDescriptor& file, const QString& path, QByteArrayView bytes);
// Writes all of `bytes` at byte `offset` of `file` (opened ReadWrite),
// likewise; `sizeBefore`, when the caller has just looked, is the file's
// length before the write.
void WriteAtOrRestore(const FileDescriptor& file, const QString& path, qint64 offset, QByteArrayView bytes);
void WriteAtOrRestore(const FileDescriptor& file, const QString& path, qint64 offset, QByteArrayView bytes,
                      qint64 sizeBefore);

// Creates the folder and any missing folder above it; one that exists is
// left as it is. Throws StepFailure with the system's reason.
void MakeFolders(const QString& path);

// Replaces the deletion primitive (tests); empty restores the real one.
void SetRemoveFileHook(std::function<bool(const QString&)> hook);

}  // namespace rw
