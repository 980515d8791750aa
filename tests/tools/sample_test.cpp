// The synthetic week generator: every record it writes is one the system's
// parsers take to its published length and re-image byte for byte, the same
// seed gives the same bytes, and the week holds together (runners with
// masters, payouts that follow the finishing order, odds for every race).
#include "common/cp932.h"
#include "jvdata/records.h"
#include "sample/generator.h"
#include "sample/world.h"
#include "support/driver.h"
#include "support/test_support.h"

#include <QDate>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>

using namespace rw;
using namespace rw::jv;
using rw::sample::Scale;
using rw::sample::Scenario;

namespace {

// ---- One generation per scale and scenario per test process ----------------

struct Generated {
    QTemporaryDir dir;
    sample::Summary summary;
    QString path(const QString& rel) const { return dir.path() + QLatin1Char('/') + rel; }
};

const Generated& generated(Scale scale, Scenario scenario, std::uint64_t seed = 1) {
    static std::map<std::tuple<int, int, std::uint64_t>, std::unique_ptr<Generated>> cache;
    auto& slot = cache[{int(scale), int(scenario), seed}];
    if (!slot) {
        slot = std::make_unique<Generated>();
        slot->summary = sample::generate({scale, scenario, seed}, slot->dir.path());
    }
    return *slot;
}

using rwtest::readFile;
using rwtest::splitRecords;

QByteArray item(const QByteArray& r, Field f) { return r.mid(f.pos - 1, f.width); }
int num(const QByteArray& r, Field f) { return item(r, f).trimmed().toInt(); }

// Every record of the week's delivery, in delivery order, with its folder.
struct Delivered {
    QString folder, file;
    QByteArray rec;
};

std::vector<Delivered> deliver(const Generated& g, const QStringList& folders) {
    std::vector<Delivered> out;
    for (const QString& folder : folders) {
        QDir d(g.path(QStringLiteral("JVDATA/") + folder));
        for (const QString& name : d.entryList({QStringLiteral("*.jvd")}, QDir::Files, QDir::Name))
            for (QByteArray& r : splitRecords(readFile(d.filePath(name)))) out.push_back({folder, name, std::move(r)});
    }
    return out;
}

QStringList allFolders() {
    return {QStringLiteral("TOKU"), QStringLiteral("RACE"), QStringLiteral("TCVN"), QStringLiteral("RCVN"), QStringLiteral("TCOV"),
            QStringLiteral("RCOV"), QStringLiteral("0B30"), QStringLiteral("0B12")};
}

// Problems are collected and shown a few at a time, so that a broken
// generation does not print thousands of lines.
struct Problems {
    std::vector<std::string> list;
    void add(const std::string& s) { list.push_back(s); }
    void check(bool ok, const std::string& s) {
        if (!ok) add(s);
    }
    std::string text() const {
        std::string t;
        for (size_t i = 0; i < list.size() && i < 12; ++i) t += list[i] + "\n";
        return t + std::to_string(list.size()) + " problem(s)";
    }
};

std::string str(const QByteArray& b) { return b.toStdString(); }

// ---- Parsing and re-imaging ------------------------------------------------

void checkRecordsReimage(const Generated& g, Problems& bad) {
    for (const Delivered& d : deliver(g, allFolders())) {
        const QByteArray& r = d.rec;
        const std::string where = d.file.toStdString() + " " + str(r.left(2));
        if (r.startsWith("TK")) continue;  // a kind the system drops
        const std::optional<Kind> k = kindOf(r);
        if (!k) {
            bad.add(where + ": unknown kind");
            continue;
        }
        const Layout& L = layout(*k);
        bad.check(r.size() == L.length, where + ": length " + std::to_string(r.size()));
        bad.check(r.endsWith("\r\n"), where + ": no CR LF");
        switch (*k) {
        case Kind::RA:
        case Kind::SE:
        case Kind::HR:
        case Kind::UM: bad.check(ToFixed(*k, r) == r, where + " does not re-image"); break;
        case Kind::KS: {
            ParsedKS p;
            ParseKS(r, p);
            const QByteArray img = ToFixedKS(p);
            bad.check(img.size() == 4161 && img.left(1015) == r.left(1015) && img.endsWith("\r\n"), where + ": bad KS image");
            // Items re-imaged one by one give the image again.
            QByteArray again(4161, ' ');
            for (const Field& f : flatItems(Kind::KS)) again.replace(f.imagePos - 1, f.imageWidth, item(r, f).left(f.imageWidth));
            bad.check(again == img, where + ": KS image differs from its items");
            break;
        }
        default: {
            // Odds records are kept as lines: the parser holds them whole,
            // and the items of the layout tile them (checked by the build).
            QByteArray held;
            switch (*k) {
            case Kind::O1: { ParsedO1 p; ParseO1(r, p); held = p.bytes; break; }
            case Kind::O2: { ParsedO2 p; ParseO2(r, p); held = p.bytes; break; }
            case Kind::O4: { ParsedO4 p; ParseO4(r, p); held = p.bytes; break; }
            case Kind::O5: { ParsedO5 p; ParseO5(r, p); held = p.bytes; break; }
            default: { ParsedO6 p; ParseO6(r, p); held = p.bytes; break; }
            }
            bad.check(held == r, where + ": the parser does not hold the record");
        }
        }
    }
    // The package's jockey images.
    const QByteArray ks = readFile(g.path(QStringLiteral("OPTION1N/KS20200101NEW.dat")));
    bad.check(!ks.isEmpty() && ks.size() % 4161 == 0, "KS20200101NEW.dat length");
    for (qsizetype at = 0; at + 4161 <= ks.size(); at += 4161) {
        const QByteArray img = ks.mid(at, 4161);
        bad.check(img.startsWith("KS") && img.endsWith("\r\n") && isdigit(uchar(img[11])), "KS image at " + std::to_string(at));
    }
    // Statistics files: fixed-length records ending in CR LF.
    const std::pair<const char*, int> stats[] = {{"KYOSOBA.dat", 228}, {"HAHAUMA.dat", 402}, {"STALLION.dat", 402},
                                                 {"KISHUSEISEI.dat", 121}, {"CHOKYOSEISEI.dat", 121}, {"HNSKOPTION1N.dat", 22}};
    for (const auto& [name, len] : stats) {
        const QByteArray b = readFile(g.path(QStringLiteral("OPTION1N/") + QLatin1String(name)));
        bad.check(!b.isEmpty() && b.size() % len == 0, std::string(name) + " length");
        for (qsizetype at = len - 2; at < b.size(); at += len)
            if (b.mid(at, 2) != "\r\n") {
                bad.add(std::string(name) + ": record without CR LF");
                break;
            }
    }
}

// ---- The week's consistency ----------------------------------------------------

// JRA frames: eight frames, the outer ones take the extra horses.
int jraFrame(int horse, int runners) {
    if (runners <= 8) return horse;
    std::array<int, 9> size{};
    for (int f = 1; f <= 8; ++f) size[size_t(f)] = runners / 8;
    for (int f = 8, extra = runners % 8; extra > 0; --f, --extra) size[size_t(f)]++;
    for (int f = 1, upto = 0; f <= 8; ++f) {
        upto += size[size_t(f)];
        if (horse <= upto) return f;
    }
    return 0;
}

struct Entry {
    int horse = 0, frame = 0, position = 0, sharers = 0, odds = 0, popularity = 0, abnormal = 0;
    bool canTake(int place) const { return abnormal == 0 && position > 0 && place >= position && place <= position + sharers; }
};

using Combos = std::set<std::vector<int>>;

// The winning combinations of each ticket type, from the entries alone.
std::map<std::string, Combos> expectedPayouts(const std::vector<Entry>& es, int starters) {
    std::map<std::string, Combos> w;
    const int places = starters >= 8 ? 3 : 2;
    for (const Entry& a : es) {
        if (a.canTake(1)) w["win"].insert({a.horse});
        for (int p = 1; p <= places; ++p)
            if (a.canTake(p)) w["place"].insert({a.horse});
        for (const Entry& b : es) {
            if (b.horse == a.horse) continue;
            if (a.canTake(1) && b.canTake(2)) {
                w["exacta"].insert({a.horse, b.horse});
                w["quinella"].insert({std::min(a.horse, b.horse), std::max(a.horse, b.horse)});
                if (es.size() >= 9) w["bracket"].insert({std::min(a.frame, b.frame), std::max(a.frame, b.frame)});
            }
            for (int s1 = 1; s1 <= 3; ++s1)
                for (int s2 = 1; s2 <= 3; ++s2)
                    if (s1 != s2 && a.canTake(s1) && b.canTake(s2))
                        w["wide"].insert({std::min(a.horse, b.horse), std::max(a.horse, b.horse)});
            for (const Entry& c : es)
                if (c.horse != a.horse && c.horse != b.horse && a.canTake(1) && b.canTake(2) && c.canTake(3)) {
                    w["trifecta"].insert({a.horse, b.horse, c.horse});
                    std::vector<int> t{a.horse, b.horse, c.horse};
                    std::sort(t.begin(), t.end());
                    w["trio"].insert(t);
                }
        }
    }
    return w;
}

std::map<std::string, Combos> payoutsOf(const QByteArray& hr, std::map<int, int>* winPay = nullptr) {
    std::map<std::string, Combos> got;
    struct Kind { const char* key; const char* row; int count; int parts; int width; };
    const Kind kinds[] = {{"win", "win payouts", 3, 1, 2},          {"place", "place payouts", 5, 1, 2},
                          {"bracket", "bracket quinella payouts", 3, 2, 1}, {"quinella", "quinella payouts", 3, 2, 2},
                          {"wide", "wide payouts", 7, 2, 2},        {"exacta", "exacta payouts", 6, 2, 2},
                          {"trio", "trio payouts", 3, 3, 2},        {"trifecta", "trifecta payouts", 6, 3, 2}};
    for (const Kind& k : kinds)
        for (int i = 0; i < k.count; ++i) {
            const Field comb = k.parts == 1 ? findField(kHR, k.row, "horse number", i) : findField(kHR, k.row, "combination", i);
            const QByteArray c = item(hr, comb);
            if (c.trimmed().isEmpty()) continue;
            std::vector<int> v;
            for (int p = 0; p < k.parts; ++p) v.push_back(c.mid(p * k.width, k.width).toInt());
            got[k.key].insert(v);
            if (winPay && k.parts == 1 && std::string(k.key) == "win")
                (*winPay)[v[0]] = item(hr, findField(kHR, k.row, "payout", i)).toInt();
        }
    return got;
}

struct RaceData {
    QByteArray ra;
    std::vector<QByteArray> se;
    QByteArray hr;
};

// Races by race key and data kind.
using RaceMap = std::map<std::pair<QByteArray, char>, RaceData>;

RaceMap racesOf(const std::vector<Delivered>& ds) {
    RaceMap m;
    for (const Delivered& d : ds) {
        const QByteArray& r = d.rec;
        if (!(r.startsWith("RA") || r.startsWith("SE") || r.startsWith("HR"))) continue;
        const QByteArray key = item(r, head::RaceKey16);
        if (r.startsWith("HR")) {
            // A payoff belongs to the results of its race.
            m[{key, d.folder == QLatin1String("0B12") ? 'f' : '7'}].hr = r;
            continue;
        }
        const char kind = d.folder == QLatin1String("0B12") ? (r[2] == '9' ? 'c' : 'f') : r[2];
        if (r.startsWith("RA")) m[{key, kind}].ra = r;
        else m[{key, kind}].se.push_back(r);
    }
    return m;
}

void checkRace(const QByteArray& key, char kind, const RaceData& rd, Problems& bad, bool* deadHeat, bool pastRace) {
    const std::string where = str(key) + "/" + kind;
    bad.check(rd.ra.size() == 1272, where + ": no race record");
    if (rd.ra.size() != 1272) return;
    const int n = int(rd.se.size());
    bad.check(num(rd.ra, ra::RegisteredRunners) == n, where + ": registered runners differ from the entries");
    const QDate date = QDate::fromString(QString::fromLatin1(key.left(8)), QStringLiteral("yyyyMMdd"));
    const int wd = date.dayOfWeek() == 6 ? 1 : date.dayOfWeek() == 7 ? 2 : date.dayOfWeek() + 3;
    bad.check(num(rd.ra, ra::WeekdayCode) == wd, where + ": weekday code");
    const bool jraCourse = key.mid(8, 2) >= "01" && key.mid(8, 2) <= "10";
    if (kind == 'A' || kind == 'B')
        bad.check(!jraCourse, where + ": a local or overseas run at a JRA racecourse");
    else
        bad.check(date >= QDate(2011, 1, 1) && jraCourse, where + ": outside the model's scope");
    const QByteArray track = item(rd.ra, ra::TrackCode);
    const bool jump = track >= "51" && track <= "59";
    bad.check((track >= "10" && track <= "29") || jump, where + ": track code " + str(track));
    const QByteArray make = item(rd.ra, head::MakeDate);
    bad.check(kind == '1' || kind == '2' ? make < key.left(8) : make >= key.left(8), where + ": make date " + str(make));
    std::set<int> numbers;
    std::vector<Entry> es;
    int winnerTime = 0;
    for (const QByteArray& s : rd.se) {
        Entry e;
        e.horse = num(s, se::HorseNumber);
        e.frame = num(s, se::FrameNumber);
        e.position = num(s, se::ConfirmedPosition);
        e.sharers = item(s, se::DeadHeatKind) == "1" ? item(s, findField(kSE, "dead-heat count")).toInt() : 0;
        e.odds = num(s, se::WinOdds);
        e.popularity = num(s, se::WinPopularity);
        e.abnormal = num(s, se::AbnormalityCode);
        bad.check(numbers.insert(e.horse).second, where + ": horse number twice");
        bad.check(e.frame == jraFrame(e.horse, n), where + ": frame of horse " + std::to_string(e.horse));
        bad.check(item(s, head::MakeDate) == make, where + ": entry made on another day");
        if (e.sharers) *deadHeat = true;
        es.push_back(e);
    }
    bad.check(numbers.size() == size_t(n) && (numbers.empty() || *numbers.rbegin() == n), where + ": horse numbers not 1..n");
    if (kind != '7' && kind != 'f') return;

    // Results: arrival follows time, sectional times agree.
    std::vector<std::pair<int, int>> byArrival;  // arrival, time
    int starters = 0;
    for (const QByteArray& s : rd.se) {
        const int abn = num(s, se::AbnormalityCode);
        starters += abn != 1;
        if (abn != 0) continue;
        const QByteArray t = item(s, se::Time);
        const int tenths = t.left(1).toInt() * 600 + t.mid(1).toInt();
        byArrival.push_back({num(s, se::ArrivalOrder), tenths});
        const int l3 = num(s, se::Last3F);
        bad.check(l3 > 0 && l3 < tenths, where + ": last 3 furlongs");
        const int speed = num(rd.ra, ra::Distance) * 10 / std::max(1, tenths);  // m/s
        bad.check(jump ? speed >= 12 && speed <= 17 : speed >= 14 && speed <= 19, where + ": speed " + std::to_string(speed));
        if (num(s, se::ArrivalOrder) == 1) winnerTime = tenths;
    }
    std::sort(byArrival.begin(), byArrival.end());
    for (size_t i = 0; i < byArrival.size(); ++i) {
        bad.check(byArrival[i].first == int(i) + 1, where + ": arrival orders not 1..finishers");
        if (i) bad.check(byArrival[i].second >= byArrival[i - 1].second, where + ": arrival does not follow time");
    }
    bad.check(num(rd.ra, ra::Starters) == starters, where + ": starters");
    if (!jump) {
        int laps = 0, last3 = 0;
        std::vector<int> v;
        for (int i = 0; i < 25; ++i) v.push_back(num(rd.ra, ra::LapTime(i)));
        const int nl = (num(rd.ra, ra::Distance) + 199) / 200;
        for (int i = 0; i < nl; ++i) laps += v[size_t(i)];
        for (int i = nl - 3; i < nl; ++i) last3 += v[size_t(i)];
        bad.check(laps == winnerTime, where + ": laps do not add up to the winner's time");
        bad.check(last3 == num(rd.ra, ra::Last3F), where + ": last 3 laps differ from the last 3 furlongs");
    }

    // Payouts against the finishing order, for every ticket type; the
    // download has none of past races.
    if (pastRace) {
        bad.check(rd.hr.isEmpty(), where + ": a payoff record of a past race");
        return;
    }
    bad.check(rd.hr.size() == 719, where + ": no payoff record");
    if (rd.hr.size() != 719) return;
    std::map<int, int> winPay;
    const auto got = payoutsOf(rd.hr, &winPay);
    const auto want = expectedPayouts(es, starters);
    for (const char* k : {"win", "place", "bracket", "quinella", "wide", "exacta", "trio", "trifecta"}) {
        const Combos none;
        const Combos& g = got.count(k) ? got.at(k) : none;
        const Combos& x = want.count(k) ? want.at(k) : none;
        bad.check(g == x, where + ": " + k + " payouts do not follow the finishing order");
    }
    for (const Entry& e : es)
        if (e.canTake(1)) {
            bad.check(winPay[e.horse] == e.odds * 10, where + ": win payout differs from the win odds");
            bad.check(e.popularity >= 1, where + ": winner without popularity");
        }
}

struct WeekCheck {
    bool deadHeat = false, cancelled = false, retiredHorse = false, tenDigitMoney = false;
    int races = 0;
    // Horses' histories: local ("A") and overseas ("B") runs, a scratched
    // debut, two scratched runs in a row before another run.
    std::set<char> awayKinds;
    bool scratchedDebut = false, scratchedTwice = false;
};

WeekCheck checkWeek(const Generated& g, Scenario scenario, Problems& bad) {
    WeekCheck out;
    const sample::Summary& sum = g.summary;
    const auto week = deliver(g, {QStringLiteral("TOKU"), QStringLiteral("RACE"), QStringLiteral("TCVN"), QStringLiteral("RCVN")});
    std::set<QByteArray> horses, jockeys;
    for (const Delivered& d : week) {
        if (d.rec.startsWith("UM")) {
            horses.insert(item(d.rec, um::RegistrationNumber));
            out.retiredHorse |= d.rec[2] == '9';
        }
        if (d.rec.startsWith("KS")) {
            jockeys.insert(item(d.rec, ks::JockeyCode));
            for (int grp = 0; grp < 3; ++grp)
                out.tenDigitMoney |= item(d.rec, ks::Accumulated(grp, "flat prize money"))[0] != '0';
        }
    }
    const QByteArray pkg = readFile(g.path(QStringLiteral("OPTION1N/KS20200101NEW.dat")));
    for (qsizetype at = 0; at + 4161 <= pkg.size(); at += 4161) jockeys.insert(pkg.mid(at + 11, 5));

    // Each horse's runs in race-key order: data kind and abnormality.
    std::map<QByteArray, std::map<QByteArray, std::pair<char, int>>> careers;
    for (const Delivered& d : week)
        if (d.rec.startsWith("SE") && d.rec[2] != '1' && d.rec[2] != '9')
            careers[item(d.rec, se::RegistrationNumber)][item(d.rec, head::RaceKey16)] = {d.rec[2], num(d.rec, se::AbnormalityCode)};
    for (const auto& [horse, runs] : careers) {
        std::vector<std::pair<char, int>> v;
        for (const auto& [key, run] : runs) v.push_back(run);
        for (const auto& [kind, abnormal] : v)
            if (kind == 'A' || kind == 'B') out.awayKinds.insert(kind);
        out.scratchedDebut |= v.size() >= 2 && v[0].second == 1;
        for (size_t i = 0; i + 2 < v.size(); ++i) out.scratchedTwice |= v[i].second == 1 && v[i + 1].second == 1 && v[i + 2].second == 0;
    }

    // The week's race records come last in the delivery.
    std::vector<QByteArray> raceKeys;
    for (const Delivered& d : week)
        if (d.rec.startsWith("RA")) raceKeys.push_back(item(d.rec, head::RaceKey16) + d.rec[2]);
    std::set<QByteArray> weekKeys;
    for (const sample::WeekRace& r : sum.weekRaces) weekKeys.insert(r.raceKey16);
    // On Monday the last are the results, which the cancelled race has none of.
    size_t nWeek = sum.weekRaces.size();
    if (scenario == Scenario::Monday)
        for (const sample::WeekRace& r : sum.weekRaces) nWeek -= r.cancelled ? 1 : 0;
    bad.check(raceKeys.size() > nWeek, "fewer race records than the week's races");
    for (size_t i = raceKeys.size() - nWeek; i < raceKeys.size(); ++i) {
        bad.check(weekKeys.count(raceKeys[i].left(16)) == 1, "a past race among the last race records");
        const char kind = raceKeys[i][16];
        bad.check(kind == (scenario == Scenario::Friday ? '2' : '7'), "the last race records have the wrong kind");
    }

    // Every entry has a horse master, every rider a jockey master.
    for (const Delivered& d : week)
        if (d.rec.startsWith("SE")) {
            bad.check(horses.count(item(d.rec, se::RegistrationNumber)) == 1, "an entry without UM: " + str(item(d.rec, se::RegistrationNumber)));
            bad.check(jockeys.count(item(d.rec, se::JockeyCode)) == 1, "a rider without KS: " + str(item(d.rec, se::JockeyCode)));
        }

    // Races, entries, results and payouts, in the download and in the flash feed.
    auto all = week;
    for (Delivered& d : deliver(g, {QStringLiteral("0B12")})) all.push_back(std::move(d));
    const RaceMap races = racesOf(all);
    std::map<QByteArray, std::set<char>> kinds;
    for (const auto& [k, rd] : races) {
        kinds[k.first].insert(k.second);
        checkRace(k.first, k.second, rd, bad, &out.deadHeat, weekKeys.count(k.first) == 0);
        out.cancelled |= k.second == 'c' && rd.ra[2] == '9' && !rd.se.empty() && rd.se[0][2] == '9' && rd.hr.isEmpty();
    }
    for (const sample::WeekRace& r : sum.weekRaces) {
        const std::set<char>& k = kinds[r.raceKey16];
        // On Monday the cancelled race's final entries are known as such.
        const bool known = scenario == Scenario::Monday && r.cancelled;
        bad.check(k.count('2') == (known ? 0u : 1u), str(r.raceKey16) + ": final entries");
        bad.check(k.count('1') == (r.announcedEarly ? 1u : 0u), str(r.raceKey16) + ": announced entries");
        bad.check(k.count(r.cancelled ? 'c' : 'f') == 1, str(r.raceKey16) + ": flash results");
        if (scenario == Scenario::Monday) bad.check(k.count(r.cancelled ? '9' : '7') == 1, str(r.raceKey16) + ": official results");
        else bad.check(k.count('7') == 0 && k.count('9') == 0, str(r.raceKey16) + ": results on a Friday");
        // Announced, final and official make dates follow each other.
        const char final = known ? '9' : '2';
        if (r.announcedEarly) bad.check(item(races.at({r.raceKey16, '1'}).ra, head::MakeDate) < item(races.at({r.raceKey16, final}).ra, head::MakeDate), "kind 1 not older");
        if (scenario == Scenario::Monday && !r.cancelled)
            bad.check(item(races.at({r.raceKey16, '2'}).ra, head::MakeDate) < item(races.at({r.raceKey16, '7'}).ra, head::MakeDate), "kind 2 not older");
        ++out.races;
    }

    // Odds for every race of the week: the odds download and the flash feed.
    const auto odds = deliver(g, {QStringLiteral("TCOV"), QStringLiteral("RCOV")});
    std::map<QByteArray, std::set<QByteArray>> oddsKinds;
    bool dashes = false, stars = false, zero = false;
    for (const Delivered& d : odds) oddsKinds[item(d.rec, head::RaceKey16)].insert(d.rec.left(2));
    for (const sample::WeekRace& r : sum.weekRaces) {
        bad.check(oddsKinds[r.raceKey16] == std::set<QByteArray>{"O1", "O2", "O4", "O5", "O6"}, str(r.raceKey16) + ": odds download");
        const auto flash = splitRecords(readFile(g.path(QStringLiteral("JVDATA/0B30/") + QString::fromLatin1(r.raceKey16) + QStringLiteral(".jvd"))));
        bad.check(flash.size() == 5, str(r.raceKey16) + ": flash odds");
        for (const QByteArray& o : flash) {
            const Layout& L = layout(*kindOf(o));
            if (o.startsWith("O1")) continue;
            const Field c0 = odds::Combination(L, 0), o0 = odds::Odds(L, 0);
            const int stride = odds::Combination(L, 1).pos - c0.pos;
            for (int i = 0; i < odds::entryCount(L); ++i) {
                const QByteArray comb = o.mid(c0.pos - 1 + i * stride, c0.width), text = o.mid(o0.pos - 1 + i * stride, o0.width);
                int highest = 0;
                for (int p = 0; p < comb.size(); p += 2) highest = std::max(highest, comb.mid(p, 2).toInt());
                if (comb.trimmed().isEmpty()) {
                    bad.check(text.trimmed().isEmpty(), str(r.raceKey16) + ": odds without combination");
                    continue;
                }
                bad.check(highest <= r.runners, str(r.raceKey16) + ": odds of a horse beyond the runners");
                dashes |= text.count('-') == text.size();
                stars |= text.count('*') == text.size();
                zero |= text.count('0') == text.size();
            }
        }
        // Every combination of the runners is listed in its published place.
        const QByteArray o6 = flash.size() == 5 ? flash[4] : QByteArray();
        int listed = 0;
        const Field c0 = odds::Combination(kO6, 0);
        for (int i = 0; i < 4896 && o6.size() == 83285; ++i) listed += o6.at(c0.pos - 1 + i * 17) != ' ';
        bad.check(listed == r.runners * (r.runners - 1) * (r.runners - 2), str(r.raceKey16) + ": trifecta combinations");
    }
    if (sum.weekRaces.size() > 3) bad.check(dashes && stars && zero, "no withdrawn or unbought combinations in the odds");
    return out;
}

std::map<QString, QByteArray> filesOf(const Generated& g) { return rwtest::filesUnder(g.dir.path()); }

}  // namespace

