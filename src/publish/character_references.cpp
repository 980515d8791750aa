#include "publish/character_references.h"

#include "common/cp932.h"

#include <QString>

namespace rw::publish {

QByteArray CharacterReferences(QByteArrayView cp932) {
    const QString text = cp932::decode(cp932);
    QByteArray out;
    out.reserve(cp932.size() + cp932.size() / 2);
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            out.append(char(c.unicode()));
        } else {
            out.append("&#").append(QByteArray::number(c.unicode())).append(';');
        }
    }
    return out;
}

}  // namespace rw::publish
