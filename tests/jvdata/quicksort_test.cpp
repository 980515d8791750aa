#include "jvdata/quicksort.h"
#include "support/literal_quicksort.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <vector>

using rw::QuickSortAsc;
using rw::QuickSortDesc;

namespace {

std::vector<int> companions(int n) {
    std::vector<int> c(size_t(n) + 1, 0);
    for (int i = 1; i <= n; ++i) c[size_t(i)] = i;
    return c;
}

template <bool Asc, class K>
void expectSameAsLiteral(std::vector<K> keys, long lo, long hi) {
    std::vector<int> comp = companions(int(keys.size()) - 1);
    std::vector<K> refKeys = keys;
    std::vector<int> refComp = comp;
    rwtest::literalQuickSort<Asc>(refKeys, refComp, lo, hi);
    if constexpr (Asc)
        QuickSortAsc(keys, comp, lo, hi);
    else
        QuickSortDesc(keys, comp, lo, hi);
    ASSERT_EQ(keys, refKeys);
    ASSERT_EQ(comp, refComp);
}

}  // namespace

TEST(QuickSort, MatchesTheLiteralStepsOnRandomArraysWithManyDuplicates) {
    std::mt19937 rng(20240629);
    for (int round = 0; round < 600; ++round) {
        const int n = 1 + int(rng() % (round < 500 ? 60 : 3000));
        const int distinct = 1 + int(rng() % 8);  // few values: many equal keys
        std::vector<int> ints(size_t(n) + 1, 0);
        std::vector<QByteArray> texts(size_t(n) + 1);
        for (int i = 1; i <= n; ++i) {
            ints[size_t(i)] = int(rng() % unsigned(distinct));
            // Bytes above 0x7F must sort after ASCII (unsigned codes).
            static const char* pool[] = {"0", "00", "01", "1", " 8", "\x82\xa0", "\x82", "z", ""};
            texts[size_t(i)] = QByteArray(pool[rng() % std::size(pool)]);
        }
        const long lo = n > 1 ? 1 + long(rng() % 2) : 1;
        const long hi = n;
        expectSameAsLiteral<true>(ints, lo, hi);
        expectSameAsLiteral<false>(ints, lo, hi);
        expectSameAsLiteral<true>(texts, lo, hi);
        expectSameAsLiteral<false>(texts, lo, hi);
    }
}

// Widths below one word and across several words (compared a word at a
// time), with bytes on both sides of 0x80.
template <size_t N>
void expectFixedWidthLikeTexts() {
    SCOPED_TRACE(N);
    std::mt19937 rng(7);
    for (int round = 0; round < 200; ++round) {
        const int n = 1 + int(rng() % 80);
        std::vector<std::array<char, N>> fixed(size_t(n) + 1, std::array<char, N>{});
        std::vector<QByteArray> texts(size_t(n) + 1);
        for (int i = 1; i <= n; ++i) {
            static const char bytes[] = {'0', '1', ' ', '\x82', '\xa0'};
            // One key changed at a position or two, so that every byte of
            // every word comes to decide.
            fixed[size_t(i)].fill('0');
            for (int k = 0; k < 2; ++k) fixed[size_t(i)][rng() % N] = bytes[rng() % 5];
            texts[size_t(i)] = QByteArray(fixed[size_t(i)].data(), qsizetype(N));
        }
        std::vector<int> c1 = companions(n), c2 = companions(n);
        QuickSortAsc(fixed, c1, 1, n);
        rwtest::literalQuickSort<true>(texts, c2, 1, n);
        ASSERT_EQ(c1, c2);
    }
}

TEST(QuickSort, FixedWidthTextKeysSortLikeTheSameTexts) {
    expectFixedWidthLikeTexts<2>();
    expectFixedWidthLikeTexts<10>();
    expectFixedWidthLikeTexts<25>();
}

TEST(QuickSort, SortedAndReversedInputsMatchTheLiteralSteps) {
    for (int n : {2, 3, 17, 1000}) {
        std::vector<double> up(size_t(n) + 1, 0), down(size_t(n) + 1, 0);
        for (int i = 1; i <= n; ++i) up[size_t(i)] = i * 0.5, down[size_t(i)] = -i;
        expectSameAsLiteral<true>(up, 1, n);
        expectSameAsLiteral<false>(up, 1, n);
        expectSameAsLiteral<true>(down, 1, n);
        expectSameAsLiteral<false>(down, 1, n);
    }
}

TEST(QuickSort, TiesOfTheDescendingSortRankAsTheStepsGive) {
    struct Case {
        int n;
        std::vector<int> order;  // companions 1..n after sorting n equal keys
    };
    for (const Case& c : {Case{1, {1}}, Case{2, {2, 1}}, Case{5, {4, 5, 3, 1, 2}}}) {
        std::vector<float> speeds(size_t(c.n) + 1, 61.25f);
        std::vector<int> comp = companions(c.n);
        QuickSortDesc(speeds, comp, 1, c.n);
        EXPECT_EQ(std::vector<int>(comp.begin() + 1, comp.end()), c.order) << c.n;
        EXPECT_EQ(speeds, std::vector<float>(size_t(c.n) + 1, 61.25f));
    }
}

TEST(QuickSort, OrdersTextsByUnsignedByteCodesAndNumbersByValue) {
    std::vector<QByteArray> t = {"", "\x82\xa0", "z", " 8", "00", "0"};
    std::vector<int> c = companions(5);
    QuickSortAsc(t, c, 1, 5);
    EXPECT_EQ(t, (std::vector<QByteArray>{"", " 8", "0", "00", "z", "\x82\xa0"}));
    EXPECT_EQ(c, (std::vector<int>{0, 3, 5, 4, 2, 1})) << "companions travel with their keys";

    std::vector<double> v = {0, 10, 9, -1, 2.5};
    std::vector<int> d = companions(4);
    QuickSortDesc(v, d, 1, 4);
    EXPECT_EQ(v, (std::vector<double>{0, 10, 9, 2.5, -1}));
    EXPECT_EQ(d, (std::vector<int>{0, 1, 2, 4, 3}));
}

TEST(QuickSort, OnePositionIsLeftAlone) {
    std::vector<int> k = {7, 3, 1};
    std::vector<int> c = {0, 1, 2};
    QuickSortAsc(k, c, 1, 1);
    QuickSortDesc(k, c, 2, 2);
    EXPECT_EQ(k, (std::vector<int>{7, 3, 1}));
    EXPECT_EQ(c, (std::vector<int>{0, 1, 2}));
}
