#include "common/keyed_output.h"

#include "common/errors.h"
#include "common/file_ops.h"

#include <QFile>

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
    RequireRegularFile(path);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered | QIODevice::Append)) failFile("open", f);
    WriteOrRestore(f, block);
}

}  // namespace rw
