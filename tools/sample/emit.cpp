#include "sample/emit.h"

#include "common/cp932.h"
#include "common/fixed_text.h"
#include "jvdata/records.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace rw::sample::detail {

using namespace rw::jv;

namespace {

// Element i of a repeated item or group, from its first two elements; the
// layouts are walked once, at compile time.
struct Series {
    Field first;
    int stride = 0, imageStride = 0;
    constexpr Field operator[](int i) const {
        return Field{first.pos + i * stride, first.width, first.imagePos + i * imageStride, first.imageWidth};
    }
};
constexpr Series series(const Layout& L, std::string_view row, std::string_view sub = {}) {
    const Field a = findField(L, row, sub, 0), b = findField(L, row, sub, 1);
    return Series{a, b.pos - a.pos, b.imagePos - a.imagePos};
}

// A record built as a blank image of its published length; items are put by
// their layout positions.
struct Rec {
    QByteArray b;
    explicit Rec(const Layout& L) : b(L.length, ' ') {
        b[L.length - 2] = '\r';
        b[L.length - 1] = '\n';
    }
    void put(Field f, QByteArrayView v) { putFixed(b, f.pos, f.width, cp932::fitBytes(v, f.width)); }
    // A full-width text item: JV-Data pads it with full-width blanks, so an
    // empty one is full-width blanks throughout.
    void putWide(Field f, QByteArrayView v) {
        QByteArray t = cp932::fitBytes(v, f.width);
        while (t.size() + 2 <= f.width) t += "\x81\x40";
        put(f, t);
    }
    void num(Field f, qint64 v) { putFixed(b, f.pos, f.width, digits(v, f.width)); }
    void head(QByteArrayView kind, char dataKind, const QDate& make) {
        put(head::RecordKind, kind);
        b[head::DataKind.pos - 1] = dataKind;
        put(head::MakeDate, dateText(make));
    }
};

QByteArray timeText(int tenths) { return digits(tenths / 600, 1) + digits(tenths % 600, 3); }

// ---- Fields not named by the shared record module -------------------------

namespace raf {
constexpr Field SpecialNo = findField(kRA, "special race number");
constexpr Field Subtitle = findField(kRA, "race subtitle");
constexpr Field Bracket = findField(kRA, "race name bracket text");
constexpr Field NameEn = findField(kRA, "race name in English");
constexpr Field Short10 = findField(kRA, "short race name 10");
constexpr Field Short6 = findField(kRA, "short race name 6");
constexpr Field Short3 = findField(kRA, "short race name 3");
constexpr Field NameKind = findField(kRA, "race name kind");
constexpr Field Repeat = findField(kRA, "repeat count");
constexpr Field GradeBefore = findField(kRA, "grade code before change");
constexpr Field Symbol = findField(kRA, "race symbol code");
constexpr Field WeightRule = findField(kRA, "weight rule code");
constexpr Field DistanceBefore = findField(kRA, "distance before change");
constexpr Field TrackBefore = findField(kRA, "track code before change");
constexpr Field Section = findField(kRA, "course section");
constexpr Field StartBefore = findField(kRA, "start time before change");
constexpr Field Mile = findField(kRA, "obstacle mile time");
constexpr Field First4 = findField(kRA, "first 4 furlongs time");
constexpr Field Last4 = findField(kRA, "last 4 furlongs time");
constexpr Field UpdateKind = findField(kRA, "record update kind");
constexpr Series Condition = series(kRA, "race condition codes");
constexpr Series Prize = series(kRA, "prize money");
constexpr Series PrizeBefore = series(kRA, "prize money before change");
constexpr Series Added = series(kRA, "added prize money");
constexpr Series AddedBefore = series(kRA, "added prize money before change");
constexpr Series Lap = series(kRA, "lap times");
constexpr Series Corner = series(kRA, "corner passing orders", "corner");
constexpr Series CornerLaps = series(kRA, "corner passing orders", "lap count");
constexpr Series Passing = series(kRA, "corner passing orders", "passing order");
}  // namespace raf

namespace sef {
constexpr Field Symbol = findField(kSE, "horse symbol code");
constexpr Field Breed = findField(kSE, "breed code");
constexpr Field Coat = findField(kSE, "coat colour code");
constexpr Field Affiliation = findField(kSE, "affiliation code");
constexpr Field TrainerShort = findField(kSE, "trainer short name");
constexpr Field OwnerCode = findField(kSE, "owner code");
constexpr Field OwnerName = findField(kSE, "owner name");
constexpr Field Colours = findField(kSE, "racing colours");
constexpr Field Blinker = findField(kSE, "blinker use");
constexpr Field Apprentice = findField(kSE, "apprentice code");
constexpr Field ApprenticeBefore = findField(kSE, "apprentice code before change");
constexpr Field ChangeSign = findField(kSE, "body weight change sign");
constexpr Field Change = findField(kSE, "body weight change");
constexpr Field DeadHeatCount = findField(kSE, "dead-heat count");
constexpr Field Margin = findField(kSE, "margin code");
constexpr Field Margin2 = findField(kSE, "second margin code");
constexpr Field Margin3 = findField(kSE, "third margin code");
constexpr Field Prize = findField(kSE, "prize money won");
constexpr Field Added = findField(kSE, "added prize money won");
constexpr Field Last4 = findField(kSE, "last 4 furlongs time");
constexpr Field UpdateKind = findField(kSE, "record update kind");
constexpr Field MiningKind = findField(kSE, "mining kind");
constexpr Field MiningTime = findField(kSE, "mining predicted time");
constexpr Field MiningPlus = findField(kSE, "mining error plus");
constexpr Field MiningMinus = findField(kSE, "mining error minus");
constexpr Field MiningOrder = findField(kSE, "mining predicted order");
constexpr Field Style = findField(kSE, "running style");
constexpr Series Corner = series(kSE, "corner positions");
constexpr Series BeatenReg = series(kSE, "winner or runner-up horses", "registration number");
constexpr Series BeatenName = series(kSE, "winner or runner-up horses", "horse name");
}  // namespace sef

namespace hrf {
constexpr Field Starters = findField(kHR, "starters");
constexpr Series NotEstablished = series(kHR, "not-established flags");
constexpr Series Special = series(kHR, "special payout flags");
constexpr Series Refund = series(kHR, "refund flags");
constexpr Series RefundHorse = series(kHR, "refunded horse flags");
constexpr Series RefundFrame = series(kHR, "refunded frame flags");
constexpr Series RefundSameFrame = series(kHR, "refunded same-frame flags");
// One payout kind: its combination (or horse number), payout and popularity.
struct Pay {
    Series comb, pay, pop;
};
constexpr Pay pay(std::string_view row, std::string_view comb) {
    return {series(kHR, row, comb), series(kHR, row, "payout"), series(kHR, row, "popularity")};
}
constexpr Pay Win = pay("win payouts", "horse number"), Place = pay("place payouts", "horse number"),
              Bracket = pay("bracket quinella payouts", "combination"), Quinella = pay("quinella payouts", "combination"),
              Wide = pay("wide payouts", "combination"), Exacta = pay("exacta payouts", "combination"),
              Trio = pay("trio payouts", "combination"), Trifecta = pay("trifecta payouts", "combination");
}  // namespace hrf

namespace o1f {
constexpr Series WinHorse = series(kO1, "win odds", "horse number"), WinOdds = series(kO1, "win odds", "odds"),
                 WinPop = series(kO1, "win odds", "popularity");
constexpr Series PlaceHorse = series(kO1, "place odds", "horse number"), PlaceLow = series(kO1, "place odds", "lowest odds"),
                 PlaceHigh = series(kO1, "place odds", "highest odds"), PlacePop = series(kO1, "place odds", "popularity");
constexpr Series BracketComb = series(kO1, "bracket quinella odds", "combination"),
                 BracketOdds = series(kO1, "bracket quinella odds", "odds"),
                 BracketPop = series(kO1, "bracket quinella odds", "popularity");
}  // namespace o1f

namespace umf {
constexpr Field DeleteKind = findField(kUM, "delete kind");
constexpr Field RegDate = findField(kUM, "registration date");
constexpr Field DeleteDate = findField(kUM, "delete date");
constexpr Field Kana = findField(kUM, "horse name in kana");
constexpr Field English = findField(kUM, "horse name in English");
constexpr Field InTraining = findField(kUM, "in-training flag");
constexpr Field Symbol = findField(kUM, "horse symbol code");
constexpr Field Sex = findField(kUM, "sex code");
constexpr Field Breed = findField(kUM, "breed code");
constexpr Field Coat = findField(kUM, "coat colour code");
constexpr Field Affiliation = findField(kUM, "affiliation code");
constexpr Field TrainerShort = findField(kUM, "trainer short name");
constexpr Field Invited = findField(kUM, "invited area name");
constexpr Field BreederCode = findField(kUM, "breeder code");
constexpr Field BreederName = findField(kUM, "breeder name");
constexpr Field Area = findField(kUM, "production area name");
constexpr Field OwnerCode = findField(kUM, "owner code");
constexpr Field OwnerName = findField(kUM, "owner name");
constexpr Field FlatPrize = findField(kUM, "flat prize money total");
constexpr Field JumpPrize = findField(kUM, "obstacle prize money total");
constexpr Field FlatAdded = findField(kUM, "flat added prize total");
constexpr Field JumpAdded = findField(kUM, "obstacle added prize total");
constexpr Field FlatEarn = findField(kUM, "flat earnings total");
constexpr Field JumpEarn = findField(kUM, "obstacle earnings total");
constexpr Field Count = findField(kUM, "registered race count");
constexpr Field Overall = findField(kUM, "placing counts overall", {}, 0);
constexpr Field Jra = findField(kUM, "placing counts JRA", {}, 0);
constexpr Field ByTrack = findField(kUM, "placing counts by track", {}, 0);
constexpr Field ByGoing = findField(kUM, "placing counts by going", {}, 0);
constexpr Field ByDistance = findField(kUM, "placing counts by distance", {}, 0);
constexpr Field Styles = findField(kUM, "running style counts", {}, 0);
}  // namespace umf

// Element i of a repeated item whose first element is f.
constexpr Field nth(Field f, int i) { return Field{f.pos + i * f.width, f.width, f.imagePos + i * f.imageWidth, f.imageWidth}; }

namespace ksf {
constexpr Field DeleteKind = findField(kKS, "delete kind");
constexpr Field Licence = findField(kKS, "licence issue date");
constexpr Field LicenceEnd = findField(kKS, "licence delete date");
constexpr Field Name = findField(kKS, "jockey name");
constexpr Field Kana = findField(kKS, "jockey name in kana");
constexpr Field Short = findField(kKS, "jockey short name");
constexpr Field English = findField(kKS, "jockey name in English");
constexpr Field Apprentice = findField(kKS, "apprentice code");
constexpr Field Affiliation = findField(kKS, "affiliation code");
constexpr Field TrainerCode = findField(kKS, "affiliated trainer code");
constexpr Field TrainerShort = findField(kKS, "affiliated trainer short name");
Field sub(std::string_view row, std::string_view s, int e, int se = 0) { return findField(kKS, row, s, e, se); }
// The accumulated-results groups, element 0 of each repeated count.
struct Acc {
    Field year, flat, jump, flatAdded, jumpAdded, flatCounts, jumpCounts, byCourse, byDistance;
};
constexpr Acc acc(int g) {
    constexpr std::string_view R = "accumulated results";
    return {findField(kKS, R, "year", g),
            findField(kKS, R, "flat prize money", g),
            findField(kKS, R, "obstacle prize money", g),
            findField(kKS, R, "flat added prize money", g),
            findField(kKS, R, "obstacle added prize money", g),
            findField(kKS, R, "flat placing counts", g),
            findField(kKS, R, "obstacle placing counts", g),
            findField(kKS, R, "placing counts by racecourse", g),
            findField(kKS, R, "placing counts by distance", g)};
}
constexpr Acc kAcc[3] = {acc(0), acc(1), acc(2)};
}  // namespace ksf

// ---- Odds of one race --------------------------------------------------------

// Combinations in the published order of an 18-runner race.
struct Orders {
    std::vector<std::array<int, 2>> pairs, ordered;
    std::vector<std::array<int, 3>> trios, triples;
    Orders() {
        for (int a = 1; a <= 18; ++a)
            for (int b = a + 1; b <= 18; ++b) pairs.push_back({a, b});
        for (int a = 1; a <= 18; ++a)
            for (int b = 1; b <= 18; ++b)
                if (b != a) ordered.push_back({a, b});
        for (int a = 1; a <= 18; ++a)
            for (int b = a + 1; b <= 18; ++b)
                for (int c = b + 1; c <= 18; ++c) trios.push_back({a, b, c});
        for (int a = 1; a <= 18; ++a)
            for (int b = 1; b <= 18; ++b)
                for (int c = 1; c <= 18; ++c)
                    if (b != a && c != a && c != b) triples.push_back({a, b, c});
    }
};
const Orders& orders() {
    static const Orders o;
    return o;
}

// One ticket kind's odds, by combination index: the odds (0.1), 0 for no
// votes, -1 for a combination of a runner withdrawn before the sale, -2
// after it, -3 for a combination that does not exist.
struct Book {
    std::vector<int> odds, pop;
    // The rank among the bought combinations; counted when the book was
    // not ranked as a whole (the past races need only their payoffs').
    int popularity(int i) const {
        if (!pop.empty()) return pop[size_t(i)];
        const int* o = odds.data();
        const int oi = o[i], n = int(odds.size());
        int rank = 1;
        for (int j = 0; j < n; ++j) rank += o[j] > 0 && (o[j] < oi || (o[j] == oi && j < i));
        return rank;
    }
    void rank() {
        std::vector<int> idx;
        for (int i = 0; i < int(odds.size()); ++i)
            if (odds[size_t(i)] > 0) idx.push_back(i);
        std::sort(idx.begin(), idx.end(), [&](int a, int b) {
            return odds[size_t(a)] != odds[size_t(b)] ? odds[size_t(a)] < odds[size_t(b)] : a < b;
        });
        pop.assign(odds.size(), 0);
        for (size_t k = 0; k < idx.size(); ++k) pop[size_t(idx[k])] = int(k) + 1;
    }
};

struct RaceOdds {
    int n = 0, starters = 0, places = 3;
    Market m;
    std::array<int, 19> state{};  // 0 runner, -1/-2 withdrawn, -3 none
    Book win, placeLo, placeHi, place, bracket, quinella, wide, exacta, trio, trifecta;
    bool bracketSold = false;
    std::array<int, 9> frameStarters{}, frameSize{};
};

int oddsOf(double takeout, double p, int maxTenths) {
    if (p <= 0) return 0;
    const double o = std::floor(takeout * 10.0 / p);
    return int(std::clamp(o, 10.0, double(maxTenths)));
}

int combinationState(const RaceOdds& ro, std::initializer_list<int> horses) {
    int s = 0;
    for (int h : horses) {
        const int st = ro.state[size_t(h)];
        if (st == -3) return -3;
        if (st < 0) s = st;
    }
    return s;
}

RaceOdds oddsOf(const Race& r, bool ranked) {
    RaceOdds ro;
    ro.m = marketOf(r);
    ro.n = int(r.runs.size());
    ro.starters = r.starters;
    ro.places = ro.starters >= 8 ? 3 : 2;
    ro.state.fill(-3);
    for (const Run& run : r.runs) {
        ro.state[size_t(run.horseNo)] = run.abnormal == 1 ? (r.scratchKind == 2 ? -2 : -1) : 0;
        ro.frameSize[size_t(run.frame)]++;
        ro.frameStarters[size_t(run.frame)] += run.abnormal != 1;
    }
    ro.bracketSold = ro.n >= 9;
    const Orders& O = orders();
    // Combinations that won: never left without votes.
    std::set<std::array<int, 3>> winning;
    const auto claims = slotsOf(r);
    if (claims.size() >= 3)
        for (int a : claims[0])
            for (int b : claims[1])
                for (int c : claims[2])
                    if (a != b && a != c && b != c)
                        winning.insert({r.runs[size_t(a)].horseNo, r.runs[size_t(b)].horseNo, r.runs[size_t(c)].horseNo});

    auto fill = [&](Book& book, int count, auto stateOf, auto probOf, double takeout, int maxTenths) {
        book.odds.assign(size_t(count), -3);
        for (int i = 0; i < count; ++i) {
            const int st = stateOf(i);
            book.odds[size_t(i)] = st != 0 ? st : std::max(10, oddsOf(takeout, probOf(i), maxTenths));
        }
        if (ranked) book.rank();
    };
    fill(ro.win, 18, [&](int i) { return ro.state[size_t(i + 1)]; }, [&](int i) { return ro.m.p[size_t(i + 1)]; }, 0.8, 9999);
    fill(ro.place, 18, [&](int i) { return ro.state[size_t(i + 1)]; },
         [&](int i) { return std::min(0.999, ro.m.place(i + 1, ro.places)); }, 0.8, 9999);
    ro.placeLo = ro.placeHi = ro.place;
    for (int i = 0; i < 18; ++i)
        if (ro.place.odds[size_t(i)] > 0) {
            ro.placeLo.odds[size_t(i)] = std::max(10, ro.place.odds[size_t(i)] * 85 / 100);
            ro.placeHi.odds[size_t(i)] = std::min(9999, std::max(ro.placeLo.odds[size_t(i)], ro.place.odds[size_t(i)] * 13 / 10));
        }
    fill(ro.quinella, 153, [&](int i) { return combinationState(ro, {O.pairs[size_t(i)][0], O.pairs[size_t(i)][1]}); },
         [&](int i) { return ro.m.quinella(O.pairs[size_t(i)][0], O.pairs[size_t(i)][1]); }, 0.775, 999999);
    fill(ro.wide, 153, [&](int i) { return combinationState(ro, {O.pairs[size_t(i)][0], O.pairs[size_t(i)][1]}); },
         [&](int i) { return std::min(0.999, ro.m.wide(O.pairs[size_t(i)][0], O.pairs[size_t(i)][1])); }, 0.775, 999999);
    fill(ro.exacta, 306, [&](int i) { return combinationState(ro, {O.ordered[size_t(i)][0], O.ordered[size_t(i)][1]}); },
         [&](int i) { return ro.m.exacta(O.ordered[size_t(i)][0], O.ordered[size_t(i)][1]); }, 0.75, 999999);
    fill(ro.trio, 816, [&](int i) { const auto& t = O.trios[size_t(i)]; return combinationState(ro, {t[0], t[1], t[2]}); },
         [&](int i) { const auto& t = O.trios[size_t(i)]; return ro.m.trio(t[0], t[1], t[2]); }, 0.75, 999999);
    fill(ro.trifecta, 4896, [&](int i) { const auto& t = O.triples[size_t(i)]; return combinationState(ro, {t[0], t[1], t[2]}); },
         [&](int i) { const auto& t = O.triples[size_t(i)]; return ro.m.trifecta(t[0], t[1], t[2]); }, 0.725, 9999999);
    // Long shots nobody bought.
    for (int i = 0; i < 4896; ++i) {
        const auto& t = O.triples[size_t(i)];
        if (ro.trifecta.odds[size_t(i)] > 0 && ro.m.trifecta(t[0], t[1], t[2]) < 2e-7 && !winning.count(t))
            ro.trifecta.odds[size_t(i)] = 0;
    }
    if (ranked) ro.trifecta.rank();
    // Bracket quinella: 1-1, 1-2 … 8-8.
    ro.bracket.odds.assign(36, -3);
    int k = 0;
    for (int f = 1; f <= 8; ++f)
        for (int g = f; g <= 8; ++g, ++k) {
            if (!ro.bracketSold) continue;
            if (ro.frameSize[size_t(f)] == 0 || ro.frameSize[size_t(g)] == 0 || (f == g && ro.frameSize[size_t(f)] < 2)) continue;
            if (ro.frameStarters[size_t(f)] == 0 || ro.frameStarters[size_t(g)] == 0 || (f == g && ro.frameStarters[size_t(f)] < 2)) {
                ro.bracket.odds[size_t(k)] = r.scratchKind == 2 ? -2 : -1;
                continue;
            }
            double p = 0;
            for (const Run& x : r.runs)
                for (const Run& y : r.runs)
                    if (x.horseNo < y.horseNo && ((x.frame == f && y.frame == g) || (x.frame == g && y.frame == f)))
                        p += ro.m.quinella(x.horseNo, y.horseNo);
            ro.bracket.odds[size_t(k)] = std::max(10, oddsOf(0.775, p, 99999));
        }
    if (ranked) ro.bracket.rank();
    return ro;
}

int pairIndex(int a, int b) {
    if (a > b) std::swap(a, b);
    int idx = 0;
    for (int i = 1; i < a; ++i) idx += 18 - i;
    return idx + (b - a - 1);
}
int orderedIndex(int a, int b) { return (a - 1) * 17 + (b < a ? b - 1 : b - 2); }
int trioIndex(int a, int b, int c) {
    const auto& t = orders().trios;
    std::array<int, 3> k{a, b, c};
    std::sort(k.begin(), k.end());
    return int(std::lower_bound(t.begin(), t.end(), k) - t.begin());
}
int tripleIndex(int a, int b, int c) {
    return (a - 1) * 272 + (b - 1 - (b > a)) * 16 + (c - 1 - (c > a) - (c > b));
}
int bracketIndex(int f, int g) {
    if (f > g) std::swap(f, g);
    int idx = 0;
    for (int i = 1; i < f; ++i) idx += 9 - i;
    return idx + (g - f);
}

QByteArray oddsText(int odds, int width) {
    if (odds == -3) return QByteArray(width, ' ');
    if (odds == -1) return QByteArray(width, '-');
    if (odds == -2) return QByteArray(width, '*');
    return digits(odds, width);
}
QByteArray popText(const Book& b, int i, int width) {
    const int o = b.odds[size_t(i)];
    if (o < 0) return oddsText(o, width);
    return digits(b.pop[size_t(i)], width);
}

// ---- Records ---------------------------------------------------------------------

struct Emitter {
    const World& w;
    Output& out;

