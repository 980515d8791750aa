#include "common/fixed_text.h"

#include <algorithm>
#include <bit>
#include <cstdint>
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

QByteArray zerosAsBlanks(QByteArrayView bytes) {
    QByteArray v = bytes.toByteArray();
    v.replace('\0', ' ');
    return v;
}

QByteArray blankedMember(QByteArrayView record, qsizetype pos, qsizetype width) {
    return zerosAsBlanks(member(record, pos, width));
}

QByteArray CutBytes(QByteArrayView record, qsizetype& pos, qsizetype width) {
    QByteArray out = member(record, pos, width).toByteArray();
    pos += width;
    return out;
}

float getSingle(QByteArrayView record, qsizetype pos) {
    if (pos < 1 || pos - 1 + 4 > record.size()) return 0.0f;
    const auto* b = reinterpret_cast<const unsigned char*>(record.data()) + (pos - 1);
    const std::uint32_t bits = std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 |
                               std::uint32_t(b[3]) << 24;
    return std::bit_cast<float>(bits);
}

void putSingle(QByteArray& record, qsizetype pos, float value) {
    Q_ASSERT(pos >= 1 && pos - 1 + 4 <= record.size());
    const std::uint32_t bits = std::bit_cast<std::uint32_t>(value);
    char* d = record.data() + (pos - 1);
    for (int i = 0; i < 4; ++i) d[i] = char((bits >> (8 * i)) & 0xFF);
}

QByteArray trimmedRight(QByteArrayView value) {
    qsizetype n = value.size();
    while (n > 0 && value[n - 1] == ' ') --n;
    return value.first(n).toByteArray();
}

}  // namespace rw
