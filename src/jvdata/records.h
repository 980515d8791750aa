#pragma once
// JV-Data records: parsed records, the parsers and the image builders.
//
// A parsed record keeps the received bytes (code page 932, never converted)
// up to its kind's published length; its items are cut out of them by byte
// position, untrimmed. A record shorter than its kind gives empty items
// beyond its end and a partly filled item where it ends; a longer one is cut.
#include "jvdata/layouts.h"

#include <QByteArray>
#include <QByteArrayView>
#include <optional>

namespace rw::jv {

template <Kind K>
struct Parsed {
    static constexpr Kind kind = K;
    QByteArray bytes;  // at most layout(K).length bytes

    // The item's bytes; fewer (or none) where the record ended early.
    QByteArrayView item(Field f) const;
    QByteArray itemBytes(Field f) const { return item(f).toByteArray(); }
};

using ParsedRA = Parsed<Kind::RA>;
using ParsedSE = Parsed<Kind::SE>;
using ParsedHR = Parsed<Kind::HR>;
using ParsedUM = Parsed<Kind::UM>;
using ParsedKS = Parsed<Kind::KS>;
using ParsedO1 = Parsed<Kind::O1>;
using ParsedO2 = Parsed<Kind::O2>;
using ParsedO4 = Parsed<Kind::O4>;
using ParsedO5 = Parsed<Kind::O5>;
using ParsedO6 = Parsed<Kind::O6>;

// The parsers. They look neither at the kind nor at the length of the record.
void ParseRA(QByteArrayView record, ParsedRA& out);
void ParseSE(QByteArrayView record, ParsedSE& out);
void ParseHR(QByteArrayView record, ParsedHR& out);
void ParseUM(QByteArrayView record, ParsedUM& out);
void ParseKS(QByteArrayView record, ParsedKS& out);
void ParseO1(QByteArrayView record, ParsedO1& out);
void ParseO2(QByteArrayView record, ParsedO2& out);
void ParseO4(QByteArrayView record, ParsedO4& out);
void ParseO5(QByteArrayView record, ParsedO5& out);
void ParseO6(QByteArrayView record, ParsedO6& out);

// The image builders: every item placed left-aligned into its image field,
// padded with blanks or cut. For RA, SE, HR and UM a well-formed record comes
// back byte for byte; the KS image keeps nine bytes of each money item of the
// accumulated results (4161 bytes).
QByteArray ToFixedRA(const ParsedRA& rec);
QByteArray ToFixedSE(const ParsedSE& rec);
QByteArray ToFixedHR(const ParsedHR& rec);
QByteArray ToFixedUM(const ParsedUM& rec);
QByteArray ToFixedKS(const ParsedKS& rec);

// The stored image of a record of an imaged kind (RA, SE, HR, UM, KS),
// parsed and built as its own parser and builder do; empty for the odds.
QByteArray ToFixed(Kind kind, QByteArrayView record);

// The kind named by a record's first two bytes, if it is one of ours.
std::optional<Kind> kindOf(QByteArrayView record);
inline int imageLength(Kind k) { return layout(k).imageLength; }

// ---- Items other parts read, by name -------------------------------------
// Positions of the image; for every kind but KS they equal the published ones.

namespace head {
inline constexpr Field RecordKind = findField(kRA, "common head", "record kind");
inline constexpr Field DataKind = findField(kRA, "common head", "data kind");
inline constexpr Field MakeDate{4, 8, 4, 8};
inline constexpr Field RaceKey16 = findField(kRA, "race key");
inline constexpr Field Year = findField(kRA, "race key", "year");
inline constexpr Field MonthDay = findField(kRA, "race key", "month day");
inline constexpr Field Racecourse = findField(kRA, "race key", "racecourse");
inline constexpr Field Meeting = findField(kRA, "race key", "meeting");
inline constexpr Field Day = findField(kRA, "race key", "day");
inline constexpr Field RaceNumber = findField(kRA, "race key", "race number");
}  // namespace head

// What the data kind says of a record; '\0' where the record ends before it.
inline char dataKind(QByteArrayView rec) {
    return rec.size() >= head::DataKind.pos ? rec[head::DataKind.pos - 1] : '\0';
}
// The NEW files drop what is no longer a race: entries only ("1") and
// cancelled races ("9").
inline bool keptInNewFiles(QByteArrayView rec) { return dataKind(rec) != '1' && dataKind(rec) != '9'; }
// A record of the official results: data kind "7".
inline bool isOfficialResults(QByteArrayView rec) { return dataKind(rec) == '7'; }
// Results mode: the week's last race record (of the NEW file) holds the
// official results.
inline bool isResultsMode(QByteArrayView lastRace) { return isOfficialResults(lastRace); }

namespace ra {
inline constexpr Field WeekdayCode = findField(kRA, "weekday code");
inline constexpr Field RaceName = findField(kRA, "race name");
inline constexpr Field GradeCode = findField(kRA, "grade code");
inline constexpr Field RaceTypeCode = findField(kRA, "race type code");
inline constexpr Field Distance = findField(kRA, "distance");
inline constexpr Field TrackCode = findField(kRA, "track code");
inline constexpr Field StartTime = findField(kRA, "start time");
inline constexpr Field RegisteredRunners = findField(kRA, "registered runners");
inline constexpr Field Starters = findField(kRA, "starters");
inline constexpr Field Finishers = findField(kRA, "finishers");
inline constexpr Field WeatherCode = findField(kRA, "weather code");
inline constexpr Field TurfGoingCode = findField(kRA, "turf going code");
inline constexpr Field DirtGoingCode = findField(kRA, "dirt going code");
constexpr Field LapTime(int i) { return findField(kRA, "lap times", {}, i); }
inline constexpr Field First3F = findField(kRA, "first 3 furlongs time");
inline constexpr Field Last3F = findField(kRA, "last 3 furlongs time");
}  // namespace ra

namespace se {
inline constexpr Field FrameNumber = findField(kSE, "frame number");
inline constexpr Field HorseNumber = findField(kSE, "horse number");
inline constexpr Field RegistrationNumber = findField(kSE, "registration number");
inline constexpr Field HorseName = findField(kSE, "horse name");
inline constexpr Field SexCode = findField(kSE, "sex code");
inline constexpr Field Age = findField(kSE, "age");
inline constexpr Field TrainerCode = findField(kSE, "trainer code");
inline constexpr Field WeightCarried = findField(kSE, "weight carried");
inline constexpr Field WeightCarriedBefore = findField(kSE, "weight carried before change");
inline constexpr Field JockeyCode = findField(kSE, "jockey code");
inline constexpr Field JockeyCodeBefore = findField(kSE, "jockey code before change");
inline constexpr Field JockeyShortName = findField(kSE, "jockey short name");
inline constexpr Field JockeyShortNameBefore = findField(kSE, "jockey short name before change");
inline constexpr Field BodyWeight = findField(kSE, "body weight");
inline constexpr Field AbnormalityCode = findField(kSE, "abnormality code");
inline constexpr Field ArrivalOrder = findField(kSE, "arrival order");
inline constexpr Field ConfirmedPosition = findField(kSE, "confirmed position");
inline constexpr Field DeadHeatKind = findField(kSE, "dead-heat kind");
inline constexpr Field Time = findField(kSE, "time");
constexpr Field CornerPosition(int i) { return findField(kSE, "corner positions", {}, i); }
inline constexpr Field WinOdds = findField(kSE, "win odds");
inline constexpr Field WinPopularity = findField(kSE, "win popularity");
inline constexpr Field Last3F = findField(kSE, "last 3 furlongs time");
inline constexpr Field TimeDifference = findField(kSE, "time difference");
}  // namespace se

namespace um {
inline constexpr Field RegistrationNumber = findField(kUM, "registration number");
inline constexpr Field BirthDate = findField(kUM, "birth date");
inline constexpr Field HorseName = findField(kUM, "horse name");
constexpr Field PedigreeNumber(int i) { return findField(kUM, "pedigree", "breeding number", i); }
constexpr Field PedigreeName(int i) { return findField(kUM, "pedigree", "name", i); }
inline constexpr Field SireNumber = PedigreeNumber(0);
inline constexpr Field DamNumber = PedigreeNumber(1);
inline constexpr Field TrainerCode = findField(kUM, "trainer code");
}  // namespace um

namespace ks {
inline constexpr Field JockeyCode = findField(kKS, "jockey code");
inline constexpr Field BirthDate = findField(kKS, "birth date");
inline constexpr Field SexCode = findField(kKS, "sex code");
inline constexpr Field RidingQualification = findField(kKS, "riding qualification code");
inline constexpr Field InvitedAreaName = findField(kKS, "invited area name");
constexpr Field Accumulated(int group, std::string_view sub) { return findField(kKS, "accumulated results", sub, group); }
}  // namespace ks

namespace hr {
inline constexpr Field RegisteredRunners = findField(kHR, "registered runners");
constexpr Field Payout(std::string_view kind, int i, std::string_view sub) { return findField(kHR, kind, sub, i); }

// A payoff group of the layout: its row, the member that holds the horse
// number or the combination, and its number of entries (from 0).
struct PayoffGroup {
    std::string_view row;
    std::string_view key;
    int entries;
    constexpr Field combination(int i) const { return Payout(row, i, key); }
    constexpr Field payout(int i) const { return Payout(row, i, "payout"); }
    constexpr Field popularity(int i) const { return Payout(row, i, "popularity"); }
};
constexpr PayoffGroup payoffGroup(std::string_view row, std::string_view key) {
    return {row, key, recordlayout::rowCount(kHR, row)};
}
inline constexpr PayoffGroup kWin = payoffGroup("win payouts", "horse number");
inline constexpr PayoffGroup kPlace = payoffGroup("place payouts", "horse number");
inline constexpr PayoffGroup kBracket = payoffGroup("bracket quinella payouts", "combination");
inline constexpr PayoffGroup kQuinella = payoffGroup("quinella payouts", "combination");
inline constexpr PayoffGroup kWide = payoffGroup("wide payouts", "combination");
inline constexpr PayoffGroup kExacta = payoffGroup("exacta payouts", "combination");
inline constexpr PayoffGroup kTrio = payoffGroup("trio payouts", "combination");
inline constexpr PayoffGroup kTrifecta = payoffGroup("trifecta payouts", "combination");
}  // namespace hr

namespace odds {
// O2, O4, O5, O6: the repeated group at 41.
constexpr Field Combination(const Layout& L, int i) { return findField(L, "odds", "combination", i); }
constexpr Field Odds(const Layout& L, int i) { return findField(L, "odds", "odds", i); }
constexpr Field Popularity(const Layout& L, int i) { return findField(L, "odds", "popularity", i); }
constexpr int entryCount(const Layout& L) { return L.rows[6].count; }
// O1 win odds.
constexpr Field WinHorse(int i) { return findField(kO1, "win odds", "horse number", i); }
constexpr Field WinOdds(int i) { return findField(kO1, "win odds", "odds", i); }
constexpr Field WinPopularity(int i) { return findField(kO1, "win odds", "popularity", i); }
}  // namespace odds

}  // namespace rw::jv
