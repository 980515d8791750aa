#include "common/numbers.h"

#include "common/errors.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
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

// s is shaped as numberLength finds a number. A number of at most 15
// significant digits with at most 22 after the point and no exponent is
// exact as a whole number and as a power of ten, so one division rounds it
// as strtod does; anything else goes to strtod.
double toDouble(QByteArrayView s) {
    static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                              1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const qsizetype n = s.size();
    qsizetype i = 0;
    const bool negative = n > 0 && s[0] == '-';
    if (n > 0 && (s[0] == '+' || s[0] == '-')) ++i;
    std::int64_t whole = 0;
    int digits = 0, fraction = -1;
    for (; i < n; ++i) {
        const char c = s[i];
        if (isDigit(c)) {
            if (whole != 0 || c != '0') ++digits;
            whole = whole * 10 + (c - '0');
            if (fraction >= 0) ++fraction;
            if (digits > 15 || fraction > 22) break;
        } else if (c == '.' && fraction < 0) {
            fraction = 0;
        } else {
            break;
        }
    }
    if (i == n) {
        const double v = fraction > 0 ? double(whole) / kPowersOfTen[fraction] : double(whole);
        return negative ? -v : v;
    }
    char small[64];
    std::string large;
    char* t = small;
    if (n >= qsizetype(sizeof small)) {
        large.resize(size_t(n));
        t = large.data();
    }
    for (qsizetype k = 0; k < n; ++k) t[k] = s[k] == 'D' || s[k] == 'd' ? 'E' : s[k];
    t[n] = '\0';
    return std::strtod(t, nullptr);
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

// The digits s[i..e) as a whole number when there are 1 to 15 of them and
// nothing else: exact, as strtod would read them.
static std::optional<double> digitsOnly(QByteArrayView s, qsizetype i, qsizetype e) {
    if (e <= i || e - i > 15) return std::nullopt;
    std::int64_t v = 0;
    for (; i < e; ++i) {
        const char c = s[i];
        if (!isDigit(c)) return std::nullopt;
        v = v * 10 + (c - '0');
    }
    return double(v);
}

double valLenient(QByteArrayView s) {
    qsizetype i = 0;
    while (i < s.size() && isBlank(s[i])) ++i;
    {
        // The common case: digits, then the end or something that cannot
        // continue a number.
        qsizetype e = i;
        while (e < s.size() && isDigit(s[e])) ++e;
        const char next = e < s.size() ? s[e] : ' ';
        if (next != '.' && next != 'E' && next != 'e' && next != 'D' && next != 'd')
            if (const auto v = digitsOnly(s, i, e)) return *v;
    }
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
    if (const auto v = digitsOnly(s, i, e)) return v;
    const qsizetype len = numberLength(s, i);
    if (len != e - i) return std::nullopt;
    return toDouble(s.sliced(i, len));
}

double strictNumber(QByteArrayView text, const char* what) {
    auto v = parseStrict(text);
    if (!v) fail(std::string(what) + " is not a number: \"" + std::string(text.data(), size_t(text.size())) + "\"");
    return *v;
}

int wholeDigits(std::int64_t v, char* out) {
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    char buf[24];
    char* const end = buf + sizeof buf;
    char* p = end;
    std::uint64_t u = v < 0 ? 0 - std::uint64_t(v) : std::uint64_t(v);
    while (u >= 100) {
        const unsigned r = unsigned(u % 100);
        u /= 100;
        p -= 2;
        std::memcpy(p, kPairs + 2 * r, 2);
    }
    if (u >= 10) {
        p -= 2;
        std::memcpy(p, kPairs + 2 * u, 2);
    } else {
        *--p = char('0' + u);
    }
    if (v < 0) *--p = '-';
    const int n = int(end - p);
    std::memcpy(out, p, size_t(n));
    return n;
}

QByteArray numberText(std::int64_t v, bool signBlank) {
    char buf[24];
    int k = 0;
    if (signBlank && v >= 0) buf[k++] = ' ';
    k += wholeDigits(v, buf + k);
    return QByteArray(buf, k);
}

char* writeTwoDigitText(char* out, std::int64_t v) {
    if (v >= -90) {  // nearly every call: v + 100 has two digits or more, and no sign
        const unsigned r = unsigned((std::uint64_t(v) + 100) % 100);  // v + 100 itself, never wrapped
        *out++ = char('0' + r / 10);
        *out++ = char('0' + r % 10);
        return out;
    }
    char digits[24];
    const int n = wholeDigits(v + 100, digits);
    const int k = std::min(n, 2);
    std::memcpy(out, digits + n - k, size_t(k));
    return out + k;
}

namespace {

// A whole number below 10^precision prints as its digits under %G.
std::optional<QByteArray> wholeText(double v, double limit, bool signBlank) {
    if (!(std::fabs(v) < limit) || v != std::floor(v)) return std::nullopt;
    return numberText(std::int64_t(v), signBlank);  // -0 prints as 0, as withSign makes it
}

}  // namespace

QByteArray singleText(float v, bool signBlank) {
    if (auto t = wholeText(double(v), 1e7, signBlank)) return *t;
    return withSign(formatG(double(v), 7), signBlank);
}

QByteArray doubleText(double v, bool signBlank) {
    if (auto t = wholeText(v, 1e15, signBlank)) return *t;
    return withSign(formatG(v, 15), signBlank);
}

char* writeSingleText(char* out, float v) {
    const qsizetype n = formatG(out, double(v), 7);
    if (n == 2 && out[0] == '-' && out[1] == '0') {
        out[0] = '0';
        return out + 1;
    }
    return out + n;
}

}  // namespace rw
