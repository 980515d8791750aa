#pragma once
// The keyed output file of the per-race writers: a writer remembers the key
// (a race day, a race, a date) of the block it wrote last; a block with
// another key empties the file and starts it with its header, a block with
// the same key is appended. Each writer keeps its own remembered key.
#include <QByteArrayView>
#include <QString>

namespace rw {

// Writes `block` to `path` under `key`. When `key` differs from `lastKey`
// the file is created anew (emptied) with `header` first; otherwise the
// block is appended. `lastKey` takes `key` once the file has been opened,
// so a failed write still counts as the start of that key's file. Throws
// StepFailure naming the file when it cannot be opened or written; the file
// is closed on every path.
void WriteKeyed(QString& lastKey, const QString& key, const QString& path, QByteArrayView header,
                QByteArrayView block);

// True when `key` starts a new file for a writer whose last key is `lastKey`.
inline bool IsNewKey(const QString& lastKey, const QString& key) { return lastKey != key; }

}  // namespace rw
