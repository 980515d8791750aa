#pragma once
// QuickSortAsc / QuickSortDesc: the system's shared sorts. They are not
// stable, and which of several equal keys ends last decides which duplicate
// record survives de-duplication and how speed ties rank, so the partition
// steps below must stay exactly as they are: middle pivot (copied), both
// scans strict, leave when i >= j before exchanging, then sort lo..i-1 and
// j+1..hi.
//
// The two sub-sorts touch disjoint ranges, so their order does not change the
// result; we sort the smaller side by recursion and loop on the larger one,
// which bounds the depth by log2(n) whatever the input.
//
// Keys are numbers (compared by value) or texts held as QByteArray,
// std::string or std::array<char, N> (compared by unsigned byte codes, a
// shorter prefix first). Every exchange of keys is made on the companion
// entries at the same positions.
#include <QByteArray>
#include <QByteArrayView>

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>
#include <type_traits>
#include <utility>

namespace rw {

namespace quicksort_detail {

inline int compareBytes(QByteArrayView a, QByteArrayView b) {
    const qsizetype n = a.size() < b.size() ? a.size() : b.size();
    if (n > 0) {
        const int c = std::memcmp(a.data(), b.data(), size_t(n));  // unsigned bytes
        if (c != 0) return c;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

// Fixed-width texts, eight bytes at a time: the first differing word read
// most significant byte first orders the texts as their first differing
// byte does.
template <size_t N>
bool lessFixed(const std::array<char, N>& a, const std::array<char, N>& b) {
    size_t i = 0;
    if constexpr (std::endian::native == std::endian::little) {
        for (; i + 8 <= N; i += 8) {
            std::uint64_t x, y;
            std::memcpy(&x, a.data() + i, 8);
            std::memcpy(&y, b.data() + i, 8);
            if (x != y) return __builtin_bswap64(x) < __builtin_bswap64(y);
        }
    }
    for (; i < N; ++i)
        if (a[i] != b[i]) return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[i]);
    return false;
}

template <class K>
bool less(const K& a, const K& b) {
    if constexpr (requires { lessFixed(a, b); }) {
        return lessFixed(a, b);
    } else if constexpr (std::is_arithmetic_v<K>) {
        return a < b;
    } else {
        // Byte texts: QByteArray, std::string, or fixed-width std::array<char, N>.
        static_assert(sizeof(*std::data(a)) == 1, "keys are numbers or byte texts");
        return compareBytes(QByteArrayView(std::data(a), qsizetype(std::size(a))),
                            QByteArrayView(std::data(b), qsizetype(std::size(b)))) < 0;
    }
}

// One partition as the steps give it; returns the final i and j.
template <bool Ascending, class Keys, class Companions>
std::pair<qsizetype, qsizetype> partition(Keys& keys, Companions& companion, qsizetype lo, qsizetype hi) {
    using K = std::decay_t<decltype(keys[0])>;
    const K pivot = keys[(lo + hi) / 2];
    qsizetype i = lo;
    qsizetype j = hi;
    for (;;) {
        if constexpr (Ascending) {
            while (less(keys[i], pivot)) ++i;
            while (less(pivot, keys[j])) --j;
        } else {
            while (less(pivot, keys[i])) ++i;
            while (less(keys[j], pivot)) --j;
        }
        if (i >= j) break;
        using std::swap;
        swap(keys[i], keys[j]);
        swap(companion[i], companion[j]);
        ++i;
        --j;
    }
    return {i, j};
}

template <bool Ascending, class Keys, class Companions>
void sortRange(Keys& keys, Companions& companion, qsizetype lo, qsizetype hi) {
    while (lo < hi) {
        const auto [i, j] = partition<Ascending>(keys, companion, lo, hi);
        // Left part lo..i-1, right part j+1..hi; either may be empty or one
        // position long, in which case the steps do not recurse into it.
        if ((i - 1) - lo < hi - (j + 1)) {
            if (lo < i - 1) sortRange<Ascending>(keys, companion, lo, i - 1);
            lo = j + 1;
        } else {
            if (j + 1 < hi) sortRange<Ascending>(keys, companion, j + 1, hi);
            hi = i - 1;
        }
    }
}

}  // namespace quicksort_detail

// Sorts keys[lo..hi] ascending in place (lo <= hi; both containers indexed
// at least over lo..hi), carrying companion[p] along with keys[p].
template <class Keys, class Companions>
void QuickSortAsc(Keys& keys, Companions& companion, qsizetype lo, qsizetype hi) {
    quicksort_detail::sortRange<true>(keys, companion, lo, hi);
}

// The same with the two comparisons exchanged: descending.
template <class Keys, class Companions>
void QuickSortDesc(Keys& keys, Companions& companion, qsizetype lo, qsizetype hi) {
    quicksort_detail::sortRange<false>(keys, companion, lo, hi);
}

}  // namespace rw
