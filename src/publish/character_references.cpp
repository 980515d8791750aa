#include "publish/character_references.h"

#include "common/cp932.h"

#include <QString>

namespace rw::publish {

namespace {

void appendReference(QByteArray& out, char16_t c) {
    char digits[8];
    char* end = digits + sizeof digits;
    char* at = end;
    unsigned v = c;
    do {
        *--at = char('0' + v % 10);
        v /= 10;
    } while (v);
    out += "&#";
    out.append(at, end - at);
    out += ';';
}

}  // namespace

void AppendCharacterReferences(QByteArray& out, QByteArrayView cp932) {
    const auto* p = reinterpret_cast<const unsigned char*>(cp932.data());
    const qsizetype n = cp932.size();
    out.reserve(out.size() + n + n / 2);
    qsizetype i = 0;
    while (i < n) {
        // A page is mostly ASCII: its runs go through as they are.
        qsizetype j = i;
        while (j < n && p[j] < 0x80) ++j;
        out.append(cp932.data() + i, j - i);
        if (j == n) break;
        // The text up to the next ASCII byte that follows no possible lead
        // byte is decoded as a whole, so that a trail byte that looks like
        // ASCII stays with its lead byte.
        qsizetype k = j + 1;
        while (k < n && (p[k] >= 0x80 || cp932::isLeadByte(p[k - 1]))) ++k;
        for (const QChar c : cp932::decode(cp932.sliced(j, k - j))) {
            if (c.unicode() < 0x80)
                out += char(c.unicode());
            else
                appendReference(out, c.unicode());
        }
        i = k;
    }
}

QByteArray CharacterReferences(QByteArrayView cp932) {
    QByteArray out;
    AppendCharacterReferences(out, cp932);
    return out;
}

}  // namespace rw::publish
