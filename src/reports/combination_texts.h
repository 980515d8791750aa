#pragma once
// YOSOKEKKATHISWEEKNZ: the display texts of horse numbers, bracket pairs,
// pair and trio combinations and payouts, shared by the day files, the hit
// judging and the exports.
//
// Each formatter takes one fixed-width field (code page 932 bytes, digits as
// a payoff record or a bet key holds them) and returns code page 932 bytes:
// - a field that is blank over its whole width gives the empty text;
// - otherwise the field is cut into its parts by position and each part
//   (blanks around it allowed) must be a whole number of decimal digits;
//   anything else, the empty text and a partly blank field included, throws
//   StepFailure, which ends the caller's statement.
// A horse number is shown as its padded number: a blank in front of its
// digits, the last two characters kept (05 and " 5" give " 5", 12 gives 12).
// Ordered tickets join their parts with "→" (81 A8), unordered ones with "-".
#include "prediction/run_state.h"

#include <QByteArray>
#include <QByteArrayView>

namespace rw::reports {

QByteArray FormatUmaban(QByteArrayView horseNumber);  // 2: " 5"
QByteArray FormatWakuren(QByteArrayView bracketPair); // 2: "3-6", never widened
QByteArray FormatUmaren(QByteArrayView pairKey);      // 4: " 5-12"
QByteArray FormatUmatan(QByteArrayView pairKey);      // 4: "12→ 5"
QByteArray FormatSanrenpuku(QByteArrayView trioKey);  // 6: " 1- 2- 3"
QByteArray FormatSanrentan(QByteArrayView trioKey);   // 6: "10→ 2→ 5"
QByteArray FormatPayout(QByteArrayView payout);       // 9: "1230"

// The padded number of a whole number (" 7", "12"; the last two characters).
QByteArray PaddedNumber(qint64 n);
// A whole number of at most nine decimal digits with blanks around it, or
// StepFailure naming `what` and the text.
qint64 NineDigitNumber(QByteArrayView text, const char* what);

// The trio texts of the trio key at position `position` of TrioBets (horses
// A, B, C in predicted order): order 1 A→B→C, 2 A→C→B, 3 B→A→C, 4 B→C→A,
// 5 C→A→B, 6 C→B→A; TrioBoxText A-B-C. A position outside TrioBets fails,
// and so does a position without a key (there is no blank case).
QByteArray TrioOrderText(const prediction::BetLists& bets, qsizetype position, int order);
QByteArray TrioBoxText(const prediction::BetLists& bets, qsizetype position);

// The same at the trio position CurSubIndex of the run.
QByteArray TrioOrderText1(const prediction::RunState& s);
QByteArray TrioOrderText2(const prediction::RunState& s);
QByteArray TrioOrderText3(const prediction::RunState& s);
QByteArray TrioOrderText4(const prediction::RunState& s);
QByteArray TrioOrderText5(const prediction::RunState& s);
QByteArray TrioOrderText6(const prediction::RunState& s);
QByteArray TrioBoxText(const prediction::RunState& s);

// The six-character key of order `order` (1 to 6) of a trio key ABC, as
// the payoff record writes a trifecta in finishing order. A key that is not
// six bytes long gives a key that matches no payoff entry.
QByteArray TrioOrderKey(QByteArrayView trioKey, int order);

inline constexpr char kArrow[] = "\x81\xA8";  // "→" in code page 932

}  // namespace rw::reports
