#include "viewer/bet_grids.h"

#include "common/cp932.h"
#include "common/errors.h"
#include "common/fixed_text.h"
#include "common/kestrav_path.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/text_file.h"
#include "jvdata/odds_tables.h"
#include "jvdata/race_key.h"
#include "jvdata/records.h"
#include "jvdata/store_files.h"
#include "prediction/run_files.h"
#include "prediction/trifecta_orders.h"

#include <array>
#include <string>

namespace rw::viewer {

namespace {

enum class Kind { Umaren, Umatan, Sanren, Santan };

// The combination fields of one payoff group, found in the layout once.
struct PaidCombinations {
    std::array<jv::Field, 7> fields{};
    int count = 0;
};
constexpr PaidCombinations paidCombinations(const jv::hr::PayoffGroup& group) {
    PaidCombinations p;
    p.count = group.entries;
    for (int k = 0; k < p.count; ++k) p.fields[size_t(k)] = group.combination(k);
    return p;
}
constexpr PaidCombinations kQuinellaPaid = paidCombinations(jv::hr::kQuinella);
constexpr PaidCombinations kWidePaid = paidCombinations(jv::hr::kWide);
constexpr PaidCombinations kExactaPaid = paidCombinations(jv::hr::kExacta);
constexpr PaidCombinations kTrioPaid = paidCombinations(jv::hr::kTrio);
constexpr PaidCombinations kTrifectaPaid = paidCombinations(jv::hr::kTrifecta);

struct BetGridPlan {
    Kind kind;
    GridModel ViewerGrids::*grid;
    std::vector<const char*> captions;
    int col1Width;  // 0: the design's
    const char16_t* rankedSuffix;  // the prediction run's sort file
    const char16_t* oddsWord;      // the odds table
    bool trio;
    int clearRows;
    int clearCols;
};

const BetGridPlan kGrids[] = {
    {Kind::Umaren,
     &ViewerGrids::UMARENGrid1,
     {"馬連", "買い目", "実オッズ"},
     0,
     prediction::kUmarenSortSuffix,
     jv::kUmarenOddsWord,
     false,
     153,
     2},
    {Kind::Umatan,
     &ViewerGrids::UMATANGrid2,
     {"馬単", "買い目", "正順オッズ", "逆順オッズ"},
     1500,
     prediction::kUmatanSortSuffix,
     jv::kUmatanOddsWord,
     false,
     153,
     3},
    {Kind::Sanren,
     &ViewerGrids::SANRENGrid3,
     {"３連複", "買い目", "実オッズ"},
     0,
     prediction::kSanrenSortSuffix,
     jv::kSanrenOddsWord,
     true,
     816,
     2},
    {Kind::Santan,
     &ViewerGrids::SANTANGrid4,
     {"３連単", "買い目", "第1順Odds", "第2順Odds", "第3順Odds", "第4順Odds", "第5順Odds", "第6順Odds"},
     1500,
     prediction::kSanrentanSortSuffix,
     jv::kSanrentanOddsWord,
     true,
     816,
     7},
};

// Column 0: the tier labels by rank and the note below them.
void writeRowLabels(GridModel& g, bool trio) {
    const int perTier = trio ? 7 : 6;
    static const QString tiers[3] = {QStringLiteral("本線\u3000"), QStringLiteral("準本線 "),
                                     QStringLiteral("伏兵\u3000")};
    for (int t = 0; t < 3; ++t)
        for (int k = 1; k <= perTier; ++k)
            g.setText(t * perTier + k, 0, tiers[t] + QString::number(k) + QStringLiteral(" 点目"));
    const int note = 3 * perTier + 1;
    g.setText(note, 0, QStringLiteral("買い目として"));
    g.setText(note + 1, 0, QStringLiteral("強く推奨でき"));
    g.setText(note + 2, 0, trio ? QStringLiteral("るのは本線の") : QStringLiteral("るには本線の"));
    g.setText(note + 3, 0, QStringLiteral("みです。"));
}

// Two characters of a combination as an index of the odds tables: two decimal
// digits up to 18, else the statement that uses it fails.
int horseIndex(const QByteArray& horse) {
    if (!isDigits(horse, 2) || horse.toInt() > 18)
        fail("horse text \"" + printable(horse) + "\" is not a horse number");
    return horse.toInt();
}

// Reads the odds file, first horse outermost, into `table`; lines beyond
// the table are ignored; a line that is not a number leaves its value 0.
void readOdds(const QString& path, std::vector<float>& table) {
    LineReader reader(path);
    if (!reader.open()) {
        if (!QFile::exists(path)) return;
        reader.fail("open");
    }
    QByteArray line;
    for (size_t i = 0; i < table.size() && reader.next(line); ++i)
        if (const auto v = parseStrict(line)) table[i] = float(*v);
}

QString oddsText(float v) { return qtext(singleText(v)); }

struct Fill {
    prediction::RunState& state;
    RaceViewer& viewer;
    SkipLog& log;
    QByteArray raceId;     // the selected race
    QByteArray payoffKey;  // CurrentHR's race

