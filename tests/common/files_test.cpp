#include "common/errors.h"
#include "common/file_ops.h"
#include "common/fixed_text.h"
#include "common/keyed_output.h"
#include "common/paths.h"
#include "common/record_file.h"
#include "common/skip.h"
#include "common/text_file.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace rw;
using rwtest::AppFolder;

TEST(FixedText, PadsCutsAndCutsBytes) {
    EXPECT_EQ(fixedBytes("ab", 4), "ab  ");
    EXPECT_EQ(fixedBytes("abcdef", 4), "abcd");
    QByteArray rec(6, '\0');
    putFixed(rec, 2, 3, "x");
    EXPECT_EQ(rec, QByteArray("\0x  \0\0", 6));
    qsizetype pos = 5;
    EXPECT_EQ(CutBytes("abcdef", pos, 4), "ef");  // fewer at the end of the record
    EXPECT_EQ(pos, 9);
    EXPECT_EQ(CutBytes("abcdef", pos, 4), "");
    EXPECT_EQ(trimmedRight("ab  "), "ab");
}

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

TEST(RecordFile, NumbersCountsAndAppends) {
    AppFolder app;
    const QString path = app.file("R.dat");
    RecordFile f(path, 4);  // opening creates the file empty
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(f.count(), 0);
    EXPECT_EQ(f.append("aaaa"), 1);
    EXPECT_EQ(f.append("bb"), 2);  // padded with blanks
    f.write(1, "cccc");
    EXPECT_EQ(f.count(), 2);
    EXPECT_EQ(f.read(2), "bb  ");
    EXPECT_EQ(f.read(3), QByteArray(4, '\0'));  // beyond the end
    EXPECT_THROW(f.read(0), StepFailure);
    f.close();
    rwtest::writeFile(path, "cccc" "bb  " "xx");  // a part record does not count
    EXPECT_EQ(RecordFile::countOf(path, 4), 2);
    EXPECT_EQ(RecordFile::readAll(path, 4), (QList<QByteArray>{"cccc", "bb  "}));
    EXPECT_EQ(RecordFile::countOf(app.file("missing"), 4), 0);
    EXPECT_THROW(RecordFile(app.file("no/such/folder/x.dat"), 4), StepFailure);
}

// Whole files are read in pieces of about a megabyte: records across the
// pieces' ends, a part record counted or not by either rule (ties to even),
// and a read that starts inside the file.
TEST(RecordFile, WholeFileReadsGiveEveryRecordWhateverThePieces) {
    AppFolder app;
    const QString path = app.file("P.dat");
    struct Case {
        qsizetype length, records, part;
        qsizetype dropped, nearest;  // records read under each rule
    };
    for (const Case c : {Case{1000, 2500, 0, 2500, 2500}, Case{1000, 2500, 600, 2500, 2501},
                         Case{1000, 2500, 400, 2500, 2500}, Case{10, 2, 5, 2, 2}, Case{10, 3, 5, 3, 4},
                         Case{7, 0, 4, 0, 1}, Case{3 << 20, 1, 0, 1, 1}}) {
        QByteArray bytes;
        for (qsizetype i = 0; i < c.records * c.length + c.part; ++i) bytes += char('a' + (i * 7 + i / 13) % 26);
        rwtest::writeFile(path, bytes);
        for (const auto part : {RecordFile::PartRecord::Dropped, RecordFile::PartRecord::Nearest}) {
            const QList<QByteArray> recs = RecordFile::readAll(path, c.length, part);
            const qsizetype want = part == RecordFile::PartRecord::Dropped ? c.dropped : c.nearest;
            ASSERT_EQ(recs.size(), want) << c.length << " " << c.records << " " << c.part;
            for (qsizetype i = 0; i < want; ++i) {
                QByteArray expected = bytes.mid(i * c.length, c.length);
                expected.append(QByteArray(c.length - expected.size(), '\0'));
                ASSERT_EQ(recs[i], expected) << "record " << i + 1;
            }
        }
    }
    rwtest::writeFile(path, "aaaabbbbccc");
    QList<QByteArray> seen;
    RecordFile::readEach(path, 4, RecordFile::PartRecord::Nearest, [&](QByteArrayView r) { seen.append(r.toByteArray()); });
    EXPECT_EQ(seen, (QList<QByteArray>{"aaaa", "bbbb", QByteArray("ccc\0", 4)}));
    EXPECT_EQ(RecordFile::readAllBytes(path, 4), "aaaabbbb");
    EXPECT_EQ(RecordFile::readAllBytes(path, 4, RecordFile::PartRecord::Nearest), QByteArray("aaaabbbbccc\0", 12));
}

