#pragma once
// The simulated racing world behind the generated records: people, horses
// with abilities and pedigrees, a JRA-like calendar, and races whose results
// are simulated from the runners' abilities.
#include "sample/generator.h"
#include "sample/names.h"

#include <QByteArray>
#include <QDate>
#include <array>
#include <vector>

namespace rw::sample::detail {

enum Surface { Turf = 0, Dirt = 1, Jump = 2 };

struct Params {
    int days, courses, races, minRunners, maxRunners, historyWeeks;
    double othersShare;
    int jockeysActive, jockeysRetired, trainers, owners, breeders, sires;
    int pkgHorses, pkgDams, pkgSires, pkgJockeys, pkgTrainers;
};
Params paramsFor(Scale s);

struct CourseInfo {
    const char* code;
    bool left;
    std::vector<int> turf, dirt, jump;
};
const CourseInfo& course(int index);  // 0 = "01" … 9 = "10"

struct Person {
    QByteArray code;
    PersonName name;
    int sex = 1;
    QDate birth, licence, retiredOn;  // retiredOn invalid while active
    int affiliation = 1;              // 1 美浦, 2 栗東, 3 地方, 4 外国
    QByteArray invitedArea;
    int apprentice = 0;               // weight allowance in kg
    int qualification = 1;            // 1 flat and jumps, 2 flat, 3 jumps
    double skill = 0;
    int trainer = -1;                 // affiliated trainer (apprentices)
    // Results in the simulated window, for the statistics and KS.
    int rides = 0, wins = 0, places = 0;
    std::array<int, 3> surfaceRides{}, surfacePlaces{};
    qint64 prize = 0;  // 100 yen
};

struct Named {
    QByteArray code;
    QByteArray name;
    QByteArray area;
};

struct Ancestor {
    QByteArray no;
    QByteArray name;
    int sire = -1, dam = -1;
};

struct Stallion {
    int anc = -1;
    double quality = 0;
    double turf = 0;  // >0 favours turf
    int starts = 0, places = 0;
    qint64 earnings = 0;  // 100 yen
};

struct Mare {
    int anc = -1;
    int birthYear = 0;
    std::vector<int> foals;  // population horses, oldest first
    int starts = 0, places = 0;
    qint64 earnings = 0;
};

struct Horse {
    QByteArray reg;
    HorseName name;
    int birthYear = 0;
    QDate birth;
    char sex = '1';  // 1 牡, 2 牝, 3 セン
    QByteArray coat, symbol;
    int sire = -1, dam = -1, trainer = -1, owner = -1, breeder = -1;
    QByteArray colours;
    double ability = 0;
    int surface = Turf;
    int distPref = 1600;
    int style = 1;       // 0 逃げ … 3 追込
    int baseWeight = 470;
    int startClass = 0;  // class when the window opens
    int winBudget = 0;   // wins it may still take in the window
    int wins = 0;
    bool week = false;   // runs this week
    bool retired = false;
    QDate retiredOn;
    int debutWeek = 0;   // weekend index of its first run (may precede the window)
    std::vector<int> schedule;  // weekend indexes of its past runs
    // Career figures, for UM and the statistics.
    int starts = 0, jumpStarts = 0;
    std::array<int, 6> placings{};  // 1st … 5th, out
    std::array<int, 42> byTrack{};
    std::array<int, 72> byGoing{};
    std::array<int, 36> byDistance{};
    std::array<int, 4> styles{};
    qint64 flatPrize = 0, jumpPrize = 0;  // 100 yen
    int flatPlaces = 0, jumpPlaces = 0;
    int lastBodyWeight = 0;
    int runsSoFar = 0;

