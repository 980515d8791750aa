#pragma once
// A hand-filled prediction run of three races on two course-days, shared by
// the tests of the day-file writers (race card, upload, selection and
// labelled day files). Everything a writer reads is set as the run sets it
// when it calls the writers; the payoff records are built with the record
// builders.
//
//   race 1  2026-03-07 中山 (06), meeting 2, day 5, race 01,  5 runners
//   race 2  2026-03-07 中山 (06), meeting 2, day 5, race 02, 12 runners
//   race 3  2026-03-07 阪神 (09), meeting 1, day 5, race 01,  8 runners,
//           a dead heat for second (two 馬連, 馬単 and 3連単 entries, three ワイド)
//
// The horses' data are in run_state_fixture.cpp, one table per race. The
// ranked pair and trio lists follow the predicted ranks in lexicographic
// order: pairs (1,2), (1,3) … (1,N), (2,3) …, trios (1,2,3), (1,2,4) …;
// PairBets and TrioBets hold the horses in rank order, the Asc lists
// ascending. Composite speeds fall by 0.25 km/h per rank from 60.5.
//
// Results (results mode; the runners' placings, times and speeds as well):
//   race 1  3-1-2: every kind hits in the first tier
//   race 2  6-8-7: the 馬連, 馬単, 3連複 and 3連単 winners lie beyond the
//           tiers (pair 66, trio 55), two ワイド hit in the second tier
//   race 3  2, then 5 and 8 dead-heated: 馬連 and ワイド in two tiers, 馬単
//           in both orders, 3連複 trio 1, 3連単 orders 3 and 4 of trio 1
#include "prediction/run_state.h"

#include <QByteArray>
#include <QList>

namespace rwtest {

inline constexpr int kFixtureRaces = 3;

// The run's state before its first race: code table (中山, 阪神 and the
// race-list codes), race list and race table, ResultsMode; last keys empty.
rw::prediction::RunState FixtureRun(bool results);

// Puts race k (1 to 3) in place as the run does before it calls the
// writers: RaceIndex, HorseCount, the horse arrays, the bet lists,
// CurrentHorse (slot 0 of the race's last runner) and, in results mode, the
// race's payoff record in CurrentHR (zero bytes in normal mode). The shared
// counters hold 11, HorseCount + 1, HorseCount + 1.
void LoadFixtureRace(rw::prediction::RunState& s, int k);

// The race's payoff record image (719 bytes), and its DayKey.
QByteArray FixturePayoffRecord(int k);
QByteArray FixtureDayKey(int k);
QByteArray FixtureRaceKey16(int k);

// Ranked lists as the fixture builds them from a rank -> horse table
// (index 0 unused): lexicographic in ranks, as described above.
void FillLexicographicBets(rw::prediction::BetLists& bets, const QList<int>& horseAtRank);

}  // namespace rwtest
