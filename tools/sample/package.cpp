// The model package's statistics files and jockey images, keyed to the
// simulated world and padded with further records to a realistic size.
#include "common/fixed_text.h"
#include "sample/emit.h"

#include "jvdata/records.h"

#include <algorithm>
#include <cmath>

namespace rw::sample::detail {
namespace {

// A fixed-width statistics record: blanks, fields by 0-based offset, CR LF.
struct Stat {
    QByteArray b;
    explicit Stat(int length) : b(length, ' ') {
        b[length - 2] = '\r';
        b[length - 1] = '\n';
    }
    void text(int offset, int width, QByteArrayView v) { putFixed(b, offset + 1, width, v); }
    void num(int offset, int width, qint64 v) { putFixed(b, offset + 1, width, digits(v, width)); }
};

int rate(qint64 part, qint64 whole) { return whole > 0 ? int(std::min<qint64>(100000, part * 100000 / whole)) : 0; }
int clampRate(double r) { return int(std::clamp(r, 0.0, 100000.0)); }

struct Foal {
    QByteArray reg;
    int birthYear;
    int horse;  // population index, or -1
};

struct DamEntry {
    QByteArray no;
    std::vector<Foal> foals;
    int horseDam = -1;  // index into World::dams, or -1 for padding
};

QByteArray horseStats(const Foal& f, const World& w, Rng& rng) {
    Stat s(228);
    s.text(0, 10, f.reg);
    qint64 flatStarts, jumpStarts, flatPlaces, jumpPlaces, flatEarn, jumpEarn, wins;
    std::array<int, 6> placings{};
    if (f.horse >= 0) {
        const Horse& h = w.horses[size_t(f.horse)];
        flatStarts = h.starts - h.jumpStarts;
        jumpStarts = h.jumpStarts;
        flatPlaces = h.flatPlaces;
        jumpPlaces = h.jumpPlaces;
        flatEarn = h.flatPrize / 10;  // 1000 yen
        jumpEarn = h.jumpPrize / 10;
        placings = h.placings;
        wins = h.placings[0];
    } else {
        const int age = 2024 - f.birthYear;
        flatStarts = age <= 1 ? 0 : rng.below(std::min(45, 6 * (age - 1)) + 1);
        jumpStarts = age >= 4 && rng.chance(0.05) ? rng.below(12) : 0;
        flatPlaces = flatStarts ? rng.below(int(flatStarts / 3) + 1) : 0;
        jumpPlaces = jumpStarts ? rng.below(int(jumpStarts / 3) + 1) : 0;
        flatEarn = flatStarts * (300 + rng.below(2500));
        jumpEarn = jumpStarts * (500 + rng.below(2000));
        wins = std::min<qint64>(flatPlaces, rng.below(4));
        placings = {int(wins), int(flatPlaces - wins) / 2, int(flatPlaces - wins) - int(flatPlaces - wins) / 2, 0, 0,
                    int(flatStarts + jumpStarts - flatPlaces)};
    }
    s.num(10, 6, rate(flatPlaces, flatStarts));
    s.num(16, 6, rate(wins, flatStarts + jumpStarts));
    s.num(22, 6, flatStarts);
    s.num(28, 6, jumpStarts);
    s.num(34, 9, flatEarn);
    s.num(43, 9, jumpEarn);
    s.num(52, 9, flatEarn / 20);
    s.num(61, 9, flatEarn + jumpEarn);
    for (int k = 0; k < 6; ++k) s.num(70 + 6 * k, 6, placings[size_t(k)]);
    s.num(106, 6, rate(jumpPlaces, jumpStarts));
    for (int k = 0; k < 19; ++k) s.num(112 + 6 * k, 6, k < 6 ? placings[size_t(k)] / 2 : (k * 7 + f.birthYear) % 13);
    return s.b;
}

// Sire and dam statistics share one layout.
QByteArray breedingStats(const QByteArray& key, double quality, double turf, qint64 starts, qint64 places, qint64 earnings,
                         double scale, Rng& rng) {
    Stat s(402);
    s.text(0, 10, key);
    const qint64 flatStarts = qint64(double(starts) * scale) + rng.below(int(40 * scale) + 1);
    const qint64 jumpStarts = flatStarts / (12 + rng.below(20));
    const double placeRate = places && starts ? double(places) / double(starts) : 0.18 + 0.1 * quality;
    const qint64 perRun = std::max<qint64>(50, qint64(earnings > 0 && starts > 0 ? double(earnings) / double(starts) / 10.0 : 400 * std::exp(quality)));
    s.num(10, 6, flatStarts / 6 + 1);  // foals
    s.num(16, 6, flatStarts / 8 + 1);  // runners
    s.num(22, 6, qint64(double(flatStarts) * placeRate / 3));
    s.num(28, 6, qint64(double(flatStarts) * placeRate / 2.5));
    s.num(34, 6, flatStarts);
    s.num(40, 6, jumpStarts);
    s.num(46, 9, std::min<qint64>(999999999, flatStarts * perRun));
    s.num(55, 9, std::min<qint64>(999999999, jumpStarts * perRun * 6 / 10));
    s.num(64, 9, std::min<qint64>(999999999, qint64(std::pow(10.0, 5.0 + 1.5 * (quality + 1)))));
    s.num(73, 9, std::min<qint64>(999999999, flatStarts * perRun / 10));
    for (int k = 0; k < 6; ++k) s.num(82 + 6 * k, 6, rng.below(3000));
    auto r = [&](double bias) { return clampRate(100000.0 * (placeRate + bias + rng.normal() * 0.03)); };
    s.num(118, 6, r(-0.02));
    for (int k = 0; k < 4; ++k) s.num(124 + 6 * k, 6, r(0.03 * turf - 0.01 * k));
    for (int k = 0; k < 4; ++k) s.num(148 + 6 * k, 6, r(-0.03 * turf + 0.005 * k));
    for (int k = 0; k < 4; ++k) s.num(172 + 6 * k, 6, r(-0.01 * k));
    for (int k = 0; k < 3; ++k) s.num(196 + 6 * k, 6, r(0.03 * turf + 0.02 * (1 - k)));
    for (int k = 0; k < 3; ++k) s.num(214 + 6 * k, 6, r(-0.03 * turf + 0.02 * (k - 1)));
    for (int k = 0; k < 28; ++k) s.num(232 + 6 * k, 6, rng.below(20000));
    return s.b;
}

QByteArray peopleStats(const QByteArray& code, double skill, const Person* p, Rng& rng) {
    Stat s(121);
    s.text(0, 5, code);
    const int rides = p && p->rides ? p->rides * 8 : 200 + rng.below(3000);
    const double base = 0.2 + 0.07 * skill;
    s.num(5, 6, rides);
    s.num(11, 6, int(rides * std::max(0.01, base / 3)));
    s.num(17, 6, int(rides * std::max(0.01, base / 3)));
    s.num(23, 6, int(rides * std::max(0.01, base / 3)));
    auto surfaceRate = [&](int surface, double bias) {
        if (p && p->surfaceRides[size_t(surface)] >= 10)
            return clampRate(100000.0 * p->surfacePlaces[size_t(surface)] / p->surfaceRides[size_t(surface)]);
        return clampRate(100000.0 * (base + bias + rng.normal() * 0.03));
    };
    s.num(29, 6, surfaceRate(Turf, 0.01));
    s.num(35, 6, surfaceRate(Dirt, -0.01));
    s.num(41, 6, surfaceRate(Jump, -0.02));
    for (int k = 0; k < 7; ++k) s.num(47 + 6 * k, 6, rng.below(5000));
    s.num(89, 9, qint64(rides) * (500 + rng.below(1500)));
    s.num(98, 9, qint64(rides) * rng.below(100));
    s.num(107, 6, rng.below(100000));
    s.num(113, 6, rng.below(100000));
    return s.b;
}

}  // namespace

void emitPackage(const World& w, Output& out, Summary& sum) {
    Rng rng(w.opt.seed ^ 0x7061636b61676500ull);
    const Params& P = w.P;
    std::array<int, 100> counters{};  // padding registration numbers, 1 mod 3: never a world horse's

    auto paddingReg = [&](int year) {
        int& c = counters[size_t(year - 1990)];
        return digits(year, 4) + digits(100001 + 3 * c++, 6);
    };
    auto freeYear = [&](const std::vector<Foal>& foals, int lo, int hi) {
        for (int tries = 0; tries < 20; ++tries) {
            const int y = rng.range(lo, std::max(lo, hi));
            bool taken = false;
            for (const Foal& f : foals) taken |= f.birthYear == y;
            if (!taken) return y;
        }
        return -1;
    };

    // Dams of the world first, with their older and younger foals; then
    // further dams until the horse file reaches its size.
    std::vector<DamEntry> dams;
    qint64 foalCount = 0;
    for (int d = 0; d < int(w.dams.size()); ++d) {
        const Mare& m = w.dams[size_t(d)];
        if (m.foals.empty()) continue;
        DamEntry e;
        e.no = w.ancestors[size_t(m.anc)].no;
        e.horseDam = d;
        for (int h : m.foals) e.foals.push_back({w.horses[size_t(h)].reg, w.horses[size_t(h)].birthYear, h});
        const int siblings = rng.below(4);
        for (int i = 0; i < siblings; ++i) {
            const int y = freeYear(e.foals, std::max(2003, m.birthYear + 4), 2022);
            if (y > 0) e.foals.push_back({paddingReg(y), y, -1});
        }
        std::sort(e.foals.begin(), e.foals.end(), [](const Foal& a, const Foal& b) {
            return a.birthYear != b.birthYear ? a.birthYear < b.birthYear : a.reg < b.reg;
        });
        foalCount += qint64(e.foals.size());
        dams.push_back(std::move(e));
    }
    for (int i = 0; foalCount < P.pkgHorses && int(dams.size()) < P.pkgDams + P.pkgHorses; ++i) {
        DamEntry e;
        e.no = QByteArray("12") + digits(5000000 + 3 * i, 8);
        const int born = rng.range(1992, 2016);
        const int foals = std::min<qint64>(rng.range(1, 6), P.pkgHorses - foalCount);
        for (int k = 0; k < foals; ++k) {
            const int y = freeYear(e.foals, std::max(2003, born + 4), std::min(2022, born + 20));
            if (y > 0) e.foals.push_back({paddingReg(y), y, -1});
        }
        if (e.foals.empty()) continue;
        std::sort(e.foals.begin(), e.foals.end(), [](const Foal& a, const Foal& b) { return a.birthYear < b.birthYear; });
        foalCount += qint64(e.foals.size());
        dams.push_back(std::move(e));
    }
    std::sort(dams.begin(), dams.end(), [](const DamEntry& a, const DamEntry& b) { return a.no < b.no; });

    // HNSKOPTION1N.dat: each dam's foals in consecutive records, oldest first.
    QByteArray& hnsk = out.files[QStringLiteral("OPTION1N/HNSKOPTION1N.dat")];
    std::vector<const Foal*> allFoals;
    for (const DamEntry& d : dams)
        for (const Foal& f : d.foals) {
            hnsk += d.no + f.reg + "\r\n";
            allFoals.push_back(&f);
        }
    out.counts[QStringLiteral("OPTION1N/HNSKOPTION1N.dat")] = qint64(allFoals.size());

    // KYOSOBA.dat: every foal, by registration number.
    std::sort(allFoals.begin(), allFoals.end(), [](const Foal* a, const Foal* b) { return a->reg < b->reg; });
    QByteArray& kyosoba = out.files[QStringLiteral("OPTION1N/KYOSOBA.dat")];
    kyosoba.reserve(qsizetype(allFoals.size()) * 228);
    for (const Foal* f : allFoals) kyosoba += horseStats(*f, w, rng);
    out.counts[QStringLiteral("OPTION1N/KYOSOBA.dat")] = qint64(allFoals.size());

    // HAHAUMA.dat: every dam.
    QByteArray& hahauma = out.files[QStringLiteral("OPTION1N/HAHAUMA.dat")];
    for (const DamEntry& d : dams) {
        if (d.horseDam >= 0) {
            const Mare& m = w.dams[size_t(d.horseDam)];
            hahauma += breedingStats(d.no, 0, 0, m.starts, m.places, m.earnings, 4.0, rng);
        } else {
            hahauma += breedingStats(d.no, rng.normal() * 0.4, rng.normal(), rng.range(2, 40), 0, 0, 1.0, rng);
        }
    }
    out.counts[QStringLiteral("OPTION1N/HAHAUMA.dat")] = qint64(dams.size());

    // STALLION.dat: the world's sires and older ones.
    std::vector<std::pair<QByteArray, QByteArray>> sires;
    for (const Stallion& s : w.sires)
        sires.push_back({w.ancestors[size_t(s.anc)].no,
                         breedingStats(w.ancestors[size_t(s.anc)].no, s.quality, s.turf, s.starts, s.places, s.earnings, 40.0, rng)});
    for (int i = 0; int(sires.size()) < P.pkgSires; ++i) {
        const QByteArray no = QByteArray("11") + digits(8000000 + 3 * i, 8);
        sires.push_back({no, breedingStats(no, rng.normal() * 0.4, rng.normal(), rng.range(100, 20000), 0, 0, 1.0, rng)});
    }
    std::sort(sires.begin(), sires.end());
    QByteArray& stallion = out.files[QStringLiteral("OPTION1N/STALLION.dat")];
    for (const auto& s : sires) stallion += s.second;
    out.counts[QStringLiteral("OPTION1N/STALLION.dat")] = qint64(sires.size());

    // KISHUSEISEI.dat and CHOKYOSEISEI.dat.
    std::vector<std::pair<QByteArray, QByteArray>> jockeys, trainers;
    for (const Person& j : w.jockeys) jockeys.push_back({j.code, peopleStats(j.code, j.skill, &j, rng)});
    for (int i = 0; int(jockeys.size()) < P.pkgJockeys; ++i) {
        const QByteArray code = digits(2001 + 3 * i, 5);
        jockeys.push_back({code, peopleStats(code, rng.normal() * 0.6, nullptr, rng)});
    }
    for (const Person& t : w.trainers) trainers.push_back({t.code, peopleStats(t.code, t.skill, nullptr, rng)});
    for (int i = 0; int(trainers.size()) < P.pkgTrainers; ++i) {
        const QByteArray code = digits(5001 + 3 * i, 5);
        trainers.push_back({code, peopleStats(code, rng.normal() * 0.5, nullptr, rng)});
    }
    std::sort(jockeys.begin(), jockeys.end());
    std::sort(trainers.begin(), trainers.end());
    for (const auto& j : jockeys) out.files[QStringLiteral("OPTION1N/KISHUSEISEI.dat")] += j.second;
    for (const auto& t : trainers) out.files[QStringLiteral("OPTION1N/CHOKYOSEISEI.dat")] += t.second;
    out.counts[QStringLiteral("OPTION1N/KISHUSEISEI.dat")] = qint64(jockeys.size());
    out.counts[QStringLiteral("OPTION1N/CHOKYOSEISEI.dat")] = qint64(trainers.size());

    // KS20200101NEW.dat: every rider of the world, then riders of the past,
    // as 4161-byte images.
    const QDate make(2024, 11, 29);
    NameMaker names(w.opt.seed ^ 0x6b73ull);
    QByteArray& ks = out.files[QStringLiteral("OPTION1N/KS20200101NEW.dat")];
    auto addImage = [&](const Person& p, std::uint64_t salt) {
        jv::ParsedKS parsed;
        jv::ParseKS(ksRecord(w, p, make, salt), parsed);
        ks += jv::ToFixedKS(parsed);
        sum.packageJockeys.append(p.code);
    };
    for (size_t j = 0; j < w.jockeys.size(); ++j) addImage(w.jockeys[j], w.opt.seed * 7919 + j);
    const int extra = std::max(0, P.pkgJockeys - int(w.jockeys.size()));
    for (int i = 0; i < extra; ++i) {
        Person p;
        p.code = digits(2001 + 3 * i, 5);  // the padding riders of KISHUSEISEI.dat
        p.name = names.person(rng.chance(0.05));
        p.birth = QDate(rng.range(1940, 1985), rng.range(1, 12), rng.range(1, 28));
        p.licence = QDate(p.birth.year() + 18, 3, 1);
        p.retiredOn = QDate(std::min(2023, p.birth.year() + rng.range(30, 45)), rng.range(1, 12), rng.range(1, 28));
        p.affiliation = 1 + (i % 2);
        p.qualification = rng.chance(0.3) ? 1 : 2;
        p.skill = rng.normal() * 0.6;
        addImage(p, w.opt.seed * 104729 + std::uint64_t(i));
    }
    out.counts[QStringLiteral("OPTION1N/KS20200101NEW.dat")] = qint64(sum.packageJockeys.size());
}

}  // namespace rw::sample::detail
