#pragma once
// Code page 932 (Windows Japanese), the encoding of every text on disk and of
// every JV-Data record. It is a superset of Shift-JIS: the system's own texts
// use characters (①, Ⅰ, ～ …) that strict Shift-JIS lacks.
//
// Decoding is stateless: every call stands alone, so an item cut in the middle
// of a double-byte character never borrows from the next item. Bytes that are
// not code page 932 decode to U+FFFD. Characters without a code page 932 form
// encode to '?'.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <string>

namespace rw::cp932 {

QString decode(QByteArrayView bytes);
QByteArray encode(QStringView text);
inline QByteArray encode(const char* utf8) { return encode(QString::fromUtf8(utf8)); }

// Convenience for tests and console output.
std::string toUtf8(QByteArrayView bytes);
inline QByteArray fromUtf8(std::string_view utf8) {
    return encode(QString::fromUtf8(utf8.data(), qsizetype(utf8.size())));
}

// True for a byte that opens a double-byte character.
constexpr bool isLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// The longest start of a code page 932 text that fits `width` bytes without
// cutting a double-byte character in two.
QByteArray fitBytes(QByteArrayView bytes, qsizetype width);

// The first n characters of a code page 932 text (a double-byte character
// counts as one), as bytes.
QByteArray firstChars(QByteArrayView bytes, int n);
// The number of characters of a code page 932 text.
int charCount(QByteArrayView bytes);

}  // namespace rw::cp932

namespace rw {

// One of our own texts, a UTF-8 literal of the source, in code page 932.
// Each literal is encoded once for the program's life (the writers ask for
// the same few hundred texts for every race); pass literals only, as the
// pointer is the key. The reference stays good while later texts are added.
const QByteArray& sj(const char* literal);
inline const QByteArray& sj(const char8_t* literal) { return sj(reinterpret_cast<const char*>(literal)); }

}  // namespace rw
