#pragma once
// Reading the tagged day files back in tests: lines split at CR LF, items
// at the commas (no item of these files holds a comma), each item as
// written (quotes kept) or as its value (quotes removed).
#include <QByteArray>
#include <QList>

namespace rwtest {

struct DayFileLine {
    QList<QByteArray> raw;  // items as written: "\"HS\"", "" for no value
    QByteArray tag() const { return value(0); }
    QByteArray value(qsizetype i) const;  // quotes removed
    qsizetype size() const { return raw.size(); }
};

// Every line of a day file; a file that does not end in CR LF, or holds a
// bare CR or LF, throws std::runtime_error.
QList<DayFileLine> DayFileLines(const QByteArray& content);
// The lines with this tag.
QList<DayFileLine> LinesTagged(const QList<DayFileLine>& lines, const QByteArray& tag);
// The tags in file order.
QList<QByteArray> TagsOf(const QList<DayFileLine>& lines);

}  // namespace rwtest
