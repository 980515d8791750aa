#include "common/cp932.h"
#include "jvdata/records.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

using namespace rw;
using namespace rw::jv;

namespace {

// A well-formed record of a kind: every item filled with a digit pattern,
// names with double-byte characters, CR LF at the end.
QByteArray sampleRecord(Kind k, const char* name = "テスト馬①") {
    const Layout& L = layout(k);
    QByteArray r(L.length, '0');
    for (int i = 0; i < L.length; ++i) r[i] = char('0' + (i * 7) % 10);
    r.replace(0, 2, QByteArray(L.code.data(), 2));
    r[2] = '7';
    r[L.length - 2] = '\r';
    r[L.length - 1] = '\n';
    Field nameField{};
    if (k == Kind::RA) nameField = ra::RaceName;
    if (k == Kind::SE) nameField = se::HorseName;
    if (k == Kind::UM) nameField = um::HorseName;
    if (nameField.width) {
        QByteArray n = rwtest::sj(name);
        n = n.leftJustified(nameField.width, ' ', true);
        r.replace(nameField.pos - 1, nameField.width, n);
    }
    return r;
}

}  // namespace

TEST(Records, LayoutsHaveThePublishedLengths) {
    EXPECT_EQ(layout(Kind::RA).length, 1272);
    EXPECT_EQ(layout(Kind::SE).length, 555);
    EXPECT_EQ(layout(Kind::HR).length, 719);
    EXPECT_EQ(layout(Kind::UM).length, 1609);
    EXPECT_EQ(layout(Kind::KS).length, 4173);
    EXPECT_EQ(layout(Kind::KS).imageLength, 4161);
    EXPECT_EQ(layout(Kind::O6).length, 83285);
    // Positions that other parts read.
    EXPECT_EQ(ra::Distance.pos, 698);
    EXPECT_EQ(ra::LapTime(0).pos, 891);
    EXPECT_EQ(ra::Last3F.pos, 976);
    EXPECT_EQ(se::TimeDifference.pos, 532);
    EXPECT_EQ(se::Last3F.pos, 391);
    EXPECT_EQ(um::DamNumber.pos, 251);
    EXPECT_EQ(um::PedigreeNumber(13).pos, 803);
    EXPECT_EQ(ks::InvitedAreaName.pos, 232);
    EXPECT_EQ(findField(kHR, "trifecta payouts", "popularity", 5).pos, 604 + 5 * 19 + 15);
}

TEST(Records, WellFormedRecordsRoundTripByteForByte) {
    for (const char* name : {"テスト馬①", "ＡＢＣ", "髙橋㈱ｶﾀｶﾅ"}) {
        {
            ParsedRA p; ParseRA(sampleRecord(Kind::RA, name), p);
            EXPECT_EQ(ToFixedRA(p), sampleRecord(Kind::RA, name));
        }
        {
            ParsedSE p; ParseSE(sampleRecord(Kind::SE, name), p);
            EXPECT_EQ(ToFixedSE(p), sampleRecord(Kind::SE, name));
        }
        {
            ParsedHR p; ParseHR(sampleRecord(Kind::HR), p);
            EXPECT_EQ(ToFixedHR(p), sampleRecord(Kind::HR));
        }
        {
            ParsedUM p; ParseUM(sampleRecord(Kind::UM, name), p);
            EXPECT_EQ(ToFixedUM(p), sampleRecord(Kind::UM, name));
        }
    }
}

TEST(Records, ItemsAreCutByBytesAndKeptUntrimmed) {
    ParsedSE p;
    ParseSE(sampleRecord(Kind::SE, "あいう"), p);
    EXPECT_EQ(p.item(se::HorseName), rwtest::sj("あいう") + QByteArray(30, ' '));
    EXPECT_EQ(cp932::decode(p.item(se::HorseName)).trimmed(), QString::fromUtf8("あいう"));
}

TEST(Records, ThirtyDoubleByteCharactersFillASixtyByteName) {
    QByteArray thirty, twentyNine;
    for (int i = 0; i < 30; ++i) thirty += rwtest::sj("競");
    twentyNine = thirty.left(58);
    ParsedRA p;
    QByteArray rec = sampleRecord(Kind::RA);
    rec.replace(ra::RaceName.pos - 1, 60, thirty);
    ParseRA(rec, p);
    EXPECT_EQ(p.item(ra::RaceName), thirty);
    rec.replace(ra::RaceName.pos - 1, 60, twentyNine + "  ");
    ParseRA(rec, p);
    EXPECT_EQ(ToFixedRA(p).mid(ra::RaceName.pos - 1, 60), twentyNine + "  ");
}

