#include "sample/world.h"

#include "common/cp932.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <set>

namespace rw::sample::detail {

// ---- Scales, courses, calendar ----------------------------------------------

Params paramsFor(Scale s) {
    switch (s) {
    case Scale::Small: return {1, 1, 3, 8, 10, 12, 1.0, 14, 4, 10, 10, 8, 10, 300, 150, 60, 40, 40};
    case Scale::Typical: return {2, 3, 12, 14, 18, 52, 0.25, 140, 60, 200, 300, 150, 150, 100000, 30000, 3000, 400, 450};
    case Scale::Large: return {3, 3, 12, 14, 18, 156, 0.25, 150, 80, 220, 350, 160, 180, 120000, 36000, 3500, 450, 500};
    }
    return paramsFor(Scale::Small);
}

namespace {

// Real-ish distances per racecourse.
const CourseInfo kCourses[10] = {
    {"01", false, {1200, 1500, 1800, 2000, 2600}, {1000, 1700, 2400}, {}},
    {"02", false, {1200, 1800, 2000, 2600}, {1000, 1700, 2400}, {}},
    {"03", false, {1200, 1800, 2000, 2600}, {1150, 1700, 2400}, {2750, 3380}},
    {"04", true, {1000, 1200, 1400, 1600, 1800, 2000, 2200, 2400}, {1200, 1800, 2500}, {2850, 3250}},
    {"05", true, {1400, 1600, 1800, 2000, 2300, 2400, 2500, 3400}, {1300, 1400, 1600, 2100}, {3000, 3110}},
    {"06", false, {1200, 1600, 1800, 2000, 2200, 2500, 3600}, {1200, 1800, 2400, 2500}, {2880, 3200, 3350, 4100}},
    {"07", true, {1200, 1400, 1600, 2000, 2200, 3000}, {1200, 1400, 1800, 1900}, {3000, 3300}},
    {"08", false, {1200, 1400, 1600, 1800, 2000, 2200, 2400, 3000, 3200}, {1200, 1400, 1800, 1900}, {2910, 3170, 3930}},
    {"09", false, {1200, 1400, 1600, 1800, 2000, 2200, 2400, 3000, 3200}, {1200, 1400, 1800, 2000}, {2970, 3140, 3900}},
    {"10", false, {1200, 1700, 1800, 2000, 2600}, {1000, 1700, 2400}, {2860, 3390}},
};

// The three racecourses of each four-weekend block of the year.
constexpr int kBlocks[14][3] = {{5, 7, 6}, {4, 7, 9}, {5, 8, 6}, {5, 8, 2}, {4, 7, 3}, {4, 8, 1}, {2, 6, 1},
                                {3, 9, 0}, {5, 8, 0}, {4, 7, 3}, {4, 7, 2}, {4, 7, 9}, {5, 8, 6}, {5, 8, 6}};

QDate firstSaturday(int year) {
    QDate d(year, 1, 1);
    return d.addDays((6 - d.dayOfWeek() + 7) % 7);
}

int weekIndexInYear(const QDate& sat) { return int(firstSaturday(sat.year()).daysTo(sat) / 7); }
int blockOf(const QDate& sat) { return std::min(weekIndexInYear(sat) / 4, 13); }

bool racesOn(const QDate& sat) {
    // No racing over the turn of the year.
    return !((sat.month() == 12 && sat.day() >= 29) || (sat.month() == 1 && sat.day() <= 4));
}

std::array<int, 3> coursesOn(const QDate& sat) {
    const int b = blockOf(sat);
    return {kBlocks[b][0], kBlocks[b][1], kBlocks[b][2]};
}

// Meeting and day number of a race day at a course; `sat` is the Saturday of
// its weekend, `offset` 0, 1 or 2 for Saturday, Sunday, Monday.
std::pair<int, int> meetingOf(int courseIdx, const QDate& sat, int offset) {
    const int wi = weekIndexInYear(sat);
    const int b = std::min(wi / 4, 12);
    int meeting = 1;
    for (int k = 0; k < b; ++k)
        for (int c : kBlocks[k])
            if (c == courseIdx) ++meeting;
    const int day = (wi >= 52 ? 8 + (wi - 52) * 2 : (wi % 4) * 2) + offset + 1;
    return {meeting, day};
}

int weekdayCode(const QDate& d) {
    // JV-Data: 1 土, 2 日, 3 祝日, 4 月 … 8 金.
    switch (d.dayOfWeek()) {
    case 6: return 1;
    case 7: return 2;
    default: return d.dayOfWeek() + 3;
    }
}

int nearestDistance(int courseIdx, int surface, int want) {
    const CourseInfo& c = kCourses[courseIdx];
    const std::vector<int>& v = surface == Turf ? c.turf : surface == Dirt ? c.dirt : c.jump;
    int best = v.front();
    for (int d : v)
        if (std::abs(d - want) < std::abs(best - want)) best = d;
    return best;
}

QByteArray trackCode(int courseIdx, int surface, int distance) {
    const CourseInfo& c = kCourses[courseIdx];
    if (surface == Jump) {
        static const char* kJump[] = {"51", "53", "54", "55", "57"};
        return kJump[(distance / 10 + courseIdx) % 5];
    }
    if (surface == Dirt) return c.left ? "23" : "24";
    if (courseIdx == 3 && distance == 1000) return "10";
    const bool outer = (courseIdx == 5 && (distance == 1200 || distance == 1600 || distance == 2200)) ||
                       (courseIdx == 8 && (distance == 1600 || distance == 1800 || distance == 2400)) ||
                       (courseIdx == 7 && (distance == 1600 || distance == 1800)) ||
                       (courseIdx == 3 && (distance == 1600 || distance == 1800));
    if (c.left) return outer ? "12" : "11";
    return outer ? "18" : "17";
}

// Seconds of an average runner on good going.
double parTime(int surface, int distance) {
    struct P { int d; double t; };
    static const P turf[] = {{1000, 56.0}, {1200, 69.0}, {1400, 81.6}, {1600, 94.2}, {1800, 107.6}, {2000, 120.6},
                             {2200, 133.6}, {2400, 146.2}, {2600, 159.6}, {3000, 184.8}, {3200, 197.8}, {3600, 224.2}};
    static const P dirt[] = {{1000, 59.4}, {1200, 71.8}, {1400, 84.8}, {1600, 97.4}, {1800, 112.8}, {2000, 126.2},
                             {2100, 132.4}, {2400, 152.2}, {2500, 158.8}};
    if (surface == Jump) return distance / 15.1;
    const P* t = surface == Turf ? turf : dirt;
    const int n = surface == Turf ? int(std::size(turf)) : int(std::size(dirt));
    if (distance <= t[0].d) return t[0].t * distance / t[0].d;
    for (int i = 1; i < n; ++i)
        if (distance <= t[i].d)
            return t[i - 1].t + (t[i].t - t[i - 1].t) * (distance - t[i - 1].d) / double(t[i].d - t[i - 1].d);
    return t[n - 1].t * distance / t[n - 1].d;
}

double goingFactor(int surface, int going) {
    static const double turf[] = {1.0, 1.0, 1.006, 1.014, 1.022};
    static const double dirt[] = {1.0, 1.0, 0.996, 0.992, 0.994};
    static const double jump[] = {1.0, 1.0, 1.008, 1.016, 1.024};
    const double* f = surface == Turf ? turf : surface == Dirt ? dirt : jump;
    return f[std::clamp(going, 0, 4)];
}

int startTimeOf(int raceNo, int courseSlot) {
    static const int base[] = {1005, 1035, 1105, 1135, 1225, 1255, 1325, 1355, 1430, 1505, 1540, 1615};
    const int t = base[std::clamp(raceNo, 1, 12) - 1];
    const int minutes = (t / 100) * 60 + t % 100 + courseSlot * 10;
    return (minutes / 60) * 100 + minutes % 60;
}

QByteArray marginCode(double diff) {
    if (diff <= 0) return "D  ";
    const double len = diff / 0.17;
    if (len < 0.1) return "H  ";
    if (len < 0.2) return "A  ";
    if (len < 0.35) return "K  ";
    if (len < 0.6) return " 12";
    if (len < 0.85) return " 34";
    if (len < 1.15) return "1  ";
    if (len < 1.4) return "114";
    if (len < 1.6) return "112";
    if (len < 1.85) return "134";
    if (len < 2.25) return "2  ";
    if (len < 2.75) return "212";
    if (len < 3.25) return "3  ";
    if (len < 3.75) return "312";
    if (len < 9.5) return QByteArray::number(int(len + 0.5)).leftJustified(3, ' ');
    if (len < 10) return "9  ";
    return "Z  ";
}

// Prize money of the first five places, 100 yen.
std::array<int, 7> prizesFor(int cls, int ageGroup, int surface, const QByteArray& grade) {
    int first;
    if (surface == Jump) first = cls == 0 ? 82000 : 180000;
    else if (grade == "A") first = 650000;
    else if (grade == "B") first = 600000;
    else if (grade == "C") first = 430000;
    else if (cls >= 4) first = 240000;
    else if (cls == 3) first = 155000;
    else if (cls == 2) first = 110000;
    else if (cls == 1) first = ageGroup == 2 ? 80000 : 78000;
    else first = ageGroup == 2 ? 55000 : 55000;
    auto r = [&](double f) { return int(std::lround(first * f / 10.0) * 10); };
    return {first, r(0.4), r(0.25), r(0.15), r(0.1), 0, 0};
}

}  // namespace

const CourseInfo& course(int index) { return kCourses[index]; }

QByteArray digits(qint64 v, int width) {
    QByteArray out(width, '0');
    if (v < 0) v = 0;
    for (int i = width - 1; i >= 0 && v > 0; --i) {
        out[i] = char('0' + v % 10);
        v /= 10;
    }
    return out;
}

QByteArray dateText(const QDate& d) { return digits(d.year(), 4) + digits(d.month(), 2) + digits(d.day(), 2); }

int frameOf(int h, int n) {
    if (n <= 8) return h;
    // JRA: every frame holds n / 8 horses, the outer frames one more.
    const int base = n / 8, extra = n % 8;
    int first = 1;
    for (int f = 1; f <= 8; ++f) {
        const int size = base + (f > 8 - extra ? 1 : 0);
        if (h < first + size) return f;
        first += size;
    }
    return 8;
}

QByteArray Race::courseCode() const { return foreignCourse.isEmpty() ? QByteArray(kCourses[course].code) : foreignCourse; }
QByteArray Race::raceKey16() const {
    return dateText(date) + courseCode() + digits(meeting, 2) + digits(dayNo, 2) + digits(raceNo, 2);
}
QByteArray Race::raceId() const { return dateText(date) + courseCode() + digits(raceNo, 2); }

// ---- Market ------------------------------------------------------------------

Market marketOf(const Race& r) {
    Market m;
    for (const Run& run : r.runs) {
        m.n = std::max(m.n, run.horseNo);
        m.p[size_t(run.horseNo)] = run.abnormal == 1 ? 0.0 : run.p;
    }
    // Harville: each later place is a race among the horses left.
    m.tri.assign(19 * 19 * 19, 0.0);
    for (int a = 1; a <= m.n; ++a) {
        const double pa = m.p[size_t(a)];
        if (pa <= 0) continue;
        for (int b = 1; b <= m.n; ++b) {
            const double pb = m.p[size_t(b)];
            if (b == a || pb <= 0 || 1 - pa <= 0) continue;
            const double ab = pa * pb / (1 - pa);
            for (int c = 1; c <= m.n; ++c) {
                const double pc = m.p[size_t(c)];
                if (c == a || c == b || pc <= 0 || 1 - pa - pb <= 1e-12) continue;
                m.tri[size_t((a * 19 + b) * 19 + c)] = ab * pc / (1 - pa - pb);
            }
        }
    }
    return m;
}

double Market::exacta(int a, int b) const {
    const double pa = p[size_t(a)], pb = p[size_t(b)];
    if (a == b || pa <= 0 || pb <= 0 || pa >= 1) return 0;
    return pa * pb / (1 - pa);
}

double Market::trio(int a, int b, int c) const {
    return trifecta(a, b, c) + trifecta(a, c, b) + trifecta(b, a, c) + trifecta(b, c, a) + trifecta(c, a, b) +
           trifecta(c, b, a);
}

double Market::wide(int a, int b) const {
    double s = 0;
    for (int c = 1; c <= n; ++c)
        if (c != a && c != b) s += trio(a, b, c);
    return s;
}

double Market::place(int a, int places) const {
    double s = 0;
    if (places == 2) {
        for (int b = 1; b <= n; ++b) s += exacta(a, b) + exacta(b, a);
        return s;
    }
    for (int b = 1; b <= n; ++b)
        for (int c = 1; c <= n; ++c) s += trifecta(a, b, c) + trifecta(b, a, c) + trifecta(b, c, a);
    return s;
}

std::vector<std::vector<int>> slotsOf(const Race& r) {
    // Competition ranking: horses sharing position p can claim claims p …
    // p + (sharers − 1).
    std::vector<std::vector<int>> claims;
    for (int i = 0; i < int(r.runs.size()); ++i) {
        const Run& run = r.runs[size_t(i)];
        if (run.abnormal != 0 || run.confirmed <= 0) continue;
        const int from = run.confirmed, to = run.confirmed + run.deadHeat;
        if (int(claims.size()) < to) claims.resize(size_t(to));
        for (int s = from; s <= to; ++s) claims[size_t(s - 1)].push_back(i);
    }
    return claims;
}

// ---- Building the world ------------------------------------------------------

namespace {

struct Builder {
    World& w;
    Rng rng;
    NameMaker names;
    std::vector<QByteArray> ownerColours;
    int stallionCounter = 0, mareCounter = 0;
    std::map<std::pair<qint64, int>, std::array<int, 3>> goingMemo;  // (julian day, course)

