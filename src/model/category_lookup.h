#pragma once
// KESTRAVEXPDTHISWEEKNZ: finding a category code among an item's categories
// in a FactorModel, and the surface-aware lookups and weight sums with which
// the categorisers of items 17 and 29 weigh an earlier run in the window's
// loaded models.
//
// A code matches a category when the whole texts are equal (trailing blanks
// included); the first of categories 1 to CategoryCount(item) wins, 0 when
// none matches. IndexedCategories answers from a table built once per model
// and item; the plain scan is the rule itself (and the tests' reference).
// Both only read the model, which must not change while an index lives.
//
// The surface-aware procedures work on state.ExRecord: TrackCode read
// strictly as t chooses TurfModel for 0-22, DirtModel for 23-24 and
// JumpModel for every other value (dirt codes 25-29 included). They change
// ItemNo, SearchCode, SurfaceIndex, CategoryNo and the sums of their kind;
// a TrackCode that is not a number fails (StepFailure).
#include "model/expanded_state.h"
#include "model/factor_model.h"

#include <QByteArray>
#include <QByteArrayView>
#include <array>
#include <memory>
#include <optional>
#include <vector>

namespace rw::model {

class CategoryFinder {
public:
    virtual ~CategoryFinder() = default;
    // The first category j of `item` whose code equals `code`; 0 when none.
    virtual int find(const FactorModel& model, int item, QByteArrayView code) = 0;
    // The first category j of `item` whose first five characters equal the
    // five characters of `prefix`; 0 when none (item 2's retry).
    virtual int findPrefix(const FactorModel& model, int item, QByteArrayView prefix) = 0;
    // find() for items 1 to 30 at once: codes[k] is item k's code, found[k]
    // receives its category (element 0 of either is not used).
    using ItemCodes = std::array<QByteArrayView, kItemCount + 1>;
    using ItemCategories = std::array<std::int16_t, kItemCount + 1>;
    virtual void findItems(const FactorModel& model, const ItemCodes& codes, ItemCategories& found) {
        for (int k = 1; k <= kItemCount; ++k) found[size_t(k)] = std::int16_t(find(model, k, codes[size_t(k)]));
    }
};

// The plain scan from category 1.
int FirstCategory(const FactorModel& model, int item, QByteArrayView code);
int FirstCategoryByPrefix(const FactorModel& model, int item, QByteArrayView prefix);

class ScannedCategories : public CategoryFinder {
public:
    int find(const FactorModel& m, int item, QByteArrayView code) override { return FirstCategory(m, item, code); }
    int findPrefix(const FactorModel& m, int item, QByteArrayView p) override { return FirstCategoryByPrefix(m, item, p); }
};

// Code -> first category, built on first use per model and item. The tables
// point into the models' codes.
class IndexedCategories : public CategoryFinder {
public:
    int find(const FactorModel& model, int item, QByteArrayView code) override;
    int findPrefix(const FactorModel& model, int item, QByteArrayView prefix) override;
    void findItems(const FactorModel& model, const ItemCodes& codes, ItemCategories& found) override;
    void clear() {
        models_.clear();
        last_ = nullptr;
    }

private:
    // Open addressing over the codes' bytes; a slot of category 0 is free.
    class Table {
    public:
        void build(const FactorModel& model, int item, bool prefix);
        int find(QByteArrayView code) const;

    private:
        struct Slot {
            const char* data = nullptr;
            qsizetype size = 0;
            int category = 0;
        };
        std::vector<Slot> slots_;
        std::size_t mask_ = 0;
    };
    struct ModelTables {
        const FactorModel* model = nullptr;
        std::array<Table, kItemCount + 1> whole, prefix;
        std::array<bool, kItemCount + 1> wholeBuilt{}, prefixBuilt{};
    };
    ModelTables& tablesOf(const FactorModel& model);
    const Table& table(const FactorModel& model, int item, bool prefix);
    std::vector<std::unique_ptr<ModelTables>> models_;
    ModelTables* last_ = nullptr;  // the model of the previous lookup
};

// The compute pass's lookups in the model of the record's surface: for each
// item k, SearchCode is the whole Category k field of state.ExRecord and
// FoundIndex(k) the first matching category, 0 when none; item 2 without a
// match retries "6" & characters 2-5 against the first five characters of
// its codes. Change ItemNo, SearchCode and FoundIndex.
void FindCategoryIndexes(ExpandedState& state, const FactorModel& model, CategoryFinder& categories);
int FindCategoryIndex(ExpandedState& state, const FactorModel& model, CategoryFinder& categories);

void FindCategoryIndexesBySurface(ExpandedState& state, CategoryFinder& categories);
int FindCategoryIndexBySurface(ExpandedState& state, CategoryFinder& categories);
void SumAgariWeightsBySurface(ExpandedState& state);
void SumPaceWeightsBySurface(ExpandedState& state);

}  // namespace rw::model