    QByteArray ra(const Race& r, char kind, const QDate& make) {
        Rec x(kRA);
        x.head("RA", kind, make);
        x.put(head::RaceKey16, r.raceKey16());
        x.num(ra::WeekdayCode, r.weekday);
        x.num(raf::SpecialNo, r.specialNo);
        x.putWide(ra::RaceName, r.name);
        x.putWide(raf::Subtitle, {});
        x.putWide(raf::Bracket, {});
        x.put(raf::NameEn, r.nameEnglish);
        x.putWide(raf::Short10, cp932::firstChars(r.name, 10));
        x.putWide(raf::Short6, cp932::firstChars(r.name, 6));
        x.putWide(raf::Short3, cp932::firstChars(r.name, 3));
        x.num(raf::NameKind, r.name.isEmpty() ? 0 : 1);
        x.num(raf::Repeat, r.repeat);
        x.put(ra::GradeCode, r.grade);
        x.put(raf::GradeBefore, " ");
        x.put(ra::RaceTypeCode, r.typeCode);
        x.put(raf::Symbol, r.symbol);
        x.put(raf::WeightRule, r.weightRule);
        for (int i = 0; i < 5; ++i) x.put(raf::Condition[i], r.conditions[size_t(i)]);
        x.num(ra::Distance, r.distance);
        x.num(raf::DistanceBefore, 0);
        x.put(ra::TrackCode, r.track);
        x.num(raf::TrackBefore, 0);
        x.put(raf::Section, r.section);
        for (int i = 0; i < 7; ++i) x.num(raf::Prize[i], r.prizes[size_t(i)]);
        for (int i = 0; i < 5; ++i) {
            x.num(raf::PrizeBefore[i], 0);
            x.num(raf::Added[i], 0);
        }
        for (int i = 0; i < 3; ++i) x.num(raf::AddedBefore[i], 0);
        x.num(ra::StartTime, r.startTime);
        x.num(raf::StartBefore, 0);
        const bool results = kind == '7' || kind == 'A' || kind == 'B';
        const bool jump = r.surface == Jump;
        x.num(ra::RegisteredRunners, int(r.runs.size()));
        x.num(ra::Starters, results ? r.starters : int(r.runs.size()));
        x.num(ra::Finishers, results ? r.finishers : 0);
        x.num(ra::WeatherCode, results ? r.weather : 0);
        x.num(ra::TurfGoingCode, results ? r.turfGoing : 0);
        x.num(ra::DirtGoingCode, results ? r.dirtGoing : 0);
        for (int i = 0; i < 25; ++i) x.num(raf::Lap[i], results && i < int(r.laps.size()) ? r.laps[size_t(i)] : 0);
        x.put(raf::Mile, results && jump ? timeText(r.mile) : QByteArray("0000"));
        x.num(ra::First3F, results ? r.first3 : 0);
        x.num(raf::First4, results ? r.first4 : 0);
        x.num(ra::Last3F, results ? r.last3 : 0);
        x.num(raf::Last4, results ? r.last4 : 0);
        for (int c = 0; c < 4; ++c) {
            const bool used = results && !r.cornerText[size_t(c)].isEmpty();
            x.num(raf::Corner[c], used ? c + 1 : 0);
            x.num(raf::CornerLaps[c], used ? 1 : 0);
            x.put(raf::Passing[c], used ? r.cornerText[size_t(c)] : QByteArray());
        }
        x.num(raf::UpdateKind, 0);
        return x.b;
    }

