// The pages' character references: ASCII as it is, every other character
// of the code page 932 text as its decimal reference, also where a trail
// byte looks like ASCII; a builder's lines reach the page so also when it
// fails part-way.
#include "common/errors.h"
#include "publish/character_references.h"

#include "common/cp932.h"

#include <gtest/gtest.h>

#include <random>

using rw::publish::CharacterReferences;
using rw::publish::WithCharacterReferences;

TEST(CharacterReferences, EachCharacterOutsideAsciiBecomesItsReference) {
    struct Case {
        const char* cp932;
        const char* page;
    };
    for (const Case& c : {
             Case{"<td class=\"a\">1R</td>\r\n", "<td class=\"a\">1R</td>\r\n"},
             Case{"\x8b\xa3\x94\x6e", "&#31478;&#39340;"},            // 競馬
             Case{"\x83\x5c", "&#12477;"},                            // ソ: its trail byte is a backslash
             Case{"\xb1", "&#65393;"},                                // half-width ｱ
             Case{"\x87\x40\x81\x60", "&#9312;&#65374;"},             // ①～
             Case{"\xfa\x4a|\x87\x54", "&#8544;|&#8544;"},            // Ⅰ held twice
             Case{"R\x81", "R&#65533;"},                              // a lead byte without its trail
             Case{"\x81 a", "&#65533; a"},                            // a lead byte before a byte that is no trail
             Case{"a\xb1\x83\x5c\x5c" "b\x8b\xa3", "a&#65393;&#12477;\\b&#31478;"},  // runs of both kinds
             Case{"\x85\x81@", "&#65533;&#12288;"},  // no pair, then the second lead byte pairs with "@"
             Case{"", ""},
         })
        EXPECT_EQ(CharacterReferences(c.cp932), QByteArray(c.page)) << c.page;
}

TEST(CharacterReferences, TheLinesBeforeAFailureReachThePage) {
    QByteArray out = "head\r\n";
    auto build = WithCharacterReferences([](QByteArray& page, bool fresh) {
        page += fresh ? "\x8b\xa3\r\n" : "x\r\n";
        rw::fail("a frame that is no number");
    });
    EXPECT_THROW(build(out, true), rw::StepFailure);
    EXPECT_EQ(out, QByteArray("head\r\n&#31478;\r\n"));
}

TEST(CharacterReferences, AnyBytesGiveTheReferencesOfTheirWholeDecodedText) {
    // Runs of ASCII, lead and trail bytes mixed at random, against the
    // definition: the whole text decoded, then character by character.
    std::mt19937 rng(31);
    const unsigned char pool[] = {'a', '@', '\\', '\r', 0x7f, 0x80, 0x81, 0x85, 0x87, 0x8b, 0x9f, 0xa0, 0xa3, 0xb1, 0xdf, 0xe0, 0xfa, 0xfc, 0xfd, 0xff};
    for (int round = 0; round < 2000; ++round) {
        QByteArray bytes;
        const int length = int(rng() % 12);
        for (int i = 0; i < length; ++i) bytes += char(pool[rng() % sizeof pool]);
        QByteArray expected;
        for (const QChar c : rw::cp932::decode(bytes))
            expected += c.unicode() < 0x80 ? QByteArray(1, char(c.unicode())) : "&#" + QByteArray::number(c.unicode()) + ';';
        EXPECT_EQ(CharacterReferences(bytes), expected) << bytes.toHex().constData();
    }
}
