#pragma once
// raceweek-sample: a realistic synthetic week of JV-Data and a model package,
// generated deterministically from a seed. Real JV-Data is not ours to ship;
// every end-to-end test, benchmark and the demo runs on this instead.
//
// What it writes into the application folder:
//   JVDATA/<FOLDER>/*.jvd   what the file-backed JV-Link delivers: TOKU, RACE,
//                         TCVN, RCVN (the week's download), TCOV, RCOV (odds),
//                         0B30/<RaceKey16>.jvd and 0B12/<YYYYMMDD>.jvd (flash)
//   OPTION1N/*.dat        the statistics files of the model package, the
//                         package's jockey images "KS20200101NEW.dat" and the
//                         16 files of the factor model of turf, dirt and jump
//   JRACODE/CodeTable.csv the code table an installation brings (names of
//                         the racecourse, weekday, grade, race type,
//                         condition, track, going, weather and sex codes)
// Within each JVDATA folder the file names sort in delivery order; in RACE
// the past comes first (by month), then the week's announced entries (kind
// "1"), final entries (kind "2") and, on Monday, official results and payoffs.
// The week is fixed: Saturday 2024-12-07 (small), plus Sunday 2024-12-08
// (typical), plus Monday 2024-12-09 (large).
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <map>
#include <optional>

namespace rw::sample {

enum class Scale { Small, Typical, Large };
// Friday: the week's entries (data kinds "1" and "2"), no results.
// Monday: the same plus official results (kind "7") and payoffs; the race
// cancelled in the flash feed has its final entries as data kind "9" (made
// on the race day) in place of "2", and no results.
enum class Scenario { Friday, Monday };

struct Options {
    Scale scale = Scale::Small;
    Scenario scenario = Scenario::Friday;
    std::uint64_t seed = 1;
};

std::optional<Scale> parseScale(const QString& text);        // "small", "typical", "large"
std::optional<Scenario> parseScenario(const QString& text);  // "friday", "monday"

// One race of the week.
struct WeekRace {
    QByteArray raceKey16;  // year, month-day, course, meeting, day, race number
    QByteArray raceId;     // year, month-day, course, race number
    QByteArray date;       // YYYYMMDD
    QByteArray course;     // "06" …
    int dayIndex = 0;      // 0 for the Saturday
    int raceNumber = 0;
    int runners = 0;       // registered runners (horse numbers 1..runners)
    int distance = 0;
    QByteArray trackCode;
    bool announcedEarly = false;  // has entries of data kind "1"
    bool cancelled = false;       // cancelled in the flash results (kind "9")
    bool deadHeat = false;        // two horses share second place
    int scratched = 0;            // horse number withdrawn after the entries, 0 if none
    QByteArray scratchOdds;       // "-" (before the sale) or "*" (after it)
};

struct Summary {
    QList<QByteArray> raceDates;     // the week's race days, YYYYMMDD
    QList<WeekRace> weekRaces;       // in date, course, race number order
    QList<QByteArray> weekHorses;    // registration numbers of the week's entries
    QList<QByteArray> horses;        // every UM record's registration number
    QList<QByteArray> retiredHorses; // UM records of data kind "9"
    QList<QByteArray> jockeys;       // codes in the week's KS
    QList<QByteArray> packageJockeys;// codes in "KS20200101NEW.dat"
    QByteArray pastDeadHeatRace;     // RaceKey16 of a past race with a dead heat for third
    int pastRaces = 0;
    int pastRuns = 0;
    // Record counts by "<FOLDER>/<KIND>" (e.g. "RACE/SE", "0B30/O6") and by
    // package file ("OPTION1N/KYOSOBA.dat").
    std::map<QString, qint64> counts;
    QStringList files;  // every file written, relative to the application folder, sorted
    // The factor model: categories per surface word ("Siba", "Dirt", "Shog"),
    // and the codes left out of the lists on purpose.
    std::map<QString, int> modelCategories;
    QStringList modelLeftOut;
};

// Generates into appDir (created as needed). JVDATA is replaced as a whole;
// the package files are overwritten, other files are left alone. Throws
// std::runtime_error when a folder or file cannot be written.
Summary generate(const Options& options, const QString& appDir);

}  // namespace rw::sample
