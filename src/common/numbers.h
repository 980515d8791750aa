#pragma once
// The ways the system reads numbers out of text, and the texts it writes.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <optional>

namespace rw {

// Lenient: leading blanks skipped, the longest leading number taken, 0 when
// there is none ("12ab" is 12, "ab" is 0, " 7" is 7).
double valLenient(QByteArrayView text);
// Lenient with blanks ignored anywhere ("0 1" is 1).
double valIgnoringBlanks(QByteArrayView text);
// Strict: the text (blanks around it allowed) must be a number.
std::optional<double> parseStrict(QByteArrayView text);
// Strict, throwing StepFailure naming `what` when the text is not a number.
double strictNumber(QByteArrayView text, const char* what);

// Int(): the greatest whole number not above x.
inline double vbInt(double x);

// Number texts. A whole number; with signBlank a non-negative number is
// preceded by a blank where a minus sign would stand.
QByteArray numberText(std::int64_t v, bool signBlank = false);
// The digits of a whole number (with its minus sign) into out, which holds
// at least 20 bytes; their count. For texts written straight into a record.
int wholeDigits(std::int64_t v, char* out);
// The last two characters of numberText(v + 100), the system's two-digit
// text of a small number: "07" for 7, "12" for 112 and for -88. Below -90
// the sum's text is what it is ("5" for -95, "-5" for -105). Written at
// `out`, which has room for 2 bytes; returns the end of what was written.
char* writeTwoDigitText(char* out, std::int64_t v);
inline QByteArray twoDigitText(std::int64_t v) {
    char t[2];
    return QByteArray(t, writeTwoDigitText(t, v) - t);
}
// A Single: at most 7 significant digits ("1234.568", "12.3", "0").
QByteArray singleText(float v, bool signBlank = false);
// singleText(v) written at `out`, which has room for 32 bytes; returns the
// end of what was written.
char* writeSingleText(char* out, float v);
// A Double: at most 15 significant digits ("16.6").
QByteArray doubleText(double v, bool signBlank = false);

inline QString qtext(const QByteArray& ascii) { return QString::fromLatin1(ascii); }

}  // namespace rw

#include <cmath>
inline double rw::vbInt(double x) { return std::floor(x); }
