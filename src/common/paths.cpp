#include "common/paths.h"

#include "common/cp932.h"
#include "common/errors.h"

#include <QDir>

namespace rw {

QString nativeName(QStringView systemName) {
    QString s = systemName.toString();
    s.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return s;
}

QString joinPath(const QString& folder, QStringView systemName) { return folder + nativeName(systemName); }

QString inFolder(QStringView folder, QStringView name) {
    QString s;
    s.reserve(folder.size() + 1 + name.size());
    s.append(folder).append(QLatin1Char('\\')).append(name);
    return s;
}

bool isDigits(QByteArrayView t, qsizetype length) {
    if (t.size() != length) return false;
    for (char c : t)
        if (c < '0' || c > '9') return false;
    return true;
}

std::string printable(QByteArrayView t) {
    std::string s;
    for (char c : t) s += (c >= 0x20 && c < 0x7F) ? c : '?';
    return s;
}

namespace {
QString checked(QByteArrayView t, qsizetype len, const char* what) {
    if (!isDigits(t, len)) {
        fail(std::string(what) + " \"" + printable(t) + "\" is not " + std::to_string(len) +
             " digits; no file is named by it");
    }
    return QString::fromLatin1(t.data(), t.size());
}
}  // namespace

QString checkedRegistrationNumber(QByteArrayView t) { return checked(t, 10, "registration number"); }
QString checkedRaceId(QByteArrayView t) { return checked(t, 12, "race id"); }
QString checkedDayKey(QByteArrayView t) { return checked(t, 14, "day key"); }

QString checkedNamePart(QByteArrayView cp932, const char* what) {
    const QString text = cp932::decode(cp932);
    bool bad = text.contains(QStringLiteral(".."));
    for (const QChar c : text) {
        bad = bad || c.unicode() < 0x20 || c.unicode() == 0x7F || c == QChar::ReplacementCharacter ||
              QStringView(u"\\/:*?\"<>|").contains(c);
    }
    if (bad) fail(std::string(what) + " \"" + printable(cp932) + "\" cannot be part of a file name");
    return text;
}

}  // namespace rw
