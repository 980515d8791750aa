#include "reports/selection_file.h"

#include "common/cp932.h"
#include "common/errors.h"
#include "common/numbers.h"
#include "jvdata/layouts.h"
#include "prediction/code_table.h"
#include "prediction/day_head_line.h"
#include "prediction/runner_record.h"
#include "reports/combination_texts.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>

namespace rw::reports {

using prediction::PcTicketKind;
using prediction::RunState;
namespace rr = prediction::rr;

namespace {

// ---- The race's ranking and placings -------------------------------------------

// The number of the horse at predicted rank r, 0 when the race has no horse
// at that rank.
int horseAt(const RunState& s, int r) {
    if (r < 1 || r > s.HorseCount || r >= s.RankedHorse.size()) return 0;
    return int(NineDigitNumber(s.RankedHorse[r], "ranked horse"));
}

// The predicted rank of horse h, 0 when no rank holds it.
int rankOf(const RunState& s, int h) {
    if (h <= 0) return 0;
    for (int r = 1; r <= s.HorseCount && r < s.RankedHorse.size(); ++r)
        if (horseAt(s, r) == h) return r;
    return 0;
}

// FinishPos of the horse at rank r, empty for a rank without a horse.
QByteArray placingAt(const RunState& s, int r) {
    const int h = horseAt(s, r);
    return h ? checkedAt(s.FinishPos, h) : QByteArray();
}

bool placedAt(const RunState& s, int r, std::initializer_list<const char*> places) {
    const QByteArray p = placingAt(s, r);
    if (p.isEmpty()) return false;
    return std::any_of(places.begin(), places.end(), [&](const char* k) { return p == k; });
}

int countPlaced(const RunState& s, int from, int to, std::initializer_list<const char*> places) {
    int n = 0;
    for (int r = from; r <= to; ++r)
        if (placedAt(s, r, places)) ++n;
    return n;
}

// ---- Payoff entries --------------------------------------------------------------

// The ranks of the horses of a combination in its order; 0 for a part that
// is not a horse of the ranking (blanks, zeros, another race's horse).
QList<int> ranksOf(const RunState& s, QByteArrayView combination) {
    QList<int> ranks;
    for (qsizetype i = 0; i + 2 <= combination.size(); i += 2) {
        const QByteArrayView part = combination.sliced(i, 2);
        const bool digits = part[0] >= '0' && part[0] <= '9' && part[1] >= '0' && part[1] <= '9';
        ranks.append(digits ? rankOf(s, (part[0] - '0') * 10 + (part[1] - '0')) : 0);
    }
    return ranks;
}

// ---- Running sums ------------------------------------------------------------------

template <class Int>
Int added(Int sum, qint64 amount, const char* what) {
    const qint64 r = qint64(sum) + amount;
    if (r > std::numeric_limits<Int>::max() || r < std::numeric_limits<Int>::min())
        fail(std::string(what) + " " + std::to_string(sum) + " + " + std::to_string(amount) + " outgrows its " +
             std::to_string(8 * sizeof(Int)) + " bits");
    return Int(r);
}

// A hit: the texts first, then the counts, each statement on its own, so a
// sum that would outgrow its width keeps its previous value.
void recordHit(PcTicketKind& k, const QByteArray& hitText, const QByteArray& payout) {
    const qint64 yen = NineDigitNumber(payout, "payout");
    k.HitText = hitText;
    k.PayText = QByteArray::number(yen);
    k.HitCount = added(k.HitCount, 1, "HitCount");
    k.PaySum = added(k.PaySum, yen, "PaySum");
}

// ---- The single kinds --------------------------------------------------------------

void judgeSingle(const RunState& s, PcTicketKind& k, const PayoffKind& kind, int rank) {
    const int h = horseAt(s, rank);
    if (!h) return;
    for (int i = 1; i <= kind.entries; ++i) {
        const PayoffEntry e = PayoffEntryAt(s, kind, i);
        if (valLenient(e.combination) != h) continue;
        // A horse stands in at most one entry of a kind.
        recordHit(k, checkedAt(s.RankedHorse, rank), e.payout);
        return;
    }
}

// ---- The exotic kinds --------------------------------------------------------------

bool distinct(const QList<int>& r) {
    for (qsizetype i = 0; i < r.size(); ++i) {
        if (r[i] == 0) return false;
        for (qsizetype j = i + 1; j < r.size(); ++j)
            if (r[i] == r[j]) return false;
    }
    return true;
}

// 3連単 with axes p and q: both axes and one rank of from..to, in any order.
bool trifectaTicket(const QList<int>& r, int p, int q, int from, int to) {
    if (r.size() != 3 || !distinct(r)) return false;
    int axes = 0, legs = 0;
    for (int x : r) {
        if (x == p || x == q) ++axes;
        else if (x >= from && x <= to)
            ++legs;
    }
    return axes == 2 && legs == 1;
}

// The missing place of a 3連単 whose axes placed as joined, "" when none.
const char* missingPlace(const QByteArray& joined) {
    if (joined == "0102" || joined == "0201") return "03";
    if (joined == "0203" || joined == "0302") return "01";
    if (joined == "0103" || joined == "0301") return "02";
    return "";
}

bool trifectaHit(const RunState& s, int p, int q, int from, int to) {
    const char* missing = missingPlace(placingAt(s, p) + placingAt(s, q));
    if (!*missing) return false;
    return countPlaced(s, from, to, {missing}) == 1;
}

struct ExoticKind {
    PcTicketKind prediction::PcTicketStats::*entry;
    const PayoffKind* payoff;
    QByteArray (*format)(QByteArrayView);
    bool (*hit)(const RunState&, const SelectionSizes&);
    bool (*ticket)(const QList<int>& ranks, const SelectionSizes&);
};

// clang-format off
const ExoticKind kExotics[7] = {
    {&prediction::PcTicketStats::UmarenF, &payoff::kQuinella, FormatUmaren,
     [](const RunState& s, const SelectionSizes& z) {
         int n = countPlaced(s, 1, 3, {"01", "02"});
         if (n == 1) n += countPlaced(s, 4, z.a, {"01", "02"});
         return n == 2;
     },
     [](const QList<int>& r, const SelectionSizes& z) {
         return r.size() == 2 && distinct(r) && ((r[0] <= 3 && r[1] <= z.a) || (r[1] <= 3 && r[0] <= z.a));
     }},
    {&prediction::PcTicketStats::UmarenB, &payoff::kQuinella, FormatUmaren,
     [](const RunState& s, const SelectionSizes& z) { return countPlaced(s, 1, z.b, {"01", "02"}) == 2; },
     [](const QList<int>& r, const SelectionSizes& z) {
         return r.size() == 2 && distinct(r) && r[0] <= z.b && r[1] <= z.b;
     }},
    {&prediction::PcTicketStats::UmatanF, &payoff::kExacta, FormatUmatan,
     [](const RunState& s, const SelectionSizes& z) {
         int n = countPlaced(s, 1, 3, {"01"});
         if (n == 1) n += countPlaced(s, 1, z.aPrime, {"02"});
         return n == 2;
     },
     [](const QList<int>& r, const SelectionSizes& z) {
         return r.size() == 2 && distinct(r) && r[0] <= 3 && r[1] <= z.aPrime;
     }},
    {&prediction::PcTicketStats::SanrenpukuB, &payoff::kTrio, FormatSanrenpuku,
     [](const RunState& s, const SelectionSizes& z) { return countPlaced(s, 1, z.b, {"01", "02", "03"}) == 3; },
     [](const QList<int>& r, const SelectionSizes& z) {
         return r.size() == 3 && distinct(r) && r[0] <= z.b && r[1] <= z.b && r[2] <= z.b;
     }},
    {&prediction::PcTicketStats::Sanrentan12, &payoff::kTrifecta, FormatSanrentan,
     [](const RunState& s, const SelectionSizes& z) { return trifectaHit(s, 1, 2, 3, z.c); },
     [](const QList<int>& r, const SelectionSizes& z) { return trifectaTicket(r, 1, 2, 3, z.c); }},
    {&prediction::PcTicketStats::Sanrentan23, &payoff::kTrifecta, FormatSanrentan,
     [](const RunState& s, const SelectionSizes& z) { return trifectaHit(s, 2, 3, 4, z.d); },
     [](const QList<int>& r, const SelectionSizes& z) { return trifectaTicket(r, 2, 3, 4, z.d); }},
    {&prediction::PcTicketStats::Sanrentan13, &payoff::kTrifecta, FormatSanrentan,
     [](const RunState& s, const SelectionSizes& z) { return trifectaHit(s, 1, 3, 4, z.d); },
     [](const QList<int>& r, const SelectionSizes& z) { return trifectaTicket(r, 1, 3, 4, z.d); }},
};
// clang-format on

// The entry a hit is paid from: the first whose combination is one of the
// selection's tickets, else the first.
PayoffEntry paidEntry(const RunState& s, const ExoticKind& kind, const SelectionSizes& z) {
    for (int i = 1; i <= kind.payoff->entries; ++i) {
        PayoffEntry e = PayoffEntryAt(s, *kind.payoff, i);
        if (kind.ticket(ranksOf(s, e.combination), z)) return e;
    }
    return PayoffEntryAt(s, *kind.payoff, 1);
}

// ---- Selection lines ---------------------------------------------------------------

void addRankLine(const RunState& s, const char* tag, int from, int to, DayLines& out) {
    QList<CsvValue> items{TU(tag)};
    for (int r = from; r <= to; ++r)
        if (const int h = horseAt(s, r)) items.append(T(PaddedNumber(h)));
    out.add(items);
}

}  // namespace

// ---- Sizes ---------------------------------------------------------------------

SelectionSizes SelectionSizesOf(QByteArrayView registered, QByteArrayView sd) {
    const double n = valLenient(registered);
    if (n >= 1 && n <= 4 && n == std::floor(n)) return {4, 4, 4, 4, 4};
    if (n == 5) return {5, 5, 5, 5, 5};
    if (n == 6) return {6, 5, 5, 6, 6};
    if (n == 7) return {6, 5, 5, 7, 7};
    const bool wide = NineDigitNumber(sd, "SD") > 30;
    if (n == 8) return wide ? SelectionSizes{6, 5, 6, 8, 8} : SelectionSizes{7, 6, 7, 8, 8};
    return wide ? SelectionSizes{6, 5, 6, 8, 8} : SelectionSizes{7, 6, 7, 9, 9};
}

SelectionSizes SelectionSizesOf(const RunState& s) {
    const QByteArray registered = RegisteredCount(s);
    return SelectionSizesOf(registered, checkedAt(s.RaceTable, s.RaceIndex)[prediction::rt::SD]);
}

std::array<std::int16_t, 7> TicketCounts(const SelectionSizes& z) {
    return {std::int16_t(3 * z.a - 6),        std::int16_t(z.b * (z.b - 1) / 2),
            std::int16_t(3 * (z.aPrime - 1)), std::int16_t(z.b * (z.b - 1) * (z.b - 2) / 6),
            std::int16_t(6 * (z.c - 2)),      std::int16_t(6 * (z.d - 3)),
            std::int16_t(6 * (z.d - 3))};
}

// ---- Lines and judging -------------------------------------------------------------

void WritePcBetLines(const RunState& s, DayLines& out) {
    const SelectionSizes z = SelectionSizesOf(s);
    addRankLine(s, "TF1", 1, 1, out);
    addRankLine(s, "TF2", 2, 2, out);
    addRankLine(s, "UF1", 1, 3, out);
    addRankLine(s, "UF2", 1, z.a, out);
    addRankLine(s, "UBX", 1, z.b, out);
    addRankLine(s, "S11", 1, 1, out);
    addRankLine(s, "S12", 2, 2, out);
    addRankLine(s, "S1A", 3, z.c, out);
    addRankLine(s, "S21", 2, 2, out);
    addRankLine(s, "S22", 3, 3, out);
    addRankLine(s, "S2A", 4, z.d, out);
    addRankLine(s, "S31", 1, 1, out);
    addRankLine(s, "S32", 3, 3, out);
    addRankLine(s, "S3A", 4, z.d, out);
    addRankLine(s, "SBX", 1, z.b, out);
}

void EvaluatePcBetHits(RunState& s) {
    prediction::PcTicketStats& p = s.PcTicketStats;
    for (const prediction::PcTicketColumn& c : prediction::kPcTicketColumns) {
        (p.*c.kind).HitText.clear();
        (p.*c.kind).PayText.clear();
    }
    judgeSingle(s, p.Tansho1, payoff::kWin, 1);
    judgeSingle(s, p.Fukusho1, payoff::kPlace, 1);
    judgeSingle(s, p.Tansho2, payoff::kWin, 2);
    judgeSingle(s, p.Fukusho2, payoff::kPlace, 2);

    const SelectionSizes z = SelectionSizesOf(s);
    const std::array<std::int16_t, 7> counts = TicketCounts(z);
    for (size_t i = 0; i < 7; ++i) {
        const ExoticKind& kind = kExotics[i];
        PcTicketKind& k = p.*kind.entry;
        k.TicketCount = counts[i];
        k.TicketSum = added(k.TicketSum, k.TicketCount, "TicketSum");
        if (!kind.hit(s, z)) continue;
        const PayoffEntry e = paidEntry(s, kind, z);
        recordHit(k, kind.format(e.combination), e.payout);
    }
}

// ---- The hit table ---------------------------------------------------------------

void AddPcHitTableHead(const RunState& s, const QByteArray& dayKey, DayLines& out) {
    out.add(prediction::DayHeadLine(s.CodeTable, dayKey));
    QList<CsvValue> titles{TU(" R番号")};
    for (const prediction::PcTicketColumn& c : prediction::kPcTicketColumns) titles.append(TU(c.label));
    out.add(titles);
}

namespace {

void addHitRows(const RunState& s, DayLines& out) {
    QList<CsvValue> counts{T(RaceField(s, rr::RaceNo(0)) + sj("R点数  "))};
    QList<CsvValue> hits{TU("  的中目")}, pays{TU("  配当")};
    for (const prediction::PcTicketColumn& c : prediction::kPcTicketColumns) {
        const PcTicketKind& k = s.PcTicketStats.*c.kind;
        // A win or place kind is one ticket a race.
        counts.append(c.exotic ? CsvValue::number(QByteArray::number(k.TicketCount)) : TU("1"));
        hits.append(T(k.HitText));
        pays.append(T(k.PayText));
    }
    out.add(counts);
    out.add(hits);
    out.add(pays);
}

}  // namespace

void AddPcRaceBlock(RunState& s, DayLines& day, DayLines& hits) {
    const bool results = s.ResultsMode != 0;
    day.add(RaceLine(s, RcForm::Plain, results));
    day.add(RunnerHeader(s, DayFileKind::Selection, results));
    AddRunnerLines(s, DayFileKind::Selection, results, day);
    WritePcBetLines(s, day);
    if (ResultLinesApply(s)) {
        EvaluatePcBetHits(s);
        addHitRows(s, hits);
    }
}

void WritePcRaceBlock(RunState& s) {
    WriteDayFileBlock(s, kSelectionDayFile, [&s](TaggedDayFile& file) {
        if (file.isNew() && file.hasHitTable()) AddPcHitTableHead(s, file.dayKey(), file.hitHead);
        AddPcRaceBlock(s, file.lines, file.hitLines);
    });
}

}  // namespace rw::reports