    Builder(World& world, std::uint64_t seed) : w(world), rng(seed), names(seed ^ 0x6e616d6573ull) {}

    // -- ancestors --
    int ancestor(bool male, int sire, int dam) {
        Ancestor a;
        a.no = male ? QByteArray("11") + digits(200000 + 37 * stallionCounter++, 8)
                    : QByteArray("12") + digits(300000 + 7 * mareCounter++, 8);
        a.name = names.horse().name;
        a.sire = sire;
        a.dam = dam;
        w.ancestors.push_back(a);
        return int(w.ancestors.size()) - 1;
    }

    std::vector<int> oldStallions, grandStallions;

    void buildPedigreePools() {
        for (int i = 0; i < 40; ++i) oldStallions.push_back(ancestor(true, -1, -1));
        for (int i = 0; i < 60; ++i) {
            const int mare = ancestor(false, -1, -1);
            grandStallions.push_back(ancestor(true, oldStallions[size_t(rng.below(40))], mare));
        }
        for (int i = 0; i < w.P.sires; ++i) {
            const int damOfSire = ancestor(false, oldStallions[size_t(rng.below(40))], ancestor(false, -1, -1));
            Stallion s;
            s.anc = ancestor(true, grandStallions[size_t(rng.below(60))], damOfSire);
            s.quality = rng.normal() * 0.35;
            s.turf = rng.normal();
            w.sires.push_back(s);
        }
    }

    int newDam(int birthYear) {
        const int damsDam = ancestor(false, oldStallions[size_t(rng.below(40))], ancestor(false, -1, -1));
        const int damsSire = rng.chance(0.5) ? w.sires[size_t(rng.below(int(w.sires.size())))].anc
                                             : grandStallions[size_t(rng.below(60))];
        Mare m;
        m.anc = ancestor(false, damsSire, damsDam);
        m.birthYear = birthYear - rng.range(4, 14);
        w.dams.push_back(m);
        return int(w.dams.size()) - 1;
    }

    // -- people --
    void buildPeople() {
        const QDate histStart = w.weekends.empty() ? w.weekDates[0] : w.weekends.front();
        const int nTrainers = w.P.trainers;
        for (int i = 0; i < nTrainers; ++i) {
            Person t;
            t.code = digits(1001 + i * 3 + rng.below(3), 5);
            t.name = names.person(rng.chance(0.03));
            t.birth = QDate(rng.range(1955, 1988), rng.range(1, 12), rng.range(1, 28));
            t.licence = QDate(t.birth.year() + rng.range(30, 40), 3, 1);
            t.affiliation = 1 + (i % 2);
            t.skill = rng.normal() * 0.5;
            w.trainers.push_back(t);
        }
        for (int i = 0; i < w.P.owners; ++i) {
            w.owners.push_back(Named{digits(100 + i * 11 + rng.below(11), 6), names.owner(), {}});
            ownerColours.push_back(names.colours());
        }
        for (int i = 0; i < w.P.breeders; ++i)
            w.breeders.push_back(Named{digits(10000 + i * 13 + rng.below(13), 8), names.breeder(), names.productionArea()});

        const int active = w.P.jockeysActive, retired = w.P.jockeysRetired;
        for (int i = 0; i < active + retired; ++i) {
            Person j;
            const bool isRetired = i >= active;
            j.code = isRetired ? digits(100 + (i - active) * 5 + rng.below(5), 5) : digits(1001 + i * 5 + rng.below(5), 5);
            const int kind = rng.below(100);
            if (!isRetired && kind < 3) {
                j.affiliation = 4;  // short-term foreign licence
                j.name = names.foreignPerson();
            } else if (!isRetired && kind < 6) {
                j.affiliation = 3;
                j.invitedArea = cp932::encode(localArea(rng.below(localAreaCount())));
                j.name = names.person(false);
            } else {
                j.affiliation = 1 + (i % 2);
                j.sex = rng.chance(0.06) ? 2 : 1;
                j.name = names.person(j.sex == 2);
            }
            const int age = rng.range(19, 52);
            j.birth = QDate(2024 - age, rng.range(1, 12), rng.range(1, 28));
            j.licence = QDate(std::max(j.birth.year() + 18, 1990), 3, 1);
            if (!isRetired && j.affiliation <= 2 && j.licence.year() >= 2022) {
                j.apprentice = 2024 - j.licence.year() >= 2 ? 1 : (2024 - j.licence.year() == 1 ? 2 : 3);
                j.trainer = rng.below(nTrainers);
            }
            const int q = rng.below(100);
            j.qualification = q < 45 ? 1 : (q < 93 ? 2 : 3);
            if (i < 6) j.qualification = 1;  // jump races always find riders
            j.skill = rng.normal() * 0.6 + (j.affiliation == 4 ? 0.6 : 0);
            if (i == 6) j.skill = std::max(j.skill, 1.3);  // every world has a leading rider
            if (isRetired) {
                const int span = std::max(1, int(histStart.daysTo(w.weekDates[0])));
                j.retiredOn = histStart.addDays(rng.below(span));
                j.licence = QDate(j.birth.year() + 18, 3, 1);
            }
            w.jockeys.push_back(j);
        }
    }