    QByteArray se(const Race& r, const Run& run, char kind, const QDate& make) {
        const Horse& h = w.horses[size_t(run.horse)];
        const Person& trainer = w.trainers[size_t(h.trainer)];
        const bool announced = kind == '1';
        const bool results = kind == '7' || kind == 'A' || kind == 'B';
        const bool finished = results && run.abnormal == 0;
        Rec x(kSE);
        x.head("SE", kind, make);
        x.put(head::RaceKey16, r.raceKey16());
        x.num(se::FrameNumber, run.frame);
        x.num(se::HorseNumber, run.horseNo);
        x.put(se::RegistrationNumber, h.reg);
        x.put(se::HorseName, h.name.name);
        x.put(sef::Symbol, h.symbol);
        x.put(se::SexCode, QByteArray(1, h.sex));
        x.put(sef::Breed, "1");
        x.put(sef::Coat, h.coat);
        x.num(se::Age, run.age);
        x.num(sef::Affiliation, trainer.affiliation);
        x.put(se::TrainerCode, trainer.code);
        x.put(sef::TrainerShort, trainer.name.shortName);
        x.put(sef::OwnerCode, w.owners[size_t(h.owner)].code);
        x.put(sef::OwnerName, w.owners[size_t(h.owner)].name);
        x.put(sef::Colours, h.colours);
        // The first announcement names the first rider and weight; the final
        // entries name the current ones and keep the first as "before".
        const bool changed = run.jockeyBefore >= 0;
        const int jockey = announced && changed ? run.jockeyBefore : run.jockey;
        const int weight = announced && run.weightBefore ? run.weightBefore : run.weight;
        const Person& j = w.jockeys[size_t(jockey)];
        x.num(se::WeightCarried, weight);
        x.num(se::WeightCarriedBefore, !announced ? run.weightBefore : 0);
        x.num(sef::Blinker, run.blinker ? 1 : 0);
        x.put(se::JockeyCode, j.code);
        x.put(se::JockeyShortName, j.name.shortName);
        x.num(sef::Apprentice, announced && changed ? (r.grade == " " ? j.apprentice : 0) : run.apprentice);
        if (!announced && changed) {
            const Person& b = w.jockeys[size_t(run.jockeyBefore)];
            x.put(se::JockeyCodeBefore, b.code);
            x.put(se::JockeyShortNameBefore, b.name.shortName);
            x.num(sef::ApprenticeBefore, r.grade == " " ? b.apprentice : 0);
        } else {
            x.num(se::JockeyCodeBefore, 0);
            x.num(sef::ApprenticeBefore, 0);
        }
        if (results && run.abnormal != 1) {
            x.num(se::BodyWeight, run.bodyWeight);
            if (!run.firstStart) {
                x.put(sef::ChangeSign, run.bodyDelta > 0 ? "+" : run.bodyDelta < 0 ? "-" : " ");
                x.num(sef::Change, std::abs(run.bodyDelta));
            }
        }
        x.num(se::AbnormalityCode, results ? run.abnormal : 0);
        x.num(se::ArrivalOrder, finished ? run.arrival : 0);
        x.num(se::ConfirmedPosition, finished ? run.confirmed : 0);
        x.num(se::DeadHeatKind, finished && run.deadHeat ? 1 : 0);
        x.num(sef::DeadHeatCount, finished ? run.deadHeat : 0);
        x.put(se::Time, finished ? timeText(run.time) : QByteArray("0000"));
        if (finished) x.put(sef::Margin, run.margin);
        for (int c = 0; c < 4; ++c) x.num(sef::Corner[c], finished ? run.corners[size_t(c)] : 0);
        x.num(se::WinOdds, results && run.abnormal != 1 ? run.odds : 0);
        x.num(se::WinPopularity, results && run.abnormal != 1 ? run.popularity : 0);
        x.num(sef::Prize, results ? run.prize : 0);
        x.num(sef::Added, 0);
        x.num(sef::Last4, finished && r.surface != Jump ? run.l4 : 0);
        x.num(se::Last3F, finished ? run.l3 : 0);
        if (results)
            for (size_t i = 0; i < run.beaten.size(); ++i) {
                const Horse& o = w.horses[size_t(r.runs[size_t(run.beaten[i])].horse)];
                x.put(sef::BeatenReg[int(i)], o.reg);
                x.put(sef::BeatenName[int(i)], o.name.name);
            }
        x.put(se::TimeDifference, results ? run.timeDiff : QByteArray("0000"));
        x.num(sef::UpdateKind, 0);
        if (announced) {
            x.num(sef::MiningKind, 0);
            x.num(sef::MiningTime, 0);
            x.num(sef::MiningPlus, 0);
            x.num(sef::MiningMinus, 0);
            x.num(sef::MiningOrder, 0);
        } else {
            int order = 1;
            for (const Run& o : r.runs) order += o.mining < run.mining || (o.mining == run.mining && o.horseNo < run.horseNo);
            const int centi = run.mining;
            x.num(sef::MiningKind, 1);
            x.put(sef::MiningTime, digits(centi / 6000, 1) + digits(centi % 6000, 4));
            x.num(sef::MiningPlus, 30 + (run.mining % 70));
            x.num(sef::MiningMinus, 20 + (run.mining % 50));
            x.num(sef::MiningOrder, order);
        }
        x.num(sef::Style, finished ? run.style + 1 : 0);
        return x.b;
    }

