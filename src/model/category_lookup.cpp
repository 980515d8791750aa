#include "model/category_lookup.h"

#include "common/errors.h"
#include "model/item_rules.h"

#include <algorithm>
#include <cmath>
#include <cstring>

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

namespace {

std::size_t hashOf(const char* p, qsizetype n) {
    std::uint64_t h = 1469598103934665603ull;  // FNV-1a
    for (qsizetype i = 0; i < n; ++i) h = (h ^ std::uint8_t(p[i])) * 1099511628211ull;
    return std::size_t(h ^ (h >> 29));
}

bool sameBytes(const char* a, const char* b, qsizetype n) {
    for (qsizetype i = 0; i < n; ++i)
        if (a[i] != b[i]) return false;
    return true;
}

// The bytes into `to`, in its own buffer when nobody shares it and it is
// large enough: the pass sets the search code once per record.
void setBytes(QByteArray& to, QByteArrayView v) {
    if (to.isDetached() && to.capacity() >= v.size()) {
        to.resize(v.size());
        if (!v.isEmpty()) std::memcpy(to.data(), v.data(), size_t(v.size()));
    } else {
        to = v.toByteArray();
    }
}

}  // namespace

void IndexedCategories::Table::build(const FactorModel& m, int item, bool prefix) {
    const int n = itemCount(m, item);
    std::size_t size = 8;
    while (size < std::size_t(n) * 2 + 1) size *= 2;
    slots_.assign(size, Slot{});
    mask_ = size - 1;
    for (int j = 1; j <= n; ++j) {  // the first category of a code keeps its slot
        const QByteArrayView c = m.code(item, j);
        const QByteArrayView key = prefix ? c.first(std::min(kPrefixLength, c.size())) : c;
        for (std::size_t i = hashOf(key.data(), key.size()) & mask_;; i = (i + 1) & mask_) {
            Slot& s = slots_[i];
            if (s.category == 0) {
                s = {key.data(), key.size(), j};
                break;
            }
            if (s.size == key.size() && sameBytes(s.data, key.data(), key.size())) break;
        }
    }
}

int IndexedCategories::Table::find(QByteArrayView code) const {
    if (slots_.empty()) return 0;
    for (std::size_t i = hashOf(code.data(), code.size()) & mask_;; i = (i + 1) & mask_) {
        const Slot& s = slots_[i];
        if (s.category == 0) return 0;
        if (s.size == code.size() && sameBytes(s.data, code.data(), code.size())) return s.category;
    }
}

IndexedCategories::ModelTables& IndexedCategories::tablesOf(const FactorModel& m) {
    if (!last_ || last_->model != &m) {
        last_ = nullptr;
        for (const auto& t : models_)
            if (t->model == &m) last_ = t.get();
        if (!last_) {
            models_.push_back(std::make_unique<ModelTables>());
            last_ = models_.back().get();
            last_->model = &m;
        }
    }
    return *last_;
}

const IndexedCategories::Table& IndexedCategories::table(const FactorModel& m, int item, bool prefix) {
    static const Table kNone;
    if (item < 0 || item > kItemCount) return kNone;
    ModelTables& tables = tablesOf(m);
    Table& t = (prefix ? tables.prefix : tables.whole)[size_t(item)];
    bool& built = (prefix ? tables.prefixBuilt : tables.wholeBuilt)[size_t(item)];
    if (!built) {
        t.build(m, item, prefix);
        built = true;
    }
    return t;
}

void IndexedCategories::findItems(const FactorModel& m, const ItemCodes& codes, ItemCategories& found) {
    ModelTables& tables = tablesOf(m);
    for (int k = 1; k <= kItemCount; ++k) {
        if (!tables.wholeBuilt[size_t(k)]) {
            tables.whole[size_t(k)].build(m, k, false);
            tables.wholeBuilt[size_t(k)] = true;
        }
        found[size_t(k)] = std::int16_t(tables.whole[size_t(k)].find(codes[size_t(k)]));
    }
}

int IndexedCategories::find(const FactorModel& m, int item, QByteArrayView code) {
    return table(m, item, false).find(code);
}

int IndexedCategories::findPrefix(const FactorModel& m, int item, QByteArrayView prefix) {
    return table(m, item, true).find(prefix);
}

void FindCategoryIndexes(ExpandedState& st, const FactorModel& model, CategoryFinder& categories) {
    // The fields are looked up where they lie; SearchCode and ItemNo end as
    // the last item leaves them.
    CategoryFinder::ItemCodes codes;
    for (int k = 1; k <= kItemCount; ++k) codes[size_t(k)] = get(st.ExRecord, ex::Category(k));
    categories.findItems(model, codes, st.FoundIndex);
    if (st.FoundIndex[2] == 0) {
        // Item 2's first character stands for the racecourse: retry with "6".
        const QByteArrayView code = codes[2];
        char retry[5] = {'6'};
        const QByteArrayView rest = code.sliced(std::min<qsizetype>(1, code.size()));
        const qsizetype n = std::min<qsizetype>(4, rest.size());
        std::copy_n(rest.data(), n, retry + 1);
        st.FoundIndex[2] = std::int16_t(categories.findPrefix(model, 2, QByteArrayView(retry, 1 + n)));
    }
    st.ItemNo = kItemCount;
    setBytes(st.SearchCode, get(st.ExRecord, ex::Category(kItemCount)));
}

int FindCategoryIndex(ExpandedState& st, const FactorModel& model, CategoryFinder& categories) {
    if (const int j = categories.find(model, st.ItemNo, st.SearchCode)) return j;
    if (st.ItemNo != 2) return 0;
    // Item 2's first character stands for the racecourse: retry with "6".
    st.SearchCode = "6" + st.SearchCode.mid(1, 4);
    return categories.findPrefix(model, 2, st.SearchCode);
}

void FindCategoryIndexesBySurface(ExpandedState& st, CategoryFinder& categories) {
    // The surface is read once: a TrackCode that is not a number fails at
    // the first item, as it would at every one.
    st.ItemNo = 1;
    setBytes(st.SearchCode, searchField(st.ExRecord, 1));
    const FactorModel& m = modelOf(st, sideOf(st));
    CategoryFinder::ItemCodes codes;
    for (int k = 1; k <= kItemCount; ++k) codes[size_t(k)] = searchField(st.ExRecord, k);
    categories.findItems(m, codes, st.SurfaceIndex);
    st.ItemNo = kItemCount;
    setBytes(st.SearchCode, searchField(st.ExRecord, kItemCount));
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