// ---- Small: the unit-test fixture ---------------------------------------------

TEST(SampleSmall, EveryRecordParsesToItsLengthAndReimages) {
    for (Scenario s : {Scenario::Friday, Scenario::Monday}) {
        Problems bad;
        checkRecordsReimage(generated(Scale::Small, s), bad);
        EXPECT_TRUE(bad.list.empty()) << bad.text();
    }
}

TEST(SampleSmall, TheSameSeedGivesTheSameBytes) {
    const auto a = filesOf(generated(Scale::Small, Scenario::Monday));
    QTemporaryDir again;
    const sample::Summary s = sample::generate({Scale::Small, Scenario::Monday, 1}, again.path());
    const auto b = rwtest::filesUnder(again.path());
    EXPECT_EQ(a.size(), size_t(s.files.size()));
    EXPECT_TRUE(a == b);
    // Another seed, another week.
    const auto c = filesOf(generated(Scale::Small, Scenario::Monday, 2));
    EXPECT_NE(a.at(QStringLiteral("JVDATA/RACE/20241206-2SE.jvd")), c.at(QStringLiteral("JVDATA/RACE/20241206-2SE.jvd")));
}

TEST(SampleSmall, OneRaceDayOfThreeRacesWithItsEvents) {
    const Generated& g = generated(Scale::Small, Scenario::Monday);
    const sample::Summary& s = g.summary;
    ASSERT_EQ(s.raceDates, QList<QByteArray>{"20241207"});
    ASSERT_EQ(s.weekRaces.size(), 3);
    EXPECT_EQ(s.weekRaces[0].raceKey16, "2024120706050101");  // 5回中山1日
    EXPECT_TRUE(s.weekRaces[2].cancelled && s.weekRaces[2].announcedEarly);
    EXPECT_TRUE(s.weekRaces[1].deadHeat);
    EXPECT_GT(s.pastRaces, 3);
    EXPECT_EQ(s.counts.at(QStringLiteral("0B30/O6")), 3);
    Problems bad;
    const WeekCheck w = checkWeek(g, Scenario::Monday, bad);
    EXPECT_TRUE(bad.list.empty()) << bad.text();
    EXPECT_TRUE(w.deadHeat);
    EXPECT_TRUE(w.cancelled);
    EXPECT_TRUE(w.tenDigitMoney);
    // Names carry characters only code page 932 has.
    QByteArray all;
    for (const QString& f : s.files)
        if (f.startsWith(QLatin1String("JVDATA/RACE/2024120")) || f.startsWith(QLatin1String("JVDATA/TCVN"))) all += readFile(g.path(f));
    const QString text = cp932::decode(all);
    for (const char* c : {"①", "髙", "ｶ"}) EXPECT_TRUE(text.contains(QString::fromUtf8(c))) << c;
    EXPECT_TRUE(text.contains(QString::fromUtf8("㈱")) || text.contains(QString::fromUtf8("㈲")));
}

