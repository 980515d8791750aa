#pragma once
// YOSOKEKKATHISWEEKNZ: the tiered judging of a race's pair and trio bets
// against its payoff record CurrentHR, shared by the upload day file
// (EvaluateTekichu: hit lines with ticket codes, the race's hit summary and
// the course-day's totals), the labelled day file (WriteTwiHitLines: hit
// lines with the kinds' names, nothing else) and the race card (its hit
// lines and trifecta comment, reports/race_card.cpp).
//
// One scan finds every match, in the order the lines come:
//   馬連   PairBetsAsc(i) against entries 1-3
//   ワイド PairBetsAsc(i) against entries 1-7
//   馬単   PairBets(i) against entries 1-6, for each entry first as it
//          stands (正順), then with its two horses swapped (逆順)
//   3連複  TrioBetsAsc(i) against entries 1-3
//   3連単  the six orders of TrioBets(i) against entries 1-6, the entries of
//          a trio ending at the first combination "000000"
// Every match counts; only a bet within the tiers (pairs 1-18 in blocks of
// six, trios 1-21 in blocks of seven) is a hit with a line. Comparisons are
// exact text equality, and a blank entry of the first four kinds is passed
// over, so blank or zero entries match no bet.
#include "prediction/run_state.h"
#include "reports/tagged_day_file.h"

#include <QByteArray>
#include <array>
#include <functional>

namespace rw::reports {

enum class TicketKind { Umaren, Wide, UmatanFwd, UmatanRev, Sanrenpuku, Sanrentan };

// The ticket codes of the upload day file's AT lines, in code order, with
// the names the hit list shows for them. ワイド takes a code per match of the
// race, from "2" on: its first three matches read ワイド1 to ワイド3, and a
// later one (dead heats only) goes on counting into the codes after them.
struct TicketCodeName {
    const char* code;
    const char* name;
};
inline constexpr std::array<TicketCodeName, 7> kTicketCodes{{
    {"1", "馬連"},
    {"2", "ワイド1"},
    {"3", "ワイド2"},
    {"4", "ワイド3"},
    {"5", "馬単"},
    {"6", "３連複"},
    {"7", "３連単"},
}};

// The ticket code of a match; `wideMatch` numbers the race's ワイド matches
// from 1, this one included.
QByteArray TicketCode(TicketKind kind, int wideMatch);

// One match of a bet with a payoff entry.
struct TieredMatch {
    TicketKind kind;
    int position = 0;                            // the bet's index in its list, from 1
    int order = 0;                               // 3連単: order 1 to 6 of the trio; else 0
    int tier = 0;                                // 1 本線, 2 準本線, 3 伏兵; 0 beyond the tiers
    int n = 0;                                   // number within the tier
    QByteArray combination, payout, popularity;  // the entry's fields as stored
};

// Calls `visit` for every match of the race in the order above. Reads only
// the bet lists and CurrentHR; a list shorter than its count fails.
void ScanTieredMatches(const prediction::RunState& s, const std::function<void(const TieredMatch&)>& visit);

// The tier words of the labels: 本線, 準本線, 伏兵 (any other tier reads
// 伏兵); the short form cuts the middle one to 準本 for the narrow labels.
const char* TierWord(int tier);
const char* ShortTierWord(int tier);

// The hit line's label: tier word ("準本線" for the middle tier), n and the
// kind's suffix ("点目 的中", "正順 的中", "第3順的中 " …).
QByteArray HitLineLabel(const TieredMatch& m);

// Every entry of TicketHitSummary back to ten blanks and empty texts.
void ClearTicketHitSummary(prediction::TicketHitSummary& summary);

// The upload day file's judging: AT lines ("AT", hit number, ticket code,
// label, combination, payout) into `out`, TicketHitSummary set anew and the
// race's hits added to TierHitTotals. A payout that does not read as a
// whole number fails at the match that needs it; what was done before stays.
void EvaluateTekichu(prediction::RunState& s, DayLines& out);

// The labelled day file's hit lines: the same AT lines with the kind's name
// ("馬連", "ワイド", "馬単", "3連複", "3連単") in place of the ticket code.
// Clears TicketHitSummary and adds to no totals.
void WriteTwiHitLines(prediction::RunState& s, DayLines& out);

}  // namespace rw::reports