    // -- horses --
    int newHorse(int birthYear, char sex, int surface, int distPref, double ability) {
        Horse h;
        h.birthYear = birthYear;
        int& counter = w.regCounter[size_t(birthYear - 1990)];
        h.reg = digits(birthYear, 4) + digits(100000 + 3 * counter++, 6);
        h.name = names.horse();
        h.birth = QDate(birthYear, rng.range(2, 5), rng.range(1, 28));
        h.sex = sex;
        static const char* kCoats[] = {"01", "03", "03", "04", "04", "05", "06", "07", "02"};
        h.coat = kCoats[rng.below(9)];
        const int sym = rng.below(100);
        h.symbol = sym < 90 ? "00" : sym < 94 ? "01" : sym < 97 ? "04" : "07";
        h.sire = rng.below(int(w.sires.size()));
        // Now and then a younger sibling of a horse already in the world.
        int dam = -1;
        if (!w.horses.empty() && rng.chance(0.04)) {
            const int other = rng.below(int(w.horses.size()));
            if (w.horses[size_t(other)].birthYear != birthYear) dam = w.horses[size_t(other)].dam;
        }
        if (dam < 0) dam = newDam(birthYear);
        h.dam = dam;
        w.dams[size_t(dam)].foals.push_back(int(w.horses.size()));
        h.trainer = rng.below(int(w.trainers.size()));
        h.owner = rng.below(int(w.owners.size()));
        h.breeder = rng.below(int(w.breeders.size()));
        h.colours = ownerColours[size_t(h.owner)];
        h.ability = ability + w.sires[size_t(h.sire)].quality * 0.5;
        h.surface = surface;
        h.distPref = distPref;
        static const int kStyles[] = {0, 1, 1, 1, 2, 2, 2, 3};
        h.style = kStyles[rng.below(8)];
        h.baseWeight = sex == '2' ? rng.range(410, 490) : rng.range(440, 525);
        w.horses.push_back(h);
        return int(w.horses.size()) - 1;
    }

    int weekIndexOf(const QDate& d) const {
        // Weekends (history) before d; the week itself is weekends.size().
        return int(std::lower_bound(w.weekends.begin(), w.weekends.end(), d) - w.weekends.begin());
    }

    void schedule(Horse& h, bool debutThisWeek) {
        const int W = int(w.weekends.size());
        if (debutThisWeek) {
            h.debutWeek = W;
            return;
        }
        // First run: as a two-year-old from June, or at three.
        QDate debut = QDate(h.birthYear + 2, 6, 1).addDays(rng.below(175));
        if (h.birthYear + 2 < w.weekDates[0].year() && rng.chance(0.3))
            debut = QDate(h.birthYear + 3, 1, 10).addDays(rng.below(140));
        if (h.surface == Jump) debut = QDate(h.birthYear + 3, 6, 1).addDays(rng.below(200));
        h.debutWeek = weekIndexOf(debut);
        if (!w.weekends.empty() && debut >= w.weekends.front()) {
            // A career inside the window starts in the lowest class.
            h.winBudget += h.startClass;
            h.startClass = 0;
        }
        if (!w.weekends.empty() && debut < w.weekends.front()) {
            // A career before the window: its figures count in UM and the
            // statistics, its wins made its class.
            const int pre = std::clamp(int(debut.daysTo(w.weekends.front()) / 45), h.startClass + 1, 40);
            h.runsSoFar = pre;
            h.starts = pre;
            h.placings[0] = h.startClass;
            int left = pre - h.startClass;
            for (int p = 1; p < 5 && left > 0; ++p) {
                const int k = std::min(left, rng.below(pre / 4 + 1));
                h.placings[size_t(p)] = k;
                left -= k;
            }
            h.placings[5] = left;
            const bool jump = h.surface == Jump;
            if (jump) h.jumpStarts = pre;
            (jump ? h.jumpPrize : h.flatPrize) = qint64(h.startClass) * 60000 + qint64(h.placings[1]) * 22000 + qint64(h.placings[2]) * 14000;
            (jump ? h.jumpPlaces : h.flatPlaces) = h.placings[0] + h.placings[1] + h.placings[2];
            h.lastBodyWeight = h.baseWeight;
        }
        int first = std::max(0, h.debutWeek);
        int last;
        if (h.week) {
            last = W - rng.range(2, 9);
            if (first > W - 2) first = W - 2;
            last = std::max(last, first);
        } else if (h.retired) {
            last = first + rng.below(std::max(1, W - first - 6));
        } else {
            last = W - 1 - rng.below(8);
        }
        if (last < 0 || first >= W) return;
        static const int kGaps[] = {2, 3, 3, 4, 4, 4, 5, 5, 6, 6, 7, 8, 9, 10};
        for (int t = last; t >= first; t -= kGaps[rng.below(int(std::size(kGaps)))]) h.schedule.push_back(t);
        std::reverse(h.schedule.begin(), h.schedule.end());
        if (h.retired) h.retiredOn = w.weekends[size_t(h.schedule.back())].addDays(rng.range(20, 90));
    }

    // -- runners and results --
    double effective(const Horse& h, const Race& r) const {
        const double years = h.birth.daysTo(r.date) / 365.25;
        double e = h.ability;
        if (years < 3.5) e -= 0.55 * (3.5 - years);
        if (years > 6) e -= 0.15 * (years - 6);
        if (r.surface != h.surface) e -= r.surface == Jump || h.surface == Jump ? 1.5 : 0.6;
        e -= 0.25 * std::abs(r.distance - h.distPref) / 400.0;
        return e;
    }

    int age(const Horse& h, const QDate& d) const { return d.year() - h.birthYear; }

    int weightFor(const Race& r, const Horse& h, int apprentice) const {
        const bool female = h.sex == '2';
        int wgt;
        const QByteArray& rule = r.weightRule;
        if (r.surface == Jump) wgt = (rule == "2" ? 610 : 600) - (female ? 20 : 0);
        else if (rule == "1") wgt = std::clamp(int(std::lround(540 + h.ability * 20)) / 5 * 5, 500, 590);
        else if (rule == "2") wgt = 570 + 10 * std::min(3, h.wins) - (female ? 20 : 0);
        else if (r.ageGroup == 2) wgt = (r.date.month() >= 9 ? 560 : 550) - (female ? 10 : 0);
        else if (r.ageGroup == 3) wgt = 570 - (female ? 20 : 0);
        else wgt = (age(h, r.date) == 3 ? 570 : 580) - (female ? 20 : 0);
        if (r.grade == " ") wgt -= apprentice * 10;
        return wgt;
    }

    bool activeOn(const Person& j, const QDate& d) const {
        return j.licence <= d && (!j.retiredOn.isValid() || j.retiredOn > d);
    }
    bool rides(const Person& j, int surface) const {
        return surface == Jump ? j.qualification != 2 : j.qualification != 3;
    }

