#include "reports/tiered_judging.h"

#include "common/cp932.h"
#include "reports/combination_texts.h"

#include <cstdint>

namespace rw::reports {

using prediction::RunState;
using prediction::TicketHit;

namespace {


// Tier and number within the tier of a bet index; blocks of six pairs or
// seven trios, three tiers.
void placeInTier(TieredMatch& m, int block) {
    if (m.position >= 1 && m.position <= 3 * block) {
        m.tier = (m.position - 1) / block + 1;
        m.n = m.position - (m.tier - 1) * block;
    } else {
        m.tier = 0;
        m.n = 0;
    }
}

bool isBlank(QByteArrayView field) {
    for (char c : field)
        if (c != ' ') return false;
    return true;
}

bool isTrio(TicketKind k) { return k == TicketKind::Sanrenpuku || k == TicketKind::Sanrentan; }

QByteArray formatCombination(TicketKind k, QByteArrayView c) {
    switch (k) {
    case TicketKind::Umaren:
    case TicketKind::Wide: return FormatUmaren(c);
    case TicketKind::UmatanFwd:
    case TicketKind::UmatanRev: return FormatUmatan(c);
    case TicketKind::Sanrenpuku: return FormatSanrenpuku(c);
    case TicketKind::Sanrentan: return FormatSanrentan(c);
    }
    return {};
}

const char* kindName(TicketKind k) {
    switch (k) {
    case TicketKind::Umaren: return "馬連";
    case TicketKind::Wide: return "ワイド";
    case TicketKind::UmatanFwd:
    case TicketKind::UmatanRev: return "馬単";
    case TicketKind::Sanrenpuku: return "3連複";
    case TicketKind::Sanrentan: return "3連単";
    }
    return "";
}

QByteArray atLine(DayLines& out, std::int16_t hit, const QByteArray& third, const TieredMatch& m) {
    const QByteArray combination = formatCombination(m.kind, m.combination);
    const QByteArray payout = FormatPayout(m.payout);
    out.add({T(QByteArray("AT")), T(QByteArray::number(hit)), T(third), T(HitLineLabel(m)), T(combination), T(payout)});
    return payout;
}

}  // namespace

void ScanTieredMatches(const RunState& s, const std::function<void(const TieredMatch&)>& visit) {
    auto unordered = [&](TicketKind kind, const QList<QByteArray>& bets, int count, const PayoffKind& g) {
        const QList<PayoffEntry> entries = PayoffEntries(s, g);
        for (int i = 1; i <= count; ++i) {
            const QByteArray& key = checkedAt(bets, i);
            for (const PayoffEntry& e : entries) {
                if (isBlank(e.combination) || key != e.combination) continue;
                TieredMatch m{kind, i, 0, 0, 0, e.combination, e.payout, e.popularity};
                placeInTier(m, isTrio(kind) ? 7 : 6);
                visit(m);
            }
        }
    };
    unordered(TicketKind::Umaren, s.PairBetsAsc, s.PairCount, payoff::kQuinella);
    unordered(TicketKind::Wide, s.PairBetsAsc, s.PairCount, payoff::kWide);

    const QList<PayoffEntry> exacta = PayoffEntries(s, payoff::kExacta);
    for (int i = 1; i <= s.PairCount; ++i) {
        const QByteArray& key = checkedAt(s.PairBets, i);
        for (const PayoffEntry& e : exacta) {
            if (isBlank(e.combination)) continue;
            const QByteArray swapped = e.combination.mid(2, 2) + e.combination.left(2);
            for (const bool forward : {true, false}) {
                if (key != (forward ? e.combination : swapped)) continue;
                TieredMatch m{forward ? TicketKind::UmatanFwd : TicketKind::UmatanRev,
                              i,
                              0,
                              0,
                              0,
                              e.combination,
                              e.payout,
                              e.popularity};
                placeInTier(m, 6);
                visit(m);
            }
        }
    }

    unordered(TicketKind::Sanrenpuku, s.TrioBetsAsc, s.TrioCount, payoff::kTrio);

    const QList<PayoffEntry> trifecta = PayoffEntries(s, payoff::kTrifecta);
    for (int i = 1; i <= s.TrioCount; ++i) {
        const QByteArray& key = checkedAt(s.TrioBets, i);
        for (const PayoffEntry& e : trifecta) {
            if (e.combination == "000000") break;  // no further entries for this trio
            for (int k = 1; k <= 6; ++k) {
                if (TrioOrderKey(key, k) != e.combination) continue;
                TieredMatch m{TicketKind::Sanrentan, i, k, 0, 0, e.combination, e.payout, e.popularity};
                placeInTier(m, 7);
                visit(m);
            }
        }
    }
}

QByteArray TicketCode(TicketKind kind, int wideMatch) {
    switch (kind) {
    case TicketKind::Umaren: return kTicketCodes[0].code;
    case TicketKind::Wide: return QByteArray::number(1 + wideMatch);
    case TicketKind::UmatanFwd:
    case TicketKind::UmatanRev: return kTicketCodes[4].code;
    case TicketKind::Sanrenpuku: return kTicketCodes[5].code;
    case TicketKind::Sanrentan: return kTicketCodes[6].code;
    }
    return {};
}

const char* TierWord(int tier) { return tier == 1 ? "本線" : tier == 2 ? "準本線" : "伏兵"; }
const char* ShortTierWord(int tier) { return tier == 1 ? "本線" : tier == 2 ? "準本" : "伏兵"; }

QByteArray HitLineLabel(const TieredMatch& m) {
    const char* word = TierWord(m.tier);
    QByteArray suffix;
    switch (m.kind) {
    case TicketKind::UmatanFwd: suffix = sj("正順 的中"); break;
    case TicketKind::UmatanRev: suffix = sj("逆順 的中"); break;
    case TicketKind::Sanrentan:
        // The first tier's orders 3 to 6 carry their blank after 的中.
        suffix = sj("第") + QByteArray::number(m.order) + (m.tier == 1 && m.order >= 3 ? sj("順的中 ") : sj("順 的中"));
        break;
    default: suffix = sj("点目 的中"); break;
    }
    return sj(word) + QByteArray::number(m.n) + suffix;
}

void ClearTicketHitSummary(prediction::TicketHitSummary& summary) {
    for (TicketHit* e : {&summary.Umaren, &summary.Wide1, &summary.Wide2, &summary.Wide3, &summary.Umatan,
                         &summary.Sanrenpuku, &summary.Sanrentan})
        *e = TicketHit{QByteArray(10, ' '), {}, {}, {}};
}

void EvaluateTekichu(RunState& s, DayLines& out) {
    ClearTicketHitSummary(s.TicketHitSummary);
    prediction::TicketHitSummary& sum = s.TicketHitSummary;
    prediction::TierHitTotals& totals = s.TierHitTotals;
    std::int16_t hit = 0;
    int wideMatch = 0;

    ScanTieredMatches(s, [&](const TieredMatch& m) {
        ++hit;
        TicketHit* entry = nullptr;
        prediction::TierHitKind* group = nullptr;
        QByteArray labelSuffix;
        qint64 rank = m.position;
        if (m.kind == TicketKind::Wide) ++wideMatch;
        const QByteArray code = TicketCode(m.kind, wideMatch);
        switch (m.kind) {
        case TicketKind::Umaren:
            entry = &sum.Umaren, group = &totals.Umaren, labelSuffix = sj("点目");
            break;
        case TicketKind::Wide:
            // The first three matches fill the three columns; a fourth and
            // later one (dead heats only) keeps its line and nothing more.
            entry = wideMatch == 1   ? &sum.Wide1
                    : wideMatch == 2 ? &sum.Wide2
                    : wideMatch == 3 ? &sum.Wide3
                                     : nullptr;
            group = &totals.Wide, labelSuffix = sj("点目");
            break;
        case TicketKind::UmatanFwd:
            entry = &sum.Umatan, group = &totals.UmatanFwd, labelSuffix = sj("点目表");
            rank = 2 * qint64(m.position) - 1;
            break;
        case TicketKind::UmatanRev:
            entry = &sum.Umatan, group = &totals.UmatanRev, labelSuffix = sj("点目裏");
            rank = 2 * qint64(m.position);
            break;
        case TicketKind::Sanrenpuku:
            entry = &sum.Sanrenpuku, group = &totals.Sanrenpuku, labelSuffix = sj("点目");
            break;
        case TicketKind::Sanrentan:
            entry = &sum.Sanrentan, group = &totals.Sanrentan;
            labelSuffix = sj("第") + QByteArray::number(m.order) + sj("順目");
            rank = 6 * qint64(m.position) - (6 - m.order);
            break;
        }

        if (m.tier) {
            const QByteArray payout = atLine(out, hit, code, m);
            if (!entry) return;  // a fourth ワイド hit: its line only
            *entry = TicketHit{
                sj(ShortTierWord(m.tier)) + QByteArray::number(m.n) + labelSuffix,
                formatCombination(m.kind, m.combination), payout,
                QByteArray::number(rank) + ' ' + QByteArray::number(NineDigitNumber(m.popularity, "popularity"))};
            group->TierHits[size_t(m.tier)] += 1;
            group->KindHits += 1;
            group->TierPay[size_t(m.tier)] += NineDigitNumber(payout, "payout");
        } else {
            if (entry) {
                // Beyond the offered lines: the combination without a label,
                // one blank wider for a forward 馬単.
                const int blanks = m.kind == TicketKind::UmatanFwd ? 11 : 10;
                *entry = TicketHit{
                    QByteArray(blanks, ' '), formatCombination(m.kind, m.combination), FormatPayout(m.payout),
                    QByteArray::number(rank) + ' ' + QByteArray::number(NineDigitNumber(m.popularity, "popularity"))};
            }
            group->KindHits += 1;
        }
    });
}

void WriteTwiHitLines(RunState& s, DayLines& out) {
    ClearTicketHitSummary(s.TicketHitSummary);
    std::int16_t hit = 0;
    ScanTieredMatches(s, [&](const TieredMatch& m) {
        ++hit;
        if (m.tier) atLine(out, hit, sj(kindName(m.kind)), m);
    });
}

}  // namespace rw::reports
