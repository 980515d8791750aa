#pragma once
// Small race and payoff records and ranked and odds files for the race
// viewer's tests.
#include "common/kestrav_path.h"
#include "common/numbers.h"
#include "support/test_support.h"

#include <QByteArray>
#include <QString>

namespace viewertest {

// An RA image of the race `id` (12 digits) with its data kind and
// registered runners; other bytes blanks.
inline QByteArray ra(const QByteArray& id, char kind, const QByteArray& runners = "18") {
    QByteArray r(1272, ' ');
    r.replace(0, 2, "RA");
    r[2] = kind;
    r.replace(11, 8, id.mid(0, 8));
    r.replace(19, 2, id.mid(8, 2));
    r.replace(21, 4, "0101");
    r.replace(25, 2, id.mid(10, 2));
    r.replace(881, 2, runners);
    r.replace(1270, 2, "\r\n");
    return r;
}

// An HR image of the race `id` with every payoff entry empty (zeros).
inline QByteArray hr(const QByteArray& id, const QByteArray& runners = "18") {
    QByteArray r(719, '0');
    r.replace(0, 2, "HR");
    r[2] = '2';
    r.replace(11, 8, id.mid(0, 8));
    r.replace(19, 2, id.mid(8, 2));
    r.replace(21, 4, "0101");
    r.replace(25, 2, id.mid(10, 2));
    r.replace(27, 2, runners);
    r.replace(717, 2, "\r\n");
    return r;
}

// Entry k (from 1) of a payoff group: combination, payout, popularity.
struct Group {
    int first, length, combo, pop;
};
inline constexpr Group kWin{102, 13, 2, 2}, kPlace{141, 13, 2, 2}, kBracket{206, 13, 2, 2}, kQuinella{245, 16, 4, 3},
    kWide{293, 16, 4, 3}, kExacta{453, 16, 4, 3}, kTrio{549, 18, 6, 3}, kTrifecta{603, 19, 6, 4};
inline void setEntry(QByteArray& r, Group g, int k, const QByteArray& combo, int payout, int pop) {
    const int at = g.first + (k - 1) * g.length;
    r.replace(at, g.combo, combo);
    r.replace(at + g.combo, 9, QByteArray::number(payout).rightJustified(9, '0'));
    r.replace(at + g.combo + 9, g.pop, QByteArray::number(pop).rightJustified(g.pop, '0'));
}

inline QByteArray two(int h) { return QByteArray::number(h).rightJustified(2, '0'); }

// The ranked files of a race of n runners: pairs and trios in ascending
// order of their horses (the 馬単 and 3連単 files in the same order).
inline void writeRanked(const rwtest::AppFolder& app, const QByteArray& id, int n) {
    QByteArray pairs, exactas, trios, trifectas;
    for (int a = 1; a <= n; ++a)
        for (int b = a + 1; b <= n; ++b) {
            pairs += "\"" + id + "\",\"Umaren\",\"" + two(a) + two(b) + "\",1.5\r\n";
            exactas += "\"" + id + "\",\"Umatan\",\"" + two(b) + two(a) + "\",1.5\r\n";
            for (int c = b + 1; c <= n; ++c) {
                trios += "\"" + id + "\",\"Sanrenpuke\",\"" + two(a) + two(b) + two(c) + "\",2.5\r\n";
                trifectas += "\"" + id + "\",\"sanrentan\",\"" + two(c) + two(a) + two(b) + "\",2.5\r\n";
            }
        }
    const QString k = QStringLiteral("KAIME\\") + QString::fromLatin1(id);
    app.write(k + "UMARENSORT.dat", pairs);
    app.write(k + "UMATANSORT.dat", exactas);
    app.write(k + "SANRENSORT.dat", trios);
    app.write(k + "SANRENTANSORT.dat", trifectas);
}

// Odds files whose value at (a, b) is a + b / 100 (pairs) and at (a, b, c)
// a × 100 + b + c / 100 (trios), so each cell names its line.
inline void writeOdds(const rwtest::AppFolder& app, const QByteArray& id, int extraLines = 0) {
    QByteArray pairs, trios;
    for (int n = 0; n < 361 + extraLines; ++n)
        pairs += rw::singleText(float(n / 19 % 19) + float(n % 19) / 100.0f) + "\r\n";
    for (int n = 0; n < 6859 + extraLines; ++n)
        trios += rw::singleText(float(n / 361 % 19) * 100.0f + float(n / 19 % 19) + float(n % 19) / 100.0f) + "\r\n";
    const QString k = QStringLiteral("KAIME\\") + QString::fromLatin1(id);
    app.write(k + "UMARENODDS.dat", pairs);
    app.write(k + "UMATANODDS.dat", pairs);
    app.write(k + "SANRENODDS.dat", trios);
    app.write(k + "SANRENTANODDS.dat", trios);
}

inline QString pairOddsText(int a, int b) { return rw::qtext(rw::singleText(float(a) + float(b) / 100.0f)); }
inline QString trioOddsText(int a, int b, int c) {
    return rw::qtext(rw::singleText(float(a) * 100.0f + float(b) + float(c) / 100.0f));
}

}  // namespace viewertest
