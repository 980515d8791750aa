#include "prediction/runner_files.h"

#include "common/cp932.h"
#include "common/file_ops.h"
#include "common/fixed_text.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/record_file.h"
#include "jvdata/records.h"
#include "jvdata/store_files.h"
#include "common/kestrav_path.h"
#include "model/expanded_record.h"
#include "prediction/runner_record.h"

#include <cstring>

namespace rw::prediction {
namespace {

using recordlayout::Field;
namespace ex = model::ex;

QByteArrayView at(QByteArrayView rec, Field f) { return member(rec, f.pos, f.width); }
void put(QByteArray& rec, Field f, QByteArrayView v) { putFixed(rec, f.pos, f.width, v); }
void copy(QByteArray& runner, Field to, QByteArrayView exRec, Field from) { put(runner, to, at(exRec, from)); }
void copySingles(QByteArray& runner, Field to, QByteArrayView exRec, Field from, int count) {
    std::memcpy(runner.data() + to.offset(), exRec.data() + from.offset(), size_t(4 * count));
}

bool neverAssigned(QByteArrayView v) {
    for (char c : v)
        if (c != '\0') return false;
    return true;
}

bool inRange(QByteArrayView code, const char* lo, const char* hi) {
    return code >= QByteArrayView(lo) && code <= QByteArrayView(hi);
}

constexpr int kMaxSlot = kRunSlots - 1;

}  // namespace

void CreateRunnerRecords(RunState& s, RunWork& work, SkipLog& log) {
    QList<QByteArray> entries;
    log.step("read SETHISWEEKNNEW.dat",
             [&] { entries = RecordFile::readAll(AppFile(jv::kSeNewFile), jv::kSE.imageLength); });
    QByteArray& horse = s.CurrentHorse;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QByteArray& se = entries[i];
        s.RaceIndex = int(i + 1);
        s.CurrentSE = se;
        QByteArray id = at(se, jv::head::Year).toByteArray();
        id.append(at(se, jv::head::MonthDay)).append(at(se, jv::head::Racecourse)).append(at(se, jv::head::RaceNumber));
        const auto it = work.runners.find(id);
        if (it == work.runners.end()) continue;
        const QByteArrayView horseNo = at(se, jv::se::HorseNumber);
        const auto n = parseStrict(horseNo);
        if (!n || *n < 1 || *n != vbInt(*n) || *n > 99) {
            log.record("runner record of entry " + std::to_string(i + 1),
                       "horse number \"" + printable(horseNo) + "\" is not a whole number from 1");
            continue;
        }
        put(horse, rr::FrameNo(0), at(se, jv::se::FrameNumber));
        put(horse, rr::HorseNo(0), horseNo);
        put(horse, rr::RegistrationNo(0), at(se, jv::se::RegistrationNumber));
        put(horse, rr::HorseName, at(se, jv::se::HorseName));
        put(horse, rr::RecordEnd, "\r\n");
        QList<QByteArray>& records = *it;
        const qsizetype number = qsizetype(*n);
        while (records.size() < number) records.append(QByteArray(kRunnerRecordLength, '\0'));
        records[number - 1] = horse;
    }
}

