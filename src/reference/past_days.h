#pragma once
// KakoSeisekiZ: the work of its load. First the race-day scan: every past
// race day whose "TEKICHU\" + DayKey + "tekichu.txt" begins with a day
// line becomes an item of List1 and a line of the day list
// "TEKICHU\RACEIDYMDLKN.txt" (newest date first, then racecourse, meeting,
// day of the meeting). Then the external-index rebuild: from each listed
// day's "lupRCM.txt", "SOKUDO\RACEID.txt" (one RaceKey16 per race) and one
// "SOKUDO\HR" + date + ".csv" per listed date (one speed line per race).
//
// The days are found from one listing of "TEKICHU" (reference/day_finder.h),
// so the load reads each day file once; the day list, "RACEID.txt" and each
// HR file are written once. A statement that fails is skipped (recorded in
// `log`) and the load goes on. The menu's Text6 gets every date's search
// text, the start text and one text per race; events are never processed.
#include "common/paths.h"
#include "common/skip.h"
#include "common/ui_port.h"
#include "jvdata/store_files.h"
#include "prediction/run_files.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace rw::reference {

inline constexpr const char16_t* kDayListFile = kInFolder<jv::kTekichuFolder, u"RACEIDYMDLKN.txt">;
inline constexpr const char16_t* kRaceIdFile = prediction::kRaceKeyListFile;
inline constexpr char kStatusBox[] = "KESF1THISWEEKNZ.Text6";

// The List1 item of a day: the six header values joined, 18 blanks, the
// DayKey.
QString PastDayItem(const QList<QByteArray>& header, QByteArrayView dayKey);

// The race-day scan: List1's items (replaced) and the day list file.
void RunRaceDayScan(UiPort& ui, QStringList& list1, SkipLog& log);

// One runner line's entry of an HR line, from the estimated time text of
// the day file: the speed in metres per hour (distance × 3600 / seconds,
// truncated; seconds = first character × 60 + last five characters, in
// single precision). A time that cannot be read gives speed 0, as the
// weekly writer writes a runner without a speed; a time giving zero seconds
// gives no entry.
struct IndexEntry {
    bool set = false;
    std::int64_t speed = 0;
    int rank = 0;
};
IndexEntry IndexEntryOf(QByteArrayView timeText, std::int64_t distance, int rank);

// The external-index rebuild from the day list file.
void RebuildExternalIndex(UiPort& ui, SkipLog& log);

// The whole load: the scan, then the rebuild.
void KakoSeisekiLoad(UiPort& ui, QStringList& list1, SkipLog& log);

}  // namespace rw::reference
