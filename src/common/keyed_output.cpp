#include "common/keyed_output.h"

#include "common/errors.h"
#include "common/file_ops.h"

#include <QFile>

namespace rw {

void WriteKeyed(QString& lastKey, const QString& key, const QString& path, QByteArrayView header,
                QByteArrayView block) {
    const bool fresh = IsNewKey(lastKey, key);
    QFile f(path);
    const QIODevice::OpenMode mode =
        QIODevice::WriteOnly | QIODevice::Unbuffered | (fresh ? QIODevice::Truncate : QIODevice::Append);
    if (!f.open(mode)) failFile("open", f);
    if (fresh) lastKey = key;
    auto put = [&](QByteArrayView bytes) {
        if (!bytes.isEmpty() && f.write(bytes.data(), bytes.size()) != bytes.size()) failFile("write", f);
    };
    if (fresh) put(header);
    put(block);
}

}  // namespace rw