    int cls() const { return std::min(4, startClass + wins); }
};

struct Run {
    int horse = -1;
    int horseNo = 0, frame = 0;
    int jockey = -1, jockeyBefore = -1;
    int weight = 0, weightBefore = 0;  // 0.1 kg
    int apprentice = 0;
    bool blinker = false;
    int bodyWeight = 0, bodyDelta = 0;
    bool firstStart = false;
    int age = 0;
    int abnormal = 0;  // 0 none, 1 取消, 3 中止
    int arrival = 0, confirmed = 0;
    int deadHeat = 0;  // other horses sharing the position
    double T = 0;      // seconds
    int time = 0;      // 0.1 s
    QByteArray margin = "   ";
    QByteArray timeDiff = "0000";
    std::array<int, 4> corners{};
    int odds = 0, popularity = 0;  // 0.1
    double p = 0;                  // market win probability
    int prize = 0;                 // 100 yen
    int l3 = 0, l4 = 0;            // 0.1 s
    int style = 0;
    int g = 0;                     // early deficit, 0.1 s
    std::vector<int> beaten;       // runs that are its "winner or runner-up horses"
    int mining = 0;                // predicted time, 0.01 s
};

struct Race {
    QDate date;
    int weekday = 1;  // JV-Data weekday code
    int course = 0;   // index into the course table
    int meeting = 1, dayNo = 1, raceNo = 1;
    int surface = Turf;
    int distance = 1600;
    QByteArray track, section;
    int ageGroup = 3;  // 2: 2歳, 3: 3歳, 33: 3歳以上, 44: 4歳以上
    int cls = 0;       // 0 maiden, 1 1勝, 2 2勝, 3 3勝, 4 open
    bool debut = false;
    bool fillies = false;
    QByteArray grade = " ";
    QByteArray typeCode, symbol, weightRule;
    std::array<QByteArray, 5> conditions;
    QByteArray name, nameEnglish;  // empty for an ordinary race
    int specialNo = 0, repeat = 0;
    std::array<int, 7> prizes{};  // 100 yen
    int startTime = 1000;          // hhmm
    int weather = 1, turfGoing = 1, dirtGoing = 1;
    std::vector<Run> runs;
    // Results.
    std::vector<int> laps;
    int first3 = 0, first4 = 0, last3 = 0, last4 = 0, mile = 0;
    std::array<QByteArray, 4> cornerText;
    int cornerCount = 0;
    int finishers = 0, starters = 0;
    // The week.
    bool week = false;
    int weekDay = -1;
    bool announcedEarly = false, cancelled = false, deadHeat = false;
    int scratchKind = 0;  // 0 none, 1 before the sale ("-"), 2 after it ("*")
    // A run away from the JRA: data kind "A" (local) or "B" (overseas) at a
    // racecourse code outside "01"-"10"; '7' for every JRA race.
    char dataKind = '7';
    QByteArray foreignCourse;

    QByteArray raceKey16() const;
    QByteArray raceId() const;
    QByteArray courseCode() const;
};

struct World {
    Options opt;
    Params P;
    std::vector<QDate> weekDates;
    std::vector<int> weekCourses;
    std::vector<QDate> weekends;  // Saturdays of the history window, oldest first
    std::vector<Person> jockeys, trainers;
    std::vector<Named> owners, breeders;
    std::vector<Ancestor> ancestors;
    std::vector<Stallion> sires;
    std::vector<Mare> dams;
    std::vector<Horse> horses;
    std::vector<Race> past;  // chronological
    std::vector<Race> week;  // date, course, race number
    int pastDeadHeat = -1;
    std::array<int, 100> regCounter{};  // per birth year (offset 1990)
};

World buildWorld(const Options& opt);

// Market probabilities of one race, by horse number (1..18).
struct Market {
    int n = 0;                       // highest horse number
    std::array<double, 19> p{};      // win probability, 0 for a withdrawn horse
    std::vector<double> tri;         // 19^3 ordered finishes
    double exacta(int a, int b) const;
    double quinella(int a, int b) const { return exacta(a, b) + exacta(b, a); }
    double trio(int a, int b, int c) const;
    double trifecta(int a, int b, int c) const { return tri[size_t((a * 19 + b) * 19 + c)]; }
    double wide(int a, int b) const;
    double place(int a, int places) const;
};
Market marketOf(const Race& r);

// The placings of a finished race: element s lists the runs that can claim
// finishing place s+1 (a dead heat puts two runs into two places each).
std::vector<std::vector<int>> slotsOf(const Race& r);

// JRA frame for horse number h of n runners.
int frameOf(int h, int n);

QByteArray digits(qint64 v, int width);
QByteArray dateText(const QDate& d);

}  // namespace rw::sample::detail
