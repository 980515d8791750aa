#include "viewer/payout_grid.h"

#include "common/cp932.h"
#include "common/numbers.h"

namespace rw::viewer {

namespace {
// One ticket kind of the payoff record: its row, entries, the offset of
// the first entry, the entry length and the widths of its fields.
struct PayoutKind {
    int row;
    const char* caption;
    int entries;
    int first;
    int length;
    int comboWidth;
    int popWidth;
    enum Shape { Horse, Bracket, Pair, Ordered, Trio, OrderedTrio } shape;
};
constexpr PayoutKind kKinds[] = {
    {1, "単勝", 3, 102, 13, 2, 2, PayoutKind::Horse},   {2, "複勝", 5, 141, 13, 2, 2, PayoutKind::Horse},
    {3, "枠連", 3, 206, 13, 2, 2, PayoutKind::Bracket}, {4, "馬連", 3, 245, 16, 4, 3, PayoutKind::Pair},
    {5, "ワイド", 7, 293, 16, 4, 3, PayoutKind::Pair},  {6, "馬単", 6, 453, 16, 4, 3, PayoutKind::Ordered},
    {7, "３連複", 3, 549, 18, 6, 3, PayoutKind::Trio},  {8, "３連単", 6, 603, 19, 6, 4, PayoutKind::OrderedTrio},
};

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
    for (const PayoutKind& k : kKinds)
        for (int c = 1; c <= 3 * k.entries; ++c) grid.setText(k.row, c, QString());
    for (const PayoutKind& k : kKinds) {
        for (int e = 0; e < k.entries; ++e) {
            const qsizetype at = k.first + qsizetype(e) * k.length;
            const QByteArray combo = hr.mid(at, k.comboWidth);
            const QByteArray payout = hr.mid(at + k.comboWidth, 9);
            const QByteArray pop = hr.mid(at + k.comboWidth + 9, k.popWidth);
            const bool present = k.shape == PayoutKind::Horse ? valLenient(combo) != 0 : valLenient(payout) != 0;
            if (!present) continue;
            grid.setText(k.row, 3 * e + 1, comboText(k, cp932::decode(combo)));
            grid.setText(k.row, 3 * e + 2, wholeText(payout));
            grid.setText(k.row, 3 * e + 3, wholeText(pop));
        }
    }
}

}  // namespace rw::viewer
