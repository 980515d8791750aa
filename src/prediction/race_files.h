#pragma once
// YOSOKEKKATHISWEEKNZ: the files the race loop writes for every race, each
// built as code page 932 bytes with CR LF from the run's state, as the
// per-race writers build theirs; the race loop computes the state and only
// orders the writes (prediction/race_loop.cpp). Every builder reads the
// state and changes nothing, its loops counting on their own.
//
// The state each builder reads:
//   score file "KAIME\<RaceID>.dat"        the horse arrays (its pairs and
//                                          trios enumerated anew, before any
//                                          ranking, as the system writes them)
//   "SORT.dat", "LUPSORT.dat"              the horse arrays and PredRank
//   "UMARENSORT.dat", 馬連 and ワイド       PairBetsAsc, PairScore (ranked)
//   "UMATANSORT.dat", 馬単                  PairBets turned faster first
//   "SANRENSORT.dat", 3連複                 TrioBetsAsc, TrioScore (ranked)
//   "SANRENTANSORT.dat", 3連単              TrioBets turned fastest first
//   "kaiteki.txt", "kaitekiPC.txt"         the course-day's rates
#include "prediction/run_state.h"

#include <QByteArray>
#include <QByteArrayView>
#include <array>
#include <cstdint>
#include <initializer_list>

namespace rw::prediction {

// A pair or trio of horses as the ranking and the score file see it: its
// key ("0105", "030405") and its summed speeds, in single precision.
struct ComboSums {
    float score = 0, predicted = 0, residual = 0;
};
ComboSums PairSums(const RunState& s, int i, int j);
ComboSums TrioSums(const RunState& s, int i, int j, int e);

// A combination key: the two digits of each horse number ("0712").
QByteArray ComboKey(std::initializer_list<int> horses);

// The horses of trio key `trio` fastest first by CompositeSpeed (equal
// speeds keep their order); TurnFastestFirst rewrites the key so.
std::array<QByteArray, 3> TrioFastestFirst(const RunState& s, const QByteArray& trio);
void TurnFastestFirst(const RunState& s, QByteArray& trio);

// The score file: a line per horse, then per pair (i < j), then per trio
// (i < j < e), horses 1 .. HorseCount.
QByteArray ScoreFileBytes(const RunState& s, QByteArrayView raceId);
// The rank sort files, a line per horse.
QByteArray RankSortBytes(const RunState& s);
QByteArray LupSortBytes(const RunState& s);
// The combination sort files, a line per pair or trio, best first.
QByteArray UmarenSortBytes(const RunState& s, QByteArrayView raceId);
QByteArray UmatanSortBytes(const RunState& s, QByteArrayView raceId);
QByteArray SanrenSortBytes(const RunState& s, QByteArrayView raceId);
QByteArray SanrentanSortBytes(const RunState& s, QByteArrayView raceId);
// The bet-import files: 馬連 the best seven pairs, ワイド the best three, 馬単
// the best seven both ways, 3連複 the best ten trios, 3連単 the best ten in
// their six orders.
QByteArray UmarenBetBytes(const RunState& s, QByteArrayView raceId);
QByteArray WideBetBytes(const RunState& s, QByteArrayView raceId);
QByteArray UmatanBetBytes(const RunState& s, QByteArrayView raceId);
QByteArray SanrenpukuBetBytes(const RunState& s, QByteArrayView raceId);
QByteArray SanrentanBetBytes(const RunState& s, QByteArrayView raceId);

// One line of a bet-import file (without line end): date, course, race,
// ticket code, combination, "100". Also the exports' win file line.
QByteArray BetImportLine(QByteArrayView raceId, QByteArrayView ticketCode, QByteArrayView combination);

// The course-day's rate files, headed by DayKey `dayKey`, from the rates
// of KaitekiRates and PcTicketStats; `races` is the race number, the
// races predicted so far that day.
QByteArray KaitekiBytes(const RunState& s, QByteArrayView dayKey);
QByteArray KaitekiPcBytes(const RunState& s, QByteArrayView dayKey, std::int64_t races);

}  // namespace rw::prediction
