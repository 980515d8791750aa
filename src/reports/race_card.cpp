#include "reports/race_card.h"

#include "common/cp932.h"
#include "common/errors.h"
#include "common/numbers.h"
#include "jvdata/layouts.h"
#include "reports/combination_texts.h"

#include <cmath>
#include <string>
#include <string_view>

namespace rw::reports {

using prediction::RunState;

namespace {

QList<PayoffEntry> entriesOf(const RunState& s, const PayoffKind& k) {
    QList<PayoffEntry> out;
    for (int i = 1; i <= k.entries; ++i) out.append(PayoffEntryAt(s, k, i));
    return out;
}

bool isBlank(QByteArrayView field) {
    for (char c : field)
        if (c != ' ') return false;
    return true;
}

// Tier 1, 2, 3 of a bet position (0 beyond the tiers) and the number
// within the tier; pairs come in blocks of six, trios in blocks of seven.
struct Tier {
    int tier, n;
};
Tier tierOf(int position, int block) {
    if (position < 1 || position > 3 * block) return {0, 0};
    const int t = (position - 1) / block + 1;
    return {t, position - (t - 1) * block};
}

const char* shortTierWord(int tier) { return tier == 1 ? "本線" : tier == 2 ? "準本" : "伏兵"; }
const char* tierWord(int tier) { return tier == 1 ? "本線" : tier == 2 ? "準本線" : "伏兵"; }

// ---- Pair and trio lines ------------------------------------------------------

void addPairLines(const RunState& s, const QByteArray& c, DayLines& out) {
    // Lines 2 and 3 show pairs only for counts that offer them.
    const int filled = textBetween(c, "00", "05") ? 1 : c == "06" ? 2 : 3;
    for (int line = 1; line <= 3; ++line) {
        QList<CsvValue> items{TU(line == 1 ? "K1" : line == 2 ? "K2" : "K3"), TU("1")};
        for (int i = 6 * (line - 1) + 1; i <= 6 * line; ++i) {
            if (line <= filled && i <= s.PairCount)
                items.append(T(FormatUmaren(checkedAt(s.PairBets, i))));
            else
                items.append(T(kPairPlaceholder));
        }
        out.add(items);
    }
}

void addTrioLines(RunState& s, const QByteArray& c, DayLines& out) {
    const QList<QByteArray>& list = s.ResultsMode != 0 ? s.TrioBetsAsc : s.TrioBets;
    const bool shortFirst = textBetween(c, "00", "04");
    const int filled = shortFirst || c == "05" ? 1 : c == "06" ? 2 : 3;
    for (int line = 1; line <= 3; ++line) {
        QList<CsvValue> items{TU(line == 1 ? "S1" : line == 2 ? "S2" : "S3"), TU("1")};
        if (line <= filled) {
            // The keys first: the web page writer reads them, and the texts
            // are made from them. A short line leaves no earlier race's trio.
            const int trios = line == 1 && shortFirst ? 4 : 7;
            for (int j = 1; j <= 7; ++j) {
                const int i = 7 * (line - 1) + j;
                s.SLineTrios[size_t(j - 1)] = j <= trios && i <= s.TrioCount ? checkedAt(list, i) : QByteArray();
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
    addPayoffItems(kk, entriesOf(s, payoff::kWin), 2, FormatUmaban);
    addPayoffItems(kk, entriesOf(s, payoff::kPlace), 4, FormatUmaban);
    addPayoffItems(kk, entriesOf(s, payoff::kBracket), 2, FormatWakuren);
    addPayoffItems(kk, entriesOf(s, payoff::kQuinella), 2, FormatUmaren);
    addPayoffItems(kk, entriesOf(s, payoff::kWide), 5, FormatUmaren);
    out.add(kk);
    QList<CsvValue> ks{TU("KS"), TU("1")};
    addPayoffItems(ks, entriesOf(s, payoff::kExacta), 6, FormatUmaren);  // with "-", as the race card shows them
    addPayoffItems(ks, entriesOf(s, payoff::kTrio), 3, FormatSanrenpuku);
    out.add(ks);
}

// ---- Hit lines -------------------------------------------------------------------

class HitLines {
public:
    HitLines(RunState& s, DayLines& out) : s_(s), out_(out) {}

    void judge() {
        judgeUnordered(s_.PairBetsAsc, s_.PairCount, entriesOf(s_, payoff::kQuinella), 6, FormatUmaren, [] { return QByteArray("1"); });
        int wideOrdinal = 1;
        judgeUnordered(s_.PairBetsAsc, s_.PairCount, entriesOf(s_, payoff::kWide), 6, FormatUmaren,
                       [&] { return QByteArray::number(++wideOrdinal); });
        judgeExacta();
        judgeUnordered(s_.TrioBetsAsc, s_.TrioCount, entriesOf(s_, payoff::kTrio), 7, FormatSanrenpuku,
                       [] { return QByteArray("6"); });
    }

private:
    template <class Code>
    void judgeUnordered(const QList<QByteArray>& bets, int count, const QList<PayoffEntry>& entries, int block,
                        QByteArray (*format)(QByteArrayView), Code code) {
        for (s_.CurSubIndex = 1; s_.CurSubIndex <= count; ++s_.CurSubIndex) {
            const QByteArray& key = checkedAt(bets, s_.CurSubIndex);
            for (s_.EntryIndex = 1; s_.EntryIndex <= entries.size(); ++s_.EntryIndex) {
                const PayoffEntry& e = entries[s_.EntryIndex - 1];
                if (isBlank(e.combination) || key != e.combination) continue;
                const QByteArray ticket = code();  // every match counts, in a tier or not
                const Tier t = tierOf(s_.CurSubIndex, block);
                ++hit_;
                if (t.tier)
                    write(ticket, sj(shortTierWord(t.tier)) + QByteArray::number(t.n) + sj(" 的中"),
                          format(e.combination), e.payout);
            }
        }
    }

    void judgeExacta() {
        const QList<PayoffEntry> entries = entriesOf(s_, payoff::kExacta);
        for (s_.CurSubIndex = 1; s_.CurSubIndex <= s_.PairCount; ++s_.CurSubIndex) {
            const QByteArray& key = checkedAt(s_.PairBets, s_.CurSubIndex);
            const Tier t = tierOf(s_.CurSubIndex, 6);
            for (s_.EntryIndex = 1; s_.EntryIndex <= entries.size(); ++s_.EntryIndex) {
                const PayoffEntry& e = entries[s_.EntryIndex - 1];
                if (isBlank(e.combination)) continue;
                const QByteArray reversed = e.combination.mid(2, 2) + e.combination.left(2);
                for (const bool forward : {true, false}) {
                    if (key != (forward ? e.combination : reversed)) continue;
                    ++hit_;
                    if (t.tier)
                        write("5", sj(shortTierWord(t.tier)) + sj(forward ? "正順的中" : "逆順的中"),
                              FormatUmaren(e.combination), e.payout);
                }
            }
        }
    }

    void write(const QByteArray& ticket, const QByteArray& label, const QByteArray& combination,
               const QByteArray& payout) {
        out_.add({TU("AT"), T(QByteArray::number(hit_)), T(ticket), T(label), T(combination), T(FormatPayout(payout))});
    }

    RunState& s_;
    DayLines& out_;
    int hit_ = 0;  // matches of every kind so far, in the tiers or beyond
};

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
    const QList<PayoffEntry> entries = entriesOf(s, payoff::kTrifecta);
    const PayoffEntry& winner = entries[0];
    // A blank or zero first combination: no trifecta was sold.
    if (valLenient(winner.combination) == 0) return;
    bool hitWritten = false;
    for (s.CurSubIndex = 1; s.CurSubIndex <= s.TrioCount; ++s.CurSubIndex) {
        const QByteArray& key = checkedAt(s.TrioBets, s.CurSubIndex);
        const Tier t = tierOf(s.CurSubIndex, 7);
        for (s.EntryIndex = 0; s.EntryIndex < entries.size(); ++s.EntryIndex) {
            const PayoffEntry& e = entries[s.EntryIndex];
            if (e.combination == "000000") break;
            for (int order = 1; order <= 6; ++order) {
                if (!t.tier || TrioOrderKey(key, order) != e.combination) continue;
                out.add({TU("CM"), TU("1"),
                         T(sj(tierWord(t.tier)) + QByteArray::number(t.n) + orderSuffix(t.tier, order) +
                           FormatSanrenpuku(e.combination) + ' ' + FormatPayout(e.payout) + sj("円"))});
                hitWritten = true;
            }
        }
    }
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
        HitLines(s, out).judge();
        WriteSanrentanComment(s, out);
    }
    addRunnerLines(s, results, out);
    addTrioLines(s, c, out);
}

void WriteShutsubahyoFile(RunState& s) {
    WriteDayFileBlock(s, kRaceCardFile, [&s](TaggedDayFile& file) { AddRaceCardBlock(s, file.lines); });
}

}  // namespace rw::reports
