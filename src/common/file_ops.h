#pragma once
// Deleting files. All deletions of the weekly store go through here, so that
// a deletion the file system refuses can be reproduced in tests.
#include <QByteArrayView>
#include <QString>
#include <functional>

namespace rw {

// Deletes the file (a link itself, not what it leads to); true when it no
// longer exists afterwards (also when it never existed).
bool RemoveFile(const QString& path);
// Deletes the file, or, when it cannot be deleted, empties it; throws
// StepFailure when neither works.
void RemoveOrEmpty(const QString& path);

// The file holds exactly `bytes` afterwards (created or emptied first), or
// StepFailure is thrown.
void WriteWholeFile(const QString& path, QByteArrayView bytes);

// Replaces the deletion primitive (tests); empty restores the real one.
void SetRemoveFileHook(std::function<bool(const QString&)> hook);

}  // namespace rw
