#include "common/cp932.h"

#include <gtest/gtest.h>

using namespace rw;

TEST(Cp932, DecodesTheSystemsOwnCharacters) {
    // ① Ⅰ Ⅲ ～ ㈱ 髙: code page 932 has them, strict Shift-JIS does not.
    const QByteArray b("\x87\x40\x87\x54\x87\x56\x81\x60\x87\x8A\xFB\xFC", 12);
    EXPECT_EQ(cp932::decode(b), QString::fromUtf8("①ⅠⅢ～㈱髙"));
    EXPECT_EQ(cp932::encode(QString::fromUtf8("①ⅠⅢ～㈱髙")), b);
}

TEST(Cp932, RoundTripsTextAndHalfWidthKana) {
    const QString s = QString::fromUtf8("ﾃｽﾄ 今週開催取得 ABC 123");
    EXPECT_EQ(cp932::decode(cp932::encode(s)), s);
}

TEST(Cp932, DuplicateCodesEncodeCanonically) {
    // Characters held twice decode the same and encode to one canonical form.
    EXPECT_EQ(cp932::decode(QByteArray("\xFA\x4A", 2)), cp932::decode(QByteArray("\x87\x54", 2)));
    EXPECT_EQ(cp932::encode(cp932::decode(QByteArray("\xFA\x4A", 2))), QByteArray("\x87\x54", 2));
}

TEST(Cp932, InvalidBytesBecomeReplacementCharacters) {
    const QString r(QChar(0xFFFD));
    EXPECT_EQ(cp932::decode(QByteArray("\xFF", 1)), r);
    EXPECT_EQ(cp932::decode(QByteArray("\x80", 1)), r);
    // A lead byte cut off at the end of an item is not merged with anything.
    EXPECT_EQ(cp932::decode(QByteArray("A\x82", 2)), "A" + r);
    // A lead byte before a byte that cannot trail: replaced, the next byte kept.
    EXPECT_EQ(cp932::decode(QByteArray("\x82\x20" "B", 3)), r + " B");
    EXPECT_EQ(cp932::encode(QString::fromUtf8("€😀")), QByteArray("??"));
}

TEST(Cp932, EveryItemIsDecodedOnItsOwn) {
    // An item ending in the first byte of "あ" and the next item starting with
    // its second byte stay two damaged items.
    const QByteArray a = cp932::encode(QString::fromUtf8("あ"));
    EXPECT_EQ(cp932::decode(a.left(1)) + cp932::decode(a.mid(1)), QString(2, QChar(0xFFFD)));
}

TEST(Cp932, FirstCharsCountsDoubleByteCharactersAsOne) {
    const QByteArray b = cp932::encode(QString::fromUtf8("ＡBＣD"));
    EXPECT_EQ(cp932::firstChars(b, 3), cp932::encode(QString::fromUtf8("ＡBＣ")));
    EXPECT_EQ(cp932::firstChars(b, 10), b);
    EXPECT_EQ(cp932::charCount(b), 4);
}

TEST(Cp932, FitBytesNeverSplitsACharacter) {
    const QByteArray b = cp932::encode(QString::fromUtf8("ＡBＣ"));  // 2 + 1 + 2 bytes
    EXPECT_EQ(cp932::fitBytes(b, 4), cp932::encode(QString::fromUtf8("ＡB")));
    EXPECT_EQ(cp932::fitBytes(b, 1), QByteArray());
    EXPECT_EQ(cp932::fitBytes(b, 5), b);
    EXPECT_EQ(cp932::fitBytes(b, 9), b);
}