    // Picks distinct riders; better horses tend to get better jockeys.
    void assignJockeys(Race& r, const std::vector<int>& pool) {
        std::vector<int> order(r.runs.size());
        std::iota(order.begin(), order.end(), 0);
        std::sort(order.begin(), order.end(), [&](int a, int b) {
            const double aa = w.horses[size_t(r.runs[size_t(a)].horse)].ability;
            const double bb = w.horses[size_t(r.runs[size_t(b)].horse)].ability;
            return aa != bb ? aa > bb : a < b;
        });
        std::set<int> used;
        for (size_t k = 0; k < order.size(); ++k) {
            int best = -1;
            for (int tries = 0; tries < 40 && best < 0; ++tries)
                for (int c = 0; c < 3; ++c) {
                    const int j = pool[size_t(rng.below(int(pool.size())))];
                    if (used.count(j) || !rides(w.jockeys[size_t(j)], r.surface)) continue;
                    if (best < 0 || (k < order.size() / 3 && w.jockeys[size_t(j)].skill > w.jockeys[size_t(best)].skill))
                        best = j;
                }
            if (best < 0)  // a thin pool: anyone free who rides this surface
                for (int j : pool)
                    if (!used.count(j) && rides(w.jockeys[size_t(j)], r.surface)) { best = j; break; }
            if (best < 0)
                for (int j = 0; j < int(w.jockeys.size()); ++j)
                    if (!used.count(j) && activeOn(w.jockeys[size_t(j)], r.date)) { best = j; break; }
            used.insert(best);
            r.runs[size_t(order[k])].jockey = best;
        }
    }

    void setRunners(Race& r, const std::vector<int>& horses) {
        const int n = int(horses.size());
        std::vector<int> numbers(static_cast<size_t>(n));
        std::iota(numbers.begin(), numbers.end(), 1);
        for (int i = n - 1; i > 0; --i) std::swap(numbers[size_t(i)], numbers[size_t(rng.below(i + 1))]);
        r.runs.clear();
        for (int i = 0; i < n; ++i) {
            Run run;
            run.horse = horses[size_t(i)];
            run.horseNo = numbers[size_t(i)];
            run.frame = frameOf(run.horseNo, n);
            r.runs.push_back(run);
        }
        std::sort(r.runs.begin(), r.runs.end(), [](const Run& a, const Run& b) { return a.horseNo < b.horseNo; });
    }

    void finishEntries(Race& r) {
        for (Run& run : r.runs) {
            Horse& h = w.horses[size_t(run.horse)];
            const Person& j = w.jockeys[size_t(run.jockey)];
            run.apprentice = r.grade == " " ? j.apprentice : 0;
            run.weight = weightFor(r, h, run.apprentice);
            run.age = age(h, r.date);
            run.blinker = rng.chance(0.12);
            run.firstStart = h.runsSoFar == 0;
            const int growth = std::min(30, std::max(0, int(h.birth.daysTo(r.date) / 30) - 24));
            run.bodyWeight = std::clamp(h.baseWeight + growth + rng.range(-6, 6), 380, 580);
            run.bodyDelta = run.firstStart ? 0 : run.bodyWeight - h.lastBodyWeight;
            run.style = h.style;
        }
    }

    void fillRaceHeader(Race& r, int courseSlot) {
        r.weekday = weekdayCode(r.date);
        r.track = trackCode(r.course, r.surface, r.distance);
        static const char* kSections[] = {"A ", "B ", "C ", "D "};
        r.section = r.surface == Turf ? QByteArray(kSections[(r.meeting + r.dayNo / 3) % 4]) : QByteArray("  ");
        r.startTime = startTimeOf(r.raceNo, courseSlot);
        QByteArray c = r.debut ? "701" : r.cls == 0 ? "703" : r.cls == 1 ? "005" : r.cls == 2 ? "010" : r.cls == 3 ? "016" : "999";
        const QByteArray z = "000";
        switch (r.ageGroup) {
        case 2: r.conditions = {c, z, z, z, c}; r.typeCode = "11"; break;
        case 3: r.conditions = {z, c, z, z, c}; r.typeCode = "12"; break;
        case 44: r.conditions = {z, z, c, c, c}; r.typeCode = r.surface == Jump ? "19" : "14"; break;
        default: r.conditions = {z, c, c, c, c}; r.typeCode = r.surface == Jump ? "18" : "13"; break;
        }
        static const char* kSymbols[] = {"000", "A01", "A03", "A13", "N20", "B00", "C01"};
        r.symbol = r.fillies ? QByteArray("B00") : QByteArray(kSymbols[rng.below(7)]);
        if (r.weightRule.isEmpty())
            r.weightRule = r.ageGroup == 2 || r.ageGroup == 3 ? "3" : r.cls >= 4 ? "2" : rng.chance(0.15) ? "1" : "4";
        r.prizes = prizesFor(r.cls, r.ageGroup, r.surface, r.grade);
        auto& g = goingMemo[{r.date.toJulianDay(), r.course}];
        if (g[0] == 0) {
            const int roll = rng.below(100);
            g[0] = roll < 70 ? 1 : roll < 85 ? 2 : roll < 95 ? 3 : roll < 98 ? 4 : 6;  // weather
            const int wet = g[0] == 3 || g[0] == 4 ? rng.range(2, 4) : rng.chance(0.12) ? 2 : 1;
            g[1] = wet;
            g[2] = std::min(4, wet + (rng.chance(0.3) ? 1 : 0));
        }
        r.weather = g[0];
        r.turfGoing = g[1];
        r.dirtGoing = g[2];
    }

