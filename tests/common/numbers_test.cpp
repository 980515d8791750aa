#include "common/numbers.h"

#include <gtest/gtest.h>

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