    QByteArray hr(const Race& r, const RaceOdds& ro, char kind, const QDate& make) {
        Rec x(kHR);
        x.head("HR", kind, make);
        x.put(head::RaceKey16, r.raceKey16());
        x.num(hr::RegisteredRunners, int(r.runs.size()));
        x.num(hrf::Starters, r.starters);
        bool refund = false;
        for (int i = 0; i < 9; ++i) {
            x.num(hrf::NotEstablished[i], 0);
            x.num(hrf::Special[i], 0);
        }
        for (int h = 1; h <= 28; ++h) {
            const bool out = h <= 18 && (ro.state[size_t(h)] == -1 || ro.state[size_t(h)] == -2);
            refund |= out;
            x.num(hrf::RefundHorse[h - 1], out ? 1 : 0);
        }
        for (int i = 0; i < 9; ++i) x.num(hrf::Refund[i], refund && i != 5 ? 1 : 0);
        for (int f = 1; f <= 8; ++f) {
            x.num(hrf::RefundFrame[f - 1], ro.frameSize[size_t(f)] > 0 && ro.frameStarters[size_t(f)] == 0 ? 1 : 0);
            x.num(hrf::RefundSameFrame[f - 1],
                  ro.bracketSold && ro.frameSize[size_t(f)] >= 2 && ro.frameStarters[size_t(f)] < 2 ? 1 : 0);
        }
        const auto claims = slotsOf(r);
        auto no = [&](int run) { return r.runs[size_t(run)].horseNo; };
        auto slot = [&](int s) -> const std::vector<int>& {
            static const std::vector<int> none;
            return s < int(claims.size()) ? claims[size_t(s)] : none;
        };
        auto put = [&](const hrf::Pay& row, int i, QByteArrayView comb, int pay, int pop) {
            x.put(row.comb[i], comb);
            x.num(row.pay[i], pay);
            x.num(row.pop[i], pop);
        };
        auto putHorse = [&](const hrf::Pay& row, int i, int horse, int pay, int pop) {
            x.num(row.comb[i], horse);
            x.num(row.pay[i], pay);
            x.num(row.pop[i], pop);
        };
        // Win and place.
        int k = 0;
        for (int a : slot(0))
            if (k < 3) putHorse(hrf::Win, k++, no(a), ro.win.odds[size_t(no(a) - 1)] * 10, ro.win.popularity(no(a) - 1));
        std::vector<int> placed;
        for (int s = 0; s < ro.places; ++s)
            for (int a : slot(s))
                if (std::find(placed.begin(), placed.end(), a) == placed.end()) placed.push_back(a);
        k = 0;
        for (int a : placed)
            if (k < 5) putHorse(hrf::Place, k++, no(a), ro.place.odds[size_t(no(a) - 1)] * 10, ro.place.popularity(no(a) - 1));
        // Pairs and triples that can take distinct finishing claims.
        std::set<std::array<int, 2>> quin, ex, wideSet;
        std::set<std::array<int, 3>> tri, tfa;
        for (int a : slot(0))
            for (int b : slot(1))
                if (a != b) {
                    ex.insert({no(a), no(b)});
                    quin.insert({std::min(no(a), no(b)), std::max(no(a), no(b))});
                }
        for (int s1 = 0; s1 < 3; ++s1)
            for (int s2 = s1 + 1; s2 < 3; ++s2)
                for (int a : slot(s1))
                    for (int b : slot(s2))
                        if (a != b) wideSet.insert({std::min(no(a), no(b)), std::max(no(a), no(b))});
        for (int a : slot(0))
            for (int b : slot(1))
                for (int c : slot(2))
                    if (a != b && a != c && b != c) {
                        tfa.insert({no(a), no(b), no(c)});
                        std::array<int, 3> t{no(a), no(b), no(c)};
                        std::sort(t.begin(), t.end());
                        tri.insert(t);
                    }
        if (ro.bracketSold) {
            std::set<std::array<int, 2>> frames;
            for (const auto& q : quin) {
                const int f = r.runs[size_t(q[0] - 1)].frame, g = r.runs[size_t(q[1] - 1)].frame;
                frames.insert({std::min(f, g), std::max(f, g)});
            }
            k = 0;
            for (const auto& f : frames)
                if (k < 3) {
                    const int i = bracketIndex(f[0], f[1]);
                    put(hrf::Bracket, k++, digits(f[0], 1) + digits(f[1], 1), ro.bracket.odds[size_t(i)] * 10,
                        ro.bracket.popularity(i));
                }
        }
        k = 0;
        for (const auto& q : quin)
            if (k < 3) {
                const int i = pairIndex(q[0], q[1]);
                put(hrf::Quinella, k++, digits(q[0], 2) + digits(q[1], 2), ro.quinella.odds[size_t(i)] * 10, ro.quinella.popularity(i));
            }
        k = 0;
        for (const auto& q : wideSet)
            if (k < 7) {
                const int i = pairIndex(q[0], q[1]);
                put(hrf::Wide, k++, digits(q[0], 2) + digits(q[1], 2), ro.wide.odds[size_t(i)] * 10, ro.wide.popularity(i));
            }
        k = 0;
        for (const auto& q : ex)
            if (k < 6) {
                const int i = orderedIndex(q[0], q[1]);
                put(hrf::Exacta, k++, digits(q[0], 2) + digits(q[1], 2), ro.exacta.odds[size_t(i)] * 10, ro.exacta.popularity(i));
            }
        k = 0;
        for (const auto& t : tri)
            if (k < 3) {
                const int i = trioIndex(t[0], t[1], t[2]);
                put(hrf::Trio, k++, digits(t[0], 2) + digits(t[1], 2) + digits(t[2], 2), ro.trio.odds[size_t(i)] * 10,
                    ro.trio.popularity(i));
            }
        k = 0;
        for (const auto& t : tfa)
            if (k < 6) {
                const int i = tripleIndex(t[0], t[1], t[2]);
                put(hrf::Trifecta, k++, digits(t[0], 2) + digits(t[1], 2) + digits(t[2], 2), ro.trifecta.odds[size_t(i)] * 10,
                    ro.trifecta.popularity(i));
            }
        return x.b;
    }