    // The simulation of one race: market, times, positions, sectional times.
    void simulate(Race& r, bool past, int deadHeatPos) {
        const bool jump = r.surface == Jump;
        const int going = r.surface == Dirt ? r.dirtGoing : r.turfGoing;
        std::vector<double> perf(r.runs.size());
        double norm = 0;
        for (size_t i = 0; i < r.runs.size(); ++i) {
            Run& run = r.runs[i];
            const Horse& h = w.horses[size_t(run.horse)];
            if (past && !r.deadHeat) {
                const double roll = rng.uniform();
                if (roll < 0.003) run.abnormal = 1;
                else if (roll < 0.0055) run.abnormal = 3;
            }
            const double eff = effective(h, r) + 0.15 * w.jockeys[size_t(run.jockey)].skill;
            const double market = eff + rng.normal() * 0.45;
            perf[i] = eff + rng.normal() * 0.55;
            run.p = run.abnormal == 1 ? 0 : std::exp(1.6 * market);
            norm += run.p;
            run.mining = int(std::lround(parTime(r.surface, r.distance) * (1 - 0.006 * market) * 100));
        }
        // Win probabilities, odds (0.1) and popularity.
        std::vector<int> byOdds;
        for (size_t i = 0; i < r.runs.size(); ++i) {
            Run& run = r.runs[i];
            if (run.abnormal == 1) continue;
            run.p /= norm;
            run.odds = std::clamp(int(8.0 / run.p), 10, 9999);
            byOdds.push_back(int(i));
        }
        std::sort(byOdds.begin(), byOdds.end(), [&](int a, int b) {
            const Run &x = r.runs[size_t(a)], &y = r.runs[size_t(b)];
            return x.odds != y.odds ? x.odds < y.odds : x.horseNo < y.horseNo;
        });
        for (size_t k = 0; k < byOdds.size(); ++k) r.runs[size_t(byOdds[k])].popularity = int(k) + 1;

        // Finishing times.
        const double par = parTime(r.surface, r.distance) * goingFactor(r.surface, going) * (1 + rng.normal() * 0.004);
        const double k = jump ? 0.012 : 0.006;
        std::vector<int> order;
        for (size_t i = 0; i < r.runs.size(); ++i) {
            Run& run = r.runs[i];
            if (run.abnormal != 0) continue;
            run.T = par * (1 - k * perf[i]);
            order.push_back(int(i));
        }
        std::sort(order.begin(), order.end(), [&](int a, int b) {
            const Run &x = r.runs[size_t(a)], &y = r.runs[size_t(b)];
            return x.T != y.T ? x.T < y.T : x.horseNo < y.horseNo;
        });
        std::vector<double> times;
        for (int i : order) times.push_back(r.runs[size_t(i)].T);
        if (past && !order.empty()) {
            // A horse may win only as often as its class at the week allows;
            // otherwise the first runner that may win takes the win and the
            // others move down a place, keeping the times.
            auto mayWin = [&](int i) {
                const Horse& h = w.horses[size_t(r.runs[size_t(i)].horse)];
                return h.wins < h.winBudget;
            };
            if (!mayWin(order[0]))
                for (size_t s = 1; s < order.size(); ++s)
                    if (mayWin(order[s])) {
                        std::rotate(order.begin(), order.begin() + long(s), order.begin() + long(s) + 1);
                        break;
                    }
        }
        if (deadHeatPos >= 2 && int(order.size()) > deadHeatPos) times[size_t(deadHeatPos - 1)] = times[size_t(deadHeatPos - 2)];
        for (size_t s = 0; s < order.size(); ++s) r.runs[size_t(order[s])].T = times[s];

        r.starters = 0;
        for (const Run& run : r.runs) r.starters += run.abnormal != 1;
        r.finishers = int(order.size());
        if (order.empty()) return;

        // Positions, margins, time differences.
        for (size_t s = 0; s < order.size(); ++s) {
            Run& run = r.runs[size_t(order[s])];
            run.time = int(std::lround(run.T * 10));
            run.arrival = int(s) + 1;
            if (s > 0 && run.T == r.runs[size_t(order[s - 1])].T) {
                Run& prev = r.runs[size_t(order[s - 1])];
                run.confirmed = prev.confirmed;
                run.deadHeat = prev.deadHeat = 1;
            } else {
                run.confirmed = int(s) + 1;
            }
            run.margin = s == 0 ? QByteArray("   ") : marginCode(run.T - r.runs[size_t(order[s - 1])].T);
        }
        const Run& winner = r.runs[size_t(order[0])];
        const int tWin = winner.time;
        for (size_t s = 0; s < order.size(); ++s) {
            Run& run = r.runs[size_t(order[s])];
            if (run.confirmed == 1) {
                const int second = order.size() > 1 ? r.runs[size_t(order[1])].time : tWin;
                run.timeDiff = "-" + digits(std::min(999, second - tWin), 3);
            } else {
                run.timeDiff = "+" + digits(std::min(999, run.time - tWin), 3);
            }
        }
        for (Run& run : r.runs)
            if (run.abnormal != 0) run.timeDiff = "    ";

        // Sectional times. Each runner's last 3 furlongs (the last furlong
        // in jump races) follow its running style and margin; its deficit at
        // that point is what is left of its time.
        int lref;
        if (jump) lref = 135 + rng.range(-4, 6);
        else if (r.surface == Turf)
            lref = (r.distance <= 1400 ? 340 : r.distance <= 1800 ? 345 : 352) + (going - 1) * 8 + rng.range(-8, 8);
        else
            lref = (r.distance <= 1400 ? 368 : 380) - (going - 1) * 3 + rng.range(-8, 8);
        if (r.ageGroup == 2) lref += 5;
        static const int kStyleBase[2][4] = {{0, 4, 9, 14}, {0, 10, 20, 30}};
        static const double kKeep[2][4] = {{0.85, 0.65, 0.45, 0.3}, {0.5, 0.4, 0.3, 0.2}};
        int gmin = 1 << 30;
        for (int i : order) {
            Run& run = r.runs[size_t(i)];
            const int d = run.time - tWin;
            const int base = std::max(0, kStyleBase[jump][run.style] + int(std::lround(rng.normal() * 1.5)));
            int l3 = lref + int(std::lround(d * kKeep[jump][run.style])) - base + int(std::lround(rng.normal() * 2));
            const int lo = lref - (jump ? 10 : 25), hi = std::min(lref + (jump ? 40 : 80), lref + d);
            run.l3 = std::clamp(l3, std::min(lo, hi), hi);
            run.g = d + lref - run.l3;
            gmin = std::min(gmin, run.g);
        }
        for (int i : order) r.runs[size_t(i)].g -= gmin;
        r.last3 = lref - gmin;  // the leader's last 3 furlongs: winner time − leader's time there

        r.laps.clear();
        r.first3 = r.first4 = r.last4 = r.mile = 0;
        if (jump) {
            r.mile = int(std::lround(double(tWin) * 1600.0 / r.distance));
        } else {
            const int nl = (r.distance + 199) / 200;
            const int firstLen = r.distance - 200 * (nl - 1);
            r.laps.assign(size_t(nl), 0);
            const int a = r.last3;
            r.laps[size_t(nl - 3)] = a / 3 + 1;
            r.laps[size_t(nl - 2)] = a / 3 - 2;
            r.laps[size_t(nl - 1)] = a - r.laps[size_t(nl - 3)] - r.laps[size_t(nl - 2)];
            const int rest = tWin - a;
            const int m = nl - 3;
            std::vector<double> wt(static_cast<size_t>(m));
            double sum = 0;
            for (int i = 0; i < m; ++i) {
                double f = 1.0 + rng.normal() * 0.015;
                if (i == 0) f = 1.06 * firstLen / 200.0;
                if (i == 1 && m > 2) f = 0.95;
                wt[size_t(i)] = f;
                sum += f;
            }
            int used = 0;
            for (int i = 0; i < m; ++i) {
                r.laps[size_t(i)] = i == m - 1 ? rest - used : int(std::lround(rest * wt[size_t(i)] / sum));
                used += r.laps[size_t(i)];
            }
            auto timeAt = [&](int metres) {
                int covered = 0;
                double t = 0;
                for (int i = 0; i < nl; ++i) {
                    const int len = i == 0 ? firstLen : 200;
                    if (covered + len >= metres) return int(std::lround(t + r.laps[size_t(i)] * double(metres - covered) / len));
                    covered += len;
                    t += r.laps[size_t(i)];
                }
                return int(std::lround(t));
            };
            r.first3 = timeAt(600);
            r.first4 = timeAt(800);
            r.last4 = nl >= 4 ? a + r.laps[size_t(nl - 4)] : a;
            for (int i : order) {
                Run& run = r.runs[size_t(i)];
                const int lap4 = nl >= 4 ? r.laps[size_t(nl - 4)] : 120;
                run.l4 = run.l3 + lap4 + std::clamp((run.l3 - r.last3) / 4, -3, 6);
            }
        }

        // Corner positions and passing orders.
        r.cornerCount = r.track == "10" ? 0 : (!jump && r.distance <= 1400) ? 2 : 4;
        for (auto& t : r.cornerText) t.clear();
        static const double kW[4] = {0.05, 0.15, 0.35, 0.6};
        for (int c = 4 - r.cornerCount; c < 4; ++c) {
            std::vector<std::pair<double, int>> sc;
            for (int i : order) {
                const Run& run = r.runs[size_t(i)];
                const double s = run.g * (1 - kW[c]) + (run.time - tWin) * kW[c] + rng.normal();
                sc.push_back({s, i});
            }
            std::sort(sc.begin(), sc.end(), [&](const auto& x, const auto& y) {
                return x.first != y.first ? x.first < y.first : r.runs[size_t(x.second)].horseNo < r.runs[size_t(y.second)].horseNo;
            });
            QByteArray text;
            for (size_t k2 = 0; k2 < sc.size(); ++k2) {
                r.runs[size_t(sc[k2].second)].corners[size_t(c)] = int(k2) + 1;
                const QByteArray no = QByteArray::number(r.runs[size_t(sc[k2].second)].horseNo);
                if (k2 == 0) text += no;
                else text += (sc[k2].first - sc[k2 - 1].first >= 8 ? "-" : ",") + no;
            }
            r.cornerText[size_t(c)] = text.left(70);
        }

        // Prize money and the winner or runner-up horses.
        for (int i : order) {
            Run& run = r.runs[size_t(i)];
            const int p = run.confirmed;
            if (p >= 1 && p <= 5)
                run.prize = run.deadHeat ? (r.prizes[size_t(p - 1)] + (p < 7 ? r.prizes[size_t(p)] : 0)) / 2 : r.prizes[size_t(p - 1)];
        }
        for (int i : order) {
            Run& run = r.runs[size_t(i)];
            const int want = run.confirmed == 1 ? 2 : 1;
            for (int j : order)
                if (j != i && int(run.beaten.size()) < 3) {
                    const Run& o = r.runs[size_t(j)];
                    if (o.confirmed == want || (want == 2 && o.confirmed == 1)) run.beaten.push_back(j);
                }
        }
    }

    void record(const Race& r) {
        for (const Run& run : r.runs) {
            if (run.abnormal == 1) continue;
            Horse& h = w.horses[size_t(run.horse)];
            h.runsSoFar++;
            h.lastBodyWeight = run.bodyWeight;
            Person& j = w.jockeys[size_t(run.jockey)];
            const bool jump = r.surface == Jump;
            h.starts++;
            h.jumpStarts += jump;
            const int p = run.confirmed;
            const int slot = (p >= 1 && p <= 5) ? p - 1 : 5;
            h.placings[size_t(slot)]++;
            const int trackIdx = jump ? 6 : (r.surface == Turf ? (r.track == "10" ? 0 : course(r.course).left ? 2 : 1)
                                                                : (course(r.course).left ? 5 : 4));
            h.byTrack[size_t(trackIdx * 6 + slot)]++;
            const int goingIdx = (r.surface == Turf ? 0 : r.surface == Dirt ? 4 : 8) +
                                 std::clamp((r.surface == Dirt ? r.dirtGoing : r.turfGoing) - 1, 0, 3);
            h.byGoing[size_t(goingIdx * 6 + slot)]++;
            if (!jump) {
                const int band = (r.surface == Turf ? 0 : 3) + (r.distance <= 1200 ? 0 : r.distance <= 2200 ? 1 : 2);
                h.byDistance[size_t(band * 6 + slot)]++;
            }
            h.styles[size_t(run.style)]++;
            (jump ? h.jumpPrize : h.flatPrize) += run.prize;
            const bool placed = p >= 1 && p <= 3;
            (jump ? h.jumpPlaces : h.flatPlaces) += placed;
            if (p == 1) h.wins++;
            j.rides++;
            j.wins += p == 1;
            j.places += placed;
            j.surfaceRides[size_t(r.surface)]++;
            j.surfacePlaces[size_t(r.surface)] += placed;
            j.prize += run.prize;
            Stallion& s = w.sires[size_t(h.sire)];
            s.starts++;
            s.places += placed;
            s.earnings += run.prize;
            Mare& m = w.dams[size_t(h.dam)];
            m.starts++;
            m.places += placed;
            m.earnings += run.prize;
        }
    }

