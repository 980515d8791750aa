#include "common/numbers.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

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

// The two-digit text is the last two characters of numberText(v + 100),
// for every value: the short way and the long one agree.
TEST(Numbers, TwoDigitTextIsTheLastTwoOfTheSum) {
    EXPECT_EQ(twoDigitText(7), "07");
    EXPECT_EQ(twoDigitText(112), "12");
    EXPECT_EQ(twoDigitText(-88), "12");
    EXPECT_EQ(twoDigitText(-95), "5");
    EXPECT_EQ(twoDigitText(-105), "-5");
    const std::int64_t big = std::numeric_limits<std::int64_t>::max(), small = std::numeric_limits<std::int64_t>::min();
    EXPECT_EQ(twoDigitText(big), "07");
    EXPECT_EQ(twoDigitText(small), numberText(small + 100).right(2));
    for (std::int64_t v = -1000; v <= 1000; ++v) {
        ASSERT_EQ(twoDigitText(v), numberText(v + 100).right(2)) << v;
        char buf[2];
        ASSERT_EQ(QByteArray(buf, writeTwoDigitText(buf, v) - buf), twoDigitText(v)) << v;
    }
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

// The readings take short numbers without strtod and the texts whole
// numbers without printf; on random texts of the shapes records hold, both
// give what strtod and printf give, bit for bit.
TEST(Numbers, ShortCutsAgreeWithStrtodAndPrintfOnRandomTexts) {
    std::mt19937_64 rng(20241207);
    auto pick = [&](int n) { return int(rng() % std::uint64_t(n)); };
    const char alphabet[] = "0123456789          .-+EeDdx";
    for (int i = 0; i < 200000; ++i) {
        std::string t;
        const int shape = pick(4);
        const int len = 1 + pick(shape == 3 ? 30 : 12);
        for (int k = 0; k < len; ++k)
            t += shape == 0 ? char('0' + pick(10)) : alphabet[pick(shape == 1 ? 11 : int(sizeof alphabet) - 1)];
        if (shape == 2 && pick(2)) t.insert(size_t(pick(int(t.size()) + 1)), 1, '.');
        // strtod on the longest leading number, as the system takes it.
        std::string s = t.substr(t.find_first_not_of(" \t") == std::string::npos ? t.size() : t.find_first_not_of(" \t"));
        std::string number = s;
        for (char& c : number)
            if (c == 'D' || c == 'd') c = 'E';
        char* end = nullptr;
        const double expected = std::strtod(number.c_str(), &end);
        const double got = valLenient(QByteArrayView(t.data(), qsizetype(t.size())));
        if (end != number.c_str() && number.find_first_of("0123456789") < size_t(end - number.c_str()) &&
            number.find_first_of("xX") == std::string::npos && number.find("nf") == std::string::npos &&
            number.find("an") == std::string::npos) {
            ASSERT_EQ(std::memcmp(&got, &expected, sizeof got), 0) << '"' << t << "\" " << got << " vs " << expected;
        }
    }
    for (int i = 0; i < 200000; ++i) {
        const int digits = 1 + pick(17);
        std::int64_t v = 0;
        for (int k = 0; k < digits; ++k) v = v * 10 + pick(10);
        if (pick(2)) v = -v;
        char buf[64];
        std::snprintf(buf, sizeof buf, "%lld", (long long)v);
        ASSERT_EQ(numberText(v), QByteArray(buf));
        ASSERT_EQ(numberText(v, true), QByteArray(v >= 0 ? " " : "") + buf);
        const double d = double(v) / double(std::int64_t(1) << pick(4));
        std::snprintf(buf, sizeof buf, "%.15G", d);
        QByteArray printed = buf == std::string("-0") ? QByteArray("0") : QByteArray(buf);
        ASSERT_EQ(doubleText(d), printed) << d;
        const float f = float(d);
        std::snprintf(buf, sizeof buf, "%.7G", double(f));
        printed = buf == std::string("-0") ? QByteArray("0") : QByteArray(buf);
        ASSERT_EQ(singleText(f), printed) << f;
    }
}