// Each whole-file reader either leaves a missing file missing or creates it
// empty, as opening it for records would.
TEST(RecordFile, WholeFileReadersCreateAMissingFileWhenAsked) {
    AppFolder app;
    using Missing = RecordFile::Missing;
    const std::pair<const char*, std::function<qsizetype(const QString&, Missing)>> readers[] = {
        {"readAll", [](const QString& p, Missing m) { return RecordFile::readAll(p, 4, RecordFile::PartRecord::Dropped, m).size(); }},
        {"readAllBytes",
         [](const QString& p, Missing m) { return RecordFile::readAllBytes(p, 4, RecordFile::PartRecord::Dropped, m).size() / 4; }},
        {"readEach", [](const QString& p, Missing m) {
             qsizetype n = 0;
             RecordFile::readEach(p, 4, RecordFile::PartRecord::Nearest, [&](QByteArrayView) { ++n; }, m);
             return n;
         }}};
    for (const auto& [name, read] : readers) {
        const QString path = app.file(QString::fromLatin1(name) + ".dat");
        EXPECT_EQ(read(path, Missing::GivesNone), 0) << name;
        EXPECT_FALSE(QFileInfo::exists(path)) << name;
        EXPECT_EQ(read(path, Missing::Created), 0) << name;
        ASSERT_TRUE(QFileInfo::exists(path)) << name;
        EXPECT_EQ(QFileInfo(path).size(), 0) << name;
        rwtest::writeFile(path, "aaaabbbb");
        EXPECT_EQ(read(path, Missing::Created), 2) << name;  // an existing file is only read
        EXPECT_EQ(rwtest::readFile(path), "aaaabbbb") << name;
        EXPECT_THROW(read(app.file("no/such/folder/x.dat"), Missing::Created), StepFailure) << name;
    }
}

TEST(TextFile, QuotedValuesAndPlainLines) {
    AppFolder app;
    const QString path = app.file("T.txt");
    {
        TextOut out(path, TextOut::Mode::Output);
        out.writeValues({CsvValue::text("0123456789"), CsvValue::number("12.5"), CsvValue::none(),
                         CsvValue::textOf(QString::fromUtf8("髙"))});
        out.printLine(QByteArray("plain"));
    }
    appendLine(path, "more");
    EXPECT_EQ(rwtest::readFile(path), QByteArray("\"0123456789\",12.5,,\"\xFB\xFC\"\r\nplain\r\nmore\r\n"));
    EXPECT_EQ(readLines(path), (QList<QByteArray>{"\"0123456789\",12.5,,\"\xFB\xFC\"", "plain", "more"}));
    emptyTextFile(path);
    EXPECT_EQ(rwtest::readFile(path), QByteArray());
    appendBytes(path, "a\r\nb");
    appendBytes(path, "c");
    EXPECT_EQ(rwtest::readFile(path), QByteArray("a\r\nbc"));
}

TEST(TextFile, ValueByValueReading) {
    EXPECT_EQ(splitValues("\"a\"\r\n\"b c\"\r\n"), (QList<QByteArray>{"a", "b c"}));
    EXPECT_EQ(splitValues("1, 2 ,\"x,y\"\r\n3"), (QList<QByteArray>{"1", "2", "x,y", "3"}));
    EXPECT_EQ(splitValues("a,,b"), (QList<QByteArray>{"a", "", "b"}));
    EXPECT_EQ(splitValues("a,\r\nb"), (QList<QByteArray>{"a", "", "b"}));
    EXPECT_EQ(splitValues("\"unterminated"), (QList<QByteArray>{"unterminated"}));
    EXPECT_TRUE(readValues("/nonexistent/file").isEmpty());
}