TEST(SampleSmall, CommandLineRejectsBadArguments) {
    const QString exe = QStringLiteral(RACEWEEK_BIN_DIR "/raceweek-sample");
    QTemporaryDir dir;
    const QStringList bad[] = {{},
                               {QStringLiteral("--app-dir"), dir.path(), QStringLiteral("--scale"), QStringLiteral("huge"),
                                QStringLiteral("--scenario"), QStringLiteral("friday")},
                               {QStringLiteral("--app-dir"), dir.path(), QStringLiteral("--scale"), QStringLiteral("small")},
                               {QStringLiteral("--app-dir"), dir.path(), QStringLiteral("--scale"), QStringLiteral("small"),
                                QStringLiteral("--scenario"), QStringLiteral("monday"), QStringLiteral("--seed"), QStringLiteral("x")}};
    for (const QStringList& args : bad) {
        QProcess p;
        p.start(exe, args);
        ASSERT_TRUE(p.waitForFinished(30000));
        EXPECT_NE(p.exitCode(), 0) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_FALSE(p.readAllStandardError().isEmpty());
    }
    QProcess ok;
    ok.start(exe, {QStringLiteral("--app-dir"), dir.path() + QStringLiteral("/app"), QStringLiteral("--scale"), QStringLiteral("small"),
                   QStringLiteral("--scenario"), QStringLiteral("friday"), QStringLiteral("--seed"), QStringLiteral("1")});
    ASSERT_TRUE(ok.waitForFinished(30000));
    EXPECT_EQ(ok.exitCode(), 0);
    EXPECT_EQ(readFile(dir.path() + QStringLiteral("/app/JVDATA/RACE/20241206-2SE.jvd")),
              readFile(generated(Scale::Small, Scenario::Friday).path(QStringLiteral("JVDATA/RACE/20241206-2SE.jvd"))));
}

