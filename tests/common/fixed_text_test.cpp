#include "common/fixed_text.h"

#include <gtest/gtest.h>

using namespace rw;

// member() gives a view of nothing (no data at all) beyond a record's end;
// such a value pads with blanks like an empty one.
TEST(FixedText, ValuesWithoutDataPadWithBlanks) {
    const QByteArrayView none = member("AB", 5, 2);
    ASSERT_EQ(none.data(), nullptr);
    EXPECT_EQ(fixedBytes(none, 3), "   ");
    EXPECT_EQ(fixedBytes(QByteArrayView(), 0), "");
    QByteArray rec(4, '\0');
    putFixed(rec, 2, 2, none);
    EXPECT_EQ(rec, QByteArray("\0  \0", 4));
    qsizetype pos = 3;
    EXPECT_EQ(CutBytes("AB", pos, 2), "");
    EXPECT_EQ(pos, 5);
}
