#include "publish/publish_files.h"

#include "common/cp932.h"
#include "common/errors.h"
#include "common/kestrav_path.h"
#include "common/paths.h"

#include <string>

namespace rw::publish {
namespace {

QString digits(QByteArrayView t, qsizetype minLength, qsizetype maxLength, const char* what) {
    bool ok = t.size() >= minLength && t.size() <= maxLength;
    for (char c : t) ok = ok && c >= '0' && c <= '9';
    if (!ok) fail(std::string(what) + " \"" + printable(t) + "\" is not digits of its length; no file is named by it");
    return QString::fromLatin1(t.data(), t.size());
}
QString date8(QByteArrayView t) { return digits(t, 8, 8, "race date"); }
QString course(QByteArrayView t) { return checkedNamePart(t, "course name"); }
QString folder(const char16_t* f) { return inFolder(f, {}); }

}  // namespace

QString DaySheetFile(const char16_t* f, QByteArrayView dayKey, const char16_t* ending) {
    return AppFile(folder(f) + digits(dayKey, 14, 14, "day key") + QString::fromUtf16(ending));
}

QString SitePageFile(QByteArrayView date, QByteArrayView c, QByteArrayView raceNo) {
    return AppFile(folder(kSiteFolder) + date8(date) + u'_' + course(c) + QStringLiteral("_r") +
                   digits(raceNo, 1, 2, "race number") + QStringLiteral(".txt"));
}

QString PrintPageFile(QByteArrayView date, QByteArrayView c) {
    return AppFile(folder(kWpFolder) + date8(date) + u'_' + course(c) + QStringLiteral("_pdf.txt"));
}

QString WordPressDayFile(QByteArrayView date, QByteArrayView c) {
    return AppFile(folder(kWpFolder) + date8(date) + u'-' + course(c) + QStringLiteral(".txt"));
}

QString SpeedIndexDayFile(QByteArrayView date) {
    return AppFile(folder(kSokudoFolder) + QStringLiteral("HR") + date8(date) + QStringLiteral(".csv"));
}

QString SpeedIndexRaceFile(QByteArrayView raceKey16) {
    return AppFile(folder(kSokudoFolder) + digits(raceKey16, 16, 16, "race key") + QStringLiteral(".csv"));
}

QByteArray LowerLatin(QByteArrayView t) {
    QByteArray out = t.toByteArray();
    for (qsizetype i = 0; i < out.size(); ++i) {
        const auto b = static_cast<unsigned char>(out[i]);
        if (cp932::isLeadByte(b)) {
            ++i;  // the trail byte may look like a letter
        } else if (b >= 'A' && b <= 'Z') {
            out[i] = char(b - 'A' + 'a');
        }
    }
    return out;
}

}  // namespace rw::publish
