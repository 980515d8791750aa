#include "support/past_history.h"

#include "common/cp932.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <algorithm>
#include <cstring>

namespace rwtest {
namespace {

const char* const kDayFiles[] = {"tekichu.txt", "lupRCM.txt", "tekichuPC.txt", "kaiteki.txt", "kaitekiPC.txt"};

QByteArray two(int v) { return QByteArray::number(v + 100).right(2); }

// The first line's date values ("2024年", "06月", "29日") made those of `date`.
QByteArray withDayLine(const QByteArray& file, const QDate& date) {
    const qsizetype end = file.indexOf("\r\n");
    if (end < 0) return file;
    QList<QByteArray> values = file.left(end).split(',');
    if (values.size() < 6) return file;
    values[0] = "\"" + QByteArray::number(date.year()) + rw::cp932::encode(u"年") + "\"";
    values[1] = "\"" + two(date.month()) + rw::cp932::encode(u"月") + "\"";
    values[2] = "\"" + two(date.day()) + rw::cp932::encode(u"日") + "\"";
    return values.join(',') + file.mid(end);
}

}  // namespace

QList<QByteArray> DayKeysIn(const QString& tekichu) {
    QSet<QByteArray> keys;
    for (const QString& name : QDir(tekichu).entryList(QDir::Files))
        for (const char* f : kDayFiles)
            if (name.size() == 14 + int(strlen(f)) && name.endsWith(QLatin1String(f)))
                keys.insert(name.left(14).toLatin1());
    QList<QByteArray> out(keys.begin(), keys.end());
    std::sort(out.begin(), out.end());
    return out;
}

HistoryCopy CopyHistory(const QString& tekichu, const QList<QByteArray>& sourceKeys, int firstShiftDays, int weeks) {
    HistoryCopy done;
    for (int w = 0; w < weeks; ++w)
        for (const QByteArray& key : sourceKeys) {
            const QDate from = QDate::fromString(QString::fromLatin1(key.left(8)), "yyyyMMdd");
            const QDate to = from.addDays(-(firstShiftDays + 7 * w));
            if (!to.isValid() || to.year() < 2024 || to.year() > 2028) continue;
            const QByteArray target = to.toString("yyyyMMdd").toLatin1() + key.mid(8);
            bool any = false;
            for (const char* f : kDayFiles) {
                const QString src = tekichu + QString::fromLatin1(key) + f;
                if (!QFile::exists(src)) continue;
                QByteArray bytes = readFile(src);
                if (QByteArrayView(f) != "lupRCM.txt") bytes = withDayLine(bytes, to);
                writeFile(tekichu + QString::fromLatin1(target) + f, bytes);
                ++done.files;
                any = true;
            }
            if (any) ++done.days;
        }
    return done;
}

QList<QByteArray> WriteStrayNames(const QString& tekichu, const QByteArray& dayFileFrom) {
    const QByteArray tekichuBytes = readFile(tekichu + QString::fromLatin1(dayFileFrom) + "tekichu.txt");
    const QByteArray lupBytes = readFile(tekichu + QString::fromLatin1(dayFileFrom) + "lupRCM.txt");
    for (const char* key :
         {"20231230050101", "20290106050101", "20240106110101", "20240106050801", "20240106050113", "20240106000101"}) {
        writeFile(tekichu + key + "tekichu.txt", tekichuBytes);
        writeFile(tekichu + key + "lupRCM.txt", lupBytes);
    }
    const QList<QByteArray> impossible = {"20250230050101", "20260431090201"};
    for (const QByteArray& key : impossible) {
        writeFile(tekichu + QString::fromLatin1(key) + "tekichu.txt", tekichuBytes);
        writeFile(tekichu + QString::fromLatin1(key) + "lupRCM.txt", lupBytes);
    }
    writeFile(tekichu + "20240113050101tekichuPC.txt", tekichuBytes);
    QDir().mkpath(tekichu + "20240114050101tekichu.txt");
    QDir().mkpath(tekichu + "20240114050101lupRCM.txt");
    return impossible;
}

}  // namespace rwtest