    // Odds records, as announced two minutes before the start.
    void oddsHead(Rec& x, const Race& r, const RaceOdds& ro, const QDate& make) {
        x.head(x.b.left(2), '1', make);
        x.put(head::RaceKey16, r.raceKey16());
        int minutes = (r.startTime / 100) * 60 + r.startTime % 100 - 2;
        x.put(findField(kO2, "announcement", "month"), digits(r.date.month(), 2));
        x.put(findField(kO2, "announcement", "day"), digits(r.date.day(), 2));
        x.put(findField(kO2, "announcement", "hour"), digits(minutes / 60, 2));
        x.put(findField(kO2, "announcement", "minute"), digits(minutes % 60, 2));
        x.num(findField(kO2, "registered runners"), ro.n);
        x.num(findField(kO2, "starters"), ro.starters);
    }

    QByteArray o1(const Race& r, const RaceOdds& ro) {
        Rec x(kO1);
        x.b.replace(0, 2, "O1");
        oddsHead(x, r, ro, r.date);
        x.num(findField(kO1, "sale flag win"), 7);
        x.num(findField(kO1, "sale flag place"), 7);
        x.num(findField(kO1, "sale flag bracket quinella"), ro.bracketSold ? 7 : 0);
        x.num(findField(kO1, "place paying places key"), ro.places);
        for (int i = 0; i < 28; ++i) {
            const int h = i + 1;
            if (h > 18 || ro.state[size_t(h)] == -3) continue;
            x.num(o1f::WinHorse[i], h);
            x.put(o1f::WinOdds[i], oddsText(ro.win.odds[size_t(i)], 4));
            x.put(o1f::WinPop[i], popText(ro.win, i, 2));
            x.num(o1f::PlaceHorse[i], h);
            x.put(o1f::PlaceLow[i], oddsText(ro.placeLo.odds[size_t(i)], 4));
            x.put(o1f::PlaceHigh[i], oddsText(ro.placeHi.odds[size_t(i)], 4));
            x.put(o1f::PlacePop[i], popText(ro.place, i, 2));
        }
        if (ro.bracketSold) {
            int k = 0;
            for (int f = 1; f <= 8; ++f)
                for (int g = f; g <= 8; ++g, ++k) {
                    x.put(o1f::BracketComb[k], digits(f, 1) + digits(g, 1));
                    x.put(o1f::BracketOdds[k], oddsText(ro.bracket.odds[size_t(k)], 5));
                    x.put(o1f::BracketPop[k], popText(ro.bracket, k, 2));
                }
        }
        const qint64 base = 1000000 + qint64(r.raceNo) * 137731 + qint64(r.course) * 91813 + ro.n * 7919;
        x.num(findField(kO1, "win votes total"), base * 3);
        x.num(findField(kO1, "place votes total"), base * 4);
        x.num(findField(kO1, "bracket quinella votes total"), ro.bracketSold ? base : 0);
        return x.b;
    }

