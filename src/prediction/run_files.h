#pragma once
// YOSOKEKKATHISWEEKNZ: the names of the files the prediction run writes, in
// the system's form under AppPath. Each name is spelled here once.
#include "jvdata/store_files.h"

#include <QByteArrayView>
#include <QString>

namespace rw::prediction {

// The week-list files, emptied and rebuilt by every run.
using jv::kRaceListFile;  // RaceList, also rewritten by the previous-day fix
inline constexpr char16_t kRaceDetailFile[] = u"RACETHISWEEKNSYOSAI.dat";   // RaceDetailRow lines
inline constexpr const char16_t* kRaceKeyListFile = kInFolder<jv::kSokudoFolder, u"RACEID.txt">;  // RaceKeyList

// Per-race files of KAIME, named by the RaceID: the score file and the
// sort files.
inline constexpr char16_t kScoreSuffix[] = u".dat";
inline constexpr char16_t kRankSortSuffix[] = u"SORT.dat";
inline constexpr char16_t kLupSortSuffix[] = u"LUPSORT.dat";
inline constexpr char16_t kUmarenSortSuffix[] = u"UMARENSORT.dat";
inline constexpr char16_t kUmatanSortSuffix[] = u"UMATANSORT.dat";
inline constexpr char16_t kSanrenSortSuffix[] = u"SANRENSORT.dat";
inline constexpr char16_t kSanrentanSortSuffix[] = u"SANRENTANSORT.dat";

// Folders of the bet-import files (and the exports' win file).
using jv::kSanrenpukuFolder;
using jv::kSanrentanFolder;
using jv::kTanshoFolder;
using jv::kUmarenFolder;
using jv::kUmatanFolder;
using jv::kWideFolder;

// The course-day's rate files in TEKICHU, named by the DayKey.
inline constexpr char16_t kKaitekiSuffix[] = u"kaiteki.txt";
inline constexpr char16_t kKaitekiPcSuffix[] = u"kaitekiPC.txt";

// "KAIME\" + RaceID + suffix under AppPath. Throws StepFailure when the
// RaceID is not twelve digits.
QString KaimeFile(QByteArrayView raceId, const char16_t* suffix);

// The bet-import file of a race in `folder`: the date as YYMMDD, the course
// name, the race number and "R.csv". The course name comes from the code
// table: a name that could leave the folder (a separator, "..", a control
// character, a character file systems refuse) throws StepFailure.
QString BetImportFile(const char16_t* folder, QByteArrayView raceId, QByteArrayView courseName);

// "TEKICHU\" + DayKey + suffix under AppPath. Throws StepFailure when the
// DayKey is not fourteen digits.
QString TekichuDayFile(QByteArrayView dayKey, const char16_t* suffix);

}  // namespace rw::prediction
