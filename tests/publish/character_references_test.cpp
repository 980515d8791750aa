// The pages' character references: ASCII as it is, every other character
// of the code page 932 text as its decimal reference, also where a trail
// byte looks like ASCII; a builder's lines reach the page so also when it
// fails part-way.
#include "common/errors.h"
#include "publish/character_references.h"

#include <gtest/gtest.h>

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
