#pragma once
// The key of one race, cut into its parts, and every key text built from
// them: the RaceID (year, month-day, racecourse, race number), the DayKey
// (year, month-day, racecourse, meeting, day), the RaceKey16 (the DayKey and
// the race number) and the race date. Bytes are kept one to one.
#include <QByteArray>
#include <QByteArrayView>

namespace rw::jv {

struct RaceKey {
    QByteArray year, monthDay, course, meeting, day, raceNo;

    QByteArray date() const { return year + monthDay; }
    QByteArray raceId() const { return year + monthDay + course + raceNo; }
    QByteArray dayKey() const { return year + monthDay + course + meeting + day; }
    QByteArray raceKey16() const { return dayKey() + raceNo; }

    // The race key of a JV-Data record (RA, SE, HR and the odds); items
    // are shorter, or empty, where the record ends early.
    static RaceKey ofRecord(QByteArrayView record);
    // ofRecord(record).raceId() made at once, for a pass over many records.
    static QByteArray raceIdOfRecord(QByteArrayView record);
    // The items of a key text laid out as a RaceKey16; a DayKey gives no race
    // number. Items are shorter, or empty, where the text ends early.
    static RaceKey ofKeyText(QByteArrayView key);
};

}  // namespace rw::jv
