#pragma once
// ExpandedRunRecord: the system's own record of one run of one horse, 2603
// bytes, one file per horse ("UMAGOTOEXTHISWEEKN\" + number + "EX.dat"),
// oldest run first. Offsets in the table count from 0, as the record's own
// description does; Field positions count from 1 like every other layout.
// The text members stay code page 932 bytes; the weight and result blocks
// are little-endian Singles.
#include "common/layout_table.h"
#include "jvdata/store_files.h"

#include <QByteArrayView>
#include <QString>
#include <array>
#include <span>
#include <string_view>

namespace rw::model {

using recordlayout::Field;
using recordlayout::findField;
using recordlayout::group;
using recordlayout::item;
using recordlayout::rep;
using recordlayout::Row;
using recordlayout::singles;
using recordlayout::Sub;

inline constexpr int kExRecordLength = 2603;

// The code width of each model item's category member, items 1 to 30.
inline constexpr int kCategoryWidths[31] = {0,  9, 11, 9, 4, 5, 6, 5, 4, 3, 3, 4, 3, 6, 6, 6,
                                            4,  4, 6,  5, 10, 10, 5, 10, 6, 4, 4, 8, 6, 6, 4};

inline constexpr std::string_view kCategoryNames[31] = {
    "",           "Category1",  "Category2",  "Category3",  "Category4",  "Category5",  "Category6",  "Category7",
    "Category8",  "Category9",  "Category10", "Category11", "Category12", "Category13", "Category14", "Category15",
    "Category16", "Category17", "Category18", "Category19", "Category20", "Category21", "Category22", "Category23",
    "Category24", "Category25", "Category26", "Category27", "Category28", "Category29", "Category30"};

using jv::kExFolder;

// clang-format off
inline constexpr Row kExRows[] = {
    item(0, "RecordSpec", 2),
    item(2, "DataKind", 1),
    item(3, "MakeYear", 4),
    item(7, "MakeMonth", 2),
    item(9, "MakeDay", 2),
    item(11, "RaceYear", 4),
    item(15, "RaceMonthDay", 4),
    item(19, "CourseCode", 2),
    item(21, "MeetingNo", 2),
    item(23, "DayNo", 2),
    item(25, "RaceNo", 2),
    item(27, "FrameNo", 1),
    item(28, "HorseNo", 2),
    item(30, "RegistrationNo", 10),
    item(40, "FoalOrder", 2),
    item(42, "WeekdayCode", 1),
    item(43, "SpareText", 10),
    item(53, "SaleCode", 6),
    item(59, "SaleHost", 40),
    item(99, "SaleName", 80),
    item(179, "SaleFrom", 8),
    item(187, "SaleTo", 8),
    item(195, "SaleAge", 1),
    item(196, "SalePrice", 10),
    item(206, "BirthYear", 4),
    item(210, "BirthMonth", 2),
    item(212, "BirthDay", 2),
    item(214, "InvitedArea", 20),
    item(234, "BreederCode", 8),
    item(242, "BreederName", 72),
    item(314, "ProductionArea", 20),
    item(334, "SireNo", 10),
    item(344, "SireName", 36),
    item(380, "SireBirthYear", 4),
    item(384, "SireArea", 20),
    item(404, "DamNo", 10),
    item(414, "DamBirthYear", 4),
    item(418, "DamArea", 20),
    item(438, "Pedigree3No", 10),
    item(448, "Pedigree3Name", 36),
    item(484, "Pedigree3BirthYear", 4),
    item(488, "Pedigree3Area", 20),
    item(508, "DamSireNo", 10),
    item(518, "DamSireName", 36),
    item(554, "DamSireBirthYear", 4),
    item(558, "DamSireArea", 20),
    item(578, "Pedigree5No", 10),
    item(588, "Pedigree5Name", 36),
    item(624, "Pedigree5BirthYear", 4),
    item(628, "Pedigree5Area", 20),
    item(648, "Pedigree6No", 10),
    item(658, "Pedigree6Name", 36),
    item(694, "Pedigree6BirthYear", 4),
    item(698, "Pedigree6Area", 20),
    item(718, "Pedigree7No", 10),
    item(728, "Pedigree7Name", 36),
    item(764, "Pedigree7BirthYear", 4),
    item(768, "Pedigree7Area", 20),
    item(788, "HorseName", 36),
    item(824, "SpareByte", 1),
    item(825, "HorseSymbolCode", 2),
    item(827, "SexCode", 1),
    item(828, "BreedCode", 1),
    item(829, "CoatColourCode", 2),
    item(831, "EastWestCode", 1),
    item(832, "TrainerCode", 5),
    item(837, "TrainerShortName", 8),
    item(845, "OwnerCode", 6),
    item(851, "OwnerName", 64),
    item(915, "Colours", 60),
    item(975, "CarriedWeight", 3),
    item(978, "CarriedWeightBefore", 3),
    item(981, "BlinkerCode", 1),
    item(982, "SpareCode", 1),
    item(983, "JockeyCode", 5),
    item(988, "JockeyBirthYear", 4),
    item(992, "JockeyBirthMonth", 2),
    item(994, "JockeyBirthDay", 2),
    item(996, "JockeySexCode", 1),
    item(997, "JockeyInvitedArea", 20),
    item(1017, "JockeyQualificationCode", 1),
    item(1018, "JockeyCodeBefore", 5),
    item(1023, "JockeyShortName", 8),
    item(1031, "JockeyShortNameBefore", 8),
    item(1039, "ApprenticeCode", 1),
    item(1040, "ApprenticeCodeBefore", 1),
    item(1041, "BodyWeight", 3),
    item(1044, "WeightChangeSign", 1),
    item(1045, "WeightChange", 3),
    item(1048, "AbnormalityCode", 1),
    item(1049, "ArrivalOrder", 2),
    item(1051, "FinishPosition", 2),
    item(1053, "DeadHeatCode", 1),
    item(1054, "DeadHeatCount", 1),
    item(1055, "RaceTime", 4),
    item(1059, "MarginCode", 3),
    item(1062, "MarginCode2", 3),
    item(1065, "MarginCode3", 3),
    item(1068, "Corner1Position", 2),
    item(1070, "Corner2Position", 2),
    item(1072, "Corner3Position", 2),
    item(1074, "Corner4Position", 2),
    item(1076, "WinOdds", 4),
    item(1080, "WinPopularity", 2),
    item(1082, "PrizeMoney", 8),
    item(1090, "AddedPrizeMoney", 8),
    item(1098, "Spare1", 3),
    item(1101, "Spare2", 3),
    item(1104, "Last4FTime", 3),
    item(1107, "Last3FTime", 3),
    item(1110, "TimeDiff", 4),
    item(1114, "GradeCode", 1),
    item(1115, "GradeCodeBefore", 1),
    item(1116, "RaceTypeCode", 2),
    item(1118, "RaceSymbolCode", 3),
    item(1121, "WeightRuleCode", 1),
    rep(1122, "ConditionCodes", 5, 3),
    item(1137, "Distance", 4),
    item(1141, "DistanceBefore", 4),
    item(1145, "TrackCode", 2),
    item(1147, "TrackCodeBefore", 2),
    item(1149, "CourseSection", 2),
    item(1151, "CourseSectionBefore", 2),
    rep(1153, "Prizes", 7, 8),
    rep(1209, "PrizesBefore", 5, 8),
    rep(1249, "AddedPrizes", 5, 8),
    rep(1289, "AddedPrizesBefore", 3, 8),
    item(1313, "StartTime", 4),
    item(1317, "StartTimeBefore", 4),
    item(1321, "RegisteredRunners", 2),
    item(1323, "Starters", 2),
    item(1325, "Finishers", 2),
    item(1327, "WeatherCode", 1),
    item(1328, "TurfGoingCode", 1),
    item(1329, "DirtGoingCode", 1),
    rep(1330, "LapTimes", 25, 3),
    item(1405, "HurdleMileTime", 4),
    item(1409, "First3FLap", 3),
    item(1412, "First4FLap", 3),
    item(1415, "Last3FLap", 3),
    item(1418, "Last4FLap", 3),
    group(1421, "Corners", 4, {{"CornerNo", 1}, {"Laps", 1}, {"PassingOrder", 70}}),
    // The computed block: written by the compute pass, never by the builder.
    rep(1709, "SpeedTexts", 20, 7),
    group(1849, "Categories", 1, {{"Category1", 9}, {"Category2", 11}, {"Category3", 9}, {"Category4", 4},
                                  {"Category5", 5}, {"Category6", 6}, {"Category7", 5}, {"Category8", 4},
                                  {"Category9", 3}, {"Category10", 3}}),
    group(1908, "Categories11", 1, {{"Category11", 4}, {"Category12", 3}, {"Category13", 6}, {"Category14", 6},
                                    {"Category15", 6}, {"Category16", 4}, {"Category17", 4}, {"Category18", 6},
                                    {"Category19", 5}, {"Category20", 10}}),
    group(1962, "Categories21", 1, {{"Category21", 10}, {"Category22", 5}, {"Category23", 10}, {"Category24", 6},
                                    {"Category25", 4}, {"Category26", 4}, {"Category27", 8}, {"Category28", 6},
                                    {"Category29", 6}, {"Category30", 4}}),
    rep(2025, "CategoryIndex", 31, 4),
    singles(2149, "AgariW", 31),
    singles(2273, "PaceW", 31),
    singles(2397, "SohaW", 31),
    singles(2521, "Result", 20),
    item(2601, "RecordEnd", 2),
};
// clang-format on

inline constexpr recordlayout::OwnLayout kExLayout{kExRows, kExRecordLength, kExRecordLength};
static_assert(recordlayout::layoutIsConsistent(kExLayout, 0));

// Members by name (positions from 1; offset() from 0).
namespace ex {
constexpr Field at(std::string_view name, int element = 0) { return findField(kExLayout, name, {}, element); }
// Every element of a repeated member, looked up once at compile time: a
// lookup by a run-time index is then a read of this table, not a search of
// the layout (an index out of range still fails, at compile time too).
// The table is the member's accessor: Member(i) is element i.
template <int N>
struct Elements {
    std::array<Field, N> fields;
    constexpr Field operator()(int i) const { return recordlayout::element(fields, i); }
};
template <int N>
constexpr Elements<N> elements(std::string_view name, std::string_view sub = {}) {
    Elements<N> a{};
    for (int i = 0; i < N; ++i) a.fields[size_t(i)] = findField(kExLayout, name, sub, i);
    return a;
}
inline constexpr auto ConditionCodes = elements<5>("ConditionCodes");
inline constexpr auto Prizes = elements<7>("Prizes");
inline constexpr auto LapTimes = elements<25>("LapTimes");
inline constexpr auto CornerPassingOrder = elements<4>("Corners", "PassingOrder");
inline constexpr auto SpeedTexts = elements<20>("SpeedTexts");
inline constexpr auto CategoryIndex = elements<31>("CategoryIndex");
inline constexpr auto AgariW = elements<31>("AgariW");
inline constexpr auto PaceW = elements<31>("PaceW");
inline constexpr auto SohaW = elements<31>("SohaW");
inline constexpr auto Result = elements<20>("Result");
inline constexpr auto kCategories = [] {
    std::array<Field, 31> a{};
    for (int item = 1; item <= 30; ++item)
        a[size_t(item)] = item <= 10   ? findField(kExLayout, "Categories", kCategoryNames[item])
                          : item <= 20 ? findField(kExLayout, "Categories11", kCategoryNames[item])
                                       : findField(kExLayout, "Categories21", kCategoryNames[item]);
    return a;
}();
inline constexpr Field RecordSpec = at("RecordSpec");
inline constexpr Field DataKind = at("DataKind");
inline constexpr Field MakeYear = at("MakeYear");
inline constexpr Field MakeMonth = at("MakeMonth");
inline constexpr Field MakeDay = at("MakeDay");
inline constexpr Field RaceYear = at("RaceYear");
inline constexpr Field RaceMonthDay = at("RaceMonthDay");
inline constexpr Field CourseCode = at("CourseCode");
inline constexpr Field MeetingNo = at("MeetingNo");
inline constexpr Field DayNo = at("DayNo");
inline constexpr Field RaceNo = at("RaceNo");
inline constexpr Field RaceKey16{RaceYear.pos, 16, RaceYear.pos, 16};
inline constexpr Field FrameNo = at("FrameNo");
inline constexpr Field HorseNo = at("HorseNo");
inline constexpr Field RegistrationNo = at("RegistrationNo");
inline constexpr Field FoalOrder = at("FoalOrder");
inline constexpr Field WeekdayCode = at("WeekdayCode");
inline constexpr Field BirthYear = at("BirthYear");
inline constexpr Field BirthMonth = at("BirthMonth");
inline constexpr Field BirthDay = at("BirthDay");
inline constexpr Field BreederCode = at("BreederCode");
inline constexpr Field BreederName = at("BreederName");
inline constexpr Field SireNo = at("SireNo");
inline constexpr Field SireName = at("SireName");
inline constexpr Field DamNo = at("DamNo");
inline constexpr Field DamSireNo = at("DamSireNo");
inline constexpr Field DamSireName = at("DamSireName");
inline constexpr Field Pedigree7Name = at("Pedigree7Name");
inline constexpr Field HorseName = at("HorseName");
inline constexpr Field HorseSymbolCode = at("HorseSymbolCode");
inline constexpr Field SexCode = at("SexCode");
inline constexpr Field EastWestCode = at("EastWestCode");
inline constexpr Field TrainerCode = at("TrainerCode");
inline constexpr Field TrainerShortName = at("TrainerShortName");
inline constexpr Field OwnerCode = at("OwnerCode");
inline constexpr Field CarriedWeight = at("CarriedWeight");
inline constexpr Field CarriedWeightBefore = at("CarriedWeightBefore");
inline constexpr Field BlinkerCode = at("BlinkerCode");
inline constexpr Field JockeyCode = at("JockeyCode");
inline constexpr Field JockeyBirthYear = at("JockeyBirthYear");
inline constexpr Field JockeyCodeBefore = at("JockeyCodeBefore");
inline constexpr Field JockeyShortName = at("JockeyShortName");
inline constexpr Field JockeyShortNameBefore = at("JockeyShortNameBefore");
inline constexpr Field ApprenticeCode = at("ApprenticeCode");
inline constexpr Field BodyWeight = at("BodyWeight");
inline constexpr Field WeightChangeSign = at("WeightChangeSign");
inline constexpr Field WeightChange = at("WeightChange");
inline constexpr Field AbnormalityCode = at("AbnormalityCode");
inline constexpr Field ArrivalOrder = at("ArrivalOrder");
inline constexpr Field FinishPosition = at("FinishPosition");
inline constexpr Field RaceTime = at("RaceTime");
inline constexpr Field MarginCode = at("MarginCode");
inline constexpr Field Corner1Position = at("Corner1Position");
inline constexpr Field Corner4Position = at("Corner4Position");
inline constexpr Field WinOdds = at("WinOdds");
inline constexpr Field WinPopularity = at("WinPopularity");
inline constexpr Field PrizeMoney = at("PrizeMoney");
inline constexpr Field AddedPrizeMoney = at("AddedPrizeMoney");
inline constexpr Field Last4FTime = at("Last4FTime");
inline constexpr Field Last3FTime = at("Last3FTime");
inline constexpr Field TimeDiff = at("TimeDiff");
inline constexpr Field GradeCode = at("GradeCode");
inline constexpr Field RaceTypeCode = at("RaceTypeCode");
inline constexpr Field RaceSymbolCode = at("RaceSymbolCode");
inline constexpr Field WeightRuleCode = at("WeightRuleCode");
inline constexpr Field Distance = at("Distance");
inline constexpr Field TrackCode = at("TrackCode");
inline constexpr Field CourseSection = at("CourseSection");
inline constexpr Field StartTime = at("StartTime");
inline constexpr Field RegisteredRunners = at("RegisteredRunners");
inline constexpr Field Starters = at("Starters");
inline constexpr Field WeatherCode = at("WeatherCode");
inline constexpr Field TurfGoingCode = at("TurfGoingCode");
inline constexpr Field DirtGoingCode = at("DirtGoingCode");
inline constexpr Field First3FLap = at("First3FLap");
inline constexpr Field Last3FLap = at("Last3FLap");
// The computed block (its repeated members above).
constexpr Field Category(int item) {
    if (item < 1 || item > 30) throw "no such item";
    return kCategories[size_t(item)];
}
inline constexpr Field ComputedBlock{1710, 2601 - 1709, 1710, 2601 - 1709};
inline constexpr Field RecordEnd = at("RecordEnd");
}  // namespace ex

constexpr bool categoryWidthsAgree() {
    for (int k = 1; k <= 30; ++k)
        if (ex::Category(k).width != kCategoryWidths[k] ||
            (k > 1 && ex::Category(k).pos != ex::Category(k - 1).pos + kCategoryWidths[k - 1]))
            return false;
    return ex::Category(1).offset() == 1849 && ex::Category(30).offset() == 2021;
}
static_assert(categoryWidthsAgree());
static_assert(ex::AgariW(0).offset() == 2149 && ex::Result(19).offset() == 2597 && ex::RecordEnd.offset() == 2601);

// "UMAGOTOEXTHISWEEKN\" + number + "EX.dat" under AppPath. Throws
// StepFailure when the number is not ten digits, so that no value read from
// a record or a list names a file outside the folder.
QString ExpandedRecordFile(QByteArrayView registrationNumber);
// The ending of a horse's file name, after its registration number; the
// viewer shows it after the number and reads the number back from it.
inline constexpr char16_t kExFileEnding[] = u"EX.dat";

}  // namespace rw::model
