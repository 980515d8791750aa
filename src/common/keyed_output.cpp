#include "common/keyed_output.h"

#include "common/errors.h"
#include "common/file_ops.h"

namespace rw {

void WriteKeyed(QString& lastKey, const QString& key, const QString& path, QByteArrayView header,
                QByteArrayView block) {
    if (IsNewKey(lastKey, key)) {
        // A new key's file is written beside and put in place: a failed write
        // leaves the file as it was.
        QByteArray bytes;
        bytes.reserve(header.size() + block.size());
        bytes.append(header);
        bytes.append(block);
        ReplaceFile(path, bytes);
        lastKey = key;
        return;
    }
    AppendOrRestore(OpenRegularFile(path, FileAccess::Append), path, block);
}

}  // namespace rw
