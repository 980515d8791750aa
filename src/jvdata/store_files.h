#pragma once
// The weekly store: every file and folder name the tasks share, in the
// system's form (relative to AppPath, "\" as separator). Each name is
// declared here and nowhere else; the writers' own file names (prediction's
// run_files.h, publish's publish_files.h, the day files of reports) are
// built on these folders.
#include "common/paths.h"

#include <QByteArrayView>
#include <QString>

namespace rw::jv {

// ① the week's records as downloaded.
inline constexpr char16_t kRaWeekFile[] = u"RATHISWEEKN.dat";
inline constexpr char16_t kSeWeekFile[] = u"SETHISWEEKN.dat";
inline constexpr char16_t kUmWeekFile[] = u"UMTHISWEEKN.dat";
inline constexpr char16_t kKsWeekFile[] = u"KSTHISWEEKN.dat";
inline constexpr char16_t kHrWeekFile[] = u"HRTHISWEEKN.dat";

// ② sorted and de-duplicated: NEWd keeps every data kind, NEW drops the
// kinds that are no longer races (entries only, cancelled).
inline constexpr char16_t kRaNewFile[] = u"RATHISWEEKNNEW.dat";
inline constexpr char16_t kRaNewdFile[] = u"RATHISWEEKNNEWd.dat";
inline constexpr char16_t kSeNewFile[] = u"SETHISWEEKNNEW.dat";
inline constexpr char16_t kSeNewdFile[] = u"SETHISWEEKNNEWd.dat";
inline constexpr char16_t kUmNewFile[] = u"UMTHISWEEKNNEW.dat";
inline constexpr char16_t kHorseListFile[] = u"KETTONUMTHISWEEKN.dat";  // HorseList
inline constexpr char16_t kDamListFile[] = u"HAHAHANNUMTHISWEEKN.dat";  // DamList
// The week's race list (one quoted RaceID a line): written by the prediction
// run, rewritten from the payoffs by the previous-day fix in results mode.
inline constexpr char16_t kRaceListFile[] = u"RACETHISWEEKN.dat";
inline constexpr char16_t kRunFileFolder[] = u"UMAGOTOTHISWEEKN";
// One expanded run file per horse, written by the compute pass.
inline constexpr char16_t kExFolder[] = u"UMAGOTOEXTHISWEEKN";
// Scratch file of the tasks that rewrite a store file through a copy.
inline constexpr char16_t kScratchFile[] = u"TEMPORARY";

// The week's odds as downloaded, and the flash files (deleted at start-up).
inline constexpr char16_t kO2WeekFile[] = u"O2THISWEEKN.dat";
inline constexpr char16_t kO4WeekFile[] = u"O4THISWEEKN.dat";
inline constexpr char16_t kO5WeekFile[] = u"O5THISWEEKN.dat";
inline constexpr char16_t kO6WeekFile[] = u"O6THISWEEKN.dat";
inline constexpr char16_t kSeFlashFile[] = u"SERIALTIME.dat";
inline constexpr char16_t kHrFlashFile[] = u"HRRIALTIME.dat";
inline constexpr char16_t kRaFlashFile[] = u"RARIALTIME.dat";
inline constexpr char16_t kO1FlashFile[] = u"O1RIALTIME.dat";
inline constexpr char16_t kO2FlashFile[] = u"O2RIALTIME.dat";
inline constexpr char16_t kO4FlashFile[] = u"O4RIALTIME.dat";
inline constexpr char16_t kO5FlashFile[] = u"O5RIALTIME.dat";
inline constexpr char16_t kO6FlashFile[] = u"O6RIALTIME.dat";

// The model package and the statistics files made from it.
inline constexpr char16_t kPackageFolder[] = u"OPTION1N";
inline constexpr const char16_t* kSireStatsFile = kInFolder<kPackageFolder, u"STALLION.dat">;
inline constexpr const char16_t* kDamStatsFile = kInFolder<kPackageFolder, u"HAHAUMA.dat">;
inline constexpr const char16_t* kDamExtractFile = kInFolder<kPackageFolder, u"HAHAUMATHISWEEK.dat">;
inline constexpr const char16_t* kHorseStatsFile = kInFolder<kPackageFolder, u"KYOSOBA.dat">;
inline constexpr const char16_t* kHorseExtractFile = kInFolder<kPackageFolder, u"KYOSOBATHISWEEK.dat">;
inline constexpr const char16_t* kJockeyStatsFile = kInFolder<kPackageFolder, u"KISHUSEISEI.dat">;
inline constexpr const char16_t* kTrainerStatsFile = kInFolder<kPackageFolder, u"CHOKYOSEISEI.dat">;
inline constexpr const char16_t* kDamFoalFile = kInFolder<kPackageFolder, u"HNSKOPTION1N.dat">;
inline constexpr const char16_t* kPackageJockeyFile = kInFolder<kPackageFolder, u"KS20200101NEW.dat">;

// Per-race odds tables and bet files.
inline constexpr char16_t kKaimeFolder[] = u"KAIME";

// The output folders of the later steps, which the start-up creates
// before any of them runs.
inline constexpr char16_t kRaceFolder[] = u"RACE";
inline constexpr char16_t kShutsubahyoFolder[] = u"SHUTSUBAHYO";
inline constexpr char16_t kTekichuFolder[] = u"TEKICHU";
inline constexpr char16_t kTanfukuFolder[] = u"TANFUKU";
inline constexpr char16_t kTanfuku2Folder[] = u"TANFUKU2";
inline constexpr char16_t kTanshoFolder[] = u"TANSHO";
inline constexpr char16_t kFukushoFolder[] = u"FUKUSHO";
inline constexpr char16_t kUmarenFolder[] = u"UMAREN";
inline constexpr char16_t kUmatanFolder[] = u"UMATAN";
inline constexpr char16_t kSanrenpukuFolder[] = u"SANRENPUKU";
inline constexpr char16_t kSanrentanFolder[] = u"SANRENTAN";
inline constexpr char16_t kWideFolder[] = u"WIDE";
inline constexpr char16_t kSokudoFolder[] = u"SOKUDO";
inline constexpr char16_t kWebPageFolder[] = u"ravelmont_wp";
inline constexpr char16_t kWebPredictionFolder[] = u"ravelmont_yosou";
inline constexpr char16_t kWebPdfFolder[] = u"ravelmont_pdf";

// "UMAGOTOTHISWEEKN\" + number + ".dat" under AppPath. Throws StepFailure
// when the number is not ten digits, so that no record names a file
// outside the folder.
QString HorseRunFile(QByteArrayView registrationNumber);

}  // namespace rw::jv
