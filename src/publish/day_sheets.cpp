#include "publish/day_sheets.h"

#include "common/cp932.h"
#include "common/errors.h"
#include "common/file_ops.h"
#include "common/kestrav_path.h"
#include "common/numbers.h"
#include "common/record_file.h"
#include "common/text_file.h"
#include "jvdata/records.h"
#include "jvdata/store_files.h"
#include "prediction/code_table.h"
#include "publish/export_text.h"
#include "publish/publish_files.h"

namespace rw::publish {
namespace {

const prediction::PayoffIndex& weekPayoffs(prediction::RunState& s) {
    prediction::PayoffIndex& x = s.WriterWork.Payoffs;
    if (x.built) return x;
    QList<QByteArray> records =
        RecordFile::readAll(AppFile(jv::kHrWeekFile), jv::kHR.imageLength, RecordFile::PartRecord::Nearest);
    const qsizetype count = records.size();
    if (count > 32767) fail("the payoff file holds more records than its count can say");
    x.records = std::move(records);
    x.lastByRace.clear();
    for (qsizetype i = 0; i < count; ++i) x.lastByRace.insert(RaceKey::ofRecord(x.records[i]).raceId(), i);
    x.recordCount = std::int16_t(count);
    x.built = true;
    return x;
}

// The payout of the entry of `group` whose horse number is `horse`, empty
// when none.
QByteArray payoutOf(QByteArrayView rec, const jv::hr::PayoffGroup& group, QByteArrayView horse) {
    for (int i = 0; i < group.entries; ++i) {
        const jv::Field number = group.combination(i);
        if (rec.sliced(number.offset(), number.width) == horse) {
            const jv::Field pay = group.payout(i);
            return rec.sliced(pay.offset(), pay.width).toByteArray();
        }
    }
    return {};
}

struct Sheet {
    int rank;
    const char16_t* folder;
    const char16_t* ending;
    const char16_t* resultsEnding;
    const char8_t* titlePrefix;
    QString prediction::LastKeys::*lastKey;
    QByteArray prediction::WriterWork::*win;
    QByteArray prediction::WriterWork::*place;
};

constexpr Sheet kSheet1{1, kTanfukuFolder, kTanfukuEnding, kTanfukuResultsEnding, u8"単勝・複勝 数量化1位 ",
                        &prediction::LastKeys::LastDayKeyTanfuku, &prediction::WriterWork::WinPay1,
                        &prediction::WriterWork::PlacePay1};
constexpr Sheet kSheet2{2, kTanfuku2Folder, kTanfuku2Ending, kTanfuku2ResultsEnding, u8"単勝・複勝 数量化2位 ",
                        &prediction::LastKeys::LastDayKeyTanfuku2, &prediction::WriterWork::WinPay2,
                        &prediction::WriterWork::PlacePay2};

CsvValue txt(QByteArrayView b) { return CsvValue::text(b); }
CsvValue txt(const char8_t* t) { return CsvValue::text(sj(t)); }

void appendHead(QByteArray& out, const prediction::RunState& s, const RaceKey& k, const Sheet& sheet,
                bool results) {
    const QByteArray course = prediction::CodeName(s.CodeTable, "2001", k.course, 4);
    QByteArray title = sj(sheet.titlePrefix) + k.year + sj(u8"年") + k.monthDay.first(qMin<qsizetype>(2, k.monthDay.size())) +
                       sj(u8"月") + k.monthDay.mid(2, 2) + sj(u8"日") + sj(u8" 第") +
                       numberText(Int16Number(k.meeting, "meeting number")) + sj(u8"回 ") + course + sj(u8" 第") +
                       numberText(Int16Number(k.day, "day number")) + sj(u8"日");
    TextLines lines(out);
    lines.add({txt(title)});
    QList<CsvValue> head{txt(u8"発走時刻"), txt(u8"R番号"), txt(u8"枠番"), txt(u8"馬番")};
    if (results) head << txt(u8"人気") << txt(u8"入線");
    head << txt(u8"馬名") << txt(u8"単勝配当") << txt(u8"複勝配当") << txt(u8"騎手名") << txt(u8"調教師名");
    lines.add(head);
}

void appendRow(QByteArray& out, prediction::RunState& s, const RaceKey& k, const Sheet& sheet, int h,
               bool results) {
    namespace rt = prediction::rt;
    const prediction::RaceRow& race = checkedAt(s.RaceTable, s.RaceIndex);
    if (results) {
        const RunnerPayouts pay = FindRunnerPayouts(s, k.raceId(), h);
        s.WriterWork.*sheet.win = pay.win;
        s.WriterWork.*sheet.place = pay.place;
    }
    QList<CsvValue> row{txt(race[rt::StartTime]), txt(sj(u8"第") + race[rt::RaceNum] + "R"), txt(checkedAt(s.FrameNo, h)),
                        txt(numberText(h).rightJustified(2, ' '))};
    if (results) row << txt(checkedAt(s.Popularity, h)) << txt(checkedAt(s.ArrivalOrder, h));
    row << txt(cp932::firstChars(checkedAt(s.HorseName, h), 9));
    if (results)
        row << txt(s.WriterWork.*sheet.win) << txt(s.WriterWork.*sheet.place);
    else
        row << txt("") << txt("");
    row << txt(cp932::firstChars(checkedAt(s.JockeyName, h), 4))
        << txt(cp932::firstChars(checkedAt(s.TrainerName, h), results ? 4 : 3)) << txt(checkedAt(s.SexName, h))
        << txt(numberText(Int16Number(checkedAt(s.HorseAge, h), "age")).rightJustified(2, ' ') + sj(u8"歳"))
        << txt(race[rt::RaceName]) << txt(race[rt::RaceTypeName]) << txt(race[rt::ConditionName])
        << txt(race[rt::GradeName]) << txt(race[rt::TrackName]) << txt(race[rt::Distance] + sj(u8"ｍ"));
    TextLines(out).add(row);
}

void writeSheet(prediction::RunState& s, const Sheet& sheet) {
    const RaceKey k = RaceKeyOf(s);
    const bool results = s.ResultsMode != 0;
    const QString path = DaySheetFile(sheet.folder, k.dayKey(), results ? sheet.resultsEnding : sheet.ending);
    WriteKeyedBuilt(s.*sheet.lastKey, keyText(k.dayKey()), path, [&](QByteArray& out, bool fresh) {
        if (fresh) appendHead(out, s, k, sheet, results);
        s.WriterWork.RowWritten = 0;
        // The runner whose rank is the sheet's; ranks are unique, so one
        // pass finds every such runner.
        for (s.CurSubIndex = 1; s.CurSubIndex <= s.HorseCount; ++s.CurSubIndex) {
            if (Int16Number(checkedAt(s.PredRank, s.CurSubIndex), "predicted rank") != sheet.rank) continue;
            appendRow(out, s, k, sheet, s.CurSubIndex, results);
            s.WriterWork.RowWritten = 1;
        }
        s.CurIndex = s.WriterWork.RowWritten ? 1 : s.HorseCount + 1;
    });
}

}  // namespace

RunnerPayouts FindRunnerPayouts(prediction::RunState& s, QByteArrayView race, int horse) {
    const prediction::PayoffIndex& x = weekPayoffs(s);
    s.WriterWork.HrRecordCount = x.recordCount;
    s.EntryIndex = x.recordCount + 1;
    if (x.records.isEmpty()) return {};
    s.CurrentHR = x.records.last();
    const auto it = x.lastByRace.constFind(race.toByteArray());
    if (it == x.lastByRace.cend()) return {};
    const QByteArray& rec = x.records[*it];
    const QByteArray number = numberText(horse).rightJustified(2, '0');
    return {payoutOf(rec, jv::hr::kWin, number), payoutOf(rec, jv::hr::kPlace, number)};
}

void WriteTanfukuCsv(prediction::RunState& s) { writeSheet(s, kSheet1); }
void WriteTanfuku2Csv(prediction::RunState& s) { writeSheet(s, kSheet2); }

}  // namespace rw::publish