    // -- the week --
    struct CardEntry {
        int ageGroup, surface, cls, want;
        bool debut = false, fillies = false;
        const char* name = nullptr;
        const char* english = nullptr;
        const char* grade = " ";
        const char* rule = nullptr;
        int repeat = 0;
    };

    CardEntry mainRace(int day, const QByteArray& code) {
        if (day == 0 && code == "06") return {33, Turf, 4, 1200, false, false, "ラピスラズリステークス", "Lapis Lazuli Stakes", "L", "2", 0};
        if (day == 0 && code == "07") return {33, Turf, 4, 2000, false, false, "中日新聞杯", "Chunichi Shimbun Hai", "C", "1", 60};
        if (day == 0) return {33, Turf, 4, 1600, false, false, "リゲルステークス", "Rigel Stakes", "L", "2", 0};
        if (day == 1 && code == "06") return {33, Dirt, 4, 1200, false, false, "カペラステークス", "Capella Stakes", "C", "2", 17};
        if (day == 1 && code == "07") return {33, Turf, 3, 1200, false, false, "浜松ステークス", "Hamamatsu Stakes", "E", "1", 0};
        if (day == 1) return {2, Turf, 4, 1600, false, true, "阪神ジュベナイルフィリーズ", "Hanshin Juvenile Fillies", "A", "3", 76};
        if (code == "06") return {33, Dirt, 4, 1800, false, false, "師走ステークス", "Shiwasu Stakes", "E", "2", 0};
        if (code == "07") return {33, Turf, 3, 1400, false, false, "三河ステークス", "Mikawa Stakes", "E", "4", 0};
        return {33, Dirt, 4, 1400, false, false, "ギャラクシーステークス", "Galaxy Stakes", "E", "2", 0};
    }

    CardEntry cardRace(int day, int slot, const QByteArray& code, int raceNo) {
        if (w.P.races == 3) {
            if (raceNo == 1) return {2, Dirt, 0, 1200};
            if (raceNo == 2) return {33, Turf, 1, 1600};
            return {33, Dirt, 2, 1800, false, false, specialRaceName(22), nullptr, "E"};  // carries ①
        }
        const bool jumpDay = (day + slot) % 3 == 0;
        switch (raceNo) {
        case 1: return {2, Dirt, 0, 1200 + 200 * (slot % 2)};
        case 2: return jumpDay ? CardEntry{33, Jump, 0, 3000} : CardEntry{2, Turf, 0, 1600 + 400 * (slot % 2)};
        case 3: return {2, Dirt, 0, 1800};
        case 4: return {33, Dirt, 1, 1200 + 200 * (day % 2)};
        case 5: return {2, Turf, 0, 1600 + 200 * ((day + slot) % 3), true};
        case 6: return {33, Turf, 1, 1200 + 400 * ((day + slot) % 3)};
        case 7: return {33, Dirt, 1, 1800};
        case 8: return (day == 0 && slot == 1) ? CardEntry{33, Jump, 4, 3300, false, false, nullptr, nullptr, " ", "2"}
                                               : CardEntry{33, Turf, 2, 2000 + 200 * (slot % 2)};
        case 9: return {2, Turf, 1, 1600 + 200 * (day % 2), false, false, specialRaceName(day * 6 + slot * 2), nullptr, "E"};
        case 10: return {33, Dirt, 2, 1800, false, false, specialRaceName(day * 6 + slot * 2 + 1), nullptr, "E"};
        case 11: return mainRace(day, code);
        default: return {33, Dirt, 1 + (slot % 2), 1400 + 400 * (day % 2)};
        }
    }

    int weekHorse(const Race& r, int cls) {
        int a;
        if (r.ageGroup == 2) a = 2;
        else if (r.surface == Jump) a = rng.range(4, 8);
        else {
            const int roll = rng.below(100);
            a = roll < 35 ? 3 : roll < 65 ? 4 : roll < 85 ? 5 : roll < 95 ? 6 : 7;
        }
        char sex;
        if (r.fillies) sex = '2';
        else {
            const int roll = rng.below(100);
            sex = roll < 52 ? '1' : roll < 88 || a == 2 ? '2' : '3';
        }
        int surface = r.surface;
        if (surface != Jump && !r.debut && rng.chance(0.12)) surface = 1 - surface;
        const int dist = std::max(1000, int(std::lround((r.distance + rng.normal() * 220) / 100.0)) * 100);
        double ability = -1.0 + 0.5 * cls + rng.normal() * 0.4 + (r.grade == "A" || r.grade == "C" ? 0.3 : 0);
        const int h = newHorse(2024 - a, sex, surface, dist, ability);
        Horse& horse = w.horses[size_t(h)];
        horse.week = true;
        if (a == 2) {
            horse.startClass = 0;
            horse.winBudget = cls;
        } else {
            horse.winBudget = std::min(cls, rng.below(2) + (cls >= 3 ? 1 : 0));
            horse.startClass = cls - horse.winBudget;
        }
        return h;
    }

    // A few small fields, so that the week has races with fewer pairs and
    // trios than the bet lines offer: 5, 6 and 7 runners in the typical
    // week, 4 in the large one; 0 for every other race.
    int smallField(int day, int slot, int raceNo) const {
        if (w.opt.scale == Scale::Typical && day == 0 && slot == 1 && raceNo >= 3 && raceNo <= 5) return raceNo + 2;
        if (w.opt.scale == Scale::Large && day == 1 && slot == 2 && raceNo == 3) return 4;
        return 0;
    }

    void buildWeek() {
        const int days = w.P.days;
        int slotIdx = 0;
        for (int d = 0; d < days; ++d)
            for (int c = 0; c < w.P.courses; ++c) {
                const int ci = w.weekCourses[size_t(c)];
                const QByteArray code = kCourses[ci].code;
                const auto [meeting, dayNo] = meetingOf(ci, w.weekDates[0], d);
                for (int rn = 1; rn <= w.P.races; ++rn) {
                    const CardEntry s = cardRace(d, c, code, rn);
                    Race r;
                    r.week = true;
                    r.weekDay = d;
                    r.date = w.weekDates[size_t(d)];
                    r.course = ci;
                    r.meeting = meeting;
                    r.dayNo = dayNo;
                    r.raceNo = rn;
                    r.surface = s.surface;
                    r.distance = nearestDistance(ci, s.surface, s.want);
                    r.ageGroup = s.ageGroup;
                    r.cls = s.cls;
                    r.debut = s.debut;
                    r.fillies = s.fillies;
                    r.grade = s.grade;
                    if (s.rule) r.weightRule = s.rule;
                    if (s.name) {
                        r.name = cp932::encode(s.name);
                        if (s.english) r.nameEnglish = s.english;
                        r.specialNo = 100 + slotIdx * 7 + rn;
                        r.repeat = s.repeat;
                    }
                    r.announcedEarly = w.P.races == 3 ? rn == 3 : rn >= 9;
                    fillRaceHeader(r, c);
                    int n = r.grade == "A" ? 18 : r.surface == Jump ? rng.range(10, 14) : rng.range(w.P.minRunners, w.P.maxRunners);
                    if (const int small = smallField(d, c, rn)) n = small;
                    std::vector<int> horses;
                    for (int i = 0; i < n; ++i) {
                        int cls = r.cls;
                        if (cls >= 1 && !r.debut && rng.chance(0.2)) cls -= 1;
                        if (r.grade == "A" && i < 4) cls = 1;  // juvenile fillies with one win
                        horses.push_back(weekHorse(r, cls));
                    }
                    setRunners(r, horses);
                    w.week.push_back(r);
                }
                ++slotIdx;
            }
    }

