#include "reports/combination_texts.h"

#include "common/errors.h"
#include "common/paths.h"
#include "prediction/trifecta_orders.h"

#include <array>
#include <string>

namespace rw::reports {
namespace {

bool isAllBlank(QByteArrayView field, qsizetype width) {
    if (field.size() != width) return false;
    for (char c : field)
        if (c != ' ') return false;
    return true;
}

// The part of `width` bytes at 0-based `from`, cut as far as the field goes.
QByteArrayView part(QByteArrayView field, qsizetype from, qsizetype width) {
    if (from >= field.size()) return {};
    return field.sliced(from, std::min(width, field.size() - from));
}

}  // namespace

qint64 NineDigitNumber(QByteArrayView text, const char* what) {
    qsizetype i = 0, e = text.size();
    while (i < e && text[i] == ' ') ++i;
    while (e > i && text[e - 1] == ' ') --e;
    // Nine digits at most: a payout needs nine, every other part two.
    bool ok = i < e && e - i <= 9;
    qint64 v = 0;
    for (qsizetype k = i; ok && k < e; ++k) {
        if (text[k] < '0' || text[k] > '9') ok = false;
        else v = v * 10 + (text[k] - '0');
    }
    if (!ok) fail(std::string(what) + " \"" + printable(text) + "\" is not a whole number");
    return v;
}

namespace {

QByteArray padded(QByteArrayView part2, const char* what) { return PaddedNumber(NineDigitNumber(part2, what)); }

// Horse numbers of two bytes each, padded and joined by `sep`.
QByteArray joinedHorses(QByteArrayView key, qsizetype width, const char* sep, const char* what) {
    if (isAllBlank(key, width)) return {};
    QByteArray out;
    for (qsizetype from = 0; from < width; from += 2) {
        if (from) out += sep;
        out += padded(part(key, from, 2), what);
    }
    return out;
}

// The positions of A, B, C in a trifecta order (1-6); the box (0) keeps the
// first order's.
const std::array<int, 3>& orderAt(int order) { return prediction::kTrifectaOrders[size_t(order == 0 ? 0 : order - 1)]; }

QByteArray trioText(const prediction::BetLists& bets, qsizetype position, int order, const char* sep) {
    const QByteArray& key = checkedAt(bets.TrioBets, position);
    const std::array<int, 3>& at = orderAt(order);
    QByteArray out;
    for (int k = 0; k < 3; ++k) {
        if (k) out += sep;
        out += padded(part(key, 2 * at[size_t(k)], 2), "trio bet");
    }
    return out;
}

}  // namespace

QByteArray PaddedNumber(qint64 n) {
    if (n >= 0 && n < 100) {  // nearly every call: a horse number or a rank
        const char two[2] = {n < 10 ? ' ' : char('0' + n / 10), char('0' + n % 10)};
        return QByteArray(two, 2);
    }
    const QByteArray t = ' ' + QByteArray::number(n);
    return t.right(2);
}

QByteArray FormatUmaban(QByteArrayView horseNumber) {
    if (isAllBlank(horseNumber, 2)) return {};
    return padded(part(horseNumber, 0, 2), "horse number");
}

QByteArray FormatWakuren(QByteArrayView bracketPair) {
    if (isAllBlank(bracketPair, 2)) return {};
    return QByteArray::number(NineDigitNumber(part(bracketPair, 0, 1), "bracket number")) + '-' +
           QByteArray::number(NineDigitNumber(part(bracketPair, 1, 1), "bracket number"));
}

QByteArray FormatUmaren(QByteArrayView pairKey) { return joinedHorses(pairKey, 4, "-", "pair"); }
QByteArray FormatUmatan(QByteArrayView pairKey) { return joinedHorses(pairKey, 4, kArrow, "pair"); }
QByteArray FormatSanrenpuku(QByteArrayView trioKey) { return joinedHorses(trioKey, 6, "-", "trio"); }
QByteArray FormatSanrentan(QByteArrayView trioKey) { return joinedHorses(trioKey, 6, kArrow, "trio"); }

QByteArray FormatPayout(QByteArrayView payout) {
    if (isAllBlank(payout, 9)) return {};
    return QByteArray::number(NineDigitNumber(part(payout, 0, 9), "payout"));
}

QByteArray TrioOrderText(const prediction::BetLists& bets, qsizetype position, int order) {
    if (order < 1 || order > 6) fail("trifecta order " + std::to_string(order) + " outside 1..6");
    return trioText(bets, position, order, kArrow);
}

QByteArray TrioBoxText(const prediction::BetLists& bets, qsizetype position) {
    return trioText(bets, position, 0, "-");
}

QByteArray TrioOrderText1(const prediction::RunState& s) { return TrioOrderText(s, s.CurSubIndex, 1); }
QByteArray TrioOrderText2(const prediction::RunState& s) { return TrioOrderText(s, s.CurSubIndex, 2); }
QByteArray TrioOrderText3(const prediction::RunState& s) { return TrioOrderText(s, s.CurSubIndex, 3); }
QByteArray TrioOrderText4(const prediction::RunState& s) { return TrioOrderText(s, s.CurSubIndex, 4); }
QByteArray TrioOrderText5(const prediction::RunState& s) { return TrioOrderText(s, s.CurSubIndex, 5); }
QByteArray TrioOrderText6(const prediction::RunState& s) { return TrioOrderText(s, s.CurSubIndex, 6); }
QByteArray TrioBoxText(const prediction::RunState& s) { return TrioBoxText(s, s.CurSubIndex); }

QByteArray TrioOrderKey(QByteArrayView trioKey, int order) {
    if (trioKey.size() != 6 || order < 1 || order > 6) return {};
    QByteArray out;
    out.reserve(6);
    for (int at : orderAt(order)) out += trioKey.sliced(2 * at, 2);
    return out;
}

}  // namespace rw::reports
