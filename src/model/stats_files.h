#pragma once
// KESTRAVEXPDTHISWEEKNZ: the statistics files of the model package and the
// one search rule the item categorisers use.
//
// Record layouts, one table each (offsets from 0 in the tables; Field
// positions from 1), every field CP932 text, numbers read leniently
// (statsNumber):
//   SireStatsRecord   402 bytes  STALLION.dat, HAHAUMA.dat, HAHAUMATHISWEEK.dat
//   HorseStatsRecord  228 bytes  KYOSOBA.dat, KYOSOBATHISWEEK.dat
//   PeopleStatsRecord 121 bytes  KISHUSEISEI.dat, CHOKYOSEISEI.dat (key: 5)
//   DamFoalRecord      22 bytes  HNSKOPTION1N.dat
// Record counts of these files: the whole number nearest to length / record
// length (StatsRecordCount); a counted last record that the file ends inside
// reads with zero bytes for the missing part.
//
// FindStatsRecord(index, file, length, key): the first record of the file
// whose key field (10 bytes, 5 for the 121-byte layout) equals the key,
// compared as whole texts (trailing blanks and leading zeros significant);
// nullopt when none. A missing file is created empty (StepFailure when it
// cannot be, e.g. without the folder OPTION1N). StatsIndex reads each file
// once and answers every later search from a table of first matches; it
// must live no longer than one press of ⑤ (the window clears it), since the
// files may change between presses.
#include "common/layout_table.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <array>
#include <map>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace rw::model {

namespace statslayout {
using recordlayout::Field;
using recordlayout::findField;
using recordlayout::item;
using recordlayout::rep;
using recordlayout::Row;

struct Layout {
    std::span<const Row> rows;
    int length;
    int imageLength;
};

// clang-format off
inline constexpr Row kSireRows[] = {
    item(0, "StatsKey", 10),
    rep(10, "Unread10", 4, 6),
    item(34, "FlatStarts", 6),
    item(40, "JumpStarts", 6),
    item(46, "FlatEarnings", 9),
    item(55, "JumpEarnings", 9),
    item(64, "ThirdAmount", 9),
    item(73, "Unread73", 9),
    rep(82, "Unread82", 6, 6),
    item(118, "JumpPlaceRate", 6),
    rep(124, "TurfGoingRates", 4, 6),
    rep(148, "DirtGoingRates", 4, 6),
    rep(172, "JumpGoingRates", 4, 6),
    rep(196, "TurfDistanceRates", 3, 6),
    rep(214, "DirtDistanceRates", 3, 6),
    rep(232, "Unread232", 28, 6),
    item(400, "RecordEnd", 2),
};
inline constexpr Row kHorseRows[] = {
    item(0, "StatsKey", 10),
    item(10, "FlatPlaceRate", 6),
    item(16, "Unread16", 6),
    item(22, "FlatStarts", 6),
    item(28, "JumpStarts", 6),
    item(34, "FlatEarnings", 9),
    item(43, "JumpEarnings", 9),
    item(52, "Unread52", 9),
    item(61, "Unread61", 9),
    rep(70, "Unread70", 6, 6),
    item(106, "JumpPlaceRate", 6),
    rep(112, "Unread112", 19, 6),
    item(226, "RecordEnd", 2),
};
inline constexpr Row kPeopleRows[] = {
    item(0, "StatsCode", 5),
    rep(5, "Unread5", 4, 6),
    item(29, "TurfPlaceRate", 6),
    item(35, "DirtPlaceRate", 6),
    item(41, "OtherPlaceRate", 6),
    rep(47, "Unread47", 7, 6),
    item(89, "Unread89", 9),
    item(98, "Unread98", 9),
    item(107, "Unread107", 6),
    item(113, "Unread113", 6),
    item(119, "RecordEnd", 2),
};
inline constexpr Row kDamFoalRows[] = {
    item(0, "DamBreedingNo", 10),
    item(10, "FoalRegistrationNo", 10),
    item(20, "RecordEnd", 2),
};
// clang-format on

inline constexpr Layout kSire{kSireRows, 402, 402};
inline constexpr Layout kHorse{kHorseRows, 228, 228};
inline constexpr Layout kPeople{kPeopleRows, 121, 121};
inline constexpr Layout kDamFoal{kDamFoalRows, 22, 22};
static_assert(recordlayout::layoutIsConsistent(kSire, 0));
static_assert(recordlayout::layoutIsConsistent(kHorse, 0));
static_assert(recordlayout::layoutIsConsistent(kPeople, 0));
static_assert(recordlayout::layoutIsConsistent(kDamFoal, 0));
// Every element of a repeated member of the sire layout, looked up once at
// compile time; an element out of range fails as the lookup by name does.
template <int N>
constexpr std::array<Field, N> sireElements(std::string_view name) {
    std::array<Field, N> a{};
    for (int i = 0; i < N; ++i) a[size_t(i)] = findField(kSire, name, {}, i);
    return a;
}
using recordlayout::element;
inline constexpr auto kTurfGoing = sireElements<4>("TurfGoingRates");
inline constexpr auto kDirtGoing = sireElements<4>("DirtGoingRates");
inline constexpr auto kJumpGoing = sireElements<4>("JumpGoingRates");
inline constexpr auto kTurfDistance = sireElements<3>("TurfDistanceRates");
inline constexpr auto kDirtDistance = sireElements<3>("DirtDistanceRates");
}  // namespace statslayout

