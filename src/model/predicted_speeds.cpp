#include "model/predicted_speeds.h"

#include "common/errors.h"
#include "common/fixed_text.h"
#include "common/numbers.h"
#include "model/item_rules.h"

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace rw::model {
namespace {

[[noreturn]] [[gnu::noinline]] void beyondSingle(const char* what) { fail(std::string(what) + " beyond single precision"); }

inline float single(double v, const char* what) {
    const float f = float(v);
    if (!std::isfinite(f)) [[unlikely]]
        beyondSingle(what);
    return f;
}

int categoryIndex(const QByteArray& record, int item) {
    const QByteArrayView t = get(record, ex::CategoryIndex(item));
    const auto x = wholeOf(t);
    if (!x || *x < 0 || *x > kMaxCategories)
        fail("CategoryIndex of item " + std::to_string(item) + " is not a category: \"" +
             std::string(t.data(), size_t(t.size())) + "\"");
    return int(*x);
}

// putSingle's bytes (little-endian) at a place known to lie in the record.
inline void storeSingle(char* at, float v) {
    const std::uint32_t bits = std::bit_cast<std::uint32_t>(v);
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(at, &bits, 4);
    } else {
        for (int i = 0; i < 4; ++i) at[i] = char((bits >> (8 * i)) & 0xFF);
    }
}

void setWeight(std::vector<float>& w, int j, float v) {
    if (j >= 0 && j < int(w.size())) w[size_t(j)] = v;
}

// Characters 2 to 8 of the number's text (a whole-number Double, printed as
// the system prints one).
QByteArray digitsTwoToEight(double v) { return doubleText(v).mid(1, 7); }

}  // namespace

void SubstituteItemOneWeights(FactorModel& m) {
    const int n = m.CategoryCount[1];
    const float a = m.agari(1, 1), p = m.pace(1, 1), s = m.soha(1, 1);
    auto substitute = [&](int j) {
        setWeight(m.AgariWeight[1], j, a);
        setWeight(m.PaceWeight[1], j, p);
        setWeight(m.SohaWeight[1], j, s);
    };
    if (m.AgariWeight[1].empty()) m.AgariWeight[1].assign(1, 0.0f);
    if (m.PaceWeight[1].empty()) m.PaceWeight[1].assign(1, 0.0f);
    if (m.SohaWeight[1].empty()) m.SohaWeight[1].assign(1, 0.0f);
    substitute(0);
    for (int k = 1; k <= n; ++k)
        if (m.samples(1, k) == 0) substitute(k);
}

QByteArray PredictedSpeedText(float p) { return digitsTwoToEight(std::floor(double(p) * 1000000.0) + 100000000.0); }

namespace {
// put(record, f, PredictedSpeedText(p)), the digits written straight in
// when the number prints as a whole number (as it does below 10^15).
void putPredictedSpeed(QByteArray& record, Field f, float p) {
    const double x = std::floor(double(p) * 1000000.0) + 100000000.0;
    if (!(std::fabs(x) < 1e15)) return put(record, f, PredictedSpeedText(p));
    char digits[24];
    const int len = wholeDigits(std::int64_t(x), digits);
    put(record, f, QByteArrayView(digits + 1, std::min(7, len - 1)));
}
}  // namespace

void ApplyFactorWeights(ExpandedState& st, FactorModel& model) {
    SubstituteItemOneWeights(model);
    ApplySubstitutedFactorWeights(st, model, nullptr);
}

void ApplySubstitutedFactorWeights(ExpandedState& st, const FactorModel& model, const std::int16_t* indexes) {
    QByteArray& r = st.ExRecord;
    if (r.size() < kExRecordLength) fail("the record is shorter than an expanded run record");
    auto index = [&](int item) { return indexes ? int(indexes[item]) : categoryIndex(r, item); };

    // Sample counts: texts 6 to 10 for items 6, 18, 19, 20, 21.
    const int countItems[5] = {6, 18, 19, 20, 21};
    for (int i = 0; i < 5; ++i) {
        const std::int64_t n = std::int64_t(model.samples(countItems[i], index(countItems[i]))) + 10000000;
        if (n > std::numeric_limits<std::int32_t>::max()) fail("sample count beyond 32 bits");
        char digits[24];
        const int len = wholeDigits(n, digits);
        // Characters 2 to 8 of the number's text.
        put(r, ex::SpeedTexts(6 + i), QByteArrayView(digits + 1, std::min(7, len - 1)));
    }

    float pa = 0, pp = 0, ps = 0;
    char* const base = r.data();  // the record is whole: every member lies inside it
    for (int k = 1; k <= kItemCount; ++k) {
        const int x = index(k);
        const float wa = model.agari(k, x), wp = model.pace(k, x), ws = model.soha(k, x);
        // Item 1 is the constant; any other weight beyond ±20 km/h is kept
        // out of its sum, each kind on its own.
        if (k == 1 || std::fabs(wa) <= 20) pa = single(double(pa) + double(wa), "predicted 上がり speed");
        if (k == 1 || std::fabs(wp) <= 20) pp = single(double(pp) + double(wp), "predicted ペース speed");
        if (k == 1 || std::fabs(ws) <= 20) ps = single(double(ps) + double(ws), "predicted 走破 speed");
        storeSingle(base + ex::AgariW(k).offset(), wa);
        storeSingle(base + ex::PaceW(k).offset(), wp);
        storeSingle(base + ex::SohaW(k).offset(), ws);
    }
    putPredictedSpeed(r, ex::SpeedTexts(3), pa);
    putPredictedSpeed(r, ex::SpeedTexts(4), pp);
    putPredictedSpeed(r, ex::SpeedTexts(5), ps);

    float res[13];
    for (int i = 0; i < 3; ++i) res[i] = float(valLenient(get(r, ex::SpeedTexts(i))) / 100000.0);
    res[3] = pa;
    res[4] = pp;
    res[5] = ps;
    const double d = strictNumber(get(r, ex::Distance), "Distance");
    if (pp == 0) fail("predicted ペース speed of 0");
    if (pa == 0) fail("predicted 上がり speed of 0");
    const float q = single((d - 600) / double(pp) + 600 / double(pa), "composite divisor");
    if (q == 0) fail("composite divisor of 0");
    res[6] = single(d / double(q), "composite predicted speed");
    res[7] = single(double(res[2]) - double(res[6]), "Result(7)");
    res[8] = single(double(res[5]) - double(res[6]), "Result(8)");
    res[9] = single(double(res[0]) - double(res[3]), "Result(9)");
    res[10] = single(double(res[1]) - double(res[4]), "Result(10)");
    res[11] = single(double(res[2]) - double(res[5]), "Result(11)");
    res[12] = res[4] == res[3] ? 0.0f
                               : single(100.0 * (double(res[2]) - double(res[3])) / (double(res[4]) - double(res[3])),
                                        "Result(12)");
    char* const block = r.data();
    for (int i = 0; i <= 12; ++i) storeSingle(block + ex::Result(i).offset(), res[i]);
}

}  // namespace rw::model
