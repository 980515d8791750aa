#pragma once
// The keyed output file of the per-race writers: a writer remembers the key
// (a race day, a race, a date) of the block it wrote last; a block with
// another key empties the file and starts it with its header, a block with
// the same key is appended. Each writer keeps its own remembered key.
#include <QByteArrayView>
#include <QString>

namespace rw {

// Writes `block` to `path` under `key`. When `key` differs from `lastKey`
// the file is replaced by `header` and the block (written beside, then put
// in place); otherwise the block is appended. A failed write leaves the
// file as it was before it: a replace that fails keeps the old file and
// `lastKey` (so the key's next block starts the file again), an append
// that fails is cut back. Throws StepFailure naming the file when it
// cannot be opened or written; the file is closed on every path.
void WriteKeyed(QString& lastKey, const QString& key, const QString& path, QByteArrayView header,
                QByteArrayView block);

// True when `key` starts a new file for a writer whose last key is `lastKey`.
inline bool IsNewKey(const QString& lastKey, const QString& key) { return lastKey != key; }

}  // namespace rw
