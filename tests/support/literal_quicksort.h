#pragma once
// The sort steps transcribed literally (recursing into both sides), as the
// reference the shared quicksorts must match position for position.
#include <QByteArray>

#include <algorithm>
#include <type_traits>
#include <utility>

namespace rwtest {

template <class K>
bool literalLess(const K& a, const K& b) {
    if constexpr (std::is_same_v<K, QByteArray>)
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
        });
    else
        return a < b;
}

template <bool Asc, class Keys, class Companions>
void literalQuickSort(Keys& keys, Companions& companion, long lo, long hi) {
    const auto pivot = keys[(lo + hi) / 2];
    long i = lo, j = hi;
    for (;;) {
        if constexpr (Asc) {
            while (literalLess(keys[i], pivot)) ++i;
            while (literalLess(pivot, keys[j])) --j;
        } else {
            while (literalLess(pivot, keys[i])) ++i;
            while (literalLess(keys[j], pivot)) --j;
        }
        if (i >= j) break;
        std::swap(keys[i], keys[j]);
        std::swap(companion[i], companion[j]);
        ++i;
        --j;
    }
    if (lo < i - 1) literalQuickSort<Asc>(keys, companion, lo, i - 1);
    if (j + 1 < hi) literalQuickSort<Asc>(keys, companion, j + 1, hi);
}

}  // namespace rwtest