    void assignWeekJockeys() {
        std::vector<int> active;
        for (int j = 0; j < int(w.jockeys.size()); ++j)
            if (!w.jockeys[size_t(j)].retiredOn.isValid()) active.push_back(j);
        for (int d = 0; d < w.P.days; ++d) {
            // Every rider works at one racecourse a day.
            std::vector<int> shuffled = active;
            for (int i = int(shuffled.size()) - 1; i > 0; --i) std::swap(shuffled[size_t(i)], shuffled[size_t(rng.below(i + 1))]);
            std::vector<std::vector<int>> pools(size_t(w.P.courses));
            for (size_t i = 0; i < shuffled.size(); ++i) pools[i % pools.size()].push_back(shuffled[i]);
            for (Race& r : w.week) {
                if (r.weekDay != d) continue;
                size_t slot = 0;
                while (w.weekCourses[slot] != r.course) ++slot;
                assignJockeys(r, pools[slot]);
                if (r.announcedEarly)
                    for (Run& run : r.runs)
                        if (rng.chance(0.12)) {
                            // The rider announced first; the final entries
                            // name another.
                            for (int tries = 0; tries < 20; ++tries) {
                                const int j = pools[slot][size_t(rng.below(int(pools[slot].size())))];
                                bool taken = false;
                                for (const Run& o : r.runs) taken |= o.jockey == j || o.jockeyBefore == j;
                                if (!taken && rides(w.jockeys[size_t(j)], r.surface)) {
                                    run.jockeyBefore = j;
                                    break;
                                }
                            }
                        }
            }
        }
    }

    // -- the past --
    void buildPast() {
        const int W = int(w.weekends.size());
        std::vector<std::vector<int>> due(static_cast<size_t>(W));
        for (int h = 0; h < int(w.horses.size()); ++h)
            for (int t : w.horses[size_t(h)].schedule) due[size_t(t)].push_back(h);
        const int deadHeatWeek = W / 2;
        for (int t = 0; t < W; ++t) {
            const QDate sat = w.weekends[size_t(t)];
            const auto courses = coursesOn(sat);
            // Runners of a weekend, by race group and surface.
            std::map<std::pair<int, int>, std::vector<int>> buckets;
            for (int h : due[size_t(t)]) {
                const Horse& horse = w.horses[size_t(h)];
                const int a = age(horse, sat);
                int group = a <= 2 ? 2 : (a == 3 && sat.month() <= 5) ? 3 : sat.month() <= 5 ? 44 : 33;
                int surface = horse.surface;
                if (surface == Jump) group = sat.month() <= 5 ? 44 : 33;
                else if (rng.chance(0.1)) surface = 1 - surface;
                buckets[{group, surface}].push_back(h);
            }
            // Groups too small for a race of their own run together on the
            // surface most of them prefer; jumpers never do.
            std::map<int, std::vector<int>> leftovers;
            for (auto it = buckets.begin(); it != buckets.end();) {
                if (it->second.size() < 5 && it->first.second != Jump) {
                    auto& l = leftovers[it->first.first];
                    l.insert(l.end(), it->second.begin(), it->second.end());
                    it = buckets.erase(it);
                } else {
                    ++it;
                }
            }
            for (auto& [group, members] : leftovers) {
                int turf = 0;
                for (int h : members) turf += w.horses[size_t(h)].surface == Turf;
                auto& b = buckets[{group, 2 * turf >= int(members.size()) ? int(Turf) : int(Dirt)}];
                b.insert(b.end(), members.begin(), members.end());
            }
            std::map<std::tuple<int, int>, std::set<int>> used;  // (day offset, course) -> race numbers
            for (auto& [key, members] : buckets) {
                std::sort(members.begin(), members.end(), [&](int a, int b) {
                    const Horse &x = w.horses[size_t(a)], &y = w.horses[size_t(b)];
                    if (x.cls() != y.cls()) return x.cls() > y.cls();
                    if ((x.runsSoFar > 0) != (y.runsSoFar > 0)) return x.runsSoFar > 0;
                    if (x.distPref != y.distPref) return x.distPref < y.distPref;
                    return x.reg < y.reg;
                });
                const int n = int(members.size());
                if (n < 5) continue;  // too few for a race: these runs do not happen
                const int k = (n + 15) / 16;
                int from = 0;
                for (int c = 0; c < k; ++c) {
                    const int size = n / k + (c < n % k ? 1 : 0);
                    std::vector<int> field(members.begin() + from, members.begin() + from + size);
                    from += size;
                    makePastRace(sat, courses, key.first, key.second, field, used, t == deadHeatWeek);
                }
            }
        }
        std::sort(w.past.begin(), w.past.end(), [](const Race& a, const Race& b) {
            if (a.date != b.date) return a.date < b.date;
            if (a.course != b.course) return a.course < b.course;
            return a.raceNo < b.raceNo;
        });
        for (int i = 0; i < int(w.past.size()); ++i)
            if (w.past[size_t(i)].deadHeat) w.pastDeadHeat = i;
    }

