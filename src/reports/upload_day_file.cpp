#include "reports/upload_day_file.h"

#include "common/cp932.h"
#include "common/numbers.h"
#include "prediction/code_table.h"
#include "prediction/day_head_line.h"
#include "prediction/runner_record.h"
#include "reports/combination_texts.h"
#include "reports/order_and_bet_lines.h"
#include "reports/tiered_judging.h"

#include <string_view>

namespace rw::reports {

using prediction::RunState;
namespace rr = prediction::rr;

namespace {

// The first `count` entries of a payoff group: the formatted combination,
// then the payout, for each.
void addEntries(const RunState& s, QList<CsvValue>& items, const PayoffKind& kind, int count,
                QByteArray (*format)(QByteArrayView)) {
    for (int i = 0; i < count; ++i) {
        items.append(T(format(PayoffField(s, kind.combination(i)))));
        items.append(T(FormatPayout(PayoffField(s, kind.payout(i)))));
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
        const PayoffKind& kind;
        int count;  // entries shown
        QByteArray (*format)(QByteArrayView);
    };
    static const PayoffLine kLines[] = {
        {"KK", "1", payoff::kWin, 2, FormatUmaban},
        {"KK", "2", payoff::kPlace, 4, FormatUmaban},
        {"KK", "3", payoff::kBracket, 2, FormatWakuren},
        {"KK", "4", payoff::kQuinella, 2, FormatUmaren},
        {"KK", "5", payoff::kWide, 5, FormatUmaren},
        {"KS", "1", payoff::kExacta, 6, FormatUmatan},
        {"KS", "2", payoff::kTrio, 3, FormatSanrenpuku},
        {"KS", "3", payoff::kTrifecta, 6, FormatSanrentan},
    };
    for (const PayoffLine& l : kLines) {
        // A blank or zero first trifecta: none was sold.
        if (l.format == FormatSanrentan && valLenient(PayoffField(s, l.kind.combination(0))) == 0) return;
        QList<CsvValue> line{TU(l.tag), TU(l.number)};
        addEntries(s, line, l.kind, l.count, l.format);
        out.add(line);
    }
}

void AddHitTableHead(const RunState& s, DayLines& out) {
    out.add(prediction::DayHeadLine(s.CodeTable, DayKey(s)));
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
