#include "prediction/race_key.h"

#include "common/fixed_text.h"
#include "jvdata/records.h"
#include "prediction/runner_record.h"

namespace rw::prediction {

namespace {
QByteArray part(QByteArrayView record, recordlayout::Field f) { return member(record, f.pos, f.width).toByteArray(); }
}  // namespace

RaceKey RaceKey::ofRecord(QByteArrayView r) {
    using namespace jv::head;
    return {part(r, Year), part(r, MonthDay), part(r, Racecourse), part(r, Meeting), part(r, Day), part(r, RaceNumber)};
}

QByteArray RaceKey::raceIdOfRecord(QByteArrayView r) {
    using namespace jv::head;
    QByteArray id;
    id.reserve(Year.width + MonthDay.width + Racecourse.width + RaceNumber.width);
    for (const recordlayout::Field f : {Year, MonthDay, Racecourse, RaceNumber}) id += member(r, f.pos, f.width);
    return id;
}

RaceKey RaceKey::ofRunner(QByteArrayView r, int slot) {
    return {part(r, rr::RaceYear(slot)),  part(r, rr::RaceMonthDay(slot)), part(r, rr::CourseCode(slot)),
            part(r, rr::MeetingNo(slot)), part(r, rr::DayNo(slot)),        part(r, rr::RaceNo(slot))};
}

}  // namespace rw::prediction
