#include "reports/combination_texts.h"

#include "common/errors.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

using namespace rw::reports;
using rwtest::sj;

namespace {
using Formatter = QByteArray (*)(QByteArrayView);
struct Case {
    const char* name;
    Formatter format;
    QByteArray input;
    std::optional<QByteArray> text;  // nullopt: a conversion failure
};
}  // namespace

TEST(CombinationTexts, TableOfCases) {
    const std::optional<QByteArray> fails;
    const Case cases[] = {
        // Fully blank fields give the empty text, at each form's width.
        {"Umaban", FormatUmaban, "  ", ""},
        {"Wakuren", FormatWakuren, "  ", ""},
        {"Umaren", FormatUmaren, "    ", ""},
        {"Umatan", FormatUmatan, "    ", ""},
        {"Sanrenpuku", FormatSanrenpuku, "      ", ""},
        {"Sanrentan", FormatSanrentan, "      ", ""},
        {"Payout", FormatPayout, "         ", ""},
        // The forms.
        {"Umaban", FormatUmaban, "05", " 5"},
        {"Umaban", FormatUmaban, "12", "12"},
        {"Umaban", FormatUmaban, " 7", " 7"},
        {"Umaban", FormatUmaban, "7 ", " 7"},
        {"Wakuren", FormatWakuren, "36", "3-6"},
        {"Wakuren", FormatWakuren, "12", "1-2"},  // never widened
        {"Umaren", FormatUmaren, "0512", " 5-12"},
        {"Umaren", FormatUmaren, "0000", " 0- 0"},  // zeros are not empty
        {"Umatan", FormatUmatan, "1205", sj("12→ 5")},
        {"Umatan", FormatUmatan, "0503", sj(" 5→ 3")},  // the input order is kept
        {"Sanrenpuku", FormatSanrenpuku, "010203", " 1- 2- 3"},
        {"Sanrenpuku", FormatSanrenpuku, "101112", "10-11-12"},
        {"Sanrentan", FormatSanrentan, "100205", sj("10→ 2→ 5")},
        {"Payout", FormatPayout, "000001230", "1230"},
        {"Payout", FormatPayout, "000000000", "0"},
        {"Payout", FormatPayout, "999999999", "999999999"},
        // Conversion failures: only the fully blank field is empty.
        {"Umaban", FormatUmaban, "", fails},
        {"Umaban", FormatUmaban, " ", fails},
        {"Umaban", FormatUmaban, "0A", fails},
        {"Umaban", FormatUmaban, QByteArray(2, '\0'), fails},
        {"Umaren", FormatUmaren, "05  ", fails},  // partly blank
        {"Umaren", FormatUmaren, "05", fails},    // too short
        {"Umaren", FormatUmaren, "", fails},
        {"Umatan", FormatUmatan, "0-05", fails},
        {"Wakuren", FormatWakuren, "3 ", fails},
        {"Wakuren", FormatWakuren, "", fails},
        {"Sanrenpuku", FormatSanrenpuku, "0102  ", fails},
        {"Sanrentan", FormatSanrentan, "01 203", sj(" 1→ 2→ 3")},  // blanks around a part are allowed
        {"Sanrentan", FormatSanrentan, "01+203", fails},
        {"Payout", FormatPayout, "00000123 ", "123"},
        {"Payout", FormatPayout, "0000 1230", fails},
        {"Payout", FormatPayout, "00000-123", fails},
        {"Payout", FormatPayout, "", fails},
        {"Payout", FormatPayout, "        ", fails},  // eight blanks: not the blank field
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " \"" + c.input.toStdString() + "\"");
        if (c.text) {
            EXPECT_EQ(c.format(c.input), *c.text);
        } else {
            EXPECT_THROW(c.format(c.input), rw::StepFailure);
        }
    }
}

TEST(CombinationTexts, TheArrowIsTheCodePageTwoByteForm) {
    EXPECT_EQ(FormatUmatan("0102"), QByteArray(" 1\x81\xA8 2"));
}

TEST(CombinationTexts, TrioTextsReadTheTrioAtTheCurrentPosition) {
    rw::prediction::RunState s;
    s.TrioBets = {QByteArray(), "010203", "070312"};
    s.TrioCount = 2;
    s.CurSubIndex = 2;
    EXPECT_EQ(TrioOrderText1(s), sj(" 7→ 3→12"));
    EXPECT_EQ(TrioOrderText2(s), sj(" 7→12→ 3"));
    EXPECT_EQ(TrioOrderText3(s), sj(" 3→ 7→12"));
    EXPECT_EQ(TrioOrderText4(s), sj(" 3→12→ 7"));
    EXPECT_EQ(TrioOrderText5(s), sj("12→ 7→ 3"));
    EXPECT_EQ(TrioOrderText6(s), sj("12→ 3→ 7"));
    EXPECT_EQ(TrioBoxText(s), " 7- 3-12");
    s.CurSubIndex = 1;
    EXPECT_EQ(TrioOrderText1(s), sj(" 1→ 2→ 3"));

    s.CurSubIndex = 3;  // outside the list
    EXPECT_THROW(TrioOrderText1(s), rw::StepFailure);
    s.CurSubIndex = -1;
    EXPECT_THROW(TrioBoxText(s), rw::StepFailure);
    s.CurSubIndex = 0;  // no key there
    EXPECT_THROW(TrioOrderText6(s), rw::StepFailure);
}

TEST(CombinationTexts, TrioOrderKeysFollowTheSixOrders) {
    const char* expected[] = {"070312", "071203", "030712", "031207", "120703", "120307"};
    for (int k = 1; k <= 6; ++k) EXPECT_EQ(TrioOrderKey("070312", k), expected[k - 1]) << k;
    EXPECT_EQ(TrioOrderKey("0703", 1), QByteArray());
    EXPECT_EQ(TrioOrderKey("070312", 7), QByteArray());
}
