#pragma once
// RaceHorseRecord: one runner of one race, 24022 bytes, in the race's runner
// file "RACE\" + RaceID + ".dat" (record number = horse number). Run slot 0
// is the race of the file, slots 1 to 64 the horse's earlier runs, newest
// first. Members marked per slot are stored slot after slot. Offsets in the
// table count from 0; Field positions count from 1.
#include "common/layout_table.h"
#include "jvdata/race_key.h"
#include "jvdata/store_files.h"

#include <QByteArrayView>
#include <QString>
#include <array>
#include <span>
#include <string_view>

namespace rw::prediction {

using recordlayout::Field;
using recordlayout::findField;
using recordlayout::group;
using recordlayout::item;
using recordlayout::rep;

inline constexpr int kRunnerRecordLength = 24022;
inline constexpr int kRunSlots = 65;      // slots 0..64 of the text members
inline constexpr int kWeightSlots = 70;   // slots 0..69 of the Single blocks
inline constexpr int kWeightsPerSlot = 24;
inline constexpr int kResultsPerSlot = 20;
using jv::kRaceFolder;

// clang-format off
inline constexpr recordlayout::Row kRunnerRows[] = {
    group(0, "RunRaceKey", kRunSlots, {{"RaceYear", 4}, {"RaceMonthDay", 4}, {"CourseCode", 2}, {"MeetingNo", 2},
                                       {"DayNo", 2}, {"RaceNo", 2}}),
    rep(1040, "FrameNo", kRunSlots, 1),
    rep(1105, "HorseNo", kRunSlots, 2),
    rep(1235, "RegistrationNo", kRunSlots, 10),
    item(1885, "HorseName", 36),
    rep(1921, "JockeyShortName", kRunSlots, 8),
    rep(2441, "Distance", kRunSlots, 4),
    rep(2701, "TrackCode", kRunSlots, 2),
    rep(2831, "RegisteredRunners", kRunSlots, 2),
    rep(2961, "ArrivalOrder", kRunSlots, 2),
    rep(3091, "FinishPosition", kRunSlots, 2),
    rep(3221, "RaceTime", kRunSlots, 4),
    rep(3481, "WinPopularity", kRunSlots, 2),
    rep(3611, "WinOdds", kRunSlots, 4),
    rep(3871, "Last3FTime", kRunSlots, 3),
    rep(4066, "TrainerShortName", kRunSlots, 8),
    item(4586, "SireName", 36),
    item(4622, "BreederName", 70),
    item(4692, "DamSireName", 36),
    item(4728, "Age", 2),
    item(4730, "SexCode", 1),
    item(4731, "StartTime", 4),
    group(4735, "GoingCodes", kRunSlots, {{"WeatherCode", 1}, {"TurfGoingCode", 1}, {"DirtGoingCode", 1}}),
    item(4930, "CarriedWeight", 3),
    item(4933, "BodyWeight", 3),
    item(4936, "WeightChangeSign", 1),
    item(4937, "WeightChange", 3),
    item(4940, "AbnormalityCode", 1),
    rep(4941, "SampleCounts", 5, 7),
    group(4976, "AgariW", kWeightSlots, {{"", 4, kWeightsPerSlot, -1, recordlayout::Type::Single}}),
    group(11696, "PaceW", kWeightSlots, {{"", 4, kWeightsPerSlot, -1, recordlayout::Type::Single}}),
    group(18416, "Result", kWeightSlots, {{"", 4, kResultsPerSlot, -1, recordlayout::Type::Single}}),
    recordlayout::singles(24016, "Residual", 1),
    item(24020, "RecordEnd", 2),
};
// clang-format on

inline constexpr recordlayout::OwnLayout kRunnerLayout{kRunnerRows, kRunnerRecordLength, kRunnerRecordLength};
static_assert(recordlayout::layoutIsConsistent(kRunnerLayout, 0));

// Members by name (positions from 1; offset() from 0). Per-slot members take
// the slot; the Single blocks take the slot and the element.
namespace rr {
constexpr Field at(std::string_view name, int slot = 0) { return findField(kRunnerLayout, name, {}, slot); }
constexpr Field key(std::string_view part, int slot) { return findField(kRunnerLayout, "RunRaceKey", part, slot); }
constexpr Field RunRaceKey(int slot) { return at("RunRaceKey", slot); }
constexpr Field RaceYear(int slot) { return key("RaceYear", slot); }
constexpr Field RaceMonthDay(int slot) { return key("RaceMonthDay", slot); }
constexpr Field CourseCode(int slot) { return key("CourseCode", slot); }
constexpr Field MeetingNo(int slot) { return key("MeetingNo", slot); }
constexpr Field DayNo(int slot) { return key("DayNo", slot); }
constexpr Field RaceNo(int slot) { return key("RaceNo", slot); }
constexpr Field FrameNo(int slot) { return at("FrameNo", slot); }
constexpr Field HorseNo(int slot) { return at("HorseNo", slot); }
constexpr Field RegistrationNo(int slot) { return at("RegistrationNo", slot); }
inline constexpr Field HorseName = at("HorseName");
constexpr Field JockeyShortName(int slot) { return at("JockeyShortName", slot); }
constexpr Field Distance(int slot) { return at("Distance", slot); }
constexpr Field TrackCode(int slot) { return at("TrackCode", slot); }
constexpr Field RegisteredRunners(int slot) { return at("RegisteredRunners", slot); }
constexpr Field ArrivalOrder(int slot) { return at("ArrivalOrder", slot); }
constexpr Field FinishPosition(int slot) { return at("FinishPosition", slot); }
constexpr Field RaceTime(int slot) { return at("RaceTime", slot); }
constexpr Field WinPopularity(int slot) { return at("WinPopularity", slot); }
constexpr Field WinOdds(int slot) { return at("WinOdds", slot); }
constexpr Field Last3FTime(int slot) { return at("Last3FTime", slot); }
constexpr Field TrainerShortName(int slot) { return at("TrainerShortName", slot); }
inline constexpr Field SireName = at("SireName");
inline constexpr Field BreederName = at("BreederName");
inline constexpr Field DamSireName = at("DamSireName");
inline constexpr Field Age = at("Age");
inline constexpr Field SexCode = at("SexCode");
inline constexpr Field StartTime = at("StartTime");
constexpr Field WeatherCode(int slot) { return findField(kRunnerLayout, "GoingCodes", "WeatherCode", slot); }
constexpr Field TurfGoingCode(int slot) { return findField(kRunnerLayout, "GoingCodes", "TurfGoingCode", slot); }
constexpr Field DirtGoingCode(int slot) { return findField(kRunnerLayout, "GoingCodes", "DirtGoingCode", slot); }
inline constexpr Field CarriedWeight = at("CarriedWeight");
inline constexpr Field BodyWeight = at("BodyWeight");
inline constexpr Field WeightChangeSign = at("WeightChangeSign");
inline constexpr Field WeightChange = at("WeightChange");
inline constexpr Field AbnormalityCode = at("AbnormalityCode");
constexpr Field SampleCounts(int i) { return at("SampleCounts", i); }
constexpr Field AgariW(int slot, int i) { return findField(kRunnerLayout, "AgariW", "", slot, i); }
constexpr Field PaceW(int slot, int i) { return findField(kRunnerLayout, "PaceW", "", slot, i); }
constexpr Field Result(int slot, int i) { return findField(kRunnerLayout, "Result", "", slot, i); }
inline constexpr Field Residual = at("Residual");
inline constexpr Field RecordEnd = at("RecordEnd");
}  // namespace rr

// The members of slot 0 (the race itself), looked up once for the code that
// reads them for every horse.
namespace s0 {
inline constexpr Field ArrivalOrder = rr::ArrivalOrder(0);
inline constexpr Field CourseCode = rr::CourseCode(0);
inline constexpr Field DayNo = rr::DayNo(0);
inline constexpr Field Distance = rr::Distance(0);
inline constexpr Field FinishPosition = rr::FinishPosition(0);
inline constexpr Field FrameNo = rr::FrameNo(0);
inline constexpr Field HorseNo = rr::HorseNo(0);
inline constexpr Field JockeyShortName = rr::JockeyShortName(0);
inline constexpr Field Last3FTime = rr::Last3FTime(0);
inline constexpr Field MeetingNo = rr::MeetingNo(0);
inline constexpr Field RaceMonthDay = rr::RaceMonthDay(0);
inline constexpr Field RaceNo = rr::RaceNo(0);
inline constexpr Field RaceTime = rr::RaceTime(0);
inline constexpr Field RaceYear = rr::RaceYear(0);
inline constexpr Field RegistrationNo = rr::RegistrationNo(0);
inline constexpr Field RunRaceKey = rr::RunRaceKey(0);
inline constexpr Field TrackCode = rr::TrackCode(0);
inline constexpr Field TrainerShortName = rr::TrainerShortName(0);
inline constexpr Field WinOdds = rr::WinOdds(0);
inline constexpr Field WinPopularity = rr::WinPopularity(0);
inline constexpr Field Result2 = rr::Result(0, 2), Result3 = rr::Result(0, 3), Result6 = rr::Result(0, 6);
inline constexpr std::array<Field, 5> SampleCounts{rr::SampleCounts(0), rr::SampleCounts(1), rr::SampleCounts(2),
                                                   rr::SampleCounts(3), rr::SampleCounts(4)};
}  // namespace s0

static_assert(rr::AgariW(1, 2).offset() == 4976 + 96 + 8 && rr::PaceW(69, 23).offset() == 11696 + 96 * 69 + 92 &&
              rr::Result(3, 6).offset() == 18416 + 240 + 24 && rr::WeatherCode(2).offset() == 4735 + 6 &&
              rr::DirtGoingCode(0).offset() == 4737 && rr::RaceNo(1).offset() == 16 + 14);

// The race key of run slot `slot` of a runner record (0: the race the record
// belongs to); items are shorter, or empty, where the record ends early.
jv::RaceKey RunnerRaceKey(QByteArrayView runnerRecord, int slot = 0);

// "RACE\" + RaceID + ".dat" under AppPath. Throws StepFailure when the
// RaceID is not twelve digits, so that no record value names a file outside
// the folder.
QString RunnerFile(QByteArrayView raceId);

}  // namespace rw::prediction
