#include "prediction/runner_files.h"

#include "common/cp932.h"
#include "common/file_ops.h"
#include "common/fixed_text.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/record_file.h"
#include "jvdata/race_key.h"
#include "jvdata/records.h"
#include "jvdata/store_files.h"
#include "common/kestrav_path.h"
#include "model/expanded_record.h"
#include "prediction/runner_record.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace rw::prediction {
namespace {

using jv::RaceKey;
using recordlayout::Field;
namespace ex = model::ex;

void put(QByteArray& rec, Field f, QByteArrayView v) { putFixed(rec, f.pos, f.width, v); }
void copy(QByteArray& runner, Field to, QByteArrayView exRec, Field from) { put(runner, to, member(exRec, from)); }
void copySingles(QByteArray& runner, Field to, QByteArrayView exRec, Field from, int count) {
    std::memcpy(runner.data() + to.offset(), exRec.data() + from.offset(), size_t(4 * count));
}

bool neverAssigned(QByteArrayView v) {
    for (char c : v)
        if (c != '\0') return false;
    return true;
}

constexpr int kMaxSlot = kRunSlots - 1;

// The members of one run slot, looked up once: the copy runs for every
// expanded record of the week.
struct SlotFields {
    Field arrival, finish, time, last3f, popularity, odds, runners, distance, track, frame, horseNo, reg, year,
        monthDay, course, meeting, day, raceNo, jockey, trainer, weather, turf, dirt, agari, pace, result;
};
constexpr SlotFields slotFields(int r) {
    return {rr::ArrivalOrder(r),   rr::FinishPosition(r), rr::RaceTime(r),       rr::Last3FTime(r),
            rr::WinPopularity(r),  rr::WinOdds(r),        rr::RegisteredRunners(r), rr::Distance(r),
            rr::TrackCode(r),      rr::FrameNo(r),        rr::HorseNo(r),        rr::RegistrationNo(r),
            rr::RaceYear(r),       rr::RaceMonthDay(r),   rr::CourseCode(r),     rr::MeetingNo(r),
            rr::DayNo(r),          rr::RaceNo(r),         rr::JockeyShortName(r), rr::TrainerShortName(r),
            rr::WeatherCode(r),    rr::TurfGoingCode(r),  rr::DirtGoingCode(r),  rr::AgariW(r, 0),
            rr::PaceW(r, 0),       rr::Result(r, 0)};
}
constexpr std::array<SlotFields, kRunSlots> kSlots = [] {
    std::array<SlotFields, kRunSlots> a{};
    for (int r = 0; r < kRunSlots; ++r) a[size_t(r)] = slotFields(r);
    return a;
}();
constexpr Field kExAgari0 = ex::AgariW(0), kExPace0 = ex::PaceW(0), kExResult0 = ex::Result(0);
constexpr std::array<Field, 5> kSampleCounts{rr::SampleCounts(0), rr::SampleCounts(1), rr::SampleCounts(2),
                                             rr::SampleCounts(3), rr::SampleCounts(4)};
constexpr std::array<Field, 5> kSampleSources{ex::SpeedTexts(6), ex::SpeedTexts(8), ex::SpeedTexts(9),
                                              ex::SpeedTexts(10), ex::SpeedTexts(7)};
constexpr Field kTrack0 = rr::TrackCode(0), kWeather0 = rr::WeatherCode(0), kTurf0 = rr::TurfGoingCode(0),
                kDirt0 = rr::DirtGoingCode(0), kReg0 = rr::RegistrationNo(0), kFrame0 = rr::FrameNo(0),
                kHorseNo0 = rr::HorseNo(0);

}  // namespace

