#include "support/literal_day_scan.h"

#include "common/cp932.h"
#include "common/kestrav_path.h"
#include "common/text_file.h"

#include <QDir>
#include <QFile>
#include <QSet>

namespace rwtest {
namespace {

QString two(int v) { return QString::number(v + 100).right(2); }

}  // namespace

LiteralDayScan literalDayScan(rw::RecordingUi& ui, rw::RecordingUi& hitUi) {
    LiteralDayScan out;
    const QString folder = rw::GetAppPath() + "TEKICHU/";
    // "Is this file there" from the folder's names, read once: a name not
    // listed cannot be opened, so the loops open exactly the files they did
    // when they tried all 1,562,400 names on disk, at a fraction of the cost.
    const QStringList listed =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    const QSet<QString> names(listed.begin(), listed.end());
    for (int y = 2028; y >= 2024; --y)
        for (int m = 12; m >= 1; --m)
            for (int d = 31; d >= 1; --d) {
                const QString text = QString::number(y) + QStringLiteral("年") + two(m) + QStringLiteral("月") +
                                     two(d) + QStringLiteral("日検索中");
                ui.setText("KESF1THISWEEKNZ.Text6", text);
                hitUi.setText("KESF1THISWEEKNZ.Text6", text);
                hitUi.processEvents();
                for (int c = 1; c <= 10; ++c)
                    for (int k = 1; k <= 7; ++k)
                        for (int n = 1; n <= 12; ++n) {
                            const QString key = QString::number(y) + two(m) + two(d) + two(c) + two(k) + two(n);
                            QFile day(folder + key + "tekichu.txt");
                            if (names.contains(key + "tekichu.txt") && day.open(QIODevice::ReadOnly)) {
                                const QByteArray all = day.readAll();
                                const bool read = day.error() == QFileDevice::NoError;
                                day.close();
                                QList<QByteArray> values = rw::splitValues(all);
                                QString item;
                                for (int i = 0; i < 6 && read; ++i)
                                    if (i < values.size()) item += rw::cp932::decode(values[i]);
                                if (read && !values.isEmpty() && !values[0].isEmpty()) {
                                    out.items.append(item + QString(18, u' ') + key);
                                    out.dayList += key.toLatin1() + "\r\n";
                                }
                            }
                            QFile lup(folder + key + "lupRCM.txt");
                            if (names.contains(key + "lupRCM.txt") && lup.open(QIODevice::ReadOnly)) {
                                lup.readAll();
                                if (lup.error() == QFileDevice::NoError) out.lupKeys.append(key.toLatin1());
                            }
                        }
            }
    return out;
}

}  // namespace rwtest
