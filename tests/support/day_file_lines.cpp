#include "support/day_file_lines.h"

#include <stdexcept>

namespace rwtest {

QByteArray DayFileLine::value(qsizetype i) const {
    const QByteArray& item = raw.at(i);
    if (item.size() >= 2 && item.startsWith('"') && item.endsWith('"')) return item.mid(1, item.size() - 2);
    return item;
}

QList<DayFileLine> DayFileLines(const QByteArray& content) {
    QList<DayFileLine> out;
    if (content.isEmpty()) return out;
    if (!content.endsWith("\r\n")) throw std::runtime_error("day file does not end with CR LF");
    const QList<QByteArray> pieces = content.first(content.size() - 2).split('\n');
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        QByteArray text = pieces[i];
        if (i + 1 < pieces.size()) {
            if (!text.endsWith('\r')) throw std::runtime_error("LF without CR in day file");
            text.chop(1);
        }
        if (text.contains('\r')) throw std::runtime_error("bare CR in day file");
        out.append(DayFileLine{text.split(',')});
    }
    return out;
}

QList<DayFileLine> LinesTagged(const QList<DayFileLine>& lines, const QByteArray& tag) {
    QList<DayFileLine> out;
    for (const DayFileLine& l : lines)
        if (l.tag() == tag) out.append(l);
    return out;
}

QList<QByteArray> TagsOf(const QList<DayFileLine>& lines) {
    QList<QByteArray> out;
    for (const DayFileLine& l : lines) out.append(l.tag());
    return out;
}

}  // namespace rwtest
