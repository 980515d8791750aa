#include "common/cp932.h"

#include <QHash>
#include <QStringDecoder>
#include <QStringEncoder>
#include <array>
#include <mutex>
#include <unordered_map>

namespace rw::cp932 {
namespace {

constexpr char16_t kInvalid = 0xFFFD;

// Tables derived once from the platform's windows-31j converter; our own
// rules then decide what is invalid, so that every invalid byte gives U+FFFD.
struct Tables {
    std::array<char16_t, 256> single{};
    std::array<char16_t, 65536> pair{};  // index lead*256+trail
    QHash<char16_t, quint16> reverse;    // code unit -> bytes (1 or 2)
};

char16_t decodeOne(QStringDecoder& dec, QByteArrayView b) {
    QString s = dec.decode(b);
    dec.resetState();
    if (s.size() != 1) return kInvalid;
    char16_t c = s.at(0).unicode();
    if (c == 0x1A && !(b.size() == 1 && b[0] == 0x1A)) return kInvalid;
    return c;
}

const Tables& tables() {
    static Tables* t = [] {
        auto* tb = new Tables;
        QStringDecoder dec("windows-31j", QStringDecoder::Flag::Stateless);
        for (int b = 0; b < 256; ++b) {
            char c = char(b);
            if (b < 0x80)
                tb->single[b] = char16_t(b);
            else if (b >= 0xA1 && b <= 0xDF)
                tb->single[b] = decodeOne(dec, QByteArrayView(&c, 1));
            else
                tb->single[b] = kInvalid;
        }
        tb->pair.fill(kInvalid);
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!isLeadByte(uchar(lead))) continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                if (trail == 0x7F) continue;
                char two[2] = {char(lead), char(trail)};
                tb->pair[lead * 256 + trail] = decodeOne(dec, QByteArrayView(two, 2));
            }
        }
        // Reverse map: where code page 932 holds a character twice, ask the
        // platform encoder which form is canonical.
        QStringEncoder enc("windows-31j");
        for (int b = 0; b < 256; ++b)
            if (tb->single[b] != kInvalid && !tb->reverse.contains(tb->single[b]))
                tb->reverse.insert(tb->single[b], quint16(b));
        for (int code = 0; code < 65536; ++code) {
            char16_t u = tb->pair[code];
            if (u == kInvalid || tb->reverse.contains(u)) continue;
            QByteArray e = enc.encode(QStringView(&u, 1));
            enc.resetState();
            quint16 v = quint16(code);
            if (e.size() == 2) {
                quint16 canon = quint16((uchar(e[0]) << 8) | uchar(e[1]));
                if (tb->pair[canon] == u) v = canon;
            }
            tb->reverse.insert(u, v);
        }
        return tb;
    }();
    return *t;
}

}  // namespace

QString decode(QByteArrayView bytes) {
    const Tables& t = tables();
    // At most one character per byte: the text is written in place and cut
    // to its length at the end.
    QString out(bytes.size(), Qt::Uninitialized);
    char16_t* d = reinterpret_cast<char16_t*>(out.data());
    qsizetype len = 0;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        unsigned char b = p[i];
        if (b < 0x80) {
            d[len++] = char16_t(b);
        } else if (isLeadByte(b)) {
            if (i + 1 < n) {
                char16_t u = t.pair[b * 256 + p[i + 1]];
                if (u != kInvalid) {
                    d[len++] = u;
                    ++i;
                    continue;
                }
                // An invalid pair: the lead byte alone is replaced; a trail
                // byte that is itself a character is decoded on its own.
                d[len++] = kInvalid;
                continue;
            }
            d[len++] = kInvalid;  // lead byte cut off at the end
        } else {
            d[len++] = t.single[b];
        }
    }
    out.truncate(len);
    return out;
}

QByteArray encode(QStringView text) {
    const Tables& t = tables();
    QByteArray out;
    out.reserve(text.size() * 2);
    for (qsizetype k = 0; k < text.size(); ++k) {
        char16_t u = text[k].unicode();
        if (QChar::isHighSurrogate(u) && k + 1 < text.size() && QChar::isLowSurrogate(text[k + 1].unicode())) {
            out.append('?');  // outside the code page: one '?' per character
            ++k;
            continue;
        }
        if (u < 0x80) {
            out.append(char(u));
            continue;
        }
        auto it = t.reverse.constFind(u);
        if (it == t.reverse.cend()) {
            out.append('?');
        } else if (*it < 0x100) {
            out.append(char(*it));
        } else {
            out.append(char(*it >> 8));
            out.append(char(*it & 0xFF));
        }
    }
    return out;
}

std::string toUtf8(QByteArrayView bytes) { return decode(bytes).toStdString(); }

namespace {
// Bytes taken by the character at i, as decode() steps.
qsizetype charWidth(QByteArrayView bytes, qsizetype i) {
    unsigned char b = uchar(bytes[i]);
    if (isLeadByte(b) && i + 1 < bytes.size() &&
        tables().pair[b * 256 + uchar(bytes[i + 1])] != kInvalid)
        return 2;
    return 1;
}
}  // namespace

QByteArray fitBytes(QByteArrayView bytes, qsizetype width) {
    qsizetype i = 0;
    while (i < bytes.size()) {
        const qsizetype step = charWidth(bytes, i);
        if (i + step > width) break;
        i += step;
    }
    return bytes.first(i).toByteArray();
}

QByteArray firstChars(QByteArrayView bytes, int n) {
    qsizetype i = 0;
    for (int chars = 0; i < bytes.size() && chars < n; ++chars) i += charWidth(bytes, i);
    return bytes.first(i).toByteArray();
}

int charCount(QByteArrayView bytes) {
    int chars = 0;
    for (qsizetype i = 0; i < bytes.size(); ++chars) i += charWidth(bytes, i);
    return chars;
}

}  // namespace rw::cp932

namespace rw {

const QByteArray& sj(const char* literal) {
    // The map's nodes never move, so several references may be held at once.
    static std::unordered_map<const void*, QByteArray> encoded;
    auto it = encoded.find(literal);
    if (it == encoded.end()) it = encoded.emplace(literal, cp932::encode(literal)).first;
    return it->second;
}

}  // namespace rw