void CreateRunnerRecords(RunState& s, RunWork& work, SkipLog& log) {
    // Only the entries of listed races are kept, with their place in the
    // file: the week's file holds many more, passed over as they are read.
    QList<std::pair<qsizetype, QByteArray>> entries;
    qsizetype entryCount = 0;
    QByteArray lastEntry;
    log.step("read SETHISWEEKNNEW.dat", [&] {
        QList<std::pair<qsizetype, QByteArray>> listed;
        qsizetype n = 0;
        QByteArray last;
        RecordFile::readEach(AppFile(jv::kSeNewFile), jv::kSE.imageLength, RecordFile::PartRecord::Dropped,
                             [&](QByteArrayView se) {
                                 if (work.runners.contains(RaceKey::raceIdOfRecord(se)))
                                     listed.append({n, se.toByteArray()});
                                 ++n;
                                 last.resize(se.size());
                                 std::memcpy(last.data(), se.data(), size_t(se.size()));
                             });
        entries = std::move(listed);
        entryCount = n;
        lastEntry = std::move(last);
    });
    QByteArray& horse = s.CurrentHorse;
    for (const auto& [i, se] : entries) {
        s.RaceIndex = int(i + 1);
        s.CurrentSE = se;
        const QByteArray id = RaceKey::raceIdOfRecord(se);
        const auto it = work.runners.find(id);
        if (it == work.runners.end()) continue;
        const QByteArrayView horseNo = member(se, jv::se::HorseNumber);
        const auto n = parseStrict(horseNo);
        if (!n || *n < 1 || *n != vbInt(*n) || *n > 99) {
            log.record("runner record of entry " + std::to_string(i + 1),
                       "horse number \"" + printable(horseNo) + "\" is not a whole number from 1");
            continue;
        }
        put(horse, kFrame0, member(se, jv::se::FrameNumber));
        put(horse, kHorseNo0, horseNo);
        put(horse, kReg0, member(se, jv::se::RegistrationNumber));
        put(horse, rr::HorseName, member(se, jv::se::HorseName));
        put(horse, rr::RecordEnd, "\r\n");
        QList<QByteArray>& records = *it;
        const qsizetype number = qsizetype(*n);
        // Only a gap in the horse numbers gets a record of zero bytes; the
        // horse's own place takes its record as it is.
        while (records.size() < number - 1) records.append(QByteArray(kRunnerRecordLength, '\0'));
        if (records.size() < number)
            records.append(horse);
        else
            records[number - 1] = horse;
    }
    if (entryCount > 0) {  // as the last entry of the file leaves them
        s.RaceIndex = int(entryCount);
        s.CurrentSE = lastEntry;
    }
}

void FillRunnerRecord(QByteArray& runner, const QList<QByteArray>& expanded) {
    const qsizetype m = expanded.size();
    for (qsizetype i = std::max<qsizetype>(0, m - kRunSlots); i < m; ++i) {
        const int slot = int(m - 1 - i);  // the last record goes to slot 0
        const SlotFields& f = kSlots[size_t(slot)];
        const QByteArray& e = expanded[i];
        copy(runner, f.arrival, e, ex::ArrivalOrder);
        copy(runner, f.finish, e, ex::FinishPosition);
        copy(runner, f.time, e, ex::RaceTime);
        copy(runner, f.last3f, e, ex::Last3FTime);
        copy(runner, f.popularity, e, ex::WinPopularity);
        copy(runner, f.odds, e, ex::WinOdds);
        copy(runner, f.runners, e, ex::RegisteredRunners);
        copy(runner, f.distance, e, ex::Distance);
        copy(runner, f.track, e, ex::TrackCode);
        copy(runner, f.frame, e, ex::FrameNo);
        copy(runner, f.horseNo, e, ex::HorseNo);
        copy(runner, f.reg, e, ex::RegistrationNo);
        copy(runner, f.year, e, ex::RaceYear);
        copy(runner, f.monthDay, e, ex::RaceMonthDay);
        copy(runner, f.course, e, ex::CourseCode);
        copy(runner, f.meeting, e, ex::MeetingNo);
        copy(runner, f.day, e, ex::DayNo);
        copy(runner, f.raceNo, e, ex::RaceNo);
        copy(runner, f.jockey, e, ex::JockeyShortName);
        copy(runner, f.trainer, e, ex::TrainerShortName);
        copy(runner, f.weather, e, ex::WeatherCode);
        copy(runner, f.turf, e, ex::TurfGoingCode);
        copy(runner, f.dirt, e, ex::DirtGoingCode);
        if (slot == 0) {
            put(runner, rr::BreederName, cp932::fitBytes(member(e, ex::BreederName), rr::BreederName.width));
            copy(runner, rr::SireName, e, ex::SireName);
            const auto raceYear = parseStrict(member(e, ex::RaceYear));
            const auto birthYear = parseStrict(member(e, ex::BirthYear));
            if (raceYear && birthYear) {  // otherwise Age keeps its value
                const QByteArray age = numberText(std::int64_t(*raceYear + 100 - *birthYear));
                put(runner, rr::Age, age.right(2));
            }
            copy(runner, rr::SexCode, e, ex::SexCode);
            copy(runner, rr::CarriedWeight, e, ex::CarriedWeight);
            copy(runner, rr::BodyWeight, e, ex::BodyWeight);
            copy(runner, rr::WeightChangeSign, e, ex::WeightChangeSign);
            copy(runner, rr::WeightChange, e, ex::WeightChange);
            copy(runner, rr::AbnormalityCode, e, ex::AbnormalityCode);
            copy(runner, rr::StartTime, e, ex::StartTime);
            // Jockey, trainer, sire, dam-sire, breeder.
            for (size_t g = 0; g < 5; ++g) copy(runner, kSampleCounts[g], e, kSampleSources[g]);
        }
        copySingles(runner, f.agari, e, kExAgari0, kWeightsPerSlot);
        copySingles(runner, f.pace, e, kExPace0, kWeightsPerSlot);
        copySingles(runner, f.result, e, kExResult0, kResultsPerSlot);
    }
    putSingle(runner, rr::Residual.pos, 0.0f);
}

