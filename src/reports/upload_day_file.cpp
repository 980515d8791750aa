#include "reports/upload_day_file.h"

#include "common/cp932.h"
#include "common/numbers.h"
#include "jvdata/layouts.h"
#include "prediction/code_table.h"
#include "prediction/runner_record.h"
#include "reports/combination_texts.h"
#include "reports/order_and_bet_lines.h"
#include "reports/tiered_judging.h"

#include <string_view>

namespace rw::reports {

using prediction::RunState;
namespace rr = prediction::rr;

namespace {

// `count` entries of a payoff group: the formatted combination, then the
// payout, for each.
void addEntries(const RunState& s, QList<CsvValue>& items, std::string_view row, const char* item, int count,
                QByteArray (*format)(QByteArrayView)) {
    for (int i = 0; i < count; ++i) {
        items.append(T(format(PayoffField(s, jv::findField(jv::kHR, row, item, i)))));
        items.append(T(FormatPayout(PayoffField(s, jv::findField(jv::kHR, row, "payout", i)))));
    }
}

void addHitRows(const RunState& s, DayLines& out) {
    const prediction::TicketHitSummary& h = s.TicketHitSummary;
    const prediction::TicketHit* cols[] = {&h.Umaren, &h.Umatan, &h.Sanrenpuku, &h.Sanrentan,
                                           &h.Wide1,  &h.Wide2,  &h.Wide3};
    const QByteArray lead[] = {RaceField(s, rr::RaceNo(0)) + sj("R 的中"), sj("    当目"), sj("    配当"),
                               sj("    予人")};
    QByteArray prediction::TicketHit::*member[] = {&prediction::TicketHit::HitLabel, &prediction::TicketHit::HitCombo,
                                                   &prediction::TicketHit::HitPay, &prediction::TicketHit::RankPop};
    for (int row = 0; row < 4; ++row) {
        QList<CsvValue> line{T(lead[row])};
        for (const prediction::TicketHit* c : cols) line.append(T(c->*member[row]));
        out.add(line);
    }
}

}  // namespace

void AddDayPayoffLines(const RunState& s, DayLines& out) {
    struct PayoffLine {
        const char* tag;
        const char* number;
        std::string_view row;
        const char* item;
        int count;
        QByteArray (*format)(QByteArrayView);
    };
    static const PayoffLine kLines[] = {
        {"KK", "1", "win payouts", "horse number", 2, FormatUmaban},
        {"KK", "2", "place payouts", "horse number", 4, FormatUmaban},
        {"KK", "3", "bracket quinella payouts", "combination", 2, FormatWakuren},
        {"KK", "4", "quinella payouts", "combination", 2, FormatUmaren},
        {"KK", "5", "wide payouts", "combination", 5, FormatUmaren},
        {"KS", "1", "exacta payouts", "combination", 6, FormatUmatan},
        {"KS", "2", "trio payouts", "combination", 3, FormatSanrenpuku},
        {"KS", "3", "trifecta payouts", "combination", 6, FormatSanrentan},
    };
    for (const PayoffLine& l : kLines) {
        // A blank or zero first trifecta: none was sold.
        if (l.format == FormatSanrentan &&
            valLenient(PayoffField(s, jv::findField(jv::kHR, l.row, l.item, 0))) == 0)
            return;
        QList<CsvValue> line{TU(l.tag), TU(l.number)};
        addEntries(s, line, l.row, l.item, l.count, l.format);
        out.add(line);
    }
}

void AddHitTableHead(const RunState& s, DayLines& out) {
    const QByteArray key = DayKey(s);  // fourteen digits
    const auto name = prediction::CodeLookup(s.CodeTable, "2001", key.mid(8, 2), 4);
    out.add({T(key.left(4) + sj("年")), T(key.mid(4, 2) + sj("月")), T(key.mid(6, 2) + sj("日")),
             T(QByteArray::number(key.mid(10, 2).toInt()) + sj("回")), name ? T(*name) : CsvValue::none(),
             T(QByteArray::number(key.mid(12, 2).toInt()) + sj("日目"))});
    out.add(
        {TU("R番号"), TU("馬連"), TU("馬単"), TU("3連複"), TU("3連単"), TU("ワイド1"), TU("ワイド2"), TU("ワイド3")});
}

void AddUploadBlock(RunState& s, DayLines& out, DayLines* hitRows) {
    const bool results = s.ResultsMode != 0;
    out.add(RaceLine(s, RcForm::Named, results));
    out.add(RunnerHeader(s, DayFileKind::Upload, results));
    AddRunnerLines(s, DayFileKind::Upload, results, out);
    WritePredictedOrderLines(s, out);
    WriteKaimeM(s, out);
    WriteKaimeP(s, out);
    if (!ResultLinesApply(s)) return;
    EvaluateTekichu(s, out);
    AddDayPayoffLines(s, out);
    if (hitRows) addHitRows(s, *hitRows);
}

void WriteTekichuUpload(RunState& s) {
    WriteDayFileBlock(s, kUploadDayFile, [&s](TaggedDayFile& file) {
        if (file.isNew() && file.hasHitTable()) AddHitTableHead(s, file.hitHead);
        AddUploadBlock(s, file.lines, file.hasHitTable() ? &file.hitLines : nullptr);
    });
}

}  // namespace rw::reports
