#pragma once
// YOSOKEKKATHISWEEKNZ: the folders and file names of the exports and the web
// outputs, in the system's form under AppPath. Each name is spelled here
// once. Pieces that come from records (date, race number, keys) must be
// digits, and course names from the code table must stay one file name:
// otherwise the name is refused with StepFailure, so no record or code
// table row names a file outside its folder.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace rw::publish {

inline constexpr char16_t kTanfukuFolder[] = u"TANFUKU";
inline constexpr char16_t kTanfuku2Folder[] = u"TANFUKU2";
inline constexpr char16_t kFukushoFolder[] = u"FUKUSHO";  // the win folder is prediction::kTanshoFolder
inline constexpr char16_t kSokudoFolder[] = u"SOKUDO";
inline constexpr char16_t kWpFolder[] = u"ravelmont_wp";
inline constexpr char16_t kSiteFolder[] = u"ravelmont_yosou";

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
