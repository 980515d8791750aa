#include "support/literal_day_scan.h"

#include "common/cp932.h"
#include "common/kestrav_path.h"
#include "common/text_file.h"

#include <QFile>

namespace rwtest {
namespace {

QString two(int v) { return QString::number(v + 100).right(2); }

}  // namespace

LiteralDayScan literalDayScan(rw::RecordingUi& ui, rw::RecordingUi& hitUi) {
    LiteralDayScan out;
    const QString folder = rw::GetAppPath() + "TEKICHU/";
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
                            if (day.open(QIODevice::ReadOnly)) {
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
                            if (lup.open(QIODevice::ReadOnly)) {
                                lup.readAll();
                                if (lup.error() == QFileDevice::NoError) out.lupKeys.append(key.toLatin1());
                            }
                        }
            }
    return out;
}

}  // namespace rwtest
