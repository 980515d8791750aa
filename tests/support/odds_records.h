#pragma once
// Odds records for the odds tests: the combinations of a race's runners in
// the published order, odds chosen per combination, unused entries blank.
#include "jvdata/records.h"
#include "support/record_builder.h"

#include <QByteArray>
#include <functional>

namespace rwtest {

// Odds text of a combination (the third horse is 0 for pair kinds); an empty
// result keeps the entry's odds blank.
using OddsOf = std::function<QByteArray(int a, int b, int c)>;

// "0000123"-style text of n with the kind's odds width.
inline QByteArray oddsDigits(rw::jv::Kind k, int n) {
    const int width = k == rw::jv::Kind::O6 ? 7 : 6;
    return QByteArray::number(n).rightJustified(width, '0');
}

// A deterministic odds number per combination (never 0).
inline int sampleOdds(int a, int b, int c) { return 11 + a * 997 + b * 31 + c * 7; }

inline QByteArray oddsRecord(rw::jv::Kind k, QByteArrayView key16, int runners, const OddsOf& oddsOf) {
    using namespace rw::jv;
    const Layout& L = layout(k);
    RecordBuilder rb(k, '1', ' ');
    rb.raceKey(key16);
    int i = 0;
    auto put = [&](int a, int b, int c) {
        QByteArray comb = QByteArray::number(a).rightJustified(2, '0') + QByteArray::number(b).rightJustified(2, '0');
        if (c > 0) comb += QByteArray::number(c).rightJustified(2, '0');
        rb.set(odds::Combination(L, i), comb);
        const QByteArray o = oddsOf(a, b, c);
        if (!o.isEmpty()) rb.set(odds::Odds(L, i), o);
        ++i;
    };
    for (int a = 1; a <= runners; ++a)
        for (int b = 1; b <= runners; ++b) {
            const bool ordered = k == Kind::O6 || k == Kind::O4;
            if (b == a || (!ordered && b < a)) continue;
            if (k == Kind::O2 || k == Kind::O4) {
                put(a, b, 0);
                continue;
            }
            for (int c = 1; c <= runners; ++c) {
                if (c == a || c == b || (!ordered && c < b)) continue;
                put(a, b, c);
            }
        }
    return rb;
}

inline QByteArray oddsRecord(rw::jv::Kind k, QByteArrayView key16, int runners) {
    return oddsRecord(k, key16, runners, [k](int a, int b, int c) { return oddsDigits(k, sampleOdds(a, b, c)); });
}

}  // namespace rwtest
