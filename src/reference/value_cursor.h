#pragma once
// The day files of "TEKICHU" as the reference windows read them: value by
// value, line ends meaning nothing; a value the file lacks is empty, never
// the one read before.
#include <QByteArray>
#include <QList>

namespace rw::reference {

class ValueCursor {
public:
    explicit ValueCursor(QList<QByteArray> values) : values_(std::move(values)) {}
    bool atEnd() const { return pos_ >= values_.size(); }
    // The next value; false (and `v` emptied) at the end.
    bool next(QByteArray& v) {
        if (atEnd()) {
            v.clear();
            return false;
        }
        v = values_[pos_++];
        return true;
    }
    // The next value, or empty at the end.
    QByteArray take() {
        QByteArray v;
        next(v);
        return v;
    }

private:
    QList<QByteArray> values_;
    qsizetype pos_ = 0;
};

}  // namespace rw::reference