// ---- Typical: a JRA weekend ------------------------------------------------------

TEST(SampleTypical, FridayWeekParsesAndHoldsTogether) {
    const Generated& g = generated(Scale::Typical, Scenario::Friday);
    Problems bad;
    checkRecordsReimage(g, bad);
    const WeekCheck w = checkWeek(g, Scenario::Friday, bad);
    EXPECT_TRUE(bad.list.empty()) << bad.text();
    EXPECT_EQ(w.races, 72);
    EXPECT_EQ(w.awayKinds, (std::set<char>{'A', 'B'}));
    EXPECT_TRUE(w.scratchedDebut);
    EXPECT_TRUE(w.scratchedTwice);
    EXPECT_TRUE(w.deadHeat);  // in the past and in the flash results
    EXPECT_TRUE(w.cancelled);
    EXPECT_TRUE(w.retiredHorse);
    EXPECT_TRUE(w.tenDigitMoney);
    EXPECT_EQ(g.summary.raceDates, (QList<QByteArray>{"20241207", "20241208"}));
    EXPECT_GT(g.summary.horses.size(), 1200);
    EXPECT_GT(g.summary.counts.at(QStringLiteral("OPTION1N/KYOSOBA.dat")), 90000);
}

TEST(SampleTypical, ThreeSmallFieldsOfFiveSixAndSevenRunners) {
    const Generated& g = generated(Scale::Typical, Scenario::Friday);
    QList<int> small;
    for (const sample::WeekRace& r : g.summary.weekRaces)
        if (r.runners < 8) small.append(r.runners);
    EXPECT_EQ(small, (QList<int>{5, 6, 7}));
    EXPECT_EQ(g.summary.weekRaces.size(), 72);
}

