// The small pieces every writer and reader shares: text ranges, blanked
// members, our own texts in code page 932, checked indexes, built lines,
// the write of what was built, whole-file reads and compile-time names.
#include "common/cp932.h"
#include "common/errors.h"
#include "common/file_ops.h"
#include "common/fixed_text.h"
#include "common/paths.h"
#include "common/record_file.h"
#include "common/text_file.h"
#include "support/test_support.h"

#include <QList>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace rw;
using rwtest::AppFolder;

TEST(WriterToolkit, TextRangesCompareByteByByte) {
    struct Case {
        const char* text;
        const char* lo;
        const char* hi;
        bool in;
    };
    for (const Case& c : std::vector<Case>{{"00", "00", "22", true},
                                           {"22", "00", "22", true},
                                           {"23", "00", "22", false},
                                           {"  ", "00", "49", false},  // blanks lie below "00"
                                           {" 8", "00", "22", false},
                                           {"1a", "10", "59", true},
                                           {"", "00", "22", false},
                                           {"-005", "-005", "-009", true}})
        EXPECT_EQ(textBetween(c.text, c.lo, c.hi), c.in) << c.text << " " << c.lo << ".." << c.hi;
}

TEST(WriterToolkit, NeverAssignedZeroBytesReadAsBlanks) {
    const QByteArray rec("AB\0\0C", 5);
    EXPECT_EQ(blankedMember(rec, 2, 3), "B  ");
    EXPECT_EQ(blankedMember(rec, 4, 5), " C");  // fewer where the record ends
    EXPECT_EQ(blankedMember(rec, 9, 2), "");
    EXPECT_EQ(zerosAsBlanks(QByteArray("\0x\0", 3)), " x ");
}

TEST(WriterToolkit, OwnTextsAreEncodedOncePerLiteral) {
    static const char kWord[] = "本線";
    const QByteArray& first = sj(kWord);
    EXPECT_EQ(first, cp932::encode(QString::fromUtf8(kWord)));
    EXPECT_EQ(&sj(kWord), &first);  // the same literal: the same bytes, not encoded again
    EXPECT_EQ(sj(u8"ｍ"), cp932::encode(u"ｍ"));
    EXPECT_EQ(sj("RC"), "RC");
}

TEST(WriterToolkit, CheckedIndexFailsOutsideTheArray) {
    QList<int> list{10, 20, 30};
    EXPECT_EQ(checkedAt(list, 2), 30);
    checkedAt(list, 0) = 11;
    EXPECT_EQ(list[0], 11);
    const std::vector<int> v{1};
    EXPECT_EQ(checkedAt(v, 0), 1);
    try {
        checkedAt(list, 3);
        FAIL() << "no failure";
    } catch (const StepFailure& e) {
        EXPECT_STREQ(e.what(), "index 3 outside 0..2");
    }
    EXPECT_THROW(checkedAt(list, -1), StepFailure);
}

TEST(WriterToolkit, LinesAreBuiltWholeIntoOwnBytesOrAGivenBuffer) {
    TextLines own;
    EXPECT_TRUE(own.isEmpty());
    own.add({CsvValue::text("RC"), CsvValue::number("12"), CsvValue::none()});
    own.line("<p>", QByteArray("x"), 7, u8"本線");
    EXPECT_EQ(own.bytes(), "\"RC\",12,\r\n<p>x7" + cp932::encode(u"本線") + "\r\n");

    QByteArray out("head\r\n");
    TextLines given(out);
    given.lineThenEmpty("<br>");
    given.add(QList<CsvValue>{CsvValue::text("a")});
    EXPECT_EQ(out, "head\r\n<br>\r\n\r\n\"a\"\r\n");
    EXPECT_EQ(given.bytes(), out);
}

TEST(WriterToolkit, WhatWasBuiltIsWrittenBeforeTheFailureGoesOn) {
    QByteArray built, written;
    int writes = 0;
    auto write = [&] {
        written = built;
        ++writes;
    };
    BuildThenWrite([&] { built = "all"; }, write);
    EXPECT_EQ(written, "all");
    EXPECT_EQ(writes, 1);

    try {
        BuildThenWrite(
            [&] {
                built = "part";
                fail("line 2 failed");
            },
            write);
        FAIL() << "no failure";
    } catch (const StepFailure& e) {
        EXPECT_STREQ(e.what(), "line 2 failed");
    }
    EXPECT_EQ(written, "part");
    EXPECT_EQ(writes, 2);  // written once, not again after the failure

    try {
        BuildThenWrite([] { fail("line 2 failed"); }, [] { fail("cannot write X: disk full"); });
        FAIL() << "no failure";
    } catch (const StepFailure& e) {
        EXPECT_STREQ(e.what(), "line 2 failed; cannot write X: disk full");
    }
}

TEST(WriterToolkit, WholeFileReadCountsAPartRecordAsTheSystemDoes) {
    AppFolder app;
    const QString path = app.file("HR.dat");
    struct Case {
        QByteArray bytes;
        QList<QByteArray> dropped, nearest;
    };
    const QByteArray z2("\0\0", 2);
    for (const Case& c : std::vector<Case>{
             {"abcdeXY", {"abcde"}, {"abcde"}},                  // 1.4 records: the part is dropped
             {"abcdeXYZ", {"abcde"}, {"abcde", "XYZ" + z2}},     // 1.6: kept, padded with zero bytes
             {"ab", {}, {}},                                     // 0.4
             {"abc", {}, {"abc" + z2}},                          // 0.6
             {"abcdeV", {"abcde"}, {"abcde"}},                   // 1.2
             {"abcdefghij", {"abcde", "fghij"}, {"abcde", "fghij"}}}) {
        rwtest::writeFile(path, c.bytes);
        EXPECT_EQ(RecordFile::readAll(path, 5), c.dropped) << c.bytes.constData();
        EXPECT_EQ(RecordFile::readAll(path, 5, RecordFile::PartRecord::Nearest), c.nearest) << c.bytes.constData();
    }
    // Ties go to the even count, as the system rounds.
    rwtest::writeFile(path, "ab");
    EXPECT_TRUE(RecordFile::readAll(path, 4, RecordFile::PartRecord::Nearest).isEmpty());      // 0.5 -> 0
    rwtest::writeFile(path, "abcdef");
    EXPECT_EQ(RecordFile::readAll(path, 4, RecordFile::PartRecord::Nearest).size(), 2);        // 1.5 -> 2
    EXPECT_EQ(RecordFile::readAll(path, 4, RecordFile::PartRecord::Nearest).last(), "ef" + z2);
    EXPECT_TRUE(RecordFile::readAll(app.file("missing.dat"), 5, RecordFile::PartRecord::Nearest).isEmpty());
}

namespace {
inline constexpr char16_t kFolder[] = u"OPTION9N";
inline constexpr const char16_t* kJoined = kInFolder<kFolder, u"KYOSOBA.dat">;
}  // namespace

TEST(WriterToolkit, NamesInAFolderSpellTheFolderOnce) {
    EXPECT_EQ(QString::fromUtf16(kJoined), "OPTION9N\\KYOSOBA.dat");
    static_assert(kJoined[8] == u'\\' && kJoined[20] == u'\0');
    EXPECT_EQ(inFolder(kFolder, u"A.dat"), "OPTION9N\\A.dat");
    EXPECT_EQ(inFolder(kFolder, {}), "OPTION9N\\");
}
