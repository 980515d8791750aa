#pragma once
// YOSOKEKKATHISWEEKNZ: the predicted-order lines and the offered bet lines
// of the upload day file "TEKICHU\<DayKey>lup.txt" ("lupRCM.txt"), and the
// same lines with the labelled tag set, which nothing in the run writes.
// Each routine appends to the open day file handed to it.
//
// Predicted-order lines, by the registered runner count N read leniently
// ("08" and " 8" read 8; no leading number reads 0):
//   N 1-4    Q1 with ranks 1 to 4
//   N 5-18   Q1 ranks 1-5, Q2 6-10, Q3 11-15, Q4 16-18, cut off at N
//   other    no line
// then, in results mode alone, ATQ1 … with the same groups: the FinishPos
// of each horse as stored ("01" … "05", "**"). A horse item is the horse
// number of RankedHorse padded to two characters (" 7", "12").
// A rank the race does not have (its runner records end before it) gives no
// item: such a line may hold its tag alone, so Q1 still follows the runner
// lines, and the block goes on.
//
// Bet lines, by the registered runner count c compared as text:
//   pairs  6 for "00"-"05", 12 for "06", 18 otherwise
//   trios  4 for "00"-"04", 7 for "05", 14 for "06", 21 otherwise
// tag & n (tier 本線 i 1-6 / 1-7, 準本線, 伏兵), then i, then the texts:
//   M pair  PairBets(i) "a-b"                    MUH MUJ MUF
//   M trio  TrioBoxText (predicted order) or TrioBetsAsc(i), by the race
//           number r as text: 本線 and 準本線 "01"-"12", 伏兵 "09"-"12"
//                                                 MSH MSJ MSF
//   P pair  PairBetsAsc(i) "a-b", PairBets(i) "a→b" and "b→a"  PUH PUJ PUF
//   P trio  TrioBetsAsc(i) "a-b-c", then the six orders when r is "01"-"12"
//                                                 PSH PSJ PSF
// A bet position the race's lists do not hold writes no line.
#include "prediction/run_state.h"
#include "reports/tagged_day_file.h"

#include <array>

namespace rw::reports {

// The tags of one family of lines by tier; `tierWithN` joins the tier's
// tag and the number within the tier (MUH1, 本線1).
struct BetTags {
    std::array<const char*, 3> tier;  // 本線, 準本線, 伏兵
};
struct BetTagSet {
    BetTags mPair, mTrio, pPair, pTrio;
};
struct OrderTagSet {
    std::array<const char*, 4> rank;    // groups 1-4 of the predicted order
    std::array<const char*, 4> result;  // their placings
};

extern const BetTagSet kUploadBetTags;        // MUH … PSF
extern const BetTagSet kLabelledBetTags;      // 本線, 準本線, 伏兵 throughout
extern const OrderTagSet kUploadOrderTags;    // Q1 … Q4, ATQ1 … ATQ4
extern const OrderTagSet kLabelledOrderTags;  // 上位5頭 … 最下位, 上位結果 … 最下結果

// The routines with a tag set.
void AddPredictedOrderLines(const prediction::RunState& s, const OrderTagSet& tags, DayLines& out);
void AddKaimeMLines(prediction::RunState& s, const BetTagSet& tags, DayLines& out);
void AddKaimePLines(prediction::RunState& s, const BetTagSet& tags, DayLines& out);

// The upload day file's lines.
void WritePredictedOrderLines(const prediction::RunState& s, DayLines& out);
void WriteKaimeM(prediction::RunState& s, DayLines& out);
void WriteKaimeP(prediction::RunState& s, DayLines& out);

// The labelled lines, into the open day file handed to them.
void WritePredictedOrderLinesLabelled(const prediction::RunState& s, DayLines& dayFile);
void WriteKaimeMLabelled(prediction::RunState& s, DayLines& dayFile);
void WriteKaimePLabelled(prediction::RunState& s, DayLines& dayFile);

// Offered lines by the registered runner count compared as text.
int OfferedPairLines(QByteArrayView count);
int OfferedTrioLines(QByteArrayView count);

}  // namespace rw::reports