    QByteArrayView paid(const PaidCombinations& p, int k) const {
        const jv::Field f = p.fields[size_t(k)];
        return member(state.CurrentHR, f.pos, f.width);
    }

    void grid(const BetGridPlan& plan) {
        GridModel& g = viewer.*plan.grid;
        QList<QByteArray> combos{QByteArray()};  // from 1
        log.step("bet grid captions", [&] {
            for (int c = 0; c < int(plan.captions.size()); ++c) g.setText(0, c, QString::fromUtf8(plan.captions[c]));
            g.setColWidth(0, 1200);
            if (plan.col1Width) g.setColWidth(1, plan.col1Width);
            writeRowLabels(g, plan.trio);
        });
        log.step("ranked combinations", [&] {
            if (!isRaceId(raceId)) fail("no race selected");
            const QList<QByteArray> lines = readLines(prediction::KaimeFile(raceId, plan.rankedSuffix));
            for (const QByteArray& line : lines) {
                if (combos.size() > plan.clearRows) break;
                const QList<QByteArray> values = splitValues(line);
                combos.append(values.value(2));
            }
        });
        for (int r = 1; r <= plan.clearRows && r < g.rows(); ++r)
            for (int c = 1; c <= plan.clearCols && c < g.cols(); ++c) {
                g.setText(r, c, QString());
                g.setBack(r, c, kWhite);
            }
        std::vector<float>& odds = plan.trio ? viewer.TrioOdds : viewer.PairOdds;
        log.step("odds table", [&] {
            if (!isRaceId(raceId)) fail("no race selected");
            readOdds(jv::OddsTableFile(raceId, plan.oddsWord), odds);
        });
        const bool sameRace = !raceId.isEmpty() && raceId == payoffKey;
        for (int r = 1; r < combos.size(); ++r) row(plan, g, r, combos[r], sameRace);
        std::fill(odds.begin(), odds.end(), 0.0f);
    }

