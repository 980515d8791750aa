#include "model/category_lookup.h"

#include "common/errors.h"
#include "model/item_rules.h"

#include <cmath>

#include <tuple>

namespace rw::model {
namespace {

constexpr qsizetype kPrefixLength = 5;

int itemCount(const FactorModel& m, int item) {
    return item >= 1 && item <= kItemCount ? m.CategoryCount[size_t(item)] : 0;
}

enum class Side { Turf, Dirt, Jump };

Side sideOf(const ExpandedState& st) {
    const std::int64_t t = strictWhole(get(st.ExRecord, ex::TrackCode), "TrackCode");
    return t >= 0 && t <= 22 ? Side::Turf : t == 23 || t == 24 ? Side::Dirt : Side::Jump;
}

const FactorModel& modelOf(const ExpandedState& st, Side s) {
    return s == Side::Turf ? st.TurfModel : s == Side::Dirt ? st.DirtModel : st.JumpModel;
}

// The record field an item is looked up by.
QByteArrayView searchField(const QByteArray& record, int item) {
    switch (item) {
    case 20: return get(record, ex::SireNo);
    case 21: return get(record, ex::DamSireNo);
    case 26: return get(record, ex::BlinkerCode);
    default: return get(record, ex::Category(item));
    }
}

template <class Weight>
void sumBySurface(ExpandedState& st, float& turf, float& dirt, float& jump, Weight weight) {
    turf = dirt = jump = 0;
    const Side side = sideOf(st);
    const FactorModel& m = modelOf(st, side);
    float& sum = side == Side::Turf ? turf : side == Side::Dirt ? dirt : jump;
    for (st.CategoryNo = 1; st.CategoryNo <= kItemCount; ++st.CategoryNo) {
        sum = sum + weight(m, st.CategoryNo, st.SurfaceIndex[size_t(st.CategoryNo)]);
        if (!std::isfinite(sum)) fail("weight sum beyond single precision");
    }
}

}  // namespace

int FirstCategory(const FactorModel& m, int item, QByteArrayView code) {
    for (int j = 1; j <= itemCount(m, item); ++j)
        if (m.code(item, j) == code) return j;
    return 0;
}

int FirstCategoryByPrefix(const FactorModel& m, int item, QByteArrayView prefix) {
    for (int j = 1; j <= itemCount(m, item); ++j)
        if (m.code(item, j).first(std::min(kPrefixLength, m.code(item, j).size())) == prefix) return j;
    return 0;
}

const IndexedCategories::Table& IndexedCategories::table(const FactorModel& m, int item, bool prefix) {
    const auto key = std::make_tuple(&m, item, prefix);
    auto it = tables_.find(key);
    if (it != tables_.end()) return it->second;
    Table t;
    const int n = itemCount(m, item);
    t.reserve(n);
    for (int j = n; j >= 1; --j) {  // backwards, so that the first category of a code stays
        const QByteArrayView c = m.code(item, j);
        t.insert((prefix ? c.first(std::min(kPrefixLength, c.size())) : c).toByteArray(), j);
    }
    return tables_.emplace(key, std::move(t)).first->second;
}

int IndexedCategories::find(const FactorModel& m, int item, QByteArrayView code) {
    return table(m, item, false).value(code.toByteArray(), 0);
}

int IndexedCategories::findPrefix(const FactorModel& m, int item, QByteArrayView prefix) {
    return table(m, item, true).value(prefix.toByteArray(), 0);
}

void FindCategoryIndexes(ExpandedState& st, const FactorModel& model, CategoryFinder& categories) {
    for (int k = 1; k <= kItemCount; ++k) {
        st.ItemNo = k;
        st.SearchCode = get(st.ExRecord, ex::Category(k)).toByteArray();
        st.FoundIndex[size_t(k)] = std::int16_t(FindCategoryIndex(st, model, categories));
    }
}

int FindCategoryIndex(ExpandedState& st, const FactorModel& model, CategoryFinder& categories) {
    if (const int j = categories.find(model, st.ItemNo, st.SearchCode)) return j;
    if (st.ItemNo != 2) return 0;
    // Item 2's first character stands for the racecourse: retry with "6".
    st.SearchCode = "6" + st.SearchCode.mid(1, 4);
    return categories.findPrefix(model, 2, st.SearchCode);
}

void FindCategoryIndexesBySurface(ExpandedState& st, CategoryFinder& categories) {
    for (int k = 1; k <= kItemCount; ++k) {
        st.ItemNo = k;
        st.SearchCode = searchField(st.ExRecord, k).toByteArray();
        st.SurfaceIndex[size_t(k)] = std::int16_t(FindCategoryIndexBySurface(st, categories));
    }
}

int FindCategoryIndexBySurface(ExpandedState& st, CategoryFinder& categories) {
    return categories.find(modelOf(st, sideOf(st)), st.ItemNo, st.SearchCode);
}

void SumAgariWeightsBySurface(ExpandedState& st) {
    sumBySurface(st, st.AgariSumTurf, st.AgariSumDirt, st.AgariSumJump,
                 [](const FactorModel& m, int k, int j) { return m.agari(k, j); });
}

void SumPaceWeightsBySurface(ExpandedState& st) {
    sumBySurface(st, st.PaceSumTurf, st.PaceSumDirt, st.PaceSumJump,
                 [](const FactorModel& m, int k, int j) { return m.pace(k, j); });
}

}  // namespace rw::model
