#pragma once
// A long history of past race days for the reference windows: the five
// results-mode day files of each given day copied under the DayKeys of
// earlier race weekends (the day line of each copy rewritten to its date),
// plus stray names the windows must pass over.
#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

namespace rwtest {

struct HistoryCopy {
    int days = 0;   // DayKeys written
    int files = 0;  // files written
};

// The day files "tekichu.txt", "lupRCM.txt", "tekichuPC.txt", "kaiteki.txt"
// and "kaitekiPC.txt" of every source DayKey (those that exist) in `tekichu`
// (a folder path ending in a separator) copied `weeks` times, week w moved
// back by `firstShiftDays` + 7 × w days; copies dated outside 2024-2028 are
// not written. Racecourse, meeting and day of the meeting are kept.
HistoryCopy CopyHistory(const QString& tekichu, const QList<QByteArray>& sourceKeys, int firstShiftDays, int weeks);

// Stray names beside the history: keys out of range (2023, 2029,
// racecourse 11, meeting 08, day 13), impossible dates (02-30, 04-31),
// a "tekichuPC.txt" alone, a folder named like a day file. Returns the
// DayKeys of the impossible dates, which the windows do list.
QList<QByteArray> WriteStrayNames(const QString& tekichu, const QByteArray& dayFileFrom);

// The DayKeys of the day files in `tekichu`.
QList<QByteArray> DayKeysIn(const QString& tekichu);

}  // namespace rwtest