TEST(Records, KsImageKeepsNineBytesOfEachMoneyItem) {
    QByteArray rec = sampleRecord(Kind::KS);
    const Field money = findField(kKS, "accumulated results", "flat prize money", 0);
    EXPECT_EQ(money.pos, 1020);
    EXPECT_EQ(money.imagePos, 1020);
    rec.replace(money.pos - 1, 10, "1234567890");
    ParsedKS p;
    ParseKS(rec, p);
    const QByteArray img = ToFixedKS(p);
    ASSERT_EQ(img.size(), 4161);
    EXPECT_EQ(img.left(1015), rec.left(1015));
    EXPECT_EQ(img.mid(1019, 9), "123456789");
    // The next item starts at 1029 in the image, 1030 in the record.
    const Field next = findField(kKS, "accumulated results", "obstacle prize money", 0);
    EXPECT_EQ(next.imagePos, 1029);
    EXPECT_EQ(img.mid(1028, 9), rec.mid(1029, 9));
    // Groups at 1016, 2064 and 3112; CR LF at 4160.
    EXPECT_EQ(findField(kKS, "accumulated results", {}, 1).imagePos, 2064);
    EXPECT_EQ(findField(kKS, "accumulated results", {}, 2).imagePos, 3112);
    EXPECT_EQ(img.right(2), "\r\n");
    const Field lastCounts = findField(kKS, "accumulated results", "placing counts by distance", 2, 35);
    EXPECT_EQ(img.mid(lastCounts.imagePos - 1, 6), rec.mid(lastCounts.pos - 1, 6));
}

TEST(Records, O6HasAllGroups) {
    EXPECT_EQ(odds::entryCount(kO6), 4896);
    EXPECT_EQ(odds::Combination(kO6, 4895).pos, 83256);
    EXPECT_EQ(odds::entryCount(kO2), 153);
    EXPECT_EQ(odds::entryCount(kO5), 816);
    QByteArray rec = sampleRecord(Kind::O6);
    rec.replace(83255, 17, "181716" "0012345" "4896");
    ParsedO6 p;
    ParseO6(rec, p);
    EXPECT_EQ(p.item(odds::Combination(kO6, 4895)), "181716");
    EXPECT_EQ(p.item(odds::Odds(kO6, 4895)), "0012345");
    EXPECT_EQ(p.item(odds::Popularity(kO6, 4895)), "4896");
    EXPECT_EQ(flatItems(Kind::O6).size(), size_t(14708));
}

TEST(Records, ShortLongAndEmptyRecords) {
    ParsedRA p;
    ParseRA("", p);
    EXPECT_EQ(ToFixedRA(p), QByteArray(1272, ' '));
    // Short: a partly filled item, blanks beyond, no CR LF.
    QByteArray full = sampleRecord(Kind::RA);
    ParseRA(full.left(699), p);
    EXPECT_EQ(p.item(ra::Distance), full.mid(697, 2));
    EXPECT_TRUE(p.item(ra::TrackCode).isEmpty());
    const QByteArray img = ToFixedRA(p);
    EXPECT_EQ(img.size(), 1272);
    EXPECT_EQ(img.left(699), full.left(699));
    EXPECT_EQ(img.mid(699), QByteArray(1272 - 699, ' '));
    // Long: cut at the kind's length.
    ParseRA(full + "EXTRA", p);
    EXPECT_EQ(ToFixedRA(p), full);
    ParsedKS k;
    ParseKS("KS", k);
    EXPECT_EQ(ToFixedKS(k), QByteArray("KS") + QByteArray(4159, ' '));
}

TEST(Records, KindOfRecord) {
    EXPECT_EQ(kindOf("RA7..."), Kind::RA);
    EXPECT_EQ(kindOf("O6"), Kind::O6);
    EXPECT_FALSE(kindOf("O3xx"));
    EXPECT_FALSE(kindOf("R"));
}

// A KS record that ends early keeps the bytes it has; every image field past
// its end is blank (the items there have no bytes at all).
TEST(Records, KsRecordEndingEarlyIsBlankPadded) {
    const QByteArray full = sampleRecord(Kind::KS);
    ParsedKS p;
    ParseKS(full, p);
    const QByteArray fullImage = ToFixedKS(p);

    ParseKS(QByteArrayView(), p);
    EXPECT_EQ(ToFixedKS(p), QByteArray(4161, ' '));

    // Five bytes into this year's flat prize money (published 1020-1029).
    ParseKS(full.left(1024), p);
    QByteArray img = ToFixedKS(p);
    ASSERT_EQ(img.size(), 4161);
    EXPECT_EQ(img.left(1024), full.left(1024));
    EXPECT_EQ(img.mid(1024), QByteArray(4161 - 1024, ' '));

    // Everything but the CR LF.
    ParseKS(full.left(4171), p);
    img = ToFixedKS(p);
    EXPECT_EQ(img.left(4159), fullImage.left(4159));
    EXPECT_EQ(img.right(2), "  ");
}