TEST(Paths, RecordValuesNamingFilesAreChecked) {
    EXPECT_EQ(nativeName(u"OPTION1N\\KYOSOBA.dat"), "OPTION1N/KYOSOBA.dat");
    EXPECT_EQ(checkedRegistrationNumber("2019100001"), "2019100001");
    for (const char* bad : {"../../etc/x", "201910000", "20191000011", "2019 00001", "..\\..\\aaaa"})
        EXPECT_THROW(checkedRegistrationNumber(bad), StepFailure) << bad;
    EXPECT_EQ(checkedRaceId("202412070501"), "202412070501");
    EXPECT_THROW(checkedRaceId("2024120705/1"), StepFailure);
    EXPECT_EQ(checkedDayKey("20241207153000"), "20241207153000");
    EXPECT_THROW(checkedDayKey("2024120715300"), StepFailure);
    EXPECT_EQ(checkedNamePart("Tokyo", "course name"), "Tokyo");
    for (const char* bad : {"a\x7F" "b", "a\x1F" "b", "a/b", "a\\b", "a:b", "a*b", "a?b", "a\"b", "a<b", "a>b",
                            "a|b", "a..b", "\x81"}) {
        try {
            checkedNamePart(bad, "course name");
            ADD_FAILURE() << printable(bad);
        } catch (const StepFailure& e) {
            EXPECT_EQ(e.what(), "course name \"" + printable(bad) + "\" cannot be part of a file name");
        }
    }
}

TEST(SkipLog, FailedStepIsRecordedAndTheTaskGoesOn) {
    SkipLog log("task");
    int ran = 0;
    EXPECT_FALSE(log.step("first", [&] { fail("boom"); }));
    EXPECT_TRUE(log.step("second", [&] { ++ran; }));
    // A callee run as one step is abandoned at its first failure.
    int reached = 0;
    log.step("callee", [&] {
        ++reached;
        fail("inner");
        ++reached;
    });
    EXPECT_EQ(ran, 1);
    EXPECT_EQ(reached, 1);
    ASSERT_EQ(log.skipped().size(), 2u);
    EXPECT_EQ(log.skipped()[0], "first: boom");
}

namespace {

TEST(KeyedOutput, NewKeyEmptiesWithHeaderSameKeyAppends) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("day.txt"));
    rw::WriteWholeFile(path, "old contents\r\n");
    QString last;
    rw::WriteKeyed(last, QStringLiteral("A"), path, "H\r\n", "a1\r\n");
    rw::WriteKeyed(last, QStringLiteral("A"), path, "H\r\n", "a2\r\n");
    EXPECT_EQ(last, QStringLiteral("A"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("H\r\na1\r\na2\r\n"));
    f.close();
    // Another key, then the first again: each starts its file anew.
    rw::WriteKeyed(last, QStringLiteral("B"), path, "H\r\n", "b1\r\n");
    rw::WriteKeyed(last, QStringLiteral("A"), path, {}, "a3\r\n");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("a3\r\n"));
}

TEST(KeyedOutput, UnopenableFileFailsWithItsName) {
    QTemporaryDir dir;
    QString last;
    const QString path = dir.filePath(QStringLiteral("missing/day.txt"));
    try {
        rw::WriteKeyed(last, QStringLiteral("A"), path, {}, "x");
        FAIL() << "no failure";
    } catch (const rw::StepFailure& e) {
        EXPECT_NE(std::string(e.what()).find("missing/day.txt"), std::string::npos);
    }
    EXPECT_TRUE(last.isEmpty());
}

}  // namespace

namespace {

TEST(SingleMembers, LittleEndianFourBytesAndZeroPastTheEnd) {
    QByteArray rec(8, '\0');
    rw::putSingle(rec, 5, 1.0f);
    EXPECT_EQ(rec.mid(4), QByteArray::fromHex("0000803f"));
    EXPECT_EQ(rw::getSingle(rec, 5), 1.0f);
    rw::putSingle(rec, 1, -62.5f);
    EXPECT_EQ(rw::getSingle(rec, 1), -62.5f);
    EXPECT_EQ(rw::getSingle(rec, 6), 0.0f);  // would read past the end
}

}  // namespace

