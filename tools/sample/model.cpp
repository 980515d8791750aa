// The package's factor model: for turf, dirt and jump races the category
// lists of the 30 items, their weights and sample counts, in the files the
// expanded-records window reads. The lists are written from the items'
// classification rules over what the simulated world can give on the runs
// of each surface (its racecourses, track codes, horse numbers, grades,
// weights, meeting days, and the bands of the package's own statistics),
// not by calling the categorisers, so that each checks the other.
#include "sample/emit.h"

#include "model/expanded_record.h"
#include "model/package_files.h"
#include "model/stats_files.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

namespace rw::sample::detail {
namespace {

using model::HorseStatsRecord;
using model::PeopleStatsRecord;
using model::SireStatsRecord;
using Codes = std::set<QByteArray>;

QByteArray n(qint64 v) { return QByteArray::number(v); }
QByteArray two(int v) { return digits(v, 2); }
int logBand(double x) { return int(std::floor(10.0 * std::log10(x))); }
int rateBand(double v) { return int(std::floor(v / 4000.0)); }

// The package's statistics records, as the generation wrote them.
std::vector<QByteArray> records(const Output& out, const char* file, int length) {
    std::vector<QByteArray> v;
    const auto it = out.files.find(QString::fromLatin1(file));
    if (it == out.files.end()) return v;
    for (qsizetype at = 0; at + length <= it->second.size(); at += length) v.push_back(it->second.mid(at, length));
    return v;
}
double field(const QByteArray& rec, model::statslayout::Field f) { return model::statsNumber(rec, f); }

// What the world gives on the runs of one surface.
struct Domain {
    std::map<QByteArray, std::set<QByteArray>> courseTracks;  // "06" -> {"17", "18"}
    int maxHorseNo = 0;
    std::set<QByteArray> grades;       // grade codes of every race (a previous run may be anywhere)
    std::set<QByteArray> symbols;      // first two characters of race symbol codes
    std::set<QByteArray> youngest;     // youngest-age condition codes
    std::set<int> distances;
    std::set<int> weights;             // carried, 0.1 kg
    std::set<int> apprentices;
    std::set<QByteArray> meetingDays;  // meeting & day
    std::set<int> registered;
    std::set<int> raceNos;
    std::set<QByteArray> horseSymbols;
    std::set<QByteArray> margins;
    std::set<int> years;
    // Measured speeds of finished runs, for item 1.
    double agari = 0, pace = 0, soha = 0;
    int measured = 0;
    double meanDistance = 0;
};

int surfaceOf(const Race& r) { return r.surface; }

Domain domainOf(const World& w, int surface) {
    Domain d;
    double distanceSum = 0;
    int races = 0;
    auto visit = [&](const Race& r, bool past) {
        d.grades.insert(r.grade);
        if (surfaceOf(r) != surface) return;
        ++races;
        distanceSum += r.distance;
        d.courseTracks[r.courseCode()].insert(r.track);
        d.symbols.insert(r.symbol.left(2));
        d.youngest.insert(r.conditions[4]);
        d.distances.insert(r.distance);
        d.meetingDays.insert(two(r.meeting) + two(r.dayNo));
        d.registered.insert(int(r.runs.size()));
        d.raceNos.insert(r.raceNo);
        d.years.insert(r.date.year());
        for (const Run& run : r.runs) {
            d.maxHorseNo = std::max(d.maxHorseNo, run.horseNo);
            d.weights.insert(run.weight);
            if (run.weightBefore) d.weights.insert(run.weightBefore);
            d.apprentices.insert(run.apprentice);
            d.horseSymbols.insert(w.horses[size_t(run.horse)].symbol);
            d.margins.insert(run.margin);
            if (!past || run.abnormal != 0 || run.time <= 0 || run.l3 <= 0 || run.time <= run.l3) continue;
            const bool jump = surface == Jump;
            const double T = run.time, L3 = run.l3, D = r.distance;
            d.agari += (jump ? 7200.0 : 21600.0) / L3;
            d.pace += 36.0 * (D - (jump ? 200.0 : 600.0)) / (T - L3);
            d.soha += 36.0 * D / T;
            ++d.measured;
        }
    };
    for (const Race& r : w.past) visit(r, true);
    for (const Race& r : w.week) visit(r, false);
    if (d.measured) {
        d.agari /= d.measured;
        d.pace /= d.measured;
        d.soha /= d.measured;
    } else {  // a small week without such races: typical speeds, never 0
        d.agari = d.pace = d.soha = surface == Jump ? 55.0 : 60.0;
    }
    d.meanDistance = races ? distanceSum / races : 1800;
    d.apprentices.insert(0);
    return d;
}

struct Bands {
    std::set<int> jockeyTurf, jockeyDirt, jockeyOther;     // item 7 / 19 rate fields
    std::set<int> trainerTurf, trainerDirt, trainerOther;
    std::set<int> horseFlat, horseJump;                    // item 8
    std::set<int> horseEarnFlat, horseEarnJump;            // item 30: LogBand of earnings per run
    std::set<int> sireAmount;                              // item 13
    std::set<int> sireEarnFlat, sireEarnJump;              // item 20
    std::array<std::set<int>, 4> turfGoing, dirtGoing, jumpGoing;  // item 16
    std::array<std::set<int>, 3> turfDistance, dirtDistance;      // item 23
    std::set<int> sireJumpPlace;
};

Bands bandsOf(const Output& out) {
    Bands b;
    for (const QByteArray& r : records(out, "OPTION1N/KISHUSEISEI.dat", PeopleStatsRecord::kLength)) {
        b.jockeyTurf.insert(rateBand(field(r, PeopleStatsRecord::TurfPlaceRate)));
        b.jockeyDirt.insert(rateBand(field(r, PeopleStatsRecord::DirtPlaceRate)));
        b.jockeyOther.insert(rateBand(field(r, PeopleStatsRecord::OtherPlaceRate)));
    }
    for (const QByteArray& r : records(out, "OPTION1N/CHOKYOSEISEI.dat", PeopleStatsRecord::kLength)) {
        b.trainerTurf.insert(rateBand(field(r, PeopleStatsRecord::TurfPlaceRate)));
        b.trainerDirt.insert(rateBand(field(r, PeopleStatsRecord::DirtPlaceRate)));
        b.trainerOther.insert(rateBand(field(r, PeopleStatsRecord::OtherPlaceRate)));
    }
    for (const QByteArray& r : records(out, "OPTION1N/KYOSOBA.dat", HorseStatsRecord::kLength)) {
        b.horseFlat.insert(rateBand(field(r, HorseStatsRecord::FlatPlaceRate)));
        b.horseJump.insert(rateBand(field(r, HorseStatsRecord::JumpPlaceRate)));
        auto earn = [&](model::statslayout::Field starts, model::statslayout::Field money, std::set<int>& into) {
            const double s = field(r, starts), a = field(r, money);
            if (s > 0 && a / s > 0) into.insert(logBand(a / s));
        };
        earn(HorseStatsRecord::FlatStarts, HorseStatsRecord::FlatEarnings, b.horseEarnFlat);
        earn(HorseStatsRecord::JumpStarts, HorseStatsRecord::JumpEarnings, b.horseEarnJump);
    }
    for (const QByteArray& r : records(out, "OPTION1N/STALLION.dat", SireStatsRecord::kLength)) {
        if (const double v = field(r, SireStatsRecord::ThirdAmount); v > 0) b.sireAmount.insert(logBand(v));
        auto earn = [&](model::statslayout::Field starts, model::statslayout::Field money, std::set<int>& into) {
            const double s = field(r, starts), a = field(r, money);
            if (s > 0 && a / s > 0) into.insert(logBand(a / s));
        };
        earn(SireStatsRecord::FlatStarts, SireStatsRecord::FlatEarnings, b.sireEarnFlat);
        earn(SireStatsRecord::JumpStarts, SireStatsRecord::JumpEarnings, b.sireEarnJump);
        for (int g = 1; g <= 4; ++g) {
            b.turfGoing[size_t(g - 1)].insert(rateBand(field(r, SireStatsRecord::TurfGoingRates(g))));
            b.dirtGoing[size_t(g - 1)].insert(rateBand(field(r, SireStatsRecord::DirtGoingRates(g))));
            b.jumpGoing[size_t(g - 1)].insert(rateBand(field(r, SireStatsRecord::JumpGoingRates(g))));
        }
        for (int k = 1; k <= 3; ++k) {
            b.turfDistance[size_t(k - 1)].insert(rateBand(field(r, SireStatsRecord::TurfDistanceRates(k))));
            b.dirtDistance[size_t(k - 1)].insert(rateBand(field(r, SireStatsRecord::DirtDistanceRates(k))));
        }
        b.sireJumpPlace.insert(rateBand(field(r, SireStatsRecord::JumpPlaceRate)));
    }
    return b;
}

// The category codes of each item on one surface, as the rules give them.
std::array<Codes, 31> codesOf(int surface, const Domain& d, const Bands& b, const std::vector<int>& listedYears) {
    std::array<Codes, 31> c;
    const bool flat = surface != Jump;

    // 1: the race year.
    for (int y : listedYears) c[1].insert(n(y));

    // 2: racecourse, day flag, horse or frame number, track code.
    for (const auto& [course, tracks] : d.courseTracks) {
        const QByteArray ch = course == "10" ? QByteArray("A") : course.right(1);
        for (const char* day : {"1", "2"})
            for (const QByteArray& t : tracks) {
                const int tn = t.toInt();
                if (tn == 10) {
                    for (int h = 1; h <= d.maxHorseNo; ++h) c[2].insert(ch + day + two(h) + t);
                } else if (tn == 11 || tn == 12 || tn == 17 || tn == 18 || tn == 21 || tn == 22) {
                    const QByteArray last = tn == 21 ? QByteArray("17") : tn == 22 ? QByteArray("18") : t;
                    for (int f = 1; f <= 8; ++f) c[2].insert(ch + day + n(f) + last);
                } else if (tn >= 23 && tn <= 29) {
                    for (int f = 1; f <= 8; ++f) c[2].insert(ch + day + n(f));
                } else {
                    c[2].insert(ch + t + day);
                }
            }
    }

    // 3: a debut's youngest-age condition, else the previous run's grade,
    // surface digit (or data kind "A"/"B") and distance relation.
    for (const QByteArray& y : d.youngest) c[3].insert(y.leftJustified(3, ' ', true) + "01");
    for (const QByteArray& g : d.grades)
        for (const char* s : {"1", "2", "3", "A", "B"})
            for (const char* r : {"D", "1", "2"}) c[3].insert(g + s + r);

    for (int wt : d.weights) c[4].insert(digits(wt, 3));

    c[5].insert("00");
    for (int k = 1; k <= 66; ++k) c[5].insert(n(k));

    for (const QByteArray& s : d.symbols) c[6].insert(surface == Dirt && s == "N2" ? QByteArray("N0") : s);

    // 7: "1" & the jockey's rate band, held at 19; "11" without a record.
    const std::set<int>& jockey = surface == Turf ? b.jockeyTurf : surface == Dirt ? b.jockeyDirt : b.jockeyOther;
    c[7].insert("11");
    for (int band : jockey) c[7].insert(band <= 9 ? "1" + n(band) : QByteArray("19"));

    // 8: the horse's rate band; "10" without a record.
    c[8].insert("10");
    for (int band : flat ? b.horseFlat : b.horseJump) c[8].insert(n(band));

    for (int k = 1; k <= 60; ++k) c[9].insert(digits(k, 3));

    for (int r = 96; r <= 114; r += 2) {
        c[10].insert(digits(r, 3));
        c[10].insert(r + 200 == 300 ? QByteArray("100") : digits(r + 200, 3));
    }
    c[10].insert("100");

    c[11].insert("50");
    for (int k = 52; k <= 70; ++k) c[11].insert(n(k));

    // 12: sex digit & age in months (folded from 43 months on).
    for (const char* sex : {"1", "2", "3"})
        for (int m = flat ? 27 : 40; m <= 90; ++m) {
            const int folded = m >= 43 ? m / 3 + 29 : m;
            QByteArray code = QByteArray(sex) + two(folded);
            if (code >= "327" && code <= "333") code = "334";
            c[12].insert(code);
        }

    c[13].insert("00");
    for (int band : b.sireAmount) c[13].insert(n(band));

    // 14: course flag & the interval's weeks, quick returns included.
    for (const char* flag : {"1", "2"}) {
        c[14].insert(QByteArray(flag) + "1020");
        for (int e = 1; e <= 39; ++e) c[14].insert(QByteArray(flag) + n(10 * e + 1000).right(4));
        c[14].insert(QByteArray(flag) + "1520");
        c[14].insert(QByteArray(flag) + "1780");
    }

    for (int k = 10; k <= 39; ++k) c[15].insert(n(k));

    // 16: going digit & the sire's rate band for that going; "10" otherwise.
    c[16].insert("10");
    const auto& going = surface == Turf ? b.turfGoing : surface == Dirt ? b.dirtGoing : b.jumpGoing;
    for (int g = 1; g <= 4; ++g)
        for (int band : going[size_t(g - 1)]) c[16].insert(n(g) + n(band));

    for (int k = 0; k <= 15; ++k) c[17].insert(n(k));

    for (const char* band : {"20", "23", "28", "33", "38", "43"})
        for (int a : d.apprentices) c[18].insert("0" + QByteArray(band) + n(a));

    const std::set<int>& trainer = surface == Turf ? b.trainerTurf : surface == Dirt ? b.trainerDirt : b.trainerOther;
    c[19].insert("10");
    for (int band : trainer) c[19].insert(band <= 9 ? "1" + n(band) : QByteArray("110"));

    c[20].insert("0");
    for (int band : flat ? b.sireEarnFlat : b.sireEarnJump)
        c[20].insert(band >= 1 && band <= 24 ? QByteArray("25") : band > 46 ? QByteArray("46") : n(band));

    for (const QByteArray& g : d.grades) {
        if (flat)
            for (int r : d.raceNos) c[21].insert(two(r) + g);
        else
            c[21].insert(g);
    }

    if (flat)
        for (int dist : d.distances) c[22].insert(digits(dist, 4));
    else
        for (const char* k : {"2800", "2900", "3500", "4000"}) c[22].insert(k);

    // 23: distance digit & the sire's rate band, folded.
    auto fold23 = [](int digit, int band) {
        const int x = digit * 10 + band;
        if (x == 0 || x == 10 || x == 20 || x == 30) return QByteArray("10");
        if (band >= 10) return n(digit) + "9";
        return n(x);
    };
    c[23].insert("10");
    if (flat) {
        const auto& rates = surface == Turf ? b.turfDistance : b.dirtDistance;
        for (int k = 1; k <= 3; ++k)
            for (int band : rates[size_t(k - 1)]) c[23].insert(fold23(k, band));
    } else {
        for (int band : b.sireJumpPlace) c[23].insert(fold23(1, band));
    }

    for (int h = 1; h <= d.maxHorseNo; ++h) c[24].insert(flat ? two(h) + "1" : two(std::min(h, 14)));

    for (const QByteArray& s : d.horseSymbols)
        if (s != "00") c[25].insert(s);
    for (int m = 1; m <= 12; ++m) c[25].insert(two(m) + "1");

    for (const char* k : {"0099", "0001", "0002", "0003", "0004", "0005", "0006", "0007"}) c[26].insert(k);
    for (int k = 8; k <= 57; ++k) c[26].insert(digits(k, 4));
    for (const QByteArray& m : d.margins) c[26].insert("+" + m);

    for (const QByteArray& md : d.meetingDays) c[27].insert(md);

    c[28].insert("08");
    for (int r : d.registered)
        if (r >= 9) c[28].insert(flat ? two(r) : two(std::min(r, 14)));

    for (int k = 0; k <= 15; ++k) c[29].insert(n(k));

    // 30: the horse's earnings band (two digits), or the run number without
    // earnings; jump races fold below 3 and above 53.
    auto jumpFold = [&](const QByteArray& code) {
        if (flat) return code;
        const int v = code.toInt();
        return v < 3 ? QByteArray("19") : v > 53 ? QByteArray("53") : code;
    };
    for (int band : flat ? b.horseEarnFlat : b.horseEarnJump) {
        const QByteArray code = n(band + 100).right(2);
        if (code != "00") c[30].insert(jumpFold(code));
    }
    for (int k = 1; k <= 19; ++k) c[30].insert(jumpFold(n(k)));
    return c;
}

struct Weights {
    double agari = 0, pace = 0, soha = 0;
};

// Small deviations that follow the world: shorter races and lighter
// weights are faster, good going is faster on turf, better-rated jockeys,
// horses and sires a little faster.
Weights deviation(int item, const QByteArray& code, int surface, const Domain& d, Rng& rng) {
    const auto num = [&](qsizetype from, qsizetype len = -1) { return code.mid(from, len).trimmed().toDouble(); };
    double s = 0;
    switch (item) {
    case 4: s = -0.008 * (num(0) - 550); break;
    case 7: s = code == "11" ? 0 : 0.06 * num(1); break;
    case 8: s = code == "10" ? 0 : 0.05 * std::min(num(0), 20.0); break;
    case 9: s = 0.01 * std::min(num(0), 20.0); break;
    case 11: s = 0.04 * (num(0) - 60); break;
    case 12: s = -0.01 * (num(1) - 40); break;
    case 13: s = code == "00" ? 0 : 0.02 * (num(0) - 70); break;
    case 16: {
        static const double turf[5] = {0, 0.3, 0, -0.5, -0.9}, dirt[5] = {0, -0.2, 0.1, 0.3, 0.5};
        const int g = code == "10" ? 0 : code.left(1).toInt();
        s = (surface == Dirt ? dirt : turf)[g] + (g ? 0.02 * num(1) : 0);
        break;
    }
    case 17:
    case 29: s = 0.03 * (num(0) - 10); break;
    case 19: s = code == "10" ? 0 : code == "110" ? 0.6 : 0.06 * num(1); break;
    case 20: s = code == "0" ? 0 : 0.03 * (num(0) - 35); break;
    case 22: {
        if (surface == Jump) {
            s = code == "2800" ? 0.5 : code == "2900" ? 0.2 : code == "3500" ? -0.3 : -0.8;
        } else {
            const double delta = num(0) - d.meanDistance;
            return {-0.0006 * delta, -0.0010 * delta, -0.0012 * delta};
        }
        break;
    }
    case 23: s = code == "10" ? 0 : 0.05 * num(1); break;
    case 30: s = code.size() == 2 ? 0.03 * (num(0) - 30) : -0.1; break;
    default: s = 0.15 * (2 * rng.uniform() - 1); break;
    }
    return {0.6 * s, 0.8 * s, s};
}

QByteArray weightText(double v) { return QByteArray::number(v, 'f', 4); }

// Values as the package writes them: comma separated, ten to a line.
void addValue(QByteArray& file, int& onLine, const QByteArray& value) {
    file += value;
    if (++onLine == 10) {
        file += "\r\n";
        onLine = 0;
    } else {
        file += ',';
    }
}
void endValues(QByteArray& file, int onLine) {
    if (onLine) {
        file.chop(1);
        file += "\r\n";
    }
}

}  // namespace

void emitModel(const World& w, Output& out, Summary& sum) {
    Rng rng(w.opt.seed ^ 0x6d6f64656cull);
    const Bands bands = bandsOf(out);

    // Item 1: the years of the file names with samples, later years without,
    // and the week's own year left out, so that a run of the week finds no
    // item-1 category and an earlier run may find one without samples.
    const int weekYear = w.weekDates.front().year();
    std::vector<int> years;
    for (int y = 2014; y < weekYear; ++y) years.push_back(y);

    // Item 2: the codes of one racecourse of the week are left out, and its
    // codes with "6" in front stand in the list, so the retry finds them.
    const QByteArray leftOutCourse = "9";

    for (int surface : {int(Turf), int(Dirt), int(Jump)}) {
        const model::Surface s = surface == Turf ? model::Surface::Turf
                                 : surface == Dirt ? model::Surface::Dirt
                                                   : model::Surface::Jump;
        const Domain d = domainOf(w, surface);
        std::array<Codes, 31> codes = codesOf(surface, d, bands, years);

        if (surface != Jump) {
            Codes kept;
            for (const QByteArray& code : codes[2]) {
                if (code.startsWith(leftOutCourse)) {
                    kept.insert("6" + code.mid(1));
                    continue;
                }
                kept.insert(code);
            }
            codes[2] = kept;
            sum.modelLeftOut << QStringLiteral("%1 item 2: the codes of racecourse 09 (the retry with \"6\" finds them)")
                                    .arg(model::SurfaceWord(s));
        }
        // A rare code of a rate item: the highest place-rate band of item 8.
        if (codes[8].size() > 2) {
            QByteArray rare;
            int best = -1;
            for (const QByteArray& code : codes[8])
                if (code != "10" && code.toInt() > best) best = code.toInt(), rare = code;
            codes[8].erase(rare);
            sum.modelLeftOut << QStringLiteral("%1 item 8: the rare code \"%2\"").arg(model::SurfaceWord(s), QString::fromLatin1(rare));
        }

        // The week's first meeting day at its first racecourse carries
        // weights beyond ±20 km/h, which the predicted sums leave out.
        QByteArray bigDay;
        for (const Race& r : w.week)
            if (r.surface == surface) {
                bigDay = two(r.meeting) + two(r.dayNo);
                break;
            }

        QByteArray total, codeFile, agari, pace, soha, samples;
        int onCodes = 0, onAgari = 0, onPace = 0, onSoha = 0, onSamples = 0;
        int categories = 0;
        for (int item = 1; item <= 30; ++item) {
            total += n(qint64(codes[size_t(item)].size())) + (item < 30 ? "," : "\r\n");
            categories += int(codes[size_t(item)].size());
            for (const QByteArray& code : codes[size_t(item)]) {
                const QByteArray padded = code.leftJustified(model::kCategoryWidths[item], ' ', true);
                addValue(codeFile, onCodes, "\"" + padded + "\"");
                Weights wt;
                qint64 count = 1 + rng.below(300000);
                if (item == 1) {
                    const int y = code.toInt();
                    const double shift = y == years.front() ? 0 : 0.4 * (y - years.front());
                    wt = {d.agari + shift, d.pace + shift, d.soha + shift};
                    if (y > 2018) count = 0;
                } else {
                    wt = deviation(item, code, surface, d, rng);
                    if (item == 27 && code == bigDay) wt = {24.5, -21.0, 20.5};
                    // The youngest male age and the oldest female one lie
                    // beyond the age charts' fixed axis of ±2.5 km/h.
                    if (item == 12 && code == (surface != Jump ? "127" : "140")) wt = {2.8, -2.9, 2.6};
                    if (item == 12 && code == "259") wt = {-2.7, 2.65, -2.55};
                }
                addValue(agari, onAgari, weightText(wt.agari));
                addValue(pace, onPace, weightText(wt.pace));
                addValue(soha, onSoha, weightText(wt.soha));
                addValue(samples, onSamples, n(count));
            }
        }
        // The fit's own figures follow the counts; the window reads only
        // the first 30 values.
        total += "0.7312,0.6928,0.8127," + n(d.measured) + "\r\n";
        endValues(codeFile, onCodes);
        endValues(agari, onAgari);
        endValues(pace, onPace);
        endValues(soha, onSoha);
        endValues(samples, onSamples);

        const model::ModelFileNames f = model::ModelFiles(s);
        auto put = [&](const QString& systemName, const QByteArray& bytes) {
            QString name = systemName;
            name.replace(QLatin1Char('\\'), QLatin1Char('/'));
            out.files[name] = bytes;
        };
        put(f.totalData, total);
        put(f.codes, codeFile);
        put(f.soha, soha);
        if (surface != Jump) {
            put(f.agari, agari);
            put(f.pace, pace);
        }
        put(f.sampleCounts, samples);
        sum.modelCategories[model::SurfaceWord(s)] = categories;
    }
}

}  // namespace rw::sample::detail
