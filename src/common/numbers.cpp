#include "common/numbers.h"

#include "common/errors.h"

#include <charconv>
#include <cstdlib>
#include <string>

namespace rw {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the longest number at the start of s[i..]: sign, digits, point,
// digits, exponent. Returns 0 when no digit is found.
qsizetype numberLength(QByteArrayView s, qsizetype i) {
    const qsizetype start = i, n = s.size();
    if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
    qsizetype digits = 0;
    while (i < n && isDigit(s[i])) ++i, ++digits;
    if (i < n && s[i] == '.') {
        ++i;
        while (i < n && isDigit(s[i])) ++i, ++digits;
    }
    if (digits == 0) return 0;
    if (i < n && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        qsizetype k = i + 1;
        if (k < n && (s[k] == '+' || s[k] == '-')) ++k;
        if (k < n && isDigit(s[k])) {
            while (k < n && isDigit(s[k])) ++k;
            i = k;
        }
    }
    return i - start;
}

double toDouble(QByteArrayView s) {
    std::string t(s.data(), size_t(s.size()));
    for (char& c : t)
        if (c == 'D' || c == 'd') c = 'E';
    return std::strtod(t.c_str(), nullptr);
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

QByteArray withSign(QByteArray digits, bool signBlank) {
    if (digits == "-0") digits = "0";
    if (signBlank && !digits.startsWith('-')) digits.prepend(' ');
    return digits;
}

// The text of printf's "%.*G" (the shortest of fixed and exponent form,
// trailing zeros dropped, capital E, INF and NAN): the general form of
// to_chars gives the same digits, correctly rounded, ties to even, without
// the C library's formatter, which cost a quarter of the prediction run.
// Returns the length written to buf (at least 32 bytes).
qsizetype formatG(char* buf, double v, int precision) {
    const auto r = std::to_chars(buf, buf + 32, v, std::chars_format::general, precision);
    for (char* c = buf; c < r.ptr; ++c)
        if (*c >= 'a' && *c <= 'z') *c = char(*c - 'a' + 'A');
    return r.ptr - buf;
}

QByteArray formatG(double v, int precision) {
    char buf[32];
    return QByteArray(buf, formatG(buf, v, precision));
}

}  // namespace

double valLenient(QByteArrayView s) {
    qsizetype i = 0;
    while (i < s.size() && isBlank(s[i])) ++i;
    const qsizetype len = numberLength(s, i);
    return len ? toDouble(s.sliced(i, len)) : 0.0;
}

double valIgnoringBlanks(QByteArrayView s) {
    QByteArray t;
    t.reserve(s.size());
    for (char c : s)
        if (!isBlank(c)) t += c;
    return valLenient(t);
}

std::optional<double> parseStrict(QByteArrayView s) {
    qsizetype i = 0, e = s.size();
    while (i < e && isBlank(s[i])) ++i;
    while (e > i && isBlank(s[e - 1])) --e;
    if (i == e) return std::nullopt;
    const qsizetype len = numberLength(s, i);
    if (len != e - i) return std::nullopt;
    return toDouble(s.sliced(i, len));
}

double strictNumber(QByteArrayView text, const char* what) {
    auto v = parseStrict(text);
    if (!v) fail(std::string(what) + " is not a number: \"" + std::string(text.data(), size_t(text.size())) + "\"");
    return *v;
}

QByteArray numberText(std::int64_t v, bool signBlank) {
    return withSign(QByteArray::number(qlonglong(v)), signBlank);
}

QByteArray singleText(float v, bool signBlank) { return withSign(formatG(double(v), 7), signBlank); }

char* writeSingleText(char* out, float v) {
    const qsizetype n = formatG(out, double(v), 7);
    if (n == 2 && out[0] == '-' && out[1] == '0') {
        out[0] = '0';
        return out + 1;
    }
    return out + n;
}

QByteArray doubleText(double v, bool signBlank) { return withSign(formatG(v, 15), signBlank); }

}  // namespace rw