namespace {

// The message of the failure `f` throws.
template <class F>
std::string failureOf(F&& f) {
    try {
        f();
    } catch (const rw::StepFailure& e) {
        return e.what();
    }
    return "no failure";
}

bool contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

TEST(FileOps, ReplaceFileSwapsTheWholeFileInOneRename) {
    AppFolder app;
    const QString path = app.file("S.dat");
    rwtest::writeFile(path, "old");
    rw::ReplaceFile(path, "new bytes");
    EXPECT_EQ(rwtest::readFile(path), "new bytes");
    EXPECT_EQ(rwtest::filesUnder(app.path()).size(), 1u);  // nothing left beside it

    // A link in the file's place, or left where the scratch goes, is replaced,
    // never written through.
    const QString outside = app.file("outside.dat");
    rwtest::writeFile(outside, "outside");
    QFile::remove(path);
    ASSERT_TRUE(QFile::link(outside, path));
    ASSERT_TRUE(QFile::link(outside, path + ".new"));
    rw::ReplaceFile(path, "mine");
    EXPECT_FALSE(QFileInfo(path).isSymLink());
    EXPECT_EQ(rwtest::readFile(path), "mine");
    EXPECT_EQ(rwtest::readFile(outside), "outside");
    EXPECT_FALSE(QFileInfo::exists(path + ".new"));

    // Whatever else was left where the scratch goes (a file, a FIFO nobody
    // reads) is deleted, not written into; a folder there stops the replace
    // with its name and reason and leaves the file as it was.
    rwtest::writeFile(path + ".new", "left behind");
    rw::ReplaceFile(path, "again");
    EXPECT_EQ(rwtest::readFile(path), "again");
    ASSERT_EQ(mkfifo(QFile::encodeName(path + ".new").constData(), 0600), 0);
    rw::ReplaceFile(path, "past the fifo");
    EXPECT_EQ(rwtest::readFile(path), "past the fifo");
    EXPECT_FALSE(QFileInfo::exists(path + ".new"));
    app.write("S.dat.new\\inner", "x");
    const std::string why = failureOf([&] { rw::ReplaceFile(path, "no"); });
    EXPECT_TRUE(contains(why, "cannot delete")) << why;
    EXPECT_TRUE(contains(why, "S.dat.new: ")) << why;
    EXPECT_FALSE(contains(why, ": unknown reason")) << why;
    EXPECT_EQ(rwtest::readFile(path), "past the fifo");
    QDir(app.file("S.dat.new")).removeRecursively();

    // Deleting what is not there succeeds, also under a missing folder.
    EXPECT_TRUE(rw::RemoveFile(app.file("none.dat")));
    EXPECT_TRUE(rw::RemoveFile(app.file("no\\folder\\none.dat")));

    // A scratch of the caller's choosing.
    rw::ReplaceFile(path, "via scratch", app.file("TEMPORARY"));
    EXPECT_EQ(rwtest::readFile(path), "via scratch");
    EXPECT_FALSE(app.exists("TEMPORARY"));
}

TEST(FileOps, AFailedReplaceKeepsTheOldFileAndSaysWhy) {
    AppFolder app;
    // A folder (not empty) stands where the file goes: the rename fails.
    app.write("D.dat\\inner", "x");
    const std::string why = failureOf([&] { rw::ReplaceFile(app.file("D.dat"), "new"); });
    EXPECT_TRUE(contains(why, "cannot replace")) << why;
    EXPECT_TRUE(contains(why, "D.dat: ")) << why;
    EXPECT_FALSE(contains(why, ": unknown reason")) << why;
    EXPECT_EQ(app.read("D.dat\\inner"), "x");
    EXPECT_FALSE(app.exists("D.dat.new"));
}

// Every file operation that fails names the file and gives the system's
// reason, whichever module ran it.
TEST(FileOps, FileFailuresCarryTheSystemsReason) {
    AppFolder app;
    const QString missing = app.file("no\\such\\folder\\x.dat");
    const std::string reason = ": No such file or directory";
    const std::string messages[] = {
        failureOf([&] { rw::WriteWholeFile(missing, "x"); }),
        failureOf([&] { rw::RecordFile(missing, 4); }),
        failureOf([&] { rw::TextOut(missing, rw::TextOut::Mode::Append); }),
        failureOf([&] {
            QString last;
            rw::WriteKeyed(last, QStringLiteral("A"), missing, {}, "x");
        }),
        failureOf([&] { rw::ReplaceFile(missing, "x"); }),
    };
    for (const std::string& m : messages) {
        EXPECT_TRUE(contains(m, "no/such/folder/x.dat")) << m;
        EXPECT_TRUE(contains(m, reason.c_str())) << m;
    }
    // A file where a folder must go.
    app.write("F", "x");
    const std::string folder = failureOf([&] { rw::MakeFolders(app.file("F\\sub")); });
    EXPECT_TRUE(contains(folder, "cannot create folder")) << folder;
    EXPECT_FALSE(contains(folder, ": unknown reason")) << folder;
    rw::MakeFolders(app.file("A\\B"));
    rw::MakeFolders(app.file("A\\B"));  // one that exists stays
    EXPECT_TRUE(QFileInfo(app.file("A\\B")).isDir());
}

}  // namespace