    template <typename Combos, typename Text>
    QByteArray multi(const Layout& L, const char* code, const Race& r, const RaceOdds& ro, const Book& book, const Combos& combos,
                     Text combText, qint64 votes) {
        Rec x(L);
        x.b.replace(0, 2, code);
        oddsHead(x, r, ro, r.date);
        x.num(findField(L, "sale flag"), 7);
        const Field c0 = odds::Combination(L, 0), c1 = odds::Combination(L, 1);
        const Field o0 = odds::Odds(L, 0), p0 = odds::Popularity(L, 0);
        const int stride = c1.pos - c0.pos;
        for (int i = 0; i < int(combos.size()); ++i) {
            if (book.odds[size_t(i)] == -3) continue;  // a horse number beyond the runners
            putFixed(x.b, c0.pos + i * stride, c0.width, combText(combos[size_t(i)]));
            putFixed(x.b, o0.pos + i * stride, o0.width, oddsText(book.odds[size_t(i)], o0.width));
            putFixed(x.b, p0.pos + i * stride, p0.width, popText(book, i, p0.width));
        }
        x.num(findField(L, "votes total"), votes);
        return x.b;
    }

    std::array<QByteArray, 5> oddsRecords(const Race& r, const RaceOdds& ro) {
        const Orders& O = orders();
        auto two = [](const std::array<int, 2>& c) { return digits(c[0], 2) + digits(c[1], 2); };
        auto three = [](const std::array<int, 3>& c) { return digits(c[0], 2) + digits(c[1], 2) + digits(c[2], 2); };
        const qint64 base = 2000000 + qint64(r.raceNo) * 211151 + qint64(r.course) * 70001 + ro.n * 1009;
        return {o1(r, ro), multi(kO2, "O2", r, ro, ro.quinella, O.pairs, two, base * 5),
                multi(kO4, "O4", r, ro, ro.exacta, O.ordered, two, base * 4),
                multi(kO5, "O5", r, ro, ro.trio, O.trios, three, base * 6),
                multi(kO6, "O6", r, ro, ro.trifecta, O.triples, three, base * 11)};
    }

