#pragma once
// Runner files for tests, made with the runner record's layout table: slot 0
// holds the race key, horse number and registration number, every other
// byte a pattern, so a test sees exactly which bytes a writer changed.
#include "common/fixed_text.h"
#include "prediction/runner_record.h"

#include <QByteArray>
#include <QByteArrayView>

namespace rwtest {

// Year, month-day, racecourse and race number of a RaceKey16.
inline QByteArray raceIdOfKey(QByteArrayView key16) {
    return key16.first(10).toByteArray() + key16.sliced(14, 2).toByteArray();
}

inline QByteArray runnerRecord(QByteArrayView key16, int horseNo, QByteArrayView registrationNo = "2019100001") {
    namespace rr = rw::prediction::rr;
    QByteArray r(rw::prediction::kRunnerRecordLength, '\0');
    for (qsizetype i = 0; i < r.size(); ++i) r[i] = char('A' + (i * 7 + horseNo) % 26);
    rw::putFixed(r, rr::RunRaceKey(0).pos, rr::RunRaceKey(0).width, key16);
    rw::putFixed(r, rr::HorseNo(0).pos, rr::HorseNo(0).width, QByteArray::number(horseNo).rightJustified(2, '0'));
    rw::putFixed(r, rr::RegistrationNo(0).pos, rr::RegistrationNo(0).width, registrationNo);
    rw::putFixed(r, rr::RecordEnd.pos, rr::RecordEnd.width, "\r\n");
    return r;
}

// Records 1..runners of a race's runner file.
inline QByteArray runnerFile(QByteArrayView key16, int runners) {
    QByteArray all;
    for (int h = 1; h <= runners; ++h) all += runnerRecord(key16, h);
    return all;
}

// The member `f` of record `horseNo` (from 1) of a runner file's bytes.
inline QByteArray runnerItem(const QByteArray& file, int horseNo, rw::prediction::Field f) {
    return file.mid(qsizetype(horseNo - 1) * rw::prediction::kRunnerRecordLength + f.offset(), f.width);
}

}  // namespace rwtest
