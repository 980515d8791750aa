#include "support/record_builder.h"

#include "common/fixed_text.h"

namespace rwtest {

using namespace rw::jv;

RecordBuilder::RecordBuilder(Kind kind, char dataKind, char fill) : kind_(kind) {
    const Layout& L = layout(kind);
    rec_ = QByteArray(L.length, fill);
    rec_.replace(0, 2, QByteArray(L.code.data(), 2));
    rec_[2] = dataKind;
    rec_.replace(3, 8, "20241205");
    rec_[L.length - 2] = '\r';
    rec_[L.length - 1] = '\n';
}

RecordBuilder& RecordBuilder::set(Field f, QByteArrayView value) {
    rw::putFixed(rec_, f.pos, f.width, value);
    return *this;
}

RecordBuilder& RecordBuilder::setAt(int pos, QByteArrayView value) {
    rec_.replace(pos - 1, value.size(), value.toByteArray());
    return *this;
}

RecordBuilder& RecordBuilder::raceKey(QByteArrayView key16) { return set(head::RaceKey16, key16); }

QByteArray RecordBuilder::image() const {
    const QByteArray img = ToFixed(kind_, rec_);
    return img.isEmpty() ? rec_ : img;
}

}  // namespace rwtest
