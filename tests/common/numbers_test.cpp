#include "common/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>

using namespace rw;

TEST(Numbers, LenientReading) {
    struct Case { const char* text; double value; } cases[] = {
        {"", 0}, {"abc", 0}, {"  12", 12}, {"0012", 12}, {"12ab", 12}, {"-3.5x", -3.5},
        {"1 2", 1}, {" .5", 0.5}, {"1E3", 1000}, {"1E", 1}, {"   ", 0}, {"+7", 7},
    };
    for (auto& c : cases) EXPECT_DOUBLE_EQ(valLenient(c.text), c.value) << c.text;
    EXPECT_DOUBLE_EQ(valIgnoringBlanks("0 1"), 1);
    EXPECT_DOUBLE_EQ(valIgnoringBlanks(" 1 2 "), 12);
}

TEST(Numbers, StrictReading) {
    EXPECT_EQ(parseStrict(" 42 "), 42.0);
    EXPECT_EQ(parseStrict("-0.5"), -0.5);
    for (const char* bad : {"", "  ", "4 2", "12a", "--1", "."}) EXPECT_FALSE(parseStrict(bad)) << bad;
    EXPECT_THROW(strictNumber("x", "distance"), std::exception);
}

TEST(Numbers, NumberTexts) {
    EXPECT_EQ(singleText(1234.5678f), "1234.568");
    EXPECT_EQ(singleText(12.3f), "12.3");
    EXPECT_EQ(singleText(0.0f), "0");
    EXPECT_EQ(singleText(-0.0f), "0");
    EXPECT_EQ(singleText(12345678.0f), "1.234568E+07");
    EXPECT_EQ(doubleText(std::floor(166.0) * 0.1), "16.6");
    EXPECT_EQ(doubleText(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(numberText(0, true), " 0");
    EXPECT_EQ(numberText(25, true), " 25");
    EXPECT_EQ(numberText(-25, true), "-25");
    EXPECT_EQ(numberText(25), "25");
    EXPECT_EQ(singleText(2.5f, true), " 2.5");
}

// The number texts are printf's "%.7G" and "%.15G"; they are made without
// printf, so a sweep of values holds them to it, ties and extremes included.
TEST(Numbers, NumberTextsAreThoseOfPrintf) {
    auto printfText = [](double v, int precision) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.*G", precision, v);
        return std::strcmp(buf, "-0") == 0 ? QByteArray("0") : QByteArray(buf);
    };
    auto check = [&](float f, double d) {
        ASSERT_EQ(singleText(f), printfText(double(f), 7)) << double(f);
        char buf[32];
        ASSERT_EQ(QByteArray(buf, writeSingleText(buf, f) - buf), singleText(f));
        ASSERT_EQ(doubleText(d), printfText(d, 15)) << d;
    };
    const double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
    for (double v : {0.0, -0.0, 0.5, 2.5, 1e-5, 1e-4, 9999999.5, 1234567.5, 1234568.5, 1e7, 1e15, 123456789012345.5,
                     5e-324, 1.7976931348623157e308, inf, -inf, nan, -nan})
        check(float(v), v);
    std::mt19937_64 rng(7);
    for (int i = 0; i < 200000; ++i) {
        const std::uint64_t bits = rng();
        float f;
        double d;
        const std::uint32_t low = std::uint32_t(bits);
        std::memcpy(&f, &low, sizeof f);
        std::memcpy(&d, &bits, sizeof d);
        check(f, d);
        // Speeds and sums as the run makes them.
        check(float(int(bits % 400000) / 1000.0f), double(std::int64_t(bits % 2000000)) * 0.1);
    }
}