    void makePastRace(const QDate& sat, const std::array<int, 3>& courses, int group, int surface,
                      const std::vector<int>& field, std::map<std::tuple<int, int>, std::set<int>>& used,
                      bool deadHeatWeek) {
        Race r;
        r.surface = surface;
        r.ageGroup = group;
        int cls = 0;
        bool debut = true;
        std::vector<int> prefs;
        for (int h : field) {
            cls = std::max(cls, w.horses[size_t(h)].cls());
            debut &= w.horses[size_t(h)].runsSoFar == 0;
            prefs.push_back(w.horses[size_t(h)].distPref);
        }
        std::sort(prefs.begin(), prefs.end());
        // Races for two- and three-year-olds only know maiden, 1勝 and open
        // classes.
        r.cls = surface == Jump ? (cls >= 1 ? 4 : 0) : (group == 2 || group == 3) && cls >= 2 ? 4 : cls;
        r.debut = debut && cls == 0 && (group == 2 || group == 3) && surface != Jump;
        // Racecourse, day and race number.
        std::vector<int> choices;
        for (int ci : courses)
            if (surface != Jump || !kCourses[ci].jump.empty()) choices.push_back(ci);
        if (choices.empty()) return;
        static const std::vector<int> kPrefer[] = {{1, 2, 3, 4, 5, 6}, {5, 6, 7, 8, 9, 12}, {8, 9, 10, 12}, {10, 11, 12}, {11, 10, 9}};
        static const std::vector<int> kJumpNos = {1, 2, 3, 4, 8};
        static const std::vector<int> kDebutNos = {4, 5, 6};
        const std::vector<int>& prefer = surface == Jump ? kJumpNos : r.debut ? kDebutNos : kPrefer[std::min(cls, 4)];
        int offset = -1, ci = -1, raceNo = -1;
        for (int attempt = 0; attempt < 12 && raceNo < 0; ++attempt) {
            const int o = rng.below(2);
            const int c = choices[size_t(rng.below(int(choices.size())))];
            auto& set = used[{o, c}];
            const int pick = prefer[size_t(rng.below(int(prefer.size())))];
            if (!set.count(pick)) { offset = o; ci = c; raceNo = pick; }
            else if (attempt >= 6)
                for (int no = 1; no <= 12; ++no)
                    if (!set.count(no)) { offset = o; ci = c; raceNo = no; break; }
        }
        if (raceNo < 0) return;
        used[{offset, ci}].insert(raceNo);
        r.date = sat.addDays(offset);
        r.course = ci;
        const auto [meeting, dayNo] = meetingOf(ci, sat, offset);
        r.meeting = meeting;
        r.dayNo = dayNo;
        r.raceNo = raceNo;
        r.distance = nearestDistance(ci, surface, prefs[prefs.size() / 2]);
        if (surface != Jump && cls >= 1 && raceNo >= 9) {
            r.grade = cls >= 4 ? (rng.chance(0.3) ? "L" : "E") : "E";
            r.name = cp932::encode(specialRaceName(rng.below(specialRaceNameCount())));
            r.specialNo = 1 + rng.below(900);
        }
        if (surface == Jump && cls >= 4) r.weightRule = "2";
        int slot = 0;
        for (int i = 0; i < 3; ++i)
            if (courses[size_t(i)] == ci) slot = i;
        fillRaceHeader(r, slot);
        setRunners(r, field);
        std::vector<int> pool;
        for (int j = 0; j < int(w.jockeys.size()); ++j)
            if (activeOn(w.jockeys[size_t(j)], r.date)) pool.push_back(j);
        assignJockeys(r, pool);
        finishEntries(r);
        r.deadHeat = deadHeatWeek && w.pastDeadHeat < 0 && field.size() >= 8;
        if (r.deadHeat) w.pastDeadHeat = 0;  // taken; the index is fixed after sorting
        simulate(r, true, r.deadHeat ? 4 : 0);
        record(r);
        w.past.push_back(std::move(r));
    }
};

}  // namespace

namespace {

// Scratches a run that finished outside the prizes after the race was run:
// the finishers behind it move up a place, the others keep their results.
void scratchAfterTheRace(Race& r, size_t i) {
    Run& x = r.runs[i];
    const int place = x.arrival;
    x.abnormal = 1;
    x.arrival = x.confirmed = x.time = x.odds = x.popularity = x.prize = x.l3 = x.l4 = 0;
    x.T = 0;
    x.timeDiff = "    ";
    x.corners = {};
    x.beaten.clear();
    std::vector<Run*> running;
    for (Run& o : r.runs) {
        if (o.abnormal != 0) continue;
        if (o.arrival > place) --o.arrival, --o.confirmed;
        running.push_back(&o);
    }
    std::sort(running.begin(), running.end(), [](const Run* a, const Run* b) {
        return a->odds != b->odds ? a->odds < b->odds : a->horseNo < b->horseNo;
    });
    for (size_t k = 0; k < running.size(); ++k) running[k]->popularity = int(k) + 1;
    --r.starters;
    --r.finishers;
}

// A run that may be scratched afterwards without changing prizes, payouts
// or the number of places paid.
bool scratchable(const Race& r, const Run& run) {
    return !r.deadHeat && r.dataKind == '7' && r.starters >= 9 && run.abnormal == 0 && run.arrival >= 6;
}

// Runs the expanded records must handle that the simulation does not give
// by itself, made without drawing from the random stream, so the rest of
// the world stays as it is: a horse whose debut was scratched, one with two
// scratched runs in a row before its next run, and local ("A") and overseas
// ("B") runs, two of them just before a JRA run.
void addRunsTheModelMustHandle(World& w) {
    // The week's horses in the week's order, each with its past runs.
    std::vector<int> weekHorses;
    for (const Race& r : w.week)
        for (const Run& run : r.runs)
            if (std::find(weekHorses.begin(), weekHorses.end(), run.horse) == weekHorses.end())
                weekHorses.push_back(run.horse);
    auto pastRuns = [&](int h) {
        std::vector<std::pair<size_t, size_t>> runs;  // race, run
        for (size_t i = 0; i < w.past.size(); ++i)
            for (size_t j = 0; j < w.past[i].runs.size(); ++j)
                if (w.past[i].runs[j].horse == h) runs.push_back({i, j});
        return runs;
    };
    auto ok = [&](std::pair<size_t, size_t> at) { return scratchable(w.past[at.first], w.past[at.first].runs[at.second]); };
    std::set<int> used;
    for (int h : weekHorses) {
        const auto runs = pastRuns(h);
        if (runs.size() >= 2 && ok(runs.front())) {
            scratchAfterTheRace(w.past[runs.front().first], runs.front().second);
            used.insert(h);
            break;
        }
    }
    for (int h : weekHorses) {
        const auto runs = pastRuns(h);
        if (used.count(h) || runs.size() < 3 || !ok(runs[runs.size() - 1]) || !ok(runs[runs.size() - 2])) continue;
        for (size_t k = runs.size() - 2; k < runs.size(); ++k) scratchAfterTheRace(w.past[runs[k].first], runs[k].second);
        used.insert(h);
        break;
    }
    // Away runs: 14 days before the horse's last JRA run (local and
    // overseas), 21 days before the week's run, and one before a debut.
    struct Away {
        char kind;
        const char* course;
        int when;  // 0 before the last past run, 1 before the week's run, 2 before the first
    };
    const Away aways[] = {{'A', "44", 0}, {'B', "A8", 0}, {'A', "45", 1}, {'B', "A6", 2}};
    std::vector<Race> added;
    size_t next = 0;
    for (const Away& a : aways) {
        for (; next < weekHorses.size(); ++next) {
            const int h = weekHorses[next];
            const auto runs = pastRuns(h);
            if (used.count(h) || runs.size() < (a.when == 2 ? 5u : 2u)) continue;
            const auto at = a.when == 2 ? runs.front() : runs.back();
            const Race& from = w.past[at.first];
            const QDate weekRun = w.weekDates.front();
            QDate date = a.when == 1 ? weekRun.addDays(-21) : from.date.addDays(-14);
            if (a.when == 1 && from.date.daysTo(date) < 14) continue;
            if (a.when == 0 && w.past[runs[runs.size() - 2].first].date >= date) continue;
            Race r = from;
            r.date = date;
            r.weekday = weekdayCode(date);
            r.dataKind = a.kind;
            r.foreignCourse = a.course;
            r.deadHeat = false;
            Run run = from.runs[at.second];
            run.horseNo = run.frame = 1;
            run.arrival = run.confirmed = 1;
            run.abnormal = 0;
            run.beaten.clear();
            r.runs = {run};
            r.starters = r.finishers = 1;
            added.push_back(std::move(r));
            used.insert(h);
            ++next;
            break;
        }
    }
    for (Race& r : added) w.past.push_back(std::move(r));
    std::stable_sort(w.past.begin(), w.past.end(), [](const Race& a, const Race& b) { return a.date < b.date; });
    w.pastDeadHeat = -1;
    for (int i = 0; i < int(w.past.size()); ++i)
        if (w.past[size_t(i)].deadHeat) w.pastDeadHeat = i;
}

}  // namespace

World buildWorld(const Options& opt) {
    World w;
    w.opt = opt;
    w.P = paramsFor(opt.scale);
    const QDate sat(2024, 12, 7);
    for (int d = 0; d < w.P.days; ++d) w.weekDates.push_back(sat.addDays(d));
    w.weekCourses = w.P.courses == 1 ? std::vector<int>{5} : std::vector<int>{5, 6, 8};
    for (int k = w.P.historyWeeks; k >= 1; --k) {
        const QDate s = sat.addDays(-7 * k);
        if (racesOn(s)) w.weekends.push_back(s);
    }

    Builder b(w, opt.seed);
    b.buildPeople();
    b.buildPedigreePools();
    b.buildWeek();
    // Horses of the world that do not run this week: opponents of the past,
    // some resting, some retired.
    int weekHorses = 0;
    for (const Race& r : w.week) weekHorses += int(r.runs.size());
    const int others = std::max(6, int(weekHorses * w.P.othersShare));
    for (int i = 0; i < others; ++i) {
        const int roll = b.rng.below(100);
        const int a = roll < 25 ? 2 : roll < 50 ? 3 : roll < 75 ? 4 : roll < 90 ? 5 : 6;
        const int surface = a >= 4 && b.rng.chance(0.06) ? Jump : b.rng.below(2);
        const char sex = b.rng.chance(0.45) ? '2' : '1';
        const int cls = a == 2 ? 0 : b.rng.below(4);
        const int h = b.newHorse(2024 - a, sex, surface, 1000 + 200 * b.rng.range(1, 7), -1.0 + 0.5 * cls + b.rng.normal() * 0.4);
        Horse& horse = w.horses[size_t(h)];
        horse.startClass = cls;
        horse.winBudget = a == 2 ? b.rng.below(2) : b.rng.below(2);
        horse.retired = a >= 3 && b.rng.chance(0.06);
    }
    std::vector<bool> debutant(w.horses.size(), false);
    for (const Race& r : w.week)
        for (const Run& run : r.runs) debutant[size_t(run.horse)] = r.debut;
    for (size_t h = 0; h < w.horses.size(); ++h) b.schedule(w.horses[h], debutant[h]);
    b.buildPast();

    // The week's results: simulated like any race, the classes untouched.
    b.assignWeekJockeys();
    for (Race& r : w.week) {
        b.finishEntries(r);
        for (Run& run : r.runs)
            if (run.jockeyBefore >= 0) {
                // Weight carried as announced with the first rider.
                const int before = r.grade == " " ? w.jockeys[size_t(run.jockeyBefore)].apprentice : 0;
                if (before != run.apprentice)
                    run.weightBefore = b.weightFor(r, w.horses[size_t(run.horse)], before);
            }
    }
    // One dead heat for second on the last day, one cancelled race on the
    // first day, and in the full week two runners withdrawn after the entries.
    const int lastDay = w.P.days - 1;
    const int deadHeatRace = std::min(2, w.P.races);
    for (Race& r : w.week) {
        r.deadHeat = r.weekDay == lastDay && r.course == w.weekCourses[0] && r.raceNo == deadHeatRace;
        r.cancelled = r.weekDay == 0 && r.course == w.weekCourses.back() && r.raceNo == w.P.races;
        if (w.P.races == 12) {
            if (r.weekDay == 0 && r.course == w.weekCourses[1 % w.weekCourses.size()] && r.raceNo == 7) r.scratchKind = 1;
            if (r.weekDay == lastDay && r.course == w.weekCourses[0] && r.raceNo == 10) r.scratchKind = 2;
        }
        if (r.scratchKind) r.runs[size_t(b.rng.below(int(r.runs.size())))].abnormal = 1;
        int heat = r.deadHeat ? 3 : 0;
        // The large week's Monday also has a dead heat for first and one for
        // third, so that two win and two trio and trifecta entries are paid.
        if (w.P.days == 3 && r.weekDay == lastDay && r.course == w.weekCourses[0]) {
            if (r.raceNo == deadHeatRace + 1) heat = 2;
            if (r.raceNo == deadHeatRace + 2) heat = 4;
        }
        b.simulate(r, false, heat);
    }
    addRunsTheModelMustHandle(w);
    return w;
}

}  // namespace rw::sample::detail
