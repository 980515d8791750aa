#include "model/item_rules.h"

#include "common/errors.h"
#include "common/numbers.h"

#include <cmath>
#include <limits>
#include <string>

namespace rw::model {

std::optional<std::int64_t> wholeOf(QByteArrayView text) {
    const std::optional<double> v = parseStrict(text);
    if (!v) return std::nullopt;
    const double r = std::nearbyint(*v);  // the default rounding: half to even
    if (!(r >= double(std::numeric_limits<std::int32_t>::min()) && r <= double(std::numeric_limits<std::int32_t>::max())))
        return std::nullopt;
    return std::int64_t(r);
}

std::int64_t strictWhole(QByteArrayView text, const char* what) {
    const std::optional<std::int64_t> v = wholeOf(text);
    if (!v) fail(std::string(what) + " is not a whole number: \"" + std::string(text.data(), size_t(text.size())) + "\"");
    return *v;
}

std::int64_t RateBand(double v) { return std::int64_t(std::floor(v / 4000.0)); }

std::int64_t LogBand(double x) {
    if (!(x > 0) || !std::isfinite(x)) fail("no logarithm of " + std::string(doubleText(x).constData()));
    // log10 itself: ln x / ln 10 lands just below 3, 6, 9 at 1000, 10^6, 10^9.
    return std::int64_t(std::floor(10.0 * std::log10(x)));
}

std::optional<QDate> dateOf(QByteArrayView year, QByteArrayView month, QByteArrayView day) {
    const auto y = wholeOf(year), m = wholeOf(month), d = wholeOf(day);
    if (!y || !m || !d || *y < 100 || *y > 9999) return std::nullopt;
    const QDate date{int(*y), int(*m), int(*d)};
    if (!date.isValid()) return std::nullopt;
    return date;
}

std::optional<QDate> raceDateOf(QByteArrayView rec) {
    const QByteArrayView md = get(rec, ex::RaceMonthDay);
    return dateOf(get(rec, ex::RaceYear), md.first(std::min<qsizetype>(2, md.size())), md.sliced(std::min<qsizetype>(2, md.size())));
}

std::optional<QDate> birthDateOf(QByteArrayView rec) {
    return dateOf(get(rec, ex::BirthYear), get(rec, ex::BirthMonth), get(rec, ex::BirthDay));
}

std::int64_t Days(const QDate& a, const QDate& b) {
    // The value of the last four characters of the number written out:
    // down to -999 the whole number, below it the last four digits.
    const std::int64_t n = a.daysTo(b) + 10000;
    if (n >= 0) return n % 10000;
    return n > -1000 ? n : -n % 10000;
}

int PreviousRunNo(int cur, const std::function<QByteArray(int)>& record) {
    if (get(record(cur - 1), ex::AbnormalityCode) == "0") return cur - 1;
    return cur == 2 ? 1 : cur - 2;
}

}  // namespace rw::model