TEST(SampleLarge, OneFieldOfFourRunners) {
    const auto world = sample::detail::buildWorld({Scale::Large, Scenario::Friday, 1});
    QList<int> small;
    for (const auto& r : world.week)
        if (r.runs.size() < 8) small.append(int(r.runs.size()));
    EXPECT_EQ(small, (QList<int>{4}));
    EXPECT_EQ(world.week.size(), 108u);
}

TEST(SampleTypical, MondayWeekIsFridayWeekPlusResultsThatFollowTheRace) {
    const Generated& g = generated(Scale::Typical, Scenario::Monday);
    Problems bad;
    checkRecordsReimage(g, bad);
    const WeekCheck w = checkWeek(g, Scenario::Monday, bad);
    EXPECT_TRUE(bad.list.empty()) << bad.text();
    EXPECT_TRUE(w.deadHeat);
    EXPECT_TRUE(w.cancelled);
    // The week's dead heat: both runners share second place and both
    // quinellas are paid.
    const auto races = racesOf(deliver(g, {QStringLiteral("RACE")}));
    int deadHeats = 0;
    for (const sample::WeekRace& r : g.summary.weekRaces) {
        if (!r.deadHeat) continue;
        ++deadHeats;
        const RaceData& rd = races.at({r.raceKey16, '7'});
        int second = 0;
        for (const QByteArray& s : rd.se) second += num(s, se::ConfirmedPosition) == 2 && item(s, se::DeadHeatKind) == "1";
        EXPECT_EQ(second, 2);
        EXPECT_EQ(payoutsOf(rd.hr)["quinella"].size(), 2u);
    }
    EXPECT_EQ(deadHeats, 1);

    // A second generation of the same seed: everything Friday wrote, Monday
    // wrote identically but the cancelled race's final entries, now of data
    // kind "9"; Monday adds only the official results.
    const auto fri = filesOf(generated(Scale::Typical, Scenario::Friday));
    const auto mon = filesOf(g);
    QByteArray cancelled;
    int cancelledRunners = 0;
    for (const sample::WeekRace& r : g.summary.weekRaces)
        if (r.cancelled) cancelled = r.raceKey16, cancelledRunners = r.runners;
    ASSERT_FALSE(cancelled.isEmpty());
    int known = 0;
    for (const auto& [name, bytes] : fri) {
        ASSERT_TRUE(mon.count(name)) << name.toStdString();
        if (!name.startsWith(QLatin1String("JVDATA/RACE/20241206-"))) {
            EXPECT_TRUE(mon.at(name) == bytes) << name.toStdString();
            continue;
        }
        const QList<QByteArray> before = splitRecords(bytes), after = splitRecords(mon.at(name));
        ASSERT_EQ(before.size(), after.size()) << name.toStdString();
        for (qsizetype i = 0; i < before.size(); ++i) {
            if (item(before[i], head::RaceKey16) != cancelled) {
                EXPECT_TRUE(before[i] == after[i]) << name.toStdString() << " record " << i;
                continue;
            }
            EXPECT_EQ(after[i][2], '9');
            EXPECT_EQ(item(after[i], head::MakeDate), cancelled.left(8));
            ++known;
        }
    }
    EXPECT_EQ(known, 1 + cancelledRunners);  // its race record and its entries
    QStringList extra;
    for (const auto& [name, bytes] : mon)
        if (!fri.count(name)) extra << name;
    EXPECT_EQ(extra, (QStringList{QStringLiteral("JVDATA/RACE/20241209-1RA.jvd"), QStringLiteral("JVDATA/RACE/20241209-2SE.jvd"),
                                  QStringLiteral("JVDATA/RACE/20241209-3HR.jvd")}));
}