    void row(const BetGridPlan& plan, GridModel& g, int r, const QByteArray& combo, bool sameRace) {
        const QByteArray a = combo.mid(0, 2), b = combo.mid(2, 2), c = combo.mid(4, 2);
        const QString ta = QString::fromLatin1(a), tb = QString::fromLatin1(b), tc = QString::fromLatin1(c);
        const QString dash = QStringLiteral("-"), arrow = QStringLiteral("→");
        auto cell = [&](const char* what, auto&& f) { log.step(what, f); };
        switch (plan.kind) {
        case Kind::Umaren: {
            cell("combination", [&] { g.setText(r, 1, ta + dash + tb); });
            cell("odds", [&] { g.setText(r, 2, oddsText(pairOdds(a, b))); });
            if (!sameRace) return;
            for (int k = 0; k < kWidePaid.count; ++k)
                if (paid(kWidePaid, k) == combo) paint(g, r, {1, 2}, kYellow);
            for (int k = 0; k < kQuinellaPaid.count; ++k)
                if (paid(kQuinellaPaid, k) == combo) paint(g, r, {1, 2}, kGreen);
            return;
        }
        case Kind::Umatan: {
            cell("combination", [&] { g.setText(r, 1, ta + arrow + tb); });
            cell("odds", [&] { g.setText(r, 2, oddsText(pairOdds(a, b))); });
            cell("odds", [&] { g.setText(r, 3, oddsText(pairOdds(b, a))); });
            if (!sameRace) return;
            for (int k = 0; k < kExactaPaid.count; ++k) {
                const QByteArrayView exacta = paid(kExactaPaid, k);
                if (exacta == QByteArray(a + b)) {
                    paint(g, r, {1, 2}, kGreen);
                    g.setText(r, 1, QStringLiteral("\u3000\u3000正順\u3000\u3000") + ta + arrow + tb);
                }
                if (exacta == QByteArray(b + a)) {
                    paint(g, r, {1, 3}, kMagenta);
                    g.setText(r, 1, QStringLiteral("\u3000\u3000逆順\u3000\u3000") + ta + arrow + tb);
                }
            }
            return;
        }
        case Kind::Sanren: {
            cell("combination", [&] { g.setText(r, 1, ta + dash + tb + dash + tc); });
            cell("odds", [&] { g.setText(r, 2, oddsText(trioOdds(a, b, c))); });
            if (!sameRace) return;
            for (int k = 0; k < kTrioPaid.count; ++k)
                if (paid(kTrioPaid, k) == combo) paint(g, r, {1, 2}, kGreen);
            return;
        }
        case Kind::Santan: {
            cell("combination", [&] { g.setText(r, 1, ta + arrow + tb + arrow + tc); });
            state.TrioHorseA = a;
            state.TrioHorseB = b;
            state.TrioHorseC = c;
            const QByteArray horses[3] = {a, b, c};
            auto at = [&](int n, int k) -> const QByteArray& {
                return horses[prediction::kTrifectaOrders[size_t(n)][size_t(k)]];
            };
            for (int n = 0; n < 6; ++n)
                cell("odds", [&] { g.setText(r, 2 + n, oddsText(trioOdds(at(n, 0), at(n, 1), at(n, 2)))); });
            if (!sameRace) return;
            for (int n = 0; n < 6; ++n) {
                const QByteArray order = at(n, 0) + at(n, 1) + at(n, 2);
                for (int k = 0; k < kTrifectaPaid.count; ++k)
                    if (paid(kTrifectaPaid, k) == order) {
                        paint(g, r, {1, 2 + n}, n == 0 ? kGreen : kMagenta);
                        g.setText(r, 1, QStringLiteral(" 第%1順").arg(n + 1) + ta + arrow + tb + arrow + tc);
                    }
            }
            return;
        }
        }
    }

    float pairOdds(const QByteArray& x, const QByteArray& y) const {
        return viewer.PairOdds[size_t(horseIndex(x) * 19 + horseIndex(y))];
    }
    float trioOdds(const QByteArray& x, const QByteArray& y, const QByteArray& z) const {
        return viewer.TrioOdds[size_t(horseIndex(x) * 361 + horseIndex(y) * 19 + horseIndex(z))];
    }
    static void paint(GridModel& g, int r, std::initializer_list<int> cols, GridColor color) {
        for (int c : cols) g.setBack(r, c, color);
    }
};

}  // namespace

void FillBetGrids(prediction::RunState& state, RaceViewer& viewer, SkipLog& log) {
    Fill fill{state, viewer, log, {}, {}};
    fill.payoffKey = jv::RaceKey::ofRecord(state.CurrentHR).raceId();
    fill.raceId = viewer.List1Text.right(12).toLatin1();
    for (const BetGridPlan& plan : kGrids) fill.grid(plan);
}

}  // namespace rw::viewer
