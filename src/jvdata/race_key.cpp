#include "jvdata/race_key.h"

#include "common/fixed_text.h"
#include "jvdata/records.h"

namespace rw::jv {

namespace {
QByteArray part(QByteArrayView record, Field f) { return member(record, f).toByteArray(); }
}  // namespace

RaceKey RaceKey::ofRecord(QByteArrayView r) {
    using namespace head;
    return {part(r, Year), part(r, MonthDay), part(r, Racecourse), part(r, Meeting), part(r, Day), part(r, RaceNumber)};
}

QByteArray RaceKey::raceIdOfRecord(QByteArrayView r) {
    using namespace head;
    QByteArray id;
    id.reserve(Year.width + MonthDay.width + Racecourse.width + RaceNumber.width);
    for (const Field f : {Year, MonthDay, Racecourse, RaceNumber}) id += member(r, f);
    return id;
}

RaceKey RaceKey::ofKeyText(QByteArrayView key) {
    // The key text is the records' race key item on its own.
    using namespace head;
    const qsizetype at = RaceKey16.pos - 1;
    auto cut = [&](Field f) { return member(key, f.pos - at, f.width).toByteArray(); };
    return {cut(Year), cut(MonthDay), cut(Racecourse), cut(Meeting), cut(Day), cut(RaceNumber)};
}

}  // namespace rw::jv
