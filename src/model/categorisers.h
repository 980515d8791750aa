#pragma once
// KESTRAVEXPDTHISWEEKNZ: the 30 item categorisers of the compute pass ⑤.
//
// Each classifies the run of record state.ExRecordNo of the open horse file
// into its model item and returns the item's category code (the pass puts it
// left-aligned into the item's field, padded or cut). It reads the record
// from `sources` into state.ExRecord, may read earlier records (which the
// pass has already classified: oldest first, the record rewritten after each
// item, so a categoriser also sees the speeds and the codes of the items
// before it), and leaves state.ExRecord holding the current record. It never
// writes a file. Items 17 and 29 change the window state of the
// surface-aware lookups (SurfaceIndex, ItemNo, SearchCode, CategoryNo, the
// sums of their kind); the others change nothing else.
//
// The cases the rules leave open have these codes:
// - items 1 to 10, a field read strictly that is blank or not a number
//   matches none of the listed values: the weekday flag is "2", the track
//   code takes its "any other" branch, an earlier prize counts 0, item 10's
//   ratio is 100;
// - items 12 and 14 without a usable date: blanks (no category);
// - item 15 when the previous odds give no logarithm: "10";
// - items 17 and 29 when the previous run has no measured speed: "10"; for a
//   previous track code outside 0-24 and below 50 the dirt sum, as the sum
//   procedure leaves it (0).
// Every other failure is a StepFailure: a strict reading of a garbled field
// in items 11 to 30 or in the speeds, a run time equal to its
// last-three-furlongs time, a sum of earlier prizes beyond 32 bits, a
// logarithm of an amount that is not positive (items 5, 13, 20, 30), a
// statistics file that cannot be opened.
#include "model/category_lookup.h"
#include "model/expanded_state.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>
#include <array>
#include <optional>

namespace rw::model {

// What a categoriser reads besides the window state: the open horse's
// records, the statistics files of the package, and the categories of the
// window's models. The compute pass answers from memory and indexes; the
// tests' literal reference from the files, scanning.
class ItemSources {
public:
    virtual ~ItemSources() = default;
    // Record n (from 1) of the open horse file as it stands.
    virtual QByteArray record(int n) = 0;
    // FindStatsRecord: the first record of the file whose key equals `key`.
    virtual std::optional<QByteArray> findStats(QStringView file, int recordLength, QByteArrayView key) = 0;
    virtual CategoryFinder& categories() = 0;
    // Where items 17 and 29 keep the surface-aware categories of a previous
    // run for each other (they look up the same run in the same models);
    // nullptr: each looks them up itself.
    struct PreviousRunCategories {
        int current = 0, previous = 0;  // record numbers; 0: nothing kept
        std::array<std::int16_t, kItemCount + 1> index{};
    };
    virtual PreviousRunCategories* previousRunCategories() { return nullptr; }
};

using Categoriser = QByteArray (*)(ExpandedState& state, ItemSources& sources);

QByteArray CategoriseRaceYear(ExpandedState&, ItemSources&);
QByteArray CategoriseCourseDraw(ExpandedState&, ItemSources&);
QByteArray CategorisePreviousRunClass(ExpandedState&, ItemSources&);
QByteArray CategoriseCarriedWeight(ExpandedState&, ItemSources&);
QByteArray CategorisePrizeSum(ExpandedState&, ItemSources&);
QByteArray CategoriseRaceSymbol(ExpandedState&, ItemSources&);
QByteArray CategoriseJockeyPlaceRate(ExpandedState&, ItemSources&);
QByteArray CategoriseHorsePlaceRate(ExpandedState&, ItemSources&);
QByteArray CategoriseRunCount(ExpandedState&, ItemSources&);
QByteArray CategoriseWeightRatio(ExpandedState&, ItemSources&);
QByteArray CategoriseBodyWeight(ExpandedState&, ItemSources&);
QByteArray CategoriseAgeInMonths(ExpandedState&, ItemSources&);
QByteArray CategoriseSireAmount(ExpandedState&, ItemSources&);
QByteArray CategoriseRaceInterval(ExpandedState&, ItemSources&);
QByteArray CategorisePreviousOdds(ExpandedState&, ItemSources&);
QByteArray CategoriseSireGoingRate(ExpandedState&, ItemSources&);
QByteArray CategorisePreviousPaceResidual(ExpandedState&, ItemSources&);
QByteArray CategoriseJockeyAge(ExpandedState&, ItemSources&);
QByteArray CategoriseTrainerPlaceRate(ExpandedState&, ItemSources&);
QByteArray CategoriseSireEarningsPerRun(ExpandedState&, ItemSources&);
QByteArray CategoriseRaceNumber(ExpandedState&, ItemSources&);
QByteArray CategoriseDistance(ExpandedState&, ItemSources&);
QByteArray CategoriseSireDistanceRate(ExpandedState&, ItemSources&);
QByteArray CategoriseHorseNumber(ExpandedState&, ItemSources&);
QByteArray CategoriseSymbolOrBirthMonth(ExpandedState&, ItemSources&);
QByteArray CategorisePreviousTimeDiff(ExpandedState&, ItemSources&);
QByteArray CategoriseMeetingDay(ExpandedState&, ItemSources&);
QByteArray CategoriseRegisteredRunners(ExpandedState&, ItemSources&);
QByteArray CategorisePreviousAgariResidual(ExpandedState&, ItemSources&);
QByteArray CategoriseHorseEarningsPerRun(ExpandedState&, ItemSources&);

struct ItemCategoriser {
    int number;
    const char* name;
    Categoriser categorise;
};

// Items 1 to 30 in item order: kCategorisers[k - 1] is item k.
extern const std::array<ItemCategoriser, kItemCount> kCategorisers;

}  // namespace rw::model