QByteArray RunnerWeatherGoing(const CodeTable& codes, QByteArrayView runner) {
    const QByteArrayView track = member(runner, kTrack0);
    const Field going = textBetween(track, "23", "49") ? kDirt0 : kTurf0;  // "00"-"22" and jumps: turf
    return CodeName(codes, "2011", member(runner, kWeather0), 2) + CodeName(codes, "2010", member(runner, going), 2);
}

void FillRunnerRecords(RunState& s, RunWork& work, SkipLog& log) {
    QHash<QByteArray, bool> filled;
    // A horse's expanded records are read once, however many listed races
    // (results mode lists past races too) it runs in, and kept only until
    // its last runner is filled: the week's runners are counted first.
    QHash<QByteArray, QList<QByteArray>> expandedOf;
    QHash<QByteArray, int> runnersLeft;
    for (int k = 1; k <= s.RaceCount; ++k) {
        const QByteArray& id = s.RaceIdList[k];
        const auto it = work.runners.constFind(id);
        if (it == work.runners.cend() || filled.contains(id)) continue;
        filled.insert(id, true);
        for (const QByteArray& runner : *it)
            if (const QByteArrayView reg = member(runner, kReg0); isRegistrationNumber(reg)) ++runnersLeft[reg.toByteArray()];
    }
    filled.clear();
    for (int k = 1; k <= s.RaceCount; ++k) {
        s.RaceIndex = k;
        const QByteArray& id = s.RaceIdList[k];
        auto it = work.runners.find(id);
        if (it == work.runners.end()) continue;
        QList<QByteArray>& records = *it;
        s.HorseCount = std::int32_t(records.size());
        if (!filled.contains(id)) {  // a race listed twice is one file, filled once
            filled.insert(id, true);
            for (qsizetype n = 0; n < records.size(); ++n) {
                QByteArray& runner = records[n];
                s.CurIndex = int(n + 1);
                const QByteArrayView reg = member(runner, kReg0);
                QList<QByteArray> expanded;
                if (isRegistrationNumber(reg)) {
                    const QByteArray key = reg.toByteArray();
                    const bool last = --runnersLeft[key] <= 0;
                    if (const auto cached = expandedOf.find(key); cached != expandedOf.end()) {
                        expanded = *cached;
                        if (last) expandedOf.erase(cached);
                    } else {
                        log.step("expanded records of " + printable(reg), [&] {
                            expanded = RecordFile::readAll(model::ExpandedRecordFile(reg), model::kExRecordLength);
                        });
                        if (!last) expandedOf.insert(key, expanded);
                    }
                } else if (!neverAssigned(reg)) {
                    log.record("runner " + std::to_string(n + 1) + " of race " + printable(id),
                               "registration number \"" + printable(reg) +
                                   "\" is not 10 digits; no expanded records are copied");
                }
                s.ExRecordCount = std::int32_t(expanded.size());
                if (!expanded.isEmpty()) s.CurrentEX = expanded.last();
                FillRunnerRecord(runner, expanded);
            }
            const bool written = log.step("write runner file of race " + printable(id), [&] {
                QByteArray bytes;
                bytes.reserve(records.size() * kRunnerRecordLength);
                for (const QByteArray& r : records) bytes += r;
                ReplaceFile(RunnerFile(id), bytes);
            });
            if (!written) work.unwritten.insert(id, true);
        }
        if (!records.isEmpty()) {
            s.CurrentHorse = records.last();
            log.step("weather and going of race " + std::to_string(k), [&] {
                checkedAt(s.RaceTable, k)[rt::WeatherGoing] = RunnerWeatherGoing(s.CodeTable, records.last());
            });
        }
    }
}

}  // namespace rw::prediction