void FillRunnerRecord(QByteArray& runner, const QList<QByteArray>& expanded) {
    const qsizetype m = expanded.size();
    for (qsizetype i = 0; i < m; ++i) {
        const qsizetype r = m - 1 - i;  // the last record goes to slot 0
        if (r > kMaxSlot) continue;
        const int slot = int(r);
        const QByteArray& e = expanded[i];
        copy(runner, rr::ArrivalOrder(slot), e, ex::ArrivalOrder);
        copy(runner, rr::FinishPosition(slot), e, ex::FinishPosition);
        copy(runner, rr::RaceTime(slot), e, ex::RaceTime);
        copy(runner, rr::Last3FTime(slot), e, ex::Last3FTime);
        copy(runner, rr::WinPopularity(slot), e, ex::WinPopularity);
        copy(runner, rr::WinOdds(slot), e, ex::WinOdds);
        copy(runner, rr::RegisteredRunners(slot), e, ex::RegisteredRunners);
        copy(runner, rr::Distance(slot), e, ex::Distance);
        copy(runner, rr::TrackCode(slot), e, ex::TrackCode);
        copy(runner, rr::FrameNo(slot), e, ex::FrameNo);
        copy(runner, rr::HorseNo(slot), e, ex::HorseNo);
        copy(runner, rr::RegistrationNo(slot), e, ex::RegistrationNo);
        copy(runner, rr::RaceYear(slot), e, ex::RaceYear);
        copy(runner, rr::RaceMonthDay(slot), e, ex::RaceMonthDay);
        copy(runner, rr::CourseCode(slot), e, ex::CourseCode);
        copy(runner, rr::MeetingNo(slot), e, ex::MeetingNo);
        copy(runner, rr::DayNo(slot), e, ex::DayNo);
        copy(runner, rr::RaceNo(slot), e, ex::RaceNo);
        copy(runner, rr::JockeyShortName(slot), e, ex::JockeyShortName);
        copy(runner, rr::TrainerShortName(slot), e, ex::TrainerShortName);
        copy(runner, rr::WeatherCode(slot), e, ex::WeatherCode);
        copy(runner, rr::TurfGoingCode(slot), e, ex::TurfGoingCode);
        copy(runner, rr::DirtGoingCode(slot), e, ex::DirtGoingCode);
        if (slot == 0) {
            put(runner, rr::BreederName, cp932::fitBytes(at(e, ex::BreederName), rr::BreederName.width));
            copy(runner, rr::SireName, e, ex::SireName);
            const auto raceYear = parseStrict(at(e, ex::RaceYear));
            const auto birthYear = parseStrict(at(e, ex::BirthYear));
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
            copy(runner, rr::SampleCounts(0), e, ex::SpeedTexts(6));   // jockey
            copy(runner, rr::SampleCounts(1), e, ex::SpeedTexts(8));   // trainer
            copy(runner, rr::SampleCounts(2), e, ex::SpeedTexts(9));   // sire
            copy(runner, rr::SampleCounts(3), e, ex::SpeedTexts(10));  // dam-sire
            copy(runner, rr::SampleCounts(4), e, ex::SpeedTexts(7));   // breeder
        }
        copySingles(runner, rr::AgariW(slot, 0), e, ex::AgariW(0), kWeightsPerSlot);
        copySingles(runner, rr::PaceW(slot, 0), e, ex::PaceW(0), kWeightsPerSlot);
        copySingles(runner, rr::Result(slot, 0), e, ex::Result(0), kResultsPerSlot);
    }
    putSingle(runner, rr::Residual.pos, 0.0f);
}

QByteArray RunnerWeatherGoing(const CodeTable& codes, QByteArrayView runner) {
    const QByteArrayView track = at(runner, rr::TrackCode(0));
    const Field going = inRange(track, "00", "22")   ? rr::TurfGoingCode(0)
                        : inRange(track, "23", "49") ? rr::DirtGoingCode(0)
                                                     : rr::TurfGoingCode(0);
    return CodeName(codes, "2011", at(runner, rr::WeatherCode(0)), 2) + CodeName(codes, "2010", at(runner, going), 2);
}

void FillRunnerRecords(RunState& s, RunWork& work, SkipLog& log) {
    QHash<QByteArray, bool> filled;
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
                const QByteArrayView reg = at(runner, rr::RegistrationNo(0));
                QList<QByteArray> expanded;
                if (isRegistrationNumber(reg)) {
                    log.step("expanded records of " + printable(reg), [&] {
                        expanded = RecordFile::readAll(model::ExpandedRecordFile(reg), model::kExRecordLength);
                    });
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
                WriteWholeFile(RunnerFile(id), bytes);
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
