#include "reports/race_card.h"

#include "common/cp932.h"
#include "common/errors.h"
#include "common/numbers.h"
#include "jvdata/layouts.h"
#include "reports/combination_texts.h"
#include "reports/order_and_bet_lines.h"
#include "reports/tiered_judging.h"

#include <cmath>
#include <string>
#include <string_view>

namespace rw::reports {

using prediction::RunState;

namespace {

// ---- Pair and trio lines ------------------------------------------------------

void addPairLines(const RunState& s, const QByteArray& c, DayLines& out) {
    // Lines 2 and 3 show pairs only for counts that offer them.
    const int offered = OfferedPairLines(c);
    for (int line = 1; line <= 3; ++line) {
        QList<CsvValue> items{TU(line == 1 ? "K1" : line == 2 ? "K2" : "K3"), TU("1")};
        for (int i = 6 * (line - 1) + 1; i <= 6 * line; ++i) {
            if (i <= offered && i <= s.PairCount)
                items.append(T(FormatUmaren(checkedAt(s.PairBets, i))));
            else
                items.append(T(kPairPlaceholder));
        }
        out.add(items);
    }
}

void addTrioLines(RunState& s, const QByteArray& c, DayLines& out) {
    const QList<QByteArray>& list = s.ResultsMode != 0 ? s.TrioBetsAsc : s.TrioBets;
    const int offered = OfferedTrioLines(c);
    for (int line = 1; line <= 3; ++line) {
        QList<CsvValue> items{TU(line == 1 ? "S1" : line == 2 ? "S2" : "S3"), TU("1")};
        if (7 * (line - 1) < offered) {
            // The keys first: the web page writer reads them, and the texts
            // are made from them. A short line leaves no earlier race's trio.
            for (int j = 1; j <= 7; ++j) {
                const int i = 7 * (line - 1) + j;
                s.SLineTrios[size_t(j - 1)] = i <= offered && i <= s.TrioCount ? checkedAt(list, i) : QByteArray();
            }
            for (int j = 1; j <= 7; ++j) {
                const QByteArray& key = s.SLineTrios[size_t(j - 1)];
                items.append(key.isEmpty() ? T(kTrioPlaceholder) : T(FormatSanrenpuku(key)));
            }
        } else {
            for (int j = 1; j <= 7; ++j) items.append(T(kTrioPlaceholder));
        }
        out.add(items);
    }
}

// ---- Payoff lines ----------------------------------------------------------

void addPayoffItems(QList<CsvValue>& items, const QList<PayoffEntry>& entries, int count,
                    QByteArray (*format)(QByteArrayView)) {
    for (int i = 0; i < count; ++i) {
        items.append(T(format(entries[i].combination)));
        items.append(T(FormatPayout(entries[i].payout)));
    }
}

void addPayoffLines(const RunState& s, DayLines& out) {
    QList<CsvValue> kk{TU("KK"), TU("1")};
    addPayoffItems(kk, PayoffEntries(s, payoff::kWin), 2, FormatUmaban);
    addPayoffItems(kk, PayoffEntries(s, payoff::kPlace), 4, FormatUmaban);
    addPayoffItems(kk, PayoffEntries(s, payoff::kBracket), 2, FormatWakuren);
    addPayoffItems(kk, PayoffEntries(s, payoff::kQuinella), 2, FormatUmaren);
    addPayoffItems(kk, PayoffEntries(s, payoff::kWide), 5, FormatUmaren);
    out.add(kk);
    QList<CsvValue> ks{TU("KS"), TU("1")};
    addPayoffItems(ks, PayoffEntries(s, payoff::kExacta), 6, FormatUmaren);  // with "-", as the race card shows them
    addPayoffItems(ks, PayoffEntries(s, payoff::kTrio), 3, FormatSanrenpuku);
    out.add(ks);
}

// ---- Hit lines -------------------------------------------------------------------

// The AT lines of the pair and trio kinds (3連単 hits go to the comment):
// the match's number among every match so far, in the tiers or beyond, the
// ticket code (ワイド: 2, 3, 4 … by match), label, combination and payout.
void addHitLines(const RunState& s, DayLines& out) {
    int hit = 0;
    int wideMatch = 0;
    ScanTieredMatches(s, [&](const TieredMatch& m) {
        if (m.kind == TicketKind::Sanrentan) return;
        ++hit;
        if (m.kind == TicketKind::Wide) ++wideMatch;
        const QByteArray ticket = TicketCode(m.kind, wideMatch);
        QByteArray label = sj(ShortTierWord(m.tier)), combination;
        switch (m.kind) {
        case TicketKind::Umaren:
        case TicketKind::Wide:
            label += QByteArray::number(m.n) + sj(" 的中");
            combination = FormatUmaren(m.combination);
            break;
        case TicketKind::UmatanFwd:
        case TicketKind::UmatanRev:
            label += sj(m.kind == TicketKind::UmatanFwd ? "正順的中" : "逆順的中");
            combination = FormatUmaren(m.combination);  // with "-", as the race card shows them
            break;
        case TicketKind::Sanrenpuku:
            label += QByteArray::number(m.n) + sj(" 的中");
            combination = FormatSanrenpuku(m.combination);
            break;
        case TicketKind::Sanrentan: break;
        }
        if (m.tier)
            out.add({TU("AT"), T(QByteArray::number(hit)), T(ticket), T(label), T(combination), T(FormatPayout(m.payout))});
    });
}

// The counters where the system's loops of the hit lines leave them:
// CurSubIndex past the last trio, EntryIndex past the last payoff group
// scanned (trio, else exacta).
void leaveHitLineCounters(RunState& s) {
    s.CurSubIndex = s.TrioCount + 1;
    if (s.TrioCount >= 1)
        s.EntryIndex = payoff::kTrio.entries + 1;
    else if (s.PairCount >= 1)
        s.EntryIndex = payoff::kExacta.entries + 1;
}

// The same after the trifecta comment's loops: EntryIndex where the last
// trio's scan stopped, counted from 0 (the first zero entry, else the count).
void leaveCommentCounters(RunState& s) {
    s.CurSubIndex = s.TrioCount + 1;
    if (s.TrioCount < 1) return;
    const QList<PayoffEntry> entries = PayoffEntries(s, payoff::kTrifecta);
    s.EntryIndex = std::int32_t(entries.size());
    for (qsizetype i = 0; i < entries.size(); ++i)
        if (entries[i].combination == "000000") {
            s.EntryIndex = std::int32_t(i);
            break;
        }
}

// ---- Runner lines ------------------------------------------------------------------

void addRunnerLines(RunState& s, bool results, DayLines& out) {
    for (s.CurIndex = 1; s.CurIndex <= s.HorseCount; ++s.CurIndex) {
        const int h = s.CurIndex;
        const auto& grades = checkedAt(s.Grades, h);
        QList<CsvValue> l{TU("HS"), T(QByteArray::number(h)), T(checkedAt(s.FrameNo, h)), T(PaddedNumber(h)),
                          T(checkedAt(s.PredRank, h))};
        if (results) l.append(T(checkedAt(s.ArrivalOrder, h)));
        l.append(T(checkedAt(s.SexName, h)));
        l.append(T(PaddedNumber(NineDigitNumber(checkedAt(s.HorseAge, h), "horse age"))));
        l.append(T(cp932::firstChars(checkedAt(s.HorseName, h), 9)));
        l.append(T(checkedAt(s.CarriedWeight, h)));
        for (int g = 0; g < 4; ++g) l.append(T(grades[size_t(g)]));  // not the breeder's
        l.append(T(cp932::firstChars(checkedAt(s.JockeyName, h), 4)));
        l.append(T(checkedAt(s.PredTimeText, h)));
        if (results) l.append(T(checkedAt(s.ActualTimeText, h)));
        l.append(T(MetresPerMinuteText(checkedAt(s.CompositeSpeed, h))));
        if (results) l.append(T(MetresPerMinuteText(checkedAt(s.ActualSpeed, h))));
        out.add(l);
    }
}

// ---- Trifecta comments ----------------------------------------------------------

QByteArray orderSuffix(int tier, int order) {
    const QByteArray n = QByteArray::number(order);
    if (tier == 1) return sj("第") + n + sj("順的中");
    if (order == 1) return sj("第1順的中 ");
    if (order == 2) return sj("第2順的中");
    return sj("第") + n + sj("順 的中");
}

}  // namespace

QByteArray MetresPerMinuteText(float kmh) {
    const double perMinute = double(kmh) * 16.666;
    if (!std::isfinite(perMinute) || std::fabs(perMinute) >= 1e15)
        fail("speed " + std::to_string(kmh) + " km/h has no text");
    const qint64 whole = qint64(std::trunc(perMinute));
    return (' ' + QByteArray::number(whole)).right(4);
}

void WriteSanrentanComment(RunState& s, DayLines& out) {
    const PayoffEntry winner = PayoffEntryAt(s, payoff::kTrifecta, 1);
    // A blank or zero first combination: no trifecta was sold.
    if (valLenient(winner.combination) == 0) return;
    bool hitWritten = false;
    ScanTieredMatches(s, [&](const TieredMatch& m) {
        if (m.kind != TicketKind::Sanrentan || !m.tier) return;
        out.add({TU("CM"), TU("1"),
                 T(sj(TierWord(m.tier)) + QByteArray::number(m.n) + orderSuffix(m.tier, m.order) +
                   FormatSanrenpuku(m.combination) + ' ' + FormatPayout(m.payout) + sj("円"))});
        hitWritten = true;
    });
    leaveCommentCounters(s);
    if (!hitWritten)
        out.add({TU("CM"), TU("1"),
                 T(FormatSanrenpuku(winner.combination) + ' ' + FormatPayout(winner.payout) + sj("円"))});
}

void AddRaceCardBlock(RunState& s, DayLines& out) {
    const bool results = s.ResultsMode != 0;
    const QByteArray c = RegisteredCount(s);
    out.add(RaceLine(s, RcForm::Plain, results));
    addPairLines(s, c, out);
    if (ResultLinesApply(s)) {
        addPayoffLines(s, out);
        addHitLines(s, out);
        leaveHitLineCounters(s);
        WriteSanrentanComment(s, out);
    }
    addRunnerLines(s, results, out);
    addTrioLines(s, c, out);
}

void WriteShutsubahyoFile(RunState& s) {
    WriteDayFileBlock(s, kRaceCardFile, [&s](TaggedDayFile& file) { AddRaceCardBlock(s, file.lines); });
}

}  // namespace rw::reports
