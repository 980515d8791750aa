#include "viewer/payout_grid.h"

#include "common/cp932.h"
#include "common/fixed_text.h"
#include "common/numbers.h"
#include "jvdata/records.h"

#include <array>
#include <iterator>

namespace rw::viewer {

namespace {
// One ticket kind of the payoff record: its grid row and caption, its group
// of the payoff layout, and how its combination is shown.
struct PayoutKind {
    int row;
    const char* caption;
    const jv::hr::PayoffGroup& group;
    enum Shape { Horse, Bracket, Pair, Ordered, Trio, OrderedTrio } shape;
};
constexpr PayoutKind kKinds[] = {
    {1, "単勝", jv::hr::kWin, PayoutKind::Horse},
    {2, "複勝", jv::hr::kPlace, PayoutKind::Horse},
    {3, "枠連", jv::hr::kBracket, PayoutKind::Bracket},
    {4, "馬連", jv::hr::kQuinella, PayoutKind::Pair},
    {5, "ワイド", jv::hr::kWide, PayoutKind::Pair},
    {6, "馬単", jv::hr::kExacta, PayoutKind::Ordered},
    {7, "３連複", jv::hr::kTrio, PayoutKind::Trio},
    {8, "３連単", jv::hr::kTrifecta, PayoutKind::OrderedTrio},
};

// One entry of a kind: where its three members lie in the payoff record.
struct PayoutEntry {
    jv::Field combo, payout, pop;
};
// The entries of every kind, looked up in the layout once.
struct PayoutEntries {
    std::array<std::array<PayoutEntry, 7>, std::size(kKinds)> entry{};
    std::array<int, std::size(kKinds)> count{};
};
constexpr PayoutEntries kEntries = [] {
    PayoutEntries t;
    for (size_t k = 0; k < std::size(kKinds); ++k) {
        const jv::hr::PayoffGroup& g = kKinds[k].group;
        t.count[k] = g.entries;
        for (int e = 0; e < t.count[k]; ++e) t.entry[k][size_t(e)] = {g.combination(e), g.payout(e), g.popularity(e)};
    }
    return t;
}();

QByteArray memberOf(const QByteArray& hr, jv::Field f) { return member(hr, f).toByteArray(); }

// The decimal text of a field's lenient value; a value no 64-bit whole
// number holds (an exponent in the field) shows as read, not wrapped.
QString wholeText(const QByteArray& field) {
    const double v = valLenient(field);
    if (!(v > -9.0e18 && v < 9.0e18)) return qtext(doubleText(v));
    return qtext(numberText(std::int64_t(v)));
}

QString comboText(const PayoutKind& k, const QString& c) {
    static const QString dash = QStringLiteral("-"), arrow = QStringLiteral("→");
    switch (k.shape) {
    case PayoutKind::Horse: return c;
    case PayoutKind::Bracket: return c.mid(0, 1) + dash + c.mid(1, 1);
    case PayoutKind::Pair: return c.mid(0, 2) + dash + c.mid(2, 2);
    case PayoutKind::Ordered: return c.mid(0, 2) + arrow + c.mid(2, 2);
    case PayoutKind::Trio: return c.mid(0, 2) + dash + c.mid(2, 2) + dash + c.mid(4, 2);
    case PayoutKind::OrderedTrio: return c.mid(0, 2) + arrow + c.mid(2, 2) + arrow + c.mid(4, 2);
    }
    return c;
}
}  // namespace

void PreparePayoutGrid(GridModel& grid) {
    for (const PayoutKind& k : kKinds) grid.setText(k.row, 0, QString::fromUtf8(k.caption));
    grid.setColWidth(1, 1200);
    grid.setText(0, 0, QStringLiteral("券種"));
    for (int e = 0; e < 5; ++e) {
        grid.setText(0, 3 * e + 1, QStringLiteral("当り目"));
        grid.setText(0, 3 * e + 2, QStringLiteral("配当(円)"));
        grid.setText(0, 3 * e + 3, QStringLiteral("人気"));
    }
    for (int r = 1; r <= 8; ++r)
        for (int c = 1; c <= 21; ++c) grid.setText(r, c, QString());
}

void FillPayoutGrid(GridModel& grid, const QByteArray& hr) {
    for (size_t n = 0; n < std::size(kKinds); ++n)
        for (int c = 1; c <= 3 * kEntries.count[n]; ++c) grid.setText(kKinds[n].row, c, QString());
    for (size_t n = 0; n < std::size(kKinds); ++n) {
        const PayoutKind& k = kKinds[n];
        for (int e = 0; e < kEntries.count[n]; ++e) {
            const PayoutEntry& at = kEntries.entry[n][size_t(e)];
            const QByteArray combo = memberOf(hr, at.combo);
            const QByteArray payout = memberOf(hr, at.payout);
            const QByteArray pop = memberOf(hr, at.pop);
            const bool present = k.shape == PayoutKind::Horse ? valLenient(combo) != 0 : valLenient(payout) != 0;
            if (!present) continue;
            grid.setText(k.row, 3 * e + 1, comboText(k, cp932::decode(combo)));
            grid.setText(k.row, 3 * e + 2, wholeText(payout));
            grid.setText(k.row, 3 * e + 3, wholeText(pop));
        }
    }
}

}  // namespace rw::viewer
