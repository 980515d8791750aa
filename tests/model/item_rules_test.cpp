#include "model/item_rules.h"

#include "common/errors.h"
#include "ex_fixture.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace rw::model;
using rwtest::exRecord;

TEST(ItemRules, LogBandTakesTrueLogarithm) {
    EXPECT_EQ(LogBand(1000), 30);
    EXPECT_EQ(LogBand(1e6), 60);
    EXPECT_EQ(LogBand(1e9), 90);
    EXPECT_EQ(LogBand(1), 0);
    EXPECT_EQ(LogBand(2), 3);
    EXPECT_EQ(LogBand(0.5), -4);  // Int is the floor
    EXPECT_EQ(LogBand(std::pow(10.0, 3.2)), 32);
    EXPECT_THROW(LogBand(0), rw::StepFailure);
    EXPECT_THROW(LogBand(-3), rw::StepFailure);
}

TEST(ItemRules, RateBandIsFloorOfQuarterThousands) {
    EXPECT_EQ(RateBand(0), 0);
    EXPECT_EQ(RateBand(3999), 0);
    EXPECT_EQ(RateBand(4000), 1);
    EXPECT_EQ(RateBand(43999), 10);
    EXPECT_EQ(RateBand(-1), -1);
}

TEST(ItemRules, WholeNumbersAndTexts) {
    EXPECT_EQ(wholeOf(" 12"), 12);
    EXPECT_EQ(wholeOf("2.5"), 2);
    EXPECT_EQ(wholeOf("3.5"), 4);
    EXPECT_FALSE(wholeOf("  "));
    EXPECT_FALSE(wholeOf("1a"));
    EXPECT_FALSE(wholeOf("99999999999"));
    EXPECT_THROW(strictWhole("x", "TrackCode"), rw::StepFailure);
    EXPECT_TRUE(rw::textBetween("22", "00", "22"));
    EXPECT_FALSE(rw::textBetween(" 8", "00", "22"));
    EXPECT_TRUE(rw::textBetween("1a", "10", "59"));
}

TEST(ItemRules, DaysKeepTheLastFourDigits) {
    const QDate a(2024, 1, 1);
    EXPECT_EQ(Days(a, QDate(2024, 1, 15)), 14);
    EXPECT_EQ(Days(a, QDate(2023, 12, 31)), 9999);
    EXPECT_EQ(Days(QDate(1990, 1, 1), QDate(2024, 1, 1)), 12418 - 10000);
    // Far back: the number written out is negative; its last four characters.
    EXPECT_EQ(Days(a, a.addDays(-10005)), -5);      // "-5"
    EXPECT_EQ(Days(a, a.addDays(-10999)), -999);    // "-999"
    EXPECT_EQ(Days(a, a.addDays(-11000)), 1000);    // "-1000"
    EXPECT_EQ(Days(a, a.addDays(-22345)), 2345);    // "-12345"
    EXPECT_FALSE(dateOf("    ", "  ", "  "));
    EXPECT_FALSE(dateOf("2023", "02", "29"));
    EXPECT_EQ(raceDateOf(exRecord({{ex::RaceMonthDay, "1231"}})), QDate(2024, 12, 31));
}

TEST(ItemRules, PreviousRunLooksOnlyAtTheRecordBefore) {
    // Abnormality codes of records 1 to 5.
    const QList<QByteArray> codes[] = {{"0", "0", "0", "0"}, {"1", "0", "0", "0"}, {"0", "1", "0", "0"},
                                       {"0", "1", "1", "0"}, {"0", "0", "1", "1"}};
    struct Case {
        int codes;
        int cur;
        int previous;
    } cases[] = {{0, 2, 1}, {1, 2, 1}, {0, 4, 3}, {2, 3, 1}, {3, 4, 2}, {4, 5, 3}, {2, 4, 3}};
    for (const Case& c : cases) {
        auto record = [&](int n) { return exRecord({{ex::AbnormalityCode, codes[c.codes][n - 1]}}); };
        EXPECT_EQ(PreviousRunNo(c.cur, record), c.previous) << c.codes << " " << c.cur;
    }
}