    QByteArray um(const Horse& h, const QDate& make) {
        Rec x(kUM);
        x.head("UM", h.retired ? '9' : '2', make);
        x.put(um::RegistrationNumber, h.reg);
        x.num(umf::DeleteKind, h.retired ? 1 : 0);
        x.put(umf::RegDate, dateText(QDate(h.birthYear + 2, 4, 1).addDays(h.reg.right(2).toInt())));
        x.put(umf::DeleteDate, h.retired ? dateText(h.retiredOn) : QByteArray("00000000"));
        x.put(um::BirthDate, dateText(h.birth));
        x.put(um::HorseName, h.name.name);
        x.put(umf::Kana, h.name.kana);
        x.put(umf::English, h.name.english);
        x.num(umf::InTraining, h.retired ? 0 : 1);
        x.put(umf::Symbol, h.symbol);
        x.put(umf::Sex, QByteArray(1, h.sex));
        x.put(umf::Breed, "1");
        x.put(umf::Coat, h.coat);
        // Three generations: sire, dam, their parents, then the eight
        // great-grandparents in the same order.
        const Ancestor& S = w.ancestors[size_t(w.sires[size_t(h.sire)].anc)];
        const Ancestor& D = w.ancestors[size_t(w.dams[size_t(h.dam)].anc)];
        auto anc = [&](int i) -> const Ancestor* { return i >= 0 ? &w.ancestors[size_t(i)] : nullptr; };
        const Ancestor* g[4] = {anc(S.sire), anc(S.dam), anc(D.sire), anc(D.dam)};
        const Ancestor* line[14] = {&S, &D, g[0], g[1], g[2], g[3], nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
        for (int k = 0; k < 4; ++k) {
            line[6 + 2 * k] = g[k] ? anc(g[k]->sire) : nullptr;
            line[7 + 2 * k] = g[k] ? anc(g[k]->dam) : nullptr;
        }
        for (int i = 0; i < 14; ++i) {
            x.put(um::PedigreeNumber(i), line[i] ? line[i]->no : QByteArray("0000000000"));
            if (line[i]) x.put(um::PedigreeName(i), line[i]->name);
        }
        const Person& t = w.trainers[size_t(h.trainer)];
        x.num(umf::Affiliation, t.affiliation);
        x.put(um::TrainerCode, t.code);
        x.put(umf::TrainerShort, t.name.shortName);
        if (h.symbol == "04") x.put(umf::Invited, cp932::encode(localArea(int(h.reg.right(1).toInt()))));
        const Named& b = w.breeders[size_t(h.breeder)];
        x.put(umf::BreederCode, b.code);
        x.put(umf::BreederName, b.name);
        x.put(umf::Area, b.area);
        x.put(umf::OwnerCode, w.owners[size_t(h.owner)].code);
        x.put(umf::OwnerName, w.owners[size_t(h.owner)].name);
        x.num(umf::FlatPrize, h.flatPrize);
        x.num(umf::JumpPrize, h.jumpPrize);
        x.num(umf::FlatAdded, 0);
        x.num(umf::JumpAdded, 0);
        x.num(umf::FlatEarn, h.flatPrize + h.flatPrize / 10);
        x.num(umf::JumpEarn, h.jumpPrize + h.jumpPrize / 10);
        for (int i = 0; i < 6; ++i) {
            x.num(nth(umf::Overall, i), h.placings[size_t(i)]);
            x.num(nth(umf::Jra, i), h.placings[size_t(i)]);
        }
        for (int i = 0; i < 42; ++i) x.num(nth(umf::ByTrack, i), h.byTrack[size_t(i)]);
        for (int i = 0; i < 72; ++i) x.num(nth(umf::ByGoing, i), h.byGoing[size_t(i)]);
        for (int i = 0; i < 36; ++i) x.num(nth(umf::ByDistance, i), h.byDistance[size_t(i)]);
        for (int i = 0; i < 4; ++i) x.num(nth(umf::Styles, i), h.styles[size_t(i)]);
        x.num(umf::Count, std::min(999, h.starts));
        return x.b;
    }
};

}  // namespace

QByteArray ksRecord(const World& w, const Person& j, const QDate& make, std::uint64_t salt) {
    Rng rng(salt);
    Rec x(kKS);
    x.head("KS", j.retiredOn.isValid() ? '1' : '2', make);
    x.put(ks::JockeyCode, j.code);
    x.num(ksf::DeleteKind, j.retiredOn.isValid() ? 1 : 0);
    x.put(ksf::Licence, dateText(j.licence));
    x.put(ksf::LicenceEnd, j.retiredOn.isValid() ? dateText(j.retiredOn) : QByteArray("00000000"));
    x.put(ks::BirthDate, dateText(j.birth));
    x.put(ksf::Name, j.name.full);
    x.put(ksf::Kana, j.name.kana);
    x.put(ksf::Short, j.name.shortName);
    x.put(ksf::English, j.name.english);
    x.num(ks::SexCode, j.sex);
    x.num(ks::RidingQualification, j.qualification);
    x.num(ksf::Apprentice, j.apprentice);
    x.num(ksf::Affiliation, j.affiliation);
    x.put(ks::InvitedAreaName, j.invitedArea);
    if (j.trainer >= 0) {
        x.put(ksf::TrainerCode, w.trainers[size_t(j.trainer)].code);
        x.put(ksf::TrainerShort, w.trainers[size_t(j.trainer)].name.shortName);
    } else {
        x.num(ksf::TrainerCode, 0);
    }
    // First rides and wins: a race shortly after the licence.
    const int years = std::max(1, (j.retiredOn.isValid() ? j.retiredOn.year() : 2024) - j.licence.year());
    for (int g = 0; g < 2; ++g) {
        const bool rideJumps = j.qualification != 2;
        const bool has = g == 0 ? j.qualification != 3 : rideJumps;
        for (int kind = 0; kind < 2; ++kind) {
            const char* row = kind == 0 ? "first rides" : "first wins";
            if (!has) {
                x.num(ksf::sub(row, "race key", g), 0);
                x.num(ksf::sub(row, "starters", g), 0);
                x.num(ksf::sub(row, "registration number", g), 0);
                if (kind == 0) x.num(ksf::sub(row, "confirmed position", g), 0), x.num(ksf::sub(row, "abnormality code", g), 0);
                continue;
            }
            const QDate d = j.licence.addDays(7 * (kind * 8 + g * 40 + rng.range(1, 6)));
            const QByteArray key = dateText(d) + digits(rng.range(1, 10), 2) + digits(rng.range(1, 5), 2) +
                                   digits(rng.range(1, 8), 2) + digits(rng.range(1, 12), 2);
            x.put(ksf::sub(row, "race key", g), key);
            x.num(ksf::sub(row, "starters", g), rng.range(8, 16));
            x.put(ksf::sub(row, "registration number", g), digits(d.year() - 3, 4) + digits(100000 + rng.below(800000), 6));
            x.put(ksf::sub(row, "horse name", g), w.horses[size_t(rng.below(int(w.horses.size())))].name.name);
            if (kind == 0) {
                x.num(ksf::sub(row, "confirmed position", g), rng.range(1, 14));
                x.num(ksf::sub(row, "abnormality code", g), 0);
            }
        }
    }
    // Graded wins: the better riders have some.
    const int graded = j.skill > 0.8 ? 3 : j.skill > 0.4 ? 1 : 0;
    for (int i = 0; i < 3; ++i) {
        if (i >= graded) {
            x.num(ksf::sub("latest graded wins", "race key", i), 0);
            x.num(ksf::sub("latest graded wins", "starters", i), 0);
            x.num(ksf::sub("latest graded wins", "registration number", i), 0);
            continue;
        }
        const QDate d = QDate(2024 - i, rng.range(1, 11), 1).addDays(rng.below(27));
        x.put(ksf::sub("latest graded wins", "race key", i),
              dateText(d) + digits(rng.range(1, 10), 2) + digits(rng.range(1, 5), 2) + digits(rng.range(1, 8), 2) + "11");
        const QByteArray name = cp932::encode(specialRaceName(rng.below(specialRaceNameCount())));
        x.put(ksf::sub("latest graded wins", "race name", i), name);
        x.put(ksf::sub("latest graded wins", "short race name 10", i), cp932::firstChars(name, 10));
        x.put(ksf::sub("latest graded wins", "short race name 6", i), cp932::firstChars(name, 6));
        x.put(ksf::sub("latest graded wins", "short race name 3", i), cp932::firstChars(name, 3));
        x.put(ksf::sub("latest graded wins", "grade code", i), QByteArray(1, "ABC"[rng.below(3)]));
        x.num(ksf::sub("latest graded wins", "starters", i), rng.range(10, 18));
        x.put(ksf::sub("latest graded wins", "registration number", i), digits(d.year() - 4, 4) + digits(100000 + rng.below(800000), 6));
        x.put(ksf::sub("latest graded wins", "horse name", i), w.horses[size_t(rng.below(int(w.horses.size())))].name.name);
    }
    // Accumulated results: this year, last year, all years. The best riders'
    // career prize money needs all ten digits.
    const double level = std::exp(j.skill);
    for (int g = 0; g < 3; ++g) {
        const bool all = g == 2;
        const int span = all ? years : 1;
        const bool ridden = all || (!j.retiredOn.isValid() || j.retiredOn.year() >= 2024 - g);
        const int rides = ridden ? int(span * 380 * (0.5 + 0.5 * level) * (j.qualification == 3 ? 0.2 : 1.0)) : 0;
        const int jumpRides = j.qualification == 2 ? 0 : rides / (j.qualification == 3 ? 1 : 20);
        const ksf::Acc& A = ksf::kAcc[g];
        x.num(A.year, all ? 0 : 2024 - g);
        qint64 flatMoney = qint64(double(rides - jumpRides) * 95000.0 * level);
        if (all && j.skill > 1.0) flatMoney = 1000000000 + qint64(rng.below(900000)) * 2000 + qint64(j.skill * 1e8);
        x.num(A.flat, std::min<qint64>(flatMoney, 9999999999));
        x.num(A.jump, qint64(jumpRides) * 120000);
        x.num(A.flatAdded, flatMoney / 40);
        x.num(A.jumpAdded, 0);
        auto counts = [&](int n, double strength) {
            std::array<int, 6> c{};
            int left = n;
            const double p[5] = {0.07 * strength, 0.07 * strength, 0.075 * strength, 0.08, 0.08};
            for (int i = 0; i < 5; ++i) {
                c[size_t(i)] = std::min(left, int(n * std::min(0.3, p[i])));
                left -= c[size_t(i)];
            }
            c[5] = left;
            return c;
        };
        const auto flat = counts(rides - jumpRides, level), jump = counts(jumpRides, 1.0);
        for (int i = 0; i < 6; ++i) {
            x.num(nth(A.flatCounts, i), flat[size_t(i)]);
            x.num(nth(A.jumpCounts, i), jump[size_t(i)]);
        }
        const auto byCourse = counts((rides - jumpRides) / 10, level);
        for (int c = 0; c < 20; ++c)
            for (int i = 0; i < 6; ++i) x.num(nth(A.byCourse, c * 6 + i), c < 10 ? byCourse[size_t(i)] : 0);
        const auto byDist = counts((rides - jumpRides) / 6, level);
        for (int d = 0; d < 6; ++d)
            for (int i = 0; i < 6; ++i) x.num(nth(A.byDistance, d * 6 + i), byDist[size_t(i)]);
    }
    return x.b;
}

void emitJvData(const World& w, Scenario scenario, Output& out, Summary& sum) {
    Emitter e{w, out};
    const QDate firstDay = w.weekDates.front(), lastDay = w.weekDates.back();
    const QDate announced = firstDay.addDays(-2);   // Thursday: entries announced (kind 1)
    const QDate finalEntries = firstDay.addDays(-1);  // Friday: final entries (kind 2)
    const QDate official = lastDay.addDays(1);      // the day after the last race day: official results
    const QDate masters = announced;
    auto stamp = [](const QDate& d) { return QString::fromLatin1(dateText(d)); };
    auto mondayAfter = [](const QDate& d) { return d.addDays((8 - d.dayOfWeek()) % 7 == 0 ? 7 : (8 - d.dayOfWeek()) % 7); };

    // RACE: the past by month, then the week's announcements, final entries
    // and (on Monday) official results, so the week's records come last.
    for (const Race& r : w.past) {
        const QString month = QString::fromLatin1(dateText(r.date).left(6));
        const QDate make = mondayAfter(r.date);
        const QString base = QStringLiteral("JVDATA/RACE/") + month;
        out.add(base + QStringLiteral("-1RA.jvd"), e.ra(r, r.dataKind, make), QStringLiteral("RACE/RA"));
        for (const Run& run : r.runs) out.add(base + QStringLiteral("-2SE.jvd"), e.se(r, run, r.dataKind, make), QStringLiteral("RACE/SE"));
        // No payoffs of past races: the week's download carries the payoffs
        // of the week's races only, which ④ and the results mode take as
        // the list of the week's races.
        sum.pastRuns += int(r.runs.size());
    }
    sum.pastRaces = int(w.past.size());
    const QString early = QStringLiteral("JVDATA/RACE/") + stamp(announced);
    const QString entries = QStringLiteral("JVDATA/RACE/") + stamp(finalEntries);
    const QString results = QStringLiteral("JVDATA/RACE/") + stamp(official);
    for (const Race& r : w.week)
        if (r.announcedEarly) {
            out.add(early + QStringLiteral("-1RA.jvd"), e.ra(r, '1', announced), QStringLiteral("RACE/RA"));
            for (const Run& run : r.runs) out.add(early + QStringLiteral("-2SE.jvd"), e.se(r, run, '1', announced), QStringLiteral("RACE/SE"));
        }
    // After the weekend the stored data knows the cancelled race: its final
    // entries are delivered as they stand since the race day, data kind "9",
    // as the flash feed had them.
    for (const Race& r : w.week) {
        const bool known = scenario == Scenario::Monday && r.cancelled;
        const char kind = known ? '9' : '2';
        const QDate made = known ? r.date : finalEntries;
        out.add(entries + QStringLiteral("-1RA.jvd"), e.ra(r, kind, made), QStringLiteral("RACE/RA"));
        for (const Run& run : r.runs) out.add(entries + QStringLiteral("-2SE.jvd"), e.se(r, run, kind, made), QStringLiteral("RACE/SE"));
    }
    std::vector<RaceOdds> weekOdds;
    for (const Race& r : w.week) weekOdds.push_back(oddsOf(r, true));
    if (scenario == Scenario::Monday)
        for (size_t i = 0; i < w.week.size(); ++i) {
            const Race& r = w.week[i];
            if (r.cancelled) continue;  // no results: its entries say so
            out.add(results + QStringLiteral("-1RA.jvd"), e.ra(r, '7', official), QStringLiteral("RACE/RA"));
            for (const Run& run : r.runs) out.add(results + QStringLiteral("-2SE.jvd"), e.se(r, run, '7', official), QStringLiteral("RACE/SE"));
            out.add(results + QStringLiteral("-3HR.jvd"), e.hr(r, weekOdds[i], '2', official), QStringLiteral("RACE/HR"));
        }

    // TCVN: every horse; RCVN: every active rider.
    std::vector<int> order(w.horses.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = int(i);
    std::sort(order.begin(), order.end(), [&](int a, int b) { return w.horses[size_t(a)].reg < w.horses[size_t(b)].reg; });
    for (size_t k = 0; k < order.size(); ++k) {
        const Horse& h = w.horses[size_t(order[k])];
        const QString file = QStringLiteral("JVDATA/TCVN/") + stamp(masters) + QStringLiteral("-UM%1.jvd").arg(k / 1000 + 1, 2, 10, QLatin1Char('0'));
        out.add(file, e.um(h, masters), QStringLiteral("TCVN/UM"));
        sum.horses.append(h.reg);
        if (h.retired) sum.retiredHorses.append(h.reg);
    }
    for (size_t j = 0; j < w.jockeys.size(); ++j) {
        const Person& p = w.jockeys[j];
        if (p.retiredOn.isValid()) continue;
        out.add(QStringLiteral("JVDATA/RCVN/") + stamp(masters) + QStringLiteral("-KS.jvd"), ksRecord(w, p, masters, w.opt.seed * 131 + j),
                QStringLiteral("RCVN/KS"));
        sum.jockeys.append(p.code);
    }

    // TOKU: special registrations, which the system does not read.
    const QDate tokuDate = firstDay.addDays(-12);
    for (const Race& r : w.week)
        if (!r.name.isEmpty()) {
            QByteArray tk(21657, ' ');
            tk.replace(0, 2, "TK");
            tk[2] = '1';
            tk.replace(3, 8, dateText(tokuDate));
            tk.replace(11, 16, r.raceKey16());
            tk[27] = char('0' + r.weekday);
            tk.replace(28, 4, digits(r.specialNo, 4));
            tk.replace(32, 60, fixedBytes(r.name, 60));
            tk[21655] = '\r';
            tk[21656] = '\n';
            out.add(QStringLiteral("JVDATA/TOKU/") + stamp(tokuDate) + QStringLiteral("-TK.jvd"), tk, QStringLiteral("TOKU/TK"));
        }

    // Odds of the week: TCOV holds win to trio, RCOV the trifectas; the flash
    // feed has all five per race.
    for (size_t i = 0; i < w.week.size(); ++i) {
        const Race& r = w.week[i];
        const auto rec = e.oddsRecords(r, weekOdds[i]);
        static const char* kKinds[] = {"O1", "O2", "O4", "O5", "O6"};
        for (int k = 0; k < 5; ++k) {
            const QString kind = QString::fromLatin1(kKinds[k]);
            const QString folder = k == 4 ? QStringLiteral("RCOV") : QStringLiteral("TCOV");
            out.add(QStringLiteral("JVDATA/") + folder + QLatin1Char('/') + stamp(r.date) + QLatin1Char('-') + kind + QStringLiteral(".jvd"),
                    rec[size_t(k)], folder + QLatin1Char('/') + kind);
            out.add(QStringLiteral("JVDATA/0B30/") + QString::fromLatin1(r.raceKey16()) + QStringLiteral(".jvd"), rec[size_t(k)],
                    QStringLiteral("0B30/") + kind);
        }
    }

    // Flash results per race day; one race of the first day is cancelled.
    for (size_t i = 0; i < w.week.size(); ++i) {
        const Race& r = w.week[i];
        const QString file = QStringLiteral("JVDATA/0B12/") + stamp(r.date) + QStringLiteral(".jvd");
        const char kind = r.cancelled ? '9' : '7';
        out.add(file, e.ra(r, kind, r.date), QStringLiteral("0B12/RA"));
        for (const Run& run : r.runs) out.add(file, e.se(r, run, kind, r.date), QStringLiteral("0B12/SE"));
        if (!r.cancelled) out.add(file, e.hr(r, weekOdds[i], '1', r.date), QStringLiteral("0B12/HR"));
    }

    // The summary of the week.
    for (const QDate& d : w.weekDates) sum.raceDates.append(dateText(d));
    for (const Race& r : w.week) {
        WeekRace wr;
        wr.raceKey16 = r.raceKey16();
        wr.raceId = r.raceId();
        wr.date = dateText(r.date);
        wr.course = r.courseCode();
        wr.dayIndex = r.weekDay;
        wr.raceNumber = r.raceNo;
        wr.runners = int(r.runs.size());
        wr.distance = r.distance;
        wr.trackCode = r.track;
        wr.announcedEarly = r.announcedEarly;
        wr.cancelled = r.cancelled;
        wr.deadHeat = r.deadHeat;
        for (const Run& run : r.runs)
            if (run.abnormal == 1) wr.scratched = run.horseNo;
        wr.scratchOdds = r.scratchKind == 1 ? "-" : r.scratchKind == 2 ? "*" : "";
        sum.weekRaces.append(wr);
        for (const Run& run : r.runs) sum.weekHorses.append(w.horses[size_t(run.horse)].reg);
    }
    if (w.pastDeadHeat >= 0) sum.pastDeadHeatRace = w.past[size_t(w.pastDeadHeat)].raceKey16();
}

}  // namespace rw::sample::detail