using statslayout::Field;

// What every statistics record takes from its layout: its length and its
// members by name, the end mark among them.
template <const statslayout::Layout& L>
struct StatsRecordOf {
    static constexpr int kLength = L.length;
    static constexpr Field at(std::string_view name) { return statslayout::findField(L, name); }
    static constexpr Field RecordEnd = statslayout::findField(L, "RecordEnd");
};

struct SireStatsRecord : StatsRecordOf<statslayout::kSire> {
    static constexpr Field StatsKey = at("StatsKey");
    static constexpr Field FlatStarts = at("FlatStarts");
    static constexpr Field JumpStarts = at("JumpStarts");
    static constexpr Field FlatEarnings = at("FlatEarnings");
    static constexpr Field JumpEarnings = at("JumpEarnings");
    static constexpr Field ThirdAmount = at("ThirdAmount");
    static constexpr Field JumpPlaceRate = at("JumpPlaceRate");
    // Going codes "1" to "4", distance bands 1 to 3, numbered as the
    // categorisers number them.
    static constexpr Field TurfGoingRates(int g) { return statslayout::element(statslayout::kTurfGoing, g - 1); }
    static constexpr Field DirtGoingRates(int g) { return statslayout::element(statslayout::kDirtGoing, g - 1); }
    static constexpr Field JumpGoingRates(int g) { return statslayout::element(statslayout::kJumpGoing, g - 1); }
    static constexpr Field TurfDistanceRates(int b) { return statslayout::element(statslayout::kTurfDistance, b - 1); }
    static constexpr Field DirtDistanceRates(int b) { return statslayout::element(statslayout::kDirtDistance, b - 1); }
};

struct HorseStatsRecord : StatsRecordOf<statslayout::kHorse> {
    static constexpr Field StatsKey = at("StatsKey");
    static constexpr Field FlatPlaceRate = at("FlatPlaceRate");
    static constexpr Field FlatStarts = at("FlatStarts");
    static constexpr Field JumpStarts = at("JumpStarts");
    static constexpr Field FlatEarnings = at("FlatEarnings");
    static constexpr Field JumpEarnings = at("JumpEarnings");
    static constexpr Field JumpPlaceRate = at("JumpPlaceRate");
};

struct PeopleStatsRecord : StatsRecordOf<statslayout::kPeople> {
    static constexpr Field StatsCode = at("StatsCode");
    static constexpr Field TurfPlaceRate = at("TurfPlaceRate");
    static constexpr Field DirtPlaceRate = at("DirtPlaceRate");
    static constexpr Field OtherPlaceRate = at("OtherPlaceRate");
};

struct DamFoalRecord : StatsRecordOf<statslayout::kDamFoal> {
    static constexpr Field DamBreedingNo = at("DamBreedingNo");
    static constexpr Field FoalRegistrationNo = at("FoalRegistrationNo");
};

// A field of a statistics record as a number, read leniently (blanks give 0).
double statsNumber(QByteArrayView record, Field f);

// The whole number nearest to fileLength / recordLength (halves to even, as
// the system's conversion rounds).
qint64 StatsRecordCount(qint64 fileLength, int recordLength);

// The width of the key field of a statistics layout: 5 for the 121-byte
// people records, else 10.
int StatsKeyWidth(int recordLength);

// A statistics file read whole: `count` records of `length` bytes (the
// counted part of a last record the file ends inside padded with zero
// bytes). Missing files are created empty; StepFailure when that fails.
struct StatsFileImage {
    QByteArray data;
    qint64 count = 0;
    int length = 0;
    QByteArrayView record(qint64 n) const { return QByteArrayView(data).sliced((n - 1) * length, length); }
};
StatsFileImage ReadStatsFile(QStringView systemName, int recordLength);
// The same records handed to `each` one by one as the file is read in
// pieces: for a file scanned once, which need not be held whole.
void ScanStatsFile(QStringView systemName, int recordLength, const std::function<void(QByteArrayView)>& each);

class StatsIndex {
public:
    // The record found is a view of the index's image of the file, valid
    // while the index lives and is not cleared.
    std::optional<QByteArray> find(QStringView systemName, int recordLength, QByteArrayView key);
    void clear() { tables_.clear(); }

private:
    struct Table {
        StatsFileImage image;
        // key -> first record number; the keys are views of the image,
        // whose bytes every copy of it shares and nobody changes
        std::unordered_map<std::string_view, qint64> first;
    };
    // Files by name and record length, found without copying the name.
    struct ByName {
        using is_transparent = void;
        template <class A, class B>
        bool operator()(const A& a, const B& b) const {
            return a.second != b.second ? a.second < b.second : QStringView(a.first) < QStringView(b.first);
        }
    };
    std::map<std::pair<QString, int>, Table, ByName> tables_;
};

std::optional<QByteArray> FindStatsRecord(StatsIndex& index, QStringView systemName, int recordLength,
                                          QByteArrayView key);

}  // namespace rw::model
