#pragma once
// YOSOKEKKATHISWEEKNZ: the file names of the exports and the web outputs in
// their folders, in the system's form under AppPath. Each name is spelled
// here once. Pieces that come from records (date, race number, keys) must be
// digits, and course names from the code table must stay one file name:
// otherwise the name is refused with StepFailure, so no record or code
// table row names a file outside its folder.
#include "jvdata/store_files.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace rw::publish {

// The folders come from the store's catalogue (jvdata/store_files.h).
using jv::kFukushoFolder;  // the win folder is jv::kTanshoFolder
using jv::kSokudoFolder;
using jv::kTanfuku2Folder;
using jv::kTanfukuFolder;
inline constexpr const char16_t* kWpFolder = jv::kWebPageFolder;
inline constexpr const char16_t* kSiteFolder = jv::kWebPredictionFolder;

// Endings of the day sheets, after the DayKey.
inline constexpr char16_t kTanfukuEnding[] = u"tnfk.csv";
inline constexpr char16_t kTanfukuResultsEnding[] = u"tnfkRCM.csv";
inline constexpr char16_t kTanfuku2Ending[] = u"tnfk2.csv";
inline constexpr char16_t kTanfuku2ResultsEnding[] = u"tnfkRCM2.csv";

// `folder`\ + DayKey (14 digits) + `ending`.
QString DaySheetFile(const char16_t* folder, QByteArrayView dayKey, const char16_t* ending);
// "ravelmont_yosou\" + date + "_" + course + "_r" + race number + ".txt".
QString SitePageFile(QByteArrayView date, QByteArrayView course, QByteArrayView raceNo);
// "ravelmont_wp\" + date + "_" + course + "_pdf.txt".
QString PrintPageFile(QByteArrayView date, QByteArrayView course);
// "ravelmont_wp\" + date + "-" + course + ".txt".
QString WordPressDayFile(QByteArrayView date, QByteArrayView course);
// "SOKUDO\HR" + date + ".csv" and "SOKUDO\" + RaceKey16 + ".csv".
QString SpeedIndexDayFile(QByteArrayView date);
QString SpeedIndexRaceFile(QByteArrayView raceKey16);

// A Latin course name in lower case: the single-byte letters A-Z of a code
// page 932 text lowered, double-byte characters left as they are.
QByteArray LowerLatin(QByteArrayView cp932);

}  // namespace rw::publish
