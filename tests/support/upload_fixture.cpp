#include "support/upload_fixture.h"

#include "common/fixed_text.h"
#include "prediction/runner_record.h"
#include "support/payoff_image.h"
#include "support/run_state_fixture.h"

#include <stdexcept>

namespace rwtest {

using rw::prediction::RunState;
namespace rr = rw::prediction::rr;

RunState RankedRace(int n, bool results) {
    RunState s = FixtureRun(results);
    LoadFixtureRace(s, 2);
    s.HorseCount = n;
    QList<int> horseAtRank(n + 1, 0);
    s.RankedHorse = QList<QByteArray>(n + 1);
    for (int r = 1; r <= n; ++r) {
        horseAtRank[r] = r;
        s.RankedHorse[r] = QByteArray::number(r).rightJustified(2, '0');
    }
    s.FinishPos = QList<QByteArray>(std::max(19, n + 1), "**");
    for (int h = 1; h <= 5 && h <= n; ++h) s.FinishPos[h] = "0" + QByteArray::number(h);
    FillLexicographicBets(s, horseAtRank);
    SetRegisteredCount(s, QByteArray::number(n).rightJustified(2, '0'));
    s.CurrentHR = PayoffImage(s).image;
    return s;
}

int PairPosition(const RunState& s, QByteArrayView key) {
    for (int i = 1; i <= s.PairCount; ++i)
        if (s.PairBetsAsc[i] == key) return i;
    throw std::out_of_range("no such pair");
}

int TrioPosition(const RunState& s, QByteArrayView key) {
    for (int i = 1; i <= s.TrioCount; ++i)
        if (s.TrioBetsAsc[i] == key) return i;
    throw std::out_of_range("no such trio");
}

void SetRegisteredCount(RunState& s, QByteArrayView count) {
    rw::putFixed(s.CurrentHorse, rr::RegisteredRunners(0).pos, 2, count);
}

void SetRaceNumber(RunState& s, QByteArrayView raceNo) { rw::putFixed(s.CurrentHorse, rr::RaceNo(0).pos, 2, raceNo); }

}  // namespace rwtest
