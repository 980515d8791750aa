#include "jvdata/records.h"

#include <gtest/gtest.h>

using namespace rw::jv;

namespace {

QByteArray ksRecord() {
    QByteArray r(kKS.length, '0');
    for (int i = 0; i < kKS.length; ++i) r[i] = char('0' + (i * 3) % 10);
    r.replace(0, 2, "KS");
    r.replace(kKS.length - 2, 2, "\r\n");
    return r;
}

}  // namespace

// A KS record that ends early keeps the bytes it has; every image field past
// its end is blank (the items there have no bytes at all).
TEST(RecordsImage, KsRecordEndingEarlyIsBlankPadded) {
    const QByteArray full = ksRecord();
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
