#pragma once
// KakoSeisekiZ and TekichuListZ: the past race days whose day file stands in
// "TEKICHU". The windows try every DayKey of the dates from 2028-12-31 down
// to 2024-01-01 (every month with 31 days), racecourses 01-10, meetings
// 01-07 and days of the meeting 01-12: 1,562,400 names. This finder lists
// the folder once instead and gives, for every one of the 1,860 dates in the
// windows' order, the candidates whose file is there, in the order the
// loops try them (racecourse, meeting, day ascending). A caller still opens
// and reads each one, as the probe did: one that cannot be opened or read is
// no day.
//
// What the listing keeps is exactly what opening each name would find:
// - only names made of a candidate DayKey and the file name ("tekichu.txt",
//   "lupRCM.txt"), impossible dates (02-30, 04-31 …) included;
// - never a folder named like a day file;
// - a name that differs from the candidate's only in letter case counts
//   when opening the candidate's own name succeeds (a case-blind file
//   system), never otherwise;
// - a folder that exists but cannot be listed is probed name by name.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <functional>

namespace rw::reference {

inline constexpr int kFirstYear = 2024;
inline constexpr int kLastYear = 2028;
inline constexpr int kDatesPerScan = (kLastYear - kFirstYear + 1) * 12 * 31;  // 1,860
inline constexpr int kKeysPerDate = 10 * 7 * 12;                              // 840

struct ScanDate {
    int year = 0;
    int month = 0;
    int day = 0;
    QByteArray date;  // YYYYMMDD
};

// The dates in the windows' order: newest first, every month with 31 days.
QList<ScanDate> ScanDates();

// The progress text of a date: "2028年12月31日検索中".
QString SearchingText(const ScanDate& d);

// Whether a DayKey is one the loops try (years 2024-2028, months 01-12,
// days 01-31, racecourses 01-10, meetings 01-07, days of the meeting 01-12).
bool IsCandidateDayKey(QByteArrayView dayKey);

class DayFinder {
public:
    // `folder` is the day files' folder with a trailing separator, `fileName`
    // what follows the DayKey.
    DayFinder(const QString& folder, const QString& fileName);

    // The candidate DayKeys of one date (YYYYMMDD) whose file may be opened,
    // in the loops' order.
    const QList<QByteArray>& keysOf(const QByteArray& date) const;
    // The path of a candidate's file.
    QString pathOf(const QByteArray& dayKey) const;
    // True when the folder could not be listed and every name was probed.
    bool probed() const { return probed_; }

private:
    void list();
    void probeAll();
    void add(const QByteArray& key);

    QString folder_;
    QString fileName_;
    bool probed_ = false;
    QHash<QByteArray, QList<QByteArray>> byDate_;
};

// Makes listing a folder fail when `refuse` returns true for it, as a
// folder the user may open files in but not list (tests); empty restores
// the real listing.
void SetDayListingHook(std::function<bool(const QString& folder)> refuse);

// Walks the dates in the windows' order; for each date calls `onDate` with
// the date and its candidate keys (possibly none).
void ForEachScanDate(const DayFinder& finder,
                     const std::function<void(const ScanDate&, const QList<QByteArray>& keys)>& onDate);

}  // namespace rw::reference
