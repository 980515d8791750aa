#include "reports/tagged_day_file.h"

#include "common/cp932.h"
#include "common/errors.h"
#include "common/file_ops.h"
#include "common/keyed_output.h"
#include "common/kestrav_path.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "jvdata/layouts.h"
#include "jvdata/race_key.h"
#include "prediction/code_table.h"
#include "prediction/runner_record.h"
#include "reports/combination_texts.h"

#include <string>

namespace rw::reports {

using prediction::RunState;
namespace rr = prediction::rr;

namespace {

QByteArray fieldOf(const QByteArray& image, recordlayout::Field f, const char* what) {
    if (image.size() < f.offset() + f.width)
        fail(std::string(what) + " image of " + std::to_string(image.size()) + " bytes ends before position " +
             std::to_string(f.pos) + " (width " + std::to_string(f.width) + ")");
    return image.mid(f.offset(), f.width);
}

constexpr recordlayout::Field hrKey(std::string_view part) { return jv::findField(jv::kHR, "race key", part); }

QString systemName(const char16_t* s) { return QString::fromUtf16(s); }

}  // namespace

// ---- Reading the race's records --------------------------------------------

QByteArray RaceField(const RunState& s, recordlayout::Field f) { return fieldOf(s.CurrentHorse, f, "runner record"); }

QByteArray PayoffField(const RunState& s, recordlayout::Field f) { return fieldOf(s.CurrentHR, f, "payoff record"); }

PayoffEntry PayoffEntryAt(const RunState& s, const PayoffKind& k, int i) {
    return {PayoffField(s, k.combination(i - 1)), PayoffField(s, k.payout(i - 1)), PayoffField(s, k.popularity(i - 1))};
}

QList<PayoffEntry> PayoffEntries(const RunState& s, const PayoffKind& k) {
    QList<PayoffEntry> out;
    for (int i = 1; i <= k.entries; ++i) out.append(PayoffEntryAt(s, k, i));
    return out;
}

QByteArray DayKey(const RunState& s) {
    RaceField(s, rr::RunRaceKey(0));  // a runner image that ends before its key fails here
    const QByteArray key = prediction::RunnerRaceKey(s.CurrentHorse).dayKey();
    checkedDayKey(key);  // it names four files
    return key;
}

bool ResultLinesApply(const RunState& s) {
    if (s.ResultsMode != 1) return false;
    return PayoffField(s, hrKey("year")) == RaceField(s, rr::RaceYear(0)) &&
           PayoffField(s, hrKey("month day")) == RaceField(s, rr::RaceMonthDay(0)) &&
           PayoffField(s, hrKey("racecourse")) == RaceField(s, rr::CourseCode(0)) &&
           PayoffField(s, hrKey("race number")) == RaceField(s, rr::RaceNo(0));
}

QByteArray RegisteredCount(const RunState& s) { return RaceField(s, rr::RegisteredRunners(0)); }

// ---- Lines ----------------------------------------------------------------

CsvValue TU(const char* utf8) { return CsvValue::text(sj(utf8)); }

QList<CsvValue> DyLine(const QByteArray& dayKey) { return {TU("DY"), TU("1"), T(dayKey.left(8))}; }

QList<CsvValue> PlLine(const RunState& s, const QByteArray& dayKey) {
    // The DayKey is digits throughout, so its numbers always read.
    const auto name = prediction::CodeLookup(s.CodeTable, "2001", dayKey.mid(8, 2), 4);
    return {TU("PL"),
            TU("1"),
            T(QByteArray::number(dayKey.mid(10, 2).toInt())),
            name ? T(*name) : CsvValue::none(),
            T(QByteArray::number(dayKey.mid(12, 2).toInt())),
            TU("11")};
}

QList<CsvValue> RaceLine(const RunState& s, RcForm form, bool extraEmpty) {
    namespace rt = prediction::rt;
    const prediction::RaceRow& row = checkedAt(s.RaceTable, s.RaceIndex);
    QList<CsvValue> out{TU("RC"), T(row[rt::RaceNoText]), T(row[rt::StartTime]), T(row[rt::RaceNum])};
    if (form == RcForm::Plain) {
        for (int c = rt::RaceName; c <= rt::WeatherGoing; ++c) out.append(T(row[size_t(c)]));
    } else {
        const QByteArray typeAndCondition = row[rt::RaceTypeName] + row[rt::ConditionName];
        out.append(T(""));
        out.append(T(row[rt::RaceName].isEmpty() ? typeAndCondition : row[rt::RaceName]));
        out.append(T(typeAndCondition));
        for (int c = rt::GradeName; c <= rt::WeatherGoing; ++c) out.append(T(row[size_t(c)]));
    }
    if (extraEmpty) out.append(T(""));
    return out;
}

namespace {

// Flat races (track codes "00" to "49") show the last three furlongs,
// obstacle races (and a blank code) the average furlong.
bool isFlat(const RunState& s) { return textBetween(RaceField(s, rr::TrackCode(0)), "00", "49"); }

// The columns of the runner table of one file kind, by mode.
enum class Col { N, Frame, Horse, Rank, Pop, Arrival, Sex, Age, Name, Weight, Jockey, Trainer, PredTime, Time, L1, L2 };

QList<Col> columnsOf(DayFileKind kind, bool results) {
    QList<Col> c{Col::N, Col::Frame, Col::Horse, Col::Rank};
    if (results) c += {Col::Pop, Col::Arrival};
    c += {Col::Sex, Col::Age, Col::Name, Col::Weight, Col::Jockey};
    if (kind != DayFileKind::Selection) c += Col::Trainer;
    c += Col::PredTime;
    if (results) c += Col::Time;
    if (kind != DayFileKind::Selection) {
        c += Col::L1;
        if (results) c += Col::L2;
    }
    return c;
}

const char* headerOf(Col c, DayFileKind kind, bool flat) {
    const bool labelled = kind == DayFileKind::Labelled;
    switch (c) {
    case Col::N: return labelled ? "連番" : "n";
    case Col::Frame: return labelled ? "枠番" : "w";
    case Col::Horse: return labelled ? "馬番" : "馬";
    case Col::Rank: return labelled ? "予順" : "予";
    case Col::Pop: return labelled ? "人気" : "人";
    case Col::Arrival: return labelled ? "入線" : "入";
    case Col::Sex: return "性";
    case Col::Age: return "齢";
    case Col::Name: return "馬名　　　　　　　";  // as wide as the nine characters below
    case Col::Weight: return "負担";
    case Col::Jockey: return "騎手名　";
    case Col::Trainer: return "調教師名";
    case Col::PredTime: return "推定タイム";
    case Col::Time: return "実タイム";
    case Col::L1: return flat ? "推定上3F" : "推定平1F";
    case Col::L2: return flat ? "実上3F" : "実平1F";
    }
    return "";
}

}  // namespace

QList<CsvValue> RunnerHeader(const RunState& s, DayFileKind kind, bool results) {
    const bool flat = isFlat(s);
    QList<CsvValue> out{TU("RR")};
    for (Col c : columnsOf(kind, results)) out.append(TU(headerOf(c, kind, flat)));
    return out;
}

void AddRunnerLines(RunState& s, DayFileKind kind, bool results, DayLines& out) {
    const QList<Col> cols = columnsOf(kind, results);
    for (s.CurIndex = 1; s.CurIndex <= s.HorseCount; ++s.CurIndex) {
        const int r = s.CurIndex;
        for (s.CurSubIndex = 1; s.CurSubIndex <= s.HorseCount; ++s.CurSubIndex) {
            const int h = s.CurSubIndex;
            if (valLenient(checkedAt(s.PredRank, h)) != r) continue;
            QList<CsvValue> line{TU("HS")};
            for (Col c : cols) {
                switch (c) {
                case Col::N: line.append(T(QByteArray::number(r))); break;
                case Col::Frame: line.append(T(checkedAt(s.FrameNo, h))); break;
                case Col::Horse: line.append(T(PaddedNumber(h))); break;
                case Col::Rank: line.append(T(checkedAt(s.PredRank, h))); break;
                case Col::Pop: line.append(T(checkedAt(s.Popularity, h))); break;
                case Col::Arrival: line.append(T(checkedAt(s.ArrivalOrder, h))); break;
                case Col::Sex: line.append(T(checkedAt(s.SexName, h))); break;
                case Col::Age: line.append(T(PaddedNumber(NineDigitNumber(checkedAt(s.HorseAge, h), "horse age")))); break;
                case Col::Name: line.append(T(cp932::firstChars(checkedAt(s.HorseName, h), 9))); break;
                case Col::Weight: line.append(T(checkedAt(s.CarriedWeight, h))); break;
                case Col::Jockey: line.append(T(cp932::firstChars(checkedAt(s.JockeyName, h), 4))); break;
                case Col::Trainer:
                    line.append(T(cp932::firstChars(checkedAt(s.TrainerName, h), results ? 4 : 3)));
                    break;
                case Col::PredTime: line.append(T(checkedAt(s.PredTimeText, h))); break;
                case Col::Time: line.append(T(checkedAt(s.ActualTimeText, h))); break;
                case Col::L1: line.append(T(checkedAt(s.PredLast3FText, h))); break;
                case Col::L2: line.append(T(checkedAt(s.ActualLast3FText, h))); break;
                }
            }
            out.add(line);
        }
    }
}

// ---- The frame ---------------------------------------------------------------

TaggedDayFile::TaggedDayFile(const RunState& s, const DayFileMember& member)
    : member_(member), dayKey_(DayKey(s)), results_(s.ResultsMode != 0) {
    isNew_ = IsNewKey(s.*member.lastKey, QString::fromLatin1(dayKey_));
    if (isNew_) {
        head.add(DyLine(dayKey_));
        head.add(PlLine(s, dayKey_));
    }
}

QString TaggedDayFile::dayFilePath() const {
    return AppFile(inFolder(member_.folder, QString::fromLatin1(dayKey_) +
                                                systemName(results_ ? member_.resultsSuffix : member_.normalSuffix)));
}

QString TaggedDayFile::hitTablePath() const {
    if (!hasHitTable()) return {};
    return AppFile(inFolder(member_.folder, QString::fromLatin1(dayKey_) + systemName(member_.hitTable)));
}

void TaggedDayFile::write(RunState& s) {
    QString& lastKey = s.*member_.lastKey;
    QString hitTableKey = lastKey;  // the hit table starts anew together with its day file
    const QString key = QString::fromLatin1(dayKey_);
    WriteKeyed(lastKey, key, dayFilePath(), head.bytes(), lines.bytes());
    if (hasHitTable()) WriteKeyed(hitTableKey, key, hitTablePath(), hitHead.bytes(), hitLines.bytes());
}

void WriteDayFileBlock(RunState& s, const DayFileMember& member, const std::function<void(TaggedDayFile&)>& block) {
    TaggedDayFile file(s, member);
    BuildThenWrite([&] { block(file); }, [&] { file.write(s); });
}

}  // namespace rw::reports
