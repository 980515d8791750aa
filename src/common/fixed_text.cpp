#include "common/fixed_text.h"

#include <algorithm>
#include <cstring>

namespace rw {

QByteArray fixedBytes(QByteArrayView value, qsizetype width) {
    QByteArray out(width, ' ');
    // An empty view may have no data at all; memcpy must not see it.
    if (const qsizetype n = std::min(width, value.size()); n > 0) std::memcpy(out.data(), value.data(), size_t(n));
    return out;
}

void putFixed(QByteArray& record, qsizetype pos, qsizetype width, QByteArrayView value) {
    Q_ASSERT(pos >= 1 && pos - 1 + width <= record.size());
    char* dst = record.data() + (pos - 1);
    const qsizetype n = std::min(width, value.size());
    if (n > 0) std::memcpy(dst, value.data(), size_t(n));
    std::memset(dst + n, ' ', size_t(width - n));
}

QByteArrayView member(QByteArrayView record, qsizetype pos, qsizetype width) {
    const qsizetype start = pos - 1;
    if (start < 0 || start >= record.size() || width <= 0) return {};
    return record.sliced(start, std::min(width, record.size() - start));
}

QByteArray CutBytes(QByteArrayView record, qsizetype& pos, qsizetype width) {
    QByteArray out = member(record, pos, width).toByteArray();
    pos += width;
    return out;
}

QByteArray trimmedRight(QByteArrayView value) {
    qsizetype n = value.size();
    while (n > 0 && value[n - 1] == ' ') --n;
    return value.first(n).toByteArray();
}

}  // namespace rw
