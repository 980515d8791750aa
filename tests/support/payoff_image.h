#pragma once
// A payoff record image of the race in a run state, blank but for the
// entries a test puts into it: combination (or horse number), payout in yen
// and popularity, each at its field's width.
#include "prediction/run_state.h"

#include <QByteArray>
#include <QByteArrayView>

namespace rwtest {

struct PayoffImage {
    QByteArray image;
    // Blank entries, the race key of CurrentHorse slot 0.
    explicit PayoffImage(const rw::prediction::RunState& s);
    // Entry i (from 1) of a group of the HR layout ("quinella payouts" …).
    PayoffImage& entry(const char* group, int i, QByteArrayView combination, int yen, int popularity);
    // The combination field alone ("000000", blanks …).
    PayoffImage& combination(const char* group, int i, QByteArrayView text);
};

}  // namespace rwtest
